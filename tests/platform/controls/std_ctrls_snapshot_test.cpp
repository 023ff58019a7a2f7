// The standard controls together on one form, as a user sees them with an edit holding a
// selection and a popup menu open over a list box. The picture goes to the test temp folder
// (stdctrls.png) for a person to look at; the test checks what is exact in it.
#include "StdCtrlsTestUtil.h"

namespace plumb::test {
namespace {

TEST_F(StdCtrlsTest, Snapshot_EditListBoxAndOpenPopupMenu) {
  auto* E = Add<TEdit>(Bounds(10, 10, 200, 21));
  E->SetText("Hello, world");
  auto* Mask = Add<TMaskEdit>(Bounds(220, 10, 150, 21));
  Mask->SetEditMask("(000) 000-0000;0;_");
  Mask->SetFocus();
  D.TypeText("5551");
  auto* L = Add<TListBox>(Bounds(10, 45, 150, 120));
  for (const char* S :
       {"Apple", "Banana", "Cherry", "Date", "Elderberry", "Fig", "Grape", "Kiwi", "Lemon"})
    L->GetItems()->Add(S);
  L->SetItemIndex(2);
  auto* M = new TPopupMenu(Form);
  for (const char* C : {"&Open", "&Rename...", "-", "&Delete"}) {
    auto* I = new TMenuItem(Form);
    I->SetCaption(C);
    M->GetItems()->Add(I);
  }
  M->GetItems()->GetItems(0)->SetChecked(true);
  L->SetPopupMenu(M);
  E->SetFocus();
  SendMessage(E->GetHandle(), EM_SETSEL, 7, 12);
  D.ClickAt(L, 60, 30, mbRight);
  D.KeyStroke(VK_DOWN);
  D.KeyStroke(VK_DOWN);
  ASSERT_TRUE(M->GetShowing());
  EXPECT_TRUE(D.Snapshot(::testing::TempDir() + "stdctrls.png"));

  TRect R;
  ASSERT_TRUE(M->GetMenuItemRect(1, R));
  EXPECT_EQ(D.ScreenPixel(R.Right - 3, R.Top + 2), ColorToPixel(clHighlight));
  ASSERT_TRUE(M->GetMenuItemRect(0, R));
  EXPECT_EQ(D.ScreenPixel(R.Right - 3, R.Top + 2), ColorToPixel(clMenu));
  TPoint Sel = D.ToScreen(E, 2 + TextWidth(E, "Hello, w"), 1);
  EXPECT_EQ(D.ScreenPixel(Sel.X, Sel.Y), ColorToPixel(clHighlight));
  TPoint Row =
      D.ToScreen(L, 55, L->GetItemHeight() * 2 + 1);  // right of "Cherry", left of the menu
  EXPECT_EQ(D.ScreenPixel(Row.X, Row.Y), ColorToPixel(clHighlight));
  EXPECT_EQ(Mask->GetEditText(), "(555) 1__-____");
}

}  // namespace
}  // namespace plumb::test
