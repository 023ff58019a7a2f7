// Pointer routing, capture and WM_CANCELMODE, double clicks, the wheel, focus, keys, activation.
#include "WinTestUtil.h"

namespace plumb::test {
namespace {

class Input : public WinTest {
 protected:
  HWND Top = 0, A = 0, B = 0;
  void SetUp() override {
    WinTest::SetUp();
    Top = MakeTop(Bounds(100, 100, 400, 300));
    A = MakeChild(Top, Bounds(10, 10, 100, 100), 0, 0, CS_DBLCLKS);
    B = MakeChild(Top, Bounds(200, 10, 100, 100), WS_VSCROLL);
    SetScrollRange(B, SB_VERT, 0, 10, false);
    Pump();
    L().Log.clear();
  }
  std::vector<UINT> Buttons(HWND W) {
    std::vector<UINT> R;
    for (UINT M : L().MessagesOf(W))
      if ((M >= WM_LBUTTONDOWN && M <= WM_MBUTTONDBLCLK) ||
          (M >= WM_NCLBUTTONDOWN && M <= WM_NCRBUTTONDBLCLK))
        R.push_back(M);
    return R;
  }
};

TEST_F(Input, Pointer_ClientPressesComeInClientCoordinatesAfterHitTestAndCursor) {
  Click(Point(100 + 10 + 5, 100 + 10 + 7));
  auto M = L().MessagesOf(A);
  auto Pos = [&](UINT Msg) { return std::find(M.begin(), M.end(), Msg) - M.begin(); };
  EXPECT_LT(Pos(WM_NCHITTEST), Pos(WM_SETCURSOR));
  EXPECT_LT(Pos(WM_SETCURSOR), Pos(WM_LBUTTONDOWN));
  auto Down = L().Of(WM_LBUTTONDOWN);
  ASSERT_EQ(Down.size(), 1u);
  EXPECT_EQ(Down[0].LParam, MAKELPARAM(5, 7));
  EXPECT_TRUE(Down[0].WParam & MK_LBUTTON);
  EXPECT_EQ(L().Of(WM_LBUTTONUP).size(), 1u);
}

TEST_F(Input, Pointer_APressOnTheScrollBarIsANonClientMessageInScreenCoordinates) {
  TPoint P{100 + 200 + 95, 100 + 10 + 50};  // on B's bar
  Click(P);
  auto Down = L().Of(WM_NCLBUTTONDOWN);
  ASSERT_EQ(Down.size(), 1u);
  EXPECT_EQ(Down[0].Wnd, B);
  EXPECT_EQ(Down[0].WParam, WPARAM(HTVSCROLL));
  EXPECT_EQ(Down[0].LParam, PointToLParam(P));
  EXPECT_TRUE(L().Of(WM_LBUTTONDOWN).empty());
}

TEST_F(Input, Capture_TakesThePointerEverywhereUntilCancelled) {
  SetCapture(A);
  EXPECT_EQ(GetCapture(), A);
  InjectMouseMove(Point(100 + 250, 100 + 50));     // over B
  InjectMouseButton(rbLeft, true, Point(50, 50));  // outside every window
  Pump();
  auto Moves = L().Of(WM_MOUSEMOVE);
  ASSERT_EQ(Moves.size(), 1u);
  EXPECT_EQ(Moves[0].Wnd, A);
  EXPECT_EQ(Moves[0].LParam, MAKELPARAM(240, 40));
  auto Down = L().Of(WM_LBUTTONDOWN);
  ASSERT_EQ(Down.size(), 1u);
  EXPECT_EQ(Down[0].LParam, MAKELPARAM(-60, -60));  // signed 16-bit coordinates

  SendMessage(A, WM_CANCELMODE, 0, 0);
  EXPECT_EQ(GetCapture(), HWND(0));
  auto Changed = L().Of(WM_CAPTURECHANGED);
  ASSERT_EQ(Changed.size(), 1u);
  EXPECT_EQ(Changed[0].Wnd, A);
  L().Log.clear();
  InjectMouseButton(rbLeft, false, Point(100 + 250, 100 + 50));
  Pump();
  EXPECT_EQ(L().Of(WM_LBUTTONUP)[0].Wnd, B);
}

TEST_F(Input, Capture_AnotherWindowTakingItTellsTheOldOne) {
  SetCapture(A);
  EXPECT_EQ(SetCapture(B), A);
  auto Changed = L().Of(WM_CAPTURECHANGED);
  ASSERT_EQ(Changed.size(), 1u);
  EXPECT_EQ(Changed[0].Wnd, A);
  EXPECT_EQ(Changed[0].LParam, LPARAM(B));
  SendMessage(A, WM_CANCELMODE, 0, 0);  // not A's any more: nothing happens
  EXPECT_EQ(GetCapture(), B);
  EnableWindow(B, false);  // a disabled window cannot keep the pointer
  EXPECT_EQ(GetCapture(), HWND(0));
}

TEST_F(Input, Wheel_GoesUnderThePointerOrToTheCaptureAndChildrenPassItUp) {
  TPoint OverA = Point(100 + 10 + 5, 100 + 10 + 7);
  InjectMouseWheel(-WHEEL_DELTA, OverA);
  InjectMouseWheel(WHEEL_DELTA, Point(20, 20));  // over no window: dropped
  Pump();
  auto Wheel = L().Of(WM_MOUSEWHEEL);
  ASSERT_EQ(Wheel.size(), 2u);
  EXPECT_EQ(Wheel[0].Wnd, A);
  EXPECT_EQ(int16_t(HIWORD(Wheel[0].WParam)), -WHEEL_DELTA);
  EXPECT_EQ(Wheel[0].LParam, PointToLParam(OverA));  // screen coordinates
  // A's DefWindowProc hands it to its parent.
  EXPECT_EQ(Wheel[1].Wnd, Top);

  L().Log.clear();
  SetCapture(B);
  InjectMouseWheel(2 * WHEEL_DELTA, OverA);
  Pump();
  ASSERT_FALSE(L().Of(WM_MOUSEWHEEL).empty());
  EXPECT_EQ(L().Of(WM_MOUSEWHEEL)[0].Wnd, B);
  EXPECT_EQ(int16_t(HIWORD(L().Of(WM_MOUSEWHEEL)[0].WParam)), 2 * WHEEL_DELTA);
}

TEST_F(Input, DoubleClick_OnlyWithinTimeAndDistanceAndOnlyForDblClkWindows) {
  TPoint P{100 + 10 + 20, 100 + 10 + 20};
  Click(P);
  AdvanceClock(499);
  Click(Point(P.X + 2, P.Y - 2));
  EXPECT_EQ(Buttons(A),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
  L().Log.clear();
  Click(P);  // the pair is used up: this one starts afresh
  AdvanceClock(500);
  Click(P);  // too late
  AdvanceClock(100);
  Click(Point(P.X + 3, P.Y));  // too far
  for (UINT M : Buttons(A)) EXPECT_NE(M, UINT(WM_LBUTTONDBLCLK));

  L().Log.clear();
  Click(P, rbLeft);
  Click(P, rbRight);  // another button does not pair
  EXPECT_EQ(Buttons(A),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP}));

  HWND Plain = MakeChild(Top, Bounds(10, 150, 50, 50));
  Pump();
  Click(Point(115, 255));
  Click(Point(115, 255));
  EXPECT_EQ(Buttons(Plain),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(Input, Focus_KillThenSetEachCarryingTheOtherHandle) {
  SetFocus(A);
  L().Log.clear();
  EXPECT_EQ(SetFocus(B), A);
  ASSERT_EQ(L().Log.size(), 2u);
  EXPECT_EQ(L().Log[0].Wnd, A);
  EXPECT_EQ(L().Log[0].Msg, UINT(WM_KILLFOCUS));
  EXPECT_EQ(L().Log[0].WParam, WPARAM(B));
  EXPECT_EQ(L().Log[1].Wnd, B);
  EXPECT_EQ(L().Log[1].Msg, UINT(WM_SETFOCUS));
  EXPECT_EQ(L().Log[1].WParam, WPARAM(A));
  EXPECT_EQ(GetFocus(), B);
}

TEST_F(Input, Focus_AKillHandlerThatTakesTheFocusBackWins) {
  SetFocus(A);
  L().Hooks[A] = [&](UINT Msg, WPARAM, LPARAM, bool&) -> LRESULT {
    if (Msg == WM_KILLFOCUS && GetFocus() != A) SetFocus(A);
    return 0;
  };
  L().Log.clear();
  SetFocus(B);
  EXPECT_EQ(GetFocus(), A);
  for (const auto& M : L().Of(WM_SETFOCUS)) EXPECT_NE(M.Wnd, B);
}

TEST_F(Input, Focus_ADestroyedFocusOrCaptureWindowGivesThemUp) {
  SetFocus(A);
  SetCapture(A);
  DestroyWindow(A);
  EXPECT_EQ(GetFocus(), Top);
  EXPECT_EQ(GetCapture(), HWND(0));
  InjectKey('X', true, U'x');
  L().Log.clear();
  Pump();
  EXPECT_EQ(L().Of(WM_KEYDOWN)[0].Wnd, Top);
}

TEST_F(Input, Keys_AltMakesSystemKeysWithTheAltBitSet) {
  SetFocus(A);
  L().Log.clear();
  InjectKey(VK_MENU, true);
  InjectKey(VK_DOWN, true);
  InjectKey(VK_DOWN, false);
  InjectKey(VK_MENU, false);
  InjectKey(VK_DOWN, true);
  Pump();
  auto Sys = L().Of(WM_SYSKEYDOWN);
  ASSERT_EQ(Sys.size(), 2u);
  EXPECT_EQ(Sys[1].WParam, WPARAM(VK_DOWN));
  EXPECT_TRUE(uint32_t(Sys[1].LParam) & KF_ALTDOWN_BIT);
  auto Plain = L().Of(WM_KEYDOWN);
  ASSERT_EQ(Plain.size(), 1u);
  EXPECT_FALSE(uint32_t(Plain[0].LParam) & KF_ALTDOWN_BIT);
  EXPECT_EQ(Plain[0].Wnd, A);
  EXPECT_LT(GetKeyState(VK_DOWN), 0);
  EXPECT_GE(GetKeyState(VK_MENU), 0);
}

TEST_F(Input, Activation_PressingAnotherTopLevelActivatesIt) {
  HWND Other = MakeTop(Bounds(600, 100, 100, 100));
  SetActiveWindow(Top);
  L().Log.clear();
  Click(Point(650, 150));
  EXPECT_EQ(GetActiveWindow(), Other);
  EXPECT_EQ(GetFocus(), Other);
  auto Act = L().Of(WM_ACTIVATE);
  ASSERT_EQ(Act.size(), 2u);
  EXPECT_EQ(Act[0].Wnd, Top);
  EXPECT_EQ(LOWORD(Act[0].WParam), Word(WA_INACTIVE));
  EXPECT_EQ(Act[1].Wnd, Other);
}

// The desktop taking the keyboard away ends a drag and leaves nothing active; giving it back
// activates the window that was active, in turn with the input queued before.
TEST_F(Input, Activation_TheDesktopTakesTheFocusAwayAndGivesItBack) {
  // The top-most window, which a fresh pick would take; it holds the pointer, as a list
  // dropped down from an editor does, without being active.
  HWND Popup = MakeTop(Bounds(600, 100, 100, 100));
  SetActiveWindow(Top);
  SetFocus(A);
  SetCapture(Popup);
  L().Log.clear();
  InjectKey('X', true, U'x');
  InjectActivation(false);
  Pump();
  EXPECT_EQ(L().Of(WM_KEYDOWN).size(), 1u);  // the key came before the focus went
  EXPECT_EQ(GetActiveWindow(), HWND(0));
  EXPECT_EQ(GetFocus(), HWND(0));
  EXPECT_EQ(GetCapture(), HWND(0));
  ASSERT_EQ(L().Of(WM_CANCELMODE).size(), 1u);
  EXPECT_EQ(L().Of(WM_CANCELMODE)[0].Wnd, Popup);
  ASSERT_EQ(L().Of(WM_KILLFOCUS).size(), 1u);
  EXPECT_EQ(L().Of(WM_KILLFOCUS)[0].Wnd, A);

  L().Log.clear();
  InjectActivation(true);
  Pump();
  EXPECT_EQ(GetActiveWindow(), Top);
  ASSERT_EQ(L().Of(WM_ACTIVATE).size(), 1u);
  EXPECT_EQ(L().Of(WM_ACTIVATE)[0].Wnd, Top);
  EXPECT_NE(GetFocus(), HWND(0));
}

TEST_F(Input, Activation_AChildWindowMadeTopLevelTakesClicksWithoutTakingTheFocus) {
  SetFocus(A);
  HWND Popup = MakeChild(Top, Bounds(0, 0, 80, 60));
  SetParent(Popup, 0);
  SetWindowPos(Popup, HWND_TOP, 500, 400, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  Pump();
  L().Log.clear();
  Click(Point(510, 410));
  EXPECT_EQ(L().Of(WM_LBUTTONDOWN).size(), 1u);
  EXPECT_EQ(L().Of(WM_LBUTTONDOWN)[0].Wnd, Popup);
  EXPECT_EQ(GetActiveWindow(), Top);
  EXPECT_EQ(GetFocus(), A);
  EXPECT_TRUE(L().Of(WM_ACTIVATE).empty());
}

}  // namespace
}  // namespace plumb::test
