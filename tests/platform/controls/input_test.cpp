// Mouse and key events of controls: capture and its cancelling, clicks and double clicks,
// keys with their shift states, the popup menu, and exceptions that handlers let through.
#include "ControlTestUtil.h"
#include "controls/Menus.h"

namespace plumb::test {
namespace {

class Input : public ControlsTest {
 protected:
  TProbe *A = nullptr, *B = nullptr;
  std::vector<std::string> Events;
  void SetUp() override {
    ControlsTest::SetUp();
    A = AddProbe(Bounds(10, 10, 100, 40), "A");
    B = AddProbe(Bounds(10, 100, 100, 40), "B");
    A->OnMouseDown = [this](TObject*, TMouseButton Btn, TShiftState S, Integer X, Integer Y) {
      Events.push_back("down " + std::to_string(Btn) + (S.Contains(ssDouble) ? " double" : "") +
                       " " + std::to_string(X) + "," + std::to_string(Y));
    };
    A->OnMouseUp = [this](TObject*, TMouseButton Btn, TShiftState, Integer X, Integer Y) {
      Events.push_back("up " + std::to_string(Btn) + " " + std::to_string(X) + "," +
                       std::to_string(Y));
    };
    A->OnClick = [this](TObject*) { Events.push_back("click"); };
    A->OnDblClick = [this](TObject*) { Events.push_back("dblclick"); };
  }
};

TEST_F(Input, Capture_APressHoldsThePointerAndCancelModeEndsItWithARelease) {
  std::vector<TPoint> Moves;
  A->OnMouseMove = [&](TObject*, TShiftState, Integer X, Integer Y) { Moves.push_back({X, Y}); };
  D.MouseDownAt(A, 5, 5);
  EXPECT_TRUE(A->GetMouseCapture());
  EXPECT_EQ(GetCapture(), A->GetHandle());
  D.MouseMoveAt(B, 20, 20);  // over B, yet A hears it, in its own coordinates
  ASSERT_FALSE(Moves.empty());
  EXPECT_EQ(Moves.back(), Point(20, 110));
  Events.clear();
  SendMessage(A->GetHandle(), WM_CANCELMODE, 0, 0);
  EXPECT_FALSE(A->GetMouseCapture());
  EXPECT_EQ(Events, (std::vector<std::string>{"up 0 -1,-1"}));
  int BUps = 0;
  B->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, Integer, Integer) { ++BUps; };
  D.MouseUpAt(B, 20, 20);
  EXPECT_EQ(BUps, 1);
  EXPECT_EQ(Events.size(), 1u);
}

TEST_F(Input, Clicks_ADoubleClickNeedsTheControlStyleForIt) {
  D.DoubleClickAt(A, 7, 8);
  EXPECT_EQ(Events, (std::vector<std::string>{"down 0 7,8", "click", "up 0 7,8", "dblclick",
                                              "down 0 double 7,8", "up 0 7,8"}));
  Events.clear();
  D.Advance(1000);
  A->SetControlStyle(A->GetControlStyle() - csDoubleClicks);
  D.DoubleClickAt(A, 7, 8);
  EXPECT_EQ(Events, (std::vector<std::string>{"down 0 7,8", "click", "up 0 7,8", "down 0 7,8",
                                              "click", "up 0 7,8"}));
}

TEST_F(Input, Clicks_AReleaseOutsideTheControlIsNoClick) {
  D.MouseDownAt(A, 5, 5);
  D.MouseUpAt(B, 5, 5);
  EXPECT_EQ(std::count(Events.begin(), Events.end(), "click"), 0);
  EXPECT_EQ(Events.back(), "up 0 5,95");
}

TEST_F(Input, Keys_EventsSeeTheKeyTheCharacterAndTheShiftState) {
  A->SetFocus();
  std::vector<std::string> Keys;
  A->OnKeyDown = [&](TObject*, Word& K, TShiftState S) {
    Keys.push_back("down " + std::to_string(K) + (S.Contains(ssShift) ? " shift" : "") +
                   (S.Contains(ssCtrl) ? " ctrl" : "") + (S.Contains(ssAlt) ? " alt" : ""));
  };
  A->OnKeyPress = [&](TObject*, char32_t& K) { Keys.push_back("press " + std::to_string(K)); };
  A->OnKeyUp = [&](TObject*, Word& K, TShiftState) { Keys.push_back("up " + std::to_string(K)); };
  D.KeyStroke('A', {ssShift});
  D.KeyStroke('V', {ssCtrl});
  D.KeyStroke(VK_DOWN, {ssAlt});
  auto Has = [&](const std::string& S) {
    return std::find(Keys.begin(), Keys.end(), S) != Keys.end();
  };
  EXPECT_TRUE(Has("down 65 shift"));
  EXPECT_TRUE(Has("press 65"));
  EXPECT_TRUE(Has("up 65"));
  EXPECT_TRUE(Has("down 86 ctrl"));
  EXPECT_TRUE(Has("press 22"));
  EXPECT_TRUE(Has("down 40 alt"));
}

TEST_F(Input, Keys_AKeyDownHandlerCanSwallowTheKey) {
  A->SetFocus();
  A->OnKeyDown = [](TObject*, Word& K, TShiftState) { K = 0; };
  D.KeyStroke(VK_F2);
  EXPECT_TRUE(A->Of(WM_KEYDOWN).size() == 1);
  int Presses = 0;
  A->OnKeyPress = [&](TObject*, char32_t&) { ++Presses; };
  D.TypeText("ab");
  EXPECT_EQ(Presses, 2);  // the character was made before the key was swallowed
}

TEST_F(Input, PopupMenu_RightClickPopsItUpAtThePointerForTheControl) {
  auto* Menu = new TPopupMenu(Form);
  A->SetPopupMenu(Menu);
  D.ClickAt(A, 30, 20, mbRight);
  EXPECT_EQ(Menu->GetPopupComponent(), A);
  EXPECT_EQ(Menu->GetPopupPoint(), D.ToScreen(A, 30, 20));
  Menu->SetAutoPopup(false);
  Menu->SetPopupComponent(nullptr);
  D.ClickAt(A, 30, 20, mbRight);
  EXPECT_EQ(Menu->GetPopupComponent(), nullptr);
}

TEST_F(Input, Exceptions_FromHandlersReachHandleExceptionAndTheLoopGoesOn) {
  std::vector<std::string> Caught;
  std::vector<TObject*> Senders;
  Application->OnException = [&](TObject* Sender, const Exception& E) {
    Caught.push_back(E.Message());
    Senders.push_back(Sender);
  };
  A->SetFocus();
  int Presses = 0;
  A->OnKeyDown = [](TObject*, Word& K, TShiftState) {
    if (K == 'X') throw EConvertError("no X here");
  };
  A->OnKeyPress = [&](TObject*, char32_t&) { ++Presses; };
  A->OnClick = [](TObject*) { throw std::runtime_error("plain failure"); };
  D.TypeText("xy");
  D.ClickAt(A, 5, 5);
  EXPECT_EQ(Caught, (std::vector<std::string>{"no X here", "plain failure"}));
  EXPECT_EQ(Senders.front(), A);
  EXPECT_EQ(Presses, 2);
  PostMessage(A->GetHandle(), WM_USER, 0, 0);
  A->Hook = [](TMessage& M) {
    if (M.Msg == WM_USER) throw Exception("posted");
    return false;
  };
  D.RunUntilIdle();
  EXPECT_EQ(Caught.back(), "posted");
}

}  // namespace
}  // namespace plumb::test
