#include <gtest/gtest.h>

#include "core/Types.h"

using namespace plumb;

TEST(MulDivTest, RoundsToNearestWithHalvesAwayFromZero) {
  EXPECT_EQ(MulDiv(10, 1, 4), 3);     // 2.5
  EXPECT_EQ(MulDiv(-10, 1, 4), -3);   // -2.5
  EXPECT_EQ(MulDiv(10, -1, 4), -3);
  EXPECT_EQ(MulDiv(-10, -1, 4), 3);
  EXPECT_EQ(MulDiv(7, 1, 4), 2);      // 1.75
  EXPECT_EQ(MulDiv(-7, 1, 4), -2);
  EXPECT_EQ(MulDiv(64, 99, 127), 50);
}

TEST(MulDivTest, UsesA64BitProductAndFailsWithMinusOne) {
  EXPECT_EQ(MulDiv(100000, 100000, 100000), 100000);
  EXPECT_EQ(MulDiv(5, 7, 0), -1);
  EXPECT_EQ(MulDiv(0, 7, 0), -1);
  EXPECT_EQ(MulDiv(INT32_MAX, 2, 1), -1);
  EXPECT_EQ(MulDiv(INT32_MIN, 1, 1), INT32_MIN);
}

TEST(RectTest, IntersectionAndUnion) {
  TRect R;
  EXPECT_TRUE(IntersectRect(R, Rect(0, 0, 10, 10), Rect(5, 5, 15, 15)));
  EXPECT_EQ(R, Rect(5, 5, 10, 10));
  EXPECT_FALSE(IntersectRect(R, Rect(0, 0, 10, 10), Rect(10, 0, 20, 10)));  // touching edges
  EXPECT_EQ(R, TRect{});
  EXPECT_TRUE(UnionRect(R, Rect(0, 0, 10, 10), Rect(5, 5, 15, 15)));
  EXPECT_EQ(R, Rect(0, 0, 15, 15));
  EXPECT_TRUE(UnionRect(R, Rect(3, 3, 3, 9), Rect(5, 5, 15, 15)));  // empty side ignored
  EXPECT_EQ(R, Rect(5, 5, 15, 15));
  EXPECT_FALSE(UnionRect(R, TRect{}, Rect(4, 4, 2, 2)));
}

TEST(RectTest, EmptinessPointsAndMoves) {
  EXPECT_TRUE(IsRectEmpty(Rect(5, 5, 5, 10)));
  EXPECT_TRUE(IsRectEmpty(Rect(5, 5, 3, 10)));  // inverted
  EXPECT_FALSE(IsRectEmpty(Rect(0, 0, 1, 1)));
  TRect R = Rect(0, 0, 10, 10);
  EXPECT_TRUE(PtInRect(R, Point(0, 0)));
  EXPECT_FALSE(PtInRect(R, Point(10, 5)));
  EXPECT_FALSE(PtInRect(R, Point(5, 10)));
  OffsetRect(R, 3, -2);
  EXPECT_EQ(R, Rect(3, -2, 13, 8));
  InflateRect(R, -1, 2);
  EXPECT_EQ(R, Rect(4, -4, 12, 10));
  EXPECT_TRUE(EqualRect(R, Rect(4, -4, 12, 10)));
}

TEST(TextTest, UpperCaseChangesOnlyAsciiLetters) {
  EXPECT_EQ(UpperCase("abc-xyz_09"), "ABC-XYZ_09");
  EXPECT_EQ(UpperCase("stra\xC3\x9F" "e \xC3\xA9t\xC3\xA9"), "STRA\xC3\x9F" "E \xC3\xA9T\xC3\xA9");
  EXPECT_TRUE(SameText("FieldName", "FIELDNAME"));
  EXPECT_FALSE(SameText("\xC3\xA9", "\xC3\x89"));
}
