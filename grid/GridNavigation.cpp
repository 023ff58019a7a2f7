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

// A host's top-left cell is held where scrolling could take it: from the first scrolled cell
// to the last top-left cell, so that the scroll bar can show it and no blank page appears.
TCellCoord TCustomPlumbGrid::ClampTopLeft(TCellCoord Value) {
  TGridLayout L;
  CalcDrawInfo(L);
  TCellCoord Max = CalcMaxTopLeft(TCellCoord{FNumCols - 1, FNumRows - 1}, L);
  Value.X = std::max(std::min(Value.X, Max.X), FNumFixedCols);
  Value.Y = std::max(std::min(Value.Y, Max.Y), FNumFixedRows);
  return Value;
}

void TCustomPlumbGrid::SetLeftCol(Integer Value) {
  Value = ClampTopLeft(TCellCoord{Value, FTopLeftCell.Y}).X;
  if (Value != FTopLeftCell.X) MoveTopLeft(Value, FTopLeftCell.Y);
}

void TCustomPlumbGrid::SetTopRow(Integer Value) {
  Value = ClampTopLeft(TCellCoord{FTopLeftCell.X, Value}).Y;
  if (Value != FTopLeftCell.Y) MoveTopLeft(FTopLeftCell.X, Value);
}

void TCustomPlumbGrid::SetSelection(const TCellRange& Value) {
  // A corner outside the grid would make a current cell that no row or column backs.
  if (Value.Left < 0 || Value.Top < 0 || Value.Right < 0 || Value.Bottom < 0 ||
      Value.Left >= FNumCols || Value.Right >= FNumCols || Value.Top >= FNumRows ||
      Value.Bottom >= FNumRows)
    RaiseGridError(SIndexOutOfRange);
  bool WasShown = EditorShown();
  TCellRange OldSel = GetSelection();
  FAnchorCell = TCellCoord{Value.Left, Value.Top};
  FCurrentCell = TCellCoord{Value.Right, Value.Bottom};
  SelectionMoved(OldSel);
  RealignEditor(WasShown);
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
  // A fixed cell is always in view: the scrolled part never starts inside the fixed part.
  if (Coord.X < FTopLeftCell.X)
    FTopLeftCell.X = std::max(Coord.X, FNumFixedCols);
  else if (Coord.X > L.Cols.LastWholeCell)
    FTopLeftCell.X = MaxTopLeft.X;
  if (Coord.Y < FTopLeftCell.Y)
    FTopLeftCell.Y = std::max(Coord.Y, FNumFixedRows);
  else if (Coord.Y > L.Rows.LastWholeCell)
    FTopLeftCell.Y = MaxTopLeft.Y;
  if (!(FTopLeftCell == OldTopLeft)) TopLeftMoved(OldTopLeft);
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
  if (!FEditorActive || !FEditor) return;
  // The editor goes with the cell whose text it holds. A hidden one comes back only over the
  // current cell when it may show, and reloaded: its cell may have changed while it was hidden.
  if (EditorShown()) {
    if (EditorCellExists())
      FEditor->UpdateLoc(CellRect(FEditorCell.X, FEditorCell.Y));
    else
      FEditor->Hide();
  } else if (FEditorCell == FCurrentCell && CanEditShow()) {
    UpdateEdit();
  }
}

}  // namespace plumb
