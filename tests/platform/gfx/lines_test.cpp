#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "GfxTestUtil.h"

namespace plumb {
namespace {

using test::FillPattern;
using test::TPaintBox;
constexpr uint32_t White = 0xFFFFFFFFu, Black = 0xFF000000u;

TEST(Lines, ThinLines_LeaveOutTheEndPointInEitherDirection) {
  TPaintBox B(20, 20);
  MoveToEx(&B.DC, 2, 3);
  LineTo(&B.DC, 8, 3);
  EXPECT_EQ(B.CountColor(Black, Rect(2, 3, 8, 4)), 6);
  EXPECT_EQ(B.At(8, 3), White);
  MoveToEx(&B.DC, 8, 10);
  LineTo(&B.DC, 2, 10);
  EXPECT_EQ(B.CountColor(Black, Rect(3, 10, 9, 11)), 6);
  EXPECT_EQ(B.At(2, 10), White);
  EXPECT_EQ(B.DC.PenPos, Point(2, 10));
  // A diagonal: one pixel per step of the longer axis, from the start point on.
  MoveToEx(&B.DC, 0, 12);
  LineTo(&B.DC, 6, 18);
  for (int I = 0; I < 6; ++I) EXPECT_EQ(B.At(I, 12 + I), Black) << I;
  EXPECT_EQ(B.At(6, 18), White);
  EXPECT_EQ(B.CountColor(Black, Rect(0, 11, 20, 20)), 6);
}

TEST(Lines, XorPolylineTouchesEveryCornerOnce) {
  TPaintBox B(12, 12, Black);
  B.DC.Pen.Color = 0xFFFFFF;
  B.DC.PenMode = pmXor;
  TPoint Box[5] = {{1, 1}, {9, 1}, {9, 9}, {1, 9}, {1, 1}};
  ASSERT_TRUE(Polyline(&B.DC, Box, 5));
  EXPECT_EQ(B.CountColor(White), 32);  // the whole outline, no corner cancelled by a double XOR
  EXPECT_EQ(B.At(1, 1), White);
  EXPECT_EQ(B.At(9, 9), White);
  EXPECT_FALSE(Polyline(&B.DC, Box, 1));
}

TEST(Lines, DottedXorLine_DrawnTwiceLeavesTheSurfaceAsItWas) {
  TPaintBox B(40, 120);
  FillPattern(B.Surface);
  TSurface Before = B.Surface;
  B.DC.Pen = ExtCreatePen(PS_DOT, 1, TLogBrush{BS_SOLID, 0xFFFFFF});
  B.DC.PenMode = pmXor;
  for (int Pass = 0; Pass < 2; ++Pass) {
    MoveToEx(&B.DC, 17, 0);
    LineTo(&B.DC, 17, 110);
    if (Pass == 0) {
      // Alternate pixels: every other one changed, starting at the first.
      for (int Y = 0; Y < 110; ++Y) EXPECT_EQ(B.At(17, Y) != Before.Pixel(17, Y), Y % 2 == 0) << Y;
      EXPECT_EQ(B.At(17, 0), Before.Pixel(17, 0) ^ 0x00FFFFFFu);
    }
  }
  EXPECT_EQ(std::vector<uint32_t>(B.Surface.Pixels(), B.Surface.Pixels() + 40 * 120),
            std::vector<uint32_t>(Before.Pixels(), Before.Pixels() + 40 * 120));
}

TEST(Lines, GeometricFlatPen_IsABandCentredOnTheLineEndingAtItsPoints) {
  TLogBrush Red{BS_SOLID, 0x0000FF};
  const DWORD GridPen = PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER;
  ASSERT_EQ(GridPen, 74240u);
  for (int W : {2, 3, 4}) {
    TPaintBox B(40, 40);
    B.DC.Pen = ExtCreatePen(GridPen, DWORD(W), Red);
    TPoint Pts[4] = {{10, 5}, {10, 30}, {2, 20}, {35, 20}};
    DWORD Counts[2] = {2, 2};
    ASSERT_TRUE(PolyPolyline(&B.DC, Pts, Counts, 2));
    uint32_t R = 0xFFFF0000u;
    // Vertical stroke: columns 10 - W/2 .. 10 - W/2 + W - 1, rows 5..29.
    TRect V = Rect(10 - W / 2, 5, 10 - W / 2 + W, 30), H = Rect(2, 20 - W / 2, 35, 20 - W / 2 + W);
    TRegion Both(V);
    Both.Union(H);
    EXPECT_EQ(B.Count([&](Integer X, Integer Y, uint32_t P) {
      return (P == R) != Both.Contains(Point(X, Y));
    }),
              0)
        << "width " << W;
  }
}

TEST(Lines, WidePens_DiagonalBandsAndEndCaps) {
  // A slanted band is the same polygon whichever way it is drawn, about W x length in area.
  auto Band = [](TPoint A, TPoint B, DWORD Style) {
    auto Box = std::make_unique<TPaintBox>(60, 60);
    Box->DC.Pen = ExtCreatePen(Style, 4, TLogBrush{BS_SOLID, 0});
    TPoint P[2] = {A, B};
    Polyline(&Box->DC, P, 2);
    return Box;
  };
  const DWORD Flat = PS_GEOMETRIC | PS_ENDCAP_FLAT;
  auto Forward = Band(Point(10, 12), Point(40, 50), Flat);
  auto Backward = Band(Point(40, 50), Point(10, 12), Flat);
  EXPECT_TRUE(std::equal(Forward->Surface.Pixels(), Forward->Surface.Pixels() + 3600,
                         Backward->Surface.Pixels()));
  double Area = 4 * std::hypot(30.0, 38.0);
  EXPECT_NEAR(Forward->CountColor(Black), Area, 8);
  // Square (and round) ends reach half the width past the end points.
  auto Capped = Band(Point(10, 12), Point(40, 50), PS_GEOMETRIC | PS_ENDCAP_SQUARE);
  EXPECT_NEAR(Capped->CountColor(Black), Area + 16, 8);
  TPaintBox B(30, 30);
  B.DC.Pen = HPEN{PS_SOLID, 3, 0, true};  // an ordinary pen of width 3
  MoveToEx(&B.DC, 5, 10);
  LineTo(&B.DC, 15, 10);
  EXPECT_EQ(B.CountColor(Black, Rect(4, 9, 17, 12)), 39);
  EXPECT_EQ(B.CountColor(Black), 39);
}

TEST(Lines, StylesAndPensThatDrawNothing) {
  TPaintBox B(20, 20);
  B.DC.Pen = ExtCreatePen(PS_SOLID, 1, TLogBrush{BS_NULL, 0});
  TPoint P[2] = {{0, 5}, {19, 5}};
  EXPECT_TRUE(Polyline(&B.DC, P, 2));
  B.DC.Pen = HPEN{PS_NULL, 1, 0, true};
  EXPECT_TRUE(Polyline(&B.DC, P, 2));
  B.DC.Pen = HPEN{PS_SOLID, 1, 0, true};
  B.DC.PenMode = pmNop;
  EXPECT_TRUE(Polyline(&B.DC, P, 2));
  EXPECT_EQ(B.CountColor(White), 400);
  DWORD Bad[2] = {2, 1};
  TPoint Q[3] = {{0, 0}, {5, 5}, {6, 6}};
  B.DC.PenMode = pmCopy;
  EXPECT_FALSE(PolyPolyline(&B.DC, Q, Bad, 2));
  EXPECT_EQ(B.CountColor(White), 400);
  EXPECT_FALSE(LineTo(nullptr, 1, 1));
  EXPECT_FALSE(PolyPolyline(nullptr, Q, Bad, 1));
}

TEST(Lines, FarAwayEndPoints_DrawTheVisiblePartQuickly) {
  TPaintBox B(50, 50);
  MoveToEx(&B.DC, -1000000000, 7);
  LineTo(&B.DC, 1000000000, 7);
  EXPECT_EQ(B.CountColor(Black), 50);
  B.DC.Pen = HPEN{PS_DOT, 1, 0, true};
  MoveToEx(&B.DC, -2000000000, -2000000000);
  LineTo(&B.DC, 2000000000, 2000000000);  // must not walk four billion steps
  EXPECT_EQ(B.CountColor(Black, Rect(0, 0, 50, 7)) + B.CountColor(Black, Rect(0, 8, 50, 50)), 25);
  B.DC.Pen = ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT, 5, TLogBrush{BS_SOLID, 0});
  MoveToEx(&B.DC, 20, -2000000000);
  LineTo(&B.DC, 20, 2000000000);
  EXPECT_EQ(B.CountColor(Black, Rect(18, 0, 23, 50)), 250);
}

TEST(Lines, OriginShiftsLogicalCoordinates) {
  TPaintBox B(20, 20);
  B.DC.Origin = Point(5, 6);
  MoveToEx(&B.DC, 0, 0);
  LineTo(&B.DC, 3, 0);
  EXPECT_EQ(B.CountColor(Black, Rect(5, 6, 8, 7)), 3);
  EXPECT_EQ(B.CountColor(Black), 3);
}

}  // namespace
}  // namespace plumb
