#pragma once
// Pixel-level helpers shared by the drawing functions: clipping against the DC's region and
// the surface, raster operations of the pen modes, and span filling. Not part of the API.
#include <algorithm>

#include "gfx/Graphics.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace plumb::raster {

inline bool Usable(HDC DC) {
  return DC != nullptr && DC->Surface != nullptr;
}

inline TRect ToSurface(const TDeviceContext& DC, TRect R) {
  OffsetRect(R, DC.Origin.X, DC.Origin.Y);
  return R;
}

// IntersectRect for the inner loops: inline, and Dst is left as it falls when empty.
inline bool Overlap(TRect& Dst, const TRect& A, const TRect& B) {
  Dst = TRect{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
              std::min(A.Bottom, B.Bottom)};
  return Dst.Left < Dst.Right && Dst.Top < Dst.Bottom;
}

// Calls Fn once for every part of R (surface coordinates) that the DC may draw on.
template <class F>
void ForEachClip(const TDeviceContext& DC, const TRect& R, F&& Fn) {
  TRect Inside;
  if (!Overlap(Inside, R, DC.Surface->BoundsRect())) return;
  TRect Part;
  for (const TRect& C : DC.Clip.Rects())
    if (Overlap(Part, Inside, C)) Fn(Part);
}

inline bool InClip(const TDeviceContext& DC, Integer X, Integer Y) {
  const TSurface& S = *DC.Surface;
  if (X < 0 || Y < 0 || X >= S.Width() || Y >= S.Height()) return false;
  return DC.Clip.Contains(TPoint{X, Y});
}

// The binary raster operation of a pen mode on the RGB bits; alpha stays opaque.
inline uint32_t Rop2(TPenMode Mode, uint32_t P, uint32_t D) {
  uint32_t R;
  switch (Mode) {
    case pmBlack:
      R = 0;
      break;
    case pmWhite:
      R = ~0u;
      break;
    case pmNop:
      R = D;
      break;
    case pmNot:
      R = ~D;
      break;
    case pmCopy:
      R = P;
      break;
    case pmNotCopy:
      R = ~P;
      break;
    case pmMergePenNot:
      R = P | ~D;
      break;
    case pmMaskPenNot:
      R = P & ~D;
      break;
    case pmMergeNotPen:
      R = ~P | D;
      break;
    case pmMaskNotPen:
      R = ~P & D;
      break;
    case pmMerge:
      R = P | D;
      break;
    case pmNotMerge:
      R = ~(P | D);
      break;
    case pmMask:
      R = P & D;
      break;
    case pmNotMask:
      R = ~(P & D);
      break;
    case pmXor:
      R = P ^ D;
      break;
    case pmNotXor:
      R = ~(P ^ D);
      break;
    default:
      R = P;
      break;
  }
  return (R & 0x00FFFFFFu) | 0xFF000000u;
}

// One row of pixels. GCC at -O2 leaves std::fill_n as a loop of 4-byte stores; cells are
// filled once per repaint and behind every opaque text, so store 16 bytes at a time.
inline void FillRow(uint32_t* P, Integer N, uint32_t Pixel) {
  Integer X = 0;
#ifdef __SSE2__
  const __m128i V = _mm_set1_epi32(int(Pixel));
  for (; X + 8 <= N; X += 8) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(P + X), V);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(P + X + 4), V);
  }
#endif
  std::fill_n(P + X, N - X, Pixel);
}

// Fills R (surface coordinates, already clipped) with Pixel.
inline void FillSpan(TSurface& S, const TRect& R, uint32_t Pixel) {
  if (R.Width() == 1) {  // a vertical line: step down the column
    for (Integer Y = R.Top; Y < R.Bottom; ++Y) S.Row(Y)[R.Left] = Pixel;
    return;
  }
  for (Integer Y = R.Top; Y < R.Bottom; ++Y) FillRow(S.Row(Y) + R.Left, R.Width(), Pixel);
}

inline void RopSpan(TSurface& S, const TRect& R, uint32_t Pixel, TPenMode Mode) {
  if (Mode == pmCopy) return FillSpan(S, R, Pixel);
  if (Mode == pmNop) return;
  for (Integer Y = R.Top; Y < R.Bottom; ++Y) {
    uint32_t* P = S.Row(Y) + R.Left;
    for (Integer X = 0; X < R.Width(); ++X) P[X] = Rop2(Mode, Pixel, P[X]);
  }
}

// Fills (with a raster operation) the part of R in surface coordinates that the DC may touch.
inline void RopRect(TDeviceContext& DC, const TRect& R, uint32_t Pixel, TPenMode Mode) {
  ForEachClip(DC, R, [&](const TRect& Part) { RopSpan(*DC.Surface, Part, Pixel, Mode); });
}

}  // namespace plumb::raster
