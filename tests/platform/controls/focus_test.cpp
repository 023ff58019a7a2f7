// Focus between controls, Tab and Shift+Tab through the tab order, and the special keys a
// control can ask for before the form uses them.
#include "ControlTestUtil.h"

namespace plumb::test {
namespace {

class Focus : public ControlsTest {
 protected:
  TProbe *A = nullptr, *B = nullptr, *C = nullptr;
  std::vector<std::string> Events;
  void SetUp() override {
    ControlsTest::SetUp();
    A = AddProbe(Bounds(10, 10, 100, 40), "A");
    B = AddProbe(Bounds(10, 60, 100, 40), "B");
    C = AddProbe(Bounds(10, 110, 100, 40), "C");
    for (TProbe* P : {A, B, C}) {
      P->OnEnter = [this, P](TObject*) { Events.push_back("enter " + P->GetName()); };
      P->OnExit = [this, P](TObject*) { Events.push_back("exit " + P->GetName()); };
    }
  }
  TWinControl* Focused() { return FindControl(GetFocus()); }
};

TEST_F(Focus, Moving_KillAndSetCarryTheOtherHandleAndExitRunsBeforeEnter) {
  A->SetFocus();
  D.RunUntilIdle();
  A->Log.clear();
  Events.clear();
  B->SetFocus();
  auto Kill = A->Of(WM_KILLFOCUS);
  auto Set = B->Of(WM_SETFOCUS);
  ASSERT_EQ(Kill.size(), 1u);
  ASSERT_EQ(Set.size(), 1u);
  EXPECT_EQ(HWND(Kill[0].WParam), B->GetHandle());
  EXPECT_EQ(HWND(Set[0].WParam), A->GetHandle());
  EXPECT_EQ(Events, (std::vector<std::string>{"exit A", "enter B"}));
  EXPECT_EQ(Form->GetActiveControl(), B);
  EXPECT_EQ(Screen->GetActiveControl(), B);
  EXPECT_TRUE(B->Focused());
}

TEST_F(Focus, Moving_AnExitHandlerThatKeepsTheFocusWins) {
  A->SetFocus();
  A->OnExit = [this](TObject*) { A->SetFocus(); };
  Events.clear();
  B->SetFocus();
  EXPECT_EQ(Focused(), A);
  EXPECT_EQ(Form->GetActiveControl(), A);
  // A is entered again (it had been left); B never is.
  EXPECT_EQ(Events, std::vector<std::string>{"enter A"});
}

TEST_F(Focus, Moving_ControlsThatCannotTakeTheFocusRefuseIt) {
  B->SetEnabled(false);
  EXPECT_FALSE(B->CanFocus());
  EXPECT_THROW(B->SetFocus(), EInvalidOperation);
  TProbe Loose(nullptr);
  EXPECT_FALSE(Loose.CanFocus());  // on no form
}

TEST_F(Focus, Tab_FollowsTheTabOrderBothWaysSkippingWhatCannotTakeIt) {
  C->SetTabOrder(0);  // C, A, B
  auto* NoStop = AddProbe(Bounds(200, 10, 50, 50));
  NoStop->SetTabStop(false);
  auto* Hidden = AddProbe(Bounds(200, 70, 50, 50));
  Hidden->Hide();
  C->SetFocus();
  std::vector<TWinControl*> Seen;
  for (int I = 0; I < 4; ++I) {
    D.KeyStroke(VK_TAB);
    Seen.push_back(Focused());
  }
  EXPECT_EQ(Seen, (std::vector<TWinControl*>{A, B, C, A}));
  D.KeyStroke(VK_TAB, {ssShift});
  EXPECT_EQ(Focused(), C);
  D.KeyStroke(VK_TAB, {ssShift});
  EXPECT_EQ(Focused(), B);
}

TEST_F(Focus, Tab_UsedByTheFormReachesNoControlAsAKeyOrCharacter) {
  A->SetFocus();
  D.RunUntilIdle();
  A->Log.clear();
  B->Log.clear();
  D.KeyStroke(VK_TAB);
  EXPECT_EQ(Focused(), B);
  EXPECT_TRUE(A->Of(WM_KEYDOWN).empty());
  EXPECT_TRUE(A->Of(WM_CHAR).empty());
  EXPECT_TRUE(B->Of(WM_CHAR).empty());
}

TEST_F(Focus, Tab_AControlThatAsksForTabGetsItAndKeepsTheFocus) {
  A->DlgCode = DLGC_WANTTAB;
  A->SetFocus();
  std::vector<Word> Keys;
  std::vector<char32_t> Chars;
  A->OnKeyDown = [&](TObject*, Word& K, TShiftState) { Keys.push_back(K); };
  A->OnKeyPress = [&](TObject*, char32_t& K) { Chars.push_back(K); };
  D.KeyStroke(VK_TAB);
  EXPECT_EQ(Focused(), A);
  EXPECT_EQ(Keys, (std::vector<Word>{VK_TAB}));
  EXPECT_EQ(Chars, (std::vector<char32_t>{U'\t'}));
  A->DlgCode = DLGC_WANTARROWS;  // arrows are not Tab
  D.KeyStroke(VK_TAB);
  EXPECT_EQ(Focused(), B);
}

// A control that answers Enter for the form, as a default button would.
class Default : public Focus {
 protected:
  TProbe* Button = nullptr;
  int Pressed = 0;
  void SetUp() override {
    Focus::SetUp();
    Button = AddProbe(Bounds(200, 200, 80, 30));
    Button->Hook = [this](TMessage& M) {
      if (M.Msg != CM_DIALOGKEY || M.WParam != VK_RETURN) return false;
      ++Pressed;
      M.Result = 1;
      return true;
    };
  }
};

TEST_F(Default, Enter_GoesToTheFormUnlessTheControlWantsIt) {
  A->SetFocus();
  std::vector<Word> Keys;
  A->OnKeyDown = [&](TObject*, Word& K, TShiftState) { Keys.push_back(K); };
  D.KeyStroke(VK_RETURN);
  EXPECT_EQ(Pressed, 1);
  EXPECT_TRUE(Keys.empty());
  A->WantEnter = true;
  D.KeyStroke(VK_RETURN);
  EXPECT_EQ(Pressed, 1);
  EXPECT_EQ(Keys, (std::vector<Word>{VK_RETURN}));
  A->WantEnter = false;
  A->DlgCode = DLGC_WANTALLKEYS;  // the dialog code answers for Enter too
  D.KeyStroke(VK_RETURN);
  EXPECT_EQ(Pressed, 1);
  EXPECT_EQ(Keys.size(), 2u);
}

TEST_F(Focus, Activation_AShownFormFocusesItsFirstTabStopAndRemembersItsActiveControl) {
  auto* Other = new TForm(nullptr);
  Other->SetBounds(500, 300, 200, 100);
  auto* X = new TProbe(Other);
  X->SetBounds(5, 5, 50, 20);
  X->SetParent(Other);
  B->SetFocus();
  Other->Show();
  D.RunUntilIdle();
  EXPECT_EQ(Focused(), X);
  EXPECT_EQ(Screen->GetActiveForm(), Other);
  D.Click(Point(55, 45));  // back on the first form, on no control
  EXPECT_EQ(GetActiveWindow(), Form->GetHandle());
  EXPECT_EQ(Focused(), B);
  delete Other;
}

}  // namespace
}  // namespace plumb::test
