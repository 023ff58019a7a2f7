// Keys, text and input-method composition from SDL events to window messages.
#include "SDLTestUtil.h"

namespace plumb::test {
namespace {

const std::initializer_list<UINT> KeyMsgs = {WM_KEYDOWN,
                                             WM_KEYUP,
                                             WM_CHAR,
                                             WM_SYSKEYDOWN,
                                             WM_SYSKEYUP,
                                             WM_SYSCHAR,
                                             WM_IME_STARTCOMPOSITION,
                                             WM_IME_ENDCOMPOSITION};

class SDLKeyboard : public SDLTest {
 protected:
  void SetUp() override {
    SDLTest::SetUp();
    Main = Make(0, Bounds(0, 0, 200, 100), clWhite);
    SetFocus(Main);
    Run();
    SeenLog().clear();
  }
  // "KD41 CH61 KU41": message kind and wParam in hex, for compact expectations.
  std::string Trace() const {
    static const std::map<UINT, const char*> Names = {{WM_KEYDOWN, "KD"},
                                                      {WM_KEYUP, "KU"},
                                                      {WM_CHAR, "CH"},
                                                      {WM_SYSKEYDOWN, "SD"},
                                                      {WM_SYSKEYUP, "SU"},
                                                      {WM_SYSCHAR, "SC"},
                                                      {WM_IME_STARTCOMPOSITION, "IS"},
                                                      {WM_IME_ENDCOMPOSITION, "IE"}};
    std::string T;
    char Buf[24];
    for (const TSeen& S : Seen(KeyMsgs)) {
      std::snprintf(Buf, sizeof Buf, "%s%s%X", T.empty() ? "" : " ", Names.at(S.Msg),
                    unsigned(S.WParam));
      T += Buf;
    }
    return T;
  }
  HWND Main = 0;
};

TEST_F(SDLKeyboard, PrintableKey_CharComesFromTextInputBetweenDownAndUp) {
  PushKey(SDLK_a, true);
  PushText("a");
  PushKey(SDLK_a, false);
  Run();
  EXPECT_EQ(Trace(), "KD41 CH61 KU41");
}

TEST_F(SDLKeyboard, KeysWithoutText_MakeTheirOwnChar) {
  for (SDL_Keycode K : {SDLK_RETURN, SDLK_TAB, SDLK_BACKSPACE, SDLK_ESCAPE}) Type(K);
  Run();
  EXPECT_EQ(Trace(), "KDD CHD KUD KD9 CH9 KU9 KD8 CH8 KU8 KD1B CH1B KU1B");
}

TEST_F(SDLKeyboard, CtrlLetter_IsAControlCharAndItsStrayTextIsDropped) {
  PushKey(SDLK_LCTRL, true, KMOD_LCTRL);
  PushKey(SDLK_c, true, KMOD_LCTRL);
  PushText("c");  // some platforms send it anyway
  PushKey(SDLK_c, false, KMOD_LCTRL);
  PushKey(SDLK_LCTRL, false);
  Run();
  EXPECT_EQ(Trace(), "KD11 KD43 CH3 KU43 KU11");
}

TEST_F(SDLKeyboard, AltLetter_IsASystemKeyWithSysCharOnly) {
  PushKey(SDLK_LALT, true, KMOD_LALT);
  PushKey(SDLK_x, true, KMOD_LALT);
  PushText("x");
  PushKey(SDLK_x, false, KMOD_LALT);
  PushKey(SDLK_LALT, false);
  Run();
  EXPECT_EQ(Trace(), "SD12 SD58 SC78 SU58 SU12");
}

TEST_F(SDLKeyboard, TextWithoutKey_GivesOneCharPerCodePoint) {
  PushText("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");  // é € 😀
  Run();
  EXPECT_EQ(Trace(), "CHE9 CH20AC CH1F600");
}

TEST_F(SDLKeyboard, Shift_StaysDownUntilBothSidesAreReleased) {
  PushKey(SDLK_LSHIFT, true, KMOD_LSHIFT);
  PushKey(SDLK_RSHIFT, true, KMOD_SHIFT);
  PushKey(SDLK_LSHIFT, false, KMOD_RSHIFT);
  PushKey(SDLK_a, true, KMOD_RSHIFT);
  Run();
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  ASSERT_FALSE(Seen({WM_KEYDOWN}).empty());
  EXPECT_TRUE(Seen({WM_KEYDOWN}).back().ShiftDown);
  PushKey(SDLK_RSHIFT, false);
  Run();
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

TEST_F(SDLKeyboard, ModifierReleasedUnseen_IsReleasedBeforeTheNextKey) {
  PushKey(SDLK_LSHIFT, true, KMOD_LSHIFT);
  PushKey(SDLK_b, true, 0);  // the shift went up while another window had the keyboard
  Run();
  EXPECT_EQ(Trace(), "KD10 KU10 KD42");
  EXPECT_FALSE(Seen({WM_KEYDOWN}).back().ShiftDown);
}

TEST_F(SDLKeyboard, FocusLost_ReleasesHeldKeys) {
  PushKey(SDLK_LCTRL, true, KMOD_LCTRL);
  PushKey(SDLK_DOWN, true, KMOD_LCTRL);
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  Run();
  EXPECT_GE(GetKeyState(VK_CONTROL), 0);
  EXPECT_GE(GetKeyState(VK_DOWN), 0);
  EXPECT_EQ(Trace(), "KD11 KD28 KU11 KU28");
}

TEST_F(SDLKeyboard, ImeDisabled_TextInputIsOffAndKeysTypeTheirChars) {
  SetWindowIme(Main, 0 /* imDisable */, "");
  B.WaitForInput(0);
  EXPECT_FALSE(SDL_IsTextInputActive());
  PushKey(SDLK_LSHIFT, true, KMOD_LSHIFT);
  Type(SDLK_a, KMOD_LSHIFT);
  Type(SDLK_1, KMOD_LSHIFT);
  PushKey(SDLK_LSHIFT, false);
  Type(SDLK_z);
  Run();
  EXPECT_EQ(Trace(), "KD10 KD41 CH41 KU41 KD31 CH21 KU31 KU10 KD5A CH7A KU5A");

  SeenLog().clear();
  SetWindowIme(Main, 3 /* imDontCare */, "");
  B.WaitForInput(0);
  EXPECT_TRUE(SDL_IsTextInputActive());
  Type(SDLK_z);  // the character would come as text now
  Run();
  EXPECT_EQ(Trace(), "KD5A KU5A");
}

// ---- Composition ----

TEST_F(SDLKeyboard, Composition_StartsOnceAndEndsBeforeItsResult) {
  PushEditing("k");
  PushEditing("\xE3\x81\x8B");  // か
  Run();
  EXPECT_TRUE(B.IsComposing());
  EXPECT_EQ(B.GetCompositionText(), "\xE3\x81\x8B");
  PushText("\xE3\x81\x8B");
  Run();
  EXPECT_FALSE(B.IsComposing());
  EXPECT_EQ(Trace(), "IS0 IE0 CH304B");
}

TEST_F(SDLKeyboard, Composition_ClearedByTheUser_EndsWithoutText) {
  PushEditing("x");
  PushEditing("");
  Run();
  EXPECT_EQ(Trace(), "IS0 IE0");
}

TEST_F(SDLKeyboard, Composition_AfterAClickInTheSameBatch_GoesToTheClickedWindow) {
  HWND Other = Make(Main, Bounds(100, 0, 50, 50), clRed);
  Run();
  SeenLog().clear();
  PushButton(true, 110, 10);
  PushButton(false, 110, 10);
  PushEditing("a");
  Run();
  auto Start = Seen({WM_IME_STARTCOMPOSITION});
  ASSERT_EQ(Start.size(), 1u);
  EXPECT_EQ(Start[0].Wnd, Other);
}

TEST_F(SDLKeyboard, Composition_FocusMovesAway_EndsItForTheOldWindow) {
  HWND Other = Make(Main, Bounds(100, 0, 50, 50), clRed);
  PushEditing("a");
  Run();
  SetFocus(Other);
  B.WaitForInput(0);
  Run();
  EXPECT_FALSE(B.IsComposing());
  auto End = Seen({WM_IME_ENDCOMPOSITION});
  ASSERT_EQ(End.size(), 1u);
  EXPECT_EQ(End[0].Wnd, Main);
}

}  // namespace
}  // namespace plumb::test
