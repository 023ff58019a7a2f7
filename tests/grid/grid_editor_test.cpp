#include "GridTestUtil.h"

namespace plumb::test {

TEST_F(GridTest, TheEditorSitsOnePixelInsideItsCell) {
  Grid->SetRowCount(5);
  ClientSize(200, 200);
  Focus();
  Grid->ShowEditor();
  TInplaceEdit* E = Grid->GetInplaceEditor();
  ASSERT_NE(E, nullptr);
  TRect Cell = Grid->CellRect(1, 0);
  EXPECT_EQ(E->GetBoundsRect(), (TRect{Cell.Left, Cell.Top + 1, Cell.Right - 1, Cell.Bottom}));
  EXPECT_TRUE(E->Visible());
  EXPECT_EQ(E->GetText(), "Value 1");
  EXPECT_EQ(E->GetSelLength(), 7);  // loaded text is all selected
  E->Move(TRect{10, 20, 110, 38});
  EXPECT_EQ(E->GetBoundsRect(), (TRect{10, 21, 109, 38}));
  E->Move(TRect{});
  EXPECT_FALSE(E->Visible());
}

TEST_F(GridTest, TypingOpensTheEditorAndWritesEveryKeystroke) {
  Grid->SetRowCount(5);
  ClientSize(200, 200);
  Focus();
  int GridKeyPresses = 0;
  Grid->OnKeyPress = [&](TObject*, char32_t&) { ++GridKeyPresses; };
  Grid->Take();
  D.TypeText("ab");
  ASSERT_NE(Grid->GetInplaceEditor(), nullptr);
  EXPECT_EQ(Grid->GetInplaceEditor()->GetText(), "ab");
  EXPECT_EQ(Grid->GetValue(0), "ab");
  std::vector<std::string> Log = Grid->Take();
  std::vector<std::string> Writes;
  for (const std::string& L : Log)
    if (L.rfind("SetEditText", 0) == 0) Writes.push_back(L);
  // One write per keystroke, and none for loading the editor.
  EXPECT_EQ(Writes, (std::vector<std::string>{"SetEditText 0 a", "SetEditText 0 ab"}));
  EXPECT_EQ(GridKeyPresses, 2);  // the editor hands characters to the grid's KeyPress first
}

TEST_F(GridTest, MovingWritesTheOldRowBeforeLoadingTheNewOne) {
  Grid->SetRowCount(5);
  ClientSize(200, 200);
  Focus();
  D.TypeText("x");
  Grid->Take();
  Key(VK_DOWN);
  std::vector<std::string> Log = Grid->Take();
  auto Find = [&](const std::string& S) {
    for (size_t I = 0; I < Log.size(); ++I)
      if (Log[I] == S) return int(I);
    return -1;
  };
  int Write = Find("SetEditText 0 x"), Load = Find("GetEditText 1");
  ASSERT_GE(Write, 0);
  ASSERT_GE(Load, 0);
  EXPECT_LT(Write, Load);
  EXPECT_EQ(Grid->GetInplaceEditor()->GetText(), "Value 2");
  EXPECT_EQ(Grid->GetValue(0), "x");
}

TEST_F(GridTest, F2KeepsTheValueWithTheCaretAtTheEnd) {
  Grid->SetRowCount(2);
  ClientSize(200, 200);
  Focus();
  Key(VK_F2);
  TInplaceEdit* E = Grid->GetInplaceEditor();
  ASSERT_NE(E, nullptr);
  EXPECT_TRUE(Grid->GetEditorMode());
  EXPECT_EQ(E->GetSelLength(), 0);
  EXPECT_EQ(E->GetSelStart(), 7);
  Key(VK_RETURN);  // all text selected again
  EXPECT_EQ(E->GetSelLength(), 7);
  Key(VK_RETURN);
  EXPECT_EQ(E->GetSelLength(), 0);
}

TEST_F(GridTest, EscapeRestoresTheTextFromBeforeTheEdit) {
  Grid->SetRowCount(2);
  ClientSize(200, 200);
  Focus();
  Key(VK_F2);
  D.TypeText("zz");
  EXPECT_EQ(Grid->GetValue(0), "Value 1zz");
  Key(VK_ESCAPE);
  EXPECT_EQ(Grid->GetInplaceEditor()->GetText(), "Value 1");
}

TEST_F(GridTest, ScrollingMovesTheEditorWithItsCell) {
  Grid->SetRowCount(50);
  ClientSize(200, 190);
  Focus();
  Grid->SetRow(12);
  Grid->ShowEditor();
  TInplaceEdit* E = Grid->GetInplaceEditor();
  ASSERT_NE(E, nullptr);
  SendMessage(Grid->GetHandle(), WM_VSCROLL, SB_LINEDOWN, 0);
  TRect Cell = Grid->CellRect(1, 12);
  EXPECT_EQ(E->GetBoundsRect().Top, Cell.Top + 1);
}

TEST_F(GridTest, AClickOnTheCurrentRowOpensTheEditor) {
  Grid->SetRowCount(5);
  ClientSize(200, 200);
  D.ClickAt(Grid, 100, 2 * 19 + 3);
  EXPECT_EQ(Grid->GetRow(), 2);
  D.Advance(1000);
  D.ClickAt(Grid, 100, 2 * 19 + 3);
  ASSERT_NE(Grid->GetInplaceEditor(), nullptr);
  EXPECT_TRUE(Grid->GetInplaceEditor()->Visible());
}

}  // namespace plumb::test

namespace plumb::test {

TEST_F(GridTest, ShowEditorWaitsUntilEditingIsPossible) {
  TLoggingGrid Loose(nullptr);  // no window yet
  Loose.ShowEditor();
  EXPECT_TRUE(Loose.GetEditorMode());
  EXPECT_EQ(Loose.GetInplaceEditor(), nullptr);
  Grid->SetOptions(Grid->GetOptions() - goEditing);
  Focus();
  Grid->ShowEditor();
  EXPECT_EQ(Grid->GetInplaceEditor(), nullptr);
  Grid->SetOptions(Grid->GetOptions() + goEditing);
  Grid->UpdateEdit();
  ASSERT_NE(Grid->GetInplaceEditor(), nullptr);
  EXPECT_TRUE(Grid->GetInplaceEditor()->Visible());
}

TEST_F(GridTest, ACharacterForAnEditorThatCannotOpenIsNotWrittenAnywhere) {
  Grid->SetRowCount(6);
  Grid->SetOptions(Grid->GetOptions() - goAlwaysShowEditor);
  ClientSize(200, 200);
  Focus();
  Grid->SetRow(2);
  Grid->ShowEditor();  // the editor last holds row 2
  Grid->SetRow(4);     // and hides
  Grid->SetOptions(Grid->GetOptions() - goEditing);
  D.RunUntilIdle();
  Grid->Take();
  const std::string Before = Grid->GetValue(2);
  Grid->ShowEditorChar('x');
  D.RunUntilIdle();
  EXPECT_FALSE(Grid->GetInplaceEditor()->Visible());
  for (const std::string& L : Grid->Take()) EXPECT_NE(L.rfind("SetEditText", 0), 0u) << L;
  EXPECT_EQ(Grid->GetValue(2), Before);
}

TEST_F(GridTest, AfterResetHidingTheEditorWritesNothing) {
  Grid->SetRowCount(3);
  ClientSize(200, 200);
  Focus();
  Grid->ShowEditor();
  Grid->Take();
  Grid->Reset();
  for (const std::string& L : Grid->Take()) EXPECT_NE(L.rfind("SetEditText", 0), 0u) << L;
  EXPECT_FALSE(Grid->GetInplaceEditor()->Visible());
}

namespace {
class TReadOnlyGrid : public TLoggingGrid {
  PLUMB_CLASS(TReadOnlyGrid, TLoggingGrid)
  using TLoggingGrid::TLoggingGrid;

  using TCustomPlumbGrid::CanEditModify;

 protected:
  Integer GetEditLimit() override { return -1; }
};
}  // namespace

TEST_F(GridTest, AnEditLimitOfMinusOneMakesTheCellReadOnly) {
  auto* RO = new TReadOnlyGrid(Form);
  RO->SetParent(Form);
  RO->SetBounds(320, 10, 200, 100);
  RO->SetFocus();
  D.RunUntilIdle();
  Key(VK_F2);
  ASSERT_NE(RO->GetInplaceEditor(), nullptr);
  EXPECT_FALSE(RO->CanEditModify());
  D.TypeText("xy");
  Key(VK_BACK);
  Key(VK_DELETE);
  EXPECT_EQ(RO->GetInplaceEditor()->GetText(), "Value 1");
  Key(VK_HOME);  // the caret still moves
  EXPECT_EQ(RO->GetInplaceEditor()->GetSelStart(), 0);
}

TEST_F(GridTest, FocusMovingIntoTheEditorKeepsIt) {
  Grid->SetRowCount(3);
  ClientSize(200, 200);
  Focus();
  Grid->ShowEditor();
  TInplaceEdit* E = Grid->GetInplaceEditor();
  ASSERT_NE(E, nullptr);
  E->SetFocus();
  D.RunUntilIdle();
  EXPECT_TRUE(E->Visible());
  auto* Other = new TEdit(Form);
  Other->SetParent(Form);
  Other->SetBounds(10, 300, 100, 24);
  Grid->SetOptions(Grid->GetOptions() - goAlwaysShowEditor);
  Grid->ShowEditor();
  Other->SetFocus();  // focus leaves the grid: the editor goes
  D.RunUntilIdle();
  EXPECT_FALSE(E->Visible());
}

TEST_F(GridTest, AGridClickThenAnEditorClickMakeADoubleClick) {
  Grid->SetRowCount(3);
  ClientSize(200, 200);
  int DblClicks = 0;
  Grid->OnDblClick = [&](TObject*) { ++DblClicks; };
  D.ClickAt(Grid, 100, 5);  // the current row: opens the editor
  ASSERT_NE(Grid->GetInplaceEditor(), nullptr);
  D.Advance(100);
  D.ClickAt(Grid->GetInplaceEditor(), 20, 5);
  EXPECT_EQ(DblClicks, 1);
  // Still within the double-click time of the grid click, but away from the last click:
  // only a last click time that was not reset would make this a double click.
  D.Advance(100);
  D.ClickAt(Grid->GetInplaceEditor(), 60, 5);
  EXPECT_EQ(DblClicks, 1);
}

}  // namespace plumb::test
