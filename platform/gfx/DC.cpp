// Device contexts: set-up, clipping, colours and the rectangle fills (FillRect, PatBlt).
#include "gfx/Raster.h"

namespace plumb {

using namespace raster;

void InitDC(TDeviceContext& DC, TSurface* Surface) {
  DC.Surface = Surface;
  DC.Origin = TPoint{};
  DC.Clip.Clear();
  if (Surface) DC.Clip.Union(Surface->BoundsRect());
  DC.Pen = HPEN{PS_SOLID, 1, 0, true};
  DC.PenMode = pmCopy;
  DC.PenStyle = psSolid;
  DC.PenPos = TPoint{};
}

bool FillRect(HDC DC, const TRect& R, TColor Color) {
  if (!Usable(DC)) return false;
  if (Color == clNone) return true;
  uint32_t Pixel = ColorToPixel(Color);
  ForEachClip(*DC, ToSurface(*DC, R),
              [&](const TRect& Part) { FillSpan(*DC->Surface, Part, Pixel); });
  return true;
}

bool PatBlt(HDC DC, Integer X, Integer Y, Integer Width, Integer Height, DWORD Rop) {
  if (!Usable(DC)) return false;
  TRect R = ToSurface(*DC, Bounds(X, Y, Width, Height));
  uint32_t Brush = ColorToPixel(DC->BrushColor);
  switch (Rop) {
    case BLACKNESS:
      RopRect(*DC, R, 0xFF000000u, pmCopy);
      break;
    case WHITENESS:
      RopRect(*DC, R, 0xFFFFFFFFu, pmCopy);
      break;
    case DSTINVERT:
      RopRect(*DC, R, 0, pmNot);
      break;
    case PATCOPY:
      if (!DC->BrushClear) RopRect(*DC, R, Brush, pmCopy);
      break;
    case PATINVERT:
      if (!DC->BrushClear) RopRect(*DC, R, Brush, pmXor);
      break;
    default:
      return false;
  }
  return true;
}

bool RectVisible(HDC DC, const TRect& R) {
  if (!Usable(DC)) return false;
  TRect Inside;
  if (!IntersectRect(Inside, ToSurface(*DC, R), DC->Surface->BoundsRect())) return false;
  return DC->Clip.Intersects(Inside);
}

namespace {

int RegionKind(const TRegion& Rgn) {
  size_t N = Rgn.Rects().size();
  return N == 0 ? NULLREGION : N == 1 ? SIMPLEREGION : COMPLEXREGION;
}

}  // namespace

int ExcludeClipRect(HDC DC, Integer Left, Integer Top, Integer Right, Integer Bottom) {
  if (!DC) return RGN_ERROR;
  DC->Clip.Subtract(ToSurface(*DC, TRect{Left, Top, Right, Bottom}));
  return RegionKind(DC->Clip);
}

int IntersectClipRect(HDC DC, Integer Left, Integer Top, Integer Right, Integer Bottom) {
  if (!DC) return RGN_ERROR;
  DC->Clip.Intersect(ToSurface(*DC, TRect{Left, Top, Right, Bottom}));
  return RegionKind(DC->Clip);
}

COLORREF SetTextColor(HDC DC, TColor Color) {
  if (!DC) return 0xFFFFFFFFu;  // CLR_INVALID
  COLORREF Old = COLORREF(ColorToRGB(DC->TextColor));
  DC->TextColor = Color;
  return Old;
}

COLORREF SetBkColor(HDC DC, TColor Color) {
  if (!DC) return 0xFFFFFFFFu;
  COLORREF Old = COLORREF(ColorToRGB(DC->BkColor));
  DC->BkColor = Color;
  return Old;
}

}  // namespace plumb
