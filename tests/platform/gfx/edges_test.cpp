#include <gtest/gtest.h>

#include <algorithm>

#include "GfxTestUtil.h"

namespace plumb {
namespace {

using test::Px;
using test::TPaintBox;
constexpr uint32_t White = 0xFFFFFFFFu, Black = 0xFF000000u;

TEST(Edges, SunkenRect_TwoRingsWithBottomRightOwningTheOddCorners) {
  TPaintBox B(20, 20, Black);
  TRect R = Rect(2, 3, 12, 11);
  ASSERT_TRUE(DrawEdge(&B.DC, R, EDGE_SUNKEN, BF_RECT));
  EXPECT_EQ(R, Rect(2, 3, 12, 11));  // unchanged without BF_ADJUST
  EXPECT_EQ(B.At(2, 3), Px(clBtnShadow));
  EXPECT_EQ(B.At(10, 3), Px(clBtnShadow));
  EXPECT_EQ(B.At(11, 3), Px(clBtnHighlight));  // top-right corner
  EXPECT_EQ(B.At(2, 10), Px(clBtnHighlight));  // bottom-left corner
  EXPECT_EQ(B.At(11, 10), Px(clBtnHighlight));
  EXPECT_EQ(B.At(3, 4), Px(cl3DDkShadow));
  EXPECT_EQ(B.At(9, 4), Px(cl3DDkShadow));
  EXPECT_EQ(B.At(10, 4), Px(cl3DLight));
  EXPECT_EQ(B.At(10, 9), Px(cl3DLight));
  EXPECT_EQ(B.CountColor(Black, Rect(4, 5, 10, 9)), 24);  // interior untouched
  EXPECT_EQ(B.CountColor(Black), 400 - 80 + 24);          // nothing outside R either
}

TEST(Edges, RaisedWithMiddleAndAdjust) {
  TPaintBox B(20, 20, Black);
  TRect R = Rect(0, 0, 10, 10);
  DrawEdge(&B.DC, R, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
  EXPECT_EQ(R, Rect(2, 2, 8, 8));
  EXPECT_EQ(B.At(0, 0), Px(cl3DLight));
  EXPECT_EQ(B.At(9, 5), Px(cl3DDkShadow));
  EXPECT_EQ(B.At(1, 1), Px(clBtnHighlight));
  EXPECT_EQ(B.At(8, 5), Px(clBtnShadow));
  EXPECT_EQ(B.CountColor(Px(clBtnFace), R), 36);
  TRect Flat = Rect(12, 0, 18, 6);
  DrawEdge(&B.DC, Flat, EDGE_RAISED, BF_RECT | BF_FLAT);
  EXPECT_EQ(B.CountColor(Px(clBtnShadow), Flat), 20);
  EXPECT_EQ(B.CountColor(Px(clBtnFace), Flat), 12);
}

TEST(Edges, SingleSidesAndSingleRings) {
  TPaintBox B(20, 20, Black);
  TRect Cell = Rect(0, 0, 10, 10);
  DrawEdge(&B.DC, Cell, EDGE_SUNKEN, BF_RIGHT);  // the title column's divider
  EXPECT_EQ(B.CountColor(Px(clBtnHighlight), Rect(9, 0, 10, 10)), 10);
  EXPECT_EQ(B.CountColor(Px(cl3DLight), Rect(8, 0, 9, 10)), 10);
  EXPECT_EQ(B.CountColor(Black), 380);
  TRect Inner = Rect(10, 10, 16, 16);
  DrawEdge(&B.DC, Inner, BDR_RAISEDINNER, BF_BOTTOMRIGHT);
  EXPECT_EQ(B.CountColor(Px(clBtnShadow)), 11);
  EXPECT_EQ(B.CountColor(Black), 369);
}

// The arrow of a frame control as a set of points relative to the control's top-left.
std::vector<TPoint> ArrowPixels(UINT State, uint32_t Ink, TRect R = Rect(0, 0, 17, 17)) {
  TPaintBox B(R.Right, R.Bottom);
  DrawFrameControl(&B.DC, R, DFC_SCROLL, State);
  std::vector<TPoint> Ps;
  B.Count([&](Integer X, Integer Y, uint32_t P) {
    return P == Ink ? Ps.push_back(Point(X, Y)), true : false;
  });
  return Ps;
}

TEST(FrameControl, ComboArrowIsACentredDownwardTriangle) {
  auto Down = ArrowPixels(DFCS_SCROLLCOMBOBOX, Px(clBtnText));
  ASSERT_EQ(Down.size(), 16u);  // 7 + 5 + 3 + 1
  TRect Box;
  for (TPoint P : Down) UnionRect(Box, Box, Rect(P.X, P.Y, P.X + 1, P.Y + 1));
  EXPECT_EQ(Box.Width(), 7);
  EXPECT_EQ(Box.Height(), 4);
  EXPECT_EQ(Box.Left + Box.Right, 17);  // centred: same margin on both sides
  EXPECT_EQ(ArrowPixels(DFCS_SCROLLDOWN, Px(clBtnText)), Down);
  // Pushed: the same arrow, one pixel down and right, on a flat face.
  auto Pushed = ArrowPixels(DFCS_SCROLLCOMBOBOX | DFCS_PUSHED | DFCS_FLAT, Px(clBtnText));
  ASSERT_EQ(Pushed.size(), Down.size());
  for (size_t I = 0; I < Down.size(); ++I)
    EXPECT_EQ(Pushed[I], Point(Down[I].X + 1, Down[I].Y + 1));
}

TEST(FrameControl, ScrollArrowsPointTheirWayAndInactiveOnesAreGrey) {
  auto Down = ArrowPixels(DFCS_SCROLLDOWN, Px(clBtnText));
  auto Up = ArrowPixels(DFCS_SCROLLUP, Px(clBtnText));
  auto Right = ArrowPixels(DFCS_SCROLLRIGHT, Px(clBtnText));
  auto Left = ArrowPixels(DFCS_SCROLLLEFT, Px(clBtnText));
  ASSERT_EQ(Up.size(), Down.size());
  // The widest row of a downward arrow is its top one; of an upward arrow its bottom one.
  auto RowWidth = [](const std::vector<TPoint>& Ps, Integer Y) {
    return std::count_if(Ps.begin(), Ps.end(), [Y](TPoint P) { return P.Y == Y; });
  };
  EXPECT_EQ(RowWidth(Down, Down.front().Y), 7);
  EXPECT_EQ(RowWidth(Up, Up.back().Y), 7);
  std::vector<TPoint> Transposed;
  for (TPoint P : Right) Transposed.push_back(Point(P.Y, P.X));
  std::sort(Transposed.begin(), Transposed.end(),
            [](TPoint A, TPoint B) { return A.Y != B.Y ? A.Y < B.Y : A.X < B.X; });
  EXPECT_EQ(Transposed, Down);
  EXPECT_EQ(Left.size(), Right.size());
  EXPECT_TRUE(ArrowPixels(DFCS_SCROLLUP | DFCS_INACTIVE, Px(clBtnText)).empty());
  EXPECT_EQ(ArrowPixels(DFCS_SCROLLUP | DFCS_INACTIVE, Px(clGrayText)).size(), Up.size());
}

TEST(FrameControl, UnsupportedKindsAndEmptyRectanglesDrawNothing) {
  TPaintBox B(20, 20);
  TRect R = Rect(0, 0, 17, 17), Inverted = Rect(17, 17, 0, 0);
  EXPECT_FALSE(DrawFrameControl(&B.DC, R, DFC_CAPTION, 0));
  EXPECT_FALSE(DrawFrameControl(&B.DC, R, DFC_SCROLL, DFCS_SCROLLSIZEGRIP));
  EXPECT_TRUE(DrawFrameControl(&B.DC, Inverted, DFC_SCROLL, DFCS_SCROLLDOWN));
  EXPECT_TRUE(DrawEdge(&B.DC, Inverted, EDGE_RAISED, BF_RECT | BF_MIDDLE));
  EXPECT_EQ(B.CountColor(White), 400);
  EXPECT_FALSE(DrawFrameControl(nullptr, R, DFC_SCROLL, DFCS_SCROLLDOWN));
  EXPECT_FALSE(DrawEdge(nullptr, R, EDGE_RAISED, BF_RECT));
}

TEST(PatBlt, BlacknessSquaresOfTheEllipsisButton) {
  TPaintBox B(20, 20);
  TRect R = Rect(0, 0, 17, 17);
  DrawEdge(&B.DC, R, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  Integer W = 2, O = R.Width() / 2 - 1;
  for (Integer DX : {-2 * W, 0, 2 * W})
    ASSERT_TRUE(PatBlt(&B.DC, R.Left + O + DX, R.Top + O, W, W, BLACKNESS));
  EXPECT_EQ(B.CountColor(Black), 12);
  EXPECT_EQ(B.CountColor(Black, Rect(3, 7, 5, 9)), 4);
  EXPECT_EQ(B.CountColor(Black, Rect(11, 7, 13, 9)), 4);
  EXPECT_TRUE(PatBlt(&B.DC, 0, 0, -5, 5, BLACKNESS));
  EXPECT_TRUE(PatBlt(&B.DC, 0, 0, 5, 0, BLACKNESS));
  EXPECT_EQ(B.CountColor(Black), 12);
  EXPECT_FALSE(PatBlt(nullptr, 0, 0, 5, 5, BLACKNESS));
  EXPECT_FALSE(PatBlt(&B.DC, 0, 0, 5, 5, 0x12345678));
}

}  // namespace
}  // namespace plumb
