#include <gtest/gtest.h>

#include "GfxTestUtil.h"

namespace plumb {
namespace {

using test::FillPattern;

// Every primitive, with shapes that straddle the clip region's edges.
void DrawEverything(HDC DC) {
  FillRect(DC, Rect(-5, -5, 200, 200), clRed);
  TLogBrush Blue{BS_SOLID, 0xFF0000};
  DC->Pen = ExtCreatePen(74240, 5, Blue);
  TPoint Grid[6] = {{20, -10}, {20, 150}, {-10, 33}, {150, 33}, {0, 0}, {120, 90}};
  DWORD Counts[3] = {2, 2, 2};
  PolyPolyline(DC, Grid, Counts, 3);
  DC->Pen = ExtCreatePen(PS_DOT, 1, Blue);
  DC->PenMode = pmXor;
  MoveToEx(DC, 57, -3);
  LineTo(DC, 57, 140);
  DC->PenMode = pmCopy;
  DC->Pen = HPEN{PS_SOLID, 4, 0x00FF00, true};
  TPoint Diagonal[3] = {{100, 0}, {0, 100}, {100, 100}};
  Polyline(DC, Diagonal, 3);
  for (UINT Edge : {UINT(EDGE_SUNKEN), UINT(EDGE_RAISED)}) {
    TRect R = Edge == EDGE_SUNKEN ? Rect(10, 10, 80, 60) : Rect(40, 40, 110, 80);
    DrawEdge(DC, R, Edge, BF_RECT | BF_MIDDLE);
  }
  TRect Button = Rect(25, 25, 60, 45);
  DrawFrameControl(DC, Button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
  PatBlt(DC, 30, 10, 40, 40, BLACKNESS);
  TRect Cell = Rect(5, 45, 115, 70);
  ExtTextOut(DC, 0, 40, ETO_OPAQUE, &Cell, "Clipped text that runs across the region");
  ExtTextOut(DC, 8, 80, 0, nullptr, "Unclipped text, big and bold");
}

TEST(Clip, NothingIsDrawnOutsideTheClipRegion) {
  TSurface S(120, 100);
  FillPattern(S);
  TSurface Before = S;
  TDeviceContext DC;
  InitDC(DC, &S);
  DC.Origin = Point(3, 2);
  DC.Font.SetSize(16);
  DC.Font.SetStyle(TFontStyles{fsBold});
  EXPECT_EQ(IntersectClipRect(&DC, 10, 8, 100, 85), SIMPLEREGION);
  EXPECT_EQ(ExcludeClipRect(&DC, 30, 30, 60, 50), COMPLEXREGION);
  EXPECT_EQ(ExcludeClipRect(&DC, 60, 20, 50, 40), COMPLEXREGION);  // inverted: no change
  TRegion Clip = DC.Clip;
  DrawEverything(&DC);
  int Inside = 0;
  for (Integer Y = 0; Y < 100; ++Y)
    for (Integer X = 0; X < 120; ++X) {
      bool Changed = S.Pixel(X, Y) != Before.Pixel(X, Y);
      if (!Clip.Contains(Point(X, Y))) {
        ASSERT_FALSE(Changed) << X << "," << Y;
      }
      Inside += Changed;
    }
  EXPECT_GT(Inside, 5000);  // and inside, things were drawn
}

TEST(Clip, RectVisibleAndClipCallsUseLogicalCoordinates) {
  TSurface S(100, 100);
  TDeviceContext DC;
  InitDC(DC, &S);
  DC.Origin = Point(10, 10);
  EXPECT_TRUE(RectVisible(&DC, Rect(85, 85, 95, 95)));
  EXPECT_FALSE(RectVisible(&DC, Rect(90, 90, 95, 95)));  // beyond the surface
  EXPECT_FALSE(RectVisible(&DC, Rect(5, 5, 5, 50)));     // empty
  ExcludeClipRect(&DC, 0, 0, 20, 20);
  EXPECT_FALSE(RectVisible(&DC, Rect(0, 0, 20, 20)));
  EXPECT_TRUE(RectVisible(&DC, Rect(0, 0, 21, 20)));
  EXPECT_EQ(IntersectClipRect(&DC, 0, 0, 20, 20), NULLREGION);
  EXPECT_FALSE(RectVisible(&DC, Rect(-100, -100, 200, 200)));
  EXPECT_EQ(ExcludeClipRect(nullptr, 0, 0, 1, 1), RGN_ERROR);
  EXPECT_FALSE(RectVisible(nullptr, Rect(0, 0, 1, 1)));
}

}  // namespace
}  // namespace plumb
