// Pens and lines.
//
//   PenOf            what the DC's pen means for the rasteriser (colour, mode, dashes, width)
//   DrawThinLine     one-pixel lines: the end point is left out, dashes continue across the
//                    segments of one call; straight solid lines go through the span filler
//   DrawWideLine     pens wider than one pixel: a band of the pen's width centred on the line,
//                    filled as a convex polygon; flat ends stop exactly at the end points
//   MoveToEx … PolyPolyline, ExtCreatePen
#include <cmath>
#include <cstdlib>

#include "gfx/Raster.h"

namespace plumb {

using namespace raster;

namespace {

// Pixels never get wider than this; a larger width is a mistake, not a wish.
constexpr Integer MaxPenWidth = 1000;

struct TDashPattern {
  uint32_t Bits;  // bit i set: pixel i of the pattern is drawn
  int Length;
};

TDashPattern DashOf(DWORD Style) {
  switch (Style & 0xF) {
    case PS_DASH:
      return {0x3F, 8};  // ______..
    case PS_DOT:
      return {0x1, 2};  // _.
    case PS_DASHDOT:
      return {0x13F, 11};  // ______.._..
    case PS_DASHDOTDOT:
      return {0x93F, 14};  // ______.._.._..
    default:
      return {0x1, 1};
  }
}

struct TLinePen {
  uint32_t Pixel;
  TPenMode Mode;
  DWORD Style;
  Integer Width;
  bool Visible;
  bool FlatEnds;
};


TLinePen PenOf(const TDeviceContext& DC) {
  // A DC whose pen was never set draws with the stock black pen.
  HPEN H = DC.Pen.Valid ? DC.Pen : HPEN{PenStyleBits(DC.PenStyle), 1, 0, true};
  TLinePen P;
  P.Pixel = ColorToPixel(TColor(H.Color & 0xFFFFFF));
  P.Mode = DC.PenMode;
  P.Style = H.Style;
  P.Width = std::clamp<Integer>(H.Width, 1, MaxPenWidth);
  P.Visible = (H.Style & 0xF) != PS_NULL && P.Mode != pmNop;
  P.FlatEnds = (H.Style & PS_GEOMETRIC) && (H.Style & 0xF00) == PS_ENDCAP_FLAT;
  return P;
}

// A solid, horizontal or vertical one-pixel line is a one-pixel-wide rectangle.
bool DrawStraightSpan(TDeviceContext& DC, const TLinePen& Pen, TPoint A, TPoint B) {
  TRect R;
  if (A.Y == B.Y)
    R = A.X < B.X ? TRect{A.X, A.Y, B.X, A.Y + 1} : TRect{B.X + 1, A.Y, A.X + 1, A.Y + 1};
  else if (A.X == B.X)
    R = A.Y < B.Y ? TRect{A.X, A.Y, A.X + 1, B.Y} : TRect{A.X, B.Y + 1, A.X + 1, A.Y + 1};
  else
    return false;
  RopRect(DC, R, Pen.Pixel, Pen.Mode);
  return true;
}

// Steps along the major axis; only the steps whose major coordinate lies within the surface
// are visited, so a line reaching far outside costs nothing extra. Phase carries the dash
// pattern from one segment to the next.
void DrawThinLine(TDeviceContext& DC, const TLinePen& Pen, TPoint A, TPoint B, int64_t& Phase) {
  int64_t DX = int64_t(B.X) - A.X, DY = int64_t(B.Y) - A.Y;
  int64_t ADX = std::llabs(DX), ADY = std::llabs(DY);
  int64_t Steps = std::max(ADX, ADY);
  TDashPattern Dash = DashOf(Pen.Style);
  if (Dash.Length == 1 && DrawStraightSpan(DC, Pen, A, B)) return void(Phase += Steps);
  bool XMajor = ADX >= ADY;
  int64_t Major0 = XMajor ? A.X : A.Y, SMajor = (XMajor ? DX : DY) < 0 ? -1 : 1;
  int64_t Minor0 = XMajor ? A.Y : A.X, SMinor = (XMajor ? DY : DX) < 0 ? -1 : 1;
  int64_t AMinor = XMajor ? ADY : ADX;
  int64_t Limit = XMajor ? DC.Surface->Width() : DC.Surface->Height();
  // Steps i whose major coordinate Major0 + SMajor*i lies in [0, Limit).
  int64_t Lo = SMajor > 0 ? -Major0 : Major0 - Limit + 1;
  int64_t Hi = SMajor > 0 ? Limit - Major0 : Major0 + 1;
  Lo = std::max<int64_t>(Lo, 0);
  Hi = std::min(Hi, Steps);
  TSurface& S = *DC.Surface;
  for (int64_t I = Lo; I < Hi; ++I) {
    if (!((Dash.Bits >> ((Phase + I) % Dash.Length)) & 1)) continue;
    // 128 bits: lines may span the whole 32-bit range on both axes.
    int64_t Minor = Minor0 + SMinor * int64_t((__int128(2) * I * AMinor + Steps) / (2 * Steps));
    Integer X = Integer(XMajor ? Major0 + SMajor * I : Minor);
    Integer Y = Integer(XMajor ? Minor : Major0 + SMajor * I);
    if (!InClip(DC, X, Y)) continue;
    uint32_t& P = S.Row(Y)[X];
    P = Rop2(Pen.Mode, Pen.Pixel, P);
  }
  Phase += Steps;
}

struct TVec {
  double X, Y;
};

// Fills a convex polygon, sampling pixel centres at integer coordinates with the half-open
// rule (left and top edges in, right and bottom edges out), so that adjacent bands never
// overlap or leave gaps.
void FillConvex(TDeviceContext& DC, const TVec* V, int N, const TLinePen& Pen) {
  double YMin = V[0].Y, YMax = V[0].Y;
  for (int I = 1; I < N; ++I) YMin = std::min(YMin, V[I].Y), YMax = std::max(YMax, V[I].Y);
  double Height = DC.Surface->Height();
  Integer Top = Integer(std::max(std::ceil(YMin), 0.0));
  Integer Bottom = Integer(std::min(std::ceil(YMax), Height));
  for (Integer Y = Top; Y < Bottom; ++Y) {
    double XL = INFINITY, XR = -INFINITY;
    for (int I = 0; I < N; ++I) {
      const TVec &P = V[I], &Q = V[(I + 1) % N];
      if (P.Y == Q.Y || Y < std::min(P.Y, Q.Y) || Y >= std::max(P.Y, Q.Y)) continue;
      double X = P.X + (Y - P.Y) * (Q.X - P.X) / (Q.Y - P.Y);
      XL = std::min(XL, X), XR = std::max(XR, X);
    }
    if (!(XL < XR)) continue;
    double Width = DC.Surface->Width();
    Integer L = Integer(std::max(std::ceil(XL), 0.0)), R = Integer(std::min(std::ceil(XR), Width));
    if (L < R) RopRect(DC, TRect{L, Y, R, Y + 1}, Pen.Pixel, Pen.Mode);
  }
}

void DrawWideLine(TDeviceContext& DC, const TLinePen& Pen, TPoint A, TPoint B) {
  double DX = double(B.X) - A.X, DY = double(B.Y) - A.Y;
  double Len = std::hypot(DX, DY);
  if (Len == 0) return;
  double UX = DX / Len, UY = DY / Len;  // along the line
  double Half = Pen.Width / 2.0;
  // Round and square ends both reach half the width past the end points.
  double Ext = Pen.FlatEnds ? 0 : Half;
  TVec S{A.X - UX * Ext, A.Y - UY * Ext}, E{B.X + UX * Ext, B.Y + UY * Ext};
  TVec NV{-UY * Half, UX * Half};
  if (A.X == B.X || A.Y == B.Y) {
    // Grid lines: the band is a rectangle. Same sampling rule as FillConvex, in one fill.
    auto Edge = [](double V) { return Integer(std::clamp(std::ceil(V), -2e9, 2e9)); };
    TRect R{Edge(std::min({S.X + NV.X, S.X - NV.X, E.X + NV.X, E.X - NV.X})),
            Edge(std::min({S.Y + NV.Y, S.Y - NV.Y, E.Y + NV.Y, E.Y - NV.Y})),
            Edge(std::max({S.X + NV.X, S.X - NV.X, E.X + NV.X, E.X - NV.X})),
            Edge(std::max({S.Y + NV.Y, S.Y - NV.Y, E.Y + NV.Y, E.Y - NV.Y}))};
    return RopRect(DC, R, Pen.Pixel, Pen.Mode);
  }
  TVec Quad[4] = {{S.X + NV.X, S.Y + NV.Y},
                  {E.X + NV.X, E.Y + NV.Y},
                  {E.X - NV.X, E.Y - NV.Y},
                  {S.X - NV.X, S.Y - NV.Y}};
  FillConvex(DC, Quad, 4, Pen);
}

// A, B logical. Returns nothing: the callers report success for any usable DC.
void DrawSegment(TDeviceContext& DC, const TLinePen& Pen, TPoint A, TPoint B, int64_t& Phase) {
  if (!Pen.Visible) return;
  A.X += DC.Origin.X, A.Y += DC.Origin.Y;
  B.X += DC.Origin.X, B.Y += DC.Origin.Y;
  if (Pen.Width > 1)
    DrawWideLine(DC, Pen, A, B);
  else
    DrawThinLine(DC, Pen, A, B, Phase);
}

}  // namespace

HPEN ExtCreatePen(DWORD PenStyle, DWORD Width, const TLogBrush& Brush, DWORD StyleCount,
                  const DWORD* StyleArray) {
  (void)StyleCount, (void)StyleArray;  // user-defined dash patterns are not supported
  HPEN H;
  H.Style = Brush.lbStyle == BS_NULL ? (PenStyle & ~0xFu) | PS_NULL : PenStyle;
  bool Geometric = (PenStyle & PS_GEOMETRIC) != 0;
  H.Width = Geometric ? Integer(std::min<DWORD>(Width, DWORD(MaxPenWidth))) : 1;
  H.Color = Brush.lbColor & 0xFFFFFF;
  H.Valid = true;
  return H;
}

bool MoveToEx(HDC DC, Integer X, Integer Y, TPoint* Old) {
  if (!DC) return false;
  if (Old) *Old = DC->PenPos;
  DC->PenPos = TPoint{X, Y};
  return true;
}

bool LineTo(HDC DC, Integer X, Integer Y) {
  if (!Usable(DC)) return false;
  int64_t Phase = 0;
  DrawSegment(*DC, PenOf(*DC), DC->PenPos, TPoint{X, Y}, Phase);
  DC->PenPos = TPoint{X, Y};
  return true;
}

bool Polyline(HDC DC, const TPoint* Points, int Count) {
  if (!Usable(DC) || !Points || Count < 2) return false;
  TLinePen Pen = PenOf(*DC);
  int64_t Phase = 0;
  for (int I = 1; I < Count; ++I) DrawSegment(*DC, Pen, Points[I - 1], Points[I], Phase);
  return true;
}

bool PolyPolyline(HDC DC, const TPoint* Points, const DWORD* Counts, DWORD Polys) {
  if (!Usable(DC) || !Points || !Counts) return false;
  for (DWORD I = 0; I < Polys; ++I)
    if (Counts[I] < 2) return false;
  TLinePen Pen = PenOf(*DC);
  for (DWORD I = 0; I < Polys; ++I) {
    int64_t Phase = 0;
    for (DWORD J = 1; J < Counts[I]; ++J) DrawSegment(*DC, Pen, Points[J - 1], Points[J], Phase);
    Points += Counts[I];
  }
  return true;
}

}  // namespace plumb
