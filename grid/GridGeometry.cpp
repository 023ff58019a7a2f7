// Layouts for the current client size and the mapping between cells and pixels. Nothing is
// cached: every query lays out the axes afresh, walking only the cells in view.
#include <algorithm>

#include "grid/uCPlumbGrd.h"

namespace plumb {

Integer TCustomPlumbGrid::ColWidthOf(const void* Grid, Integer Index) {
  return static_cast<const TCustomPlumbGrid*>(Grid)->GetColWidths(Index);
}

Integer TCustomPlumbGrid::RowHeightOf(const void* Grid, Integer Index) {
  return static_cast<const TCustomPlumbGrid*>(Grid)->GetRowHeights(Index);
}

TGetExtentsFunc TCustomPlumbGrid::ColExtents() const {
  return TGetExtentsFunc{this, &ColWidthOf};
}
TGetExtentsFunc TCustomPlumbGrid::RowExtents() const {
  return TGetExtentsFunc{this, &RowHeightOf, std::max(FUniformRowHeight, 0)};
}

void TCustomPlumbGrid::CalcFixedInfo(TGridLayout& Layout) const {
  Integer ColLine = FOptionSet.Contains(goFixedVertLine) ? FLineWidth : 0;
  Integer RowLine =
      FOptionSet.Contains(goFixedHorzLine) || FOptionSet.Contains(goHorzLine) ? FLineWidth : 0;
  CalcFixedAxis(Layout.Cols, ColLine, FNumFixedCols, FTopLeftCell.X, FNumCols, ColExtents());
  CalcFixedAxis(Layout.Rows, RowLine, FNumFixedRows, FTopLeftCell.Y, FNumRows, RowExtents());
}

void TCustomPlumbGrid::CalcDrawInfoXY(TGridLayout& Layout, Integer ViewWidth,
                                      Integer ViewHeight) const {
  CalcFixedInfo(Layout);
  CalcScrollAxis(Layout.Cols, ViewWidth);
  CalcScrollAxis(Layout.Rows, ViewHeight);
}

void TCustomPlumbGrid::CalcDrawInfo(TGridLayout& Layout) {
  TRect Client = GetClientRect();
  CalcDrawInfoXY(Layout, Client.Width(), Client.Height());
}

TCellCoord TCustomPlumbGrid::CalcCoordFromPoint(Integer X, Integer Y,
                                                const TGridLayout& Layout) const {
  return TCellCoord{AxisCellAt(Layout.Cols, X), AxisCellAt(Layout.Rows, Y)};
}

TCellCoord TCustomPlumbGrid::MouseCoord(Integer X, Integer Y) {
  TGridLayout L;
  CalcDrawInfo(L);
  TCellCoord C = CalcCoordFromPoint(X, Y, L);
  if (C.X < 0)
    C.Y = -1;
  else if (C.Y < 0)
    C.X = -1;
  return C;
}

TCellCoord TCustomPlumbGrid::CalcMaxTopLeft(const TCellCoord& Coord,
                                            const TGridLayout& Layout) const {
  return TCellCoord{AxisMaxTopLeft(Layout.Cols, Coord.X), AxisMaxTopLeft(Layout.Rows, Coord.Y)};
}

void TCustomPlumbGrid::GridRectToScreenRect(const TCellRange& ARange, TRect& ARect,
                                            bool WithLines) {
  ARect = TRect{};
  if (ARange.Left > ARange.Right || ARange.Top > ARange.Bottom) return;
  TGridLayout L;
  CalcDrawInfo(L);
  ARect = RangeToScreenRect(L, ARange, WithLines);
}

TRect TCustomPlumbGrid::BoxRect(Integer FromCol, Integer FromRow, Integer ToCol, Integer ToRow) {
  TRect R;
  GridRectToScreenRect(TCellRange{FromCol, FromRow, ToCol, ToRow}, R, false);
  return R;
}

TRect TCustomPlumbGrid::CellRect(Integer ACol, Integer ARow) {
  return BoxRect(ACol, ARow, ACol, ARow);
}

Integer TCustomPlumbGrid::GetGridWidth() {
  TGridLayout L;
  CalcDrawInfo(L);
  return L.Cols.CellsEnd;
}

Integer TCustomPlumbGrid::GetGridHeight() {
  TGridLayout L;
  CalcDrawInfo(L);
  return L.Rows.CellsEnd;
}

Integer TCustomPlumbGrid::GetVisibleColCount() {
  TGridLayout L;
  CalcDrawInfo(L);
  return L.Cols.LastWholeCell - FTopLeftCell.X + 1;
}

Integer TCustomPlumbGrid::GetVisibleRowCount() {
  TGridLayout L;
  CalcDrawInfo(L);
  return L.Rows.LastWholeCell - FTopLeftCell.Y + 1;
}

TCellRange TCustomPlumbGrid::GetSelection() const {
  return MakeCellRange(FCurrentCell, FAnchorCell);
}

}  // namespace plumb
