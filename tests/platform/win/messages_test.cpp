// The queue: order, filters, WM_QUIT, message times from the one clock, timers, and the
// character that follows its key.
#include "WinTestUtil.h"

namespace plumb::test {
namespace {

class Messages : public WinTest {};

TEST_F(Messages, Peek_FiltersByRangeAndWindowAndKeepsWhatItDoesNotRemove) {
  HWND A = MakeTop(Bounds(0, 0, 50, 50));
  HWND B = MakeTop(Bounds(60, 0, 50, 50));
  Pump();
  PostMessage(A, WM_USER + 1, 1, 0);
  PostMessage(B, WM_USER + 2, 2, 0);
  PostMessage(A, WM_USER + 3, 3, 0);
  MSG M;
  ASSERT_TRUE(PeekMessage(M, 0, WM_USER + 2, WM_USER + 3, PM_NOREMOVE));
  EXPECT_EQ(M.message, UINT(WM_USER + 2));
  ASSERT_TRUE(PeekMessage(M, A, WM_USER + 2, WM_USER + 3, PM_REMOVE));
  EXPECT_EQ(M.message, UINT(WM_USER + 3));
  EXPECT_FALSE(PeekMessage(M, A, WM_USER + 2, WM_USER + 3, PM_REMOVE));
  ASSERT_TRUE(PeekMessage(M, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(M.message, UINT(WM_USER + 1));
  ASSERT_TRUE(PeekMessage(M, 0, 0, 0, PM_REMOVE));
  EXPECT_EQ(M.message, UINT(WM_USER + 2));
  EXPECT_FALSE(PeekMessage(M, 0, 0, 0, PM_REMOVE));
}

TEST_F(Messages, Quit_ComesWhateverTheFilterAndEndsGetMessage) {
  PostQuitMessage(3);
  MSG M;
  ASSERT_TRUE(PeekMessage(M, 0, WM_CHAR, WM_CHAR, PM_REMOVE));
  EXPECT_EQ(M.message, UINT(WM_QUIT));
  EXPECT_EQ(M.wParam, WPARAM(3));
  EXPECT_FALSE(PeekMessage(M, 0, WM_CHAR, WM_CHAR, PM_REMOVE));
  PostMessage(0, WM_USER, 0, 0);
  PostQuitMessage(0);
  EXPECT_EQ(GetMessage(M, 0, 0, 0), 1);
  EXPECT_EQ(GetMessage(M, 0, 0, 0), 0);
  EXPECT_EQ(GetMessage(M, 0, 0, 0), -1);  // a headless desktop has nothing more to give
}

TEST_F(Messages, Times_MessageTimeIsThatOfTheMessageBeingHandled) {
  HWND A = MakeTop(Bounds(0, 0, 50, 50));
  Pump();
  DWORD T0 = GetTickCount();
  PostMessage(A, WM_USER, 0, 0);
  AdvanceClock(250);
  EXPECT_EQ(GetTickCount(), T0 + 250);
  Integer Seen = 0;
  L().Hooks[A] = [&](UINT Msg, WPARAM, LPARAM, bool&) -> LRESULT {
    if (Msg == WM_USER) Seen = GetMessageTime();
    return 0;
  };
  Pump();
  EXPECT_EQ(Seen, Integer(T0));
  EXPECT_EQ(GetDoubleClickTime(), 500u);
}

TEST_F(Messages, Timers_FireWhenTheClockReachesThemAndRepeat) {
  HWND A = MakeTop(Bounds(0, 0, 50, 50));
  Pump();
  SetTimer(A, 7, 100, nullptr);
  AdvanceClock(99);
  Pump();
  EXPECT_TRUE(L().Of(WM_TIMER).empty());
  AdvanceClock(1);
  Pump();
  ASSERT_EQ(L().Of(WM_TIMER).size(), 1u);
  EXPECT_EQ(L().Of(WM_TIMER)[0].WParam, WPARAM(7));
  AdvanceClock(100);
  Pump();
  EXPECT_EQ(L().Of(WM_TIMER).size(), 2u);
  EXPECT_TRUE(KillTimer(A, 7));
  AdvanceClock(1000);
  Pump();
  EXPECT_EQ(L().Of(WM_TIMER).size(), 2u);
  EXPECT_FALSE(KillTimer(A, 7));
}

TEST_F(Messages, Translate_TheCharacterComesRightAfterItsKeyDown) {
  HWND A = MakeTop(Bounds(0, 0, 50, 50));
  SetFocus(A);
  Pump();
  L().Hooks[A] = [&](UINT Msg, WPARAM, LPARAM, bool&) -> LRESULT {
    if (Msg == WM_KEYDOWN) PostMessage(A, WM_USER, 0, 0);  // posted later than the character
    return 0;
  };
  InjectKey('A', true, U'a');
  InjectKey('A', false);
  L().Log.clear();
  Pump();
  std::vector<UINT> Seen;
  for (UINT M : L().MessagesOf(A))
    if (M == WM_KEYDOWN || M == WM_CHAR || M == WM_KEYUP || M == WM_USER) Seen.push_back(M);
  EXPECT_EQ(Seen, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_USER}));
  EXPECT_EQ(L().Of(WM_CHAR)[0].WParam, WPARAM(U'a'));
}

TEST_F(Messages, Translate_AKeyDownRemovedWithoutTranslationGivesNoCharacter) {
  HWND A = MakeTop(Bounds(0, 0, 50, 50));
  SetFocus(A);
  Pump();
  InjectKey(VK_TAB, true, U'\t');
  MSG M;
  ASSERT_TRUE(PeekMessage(M, 0, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
  EXPECT_EQ(M.wParam, WPARAM(VK_TAB));
  InjectKey(VK_TAB, false);
  L().Log.clear();
  Pump();
  EXPECT_TRUE(L().Of(WM_CHAR).empty());
  EXPECT_EQ(L().Of(WM_KEYUP).size(), 1u);
}

TEST_F(Messages, PeekWithFilter_RemovesAPendingCharacterBeforeLaterInput) {
  HWND A = MakeTop(Bounds(0, 0, 50, 50));
  SetFocus(A);
  Pump();
  InjectChar(U'x');
  InjectKey('B', true, U'b');
  MSG M;
  ASSERT_TRUE(PeekMessage(M, A, WM_CHAR, WM_CHAR, PM_REMOVE));
  EXPECT_EQ(M.wParam, WPARAM(U'x'));
  EXPECT_FALSE(PeekMessage(M, A, WM_CHAR, WM_CHAR, PM_REMOVE));  // 'b' is not typed yet
  EXPECT_GE(GetKeyState('B'), 0);  // and the key not converted ahead of its turn
}

}  // namespace
}  // namespace plumb::test
