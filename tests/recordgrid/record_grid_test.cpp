// The record grid on a data set: values drawn and aligned, placeholders, colours, row menus,
// freed menus, fields and sources, what the data set's notifications repaint and reload, the
// editor staying with the column it edits, and the input method per row.
#include <set>

#include "RecordGridTestUtil.h"

namespace plumb::test {

namespace {
const TTextOutRecord* Find(const std::vector<TTextOutRecord>& Drawn, const std::string& Text) {
  for (const TTextOutRecord& T : Drawn)
    if (T.Text == Text) return &T;
  return nullptr;
}
}  // namespace

TEST_F(RecordGridTest, ValuesAreAlignedAndColouredPerCell) {
  Data->FieldByName("Age")->SetAlignment(taRightJustify);
  Build({{"Name"}, {"Age"}, {"City"}, {"Notes"}, {"Photo"}});
  Grid->Row(2)->SetAlignment(taCenter);
  Grid->SetTitleTextColor(clRed);
  Grid->SetDataTextColor(clBlue);
  Grid->SetOptions(Grid->GetOptions() + goDrawFocusSelected);
  Bind();
  Repaint();
  TCanvas* Canvas = Grid->GetCanvas();
  const TTextOutRecord *Ann = Find(Grid->Drawn, "Ann"), *Age = Find(Grid->Drawn, "31"),
                       *City = Find(Grid->Drawn, "Oslo");
  ASSERT_TRUE(Ann && Age && City);
  TRect AgeCell = Grid->CellRect(1, 1), CityCell = Grid->CellRect(1, 2);
  EXPECT_EQ(Ann->Pos.X, Grid->CellRect(1, 0).Left + 2);
  EXPECT_EQ(Ann->Pos.Y, Grid->CellRect(1, 0).Top + 2);
  EXPECT_EQ(Age->Pos.X + Canvas->TextWidth("31"), AgeCell.Right - 4);
  EXPECT_EQ(City->Pos.X,
            CityCell.Left + (CityCell.Width() - 1) / 2 - Canvas->TextWidth("Oslo") / 2);
  EXPECT_EQ(Age->Rect.Right, AgeCell.Right - 1);  // clipped to the cell less its last pixel
  EXPECT_EQ(Ann->Color, clCaptionText);           // the current, selected cell
  EXPECT_EQ(Age->Color, clBlue);
  EXPECT_EQ(Find(Grid->Drawn, "  Age")->Color, clRed);
  EXPECT_EQ(Grid->Texts(1), (std::vector<std::string>{"Ann", "31", "Oslo", "<Memo>", "<Blob>"}));
  // A closed data set: placeholders still show, ordinary values do not; OnGetText sees both.
  Grid->Row(0)->OnGetText = [](TObject*, Integer, Integer, TStrings*, Variant& V) {
    V = "<" + V.ToString() + ">";
  };
  Data->Close();
  Repaint();
  EXPECT_EQ(Grid->Texts(1), (std::vector<std::string>{"<>", "", "", "<Memo>", "<Blob>"}));
}

TEST_F(RecordGridTest, ARightClickPopsTheMenuOfItsRowOnly) {
  auto* Menu = new TPopupMenu(Form);
  auto* Copy = new TMenuItem(Menu);
  Copy->SetCaption("Copy");
  Menu->GetItems()->Add(Copy);
  Build({{"Name"}, {"City"}});
  Grid->Row(1)->SetPopupMenu(Menu);
  auto RightUp = [&](Integer Y) {
    return SendMessage(Grid->GetHandle(), WM_RBUTTONUP, 0, MAKELPARAM(40, Y));
  };
  EXPECT_EQ(RightUp(5), 0);       // a row without a menu
  EXPECT_EQ(RightUp(3 * 19), 0);  // below the last row
  EXPECT_FALSE(Menu->GetShowing());
  EXPECT_EQ(RightUp(19 + 5), 1);
  EXPECT_TRUE(Menu->GetShowing());
  EXPECT_EQ(Menu->GetPopupComponent(), Grid);
  EXPECT_EQ(Menu->GetPopupPoint(), Grid->ClientToScreen(TPoint{40, 24}));
  Menu->CloseMenu();
  Menu->SetAutoPopup(false);
  EXPECT_EQ(RightUp(19 + 5), 0);
}

// Menus and fields used at any depth of hidden children, and the data source, are forgotten
// when they are freed.
TEST_F(RecordGridTest, FreedMenusFieldsAndSourcesAreForgotten) {
  auto* Menu = new TPopupMenu(Form);
  Build({{"Name", 0}, {"City", 1}, {"City", 2}, {"Age", 0}});
  Bind();
  for (int R : {0, 1, 2}) Grid->Row(R)->SetPopupMenu(Menu);
  for (int R : {0, 1, 2}) ASSERT_NE(Grid->Row(R)->GetField(), nullptr);
  Grid->Row(1)->SetExpanded(true);
  Grid->Row(0)->SetExpanded(true);
  Grid->Row(0)->SetExpanded(false);  // the second City now sits two levels down
  delete Menu;
  TField* City = Data->FieldByName("City");
  delete City;
  Grid->Row(0)->SetExpanded(true);
  Grid->Row(1)->SetExpanded(true);
  ASSERT_EQ(Grid->GetRowCount(), 4);
  for (int R : {0, 1, 2}) EXPECT_EQ(Grid->Row(R)->GetPopupMenu(), nullptr) << R;
  for (int R : {1, 2}) EXPECT_EQ(Grid->Row(R)->GetField(), nullptr) << R;
  Repaint();  // nothing left to reach a freed field
  EXPECT_EQ(SendMessage(Grid->GetHandle(), WM_RBUTTONUP, 0, MAKELPARAM(40, 5)), 0);
  delete Source;
  EXPECT_EQ(Grid->GetDataSource(), nullptr);
}

class DataLinkTest : public RecordGridTest {
 protected:
  int Loads = 0;
  void SetUp() override {
    RecordGridTest::SetUp();
    Build({{"Name"}, {"City"}, {"Age"}, {"City"}});
    Grid->Row(2)->OnGetEditText = [this](TObject*, Integer, Integer, TStrings*, Variant&) {
      ++Loads;
    };
    Bind();
    Grid->SetFocus();
    Grid->SetRow(2);
    D.KeyStroke(VK_F2);
  }
  void Watch() {
    Loads = 0;
    D.RunUntilIdle();
    D.Record().Clear();
  }
  // The rows a change repainted, from the rectangles invalidated on the grid.
  std::set<Integer> RepaintedRows() {
    std::set<Integer> Rows;
    for (const TInvalidateCall& C : D.Record().Invalidates)
      if (C.Wnd == Grid->GetHandle() && !C.Validate && !C.Whole)
        for (Integer Y = C.Rect.Top; Y < C.Rect.Bottom; ++Y)
          Rows.insert(Grid->MouseCoord(C.Rect.Left + 1, Y).Y);
    D.Record().Clear();
    return Rows;
  }
};

TEST_F(DataLinkTest, AFieldChangedByOthersRepaintsItsRowsAndReloadsOnlyItsEditor) {
  Data->Edit();
  Watch();
  Data->FieldByName("City")->SetAsString("Bergen");
  EXPECT_EQ(RepaintedRows(), (std::set<Integer>{1, 3}));
  EXPECT_EQ(Loads, 0);  // the editor is on Age
  Data->FieldByName("Age")->SetAsString("32");
  EXPECT_EQ(RepaintedRows(), (std::set<Integer>{2}));
  EXPECT_EQ(Loads, 1);
  EXPECT_EQ(Grid->GetInplaceEditor()->GetText(), "32");
  Data->Cancel();
}

TEST_F(DataLinkTest, WhileTheGridEditsTheRecordItsEditorIsLeftAlone) {
  D.TypeText("4");  // the grid puts the record into edit state
  EXPECT_TRUE(Grid->FEditStartedByGrid);
  EXPECT_EQ(Data->GetState(), dsEdit);
  EXPECT_EQ(Data->FieldByName("Age")->GetAsString(), "314");
  Watch();
  Data->FieldByName("Age")->SetAsString("99");
  EXPECT_EQ(Loads, 0);
  EXPECT_EQ(Grid->GetInplaceEditor()->GetText(), "314");
  Data->Post();
  EXPECT_FALSE(Grid->FEditStartedByGrid);
  Data->Next();  // a new record replaces the editor's text
  EXPECT_EQ(Grid->GetInplaceEditor()->GetText(), "45");
}

// Whatever changes which column sits at the editor's row, the text typed goes to the column it
// was typed for, and the editor then shows the column at its row.
TEST_F(RecordGridTest, TheEditorStaysWithTheColumnItEdits) {
  struct TCase {
    const char* What;
    std::function<void(TPlumbGridColumns*)> Change;
  };
  const std::vector<TCase> Cases{
      {"collapse above",
       [](TPlumbGridColumns* C) {
         C->GetColumn(0)->SetExpanded(true);
         C->GetColumn(0)->SetExpanded(false);
       }},
      {"delete above", [](TPlumbGridColumns* C) { C->Delete(Variant(1)); }},
      {"move above", [](TPlumbGridColumns* C) { C->GetColumn(3)->SetIndex(0); }},
      {"clear", [](TPlumbGridColumns* C) { C->Clear(); }},
      {"delete itself", [](TPlumbGridColumns* C) { C->Delete(Variant(3)); }},
  };
  for (const TCase& T : Cases) {
    SCOPED_TRACE(T.What);
    Grid->Reset();
    Build({{"Name", 0}, {"Age", 1}, {"Notes", 1}, {"City", 0}, {"Age", 0}});
    Bind();
    Grid->SetFocus();
    Grid->SetRow(3);
    D.TypeText("Kiev");  // replaces "Oslo" in City
    ASSERT_EQ(Data->FieldByName("City")->GetAsString(), "Kiev");
    T.Change(Grid->GetColumns());
    D.RunUntilIdle();
    EXPECT_EQ(Data->FieldByName("City")->GetAsString(), "Kiev");
    EXPECT_EQ(Data->FieldByName("Age")->GetAsString(), "31");
    EXPECT_EQ(Data->FieldByName("Name")->GetAsString(), "Ann");
    TInplaceEdit* E = Grid->GetInplaceEditor();
    Integer Row = Grid->GetRow();
    ASSERT_LT(Row, Grid->GetColumns()->Count());
    if (E->Visible()) {
      EXPECT_EQ(Grid->EditorCell().Y, Row);
      TField* F = Grid->Row(Row)->GetField();
      EXPECT_EQ(E->GetText(), F ? (FieldShowsPlaceholder(F) ? "<Memo>" : F->GetAsString()) : "");
    }
    Data->Cancel();
  }
}

TEST_F(RecordGridTest, TheInputMethodFollowsTheRowOnFarEastSystems) {
  Build({{"Name"}, {"City"}});
  Grid->SetImeMode(imClose);
  Grid->SetFocus();
  Grid->Row(1)->SetImeMode(imHira);
  Grid->Row(1)->SetImeName("Kana");
  Grid->SetRow(1);
  EXPECT_EQ(Grid->GetImeMode(), imClose);  // elsewhere the method is not steered
  SysLocale.FarEast = true;
  Grid->SetRow(0);
  Grid->SetRow(1);
  EXPECT_EQ(Grid->GetImeMode(), imHira);
  EXPECT_EQ(Grid->GetImeName(), "Kana");
  Grid->SetRow(0);
  EXPECT_EQ(Grid->GetImeMode(), imDontCare);  // the grid's mode from when it was made
}

}  // namespace plumb::test
