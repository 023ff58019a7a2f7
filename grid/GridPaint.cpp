// The paint cycle.
//
//   Paint           layout -> grid lines (one PolyPolyline a set) -> four cell blocks ->
//                   background beyond the cells -> focus back to the editor
//   PaintCellBlock  walks the rows and columns of one area; each visible cell is filled,
//                   drawn by DrawCell, given its divider, 3-D edges and focus rectangle; the
//                   current row gets its frame
//   DrawFocus       the row frame in the FocusBorder style
#include <algorithm>
#include <vector>

#include "grid/uCPlumbGrd.h"

namespace plumb {

// Room for the strokes of one line set. The usual counts fit in the inline block, so painting
// takes no heap memory; only a grid of zero-sized cells spills over.
struct TStrokeBuffer {
  static constexpr int Inline = 256;
  TPoint InlinePoints[Inline * 2];
  DWORD InlineCounts[Inline];
  std::vector<TPoint> MorePoints;
  std::vector<DWORD> MoreCounts;
  TPoint* Points = InlinePoints;
  DWORD* Counts = InlineCounts;
  int Capacity = 0;
  int Count = 0;

  explicit TStrokeBuffer(int ACapacity) : Capacity(ACapacity) {
    if (Capacity > Inline) {
      MorePoints.resize(size_t(Capacity) * 2);
      MoreCounts.resize(size_t(Capacity));
      Points = MorePoints.data();
      Counts = MoreCounts.data();
    }
    std::fill(Counts, Counts + Capacity, 2u);
  }
  // False once full: a stroke set never grows past the room it was given.
  bool Add(TPoint A, TPoint B) {
    if (Count >= Capacity) return false;
    Points[Count * 2] = A;
    Points[Count * 2 + 1] = B;
    ++Count;
    return true;
  }
};

void TCustomPlumbGrid::Paint() {
  TGridLayout L;
  CalcDrawInfo(L);
  FPaintActive = IsActiveControl();
  if (L.Cols.LineWidth > 0 || L.Rows.LineWidth > 0) PaintLines(L);

  TCellRange SelRange = GetSelection();
  FTrailingEdges = (FOptionSet.Contains(goFixedVertLine) ? UINT(BF_RIGHT) : 0u) |
                   (FOptionSet.Contains(goFixedHorzLine) ? UINT(BF_BOTTOM) : 0u);
  FLeadingEdges = (FOptionSet.Contains(goFixedVertLine) ? UINT(BF_LEFT) : 0u) |
                  (FOptionSet.Contains(goFixedHorzLine) ? UINT(BF_TOP) : 0u);
  const TAxisLayout &C = L.Cols, &R = L.Rows;
  TGridDrawState Fixed{gdFixed};
  PaintCellBlock(L, 0, 0, 0, 0, C.FixedEnd, R.FixedEnd, FFixedCellColor, Fixed, SelRange);
  PaintCellBlock(L, FTopLeftCell.X, 0, C.FixedEnd - FHorzPixelScroll, 0, C.CellsEnd, R.FixedEnd,
                 FFixedCellColor, Fixed, SelRange);
  PaintCellBlock(L, 0, FTopLeftCell.Y, 0, R.FixedEnd, C.FixedEnd, R.CellsEnd, FFixedCellColor,
                 Fixed, SelRange);
  PaintCellBlock(L, FTopLeftCell.X, FTopLeftCell.Y, C.FixedEnd - FHorzPixelScroll, R.FixedEnd,
                 C.CellsEnd, R.CellsEnd, GetColor(), TGridDrawState{}, SelRange);

  TCanvas* Canvas = GetCanvas();
  Canvas->Brush()->SetColor(GetColor());
  if (C.CellsEnd < C.ViewSize) Canvas->FillRect(TRect{C.CellsEnd, 0, C.ViewSize, R.CellsEnd});
  if (R.CellsEnd < R.ViewSize) Canvas->FillRect(TRect{0, R.CellsEnd, C.ViewSize, R.ViewSize});

  if (FCurrentCell.Y == FEditorCell.Y && CanEditShow() && FOptionSet.Contains(goAlwaysShowEditor) &&
      Focused() && FEditor)
    FEditor->SetFocus();
}

// ---- Grid lines ------------------------------------------------------------------------------

void TCustomPlumbGrid::PaintLines(const TGridLayout& L) {
  TColor LineColor = ColorToRGB(GetColor()) == clSilver ? TColor(0x808080) : TColor(clSilver);
  TColor FixedLineColor = FOptionSet.Contains(goDrawFixed) ? clBlack : LineColor;
  Integer Visible = std::max(L.Rows.LastWholeCell - FTopLeftCell.Y + FNumFixedRows,
                             L.Cols.LastWholeCell - FTopLeftCell.X + FNumFixedCols);
  TStrokeBuffer Strokes(std::max(Visible, 0) + 3);
  bool FixedHorz = FOptionSet.Contains(goFixedHorzLine);
  bool FixedVert = FOptionSet.Contains(goFixedVertLine);
  const TAxisLayout &C = L.Cols, &R = L.Rows;
  PaintGridLines(L, TRect{0, 0, C.FixedEnd, R.FixedEnd}, 0, 0, FixedHorz, FixedVert, FixedLineColor,
                 FFixedCellColor, Strokes);
  PaintGridLines(L, TRect{C.FixedEnd, 0, C.CellsEnd, R.FixedEnd}, FTopLeftCell.X, 0, FixedHorz,
                 FixedVert, FixedLineColor, FFixedCellColor, Strokes);
  PaintGridLines(L, TRect{0, R.FixedEnd, C.FixedEnd, R.CellsEnd}, 0, FTopLeftCell.Y, FixedHorz,
                 FixedVert, FixedLineColor, FFixedCellColor, Strokes);
  PaintGridLines(L, TRect{C.FixedEnd, R.FixedEnd, C.CellsEnd, R.CellsEnd}, FTopLeftCell.X,
                 FTopLeftCell.Y, FOptionSet.Contains(goHorzLine), true, LineColor, GetColor(),
                 Strokes);
}

void TCustomPlumbGrid::PaintGridLines(const TGridLayout& L, const TRect& Bounds, Integer FirstCol,
                                      Integer FirstRow, bool RowLines, bool ColLines,
                                      TColor OnColor, TColor OffColor, TStrokeBuffer& Strokes) {
  if (Bounds.Left == Bounds.Right || Bounds.Top == Bounds.Bottom) return;
  TColor ColColor = ColLines ? OnColor : OffColor;
  // Lines switched off are drawn in the background colour; the set drawn second lies on top.
  if (RowLines) {
    PaintAxisLines(L.Cols, false, Bounds, FirstCol, ColColor, Strokes);
    PaintAxisLines(L.Rows, true, Bounds, FirstRow, OnColor, Strokes);
  } else {
    PaintAxisLines(L.Rows, true, Bounds, FirstRow, OffColor, Strokes);
    PaintAxisLines(L.Cols, false, Bounds, FirstCol, ColColor, Strokes);
  }
}

void TCustomPlumbGrid::PaintAxisLines(const TAxisLayout& Axis, bool Horizontal, const TRect& Bounds,
                                      Integer FirstCell, TColor Color, TStrokeBuffer& Strokes) {
  if (Axis.LineWidth <= 0) return;
  TCanvas* Canvas = GetCanvas();
  TPen* Pen = Canvas->Pen();
  Pen->SetWidth(FLineWidth);
  Pen->SetColor(Color);
  if (FLineWidth > 1) {
    TLogBrush Brush{BS_SOLID, COLORREF(ColorToRGB(Color)), 0};
    Pen->SetHandle(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER,
                                DWORD(FLineWidth), Brush));
  }
  Integer MajorStart = Horizontal ? Bounds.Top : Bounds.Left;
  Integer MajorEnd = Horizontal ? Bounds.Bottom : Bounds.Right;
  Integer MinorStart = Horizontal ? Bounds.Left : Bounds.Top;
  Integer MinorEnd = Horizontal ? Bounds.Right : Bounds.Bottom;
  Integer Position = MajorStart + Axis.ExtentOf(FirstCell) + Axis.LineWidth / 2;
  Integer Last = MajorEnd + Axis.LineWidth;
  Strokes.Count = 0;
  Integer Cell = FirstCell;
  do {
    TPoint A = Horizontal ? TPoint{MinorStart, Position} : TPoint{Position, MinorStart};
    TPoint B = Horizontal ? TPoint{MinorEnd, Position} : TPoint{Position, MinorEnd};
    if (!Strokes.Add(A, B)) break;
    ++Cell;
    Position += Axis.ExtentOf(Cell) + Axis.LineWidth;
  } while (Position <= Last);
  PolyPolyline(Canvas->GetHandle(), Strokes.Points, Strokes.Counts, DWORD(Strokes.Count));
}

// ---- Cells -----------------------------------------------------------------------------------

void TCustomPlumbGrid::PaintCellBlock(const TGridLayout& L, Integer FirstCol, Integer FirstRow,
                                      Integer Left, Integer Top, Integer Right, Integer Bottom,
                                      TColor FillColor, TGridDrawState BaseState,
                                      const TCellRange& SelRange) {
  TCanvas* Canvas = GetCanvas();
  Integer RowStep = std::max(FUniformRowHeight, 0) + L.Rows.LineWidth;
  TRect Box{Left, Top, Left, Top};
  for (Integer Row = FirstRow; Box.Top < Bottom && Row < FNumRows; ++Row) {
    // Rows of no height all lie at one place: past the rows that need a frame, stop.
    if (RowStep == 0 && Row > std::max(FCurrentCell.Y, FEditorCell.Y)) break;
    Box.Bottom = Box.Top + std::max(FUniformRowHeight, 0);
    Box.Left = Left;
    for (Integer Col = FirstCol; Box.Left < Right && Col < FNumCols; ++Col) {
      Box.Right = Box.Left + std::max(GetColWidths(Col), 0);
      if (RectVisible(Canvas->GetHandle(), Box))
        PaintCell(L, Col, Row, Box, FillColor, BaseState, SelRange);
      Box.Left = Box.Right + L.Cols.LineWidth;
    }
    if (FEditorCell.Y == Row || (FEditorCell.Y == -1 && FCurrentCell.Y == Row))
      PaintRowFrame(SelRange);
    Box.Top = Box.Bottom + L.Rows.LineWidth;
  }
}

void TCustomPlumbGrid::PaintCell(const TGridLayout& L, Integer ACol, Integer ARow, const TRect& Box,
                                 TColor FillColor, TGridDrawState BaseState,
                                 const TCellRange& SelRange) {
  TCanvas* Canvas = GetCanvas();
  TGridDrawState State = BaseState;
  if (FPaintActive && ACol == FCurrentCell.X && ARow == FCurrentCell.Y) State.Include(gdFocused);
  if (CellInRange(ACol, ARow, SelRange)) State.Include(gdSelected);
  bool Designing = IsDesigning();
  // The editor covers the focused cell.
  if (State.Contains(gdFocused) && FOptionSet.Contains(goEditing) && FEditorActive && !Designing)
    return;
  Canvas->Font()->Assign(GetFont());
  if (State.Contains(gdSelected) && FOptionSet.Contains(goDrawFocusSelected)) {
    Canvas->Brush()->SetColor(clHighlight);
    Canvas->Font()->SetColor(clHighlightText);
  } else {
    Canvas->Brush()->SetColor(FillColor);
  }
  Canvas->FillRect(Box);
  DrawCell(ACol, ARow, Box, State);
  if (ACol == 0) {
    TRect Divider = Box;
    DrawEdge(Canvas->GetHandle(), Divider, EDGE_SUNKEN, BF_RIGHT);
  }
  if (FOptionSet.Contains(goDrawFixed) && State.Contains(gdFixed) && GetCtl3D() &&
      (FTrailingEdges != 0 || FLeadingEdges != 0)) {
    TRect Edge = Box;
    if (!(FTrailingEdges & BF_RIGHT))
      Edge.Right += L.Cols.LineWidth;
    else if (!(FTrailingEdges & BF_BOTTOM))
      Edge.Bottom += L.Rows.LineWidth;
    TRect Copy = Edge;
    DrawEdge(Canvas->GetHandle(), Copy, BDR_RAISEDINNER, FTrailingEdges);
    Copy = Edge;
    DrawEdge(Canvas->GetHandle(), Copy, BDR_RAISEDINNER, FLeadingEdges);
  }
  if (!Designing && State.Contains(gdFocused) &&
      !(FOptionSet.Contains(goEditing) && FOptionSet.Contains(goAlwaysShowEditor))) {
    TRect Focus = Box;
    --Focus.Top;
    DrawFocus(Canvas, Focus);
  }
}

void TCustomPlumbGrid::PaintRowFrame(const TCellRange& SelRange) {
  TRect Frame;
  GridRectToScreenRect(SelRange, Frame, false);
  if (!FOptionSet.Contains(goDrawFixed)) Frame.Left = 0;
  --Frame.Top;
  DrawFocus(GetCanvas(), Frame);
}

void TCustomPlumbGrid::DrawFocus(TCanvas* Canvas, const TRect& FrameRect) {
  TRect R = FrameRect;
  ++R.Top;
  --R.Right;
  TPen* Pen = Canvas->Pen();
  TColor OldColor = Pen->GetColor();
  auto Line = [&](Integer X1, Integer Y1, Integer X2, Integer Y2) {
    Canvas->Polyline({TPoint{X1, Y1}, TPoint{X2, Y2}});
  };
  switch (FFocusBorderKind) {
    case fbEtched:
      Pen->SetColor(clBlack);
      Line(R.Left, R.Top, R.Right, R.Top);
      Line(R.Left, R.Top, R.Left, R.Bottom);
      Line(R.Left, R.Bottom, R.Right, R.Bottom);
      Line(R.Right, R.Top, R.Right, R.Bottom);
      break;
    case fbSunken:
      Pen->SetColor(clBlack);
      Line(R.Left, R.Top, R.Right, R.Top);
      Line(R.Left, R.Top, R.Left, R.Bottom);
      Pen->SetColor(clWindow);
      Line(R.Left, R.Bottom, R.Right, R.Bottom);
      break;
    case fbNone:
      break;
  }
  Pen->SetColor(OldColor);
}

// ---- Invalidation ----------------------------------------------------------------------------

void TCustomPlumbGrid::InvalidateRect(const TCellRange& ARange) {
  if (!HandleAllocated()) return;
  TRect R;
  GridRectToScreenRect(ARange, R, true);
  plumb::InvalidateRect(GetHandle(), &R, false);
}

// The range covers every visible cell of the row, wherever the view is scrolled to, so that
// callers that expect the whole row repainted get it.
void TCustomPlumbGrid::InvalidateRow(Integer ARow) {
  if (!HandleAllocated()) return;
  InvalidateRect(TCellRange{0, ARow, FTopLeftCell.X + GetVisibleColCount() + 1, ARow});
}

void TCustomPlumbGrid::InvalidateData() {
  if (!HandleAllocated()) return;
  InvalidateRect(TCellRange{1, 0, 1, FTopLeftCell.Y + GetVisibleRowCount() + 1});
}

}  // namespace plumb
