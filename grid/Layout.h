#pragma once
// The computed layout of the grid's two axes, and the per-axis routines that map cells to
// pixels and back. A layout is rebuilt for every query from the client size and the state.
#include "GridTypes.h"

namespace plumb {

// A cell index to its extent in pixels, bound to one grid. Negative extents count as 0, so
// that no setting can make a walk along an axis go backwards.
struct TGetExtentsFunc {
  const void* Owner = nullptr;
  Integer (*Fn)(const void* Owner, Integer Index) = nullptr;
  // The extent of every cell when the axis has only one (rows), else -1. The axis routines then
  // compute instead of walking, which matters for millions of rows, and of rows of no height.
  Integer Uniform = -1;
  Integer operator()(Integer Index) const {
    Integer E = Fn(Owner, Index);
    return E < 0 ? 0 : E;
  }
};

struct TAxisLayout {
  Integer LineWidth = 0;
  Integer FixedEnd = 0;
  Integer CellsEnd = 0;
  Integer ViewSize = 0;
  Integer LastWholeCell = 0;
  Integer WholeCellsEnd = 0;
  Integer FixedCount = 0;
  Integer FirstScrollCell = 0;
  Integer CellCount = 0;
  TGetExtentsFunc ExtentOf;
};

struct TGridLayout {
  TAxisLayout Cols;
  TAxisLayout Rows;
};

// The fixed part: line width, fixed cells and what the scrolled part starts from.
void CalcFixedAxis(TAxisLayout& Axis, Integer LineWidth, Integer FixedCount,
                   Integer FirstScrollCell, Integer CellCount, TGetExtentsFunc ExtentOf);
// The scrolled part for a view of ViewSize pixels.
void CalcScrollAxis(TAxisLayout& Axis, Integer ViewSize);
// The cell under position P, or -1.
Integer AxisCellAt(const TAxisLayout& Axis, Integer P);
// The smallest first scrolled cell from which cell S and every cell up to it is wholly seen.
Integer AxisMaxTopLeft(const TAxisLayout& Axis, Integer S);
// The pixel position where cell C starts; 0 also for a cell out of view.
Integer AxisStartPos(const TAxisLayout& Axis, Integer C);
// Pixel span of cells Start..Stop; false when the range lies wholly in the scrolled-out part.
bool AxisSpan(const TAxisLayout& Axis, Integer Start, Integer Stop, bool WithLines,
              Integer& StartPos, Integer& StopPos);
// The pixel rectangle of the visible part of a range (all zero when nothing shows).
TRect RangeToScreenRect(const TGridLayout& L, const TCellRange& ARange, bool WithLines);

}  // namespace plumb
