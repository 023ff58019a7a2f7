#include "grid/Layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/ExtentList.h"

using namespace plumb;

namespace {

// One axis of a grid: its extents, line width, fixed count and first scrolled cell.
struct AxisModel {
  std::vector<Integer> Extents;
  static Integer Get(const void* Self, Integer I) {
    auto* M = static_cast<const AxisModel*>(Self);
    return I < Integer(M->Extents.size()) ? M->Extents[size_t(I)] : 64;
  }
  TAxisLayout Layout(Integer Line, Integer Fixed, Integer First, Integer View) const {
    TAxisLayout A;
    CalcFixedAxis(A, Line, Fixed, First, Integer(Extents.size()), TGetExtentsFunc{this, &Get});
    CalcScrollAxis(A, View);
    return A;
  }
};

}  // namespace

TEST(AxisLayoutTest, NewGridColumnsAtWidths124And129) {
  AxisModel M{{64, 64}};
  TAxisLayout A = M.Layout(1, 1, 1, 124);
  EXPECT_EQ(A.FixedEnd, 65);
  EXPECT_EQ(A.CellsEnd, 124);
  EXPECT_EQ(A.WholeCellsEnd, 65);
  EXPECT_EQ(A.LastWholeCell, 1);  // keeps its start value
  A = M.Layout(1, 1, 1, 129);     // column 1 overflows only by its line
  EXPECT_EQ(A.CellsEnd, 130);
  EXPECT_EQ(A.WholeCellsEnd, 130);
  EXPECT_EQ(A.LastWholeCell, 1);
  A = M.Layout(1, 1, 1, 128);
  EXPECT_EQ(A.CellsEnd, 128);
}

TEST(AxisLayoutTest, PointsInTrailingLinesBelongToTheirCell) {
  AxisModel M{{64, 64}};
  TAxisLayout A = M.Layout(1, 1, 1, 200);
  EXPECT_EQ(AxisCellAt(A, 0), 0);
  EXPECT_EQ(AxisCellAt(A, 63), 0);
  EXPECT_EQ(AxisCellAt(A, 64), 0);  // the line after column 0
  EXPECT_EQ(AxisCellAt(A, 65), 1);
  EXPECT_EQ(AxisCellAt(A, 129), 1);
  EXPECT_EQ(AxisCellAt(A, 130), -1);  // right of the last cell
  AxisModel NoFixed{{18, 18, 18}};
  EXPECT_EQ(AxisCellAt(NoFixed.Layout(1, 0, 0, 100), -1), -1);
}

TEST(AxisLayoutTest, SpansOfScrolledOutAndPartlyVisibleCells) {
  AxisModel Rows{std::vector<Integer>(10, 18)};
  TAxisLayout A = Rows.Layout(1, 1, 4, 90);  // row 0 fixed, rows 4.. scrolled in
  Integer S = 0, E = 0;
  EXPECT_FALSE(AxisSpan(A, 2, 3, false, S, E));  // scrolled out
  ASSERT_TRUE(AxisSpan(A, 0, 0, false, S, E));
  EXPECT_EQ(S, 0);
  EXPECT_EQ(E, 18);
  // Rows 4, 5, 6, 7 lie wholly in 19..95; row 8 starts at 95, past the 90-pixel view.
  EXPECT_EQ(A.LastWholeCell, 6);
  ASSERT_TRUE(AxisSpan(A, 7, 7, false, S, E));  // partly visible: reaches the view's end
  EXPECT_EQ(S, 76);
  EXPECT_EQ(E, 90);
  ASSERT_TRUE(AxisSpan(A, 7, 7, true, S, E));
  EXPECT_EQ(E, 91);
}

TEST(AxisLayoutTest, MaxTopLeftPutsTheCellAtTheEndOfTheView) {
  AxisModel Rows{std::vector<Integer>(100, 18)};
  TAxisLayout A = Rows.Layout(1, 0, 0, 90);  // 19 pixels a row: 4 whole rows (and a line)
  EXPECT_EQ(AxisMaxTopLeft(A, 50), 47);
  EXPECT_EQ(AxisMaxTopLeft(A, 2), 0);
  AxisModel Wide{{500}};
  EXPECT_EQ(AxisMaxTopLeft(Wide.Layout(1, 0, 0, 100), 0), 0);  // wider than the view
}

TEST(AxisLayoutTest, NegativeExtentsAndLineWidthsCountAsZero) {
  AxisModel M{{-5, -5, -5}};
  TAxisLayout A = M.Layout(-3, 1, 1, 50);
  EXPECT_EQ(A.LineWidth, 0);
  EXPECT_EQ(A.FixedEnd, 0);
  EXPECT_EQ(A.LastWholeCell, 2);
  EXPECT_EQ(AxisCellAt(A, 10), -1);
}

TEST(RectDifferenceTest, WorkedExamples) {
  TRect P[4];
  RectDifference(Rect(0, 0, 10, 10), Rect(5, 5, 15, 15), P);
  EXPECT_EQ(P[0], Rect(0, 0, 5, 10));
  EXPECT_EQ(P[1], Rect(5, 0, 10, 5));
  EXPECT_EQ(P[2], Rect(10, 5, 15, 15));
  EXPECT_EQ(P[3], Rect(5, 10, 10, 15));
  RectDifference(Rect(0, 0, 10, 10), Rect(20, 0, 30, 10), P);
  EXPECT_EQ(P[0], Rect(0, 0, 10, 10));
  EXPECT_EQ(P[1], Rect(20, 0, 30, 10));
  EXPECT_EQ(P[2], TRect{});
  EXPECT_EQ(P[3], TRect{});
  RectDifference(Rect(0, 0, 10, 10), Rect(0, 0, 10, 10), P);
  for (const TRect& R : P) EXPECT_TRUE(IsRectEmpty(R));
}

TEST(ExtentListTest, GrowsShrinksAndKeepsSurvivingValues) {
  ExtentList L;
  EXPECT_FALSE(L.Present());
  SetExtentCount(L, 2, 64);
  L.Set(1, 100);
  SetExtentCount(L, 3, 64);
  EXPECT_EQ(L.Count(), 3);
  EXPECT_EQ(L[1], 100);
  EXPECT_EQ(L[2], 64);
  SetExtentCount(L, 1, 64);
  EXPECT_EQ(L.Count(), 1);
  EXPECT_EQ(L[0], 64);
  SetExtentCount(L, 0, 0);
  EXPECT_FALSE(L.Present());
}

TEST(ExtentListTest, ErrorsLeaveTheListAlone) {
  ExtentList L;
  SetExtentCount(L, 2, 7);
  EXPECT_THROW(AdjustExtents(L, 3, 1, 0), EInvalidGridOperation);
  EXPECT_THROW(AdjustExtents(L, -1, 1, 0), EInvalidGridOperation);
  EXPECT_THROW(AdjustExtents(L, 0, -3, 0), EInvalidGridOperation);
  EXPECT_THROW(SetExtentCount(L, ExtentList::MaxCount, 0), EInvalidGridOperation);
  EXPECT_EQ(L.Count(), 2);
  EXPECT_EQ(L[1], 7);
}

TEST(ExtentListTest, SameExtents) {
  ExtentList A, B;
  EXPECT_TRUE(SameExtents(A, B));
  SetExtentCount(A, 2, 64);
  EXPECT_FALSE(SameExtents(A, B));
  SetExtentCount(B, 2, 64);
  EXPECT_TRUE(SameExtents(A, B));
  B.Set(0, 65);
  EXPECT_FALSE(SameExtents(A, B));
}

// Rows share one height, and their layout is computed rather than walked. Against the walk
// over the same heights, for every shape: no height, no lines, views too small for one row,
// all fixed, the first scrolled row past the end.
TEST(AxisLayoutTest, UniformAxisComputesWhatTheWalkFinds) {
  struct TSame {
    Integer E;
    static Integer Get(const void* Self, Integer) { return static_cast<const TSame*>(Self)->E; }
  };
  for (Integer E : {0, 1, 7, 18})
    for (Integer Line : {0, 1, 3})
      for (Integer Count : {1, 2, 9, 40})
        for (Integer Fixed : {0, 1, 3})
          for (Integer First : {Fixed, Fixed + 2, Count - 1, Count + 1})
            for (Integer View : {0, 5, 19, 20, 150}) {
              if (Fixed >= Count || First < Fixed) continue;
              TSame Ext{E};
              TAxisLayout W, U;
              CalcFixedAxis(W, Line, Fixed, First, Count, TGetExtentsFunc{&Ext, &TSame::Get});
              CalcFixedAxis(U, Line, Fixed, First, Count, TGetExtentsFunc{&Ext, &TSame::Get, E});
              CalcScrollAxis(W, View);
              CalcScrollAxis(U, View);
              std::string Where = "E " + std::to_string(E) + " line " + std::to_string(Line) +
                                  " count " + std::to_string(Count) + " fixed " +
                                  std::to_string(Fixed) + " first " + std::to_string(First) +
                                  " view " + std::to_string(View);
              ASSERT_EQ(U.FixedEnd, W.FixedEnd) << Where;
              ASSERT_EQ(U.CellsEnd, W.CellsEnd) << Where;
              ASSERT_EQ(U.WholeCellsEnd, W.WholeCellsEnd) << Where;
              ASSERT_EQ(U.LastWholeCell, W.LastWholeCell) << Where;
              for (Integer P = -2; P < View + 30; ++P)
                ASSERT_EQ(AxisCellAt(U, P), AxisCellAt(W, P)) << Where << " at " << P;
              for (Integer C = 0; C < Count + 2; ++C) {
                ASSERT_EQ(AxisStartPos(U, C), AxisStartPos(W, C)) << Where << " cell " << C;
                ASSERT_EQ(AxisMaxTopLeft(U, C), AxisMaxTopLeft(W, C)) << Where << " cell " << C;
              }
            }
}
