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
