#include "GridTestUtil.h"

namespace plumb::test {

namespace {
uint32_t Rgb(TColor C) {
  return ColorToPixel(C) & 0xFFFFFF;
}
}  // namespace

class GridPaintTest : public GridTest {
 protected:
  uint32_t At(Integer X, Integer Y) {
    TPoint P = D.ToScreen(Grid, X, Y);
    return D.ScreenPixel(P.X, P.Y) & 0xFFFFFF;
  }
};

TEST_F(GridPaintTest, LinesCellsAndBackground) {
  Grid->SetRowCount(4);
  ClientSize(200, 120);
  Integer W0 = Grid->GetColWidths(0);
  EXPECT_EQ(At(150, 37), Rgb(clSilver));           // the line below row 1
  EXPECT_EQ(At(190, 30), Rgb(clBtnFace));          // inside a data cell, right of its text
  EXPECT_EQ(At(150, 4 * 19 + 5), Rgb(clBtnFace));  // below the rows: the background
  // The sunken divider on the right of the title column.
  EXPECT_EQ(At(W0 - 1, 30), Rgb(clBtnHighlight));
  EXPECT_EQ(At(W0 - 2, 30), Rgb(cl3DLight));
  // The current row is framed, etched border in black.
  EXPECT_EQ(At(0, 5), Rgb(clBlack));
}

TEST_F(GridPaintTest, SilverGridsGetDarkerLines) {
  Grid->SetRowCount(4);
  Grid->SetColor(clSilver);
  ClientSize(200, 120);
  EXPECT_EQ(At(150, 37), 0x808080u);
}

TEST_F(GridPaintTest, ThickLinesAreCentredOnTheirGap) {
  Grid->SetRowCount(4);
  Grid->SetGridLineWidth(3);
  ClientSize(200, 150);
  // Rows of 18 plus a 3-pixel line: row 1's line covers y 39..41.
  EXPECT_EQ(At(150, 38), Rgb(clBtnFace));
  EXPECT_EQ(At(150, 39), Rgb(clSilver));
  EXPECT_EQ(At(150, 41), Rgb(clSilver));
  EXPECT_EQ(At(150, 42), Rgb(clBtnFace));
}

TEST_F(GridPaintTest, NoLinesWhenTheLineWidthIsZeroOrNegative) {
  Grid->SetRowCount(4);
  ClientSize(200, 150);
  for (Integer W : {0, -3}) {
    Grid->SetGridLineWidth(W);
    D.RunUntilIdle();
    EXPECT_EQ(At(150, 36), Rgb(clBtnFace)) << W;  // rows touch
    EXPECT_EQ(Grid->MouseCoord(150, 36).Y, 2) << W;
  }
  Grid->SetDefaultRowHeight(-5);
  D.RunUntilIdle();
  Grid->SetDefaultRowHeight(0);
  D.RunUntilIdle();
  // Rows of no height with no lines between them: a far jump must not walk every row passed.
  Grid->SetRowCount(2000000000);
  Grid->MoveTopLeft(Grid->GetLeftCol(), 1999999000);  // TopRow would hold it at the last top row
  D.RunUntilIdle();
  EXPECT_EQ(Grid->GetTopRow(), 1999999000);
  Grid->SetRow(5);
  Grid->SetRow(1999999990);
  D.RunUntilIdle();
  EXPECT_EQ(Grid->GetRow(), 1999999990);
}

TEST_F(GridPaintTest, SnapshotWithTheEditorOnAScrolledRow) {
  Grid->SetRowCount(1000);
  ClientSize(360, 300);
  Grid->SetColWidths(0, 120);
  Focus();
  Grid->SetRow(40);
  D.TypeText("Edited");
  D.RunUntilIdle();
  ASSERT_TRUE(D.SnapshotWindow(Form->GetHandle(), "/tmp/plumbgrid-grid.png"));
  EXPECT_GT(Grid->GetTopRow(), 20);
}

}  // namespace plumb::test
