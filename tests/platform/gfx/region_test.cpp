#include "gfx/Region.h"

#include <gtest/gtest.h>

#include <random>

namespace plumb {
namespace {

// A bitmap model of a region on a small grid, to check the rectangle algebra against.
struct TModel {
  static constexpr int N = 24;
  bool In[N][N] = {};
  void Apply(const TRect& R, int Op) {  // 0 union, 1 subtract, 2 intersect
    for (int Y = 0; Y < N; ++Y)
      for (int X = 0; X < N; ++X) {
        bool Inside = PtInRect(R, TPoint{X, Y});
        In[Y][X] = Op == 0   ? In[Y][X] || Inside
                   : Op == 1 ? In[Y][X] && !Inside
                             : In[Y][X] && Inside;
      }
  }
};

void ExpectSame(const TRegion& Rgn, const TModel& M) {
  int Area = 0, Covered = 0;
  for (const TRect& R : Rgn.Rects()) {
    ASSERT_FALSE(IsRectEmpty(R));
    TRect Seen;  // the model only knows the grid
    if (IntersectRect(Seen, R, Rect(0, 0, TModel::N, TModel::N)))
      Area += Seen.Width() * Seen.Height();
  }
  for (int Y = 0; Y < TModel::N; ++Y)
    for (int X = 0; X < TModel::N; ++X) {
      ASSERT_EQ(Rgn.Contains(TPoint{X, Y}), M.In[Y][X]) << X << "," << Y;
      Covered += M.In[Y][X];
    }
  EXPECT_EQ(Area, Covered) << "rectangles overlap";
}

TEST(Region, RandomUnionSubtractIntersect_MatchesBitmapModel) {
  std::mt19937 Rng(7);
  std::uniform_int_distribution<int> Coord(-2, TModel::N + 2), Op(0, 2);
  for (int Round = 0; Round < 40; ++Round) {
    TRegion Rgn;
    TModel M;
    for (int Step = 0; Step < 12; ++Step) {
      TRect R{Coord(Rng), Coord(Rng), Coord(Rng), Coord(Rng)};  // often inverted: must be ignored
      int O = Step < 3 ? 0 : Op(Rng);
      if (O == 0) Rgn.Union(R);
      if (O == 1) Rgn.Subtract(R);
      if (O == 2) Rgn.Intersect(R);
      M.Apply(R, O);
      ExpectSame(Rgn, M);
    }
  }
}

TEST(Region, RegionOperands_MatchRectangleByRectangle) {
  TRegion A, B;
  A.Union(Rect(0, 0, 10, 10));
  A.Union(Rect(12, 0, 20, 4));
  B.Union(Rect(5, 2, 15, 8));
  TRegion U = A, S = A, I = A;
  U.Union(B);
  S.Subtract(B);
  I.Intersect(B);
  for (int Y = -1; Y < 12; ++Y)
    for (int X = -1; X < 22; ++X) {
      TPoint P{X, Y};
      EXPECT_EQ(U.Contains(P), A.Contains(P) || B.Contains(P));
      EXPECT_EQ(S.Contains(P), A.Contains(P) && !B.Contains(P));
      EXPECT_EQ(I.Contains(P), A.Contains(P) && B.Contains(P));
    }
  TRegion Self = A;
  Self.Subtract(Self);
  EXPECT_TRUE(Self.IsEmpty());
}

TEST(Region, NeighbouringCells_CoalesceIntoOneRectangle) {
  TRegion Rgn;
  for (int I = 0; I < 10; ++I) Rgn.Union(Rect(I * 8, 0, I * 8 + 8, 18));
  for (int I = 0; I < 10; ++I) Rgn.Union(Rect(I * 8, 18, I * 8 + 8, 36));
  ASSERT_EQ(Rgn.Rects().size(), 1u);
  EXPECT_EQ(Rgn.Bounds(), Rect(0, 0, 80, 36));
}

TEST(Region, BoundsOffsetAndIntersects) {
  TRegion Rgn;
  EXPECT_EQ(Rgn.Bounds(), TRect{});
  Rgn.Union(Rect(2, 2, 4, 4));
  Rgn.Union(Rect(10, 0, 12, 3));
  Rgn.Offset(5, -1);
  EXPECT_EQ(Rgn.Bounds(), Rect(7, -1, 17, 3));
  EXPECT_TRUE(Rgn.Intersects(Rect(8, 2, 9, 3)));
  EXPECT_FALSE(Rgn.Intersects(Rect(9, -1, 15, 3)));  // the gap between the two parts
  EXPECT_FALSE(Rgn.Intersects(Rect(8, 2, 8, 3)));    // empty rectangles meet nothing
}

}  // namespace
}  // namespace plumb
