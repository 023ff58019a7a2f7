// What the desktop tells a form through SDL beyond keys and clicks: the window gaining and
// losing the focus, the wheel, and where the input method should put its candidate window.
#include "SDLTestUtil.h"
#include "controls/Forms.h"
#include "controls/StdCtrls.h"

namespace plumb::test {
namespace {

class SDLDesktop : public SDLTest {
 protected:
  void SetUp() override {
    SDLTest::SetUp();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 300, 200);
    First = Add<TEdit>(Bounds(10, 10, 120, 21));
    Second = Add<TEdit>(Bounds(10, 40, 120, 21));
    List = Add<TListBox>(Bounds(150, 10, 120, 100));
    for (int I = 0; I < 30; ++I) List->GetItems()->Add("Item " + std::to_string(I));
    Form->Show();
    Run();
  }
  void TearDown() override {
    delete Form;
    SDLTest::TearDown();
  }
  template <class T>
  T* Add(TRect R) {
    T* C = new T(Form);
    C->SetParent(Form);
    C->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    return C;
  }
  void PushWheel(float Notches, TPoint At) {
    SDL_Event E{};
    E.type = SDL_MOUSEWHEEL;
    E.wheel.y = int(Notches);
    E.wheel.preciseY = Notches;
    E.wheel.mouseX = At.X;
    E.wheel.mouseY = At.Y;
    SDL_PushEvent(&E);
  }
  // A client point of a control in the SDL window's coordinates.
  TPoint InWindow(TWinControl* C, TPoint P) {
    ClientToScreen(C->GetHandle(), P);
    TRect F;
    GetWindowRect(Form->GetHandle(), F);
    return TPoint{P.X - F.Left, P.Y - F.Top};
  }
  TForm* Form = nullptr;
  TEdit* First = nullptr;
  TEdit* Second = nullptr;
  TListBox* List = nullptr;
};

TEST_F(SDLDesktop, WindowFocus_LostKillsTheControlsFocusAndGainedGivesItBack) {
  Second->SetFocus();
  Run();
  std::string Trail;
  Second->OnExit = [&](TObject*) { Trail += "exit "; };
  Second->OnEnter = [&](TObject*) { Trail += "enter "; };
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  Run();
  EXPECT_EQ(GetFocus(), HWND(0));
  EXPECT_FALSE(Second->Focused());
  EXPECT_FALSE(Form->GetActive());
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  Run();
  EXPECT_TRUE(Form->GetActive());
  EXPECT_EQ(GetFocus(), Second->GetHandle());
  EXPECT_EQ(Form->GetActiveControl(), Second);
  EXPECT_EQ(Trail, "");  // leaving the desktop's focus is no move between controls
}

TEST_F(SDLDesktop, Wheel_ScrollsTheListUnderThePointerThreeRowsANotch) {
  First->SetFocus();
  Run();
  TPoint Over = InWindow(List, TPoint{20, 20});
  PushWheel(-1, Over);
  Run();
  EXPECT_EQ(List->GetTopIndex(), 3);
  PushWheel(-0.5f, Over);  // a smooth wheel's half notch: a row and a half
  PushWheel(-0.5f, Over);
  Run();
  EXPECT_EQ(List->GetTopIndex(), 6);
  PushWheel(2, Over);
  Run();
  EXPECT_EQ(List->GetTopIndex(), 0);
  EXPECT_EQ(GetFocus(), First->GetHandle());  // the wheel leaves the focus alone
}

TEST_F(SDLDesktop, TextInputRect_FollowsTheFocusedEditsCaret) {
  First->SetFocus();
  Run();
  B.WaitForInput(0);
  TRect R = B.GetTextInputRect();
  TPoint Start = InWindow(First, TPoint{2, 1});  // the text starts inside a small margin
  EXPECT_EQ((TPoint{R.Left, R.Top}), Start);
  EXPECT_EQ(R.Height(), FontTextExtent(*First->GetFont(), "").Y);

  PushText("abc");
  Run();
  B.WaitForInput(0);
  EXPECT_EQ(B.GetTextInputRect().Left, Start.X + FontTextExtent(*First->GetFont(), "abc").X);
  EXPECT_EQ(B.GetTextInputRect().Top, Start.Y);

  Second->SetAutoSelect(false);  // its caret has not moved since its window was made
  Second->SetFocus();
  Run();
  B.WaitForInput(0);
  EXPECT_EQ(B.GetTextInputRect().Left, InWindow(Second, TPoint{2, 1}).X);
  EXPECT_EQ(B.GetTextInputRect().Top, InWindow(Second, TPoint{2, 1}).Y);
}

}  // namespace
}  // namespace plumb::test
