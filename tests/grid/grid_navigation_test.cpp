#include "GridTestUtil.h"

namespace plumb::test {

TEST_F(GridTest, LayoutOfANewGridAtClientWidths124And129) {
  TLoggingGrid G(nullptr);  // no window, so no column fitting: both columns 64 wide
  TLoggingGrid* Grid = &G;
  TGridLayout L;
  Grid->CalcDrawInfoXY(L, 124, 90);
  EXPECT_EQ(L.Cols.FixedEnd, 65);
  EXPECT_EQ(L.Cols.CellsEnd, 124);
  EXPECT_EQ(L.Cols.WholeCellsEnd, 65);
  EXPECT_EQ(L.Cols.LastWholeCell, 1);
  Grid->CalcDrawInfoXY(L, 129, 90);
  EXPECT_EQ(L.Cols.CellsEnd, 130);
  TGridOptions O = Grid->GetOptions();
  Grid->SetGridLineWidth(3);
  Grid->SetOptions(O - goFixedVertLine);
  Grid->CalcDrawInfoXY(L, 129, 90);
  EXPECT_EQ(L.Cols.LineWidth, 0);
  EXPECT_EQ(L.Rows.LineWidth, 3);
}

TEST_F(GridTest, PointsMapToCellsIncludingTheirTrailingLine) {
  Grid->SetRowCount(3);
  ClientSize(200, 100);
  Integer W0 = Grid->GetColWidths(0);
  EXPECT_EQ(Grid->MouseCoord(W0, 0), (TCellCoord{0, 0}));       // column 0's line
  EXPECT_EQ(Grid->MouseCoord(W0 + 1, 18), (TCellCoord{1, 0}));  // row 0's line
  EXPECT_EQ(Grid->MouseCoord(W0 + 1, 19), (TCellCoord{1, 1}));
  EXPECT_EQ(Grid->MouseCoord(10, 3 * 19), (TCellCoord{-1, -1}));  // below the last row
  EXPECT_EQ(Grid->CellRect(1, 2), (TRect{W0 + 1, 38, 200, 56}));
}

TEST_F(GridTest, CellRectsOfScrolledOutAndPartlyVisibleRows) {
  Grid->SetRowCount(20);
  Grid->SetFixedRows(1);
  ClientSize(200, 100);  // rows of 19: 5 whole rows and a part
  Grid->SetTopRow(5);
  EXPECT_EQ(Grid->CellRect(1, 3), TRect{});
  TRect Part = Grid->CellRect(1, 9);
  EXPECT_EQ(Part.Top, 95);
  EXPECT_EQ(Part.Bottom, 100);
}

TEST_F(GridTest, MovingTheRowFiresTheHooksInOrder) {
  Grid->SetRowCount(10);
  ClientSize(200, 300);
  Grid->SetRow(3);
  Grid->Take();
  Grid->SetRow(4);
  std::vector<std::string> Expected{"ColExit 3", "SelectCell 4", "ColEnter 4"};
  EXPECT_EQ(Grid->Take(), Expected);
  Grid->SetRow(4);  // the present value: nothing at all
  EXPECT_TRUE(Grid->Take().empty());
}

TEST_F(GridTest, ARefusedMoveStillExitsAndClicks) {
  Grid->SetRowCount(10);
  Grid->SetRow(2);
  Grid->RefusedRows.insert(5);
  Grid->Take();
  int Clicks = Grid->Clicks;
  Grid->SetRow(5);
  std::vector<std::string> Expected{"ColExit 2", "SelectCell 5"};
  EXPECT_EQ(Grid->Take(), Expected);
  EXPECT_EQ(Grid->GetRow(), 2);
  EXPECT_EQ(Grid->Clicks, Clicks + 1);
  EXPECT_THROW(Grid->SetRow(10), EInvalidGridOperation);
  EXPECT_EQ(Grid->GetRow(), 2);
}

TEST_F(GridTest, OneRowScrollMovesPixelsOnceAndRepaintsOnlyTheStrip) {
  Grid->SetRowCount(100);
  ClientSize(200, 190);
  D.RunUntilIdle();
  D.Record().Clear();
  Grid->SetTopRow(1);
  ASSERT_EQ(D.Record().ScrollWindows.size(), 1u);
  const TScrollWindowCall& S = D.Record().ScrollWindows[0];
  EXPECT_EQ(S.DX, 0);
  EXPECT_EQ(S.DY, -19);
  EXPECT_EQ(S.Scroll, (TRect{0, 0, Grid->GetClientWidth(), 190}));
  EXPECT_EQ(S.Clip, S.Scroll);
  EXPECT_EQ(S.Flags, UINT(SW_INVALIDATE));
  for (const TInvalidateCall& C : D.Record().Invalidates)
    EXPECT_FALSE(C.Wnd == Grid->GetHandle() && C.Whole);
  TRect Pending;
  GetUpdateRect(Grid->GetHandle(), &Pending, false);
  EXPECT_EQ(Pending, (TRect{0, 171, Grid->GetClientWidth(), 190}));
}

TEST_F(GridTest, AJumpFartherThanTheViewRepaintsEverythingWithoutScrolling) {
  Grid->SetRowCount(100);
  ClientSize(200, 190);
  D.Record().Clear();
  Grid->SetTopRow(50);
  EXPECT_TRUE(D.Record().ScrollWindows.empty());
  EXPECT_EQ(Grid->Take().back(), "TopLeftChanged 50");
}

TEST_F(GridTest, ScrollBarPositionMapsOntoTopRows) {
  Grid->SetRowCount(100);
  ClientSize(200, 200);  // 10 whole rows: the greatest top row is 90
  SendMessage(Grid->GetHandle(), WM_VSCROLL, SB_THUMBPOSITION | (64 << 16), 0);
  EXPECT_EQ(Grid->GetTopRow(), 45);
  EXPECT_EQ(GetScrollPos(Grid->GetHandle(), SB_VERT), 64);
  SendMessage(Grid->GetHandle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(Grid->GetTopRow(), 90);
  D.Record().Clear();
  SendMessage(Grid->GetHandle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(Grid->GetTopRow(), 90);
  EXPECT_TRUE(D.Record().ScrollWindows.empty());
  SendMessage(Grid->GetHandle(), WM_VSCROLL, SB_THUMBTRACK | (0 << 16), 0);
  EXPECT_EQ(Grid->GetTopRow(), 90);  // no thumb tracking by default
  SendMessage(Grid->GetHandle(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(Grid->GetTopRow(), 0);
}

TEST_F(GridTest, GrowingTheWindowUntilAllRowsFitRemovesTheBar) {
  Grid->SetRowCount(20);
  ClientSize(200, 100);
  Grid->SetTopRow(5);
  Grid->SetBounds(10, 10, 220, 450);
  D.RunUntilIdle();
  EXPECT_EQ(Grid->GetTopRow(), 0);
  int Min = 0, Max = 0;
  GetScrollRange(Grid->GetHandle(), SB_VERT, &Min, &Max);
  EXPECT_EQ(Max, 0);
}

TEST_F(GridTest, ColumnFittingGivesColumnOneTheRest) {
  ClientSize(100, 100);
  Grid->SetColWidths(0, 98);
  EXPECT_EQ(Grid->GetColWidths(0), 50);
  EXPECT_EQ(Grid->GetColWidths(1), 49);
  Grid->SetColWidths(0, 40);
  EXPECT_EQ(Grid->GetColWidths(0), 40);
  EXPECT_EQ(Grid->GetColWidths(1), 59);
}

}  // namespace plumb::test
