// The window tree, frames and client areas, placement, point mapping, and calls with handles
// that are bad or gone.
#include "WinTestUtil.h"

namespace plumb::test {
namespace {

class Windows : public WinTest {};

TEST_F(Windows, Frames_BorderClientEdgeAndScrollBar_ShrinkTheClientArea) {
  HWND Top = MakeTop(Bounds(100, 50, 300, 200));
  HWND Plain = MakeChild(Top, Bounds(10, 10, 100, 80));
  HWND Framed = MakeChild(Top, Bounds(10, 100, 100, 80), WS_BORDER | WS_VSCROLL, WS_EX_CLIENTEDGE);
  TRect C;
  ASSERT_TRUE(GetClientRect(Plain, C));
  EXPECT_EQ(C, Rect(0, 0, 100, 80));
  ASSERT_TRUE(GetClientRect(Framed, C));
  EXPECT_EQ(C, Rect(0, 0, 100 - 6 - GetSystemMetrics(SM_CXVSCROLL), 80 - 6));

  TPoint P{0, 0};
  ClientToScreen(Framed, P);
  EXPECT_EQ(P, Point(100 + 10 + 3, 50 + 100 + 3));
  TRect R = Rect(0, 0, 5, 5);
  MapWindowPoints(Framed, Plain, R);
  EXPECT_EQ(R, Rect(3, 93, 8, 98));
  TRect W;
  GetWindowRect(Framed, W);
  EXPECT_EQ(W, Bounds(110, 150, 100, 80));
}

TEST_F(Windows, Tree_SetParentZeroMakesATopLevelWindowWithItsOwnSurface) {
  HWND Top = MakeTop(Bounds(0, 0, 200, 200));
  HWND Child = MakeChild(Top, Bounds(20, 30, 50, 40));
  EXPECT_EQ(GetParent(Child), Top);
  EXPECT_TRUE(IsChild(Top, Child));
  EXPECT_EQ(GetWindowSurface(Child), nullptr);

  EXPECT_EQ(SetParent(Child, 0), Top);
  EXPECT_EQ(GetParent(Child), HWND(0));
  EXPECT_EQ(GetAncestor(Child, GA_ROOT), Child);
  ASSERT_NE(GetWindowSurface(Child), nullptr);
  EXPECT_EQ(GetWindowSurface(Child)->Width(), 50);
  TPoint P{0, 0};
  ClientToScreen(Child, P);
  EXPECT_EQ(P, Point(20, 30));  // its position now counts from the screen
  // A window cannot become its own descendant's child.
  HWND Grand = MakeChild(Child, Bounds(0, 0, 10, 10));
  EXPECT_EQ(SetParent(Child, Grand), HWND(0));
}

TEST_F(Windows, Placement_FlagsKeepWhatTheySayAndSizeChangesSendWMSize) {
  HWND Top = MakeTop(Bounds(0, 0, 300, 300));
  HWND A = MakeChild(Top, Bounds(10, 10, 50, 50));
  L().Log.clear();
  SetWindowPos(A, 0, 0, 0, 80, 60, SWP_NOMOVE | SWP_NOZORDER);
  TRect R;
  GetWindowRect(A, R);
  EXPECT_EQ(R, Bounds(10, 10, 80, 60));
  auto Sizes = L().Of(WM_SIZE);
  ASSERT_EQ(Sizes.size(), 1u);
  EXPECT_EQ(Sizes[0].LParam, MAKELPARAM(80, 60));

  L().Log.clear();
  SetWindowPos(A, 0, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  GetWindowRect(A, R);
  EXPECT_EQ(R, Bounds(30, 40, 80, 60));
  EXPECT_TRUE(L().Of(WM_SIZE).empty());
  EXPECT_EQ(L().Of(WM_MOVE).size(), 1u);

  SetWindowPos(A, 0, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_FALSE(IsWindowVisible(A));
  SetWindowPos(A, 0, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_TRUE(IsWindowVisible(A));
  ShowWindow(Top, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(A));  // visible only while every ancestor is
}

TEST_F(Windows, ZOrder_HwndTopDecidesWhichOverlappingSiblingIsHit) {
  HWND Top = MakeTop(Bounds(0, 0, 300, 300));
  HWND A = MakeChild(Top, Bounds(10, 10, 100, 100));
  HWND B = MakeChild(Top, Bounds(50, 50, 100, 100));
  EXPECT_EQ(WindowFromPoint(Point(60, 60)), B);  // the newest is on top
  SetWindowPos(A, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(WindowFromPoint(Point(60, 60)), A);
  EXPECT_EQ(WindowFromPoint(Point(140, 140)), B);
  EXPECT_EQ(WindowFromPoint(Point(200, 200)), Top);
  EXPECT_EQ(WindowFromPoint(Point(700, 500)), HWND(0));
  EnableWindow(A, false);
  EXPECT_EQ(WindowFromPoint(Point(20, 20)), Top);  // disabled windows let the pointer through
}

TEST_F(Windows, BadHandles_FailAsWin32DoesAndNeverCrash) {
  HWND Top = MakeTop(Bounds(0, 0, 100, 100));
  HWND Gone = MakeChild(Top, Bounds(0, 0, 10, 10));
  ASSERT_TRUE(DestroyWindow(Gone));
  for (HWND Bad : {HWND(0), HWND(12345), Gone}) {
    TRect R;
    TPoint P;
    EXPECT_FALSE(IsWindow(Bad));
    EXPECT_FALSE(DestroyWindow(Bad));
    EXPECT_FALSE(GetClientRect(Bad, R));
    EXPECT_FALSE(SetWindowPos(Bad, 0, 0, 0, 1, 1, 0));
    EXPECT_FALSE(InvalidateRect(Bad, nullptr, true));
    EXPECT_FALSE(UpdateWindow(Bad));
    EXPECT_EQ(GetDC(Bad), nullptr);
    EXPECT_EQ(ScrollWindowEx(Bad, 0, 5, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE), 0);
    EXPECT_FALSE(SetScrollRange(Bad, SB_VERT, 0, 10, true));
    EXPECT_EQ(SetScrollPos(Bad, SB_VERT, 3, true), 0);
    EXPECT_EQ(GetScrollPos(Bad, SB_VERT), 0);
    EXPECT_EQ(SendMessage(Bad, WM_USER, 1, 2), 0);
    EXPECT_EQ(SetCapture(Bad), HWND(0));
    EXPECT_EQ(GetParent(Bad), HWND(0));
    EXPECT_EQ(MapWindowPoints(Bad, Top, &P, 1), 0);
    EXPECT_FALSE(ScreenToClient(Bad, P));
  }
  EXPECT_FALSE(PostMessage(Gone, WM_USER, 0, 0));
  EXPECT_EQ(SetFocus(Gone), HWND(0));
}

TEST_F(Windows, Destroying_MessagesForAGoneWindowAreDropped) {
  HWND Top = MakeTop(Bounds(0, 0, 100, 100));
  HWND A = MakeChild(Top, Bounds(0, 0, 10, 10));
  PostMessage(A, WM_USER, 1, 0);
  PostMessage(Top, WM_USER, 2, 0);
  DestroyWindow(A);
  L().Log.clear();
  Pump();
  auto Users = L().Of(WM_USER);
  ASSERT_EQ(Users.size(), 1u);
  EXPECT_EQ(Users[0].Wnd, Top);
}

TEST_F(Windows, Destroying_AParentDestroysItsChildrenAfterItsOwnWMDestroy) {
  HWND Top = MakeTop(Bounds(0, 0, 100, 100));
  HWND A = MakeChild(Top, Bounds(0, 0, 50, 50));
  HWND B = MakeChild(A, Bounds(0, 0, 10, 10));
  L().Log.clear();
  DestroyWindow(A);
  EXPECT_FALSE(IsWindow(B));
  auto D = L().Of(WM_DESTROY);
  ASSERT_EQ(D.size(), 2u);
  EXPECT_EQ(D[0].Wnd, A);
  EXPECT_EQ(D[1].Wnd, B);
}

TEST_F(Windows, Destroying_InsideItsOwnHandlerIsSafe) {
  HWND Top = MakeTop(Bounds(0, 0, 100, 100));
  HWND A = MakeChild(Top, Bounds(0, 0, 50, 50));
  L().Hooks[A] = [A](UINT Msg, WPARAM, LPARAM, bool& Handled) -> LRESULT {
    if (Msg != WM_USER) return 0;
    Handled = true;
    DestroyWindow(A);
    return SendMessage(A, WM_USER + 1, 0, 0) + 7;  // the window is gone: 0
  };
  EXPECT_EQ(SendMessage(A, WM_USER, 0, 0), 7);
  EXPECT_FALSE(IsWindow(A));
}

}  // namespace
}  // namespace plumb::test
