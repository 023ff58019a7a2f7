// Update regions, WM_PAINT with clipped DCs, children never painted over, ScrollWindowEx on
// real pixels.
#include "WinTestUtil.h"

namespace plumb::test {
namespace {

class Paint : public WinTest {
 protected:
  uint32_t Px(HWND Top, Integer X, Integer Y) { return GetWindowSurface(Top)->Pixel(X, Y); }
  static uint32_t P(TColor C) { return ColorToPixel(C); }
};

TEST_F(Paint, Update_PaintsOnlyTheInvalidRectangle) {
  HWND Top = MakeTop(Bounds(0, 0, 100, 100));
  L().Colors[Top] = clRed;
  Pump();
  EXPECT_EQ(Px(Top, 50, 50), P(clRed));
  L().Colors[Top] = clLime;
  TRect R = Rect(10, 20, 30, 40);
  InvalidateRect(Top, &R, false);
  L().Painted.clear();
  ASSERT_TRUE(UpdateWindow(Top));
  ASSERT_EQ(L().Painted[Top].size(), 1u);
  EXPECT_EQ(L().Painted[Top][0], R);
  EXPECT_EQ(Px(Top, 10, 20), P(clLime));
  EXPECT_EQ(Px(Top, 29, 39), P(clLime));
  EXPECT_EQ(Px(Top, 30, 39), P(clRed));
  EXPECT_EQ(Px(Top, 9, 20), P(clRed));
  EXPECT_FALSE(HasPendingMessages());
}

TEST_F(Paint, Update_ValidateRectTakesAreasBackAndEraseAsksForWMEraseBkgnd) {
  HWND Top = MakeTop(Bounds(0, 0, 100, 100));
  Pump();
  TRect All = Rect(0, 0, 100, 100), Half = Rect(0, 0, 100, 50);
  InvalidateRect(Top, &All, false);
  ValidateRect(Top, &Half);
  TRect U;
  ASSERT_TRUE(GetUpdateRect(Top, &U, false));
  EXPECT_EQ(U, Rect(0, 50, 100, 100));
  L().Log.clear();
  Pump();
  EXPECT_TRUE(L().Of(WM_ERASEBKGND).empty());
  InvalidateRect(Top, &Half, true);
  Pump();
  EXPECT_EQ(L().Of(WM_ERASEBKGND).size(), 1u);
}

TEST_F(Paint, Children_AParentsPaintingNeverCoversThem) {
  HWND Top = MakeTop(Bounds(0, 0, 100, 100));
  HWND Child = MakeChild(Top, Bounds(20, 20, 30, 30), WS_BORDER);
  L().Colors[Top] = clRed;
  L().Colors[Child] = clBlue;
  Pump();
  EXPECT_EQ(Px(Top, 21, 21), P(clBlue));
  EXPECT_EQ(Px(Top, 20, 20), P(clWindowFrame));  // the child's border
  InvalidateRect(Top, nullptr, true);
  UpdateWindow(Top);  // only the parent paints
  EXPECT_EQ(Px(Top, 21, 21), P(clBlue));
  EXPECT_EQ(Px(Top, 20, 20), P(clWindowFrame));
  EXPECT_EQ(Px(Top, 19, 19), P(clRed));
  EXPECT_EQ(Px(Top, 50, 50), P(clRed));
}

TEST_F(Paint, Children_HidingRepaintsWhatWasBehindUnlessNoRedraw) {
  HWND Top = MakeTop(Bounds(0, 0, 100, 100));
  HWND Child = MakeChild(Top, Bounds(20, 20, 30, 30));
  L().Colors[Top] = clRed;
  L().Colors[Child] = clBlue;
  Pump();
  SetWindowPos(Child, 0, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  Pump();
  EXPECT_EQ(Px(Top, 25, 25), P(clBlue));  // nobody was asked to repaint
  SetWindowPos(Child, 0, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  Pump();
  ShowWindow(Child, SW_HIDE);
  Pump();
  EXPECT_EQ(Px(Top, 25, 25), P(clRed));
}

// Against a model: every pixel of the window that the scroll may write takes the pixel from
// (DX, DY) back, if that was visible and inside the scroll rectangle; every other pixel stays.
// Shapes vary so that both the row-reordering and the copying moves are taken.
TEST_F(Paint, ScrollWindowEx_MovesExactlyThePixelsItMayAgainstAModel) {
  const Integer W = 200, H = 120;
  HWND Top = MakeTop(Bounds(0, 0, W, H));
  const TRect ChildR = Bounds(150, 40, 30, 25);
  HWND Child = MakeChild(Top, ChildR);
  L().Colors[Child] = clBlue;
  auto Pattern = [](Integer X, Integer Y) {
    return TColor(RGB(uint8_t(X), uint8_t(Y), uint8_t(X >> 8)));
  };
  L().Hooks[Top] = [&](UINT Msg, WPARAM, LPARAM, bool& Handled) -> LRESULT {
    if (Msg != WM_PAINT) return 0;
    Handled = true;
    PAINTSTRUCT PS;
    HDC DC = BeginPaint(Top, PS);
    for (Integer Y = PS.rcPaint.Top; Y < PS.rcPaint.Bottom; ++Y)
      for (Integer X = PS.rcPaint.Left; X < PS.rcPaint.Right; ++X)
        FillRect(DC, Rect(X, Y, X + 1, Y + 1), Pattern(X, Y));
    EndPaint(Top, PS);
    return 0;
  };
  struct TCase {
    Integer DX, DY;
    TRect Scroll, Clip;
  };
  const TRect All = Rect(0, 0, W, H);
  const TCase Cases[] = {
      {0, -7, All, All},                                  // whole rows, the child in the way
      {0, 9, Rect(0, 20, W, H), Rect(0, 20, W, H)},       // below a fixed band
      {0, -3, Rect(2, 0, W - 2, H), All},                 // nearly whole rows
      {0, 5, Rect(10, 10, 60, 100), Rect(0, 0, W, 80)},   // a narrow column
      {4, 0, All, All},                                   // sideways
      {-6, 11, Rect(5, 5, W - 5, H - 5), All},            // both ways
      {0, -200, All, All},                                // past the window: nothing to move
  };
  for (const TCase& C : Cases) {
    InvalidateRect(Top, nullptr, false);
    Pump();
    ScrollWindowEx(Top, C.DX, C.DY, &C.Scroll, &C.Clip, nullptr, nullptr, 0);
    auto Visible = [&](Integer X, Integer Y) {
      return X >= 0 && Y >= 0 && X < W && Y < H && !PtInRect(ChildR, TPoint{X, Y});
    };
    for (Integer Y = 0; Y < H; ++Y)
      for (Integer X = 0; X < W; ++X) {
        if (!Visible(X, Y)) continue;
        Integer SX = X - C.DX, SY = Y - C.DY;
        bool Moves = PtInRect(C.Clip, TPoint{X, Y}) && PtInRect(C.Scroll, TPoint{SX, SY}) &&
                     Visible(SX, SY);
        TColor Want = Moves ? Pattern(SX, SY) : Pattern(X, Y);
        ASSERT_EQ(Px(Top, X, Y), P(Want))
            << "case " << (&C - Cases) << " at " << X << "," << Y << (Moves ? " moved" : " kept");
      }
    EXPECT_EQ(Px(Top, 160, 50), P(clBlue));
  }
}

// A window that paints row y of its client area in a colour that depends on y + Offset.
class Scrolled : public Paint {
 protected:
  HWND Top = 0;
  Integer Offset = 0;
  static TColor RowColor(Integer Y) { return TColor(RGB(uint8_t(Y * 7), uint8_t(Y * 3), 90)); }
  void SetUp() override {
    Paint::SetUp();
    Top = MakeTop(Bounds(0, 0, 120, 100));
    L().Hooks[Top] = [this](UINT Msg, WPARAM, LPARAM, bool& Handled) -> LRESULT {
      if (Msg != WM_PAINT) return 0;
      Handled = true;
      PAINTSTRUCT PS;
      HDC DC = BeginPaint(Top, PS);
      L().Painted[Top].push_back(PS.rcPaint);
      for (Integer Y = PS.rcPaint.Top; Y < PS.rcPaint.Bottom; ++Y)
        FillRect(DC, Rect(0, Y, 120, Y + 1), RowColor(Y + Offset));
      EndPaint(Top, PS);
      return 0;
    };
    Pump();
    L().Painted.clear();
  }
  void ExpectRowsMatch(Integer Left, Integer Right) {
    for (Integer Y = 0; Y < 100; ++Y)
      for (Integer X : {Left, Right - 1})
        ASSERT_EQ(Px(Top, X, Y), P(RowColor(Y + Offset))) << "x " << X << " y " << Y;
  }
};

TEST_F(Scrolled, ScrollWindowEx_MovesThePixelsAndInvalidatesOnlyTheUncoveredStrip) {
  Offset = 10;
  TRegion Uncovered;
  TRect URect;
  int Kind = ScrollWindowEx(Top, 0, -10, nullptr, nullptr, &Uncovered, &URect, SW_INVALIDATE);
  EXPECT_EQ(Kind, SIMPLEREGION);
  EXPECT_EQ(URect, Rect(0, 90, 120, 100));
  TRect U;
  GetUpdateRect(Top, &U, false);
  EXPECT_EQ(U, URect);
  Pump();
  ASSERT_EQ(L().Painted[Top].size(), 1u);
  EXPECT_EQ(L().Painted[Top][0], URect);
  ExpectRowsMatch(0, 120);
}

TEST_F(Scrolled, ScrollWindowEx_StaysInsideItsScrollAndClipRectangles) {
  Offset = -5;
  TRect Area = Rect(0, 20, 120, 100);  // a fixed band above stays put
  ScrollWindowEx(Top, 0, 5, &Area, &Area, nullptr, nullptr, SW_INVALIDATE);
  TRect U;
  GetUpdateRect(Top, &U, false);
  EXPECT_EQ(U, Rect(0, 20, 120, 25));
  Pump();
  for (Integer Y = 0; Y < 20; ++Y) EXPECT_EQ(Px(Top, 3, Y), P(RowColor(Y))) << Y;
  for (Integer Y = 20; Y < 100; ++Y) EXPECT_EQ(Px(Top, 3, Y), P(RowColor(Y - 5))) << Y;
}

TEST_F(Scrolled, ScrollWindowEx_APendingInvalidAreaTravelsWithItsPixels) {
  TRect Stale = Rect(0, 50, 120, 60);
  InvalidateRect(Top, &Stale, false);
  Offset = 10;
  ScrollWindowEx(Top, 0, -10, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  TRect B;
  GetUpdateRect(Top, &B, false);
  EXPECT_EQ(B, Rect(0, 40, 120, 100));  // the stale band now at 40..50, the new strip at 90..100
  Pump();
  ExpectRowsMatch(0, 120);
  ASSERT_EQ(L().Painted[Top].size(), 1u);
}

TEST_F(Scrolled, ScrollWindowEx_PixelsFromUnderAChildAreRepaintedNotCopied) {
  HWND Child = MakeChild(Top, Bounds(40, 30, 40, 20));
  L().Colors[Child] = clBlue;
  Pump();
  Offset = 10;
  ScrollWindowEx(Top, 0, -10, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  Pump();
  for (Integer Y = 0; Y < 100; ++Y) {
    bool UnderChild = Y >= 30 && Y < 50;
    EXPECT_EQ(Px(Top, 50, Y), P(UnderChild ? clBlue : RowColor(Y + Offset))) << Y;
    EXPECT_EQ(Px(Top, 10, Y), P(RowColor(Y + Offset))) << Y;
  }
  ExpectRowsMatch(0, 30);
}

}  // namespace
}  // namespace plumb::test
