#include "GridTestUtil.h"
#include "core/Filer.h"

namespace plumb::test {

TEST_F(GridTest, NewGridHasItsDefaults) {
  TLoggingGrid G(nullptr);
  EXPECT_EQ(G.GetColCount(), 2);
  EXPECT_EQ(G.GetRowCount(), 1);
  EXPECT_EQ(G.GetFixedCols(), 1);
  EXPECT_EQ(G.GetFixedRows(), 0);
  EXPECT_EQ(G.GetCol(), 1);
  EXPECT_EQ(G.GetRow(), 0);
  EXPECT_EQ(G.GetLeftCol(), 1);
  EXPECT_EQ(G.GetTopRow(), 0);
  EXPECT_EQ(G.GetWidth(), 128);
  EXPECT_EQ(G.GetHeight(), 90);
  EXPECT_EQ(G.GetColor(), clBtnFace);
  EXPECT_EQ(G.GetFixedColor(), clBtnFace);
  EXPECT_EQ(G.GetOptions().Stored(), 366);
  EXPECT_EQ(G.GetScrollBars(), ssVertical);
  EXPECT_EQ(G.GetRowHeight(), 18);
  EXPECT_EQ(G.GetDefaultColWidth(), 64);
  EXPECT_EQ(G.GetGridLineWidth(), 1);
  EXPECT_EQ(G.GetFocusBorder(), fbEtched);
  EXPECT_EQ(G.GetBorderStyle(), bsSingle);
  EXPECT_TRUE(G.GetTabStop());
  EXPECT_FALSE(G.GetEditorMode());
  EXPECT_TRUE(G.GetTabStops(1));
  EXPECT_EQ(G.GetSelection(), (TCellRange{1, 0, 1, 0}));
  TControlStyle Style = G.GetControlStyle();
  EXPECT_TRUE(Style.Contains(csCaptureMouse) && Style.Contains(csOpaque) &&
              Style.Contains(csDoubleClicks));
}

TEST_F(GridTest, SettersThatStoreTheSameValueDoNothing) {
  ClientSize(200, 150);
  D.Record().Clear();
  Grid->SetFixedColor(clBtnFace);
  Grid->SetGridLineWidth(1);
  Grid->SetFocusBorder(fbEtched);
  Grid->SetOptions(Grid->GetOptions());
  Grid->SetRowCount(1);
  Grid->SetColCount(2);
  EXPECT_TRUE(D.Record().Invalidates.empty());
  EXPECT_EQ(Grid->SizeChanges, 0);
  Grid->SetRowCount(3);
  Grid->SetRowCount(3);
  EXPECT_EQ(Grid->SizeChanges, 1);
  Grid->SetFixedColor(clWindow);
  EXPECT_FALSE(D.Record().Invalidates.empty());
}

TEST_F(GridTest, FixedCountsAreCheckedAndResetThePositions) {
  EXPECT_THROW(Grid->SetFixedRows(1), EInvalidGridOperation);
  EXPECT_THROW(Grid->SetFixedRows(-1), EInvalidGridOperation);
  EXPECT_THROW(Grid->SetFixedCols(2), EInvalidGridOperation);
  EXPECT_EQ(Grid->GetFixedRows(), 0);
  Grid->SetColCount(0);  // acts as 1 and lowers the fixed columns
  EXPECT_EQ(Grid->GetColCount(), 1);
  EXPECT_EQ(Grid->GetFixedCols(), 0);
  EXPECT_EQ(Grid->GetCol(), 0);
}

TEST_F(GridTest, ResetLeavesOneRowWithoutSizeChanged) {
  Grid->SetRowCount(10);
  Grid->SetFixedRows(2);  // one row has no room for them: the current cell stays inside
  Grid->SizeChanges = 0;
  Grid->Reset();
  EXPECT_EQ(Grid->GetRowCount(), 1);
  EXPECT_EQ(Grid->SizeChanges, 0);
  EXPECT_EQ(Grid->GetFixedRows(), 0);
  EXPECT_EQ(Grid->GetRow(), 0);
  EXPECT_EQ(Grid->GetTopRow(), 0);
  D.RunUntilIdle();
}

namespace {
class TFailingSizeGrid : public TLoggingGrid {
  PLUMB_CLASS(TFailingSizeGrid, TLoggingGrid)
  using TLoggingGrid::TLoggingGrid;
  bool Fail = false;

 protected:
  void SizeChanged(Integer OldColCount, Integer OldRowCount) override {
    TLoggingGrid::SizeChanged(OldColCount, OldRowCount);
    if (Fail) {
      Fail = false;
      throw EInvalidGridOperation("refused");
    }
  }
};
}  // namespace

TEST_F(GridTest, AFailedCountChangeIsUndoneWholeScrollBarIncluded) {
  auto* G = new TFailingSizeGrid(Form);
  G->SetParent(Form);
  G->SetBounds(10, 10, 200, 200);
  G->SetRowCount(3);
  D.RunUntilIdle();
  int Min = 0, Max = 0;
  GetScrollRange(G->GetHandle(), SB_VERT, &Min, &Max);
  EXPECT_EQ(Max, 0);
  G->Fail = true;
  G->SizeChanges = 0;
  EXPECT_THROW(G->SetRowCount(1000), EInvalidGridOperation);
  EXPECT_EQ(G->GetRowCount(), 3);
  EXPECT_EQ(G->SizeChanges, 2);  // told of the change and of its undoing
  GetScrollRange(G->GetHandle(), SB_VERT, &Min, &Max);
  EXPECT_EQ(Max, 0);  // no bar for rows that all fit
}

TEST_F(GridTest, ColumnWidthsAreStoredOnlyOnceSetAndFollowCountChanges) {
  TLoggingGrid G(nullptr);  // no window: no column fitting
  EXPECT_EQ(G.GetColWidths(5), 64);
  G.SetColWidths(1, 100);
  EXPECT_EQ(G.GetColWidths(0), 64);
  EXPECT_EQ(G.GetColWidths(1), 100);
  EXPECT_THROW(G.SetColWidths(2, 10), EInvalidGridOperation);
  G.SetColCount(3);
  EXPECT_EQ(G.GetColWidths(1), 100);
  EXPECT_EQ(G.GetColWidths(2), 64);
  G.SetColCount(1);
  EXPECT_EQ(G.GetColWidths(0), 64);
  G.SetColCount(2);
  EXPECT_EQ(G.GetColWidths(1), 64);  // a lost column does not come back
  G.SetColWidths(1, 100);
  G.SetDefaultColWidth(80);
  EXPECT_EQ(G.GetColWidths(0), 80);
  EXPECT_EQ(G.GetColWidths(1), 80);
  G.SetTabStops(1, false);
  EXPECT_FALSE(G.GetTabStops(1));
  EXPECT_TRUE(G.GetTabStops(0));
}

namespace {
class TStreamedGrid : public TLoggingGrid {
  PLUMB_CLASS(TStreamedGrid, TLoggingGrid)
  using TLoggingGrid::TLoggingGrid;
};
}  // namespace

TEST_F(GridTest, ColWidthsStreamAsAListOfEveryColumn) {
  RegisterClass<TStreamedGrid>();
  TStreamedGrid G(nullptr);
  G.SetName("Grid1");
  EXPECT_EQ(SaveComponentToString(&G).find("ColWidths"), std::string::npos);
  G.SetColWidths(1, 100);
  std::string Text = SaveComponentToString(&G);
  std::string Compact;
  for (char C : Text)
    if (!isspace((unsigned char)C)) Compact += C;
  EXPECT_NE(Compact.find("\"ColWidths\":[64,100]"), std::string::npos) << Text;
  TStreamedGrid Copy(nullptr);
  LoadComponentFromString(Text, &Copy);
  EXPECT_EQ(Copy.GetColWidths(0), 64);
  EXPECT_EQ(Copy.GetColWidths(1), 100);
  G.SetDefaultColWidth(80);
  EXPECT_EQ(SaveComponentToString(&G).find("ColWidths"), std::string::npos);
}

// Issue 17: a read that fails after (or while) reading the widths leaves the list exactly as
// it was, so a grid that had none saves none.
TEST_F(GridTest, AFailedReadLeavesTheWidthListAsItWas) {
  RegisterClass<TStreamedGrid>();
  const char* Streams[] = {
      R"({"class": "TStreamedGrid", "properties": {"ColWidths": [10, 20], "Nonsense": 1}})",
      R"({"class": "TStreamedGrid", "properties": {"ColWidths": [10, "wide"]}})",
      R"({"class": "TStreamedGrid", "properties": {"ColWidths": [10, 20, 30]}})"};
  for (bool HadList : {false, true}) {
    TStreamedGrid G(nullptr);
    G.SetName("Grid1");
    if (HadList) G.SetColWidths(0, 70);
    std::string Before = SaveComponentToString(&G);
    for (const char* Stream : Streams) {
      EXPECT_THROW(LoadComponentFromString(Stream, &G), EReadError) << Stream;
      EXPECT_EQ(SaveComponentToString(&G), Before) << Stream;
      EXPECT_EQ(G.GetColWidths(0), HadList ? 70 : 64) << Stream;
    }
  }
}

TEST_F(GridTest, LoweringTheRowCountMovesTheCurrentRowAndAnchor) {
  Grid->SetRowCount(10);
  Grid->SetRow(8);
  Grid->SetRowCount(5);
  EXPECT_EQ(Grid->GetRow(), 4);
  EXPECT_EQ(Grid->GetSelection(), (TCellRange{1, 4, 1, 4}));
}

TEST_F(GridTest, AddingRowsBelowAFullViewRepaintsNothing) {
  Grid->SetRowCount(50);
  ClientSize(200, 150);
  D.Record().Clear();
  Grid->SetRowCount(60);
  for (const TInvalidateCall& C : D.Record().Invalidates)
    EXPECT_TRUE(C.Wnd != Grid->GetHandle() || C.Validate) << C.Rect.Left << "," << C.Rect.Top;
}

}  // namespace plumb::test
