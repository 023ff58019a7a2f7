// Three-dimensional edges (DrawEdge) and the frame controls built from them
// (DrawFrameControl: scroll-bar and combo-box arrows, push buttons).
#include "gfx/Raster.h"

namespace plumb {

using namespace raster;

namespace {

struct TEdgeColors {
  TColor TopLeft, BottomRight;
};

// One ring of an edge: the top and left sides first, then bottom and right over them, so the
// top-right and bottom-left corner pixels take the bottom-right colour.
void DrawRing(HDC DC, TRect& R, UINT Flags, TEdgeColors C) {
  if (Flags & BF_TOP) FillRect(DC, TRect{R.Left, R.Top, R.Right, R.Top + 1}, C.TopLeft);
  if (Flags & BF_LEFT) FillRect(DC, TRect{R.Left, R.Top, R.Left + 1, R.Bottom}, C.TopLeft);
  if (Flags & BF_BOTTOM)
    FillRect(DC, TRect{R.Left, R.Bottom - 1, R.Right, R.Bottom}, C.BottomRight);
  if (Flags & BF_RIGHT) FillRect(DC, TRect{R.Right - 1, R.Top, R.Right, R.Bottom}, C.BottomRight);
  if (Flags & BF_LEFT) ++R.Left;
  if (Flags & BF_TOP) ++R.Top;
  if (Flags & BF_RIGHT) --R.Right;
  if (Flags & BF_BOTTOM) --R.Bottom;
}

TEdgeColors OuterColors(UINT Edge, UINT Flags) {
  if (Flags & BF_MONO) return {clWindowFrame, clWindowFrame};
  if (Flags & BF_FLAT) return {clBtnShadow, clBtnShadow};
  if (Edge & BDR_RAISEDOUTER) return {cl3DLight, cl3DDkShadow};
  return {clBtnShadow, clBtnHighlight};
}

TEdgeColors InnerColors(UINT Edge, UINT Flags) {
  if (Flags & BF_MONO) return {clWindow, clWindow};
  if (Flags & BF_FLAT) return {clBtnFace, clBtnFace};
  if (Edge & BDR_RAISEDINNER) return {clBtnHighlight, clBtnShadow};
  return {cl3DDkShadow, cl3DLight};
}

enum TArrowDir { adUp, adDown, adLeft, adRight };

// A solid triangle of Depth rows (or columns) centred in R, pointing in Dir.
void DrawArrow(HDC DC, const TRect& R, TArrowDir Dir, Integer Shift, TColor Color) {
  Integer Depth = std::max<Integer>(1, (std::min(R.Width(), R.Height()) - 4) / 4 + 1);
  Integer Base = 2 * Depth - 1;
  bool Vertical = Dir == adUp || Dir == adDown;
  Integer X0 = R.Left + (R.Width() - (Vertical ? Base : Depth)) / 2 + Shift;
  Integer Y0 = R.Top + (R.Height() - (Vertical ? Depth : Base)) / 2 + Shift;
  for (Integer K = 0; K < Depth; ++K) {
    Integer Along = (Dir == adDown || Dir == adRight) ? K : Depth - 1 - K;
    if (Vertical)
      FillRect(DC, TRect{X0 + K, Y0 + Along, X0 + Base - K, Y0 + Along + 1}, Color);
    else
      FillRect(DC, TRect{X0 + Along, Y0 + K, X0 + Along + 1, Y0 + Base - K}, Color);
  }
}

void DrawButtonFace(HDC DC, TRect R, UINT State) {
  if (State & (DFCS_FLAT | DFCS_PUSHED))
    DrawEdge(DC, R, EDGE_SUNKEN, BF_RECT | BF_MIDDLE | BF_FLAT);
  else
    DrawEdge(DC, R, EDGE_RAISED, BF_RECT | BF_MIDDLE);
}

bool DrawScrollControl(HDC DC, const TRect& R, UINT State) {
  TArrowDir Dir;
  switch (State & 0xFF) {
    case DFCS_SCROLLUP:
      Dir = adUp;
      break;
    case DFCS_SCROLLDOWN:
    case DFCS_SCROLLCOMBOBOX:
      Dir = adDown;
      break;
    case DFCS_SCROLLLEFT:
      Dir = adLeft;
      break;
    case DFCS_SCROLLRIGHT:
      Dir = adRight;
      break;
    default:
      return false;
  }
  DrawButtonFace(DC, R, State);
  Integer Shift = (State & DFCS_PUSHED) ? 1 : 0;
  if (State & DFCS_INACTIVE) {
    // Etched look of a disabled arrow: a light copy one pixel down-right under a grey one.
    DrawArrow(DC, R, Dir, Shift + 1, clBtnHighlight);
    DrawArrow(DC, R, Dir, Shift, clGrayText);
  } else {
    DrawArrow(DC, R, Dir, Shift, clBtnText);
  }
  return true;
}

}  // namespace

bool DrawEdge(HDC DC, TRect& R, UINT Edge, UINT Flags) {
  if (!Usable(DC)) return false;
  TRect Inner = R;
  if (Edge & BDR_OUTER) DrawRing(DC, Inner, Flags, OuterColors(Edge, Flags));
  if (Edge & BDR_INNER) DrawRing(DC, Inner, Flags, InnerColors(Edge, Flags));
  if (Flags & BF_MIDDLE) FillRect(DC, Inner, (Flags & BF_MONO) ? clWindow : clBtnFace);
  if (Flags & BF_ADJUST) R = Inner;
  return true;
}

bool DrawFrameControl(HDC DC, TRect& R, UINT Type, UINT State) {
  if (!Usable(DC) || IsRectEmpty(R)) return Usable(DC);
  switch (Type) {
    case DFC_SCROLL:
      return DrawScrollControl(DC, R, State);
    case DFC_BUTTON:
      if ((State & 0xFF) != DFCS_BUTTONPUSH) return false;
      if (State & DFCS_PUSHED) {
        TRect Face = R;
        DrawEdge(DC, Face, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
      } else {
        DrawButtonFace(DC, R, State);
      }
      return true;
    default:
      return false;
  }
}

}  // namespace plumb
