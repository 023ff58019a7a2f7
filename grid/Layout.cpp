// Axis layout: one set of routines serves both axes. Every cell occupies its extent followed
// by one line of LineWidth pixels, and the line belongs to the cell for hit testing.
#include "Layout.h"

#include <algorithm>
#include <limits>

namespace plumb {

namespace {

// For an axis of one extent: what a cell and its line take, else -1.
Int64 UniformStep(const TAxisLayout& Axis) {
  return Axis.ExtentOf.Uniform < 0 ? -1 : Int64(Axis.ExtentOf.Uniform) + Axis.LineWidth;
}

// Positions far past any view still fit an Integer and leave room to add to them.
Integer ClampPos(Int64 P) {
  return Integer(std::min<Int64>(P, std::numeric_limits<Integer>::max() / 2));
}

// How many cells of Step pixels fit in Room pixels, at most Cap.
Int64 CellsThatFit(Int64 Room, Int64 Step, Int64 Cap) {
  if (Room < 0 || Cap <= 0) return 0;
  return Step == 0 ? Cap : std::min(Cap, Room / Step);
}

}  // namespace

void CalcFixedAxis(TAxisLayout& Axis, Integer LineWidth, Integer FixedCount,
                   Integer FirstScrollCell, Integer CellCount, TGetExtentsFunc ExtentOf) {
  Axis.LineWidth = LineWidth < 0 ? 0 : LineWidth;
  Axis.FixedCount = FixedCount;
  Axis.FirstScrollCell = FirstScrollCell;
  Axis.CellCount = CellCount;
  Axis.ExtentOf = ExtentOf;
  Axis.FixedEnd = 0;
  if (Int64 Step = UniformStep(Axis); Step >= 0) {
    Axis.FixedEnd = ClampPos(Int64(std::max<Integer>(FixedCount, 0)) * Step);
    return;
  }
  for (Integer I = 0; I < FixedCount; ++I) Axis.FixedEnd += ExtentOf(I) + Axis.LineWidth;
}

void CalcScrollAxis(TAxisLayout& Axis, Integer ViewSize) {
  Axis.ViewSize = ViewSize;
  Axis.CellsEnd = Axis.FixedEnd;
  Axis.WholeCellsEnd = Axis.FixedEnd;
  Axis.LastWholeCell = Axis.FirstScrollCell;
  if (Int64 Step = UniformStep(Axis); Step >= 0) {
    // The walk below, computed: cell k (from 1) is whole when it ends by ViewSize + LineWidth.
    Int64 N = std::max<Int64>(Int64(Axis.CellCount) - Axis.FirstScrollCell, 0);
    Int64 K = CellsThatFit(Int64(ViewSize) + Axis.LineWidth - Axis.FixedEnd, Step, N);
    if (K > 0) Axis.LastWholeCell = Integer(Axis.FirstScrollCell + K - 1);
    Axis.WholeCellsEnd = ClampPos(Axis.FixedEnd + K * Step);
    Axis.CellsEnd = K < N ? ViewSize : Axis.WholeCellsEnd;
    return;
  }
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
  if (Int64 Step = UniformStep(Axis); Step >= 0) {
    if (Start >= Stop || (Step == 0 && P >= Pos)) return -1;
    Int64 I = Start + (P < Pos ? 0 : (Int64(P) - Pos) / Step);
    return I < Stop ? Integer(I) : -1;
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
  if (Int64 Step = UniformStep(Axis); Step >= 0) {
    Int64 M = CellsThatFit(Int64(Room) - Axis.FixedEnd, Step, Int64(S) - Axis.FixedCount + 1);
    return M > 0 ? Integer(S - M + 1) : S;
  }
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
  if (Int64 Step = UniformStep(Axis); Step >= 0) {
    Int64 End = Pos + (Int64(C) - From) * Step;
    return C > From && End > Axis.ViewSize ? 0 : Integer(End);
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
