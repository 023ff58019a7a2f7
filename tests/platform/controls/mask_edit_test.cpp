// The masked edit under typing, deleting, pasting and Escape: what the mask lets through,
// what it refuses with a beep, and what the parent hears.
#include "StdCtrlsTestUtil.h"

namespace plumb::test {
namespace {

class MaskEdit : public StdCtrlsTest {
 protected:
  TMaskEdit* M = nullptr;
  void SetUp() override {
    StdCtrlsTest::SetUp();
    M = Add<TMaskEdit>(Bounds(10, 10, 200, 21));
    M->SetEditMask("(000) 000-0000;0;_");
    M->SetFocus();
    D.RunUntilIdle();
  }
};

TEST_F(MaskEdit, Typing_FillsThePositionsAndPassesOverLiterals) {
  EXPECT_EQ(M->GetEditText(), "(___) ___-____");
  EXPECT_EQ(M->GetText(), "");
  D.TypeText("5551234567");
  EXPECT_EQ(M->GetEditText(), "(555) 123-4567");
  EXPECT_EQ(M->GetText(), "5551234567");
  EXPECT_EQ(Changes(M), 10);
  M->SetEditMask(">LL-00;1;*");  // keeps what it can hold, and the parent hears nothing
  EXPECT_EQ(M->GetEditText(), "**-12");
  D.TypeText("ab");
  EXPECT_EQ(M->GetText(), "AB-12");
  M->SetEditMask("(000) 000-0000;0;_");
  M->SetText("5551234567");
  EXPECT_EQ(Changes(M), 12);
  // A literal typed where it stands only moves the caret: no change to report.
  D.KeyStroke(VK_HOME);
  D.TypeText("(");
  EXPECT_EQ(Sel(M), std::make_pair(DWORD(1), DWORD(1)));
  EXPECT_EQ(Changes(M), 12);
  EXPECT_TRUE(M->IsComplete());
}

TEST_F(MaskEdit, Refused_ACharacterTheMaskRefusesBeepsAndChangesNothing) {
  D.TypeText("55x");
  D.TypeText("a");
  EXPECT_EQ(M->GetEditText(), "(55_) ___-____");
  EXPECT_EQ(D.BeepCount(), 2);
  EXPECT_EQ(Changes(M), 2);
  EXPECT_FALSE(M->IsComplete());
  D.TypeText("5");
  EXPECT_EQ(M->GetEditText(), "(555) ___-____");
}

TEST_F(MaskEdit, Deleting_BlanksPositionsAndStepsOverLiterals) {
  M->SetText("5551234567");
  SendMessage(M->GetHandle(), EM_SETSEL, 6, 6);  // before the "1"
  D.KeyStroke(VK_BACK);
  EXPECT_EQ(M->GetEditText(), "(55_) 123-4567");
  D.KeyStroke(VK_RIGHT);  // onto the ")"
  D.KeyStroke(VK_DELETE);
  EXPECT_EQ(M->GetEditText(), "(55_) _23-4567");
  EXPECT_EQ(M->GetText(), "55  234567");  // blanks read as spaces, literals left out
  D.KeyStroke(VK_HOME);
  D.KeyStroke(VK_DELETE, {});
  D.KeyStroke(VK_RIGHT, {ssShift});
  D.KeyStroke(VK_DELETE);  // blanks that are blank already: no change
  EXPECT_EQ(Changes(M), 3);
}

TEST_F(MaskEdit, Reset_EscapeRestoresTheTextFromBeforeTheModification) {
  M->SetText("5551234567");
  D.KeyStroke(VK_END);
  D.KeyStroke(VK_BACK);
  D.KeyStroke(VK_BACK);
  EXPECT_EQ(M->GetEditText(), "(555) 123-45__");
  EXPECT_TRUE(M->GetModified());
  D.KeyStroke(VK_ESCAPE);
  EXPECT_EQ(M->GetEditText(), "(555) 123-4567");
  EXPECT_FALSE(M->GetModified());
  // The parent heard of the modification, so it hears of it being undone.
  EXPECT_EQ(Changes(M), 3);
  D.KeyStroke(VK_ESCAPE);
  EXPECT_EQ(Changes(M), 3);
  D.TypeText("9");
  M->SetModified(false);  // the host accepted the value: Reset goes back to it
  D.TypeText("8");
  M->Reset();
  EXPECT_EQ(M->GetEditText(), "(555) 123-4597");
}

TEST_F(MaskEdit, Paste_TextTheMaskCannotHoldIsRefusedWithABeep) {
  for (const char* Bad : {"abc", "555123456789", "(555)x"}) {
    SetClipboardText(Bad);
    M->SelectAll();
    D.KeyStroke('V', {ssCtrl});
  }
  EXPECT_EQ(M->GetEditText(), "(___) ___-____");
  EXPECT_EQ(D.BeepCount(), 3);
  EXPECT_EQ(Changes(M), 0);
  SetClipboardText("(555) 867-5309");
  D.KeyStroke('V', {ssCtrl});
  EXPECT_EQ(M->GetText(), "5558675309");
  SetClipboardText("444");
  M->SelectAll();
  D.KeyStroke(VK_INSERT, {ssShift});
  EXPECT_EQ(M->GetEditText(), "(444) ___-____");
  EXPECT_EQ(Changes(M), 2);
}

}  // namespace
}  // namespace plumb::test
