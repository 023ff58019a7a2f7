// Axis layout: one set of routines serves both axes. Every cell occupies its extent followed
// by one line of LineWidth pixels, and the line belongs to the cell for hit testing.
#include "Layout.h"

namespace plumb {

void CalcFixedAxis(TAxisLayout& Axis, Integer LineWidth, Integer FixedCount,
                   Integer FirstScrollCell, Integer CellCount, TGetExtentsFunc ExtentOf) {
  Axis.LineWidth = LineWidth < 0 ? 0 : LineWidth;
  Axis.FixedEnd = 0;
  for (Integer I = 0; I < FixedCount; ++I) Axis.FixedEnd += ExtentOf(I) + Axis.LineWidth;
  Axis.FixedCount = FixedCount;
  Axis.FirstScrollCell = FirstScrollCell;
  Axis.CellCount = CellCount;
  Axis.ExtentOf = ExtentOf;
}

void CalcScrollAxis(TAxisLayout& Axis, Integer ViewSize) {
  Axis.ViewSize = ViewSize;
  Axis.CellsEnd = Axis.FixedEnd;
  Axis.WholeCellsEnd = Axis.FixedEnd;
  Axis.LastWholeCell = Axis.FirstScrollCell;
  for (Integer I = Axis.FirstScrollCell; I < Axis.CellCount; ++I) {
    Axis.CellsEnd += Axis.ExtentOf(I) + Axis.LineWidth;
    // A cell whose only overflow is its own line still counts as whole.
    if (Axis.CellsEnd > ViewSize + Axis.LineWidth) {
      Axis.CellsEnd = ViewSize;
      break;
    }
    Axis.LastWholeCell = I;
    Axis.WholeCellsEnd = Axis.CellsEnd;
  }
}

Integer AxisCellAt(const TAxisLayout& Axis, Integer P) {
  Integer Start = Axis.FirstScrollCell, Stop = Axis.CellCount, Pos = Axis.FixedEnd;
  if (P < Axis.FixedEnd) {
    Start = 0;
    Stop = Axis.FixedCount;
    Pos = 0;
  }
  for (Integer I = Start; I < Stop; ++I) {
    Pos += Axis.ExtentOf(I) + Axis.LineWidth;
    if (P < Pos) return I;
  }
  return -1;
}

Integer AxisMaxTopLeft(const TAxisLayout& Axis, Integer S) {
  if (S < Axis.FixedCount) return S;
  Integer Room = Axis.ViewSize + Axis.LineWidth, Answer = S;
  for (Integer I = S; I >= Axis.FixedCount; --I) {
    Room -= Axis.ExtentOf(I) + Axis.LineWidth;
    if (Room < Axis.FixedEnd) break;
    Answer = I;
  }
  return Answer;
}

Integer AxisStartPos(const TAxisLayout& Axis, Integer C) {
  Integer From, Pos;
  if (C < Axis.FixedCount) {
    From = 0;
    Pos = 0;
  } else if (C >= Axis.FirstScrollCell) {
    From = Axis.FirstScrollCell;
    Pos = Axis.FixedEnd;
  } else {
    return 0;  // scrolled out
  }
  for (Integer I = From; I < C; ++I) {
    Pos += Axis.ExtentOf(I) + Axis.LineWidth;
    if (Pos > Axis.ViewSize) return 0;
  }
  return Pos;
}

bool AxisSpan(const TAxisLayout& Axis, Integer Start, Integer Stop, bool WithLines,
              Integer& StartPos, Integer& StopPos) {
  if (Start >= Axis.FixedCount && Start < Axis.FirstScrollCell) {
    if (Stop < Axis.FirstScrollCell) return false;
    Start = Axis.FirstScrollCell;
  }
  if (Stop > Axis.LastWholeCell) {
    Stop = Axis.LastWholeCell;
    if (Stop < Axis.CellCount - 1) ++Stop;  // take in the partly visible cell
    if (AxisStartPos(Axis, Stop) == 0) --Stop;
  }
  StartPos = AxisStartPos(Axis, Start);
  StopPos = AxisStartPos(Axis, Stop);
  if (StopPos == 0)
    StopPos = StartPos + Axis.ExtentOf(Start);
  else
    StopPos += Axis.ExtentOf(Stop);
  if (StopPos > Axis.ViewSize) StopPos = Axis.ViewSize;
  if (WithLines) StopPos += Axis.LineWidth;
  return true;
}

TRect RangeToScreenRect(const TGridLayout& L, const TCellRange& ARange, bool WithLines) {
  TRect R;
  if (ARange.Left > ARange.Right || ARange.Top > ARange.Bottom) return R;
  if (ARange.Left > L.Cols.LastWholeCell + 1 || ARange.Top > L.Rows.LastWholeCell + 1) return R;
  if (!AxisSpan(L.Cols, ARange.Left, ARange.Right, WithLines, R.Left, R.Right)) return TRect{};
  if (!AxisSpan(L.Rows, ARange.Top, ARange.Bottom, WithLines, R.Top, R.Bottom)) return TRect{};
  return R;
}

}  // namespace plumb
