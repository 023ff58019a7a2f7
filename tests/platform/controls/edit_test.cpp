// The single-line edit driven as a user drives it: key strokes, typed text, clicks and the
// clipboard messages, with the parent listening for EN_CHANGE.
#include "StdCtrlsTestUtil.h"

namespace plumb::test {
namespace {

using TSel = std::pair<DWORD, DWORD>;

class Edit : public StdCtrlsTest {
 protected:
  TEdit* E = nullptr;
  void SetUp() override {
    StdCtrlsTest::SetUp();
    E = Add<TEdit>(Bounds(10, 10, 200, 21));
    E->SetFocus();
    D.RunUntilIdle();
  }
  std::string Clipboard() {
    std::string S;
    GetClipboardText(S);
    return S;
  }
  // Client x of the caret position before character Pos of the text.
  Integer XOf(int Pos) { return 2 + TextWidth(E, E->GetText().substr(0, size_t(Pos))); }
  // The edit's pixels as shown, read at client points (the client edge is 2 pixels wide).
  struct TShot {
    TSurface S;
    uint32_t operator()(Integer X, Integer Y) const { return S.Pixel(X + 2, Y + 2); }
  };
  TShot Shot() {
    D.RunUntilIdle();
    TShot T;
    CaptureWindow(E->GetHandle(), T.S);
    return T;
  }
};

TEST_F(Edit, Caret_AtTheEdgesAndEmSetSelClamping) {
  for (Word K : {VK_LEFT, VK_RIGHT, VK_HOME, VK_END, VK_BACK, VK_DELETE}) D.KeyStroke(K);
  D.KeyStroke(VK_LEFT, {ssShift, ssCtrl});
  // 0 to 0 on an empty text: a caller comparing the end with the length sees all selected.
  EXPECT_EQ(Sel(E), TSel(0, 0));
  EXPECT_EQ(E->GetTextLen(), 0);
  E->SetText("hello");
  HWND H = E->GetHandle();
  SendMessage(H, EM_SETSEL, 0x7FFFFFFF, LPARAM(-1));  // the grid's Deselect
  EXPECT_EQ(Sel(E), TSel(5, 5));
  SendMessage(H, EM_SETSEL, 0, LPARAM(-1));
  D.KeyStroke(VK_LEFT, {ssShift});  // the caret is at the end: the selection shrinks
  EXPECT_EQ(Sel(E), TSel(0, 4));
  SendMessage(H, EM_SETSEL, WPARAM(-1), 0);  // drops the selection where the caret is
  EXPECT_EQ(Sel(E), TSel(4, 4));
  SendMessage(H, EM_SETSEL, 4, 1);  // anchor 4, caret 1
  D.KeyStroke(VK_LEFT, {ssShift});
  EXPECT_EQ(Sel(E), TSel(0, 4));
  EXPECT_EQ(Changes(E) + D.BeepCount(), 0);
}

TEST_F(Edit, Keys_ShiftExtendsCtrlMovesByWordsTypingReplacesTheSelection) {
  E->SetText("hello world");
  D.KeyStroke(VK_END, {ssShift});
  D.KeyStroke(VK_LEFT);  // collapses to the start instead of moving
  D.KeyStroke(VK_RIGHT, {ssCtrl});
  EXPECT_EQ(Sel(E), TSel(6, 6));
  D.KeyStroke(VK_END);
  D.KeyStroke(VK_LEFT, {ssShift, ssCtrl});
  EXPECT_EQ(E->GetSelText(), "world");
  D.TypeText("there");
  EXPECT_EQ(E->GetText(), "hello there");
  EXPECT_EQ(Changes(E), 5);
  E->SetText("a\u00F1b\u20AC");  // positions count characters, not bytes
  D.KeyStroke(VK_END);
  EXPECT_EQ(Sel(E), TSel(4, 4));
  D.KeyStroke(VK_BACK);
  D.KeyStroke(VK_LEFT);
  D.TypeText("\u00E9");
  EXPECT_EQ(E->GetText(), "a\u00F1\u00E9b");
}

TEST_F(Edit, Change_TheParentHearsEveryUserEditAndNoProgrammaticOne) {
  int OnChange = 0;
  E->OnChange = [&](TObject*) { ++OnChange; };
  E->SetText("abc");
  E->SelectAll();
  static_cast<TControl*>(E)->SetText("abcd");
  SetWindowText(E->GetHandle(), "abcde");
  D.KeyStroke(VK_END);
  EXPECT_EQ(E->GetText(), "abcde");
  EXPECT_EQ(Changes(E), 0);
  EXPECT_EQ(OnChange, 3);
  D.TypeText("x");
  D.KeyStroke(VK_BACK);
  D.KeyStroke(VK_DELETE);  // at the end: nothing to delete, nothing to tell
  EXPECT_EQ(Changes(E), 2);
  EXPECT_EQ(OnChange, 5);  // the parent hands each notification back to the edit
  EXPECT_TRUE(E->GetModified());
  E->SetText("new");
  EXPECT_FALSE(E->GetModified());
  EXPECT_EQ(Changes(E), 2);
}

TEST_F(Edit, Clipboard_ByKeysAndByMessages) {
  E->SetText("hello");
  HWND H = E->GetHandle();
  SendMessage(H, EM_SETSEL, 1, 4);
  D.KeyStroke('C', {ssCtrl});
  EXPECT_EQ(Clipboard(), "ell");
  SetClipboardText("");
  D.KeyStroke(VK_INSERT, {ssCtrl});
  EXPECT_EQ(Clipboard(), "ell");
  D.KeyStroke('X', {ssCtrl});
  D.KeyStroke(VK_INSERT, {ssShift});
  D.KeyStroke('V', {ssCtrl});
  EXPECT_EQ(E->GetText(), "hellello");
  SendMessage(H, EM_SETSEL, 0, 4);
  D.KeyStroke(VK_DELETE, {ssShift});
  EXPECT_EQ(Clipboard(), "hell");
  EXPECT_EQ(Changes(E), 4);
  SendMessage(H, WM_PASTE, 0, 0);
  SendMessage(H, EM_SETSEL, 0, 2);
  SendMessage(H, WM_CUT, 0, 0);
  SendMessage(H, EM_SETSEL, 0, 2);
  SendMessage(H, WM_CLEAR, 0, 0);
  EXPECT_EQ(E->GetText(), "ello");
  SendMessage(H, WM_CLEAR, 0, 0);  // nothing selected: nothing cleared
  SendMessage(H, WM_COPY, 0, 0);   // nor copied
  EXPECT_EQ(Clipboard(), "he");
  EXPECT_EQ(Changes(E), 7);
}

TEST_F(Edit, Limits_PasteKeepsTheFirstLineAndWhatFitsMaxLength) {
  SetClipboardText("one\r\ntwo");
  D.KeyStroke('V', {ssCtrl});
  EXPECT_EQ(E->GetText(), "one");
  E->SetMaxLength(5);
  D.KeyStroke(VK_END);
  SetClipboardText("cdefgh");
  D.KeyStroke('V', {ssCtrl});
  EXPECT_EQ(E->GetText(), "onecd");
  EXPECT_EQ(D.BeepCount(), 0);
  D.KeyStroke('V', {ssCtrl});  // full: refused with a beep
  D.TypeText("z");
  EXPECT_EQ(E->GetText(), "onecd");
  EXPECT_EQ(D.BeepCount(), 2);
  E->SelectAll();  // replacing the selection frees its room
  D.TypeText("z");
  EXPECT_EQ(E->GetText(), "z");
  // The grid marks read-only cells with -1: no limit for typing, and it reads back.
  E->SetMaxLength(-1);
  EXPECT_EQ(E->GetMaxLength(), -1);
  D.TypeText("0123456789");
  EXPECT_EQ(E->GetTextLen(), 11);
  EXPECT_EQ(Changes(E), 13);
}

TEST_F(Edit, ReadOnly_RefusesEveryChangeWhileTheCaretStillMoves) {
  E->SetText("hello");
  E->SetReadOnly(true);
  SetClipboardText("zz");
  D.TypeText("x");
  D.KeyStroke(VK_DELETE);
  D.KeyStroke(VK_END);
  D.KeyStroke(VK_BACK);
  D.KeyStroke('V', {ssCtrl});
  D.KeyStroke(VK_INSERT, {ssShift});
  D.KeyStroke(VK_HOME, {ssShift});
  D.KeyStroke('X', {ssCtrl});
  D.KeyStroke(VK_DELETE, {ssShift});
  for (UINT M : {WM_CUT, WM_CLEAR, WM_PASTE}) SendMessage(E->GetHandle(), M, 0, 0);
  EXPECT_EQ(E->GetText(), "hello");
  EXPECT_EQ(Clipboard(), "zz");  // a refused cut copies nothing either
  EXPECT_EQ(Changes(E) + D.BeepCount(), 0);
  D.KeyStroke(VK_RIGHT);
  D.KeyStroke(VK_LEFT);
  D.KeyStroke(VK_LEFT, {ssShift});
  EXPECT_EQ(Sel(E), TSel(3, 4));
  D.KeyStroke('C', {ssCtrl});  // copying changes nothing and stays allowed
  EXPECT_EQ(Clipboard(), "l");
}

class TGuardedEdit : public TEdit {
 public:
  using TEdit::TEdit;
  bool Allow = true;
  int Asked = 0;

 protected:
  bool EditCanModify() override {
    ++Asked;
    return Allow;
  }
};

TEST_F(Edit, EditCanModify_IsAskedBeforeEveryUserChange) {
  auto* G = Add<TGuardedEdit>(Bounds(10, 50, 200, 21));
  G->SetText("abc");
  G->SetFocus();  // selects all
  G->Allow = false;
  SetClipboardText("zz");
  D.TypeText("x");
  D.KeyStroke(VK_BACK);
  D.KeyStroke('V', {ssCtrl});
  SendMessage(G->GetHandle(), WM_CLEAR, 0, 0);
  D.KeyStroke(VK_END);
  EXPECT_EQ(G->GetText(), "abc");
  EXPECT_EQ(G->Asked, 4);
  G->Allow = true;
  D.KeyStroke(VK_BACK);
  EXPECT_EQ(G->GetText(), "ab");
  EXPECT_EQ(Changes(G), 1);
}

TEST_F(Edit, Mouse_ClickPlacesTheCaretDragSelectsDoubleClickTakesAWord) {
  E->SetText("hello world");
  Host->SetFocus();
  D.RunUntilIdle();
  D.ClickAt(E, XOf(3) + 1, 8);  // just right of the boundary: the nearest one
  EXPECT_TRUE(E->Focused());
  EXPECT_EQ(Sel(E), TSel(3, 3));  // a click focuses without selecting everything
  D.Advance(1000);
  D.MouseDownAt(E, XOf(1) - 1, 8);
  D.MouseMoveAt(E, XOf(5), 8);
  D.MouseUpAt(E, XOf(5), 8);
  EXPECT_EQ(E->GetSelText(), "ello");
  D.Advance(1000);
  D.ClickAt(E, XOf(11) + 30, 8, mbLeft, {ssShift});  // beyond the text: to its end
  EXPECT_EQ(Sel(E), TSel(1, 11));
  D.Advance(1000);
  D.DoubleClickAt(E, XOf(8), 8);
  EXPECT_EQ(E->GetSelText(), "world");
}

TEST_F(Edit, Scrolling_KeepsTheCaretInViewOfANarrowEdit) {
  auto* N = Add<TEdit>(Bounds(10, 50, 60, 21));
  N->SetFocus();
  D.TypeText("abcdefghijklmnopqrstuvwxyz");
  Integer Right = N->GetClientWidth() - 3;
  D.ClickAt(N, Right, 8);  // the end of the text is what shows now
  EXPECT_GE(Sel(N).first, 24u);
  D.KeyStroke(VK_HOME);
  D.Advance(1000);
  D.ClickAt(N, Right, 8);
  EXPECT_LE(Sel(N).first, 12u);
}

TEST_F(Edit, FormattingRect_NoRepaintWithNPTextStaysInside) {
  E->SetText("WWWWWWWW");
  D.RunUntilIdle();
  D.Record().Clear();
  TRect R{40, 2, E->GetClientWidth() - 2, E->GetClientHeight()};
  SendMessage(E->GetHandle(), EM_SETRECTNP, 0, LPARAM(&R));
  auto Invalidated = [&] {
    for (const TInvalidateCall& C : D.Record().Invalidates)
      if (C.Wnd == E->GetHandle() && !C.Validate) return true;
    return false;
  };
  EXPECT_FALSE(Invalidated());
  SendMessage(E->GetHandle(), EM_SETRECT, 0, LPARAM(&R));
  EXPECT_TRUE(Invalidated());
  TShot Pixel = Shot();
  uint32_t Background = ColorToPixel(clWindow);
  for (Integer X = 0; X < 40; ++X)
    for (Integer Y = 0; Y < E->GetClientHeight(); ++Y) ASSERT_EQ(Pixel(X, Y), Background);
  bool Ink = false;
  for (Integer X = 40; X < 60; ++X)
    for (Integer Y = 2; Y < 16; ++Y) Ink = Ink || Pixel(X, Y) != Background;
  EXPECT_TRUE(Ink);
}

TEST_F(Edit, Paint_SelectionInHighlightWhileFocusedCaretInverted) {
  E->SetText("        ");  // spaces: the selection shows as a plain fill
  E->SelectAll();
  EXPECT_EQ(Shot()(6, 6), ColorToPixel(clHighlight));
  Host->SetFocus();
  EXPECT_EQ(Shot()(6, 6), ColorToPixel(clWindow));
  E->SetText("");
  E->SetFocus();
  TShot Pixel = Shot();
  EXPECT_EQ(Pixel(2, 6), ~ColorToPixel(clWindow) | 0xFF000000u);  // the caret
  EXPECT_EQ(Pixel(3, 6), ColorToPixel(clWindow));
}

}  // namespace
}  // namespace plumb::test
