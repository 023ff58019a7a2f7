// The current cell, the selection anchor and the top-left cell. Every move of the grid goes
// through here: hooks fire in a fixed order, the view follows the current cell, painted
// pixels are reused by scrolling and only what a move uncovers is repainted.
#include <algorithm>

#include "grid/uCPlumbGrd.h"

namespace plumb {

void TCustomPlumbGrid::SetCol(Integer Value) {
  if (Value != FCurrentCell.X) FocusCell(Value, FCurrentCell.Y, true);
}

void TCustomPlumbGrid::SetRow(Integer Value) {
  if (Value != FCurrentCell.Y) FocusCell(FCurrentCell.X, Value, true);
}

void TCustomPlumbGrid::SetLeftCol(Integer Value) {
  if (Value != FTopLeftCell.X) MoveTopLeft(Value, FTopLeftCell.Y);
}

void TCustomPlumbGrid::SetTopRow(Integer Value) {
  if (Value != FTopLeftCell.Y) MoveTopLeft(FTopLeftCell.X, Value);
}

void TCustomPlumbGrid::SetSelection(const TCellRange& Value) {
  TCellRange OldSel = GetSelection();
  FAnchorCell = TCellCoord{Value.Left, Value.Top};
  FCurrentCell = TCellCoord{Value.Right, Value.Bottom};
  SelectionMoved(OldSel);
}

void TCustomPlumbGrid::FocusCell(Integer ACol, Integer ARow, bool MoveAnchor) {
  MoveCurrent(ACol, ARow, MoveAnchor, true);
  UpdateEdit();
  Click();
}

void TCustomPlumbGrid::MoveCurrent(Integer ACol, Integer ARow, bool MoveAnchor, bool Show) {
  if (ACol < 0 || ARow < 0 || ACol >= FNumCols || ARow >= FNumRows)
    RaiseGridError(SIndexOutOfRange);
  if (ARow != FCurrentCell.Y) ColExit();
  if (!SelectCell(ACol, ARow)) return;
  TCellRange OldSel = GetSelection();
  Integer OldRow = FCurrentCell.Y;
  FCurrentCell = TCellCoord{ACol, ARow};
  if (ARow != OldRow) ColEnter();
  if (!FOptionSet.Contains(goAlwaysShowEditor)) HideEditor();
  if (MoveAnchor) FAnchorCell = FCurrentCell;
  if (Show) ClampInView(FCurrentCell);
  SelectionMoved(OldSel);
  InvalidateRow(OldRow);
  InvalidateRow(ARow);
}

void TCustomPlumbGrid::MoveAnchor(const TCellCoord& NewAnchor) {
  if (FOptionSet.Contains(goEditing)) {
    MoveCurrent(NewAnchor.X, NewAnchor.Y, true, true);
    return;
  }
  TCellRange OldSel = GetSelection();
  FAnchorCell = NewAnchor;
  ClampInView(NewAnchor);
  SelectionMoved(OldSel);
}

void TCustomPlumbGrid::ClampInView(const TCellCoord& Coord) {
  if (!HandleAllocated()) return;
  TGridLayout L;
  CalcDrawInfo(L);
  if (Coord.X <= L.Cols.LastWholeCell && Coord.Y <= L.Rows.LastWholeCell &&
      Coord.X >= FTopLeftCell.X && Coord.Y >= FTopLeftCell.Y)
    return;
  TCellCoord OldTopLeft = FTopLeftCell;
  TCellCoord MaxTopLeft = CalcMaxTopLeft(Coord, L);
  Update();
  if (Coord.X < FTopLeftCell.X)
    FTopLeftCell.X = Coord.X;
  else if (Coord.X > L.Cols.LastWholeCell)
    FTopLeftCell.X = MaxTopLeft.X;
  if (Coord.Y < FTopLeftCell.Y)
    FTopLeftCell.Y = Coord.Y;
  else if (Coord.Y > L.Rows.LastWholeCell)
    FTopLeftCell.Y = MaxTopLeft.Y;
  TopLeftMoved(OldTopLeft);
}

void TCustomPlumbGrid::MoveTopLeft(Integer ALeft, Integer ATop) {
  if (ALeft == FTopLeftCell.X && ATop == FTopLeftCell.Y) return;
  Update();
  TCellCoord OldTopLeft = FTopLeftCell;
  FTopLeftCell = TCellCoord{ALeft, ATop};
  TopLeftMoved(OldTopLeft);
}

namespace {

// The pixels between two first-scrolled cells on one axis; false when they are more than the
// scrolled area holds (nothing of the old picture would stay in view).
bool ScrollDistance(const TAxisLayout& Axis, Integer OldFirst, Integer NewFirst,
                    Integer& Distance) {
  Integer From = std::min(OldFirst, NewFirst), To = std::max(OldFirst, NewFirst);
  // More cells than pixels can only be passed in one view when cells and lines have no size;
  // such a walk could take billions of steps, and repainting is right whatever the distance.
  if (Int64(To) - From > Int64(Axis.CellsEnd) - Axis.FixedEnd) return false;
  Int64 D = 0;
  for (Integer I = From; I < To; ++I) {
    D += Axis.ExtentOf(I) + Axis.LineWidth;
    if (D > Axis.CellsEnd - Axis.FixedEnd) return false;
  }
  Distance = Integer(OldFirst < NewFirst ? -D : D);
  return true;
}

}  // namespace

void TCustomPlumbGrid::TopLeftMoved(const TCellCoord& OldTopLeft) {
  UpdateScrollPos();
  TGridLayout L;
  CalcDrawInfo(L);
  Integer DX = 0, DY = 0;
  if (ScrollDistance(L.Cols, OldTopLeft.X, FTopLeftCell.X, DX) &&
      ScrollDistance(L.Rows, OldTopLeft.Y, FTopLeftCell.Y, DY))
    ScrollDataInfo(DX, DY, L);
  else
    Invalidate();
  TopLeftChanged();
}

void TCustomPlumbGrid::ScrollDataInfo(Integer DX, Integer DY, const TGridLayout& L) {
  HWND Wnd = GetHandle();
  auto Scroll = [Wnd](Integer SX, Integer SY, const TRect& R) {
    ScrollWindowEx(Wnd, SX, SY, &R, &R, nullptr, nullptr, SW_INVALIDATE);
  };
  const TAxisLayout &C = L.Cols, &R = L.Rows;
  if (DY == 0) {
    Scroll(DX, 0, TRect{C.FixedEnd, 0, C.ViewSize, R.ViewSize});
  } else if (DX == 0) {
    Scroll(0, DY, TRect{0, R.FixedEnd, C.ViewSize, R.ViewSize});
  } else {
    Scroll(DX, 0, TRect{C.FixedEnd, 0, C.ViewSize, R.FixedEnd});
    Scroll(0, DY, TRect{0, R.FixedEnd, C.FixedEnd, R.ViewSize});
    Scroll(DX, DY, TRect{C.FixedEnd, R.FixedEnd, C.ViewSize, R.ViewSize});
  }
}

void TCustomPlumbGrid::ScrollData(Integer DX, Integer DY) {
  TGridLayout L;
  CalcDrawInfo(L);
  ScrollDataInfo(DX, DY, L);
}

void TCustomPlumbGrid::SelectionMoved(const TCellRange& OldSel) {
  if (!HandleAllocated()) return;
  TRect OldRect, NewRect;
  GridRectToScreenRect(OldSel, OldRect, true);
  GridRectToScreenRect(GetSelection(), NewRect, true);
  TRect Parts[4];
  RectDifference(OldRect, NewRect, Parts);
  HWND Wnd = GetHandle();
  for (const TRect& Part : Parts)
    if (!IsRectEmpty(Part)) plumb::InvalidateRect(Wnd, &Part, false);
}

void TCustomPlumbGrid::TopLeftChanged() {
  if (FEditorActive && FEditor) FEditor->UpdateLoc(CellRect(FCurrentCell.X, FCurrentCell.Y));
}

}  // namespace plumb
