// The mouse wheel: three rows a notch, clamped like the scroll bar, smooth wheels adding up,
// and the editor keeping to its cell.
#include "GridTestUtil.h"

namespace plumb::test {

TEST_F(GridTest, Wheel_ANotchScrollsThreeRowsClampedAtBothEnds) {
  Grid->SetRowCount(30);
  ClientSize(200, 190);  // 10 whole rows: the last top row is 20
  Focus();
  auto Wheel = [&](Integer Delta) { D.MouseWheelAt(Grid, 50, 50, Delta); };
  Wheel(-WHEEL_DELTA);
  EXPECT_EQ(Grid->GetTopRow(), 3);
  EXPECT_EQ(Grid->GetRow(), 0);  // the view moves, not the current cell
  Wheel(-2 * WHEEL_DELTA);
  EXPECT_EQ(Grid->GetTopRow(), 9);
  Wheel(-10 * WHEEL_DELTA);
  EXPECT_EQ(Grid->GetTopRow(), 20);
  EXPECT_EQ(GetScrollPos(Grid->GetHandle(), SB_VERT), 127);
  Grid->Take();
  Wheel(-WHEEL_DELTA);
  EXPECT_EQ(Grid->GetTopRow(), 20);
  EXPECT_TRUE(Grid->Take().empty());  // at the end a notch does nothing at all
  Wheel(WHEEL_DELTA);
  EXPECT_EQ(Grid->GetTopRow(), 17);
  Wheel(10 * WHEEL_DELTA);
  EXPECT_EQ(Grid->GetTopRow(), 0);
  EXPECT_EQ(GetScrollPos(Grid->GetHandle(), SB_VERT), 0);

  // A smooth wheel's parts of a notch make a row as soon as they add up to one; what is left
  // over when the wheel turns back is dropped.
  Wheel(-30);
  EXPECT_EQ(Grid->GetTopRow(), 0);
  Wheel(-30);
  EXPECT_EQ(Grid->GetTopRow(), 1);
  Wheel(-60);
  EXPECT_EQ(Grid->GetTopRow(), 3);
  Wheel(-20);
  Wheel(40);
  EXPECT_EQ(Grid->GetTopRow(), 2);
  EXPECT_EQ(GetFocus(), Grid->GetHandle());

  // While the sizing line is dragged, its picture holds the view still.
  D.MouseDownAt(Grid, Grid->GetColWidths(0), 50);
  ASSERT_EQ(Grid->GetGridState(), gsColSizing);
  Wheel(-WHEEL_DELTA);
  EXPECT_EQ(Grid->GetTopRow(), 2);
  D.MouseUpAt(Grid, Grid->GetColWidths(0), 50);
}

TEST_F(GridTest, Wheel_OverTheEditorScrollsTheGridAndTheEditorKeepsToItsCell) {
  Grid->SetRowCount(50);
  ClientSize(200, 190);
  Focus();
  Grid->SetRow(5);
  Grid->ShowEditor();
  TInplaceEdit* E = Grid->GetInplaceEditor();
  ASSERT_NE(E, nullptr);
  ASSERT_TRUE(E->Visible());
  D.MouseWheelAt(E, 5, 5, -WHEEL_DELTA);  // the editor leaves the wheel to its grid
  EXPECT_EQ(Grid->GetTopRow(), 3);
  TRect Cell = Grid->CellRect(1, 5);
  EXPECT_EQ(E->GetBoundsRect(), (TRect{Cell.Left, Cell.Top + 1, Cell.Right - 1, Cell.Bottom}));
  EXPECT_EQ(GetFocus(), E->GetHandle());

  D.MouseWheelAt(Grid, 50, 50, -WHEEL_DELTA);  // row 5 leaves the view
  EXPECT_EQ(Grid->GetTopRow(), 6);
  EXPECT_FALSE(E->Visible());
  EXPECT_EQ(GetFocus(), Grid->GetHandle());

  D.MouseWheelAt(Grid, 50, 50, WHEEL_DELTA);  // and comes back with its editor
  EXPECT_EQ(Grid->GetTopRow(), 3);
  EXPECT_TRUE(E->Visible());
  EXPECT_EQ(E->GetBoundsRect().Top, Grid->CellRect(1, 5).Top + 1);
  EXPECT_EQ(Grid->GetRow(), 5);
}

}  // namespace plumb::test
