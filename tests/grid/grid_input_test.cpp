#include "GridTestUtil.h"

namespace plumb::test {

TEST_F(GridTest, ArrowsMoveByRowsAndStopAtTheEnds) {
  Grid->SetRowCount(5);
  ClientSize(200, 200);
  Focus();
  Key(VK_RIGHT);
  EXPECT_EQ(Grid->GetRow(), 1);  // Right acts as Down
  Key(VK_END);
  EXPECT_EQ(Grid->GetRow(), 4);
  int Clicks = Grid->Clicks;
  Key(VK_DOWN);
  EXPECT_EQ(Grid->GetRow(), 4);
  EXPECT_EQ(Grid->Clicks, Clicks);  // a clamped key makes no move at all
  Key(VK_HOME);
  EXPECT_EQ(Grid->GetRow(), 0);
  EXPECT_EQ(Grid->GetCol(), 1);
}

TEST_F(GridTest, PagesStopAtTheGreatestTopRow) {
  Grid->SetRowCount(30);
  ClientSize(200, 190);  // 10 whole rows: a page is 9
  Focus();
  Key(VK_NEXT);
  EXPECT_EQ(Grid->GetRow(), 9);
  EXPECT_EQ(Grid->GetTopRow(), 9);
  Key(VK_NEXT);
  Key(VK_NEXT);
  EXPECT_EQ(Grid->GetTopRow(), 20);
  EXPECT_EQ(Grid->GetRow(), 27);
  Key(VK_NEXT);
  EXPECT_EQ(Grid->GetRow(), 29);
  Key(VK_PRIOR);
  EXPECT_EQ(Grid->GetTopRow(), 11);
  EXPECT_EQ(Grid->GetRow(), 20);
}

TEST_F(GridTest, CtrlDownScrollsWithoutMovingTheCurrentRow) {
  Grid->SetRowCount(30);
  ClientSize(200, 190);
  Focus();
  Key(VK_DOWN, TShiftState{ssCtrl});
  EXPECT_EQ(Grid->GetTopRow(), 1);
  EXPECT_EQ(Grid->GetRow(), 0);
}

TEST_F(GridTest, ShiftExtendsTheSelectionFromTheAnchor) {
  TGridOptions O = Grid->GetOptions();
  Grid->SetOptions(O - goEditing);  // with editing every anchor move moves the current cell
  Grid->SetRowCount(10);
  ClientSize(200, 200);
  Focus();
  Grid->SetRow(4);
  Key(VK_DOWN, TShiftState{ssShift});
  EXPECT_EQ(Grid->GetRow(), 5);
  EXPECT_EQ(Grid->GetSelection(), (TCellRange{1, 4, 1, 5}));
}

TEST_F(GridTest, TabWrapsFromTheLastRowAndShiftTabBack) {
  TGridOptions O = Grid->GetOptions();
  Grid->SetOptions(O + goTabs);
  Grid->SetRowCount(4);
  ClientSize(200, 200);
  Focus();
  EXPECT_EQ(SendMessage(Grid->GetHandle(), WM_GETDLGCODE, 0, 0),
            DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS);
  Key(VK_TAB, TShiftState{ssShift});
  EXPECT_EQ(Grid->GetRow(), 3);
  EXPECT_EQ(Grid->GetSelection(), (TCellRange{1, 3, 1, 3}));  // the anchor moved along
  Key(VK_TAB);
  EXPECT_EQ(Grid->GetRow(), 0);
  Key(VK_TAB);
  EXPECT_EQ(Grid->GetRow(), 1);
}

TEST_F(GridTest, DialogCodeWithTheDefaultOptions) {
  EXPECT_EQ(SendMessage(Grid->GetHandle(), WM_GETDLGCODE, 0, 0), 0x81);
}

TEST_F(GridTest, AKeyDownHandlerCanStopNavigation) {
  Grid->SetRowCount(5);
  ClientSize(200, 200);
  Grid->OnKeyDown = [](TObject*, Word& K, TShiftState) { K = 0; };
  Focus();
  Key(VK_DOWN);
  EXPECT_EQ(Grid->GetRow(), 0);
}

TEST_F(GridTest, ClicksSelectRowsInColumnOne) {
  Grid->SetRowCount(10);
  ClientSize(200, 200);
  D.ClickAt(Grid, 5, 5 * 19 + 3);  // the title cell of row 5
  EXPECT_EQ(Grid->GetRow(), 5);
  EXPECT_EQ(Grid->GetCol(), 1);
  EXPECT_TRUE(Grid->Focused());
  D.Advance(1000);
  D.ClickAt(Grid, 100, 190);  // below the last row: nothing
  EXPECT_EQ(Grid->GetRow(), 5);
  D.Advance(1000);
  D.ClickAt(Grid, 100, 2 * 19 + 3, mbRight);
  EXPECT_EQ(Grid->GetRow(), 5);
}

TEST_F(GridTest, ADoubleClickIsPassedOnAndMovesNothing) {
  Grid->SetRowCount(10);
  ClientSize(200, 200);
  int DblClicks = 0;
  Grid->OnDblClick = [&](TObject*) { ++DblClicks; };
  D.DoubleClickAt(Grid, 100, 3 * 19 + 3);
  EXPECT_EQ(DblClicks, 1);
  EXPECT_EQ(Grid->GetRow(), 3);  // the first press moved, the second did not
}

TEST_F(GridTest, TheSizingZoneHasExactEdges) {
  ClientSize(251, 200);
  Grid->SetColWidths(0, 100);
  Integer E = Grid->GetColWidths(0);
  EXPECT_TRUE(Grid->Sizing(E - 3, 500));
  EXPECT_TRUE(Grid->Sizing(E + 4, 0));
  EXPECT_FALSE(Grid->Sizing(E - 4, 0));
  EXPECT_FALSE(Grid->Sizing(E + 5, 0));
  TGridOptions O = Grid->GetOptions();
  Grid->SetOptions(O - goColSizing);
  EXPECT_FALSE(Grid->Sizing(E, 0));
}

TEST_F(GridTest, DraggingTheLineResizesBothColumns) {
  ClientSize(251, 200);
  Grid->SetColWidths(0, 100);
  ASSERT_EQ(Grid->GetColWidths(1), 150);
  D.MouseDownAt(Grid, 100, 10);
  EXPECT_EQ(Grid->GetGridState(), gsColSizing);
  D.MouseMoveAt(Grid, 140, 10);
  D.MouseUpAt(Grid, 140, 10);
  EXPECT_EQ(Grid->GetGridState(), gsNormal);
  EXPECT_EQ(Grid->GetColWidths(0), 140);
  EXPECT_EQ(Grid->GetColWidths(1), 110);
  D.Advance(1000);
  D.MouseDownAt(Grid, 140, 10);
  D.MouseMoveAt(Grid, 249, 10);
  D.MouseUpAt(Grid, 249, 10);
  EXPECT_EQ(Grid->GetColWidths(0), 125);
  EXPECT_EQ(Grid->GetColWidths(1), 125);
  D.Advance(1000);
  D.MouseDownAt(Grid, 125, 10);
  D.MouseMoveAt(Grid, 1, 10);
  D.MouseUpAt(Grid, 1, 10);
  EXPECT_EQ(Grid->GetColWidths(0), 125);
}

TEST_F(GridTest, SizingWithoutColumnFittingKeepsWidthsAtZeroOrMore) {
  Grid->SetScrollBars(ssNone);
  Grid->SetBounds(10, 10, 300, 100);
  D.RunUntilIdle();
  Grid->SetColWidths(0, 64);
  Grid->SetColWidths(1, 64);
  D.MouseDownAt(Grid, 64, 10);
  D.MouseMoveAt(Grid, 280, 10);
  D.MouseUpAt(Grid, 280, 10);
  EXPECT_GE(Grid->GetColWidths(1), 0);
  EXPECT_EQ(Grid->GetColWidths(0) + Grid->GetColWidths(1), 128);
}

TEST_F(GridTest, TheSplitCursorShowsOverTheLine) {
  ClientSize(251, 200);
  Grid->SetColWidths(0, 100);
  D.MouseMoveAt(Grid, 101, 50);
  EXPECT_EQ(D.CurrentCursor(), Screen->GetCursors(crHSplit));
  D.MouseMoveAt(Grid, 180, 50);
  EXPECT_NE(D.CurrentCursor(), Screen->GetCursors(crHSplit));
}

}  // namespace plumb::test

namespace plumb::test {

namespace {
class TCountingDesigner : public TDesigner {
 public:
  int Modifications = 0;
  bool IsDesignMsg(TControl*, TMessage&) override { return false; }
  void Modified() override { ++Modifications; }
  void Notification(TComponent*, TOperation) override {}
};
}  // namespace

TEST_F(GridTest, TheDesignerPassesPressesOnTheLineToTheGrid) {
  ClientSize(251, 200);
  Grid->SetColWidths(0, 100);
  TCountingDesigner Designer;
  Form->SetDesigner(&Designer);
  Grid->SetDesigning(true);
  EXPECT_EQ(Grid->Perform(CM_DESIGNHITTEST, 0, MAKELPARAM(101, 50)), -1);
  EXPECT_EQ(Grid->Perform(CM_DESIGNHITTEST, 0, MAKELPARAM(150, 50)), 0);
  D.MouseDownAt(Grid, 100, 10);
  D.MouseMoveAt(Grid, 130, 10);
  D.MouseUpAt(Grid, 130, 10);
  EXPECT_EQ(Grid->GetColWidths(0), 130);
  EXPECT_EQ(Designer.Modifications, 1);
  Form->SetDesigner(nullptr);
}

}  // namespace plumb::test

namespace plumb::test {

TEST_F(GridTest, EnterTogglesTheEditorOnlyWithoutAlwaysShowEditor) {
  Grid->SetRowCount(3);
  ClientSize(200, 200);
  Focus();
  EXPECT_EQ(Grid->Perform(CM_WANTSPECIALKEY, VK_RETURN, 0), 1);  // the form leaves Enter to us
  Key(VK_RETURN);  // default options: Enter is not ours to consume
  EXPECT_FALSE(Grid->GetEditorMode());
  Grid->SetOptions(Grid->GetOptions() - goAlwaysShowEditor);
  Key(VK_RETURN);
  EXPECT_TRUE(Grid->GetEditorMode());
  ASSERT_NE(Grid->GetInplaceEditor(), nullptr);
  EXPECT_TRUE(Grid->GetInplaceEditor()->Visible());
  Key(VK_RETURN);
  EXPECT_FALSE(Grid->GetEditorMode());
  EXPECT_FALSE(Grid->GetInplaceEditor()->Visible());
}

TEST_F(GridTest, TimedScrollMovesTheAnchorWithinTheGrid) {
  Grid->SetOptions(Grid->GetOptions() - goEditing);
  Grid->SetRowCount(5);
  ClientSize(200, 200);
  Grid->SetRow(4);
  Grid->TimedScroll(TGridScrollDirection{sdDown});
  EXPECT_EQ(Grid->GetSelection(), (TCellRange{1, 4, 1, 4}));  // already on the last row
  Grid->TimedScroll(TGridScrollDirection{sdUp});
  EXPECT_EQ(Grid->GetSelection(), (TCellRange{1, 3, 1, 4}));
  EXPECT_EQ(Grid->GetRow(), 4);
}

TEST_F(GridTest, ASingleColumnScrollsSidewaysByPixels) {
  Grid->SetColCount(1);
  ClientSize(200, 100);
  Grid->SetColWidths(0, 500);
  D.Record().Clear();
  SendMessage(Grid->GetHandle(), WM_HSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(Grid->GetHorzPixelScroll(), 200);
  ASSERT_FALSE(D.Record().ScrollWindows.empty());
  EXPECT_EQ(D.Record().ScrollWindows[0].DX, -200);
  SendMessage(Grid->GetHandle(), WM_HSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(Grid->GetHorzPixelScroll(), 300);  // the column's end at the view's end
  SendMessage(Grid->GetHandle(), WM_HSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(Grid->GetHorzPixelScroll(), 300);
  SendMessage(Grid->GetHandle(), WM_HSCROLL, SB_TOP, 0);
  EXPECT_EQ(Grid->GetHorzPixelScroll(), 0);
}

TEST_F(GridTest, UsingTheScrollBarTakesTheFocusExceptInTheDesigner) {
  Grid->SetRowCount(50);
  ClientSize(200, 100);
  auto* Other = new TEdit(Form);
  Other->SetParent(Form);
  Other->SetBounds(10, 300, 100, 24);
  Other->SetFocus();
  D.RunUntilIdle();
  SendMessage(Grid->GetHandle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_TRUE(Grid->Focused());
  Other->SetFocus();
  Grid->SetDesigning(true);
  SendMessage(Grid->GetHandle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_FALSE(Grid->Focused());
  EXPECT_EQ(Grid->GetTopRow(), 2);
}

}  // namespace plumb::test
