// The SDL window: what it shows, how it follows the main window, the mouse, the cursor, the
// clipboard and quitting.
#include <cstdlib>
#include <string>

#include "SDLTestUtil.h"

namespace plumb::test {
namespace {

constexpr uint32_t Red = 0xFF0000, Blue = 0x0000FF, Lime = 0x00FF00;

class SDLWindow : public SDLTest {
 protected:
  void SetUp() override {
    SDLTest::SetUp();
    Main = Make(0, Bounds(50, 40, 200, 100), clRed);
    Run();
    B.Present();
    SeenLog().clear();
  }
  bool Inside(const TRect& Outer, const TRect& R) {
    TRect X;
    return IntersectRect(X, Outer, R) && X == R;
  }
  HWND Main = 0;
};

// ---- What the window shows ----

TEST_F(SDLWindow, FirstOrdinaryWindow_BecomesMainAndSetsTheWindowSize) {
  Make(0, Bounds(60, 50, 30, 20), clBlue, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
  EXPECT_EQ(B.GetMainWindow(), Main);
  int W = 0, H = 0;
  SDL_GetWindowSize(B.GetWindow(), &W, &H);
  EXPECT_EQ(W, 200);
  EXPECT_EQ(H, 100);
  EXPECT_TRUE(SDL_GetWindowFlags(B.GetWindow()) & SDL_WINDOW_SHOWN);
}

TEST_F(SDLWindow, Popup_IsComposedOverTheMainWindowAndGoneWhenHidden) {
  HWND Popup = Make(0, Bounds(70, 70, 40, 20), clBlue, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
  Run();
  B.Present();
  EXPECT_EQ(ScreenPixel(0, 0), Red);
  EXPECT_EQ(ScreenPixel(20, 30), Blue);  // the popup's corner, relative to the main window
  EXPECT_EQ(ScreenPixel(59, 49), Blue);
  EXPECT_EQ(ScreenPixel(60, 50), Red);

  ShowWindow(Popup, SW_HIDE);
  Run();
  B.Present();
  EXPECT_EQ(ScreenPixel(20, 30), Red);
  bool Covered = false;
  for (const TRect& R : B.GetPresentedRects()) Covered |= Inside(R, Bounds(20, 30, 40, 20));
  EXPECT_TRUE(Covered);
}

TEST_F(SDLWindow, SmallRepaint_PresentsOnlyItsRectangle) {
  HWND Child = Make(Main, Bounds(10, 10, 30, 20), clLime);
  Run();
  B.Present();
  ASSERT_EQ(ScreenPixel(15, 15), Lime);
  TRect Part = Bounds(2, 3, 5, 4);
  InvalidateRect(Child, &Part, true);
  Run();
  B.Present();
  ASSERT_FALSE(B.GetPresentedRects().empty());
  for (const TRect& R : B.GetPresentedRects()) EXPECT_TRUE(Inside(Bounds(12, 13, 5, 4), R));
}

TEST_F(SDLWindow, MainWindowSizeAndCaption_AreFollowed) {
  SetWindowPos(Main, 0, 0, 0, 260, 120, SWP_NOMOVE | SWP_NOZORDER);
  SetWindowText(Main, "Records");
  Run();
  B.Present();
  int W = 0, H = 0;
  SDL_GetWindowSize(B.GetWindow(), &W, &H);
  EXPECT_EQ(W, 260);
  EXPECT_EQ(H, 120);
  EXPECT_STREQ(SDL_GetWindowTitle(B.GetWindow()), "Records");
  EXPECT_EQ(ScreenPixel(255, 115), Red);
}

TEST_F(SDLWindow, UserResize_ResizesTheMainWindow) {
  SDL_SetWindowSize(B.GetWindow(), 300, 150);
  PushWindowEvent(SDL_WINDOWEVENT_RESIZED, 300, 150);
  Run();
  TRect R;
  GetWindowRect(Main, R);
  EXPECT_EQ(R, Bounds(50, 40, 300, 150));
}

// ---- Mouse ----

TEST_F(SDLWindow, Press_ArrivesAtTheClientPointUnderIt_AfterOneMoveForARunOfMoves) {
  PushMotion(5, 5);
  PushMotion(8, 9);
  PushMotion(10, 12);
  PushButton(true, 10, 12);
  PushButton(false, 10, 12);
  Run();
  auto Moves = Seen({WM_MOUSEMOVE});
  ASSERT_EQ(Moves.size(), 1u);
  EXPECT_EQ(LParamToPoint(Moves[0].LParam), (TPoint{10, 12}));
  auto Down = Seen({WM_LBUTTONDOWN});
  ASSERT_EQ(Down.size(), 1u);
  EXPECT_EQ(Down[0].Wnd, Main);
  EXPECT_EQ(LParamToPoint(Down[0].LParam), (TPoint{10, 12}));
  TPoint P;
  GetCursorPos(P);
  EXPECT_EQ(P, (TPoint{60, 52}));
}

TEST_F(SDLWindow, DoubleClick_IsDecidedByOurClockNotBySDLsCount) {
  PushButton(true, 10, 10, 1);
  PushButton(false, 10, 10, 1);
  Run();
  PushButton(true, 10, 10, 1);  // SDL may not count it, the window system does
  PushButton(false, 10, 10, 1);
  Run();
  EXPECT_EQ(Seen({WM_LBUTTONDBLCLK}).size(), 1u);

  AdvanceClock(GetDoubleClickTime() + 1);
  PushButton(true, 10, 10, 3);  // SDL says triple; it is too late for us
  Run();
  EXPECT_EQ(Seen({WM_LBUTTONDBLCLK}).size(), 1u);
  EXPECT_EQ(Seen({WM_LBUTTONDOWN}).size(), 2u);
}

// ---- Cursor, clipboard, quitting ----

TEST_F(SDLWindow, Cursor_FollowsSetCursor) {
  SetCursor(LoadCursor(0, IDC_HSPLIT));
  EXPECT_EQ(B.GetCursorShape(), SDL_SYSTEM_CURSOR_SIZEWE);
  SetCursor(LoadCursor(0, IDC_IBEAM));
  EXPECT_EQ(B.GetCursorShape(), SDL_SYSTEM_CURSOR_IBEAM);
  SetCursor(0);
  EXPECT_EQ(B.GetCursorShape(), -1);
  SetCursor(LoadCursor(0, IDC_ARROW));
  EXPECT_EQ(B.GetCursorShape(), SDL_SYSTEM_CURSOR_ARROW);
}

TEST_F(SDLWindow, Clipboard_IsSDLsInBothDirections) {
  SetClipboardText("copied \xE2\x82\xAC");
  char* T = SDL_GetClipboardText();
  EXPECT_STREQ(T, "copied \xE2\x82\xAC");
  SDL_free(T);
  SDL_SetClipboardText("from elsewhere");
  std::string Got;
  GetClipboardText(Got);
  EXPECT_EQ(Got, "from elsewhere");
}

TEST_F(SDLWindow, Quit_ClosesTheMainWindow) {
  SDL_Event E{};
  E.type = SDL_QUIT;
  SDL_PushEvent(&E);
  Run();
  EXPECT_TRUE(B.QuitRequested());
  EXPECT_EQ(Seen({WM_CLOSE}).size(), 1u);
  EXPECT_FALSE(IsWindow(Main));
  // Without a main window the loop itself is asked to end.
  SDL_PushEvent(&E);
  Run();
  EXPECT_EQ(Seen({WM_QUIT}).size(), 1u);
}

// ---- Choosing SDL ----

TEST(SDLDisplay, NoDisplayOrOnlyTheDummyDriver_IsNoDisplay) {
  auto Keep = [](const char* Name) {
    const char* V = std::getenv(Name);
    return std::pair<bool, std::string>(V != nullptr, V ? V : "");
  };
  auto X = Keep("DISPLAY"), W = Keep("WAYLAND_DISPLAY"), D = Keep("SDL_VIDEODRIVER");
  NoSessionBus();
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  unsetenv("SDL_VIDEODRIVER");
  EXPECT_FALSE(SDLDisplayAvailable());
  setenv("DISPLAY", ":97", 1);
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  EXPECT_FALSE(SDLDisplayAvailable());
  auto Restore = [](const char* Name, const std::pair<bool, std::string>& V) {
    V.first ? setenv(Name, V.second.c_str(), 1) : unsetenv(Name);
  };
  Restore("DISPLAY", X);
  Restore("WAYLAND_DISPLAY", W);
  Restore("SDL_VIDEODRIVER", D);
}

}  // namespace
}  // namespace plumb::test
