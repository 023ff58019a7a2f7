// The popup menu in its own window: popping up for a control, choosing by keys, letters and
// the mouse, closing without a choice, and the item tree.
#include "StdCtrlsTestUtil.h"

namespace plumb::test {
namespace {

class Menu : public StdCtrlsTest {
 protected:
  TEdit* E = nullptr;
  TProbe* Target = nullptr;
  TPopupMenu* M = nullptr;
  std::vector<std::string> Chosen;
  int Popups = 0;

  void SetUp() override {
    StdCtrlsTest::SetUp();
    E = Add<TEdit>(Bounds(10, 10, 150, 21));
    E->SetText("abc");
    Target = AddProbe(Bounds(10, 50, 200, 150), "Target");
    Target->SetParent(Host);
    M = new TPopupMenu(Form);
    M->OnPopup = [this](TObject*) { ++Popups; };
    for (const char* C : {"&Copy", "Cu&t", "-", "Disabled", "&Paste", "Hidden"}) {
      auto* I = new TMenuItem(Form);
      I->SetCaption(C);
      I->OnClick = [this](TObject* S) {
        Chosen.push_back(static_cast<TMenuItem*>(S)->GetCaption());
      };
      M->GetItems()->Add(I);
    }
    M->GetItems()->GetItems(3)->SetEnabled(false);
    M->GetItems()->GetItems(5)->SetVisible(false);
    Target->SetPopupMenu(M);
    E->SetFocus();
    D.RunUntilIdle();
  }
  void Open() {
    D.Advance(1000);
    D.ClickAt(Target, 30, 20, mbRight);
    ASSERT_TRUE(M->GetShowing());
  }
  TPoint ItemCentre(int Index) {
    TRect R;
    EXPECT_TRUE(M->GetMenuItemRect(Index, R));
    return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
  }
  void ExpectClosedAndNothingElseMoved() {
    EXPECT_FALSE(M->GetShowing());
    EXPECT_FALSE(IsWindowVisible(M->GetWindowHandle()));
    EXPECT_EQ(GetCapture(), HWND(0));
    EXPECT_TRUE(E->Focused());
    EXPECT_EQ(E->GetText(), "abc");
    EXPECT_EQ(Changes(E), 0);
  }
};

TEST_F(Menu, Popup_ARightClickShowsTheVisibleItemsInATopMostWindowAtThePointer) {
  Open();
  HWND W = M->GetWindowHandle();
  TRect R;
  GetWindowRect(W, R);
  EXPECT_EQ((TPoint{R.Left, R.Top}), D.ToScreen(Target, 30, 20));
  EXPECT_EQ(GetTopLevelWindows().back(), W);
  EXPECT_EQ(GetCapture(), W);
  EXPECT_TRUE(E->Focused());  // the focus stays where it was
  EXPECT_EQ(M->GetPopupComponent(), Target);
  EXPECT_EQ(Popups, 1);
  TRect Paste, Hidden;
  EXPECT_TRUE(M->GetMenuItemRect(4, Paste) && PtInRect(R, TPoint{Paste.Left, Paste.Bottom - 1}));
  EXPECT_FALSE(M->GetMenuItemRect(5, Hidden));
}

TEST_F(Menu, Keys_ArrowsEnterAndLettersChooseWhileTheFocusedEditHearsNothing) {
  Open();
  D.KeyStroke(VK_DOWN);
  D.KeyStroke(VK_DOWN);
  D.KeyStroke(VK_RETURN);
  EXPECT_EQ(Chosen, std::vector<std::string>{"Cu&t"});
  ExpectClosedAndNothingElseMoved();
  Open();
  D.KeyStroke(VK_UP);  // round to the last item
  D.KeyStroke(VK_RETURN);
  Open();
  D.KeyStroke('T');  // the accelerator letters
  Open();
  D.KeyStroke('C', {ssShift});
  EXPECT_EQ(Chosen, (std::vector<std::string>{"Cu&t", "&Paste", "Cu&t", "&Copy"}));
  Open();
  for (int I = 0; I < 3; ++I) D.KeyStroke(VK_DOWN);  // over the separator
  D.KeyStroke(VK_RETURN);                            // a disabled item cannot be chosen
  D.TypeText("x");
  EXPECT_TRUE(M->GetShowing());
  D.KeyStroke(VK_ESCAPE);
  EXPECT_EQ(Chosen.size(), 4u);
  ExpectClosedAndNothingElseMoved();
  EXPECT_EQ(D.BeepCount(), 0);
}

TEST_F(Menu, Mouse_AClickChoosesAClickOutsideClosesWithoutAChoice) {
  Open();
  TPoint P = ItemCentre(4);
  D.Click(P);
  EXPECT_EQ(Chosen, std::vector<std::string>{"&Paste"});
  ExpectClosedAndNothingElseMoved();

  Open();
  D.Click(ItemCentre(3));  // disabled
  TRect Cut;
  M->GetMenuItemRect(1, Cut);
  D.Click(TPoint{Cut.Left + 5, Cut.Bottom + 4});  // the separator
  EXPECT_TRUE(M->GetShowing());
  size_t Downs = Host->Of(WM_LBUTTONDOWN).size() + Target->Of(WM_LBUTTONDOWN).size();
  D.ClickAt(Host, 350, 250);
  EXPECT_EQ(Host->Of(WM_LBUTTONDOWN).size() + Target->Of(WM_LBUTTONDOWN).size(), Downs);
  EXPECT_EQ(Chosen.size(), 1u);
  ExpectClosedAndNothingElseMoved();
}

TEST_F(Menu, Placement_StaysOnTheScreenNearItsEdges) {
  M->Popup(795, 595);
  TRect R;
  GetWindowRect(M->GetWindowHandle(), R);
  EXPECT_EQ(R.Right, 795);
  EXPECT_EQ(R.Bottom, 595);
  M->CloseMenu();
  EXPECT_FALSE(M->GetShowing());
  EXPECT_EQ(GetCapture(), HWND(0));
  M->GetItems()->Clear();
  M->Popup(10, 10);  // nothing to show
  EXPECT_FALSE(M->GetShowing());
  EXPECT_EQ(Popups, 2);
}

TEST_F(Menu, Lifetime_AnItemMayFreeItsMenu) {
  M->GetItems()->GetItems(0)->OnClick = [this](TObject*) {
    TPopupMenu* Menu = M;
    M = nullptr;
    Menu->Free();  // and with it this very item
  };
  Open();
  D.KeyStroke('C');
  EXPECT_EQ(M, nullptr);
  EXPECT_EQ(Target->GetPopupMenu(), nullptr);
  D.ClickAt(Target, 30, 20, mbRight);  // no menu any more: nothing happens
  EXPECT_TRUE(E->Focused());
}

class TSpy : public TComponent {
 public:
  using TComponent::TComponent;
  std::vector<TComponent*> Gone;
  void Notification(TComponent* C, TOperation Op) override {
    TComponent::Notification(C, Op);
    if (Op == opRemove) Gone.push_back(C);
  }
};

TEST(MenuItem, TreeMovesItemsFreesThemWithTheirParentAndReadsCaptions) {
  TSpy Spy(nullptr);
  auto* A = new TMenuItem(nullptr);
  auto* B = new TMenuItem(nullptr);
  auto* C = new TMenuItem(nullptr);
  Spy.FreeNotification(C);
  A->Add(C);
  B->Add(C);  // moves
  EXPECT_EQ(A->GetCount(), 0);
  EXPECT_EQ(C->GetParent(), B);
  EXPECT_THROW(C->Add(B), EInvalidOperation);
  EXPECT_THROW(B->Insert(5, A), EListError);
  B->Insert(0, A);
  EXPECT_EQ(B->IndexOf(C), 1);
  B->Delete(0);  // out of the list, not freed
  EXPECT_EQ(A->GetParent(), nullptr);
  delete B;
  EXPECT_EQ(Spy.Gone, std::vector<TComponent*>{C});
  A->SetCaption("&&Save && &Exit");
  EXPECT_EQ(A->DisplayCaption(), "&Save & Exit");
  EXPECT_EQ(uint32_t(A->Accelerator()), uint32_t('E'));
  A->SetCaption("plain");
  EXPECT_EQ(uint32_t(A->Accelerator()), 0u);
  delete A;
}

}  // namespace
}  // namespace plumb::test
