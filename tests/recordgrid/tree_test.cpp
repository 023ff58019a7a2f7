// The column tree: collapsing and expanding at run time and at design time, a stream's tree
// state put in force on loading, the row count following the visible columns, deep trees, and
// a form with a grid going through a stream and back.
#include "RecordGridTestUtil.h"
#include "core/Filer.h"

namespace plumb::test {

namespace {

// A form whose methods streams can bind column events to.
class TGridForm : public TForm {
  PLUMB_CLASS(TGridForm, TForm)
  using TForm::TForm;
  int TextCalls = 0;
  void NameText(TObject*, Integer, Integer, TStrings*, Variant& Value) {
    ++TextCalls;
    Value = "[" + Value.ToString() + "]";
  }
  static void DescribeProperties(TPropertyList<TGridForm>& P) {
    P.Method("NameText", &TGridForm::NameText);
  }
};

std::vector<std::string> Names(TPlumbGridColumns* C) {
  std::vector<std::string> R;
  for (int I = 0; I < C->Count(); ++I) R.push_back(C->GetColumn(I)->GetFieldName());
  return R;
}

using TNames = std::vector<std::string>;

}  // namespace

class TreeTest : public RecordGridTest {
 protected:
  // The worked example: A at 0, B and C at 1, D at 2 under C, E at 0.
  void BuildExample() { Build({{"A", 0}, {"B", 1}, {"C", 1}, {"D", 2}, {"E", 0}}); }
  void ExpectRows(const TNames& Want) {
    EXPECT_EQ(Names(Grid->GetColumns()), Want);
    EXPECT_EQ(Grid->GetRowCount(), Integer(Want.size()));
  }
};

TEST_F(TreeTest, DoubleClicksCollapseEverythingBelowIntoTheParent) {
  BuildExample();
  ExpectRows({"A", "B", "C", "D", "E"});
  int DblClicks = 0;
  Grid->OnDblClick = [&](TObject*) { ++DblClicks; };
  D.DoubleClickAt(Grid, 10, 5);  // expands A (nothing hidden yet)
  D.Advance(1000);
  D.DoubleClickAt(Grid, 10, 5);  // collapses it: C is not expanded, so D goes straight to A
  ExpectRows({"A", "E"});
  EXPECT_EQ(Names(Grid->Row(0)->GetHiddenChildren()), (TNames{"B", "C", "D"}));
  EXPECT_EQ(DblClicks, 0);
  D.Advance(1000);
  D.DoubleClickAt(Grid, 10, 19 + 5);  // E has no children: nothing
  ExpectRows({"A", "E"});
}

TEST_F(TreeTest, AnExpandedChildKeepsItsOwnDescendants) {
  BuildExample();
  Grid->Row(2)->SetExpanded(true);  // C
  Grid->Row(0)->SetExpanded(true);
  Grid->Row(0)->SetExpanded(false);
  ExpectRows({"A", "E"});
  TPlumbGridColumns* UnderA = Grid->Row(0)->GetHiddenChildren();
  EXPECT_EQ(Names(UnderA), (TNames{"B", "C"}));
  EXPECT_EQ(Names(UnderA->GetColumn(1)->GetHiddenChildren()), (TNames{"D"}));
  EXPECT_FALSE(UnderA->GetColumn(1)->GetExpanded());
  Grid->Row(0)->SetExpanded(true);  // one level comes back; C stays collapsed
  ExpectRows({"A", "B", "C", "E"});
  Grid->Row(2)->SetExpanded(true);
  ExpectRows({"A", "B", "C", "D", "E"});
}

TEST_F(TreeTest, TitlesShowLevelAndState) {
  BuildExample();
  Grid->Row(2)->SetExpanded(true);
  Repaint();
  EXPECT_EQ(Grid->Texts(0), (TNames{"+A", "    B", "  - C", "      D", "  E"}));
  Grid->Row(0)->SetExpanded(true);
  Grid->Row(2)->SetExpanded(false);
  Repaint();
  EXPECT_EQ(Grid->Texts(0), (TNames{"- A", "    B", "  +C", "  E"}));
}

TEST_F(TreeTest, AtDesignTimeCollapsingOnlyClearsFlags) {
  Grid->SetDesigning(true);
  Build({{"A", 0}, {"B", 1}, {"C", 2}, {"D", 1}, {"E", 2}, {"F", 0}, {"G", 1}});
  for (int R : {0, 1, 3, 5}) Grid->Row(R)->SetExpanded(true);
  Grid->Row(0)->SetExpanded(false);
  ExpectRows({"A", "B", "C", "D", "E", "F", "G"});
  EXPECT_FALSE(Grid->Row(1)->GetExpanded());  // descendants with children lose the flag
  EXPECT_FALSE(Grid->Row(3)->GetExpanded());
  EXPECT_TRUE(Grid->Row(5)->GetExpanded());  // a following sibling keeps it
  EXPECT_EQ(Grid->Row(0)->GetHiddenChildren()->Count(), 0);
  // Moving a column to the top makes it a root and recomputes every flag.
  Grid->Row(4)->SetIndex(0);
  EXPECT_EQ(Grid->Row(0)->GetIndentLevel(), 0u);
  EXPECT_EQ(Grid->Row(1)->GetIndentLevel(), 0u);  // A
  EXPECT_FALSE(Grid->Row(0)->GetHasChildren());
  EXPECT_TRUE(Grid->Row(1)->GetHasChildren());
}

TEST_F(TreeTest, LevelsStayWithinOneBelowTheRowAbove) {
  Build({{"A", 3}, {"B", 5}, {"C", 1}});
  EXPECT_EQ(Grid->Row(0)->GetIndentLevel(), 0u);
  EXPECT_EQ(Grid->Row(1)->GetIndentLevel(), 1u);
  EXPECT_EQ(Grid->Row(2)->GetIndentLevel(), 1u);
  EXPECT_TRUE(Grid->Row(0)->GetHasChildren());
}

// Rows follow the visible columns through every change; a parent that is freed takes its
// hidden descendants with it.
TEST_F(TreeTest, RowCountFollowsEveryChange) {
  BuildExample();
  TPlumbGridColumns* Columns = Grid->GetColumns();
  Grid->Row(0)->SetExpanded(true);
  Grid->Row(0)->SetExpanded(false);
  EXPECT_EQ(Grid->GetRowCount(), 2);
  delete Grid->Row(1);  // E, directly
  EXPECT_EQ(Grid->GetRowCount(), 1);
  Columns->Add()->SetFieldName("F");
  EXPECT_EQ(Grid->GetRowCount(), 2);
  Columns->Delete(Variant(0));  // A and its hidden children
  ExpectRows({"F"});
  Columns->Clear();
  EXPECT_EQ(Grid->GetRowCount(), 1);
  Build({{"X"}, {"Y"}, {"Z"}});
  EXPECT_EQ(Grid->GetRowCount(), 3);
  Grid->Reset();
  EXPECT_EQ(Grid->GetRowCount(), 1);
  EXPECT_EQ(Grid->GetColumns()->Count(), 1);
}

// A chain each one level deeper than the one before: collapsing, expanding, relayout and
// freeing must not recurse once per level.
TEST_F(TreeTest, AHundredThousandLevelsDeep) {
  const int N = 100000;
  TPlumbGridColumns* Columns = Grid->GetColumns();
  Columns->BeginUpdate();
  for (int I = 0; I < N; ++I) {
    TColumn* C = Columns->Add();
    C->SetIndentLevel(Cardinal(I));
    C->SetExpanded(true);
  }
  Columns->EndUpdate();
  ASSERT_EQ(Grid->GetRowCount(), N);
  Grid->Row(0)->SetExpanded(false);
  EXPECT_EQ(Grid->GetRowCount(), 1);
  Grid->Row(0)->SetExpanded(true);
  EXPECT_EQ(Grid->GetRowCount(), 2);
  EXPECT_EQ(Grid->Row(1)->GetHiddenChildren()->Count(), 1);
  Grid->Reset();
  Grid->SetDesigning(true);
  TPlumbGridColumns* Fresh = Grid->GetColumns();
  for (int I = 0; I < N; ++I) Fresh->Add()->SetIndentLevel(Cardinal(I));
  Grid->Row(0)->SetParentAndLevel();
  EXPECT_TRUE(Grid->Row(N - 2)->GetHasChildren());
  EXPECT_FALSE(Grid->Row(N - 1)->GetHasChildren());
}

// A form saved with its grid and read back at run time: the columns with their pick lists,
// menus, handlers and levels, and the stored tree state in force.
TEST_F(TreeTest, AFormWithAGridGoesThroughAStream) {
  RegisterClass<TGridForm>();
  RegisterClass<TPopupMenu>();
  auto* Saved = new TGridForm(nullptr);
  Saved->SetName("CustomerForm");
  auto* Menu = new TPopupMenu(Saved);
  Menu->SetName("RowMenu");
  auto* G = new TPlumbGrid(Saved);
  G->SetName("Grid");
  G->SetParent(Saved);
  G->SetBounds(5, 6, 200, 150);
  G->SetTitleTextColor(clRed);
  TPlumbGridColumns* Columns = G->GetColumns();
  for (auto [Name, Level] : std::vector<std::pair<std::string, Cardinal>>{
           {"A", 0}, {"B", 1}, {"C", 1}, {"D", 2}, {"E", 0}}) {
    TColumn* C = Columns->Add();
    C->SetFieldName(Name);
    C->SetIndentLevel(Level);
  }
  Columns->GetColumn(1)->GetPickList()->Add("one");
  Columns->GetColumn(1)->SetPopupMenu(Menu);
  Columns->GetColumn(4)->OnGetText.Assign([Saved](TObject* S, Integer C, Integer R, TStrings* P,
                                                  Variant& V) { Saved->NameText(S, C, R, P, V); },
                                          "NameText");
  Columns->GetColumn(4)->SetExpanded(true);
  Columns->GetColumn(0)->SetExpanded(true);
  Columns->GetColumn(0)->SetExpanded(false);  // saved at run time with columns hidden
  std::string Stream = SaveComponentToString(Saved);
  delete Saved;

  auto* Read = static_cast<TGridForm*>(LoadComponentFromString(Stream));
  auto* Back = static_cast<TPlumbGrid*>(Read->FindComponent("Grid"));
  ASSERT_NE(Back, nullptr);
  EXPECT_EQ(Back->GetParent(), Read);
  EXPECT_EQ(Back->GetBoundsRect(), (TRect{5, 6, 205, 156}));
  EXPECT_EQ(Back->GetTitleTextColor(), clRed);
  // Hints and 3-D edges still follow the form: reading them back did not make them the grid's.
  EXPECT_TRUE(Back->GetParentShowHint());
  EXPECT_TRUE(Back->GetParentCtl3D());
  TPlumbGridColumns* Rows = Back->GetColumns();
  EXPECT_EQ(Names(Rows), (TNames{"A", "E"}));  // A's stored collapse is in force
  EXPECT_TRUE(Rows->GetColumn(1)->GetExpanded());
  Rows->GetColumn(0)->SetExpanded(true);
  EXPECT_EQ(Names(Rows), (TNames{"A", "B", "C", "E"}));  // C came back collapsed, D under it
  TColumn* B = Rows->GetColumn(1);
  EXPECT_EQ(B->GetPickList()->Get(0), "one");
  EXPECT_EQ(B->GetPopupMenu(), Read->FindComponent("RowMenu"));
  EXPECT_EQ(Rows->GetColumn(2)->GetIndentLevel(), 1u);
  TColumn* E = Rows->GetColumn(3);
  EXPECT_EQ(E->OnGetText.HandlerName(), "NameText");
  Variant V = "x";
  E->OnGetText(Back, 1, 3, nullptr, V);
  EXPECT_EQ(V.ToString(), "[x]");
  EXPECT_EQ(Read->TextCalls, 1);
  delete Read;
}

}  // namespace plumb::test
