// Text output and measurement. Both walk the same glyphs with the same rounded advances, so
// a measured width is exactly the distance ExtTextOut moves; there is no kerning.
#include <cstring>

#include "gfx/Fonts.h"
#include "gfx/Raster.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace plumb {

using namespace raster;
using text::TFontFace;
using text::TGlyph;

namespace {

// Coverage blend of C over D with coverage A (0..255), two channels at a time. The rounding
// is exact, so A = 0 keeps D and A = 255 gives C.
inline uint32_t Blend(uint32_t D, uint32_t C, uint32_t A) {
  uint32_t IA = 255 - A;
  uint32_t RB = (C & 0xFF00FFu) * A + (D & 0xFF00FFu) * IA + 0x800080u;
  RB = ((RB + ((RB >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu;
  uint32_t G = (C & 0xFF00u) * A + (D & 0xFF00u) * IA + 0x8000u;
  G = ((G + ((G >> 8) & 0xFF00u)) >> 8) & 0xFF00u;
  return 0xFF000000u | RB | G;
}

// Blends a row of N pixels without branching on the coverage: antialiased edges make such
// branches unpredictable, and they cost more than the arithmetic.
void BlendRow(uint32_t* Dst, const uint8_t* Cov, Integer N, uint32_t Color) {
  Integer X = 0;
#ifdef __SSE2__
  const __m128i Zero = _mm_setzero_si128(), Max = _mm_set1_epi16(255);
  const __m128i Half = _mm_set1_epi16(128), Opaque = _mm_set1_epi32(int(0xFF000000u));
  const __m128i C16 = _mm_unpacklo_epi8(_mm_set1_epi32(int(Color)), Zero);
  auto Mix = [&](__m128i D16, __m128i A16) {
    __m128i V =
        _mm_add_epi16(_mm_mullo_epi16(C16, A16), _mm_mullo_epi16(D16, _mm_sub_epi16(Max, A16)));
    V = _mm_add_epi16(V, Half);
    return _mm_srli_epi16(_mm_add_epi16(V, _mm_srli_epi16(V, 8)), 8);
  };
  for (; X + 4 <= N; X += 4) {
    uint32_t Four;
    std::memcpy(&Four, Cov + X, 4);
    if (Four == 0) continue;
    __m128i A = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(Four)), Zero);
    A = _mm_unpacklo_epi16(A, A);  // a0 a0 a1 a1 a2 a2 a3 a3
    __m128i D = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Dst + X));
    __m128i Lo = Mix(_mm_unpacklo_epi8(D, Zero), _mm_unpacklo_epi32(A, A));
    __m128i Hi = Mix(_mm_unpackhi_epi8(D, Zero), _mm_unpackhi_epi32(A, A));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + X),
                     _mm_or_si128(_mm_packus_epi16(Lo, Hi), Opaque));
  }
#endif
  for (; X < N; ++X) Dst[X] = Blend(Dst[X], Color, Cov[X]);
}

void BlendGlyph(TSurface& S, const TGlyph& G, Integer GX, Integer GY, const TRect& Part,
                uint32_t Color) {
  for (Integer Y = Part.Top; Y < Part.Bottom; ++Y) {
    const uint8_t* Cov = G.Coverage.data() + size_t(Y - GY) * size_t(G.Width);
    BlendRow(S.Row(Y) + Part.Left, Cov + (Part.Left - GX), Part.Width(), Color);
  }
}

// Limit is where the text may paint (surface coordinates): the surface, narrowed to the
// caller's rectangle under ETO_CLIPPED.
void DrawGlyphs(TDeviceContext& DC, TFontFace& Face, Integer PenX, Integer Baseline,
                const TRect& Limit, const std::string& Text, uint32_t Color) {
  const char* P = Text.data();
  const char* End = P + Text.size();
  while (P < End) {
    // Glyphs only move right; past the limit by more than a line height, nothing can show.
    if (PenX > Limit.Right + Face.LineHeight()) break;
    const TGlyph& G = Face.Glyph(text::NextCodePoint(P, End));
    Integer GX = PenX + G.Left, GY = Baseline - G.Top;
    TRect Box{GX, GY, GX + G.Width, GY + G.Height}, Inside;
    PenX += G.Advance;
    if (!Overlap(Inside, Box, Limit)) continue;
    ForEachClip(DC, Inside,
                [&](const TRect& Part) { BlendGlyph(*DC.Surface, G, GX, GY, Part, Color); });
  }
}

Integer Advance(TFontFace& Face, const std::string& Text) {
  Integer W = 0;
  const char* P = Text.data();
  const char* End = P + Text.size();
  while (P < End) W += Face.Glyph(text::NextCodePoint(P, End)).Advance;
  return W;
}

}  // namespace

bool ExtTextOut(HDC DC, Integer X, Integer Y, UINT Options, const TRect* R,
                const std::string& Text) {
  if (!Usable(DC)) return false;
  bool HasRect = R && (Options & (ETO_CLIPPED | ETO_OPAQUE));
  if (DC->TextLog)
    DC->TextLog->push_back(
        TTextOutRecord{Text, TPoint{X, Y}, HasRect ? *R : TRect{}, Options, DC->TextColor});
  if (R && (Options & ETO_OPAQUE)) FillRect(DC, *R, DC->BkColor);
  TRect Limit = DC->Surface->BoundsRect();
  if (R && (Options & ETO_CLIPPED) && !IntersectRect(Limit, Limit, ToSurface(*DC, *R))) return true;
  TFontFace& Face = text::FaceFor(DC->Font);
  DrawGlyphs(*DC, Face, X + DC->Origin.X, Y + DC->Origin.Y + Face.Ascent(), Limit, Text,
             ColorToPixel(DC->TextColor));
  return true;
}

TPoint GetTextExtent(HDC DC, const std::string& Text) {
  if (!DC) return TPoint{};
  return FontTextExtent(DC->Font, Text);
}

TPoint FontTextExtent(const TFont& Font, const std::string& Text) {
  TFontFace& Face = text::FaceFor(Font);
  return TPoint{Advance(Face, Text), Face.LineHeight()};
}

bool GetTextMetrics(HDC DC, TTextMetric& TM) {
  if (!DC) return false;
  TFontFace& Face = text::FaceFor(DC->Font);
  TM.tmHeight = Face.LineHeight();
  TM.tmAscent = Face.Ascent();
  TM.tmDescent = Face.Descent();
  TM.tmAveCharWidth = Face.AveCharWidth();
  TM.tmExternalLeading = 0;
  return true;
}

}  // namespace plumb
