// The editor always shows, and writes, the row it lies on: rows taken away, fixed rows, the
// editing option and the lines changed under an open editor (issue 11).
#include <map>

#include "GridTestUtil.h"

namespace plumb::test {

class EditorRowTest : public GridTest {
 protected:
  TInplaceEdit* Editor() { return Grid->GetInplaceEditor(); }

  // The editor shows over the current row, one pixel inside its cell, with that row's text.
  void ExpectEditorOn(Integer Row) {
    ASSERT_NE(Editor(), nullptr);
    ASSERT_TRUE(Editor()->Visible());
    EXPECT_EQ(Grid->GetRow(), Row);
    TRect Cell = Grid->CellRect(1, Row);
    EXPECT_EQ(Editor()->GetBoundsRect(),
              (TRect{Cell.Left, Cell.Top + 1, Cell.Right - 1, Cell.Bottom}));
    EXPECT_EQ(Editor()->GetText(), Grid->GetValue(Row));
  }
  // Every row holds its own text but the rows edited.
  void ExpectValues(const std::map<Integer, std::string>& Edited) {
    for (Integer R = 0; R < 2000; ++R) {
      auto It = Edited.find(R);
      std::string Want = It != Edited.end() ? It->second : "Value " + std::to_string(R + 1);
      ASSERT_EQ(Grid->GetValue(R), Want) << "row " << R;
    }
  }
  void TypeInto(Integer Row, const std::string& Text) {
    Grid->SetRow(Row);
    D.TypeText(Text);
  }
};

TEST_F(EditorRowTest, RowsTakenAwayUnderTheEditor) {
  Grid->SetRowCount(1077);
  ClientSize(200, 200);
  Focus();
  TypeInto(1076, "x");
  Grid->SetRowCount(825);
  D.RunUntilIdle();
  ExpectEditorOn(824);
  D.TypeText("y");
  ExpectEditorOn(824);
  ExpectValues({{1076, "x"}, {824, "y"}});
}

TEST_F(EditorRowTest, FixedRowsChangedUnderTheEditor) {
  Grid->SetRowCount(1077);
  Grid->SetFixedRows(1);
  ClientSize(200, 200);
  Focus();
  TypeInto(564, "x");
  Grid->SetFixedRows(0);
  D.RunUntilIdle();
  EXPECT_EQ(Grid->GetTopRow(), 0);
  EXPECT_EQ(GetScrollPos(Grid->GetHandle(), SB_VERT), 0);
  ExpectEditorOn(0);
  D.TypeText("z");
  ExpectValues({{564, "x"}, {0, "z"}});
}

TEST_F(EditorRowTest, EditingSwitchedOffUnderTheEditor) {
  Grid->SetRowCount(100);
  ClientSize(200, 200);
  Focus();
  Grid->SetRow(30);
  Key(VK_F2);
  ExpectEditorOn(30);
  Grid->SetOptions(Grid->GetOptions() - goEditing);
  EXPECT_FALSE(Editor()->Visible());
  D.ClickAt(Grid, 100, 3 * 19 + 3);
  Key(VK_HOME, {ssCtrl});
  D.TypeText("X");
  EXPECT_FALSE(Editor()->Visible());
  ExpectValues({});
  Grid->SetOptions(Grid->GetOptions() + goEditing);  // EditorMode is still on
  D.ClickAt(Grid, 100, 3);
  ExpectEditorOn(0);
}

TEST_F(EditorRowTest, AHiddenEditorNeverWritesItsOldText) {
  Grid->SetRowCount(10);
  ClientSize(200, 200);
  Focus();
  TypeInto(2, "x");
  Grid->HideEditor();
  Grid->SetValue(2, "the host's");
  D.ClickAt(Grid, 100, 5, mbRight);  // a press writes back what the editor holds, if shown
  ExpectValues({{2, "the host's"}});
}

TEST_F(EditorRowTest, LinesChangedUnderTheEditor) {
  Grid->SetRowCount(100);
  ClientSize(200, 300);
  Focus();
  TypeInto(6, "x");
  TGridOptions Lines{goFixedVertLine, goFixedHorzLine, goHorzLine};
  const std::vector<std::function<void()>> Changes{
      [&] { Grid->SetGridLineWidth(4); },
      [&] { Grid->SetOptions(Grid->GetOptions() - Lines); },
      [&] { Grid->SetOptions(Grid->GetOptions() + Lines); },
      [&] { Grid->SetGridLineWidth(0); },
  };
  for (size_t I = 0; I < Changes.size(); ++I) {
    SCOPED_TRACE(I);
    Changes[I]();
    D.RunUntilIdle();
    ExpectEditorOn(6);
    EXPECT_EQ(Editor()->GetSelStart(), 1);  // the user's caret stays where it was
  }
  ExpectValues({{6, "x"}});
}

}  // namespace plumb::test
