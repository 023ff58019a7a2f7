// The vertical scroll bar: a fixed scale of 0 to 127 mapped onto the possible top rows, the
// messages that drive it, the mouse wheel, pixel scrolling of a single column, and the fitting
// of the two columns to the client width that runs whenever the range is brought up to date.
#include <algorithm>

#include "grid/uCPlumbGrd.h"

namespace plumb {

namespace {
constexpr int ScrollScale = 127;

bool HasVertBar(TScrollStyle S) {
  return S == ssVertical || S == ssBoth;
}
}  // namespace

void TCustomPlumbGrid::UpdateScrollRange() {
  if (FScrollBarKind == ssNone || !HandleAllocated()) return;
  TCellCoord OldTopLeft = FTopLeftCell;
  TScrollStyle OldScrollBars = FScrollBarKind;
  // Re-entrance guard: the width changes below and a bar that appears or vanishes call back.
  FScrollBarKind = ssNone;
  try {
    if (HasVertBar(OldScrollBars)) {
      TGridLayout L;
      CalcDrawInfoXY(L, GetClientWidth(), GetClientHeight());
      Integer MaxTop = CalcMaxTopLeft(TCellCoord{FNumCols - 1, FNumRows - 1}, L).Y;
      SetScrollRange(GetHandle(), SB_VERT, 0, MaxTop > FNumFixedRows ? ScrollScale : 0, true);
      if (OldTopLeft.Y > MaxTop) {
        Update();
        FTopLeftCell.Y = MaxTop;
      }
    }
    // The fitting shares the width between two columns; a single column is left alone.
    if (FNumCols >= 2) {
      if (GetClientWidth() - GetColWidths(0) < 4) SetColWidths(0, GetClientWidth() / 2);
      SetColWidths(1, GetClientWidth() - GetColWidths(0) - 1);
    }
  } catch (...) {
    FScrollBarKind = OldScrollBars;
    throw;
  }
  FScrollBarKind = OldScrollBars;
  UpdateScrollPos();
  if (!(FTopLeftCell == OldTopLeft)) TopLeftMoved(OldTopLeft);
}

void TCustomPlumbGrid::UpdateScrollPos() {
  if (!HandleAllocated() || FScrollBarKind == ssNone) return;
  if (!HasVertBar(FScrollBarKind)) return;
  TGridLayout L;
  CalcDrawInfo(L);
  Integer MaxTop = CalcMaxTopLeft(TCellCoord{FNumCols - 1, FNumRows - 1}, L).Y;
  int Pos = MulDiv(FTopLeftCell.Y - FNumFixedRows, ScrollScale, MaxTop - FNumFixedRows);
  if (GetScrollPos(GetHandle(), SB_VERT) != Pos) SetScrollPos(GetHandle(), SB_VERT, Pos, true);
}

void TCustomPlumbGrid::WMVScroll(TMessage& Message) {
  ModifyScrollBar(SB_VERT, int16_t(Message.WParamLo()), int16_t(Message.WParamHi()));
}

void TCustomPlumbGrid::WMHScroll(TMessage& Message) {
  ModifyScrollBar(SB_HORZ, int16_t(Message.WParamLo()), int16_t(Message.WParamHi()));
}

void TCustomPlumbGrid::ModifyScrollBar(int ScrollBar, int ScrollCode, int Pos) {
  if (GetVisible() && CanFocus() && GetTabStop() && !IsDesigning()) SetFocus();
  TGridLayout L;
  CalcDrawInfo(L);
  if (ScrollBar == SB_HORZ && FNumCols == 1) {
    ScrollByPixels(ScrollCode, Pos, L);
    return;
  }
  TCellCoord Max = CalcMaxTopLeft(TCellCoord{FNumCols - 1, FNumRows - 1}, L);
  bool Vert = ScrollBar == SB_VERT;
  const TAxisLayout& Axis = Vert ? L.Rows : L.Cols;
  Integer Min = Vert ? FNumFixedRows : FNumFixedCols;
  Integer AxisMax = Vert ? Max.Y : Max.X;
  Integer C = Vert ? FTopLeftCell.Y : FTopLeftCell.X;
  Integer N = C;
  switch (ScrollCode) {
    case SB_LINEUP:
      N = C - 1;
      break;
    case SB_LINEDOWN:
      N = C + 1;
      break;
    case SB_PAGEUP: {
      TCellCoord Page = CalcMaxTopLeft(FTopLeftCell, L);
      N = C - std::max(C - (Vert ? Page.Y : Page.X), 1);
      break;
    }
    case SB_PAGEDOWN:
      N = C + std::max(Axis.LastWholeCell - C, 1);
      break;
    case SB_THUMBTRACK:
      if (!FOptionSet.Contains(goThumbTracking)) break;
      [[fallthrough]];
    case SB_THUMBPOSITION:
      N = MulDiv(Pos, AxisMax - Min, ScrollScale) + Min;
      break;
    case SB_TOP:
      N = Min;
      break;
    case SB_BOTTOM:
      N = AxisMax;
      break;
    default:
      break;
  }
  if (N < Min)
    N = Min;
  else if (N > AxisMax)
    N = AxisMax;
  if (N == C) return;
  if (Vert)
    MoveTopLeft(FTopLeftCell.X, N);
  else
    MoveTopLeft(N, FTopLeftCell.Y);
}

// The wheel moves the view as the scroll bar does, three rows a notch, and leaves the focus
// and the current cell where they are. A drag of the sizing line owns the picture meanwhile.
void TCustomPlumbGrid::WMMouseWheel(TMessage& Message) {
  Message.Result = 0;
  Integer Lines = WheelScrollLines(FWheelPending, int16_t(HIWORD(Message.WParam)));
  if (Lines != 0 && FState == gsNormal) SetTopRow(FTopLeftCell.Y - Lines);
}

void TCustomPlumbGrid::ScrollByPixels(int ScrollCode, int Pos, const TGridLayout& L) {
  Integer W = GetColWidths(L.Cols.FirstScrollCell);
  Integer V = GetClientWidth() - L.Cols.FixedEnd;
  Integer G = W - V;
  Integer O = FHorzPixelScroll;
  switch (ScrollCode) {
    case SB_LINEUP:
      O -= GetCanvas()->TextWidth("0");
      break;
    case SB_LINEDOWN:
      O += GetCanvas()->TextWidth("0");
      break;
    case SB_PAGEUP:
      O -= V;
      break;
    case SB_PAGEDOWN:
      O += V;
      break;
    case SB_THUMBTRACK:
      if (!FOptionSet.Contains(goThumbTracking)) break;
      [[fallthrough]];
    case SB_THUMBPOSITION:
      O = Pos;
      break;
    case SB_TOP:
      O = 0;
      break;
    case SB_BOTTOM:
      O = G;
      break;
    default:
      break;
  }
  if (O < 0)
    O = 0;
  else if (O >= G)
    O = G;
  if (O == FHorzPixelScroll) return;
  Integer Old = FHorzPixelScroll;
  FHorzPixelScroll = O;
  ScrollData(Old - O, 0);
  InvalidateRect(TCellRange{0, 0, 0, FNumFixedRows});
  Update();
  UpdateScrollPos();
}

void TCustomPlumbGrid::TimedScroll(TGridScrollDirection Direction) {
  TCellCoord NewAnchor = FAnchorCell;
  if (Direction.Contains(sdLeft) && FAnchorCell.X > FNumFixedCols) --NewAnchor.X;
  if (Direction.Contains(sdRight) && FAnchorCell.X < FNumCols - 1) ++NewAnchor.X;
  if (Direction.Contains(sdUp) && FAnchorCell.Y > FNumFixedRows) --NewAnchor.Y;
  if (Direction.Contains(sdDown) && FAnchorCell.Y < FNumRows - 1) ++NewAnchor.Y;
  if (!(NewAnchor == FAnchorCell)) MoveAnchor(NewAnchor);
}

}  // namespace plumb
