// Column widths and tab stops (stored sparsely), the uniform row height, count changes with
// their minimal repaint, and the "ColWidths" stream data.
#include <algorithm>

#include "grid/uCPlumbGrd.h"

namespace plumb {

Integer TCustomPlumbGrid::GetColWidths(Integer Index) const {
  if (!FColWidthList.Present() || Index < 0 || Index >= FNumCols) return FStdColWidth;
  return FColWidthList[Index];
}

void TCustomPlumbGrid::SetColWidths(Integer Index, Integer Value) {
  if (!FColWidthList.Present()) SetExtentCount(FColWidthList, FNumCols, FStdColWidth);
  if (Index < 0 || Index >= FNumCols) RaiseGridError(SIndexOutOfRange);
  Integer Old = FColWidthList[Index];
  if (Old == Value) return;
  ResizeCol(Index, Old, Value);
  FColWidthList.Set(Index, Value);
  ColWidthsChanged();
}

Integer TCustomPlumbGrid::GetRowHeights(Integer Index) const {
  (void)Index;
  return FUniformRowHeight;
}

bool TCustomPlumbGrid::GetTabStops(Integer Index) const {
  if (!FTabStopList.Present() || Index < 0 || Index >= FTabStopList.Count()) return true;
  return FTabStopList[Index] != 0;
}

void TCustomPlumbGrid::SetTabStops(Integer Index, bool Value) {
  if (!FTabStopList.Present()) SetExtentCount(FTabStopList, FNumCols, 1);
  if (Index < 0 || Index >= FNumCols) RaiseGridError(SIndexOutOfRange);
  FTabStopList.Set(Index, Value ? 1 : 0);
}

void TCustomPlumbGrid::SetDefaultColWidth(Integer Value) {
  if (FColWidthList.Present()) SetExtentCount(FColWidthList, 0, 0);
  FStdColWidth = Value;
  ColWidthsChanged();
  Invalidate();
}

void TCustomPlumbGrid::SetDefaultRowHeight(Integer Value) {
  FUniformRowHeight = Value;
  RowHeightsChanged();
  Invalidate();
}

void TCustomPlumbGrid::ColWidthsChanged() {
  UpdateScrollRange();
  UpdateEdit();
}

void TCustomPlumbGrid::RowHeightsChanged() {
  UpdateScrollRange();
  UpdateEdit();
}

void TCustomPlumbGrid::ResizeCol(Integer Index, Integer OldSize, Integer NewSize) {
  (void)Index;
  (void)OldSize;
  (void)NewSize;
  Invalidate();
}

// ---- Count changes ---------------------------------------------------------------------------

void TCustomPlumbGrid::ChangeSize(Integer NewColCount, Integer NewRowCount) {
  TGridLayout OldLayout;
  bool HadHandle = HandleAllocated();
  bool WasShown = EditorShown();
  if (HadHandle) CalcDrawInfo(OldLayout);
  Integer OldColCount = FNumCols, OldRowCount = FNumRows;
  FNumCols = NewColCount;
  FNumRows = NewRowCount;
  if (NewColCount < FNumFixedCols) FNumFixedCols = NewColCount - 1;
  if (NewRowCount < FNumFixedRows) FNumFixedRows = NewRowCount - 1;
  try {
    ApplyCountChange();
    if (HadHandle && HandleAllocated() && FTopLeftCell.X == OldLayout.Cols.FirstScrollCell &&
        FTopLeftCell.Y == OldLayout.Rows.FirstScrollCell)
      RepaintAfterCountChange(OldLayout);
    else
      Invalidate();
    UpdateScrollRange();
    SizeChanged(OldColCount, OldRowCount);
    RealignEditor(WasShown);
  } catch (...) {
    FNumCols = OldColCount;
    FNumRows = OldRowCount;
    try {  // the same steps back; the first error is the one the caller hears of
      ApplyCountChange();
      UpdateScrollRange();
      SizeChanged(NewColCount, NewRowCount);
      RealignEditor(WasShown);
    } catch (...) {
    }
    Invalidate();
    throw;
  }
}

void TCustomPlumbGrid::ApplyCountChange() {
  if (FColWidthList.Present()) SetExtentCount(FColWidthList, FNumCols, FStdColWidth);
  if (FTabStopList.Present()) SetExtentCount(FTabStopList, FNumCols, 1);
  TCellCoord Clamped = FCurrentCell;
  if (Clamped.X >= FNumCols) Clamped.X = FNumCols - 1;
  if (Clamped.Y >= FNumRows) Clamped.Y = FNumRows - 1;
  if (!(Clamped == FCurrentCell)) MoveCurrent(Clamped.X, Clamped.Y, true, true);
  if (!(FAnchorCell == Clamped)) MoveAnchor(Clamped);
  // Fewer cells can leave the view starting past the last of them.
  TCellCoord TopLeft = ClampTopLeft(FTopLeftCell);
  if (TopLeft == FTopLeftCell) return;
  if (HandleAllocated())
    MoveTopLeft(TopLeft.X, TopLeft.Y);
  else
    FTopLeftCell = TopLeft;
}

void TCustomPlumbGrid::RepaintAfterCountChange(const TGridLayout& OldLayout) {
  TGridLayout NewLayout;
  CalcDrawInfo(NewLayout);
  HWND Wnd = GetHandle();
  auto RepaintFrom = [&](const TRect& Cell) {
    if (IsRectEmpty(Cell)) {
      Invalidate();
      return false;
    }
    TRect R{Cell.Left, Cell.Top, GetWidth(), GetHeight()};
    plumb::InvalidateRect(Wnd, &R, false);
    return true;
  };
  if (OldLayout.Cols.LastWholeCell != NewLayout.Cols.LastWholeCell) {
    Integer M = std::min(OldLayout.Cols.LastWholeCell, NewLayout.Cols.LastWholeCell);
    if (!RepaintFrom(CellRect(M, 0))) return;
  }
  if (OldLayout.Rows.LastWholeCell != NewLayout.Rows.LastWholeCell) {
    Integer M = std::min(OldLayout.Rows.LastWholeCell, NewLayout.Rows.LastWholeCell);
    RepaintFrom(CellRect(0, M));
  }
}

// ---- "ColWidths" in form streams -------------------------------------------------------------

void TCustomPlumbGrid::DefineProperties(TFiler* Filer) {
  TCustomControl::DefineProperties(Filer);
  bool HasData;
  TPersistent* Ancestor = Filer->GetAncestor();
  if (Ancestor && Ancestor->Is<TCustomPlumbGrid>())
    HasData = !SameExtents(static_cast<TCustomPlumbGrid*>(Ancestor)->FColWidthList, FColWidthList);
  else
    HasData = FColWidthList.Present();
  Filer->DefineProperty(
      "ColWidths", [this](TReader* R) { ReadColWidths(R); },
      [this](TWriter* W) { WriteColWidths(W); }, HasData);
}

void TCustomPlumbGrid::RestoreColWidths(const ExtentList& Old) {
  FColWidthList = Old;
  if (FColWidthList.Present() && FColWidthList.Count() != FNumCols)
    SetExtentCount(FColWidthList, FNumCols, FStdColWidth);
  ColWidthsChanged();
  Invalidate();
}

void TCustomPlumbGrid::WriteColWidths(TWriter* Writer) {
  Writer->WriteListBegin();
  for (Integer I = 0; I < FNumCols; ++I) Writer->WriteInteger(GetColWidths(I));
  Writer->WriteListEnd();
}

void TCustomPlumbGrid::ReadColWidths(TReader* Reader) {
  // A failed read puts the list back as it was, absent included: an absent list is not
  // saved, a list of default widths would be.
  Reader->UndoOnFailure([this, Old = FColWidthList] { RestoreColWidths(Old); });
  Reader->ReadListBegin();
  for (Integer I = 0; I < FNumCols; ++I) SetColWidths(I, Reader->ReadInteger());
  Reader->ReadListEnd();
}

}  // namespace plumb
