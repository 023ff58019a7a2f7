// Windows made on first use and made again, bounds that follow the window, visibility,
// freeing components others refer to, properties that follow the parent, and the designer.
#include "ControlTestUtil.h"
#include "controls/Menus.h"

namespace plumb::test {
namespace {

class Lifecycle : public ControlsTest {};

TEST_F(Lifecycle, Handle_MadeOnFirstUseAndMadeAgainKeepingTheFocus) {
  auto* P = new TProbe(Form);
  P->SetBounds(10, 10, 60, 30);
  EXPECT_FALSE(P->HandleAllocated());
  EXPECT_THROW(P->GetHandle(), EInvalidOperation);  // no parent window yet
  P->SetParent(Form);
  ASSERT_TRUE(P->HandleAllocated());  // a showing parent shows its new child
  EXPECT_TRUE(IsWindowVisible(P->GetHandle()));
  EXPECT_EQ(GetParent(P->GetHandle()), Form->GetHandle());
  P->SetFocus();
  HWND Old = P->GetHandle();
  P->RecreateWnd();
  EXPECT_FALSE(IsWindow(Old));
  EXPECT_NE(P->GetHandle(), Old);
  EXPECT_TRUE(P->Focused());
  EXPECT_TRUE(IsWindowVisible(P->GetHandle()));
}

// Any integer may come from a stream; bounds stay where sums of them cannot overflow.
TEST_F(Lifecycle, Bounds_HeldWithinTheCoordinateRange) {
  auto* P = AddProbe(Bounds(10, 10, 60, 30));
  P->SetBounds(INT32_MIN, INT32_MAX, INT32_MIN + 6, INT32_MAX);
  const Integer L = 1 << 24;
  EXPECT_EQ(P->GetBoundsRect(), (TRect{-L, L, -2 * L, 2 * L}));
  EXPECT_EQ(P->GetClientWidth(), 0);
  EXPECT_EQ(P->GetClientHeight(), L);
}

TEST_F(Lifecycle, Bounds_FollowTheWindowWhateverMovesIt) {
  auto* P = AddProbe(Bounds(10, 10, 60, 30));
  P->SetBounds(20, 30, 80, 40);
  TRect R;
  GetWindowRect(P->GetHandle(), R);
  EXPECT_EQ(R, Bounds(50 + 20, 40 + 30, 80, 40));
  SetWindowPos(P->GetHandle(), 0, 5, 6, 70, 20, SWP_NOZORDER);
  EXPECT_EQ(P->GetBoundsRect(), Bounds(5, 6, 70, 20));
  P->ExtraStyle = WS_BORDER;
  P->RecreateWnd();
  EXPECT_EQ(P->GetClientWidth(), 68);
  P->SetClientWidth(100);
  EXPECT_EQ(P->GetWidth(), 102);
  auto* Client = AddProbe(Bounds(0, 0, 10, 10));
  Client->SetAlign(alClient);
  auto* Top = AddProbe(Bounds(0, 0, 10, 25));
  Top->SetAlign(alTop);
  EXPECT_EQ(Top->GetBoundsRect(), Rect(0, 0, 400, 25));
  EXPECT_EQ(Client->GetBoundsRect(), Rect(0, 25, 400, 300));
  Form->SetBounds(50, 40, 300, 200);
  EXPECT_EQ(Client->GetBoundsRect(), Rect(0, 25, 300, 200));
}

TEST_F(Lifecycle, Visibility_HidingTheFocusedControlGivesTheFocusBackToTheForm) {
  auto* A = AddProbe(Bounds(10, 10, 60, 30));
  auto* B = AddProbe(Bounds(10, 50, 60, 30));
  A->SetFocus();
  A->Hide();
  EXPECT_FALSE(IsWindowVisible(A->GetHandle()));
  EXPECT_NE(Form->GetActiveControl(), A);
  EXPECT_FALSE(A->Focused());
  B->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(B->GetHandle()));
  A->Show();
  EXPECT_TRUE(IsWindowVisible(A->GetHandle()));
}

TEST_F(Lifecycle, Freeing_AComponentClearsTheReferencesOthersHold) {
  auto* A = AddProbe(Bounds(10, 10, 60, 30));
  auto* B = AddProbe(Bounds(10, 50, 60, 30));
  auto* Menu = new TPopupMenu(Form);
  A->SetPopupMenu(Menu);
  B->SetPopupMenu(Menu);
  Menu->SetPopupComponent(B);
  Menu->Free();
  EXPECT_EQ(A->GetPopupMenu(), nullptr);
  EXPECT_EQ(B->GetPopupMenu(), nullptr);

  auto* M2 = new TPopupMenu(Form);
  M2->SetPopupComponent(A);
  A->SetFocus();
  HWND AH = A->GetHandle();
  A->Free();
  EXPECT_EQ(M2->GetPopupComponent(), nullptr);
  EXPECT_EQ(Form->GetActiveControl(), nullptr);
  EXPECT_EQ(Screen->GetActiveControl(), Form);
  EXPECT_FALSE(IsWindow(AH));
  EXPECT_EQ(GetFocus(), Form->GetHandle());
  EXPECT_EQ(Form->GetControlCount(), 1);
  B->SetFocus();  // the form still works
  EXPECT_TRUE(B->Focused());
}

TEST_F(Lifecycle, Parent_FontColourAndCtl3DFollowTheParentUntilSetOwn) {
  auto* A = AddProbe(Bounds(10, 10, 60, 30));
  auto* B = AddProbe(Bounds(10, 50, 60, 30));
  B->GetFont()->SetSize(20);
  B->SetColor(clWindow);
  EXPECT_FALSE(B->GetParentFont());
  Form->GetFont()->SetName("DejaVu Sans Mono");
  EXPECT_EQ(A->GetFont()->GetName(), "DejaVu Sans Mono");
  EXPECT_TRUE(A->GetParentFont());
  EXPECT_EQ(B->GetFont()->GetName(), "DejaVu Sans");
  A->SetParentColor(true);
  Form->SetColor(clTeal);
  EXPECT_EQ(A->GetColor(), clTeal);
  EXPECT_EQ(B->GetColor(), clWindow);
  int Ctl3DChanges = 0;
  A->Hook = [&](TMessage& M) {
    if (M.Msg == CM_CTL3DCHANGED) ++Ctl3DChanges;
    return false;
  };
  Form->SetCtl3D(false);
  EXPECT_FALSE(A->GetCtl3D());
  EXPECT_EQ(Ctl3DChanges, 1);
}

// A designer that takes every mouse message a control does not claim with CM_DESIGNHITTEST.
class TTestDesigner : public TDesigner {
 public:
  int Taken = 0, Modifications = 0;
  bool IsDesignMsg(TControl* Sender, TMessage& Message) override {
    if (Message.Msg < WM_MOUSEFIRST || Message.Msg > WM_MOUSELAST) return false;
    if (Sender->Perform(CM_DESIGNHITTEST, Message.WParam, Message.LParam)) return false;
    ++Taken;
    return true;
  }
  void Modified() override { ++Modifications; }
  void Notification(TComponent*, TOperation) override {}
};

TEST_F(Lifecycle, Designer_TakesTheMouseUnlessTheControlClaimsThePoint) {
  TTestDesigner Designer;
  Form->SetDesigner(&Designer);
  auto* A = AddProbe(Bounds(10, 10, 100, 30));
  A->SetDesigning(true);
  A->Hook = [](TMessage& M) {
    if (M.Msg != CM_DESIGNHITTEST) return false;
    M.Result = GET_X_LPARAM(M.LParam) < 20 ? 1 : 0;  // a sizing edge, say
    return true;
  };
  int Downs = 0;
  A->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer, Integer) { ++Downs; };
  D.ClickAt(A, 50, 10);
  EXPECT_EQ(Downs, 0);
  EXPECT_GT(Designer.Taken, 0);
  D.Advance(1000);
  D.ClickAt(A, 5, 10);
  EXPECT_EQ(Downs, 1);
  GetParentForm(A)->GetDesigner()->Modified();
  EXPECT_EQ(Designer.Modifications, 1);
  Form->SetDesigner(nullptr);
}

}  // namespace
}  // namespace plumb::test
