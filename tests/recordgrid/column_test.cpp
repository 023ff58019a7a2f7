// Columns and their collection: defaults, the names that follow a field, assigned values,
// the free value, masks and buttons, Assign, and finding columns by row and by code.
#include <nlohmann/json.hpp>
#include <set>

#include "RecordGridTestUtil.h"
#include "core/Filer.h"

namespace plumb::test {

TEST_F(RecordGridTest, ANewColumnAndANewGrid) {
  TPlumbGridColumns* Columns = Grid->GetColumns();
  ASSERT_EQ(Columns->Count(), 1);
  EXPECT_EQ(Grid->GetRowCount(), 1);
  TColumn* C = Columns->GetColumn(0);
  EXPECT_EQ(C->GetDropDownRows(), 7u);
  EXPECT_EQ(C->GetButtonStyle(), cbsAuto);
  EXPECT_EQ(C->GetIndentLevel(), 0u);
  EXPECT_FALSE(C->GetExpanded());
  EXPECT_EQ(C->GetDisplayName(), "Column");
  C->SetFieldName("City");
  EXPECT_EQ(C->GetDisplayName(), "City");
  C->SetTitle("Town");
  EXPECT_EQ(C->GetDisplayName(), "Town");
  EXPECT_EQ(Grid->GetOptions().Stored(), 366);
  EXPECT_EQ(Grid->GetColor(), clBtnFace);
  EXPECT_EQ(Grid->GetTitleTextColor(), Grid->GetFont()->GetColor());
  EXPECT_EQ(Grid->GetDataTextColor(), Grid->GetFont()->GetColor());
  // Every published default is what a new grid and a new column hold: only what has no
  // default (and the widths the column fitting set) reaches the stream; Ctl3D and ShowHint
  // only once the grid stops following its parent's.
  nlohmann::json Stream = nlohmann::json::parse(SaveComponentToString(Grid));
  std::set<std::string> Written;
  for (auto& [Key, Value] : Stream["properties"].items()) Written.insert(Key);
  EXPECT_EQ(Written,
            (std::set<std::string>{"Left", "Top", "Width", "Height", "Columns", "TitleTextColor",
                                   "DataTextColor", "Font", "TabOrder", "ColWidths"}));
  EXPECT_EQ(Stream["properties"]["Columns"], nlohmann::json::parse(R"([{"FieldName": "City",
      "Title": "Town", "IDCode": "Town"}])"));
  // A data source adds no rows of its own.
  Bind();
  EXPECT_EQ(Grid->GetRowCount(), 1);
}

// What a field's name does to FieldName, Title and IDCode: by setting FieldName, and by
// binding a field whose name differs in letter case.
TEST_F(RecordGridTest, TitleAndCodeFollowTheFieldName) {
  struct TCase {
    std::string Field, Title, Code;  // before
    std::string NewName;             // set as FieldName (bound: "city" binds City)
    std::string WantField, WantTitle, WantCode;
  };
  const std::vector<TCase> Cases{
      {"", "", "", "Name", "Name", "Name", "Name"},                    // empty ones follow
      {"Name", "NAME", "name", "City", "City", "City", "City"},        // old name in any case
      {"Name", "Client", "client", "City", "City", "Client", "City"},  // code was the title
      {"Name", "Client", "K1", "City", "City", "Client", "K1"},        // unrelated: stays
      {"Name", "Client", "", "City", "City", "Client", "City"},        // an empty code follows
      {"", "Town", "", "city", "City", "Town", "City"},  // bound: the field's exact name
      {"", "", "", "city", "City", "City", "City"},
  };
  Bind();
  for (const TCase& T : Cases) {
    SCOPED_TRACE(T.NewName + " after " + T.Field + "/" + T.Title + "/" + T.Code);
    TColumn* C = Grid->GetColumns()->Add();
    C->SetFieldName(T.Field);
    C->SetTitle(T.Title);
    C->SetIDCode(T.Code);
    C->SetFieldName(T.NewName);
    EXPECT_EQ(C->GetFieldName(), T.WantField);
    EXPECT_EQ(C->GetTitle(), T.WantTitle);
    EXPECT_EQ(C->GetIDCode(), T.WantCode);
  }
  // Lazily: a name set while the grid has no data binds on first use, in the field's case.
  Grid->SetDataSource(nullptr);
  TColumn* Late = Grid->GetColumns()->Add();
  Late->SetFieldName("AGE");
  EXPECT_EQ(Late->GetTitle(), "AGE");
  Bind();
  ASSERT_NE(Late->GetField(), nullptr);
  EXPECT_EQ(Late->GetFieldName(), "Age");
  EXPECT_EQ(Late->GetTitle(), "Age");
  // A new title takes a code that equalled the old one along; an unrelated code stays.
  Late->SetIDCode("age");
  Late->SetTitle("Years");
  EXPECT_EQ(Late->GetIDCode(), "Years");
  Late->SetIDCode("K");
  Late->SetTitle("Y");
  EXPECT_EQ(Late->GetIDCode(), "K");
}

TEST_F(RecordGridTest, AssignedValuesAndWhatTheStreamKeeps) {
  Data->FieldByName("Age")->SetAlignment(taRightJustify);
  Build({{"Age"}});
  Bind();
  TColumn* C = Grid->Row(0);
  EXPECT_EQ(C->GetAlignment(), taRightJustify);  // the field's
  EXPECT_TRUE(C->GetAssignedValues().Empty());
  C->SetAlignment(taRightJustify);  // equal to the default: assigned, but not worth storing
  EXPECT_TRUE(C->GetAssignedValues().Contains(cvAlignment));
  EXPECT_FALSE(C->IsAlignmentStored());
  C->SetAlignment(taCenter);
  EXPECT_TRUE(C->IsAlignmentStored());
  C->SetImeMode(Grid->GetImeMode());  // the grid's: stays unassigned
  EXPECT_FALSE(C->GetAssignedValues().Contains(cvImeMode));
  C->SetImeMode(imHira);
  EXPECT_EQ(C->GetImeMode(), imHira);
  EXPECT_TRUE(C->IsImeModeStored());
  C->SetImeName(Grid->GetImeName());
  EXPECT_FALSE(C->GetAssignedValues().Contains(cvImeName));
  EXPECT_FALSE(C->GetReadOnly());
  Grid->SetReadOnly(true);
  EXPECT_TRUE(C->GetReadOnly());  // the grid's
  C->SetReadOnly(false);
  EXPECT_FALSE(C->GetReadOnly());
  EXPECT_TRUE(C->IsReadOnlyStored());
  std::string Stream = SaveComponentToString(Grid);
  EXPECT_NE(Stream.find("\"taCenter\""), std::string::npos);
  EXPECT_NE(Stream.find("\"imHira\""), std::string::npos);
  EXPECT_NE(Stream.find("\"ReadOnly\": false"), std::string::npos);
  EXPECT_EQ(Stream.find("\"ImeName\""), std::string::npos);
}

TEST_F(RecordGridTest, FreeValueMaskAndButton) {
  Build({{"Name"}});
  Bind();
  TColumn* C = Grid->Row(0);
  ASSERT_NE(C->GetField(), nullptr);
  C->SetText("free");  // unbinds, keeps the names
  EXPECT_EQ(C->GetField(), nullptr);
  EXPECT_EQ(C->GetTitle(), "Name");
  EXPECT_EQ(C->GetText(), "free");
  int MaskAsks = 0;
  C->OnGetEditMask = [&](TObject* Sender, Integer, std::string& Mask) {
    EXPECT_EQ(Sender, Grid);
    ++MaskAsks;
    Mask = "000";
  };
  EXPECT_EQ(C->GetEditMask(), "000");
  C->SetEditMask("LL");
  EXPECT_EQ(C->GetEditMask(), "LL");
  EXPECT_EQ(MaskAsks, 1);
  std::vector<std::string> Clicks;
  Grid->OnEditButtonClick = [&](TObject*, Integer ARow, TField* F) {
    Clicks.push_back("grid " + std::to_string(ARow) + (F ? " field" : " free"));
  };
  C->EditButtonClick();
  C->OnEditButtonClick = [&](TObject* Sender) {
    Clicks.push_back(Sender == Grid ? "column" : "?");
  };
  C->EditButtonClick();
  EXPECT_EQ(Clicks, (std::vector<std::string>{"grid 0 free", "column"}));
}

TEST_F(RecordGridTest, AssignCopiesSettingsNotObjects) {
  auto* Menu = new TPopupMenu(Form);
  Build({{"Name"}, {"City"}});
  TColumn *A = Grid->Row(0), *B = Grid->Row(1);
  A->SetTitle("Who");
  A->SetReadOnly(true);
  A->GetPickList()->Add("x");
  A->SetPopupMenu(Menu);
  A->SetDropDownRows(3);
  A->SetIDCode("K9");
  B->SetIDCode("B0");
  A->OnGetText = [](TObject*, Integer, Integer, TStrings*, Variant&) {};
  B->Assign(A);
  EXPECT_EQ(B->GetFieldName(), "Name");
  EXPECT_EQ(B->GetTitle(), "Who");
  EXPECT_TRUE(B->GetReadOnly());
  EXPECT_EQ(B->GetPopupMenu(), Menu);
  EXPECT_EQ(B->GetDropDownRows(), 3u);
  EXPECT_NE(B->GetPickList(), A->GetPickList());
  EXPECT_EQ(B->GetPickList()->Count(), 1);
  EXPECT_FALSE(B->OnGetText.Assigned());  // events and the code are not copied
  EXPECT_EQ(B->GetIDCode(), "B0");
}

TEST_F(RecordGridTest, ThePlaceholderAndFindingColumns) {
  TPlumbGridColumns* Columns = Grid->GetColumns();
  TColumn* First = Columns->GetColumn(0);
  EXPECT_EQ(Columns->Add(), First);  // the placeholder is handed out once
  TColumn* Second = Columns->Add();
  EXPECT_NE(Second, First);
  First->SetIDCode("Code");
  Second->SetIDCode("other");
  EXPECT_EQ(Columns->GetColumn(Variant("cODE")), First);
  EXPECT_EQ(Columns->GetColumn(Variant("none")), nullptr);
  EXPECT_EQ(Columns->GetColumn(Variant(-1)), nullptr);
  EXPECT_THROW(Columns->GetColumn(Variant(2)), EListError);
  Columns->Delete(Variant(-1));
  Columns->Delete(Variant("none"));
  EXPECT_EQ(Columns->Count(), 2);
  Columns->Delete(Variant("OTHER"));
  EXPECT_EQ(Columns->Count(), 1);
  Columns->Delete(Variant(0));  // the last one: a fresh placeholder takes its place
  ASSERT_EQ(Columns->Count(), 1);
  EXPECT_EQ(Columns->GetColumn(0)->GetIDCode(), "");
  EXPECT_EQ(Grid->GetRowCount(), 1);
  TColumn* Placeholder = Columns->GetColumn(0);
  EXPECT_EQ(Columns->Add(), Placeholder);
  Columns->Clear();
  EXPECT_EQ(Columns->Count(), 1);
  EXPECT_EQ(Columns->Add(), Columns->GetColumn(0));
}

// Visible columns are searched in row order, each followed by its hidden children (one level
// only): a visible match ends the search, a hidden one can be replaced by a later match.
TEST_F(RecordGridTest, CodesAcrossHiddenChildren) {
  Build({{"A", 0}, {"B", 1}, {"C", 2}, {"D", 0}, {"E", 1}, {"F", 0}});
  auto Code = [&](int Row, const std::string& Id) { Grid->Row(Row)->SetIDCode(Id); };
  Code(0, "x");
  Code(1, "shared");  // B
  Code(2, "deep");    // C
  Code(4, "shared");  // E
  Code(5, "shared");  // F
  Grid->Row(1)->SetExpanded(true);
  Grid->Row(0)->SetExpanded(true);
  Grid->Row(0)->SetExpanded(false);  // A hides B, which hides C
  Grid->Row(1)->SetExpanded(true);
  Grid->Row(1)->SetExpanded(false);  // D hides E
  ASSERT_EQ(Grid->GetRowCount(), 3);
  TPlumbGridColumns* Columns = Grid->GetColumns();
  EXPECT_EQ(Columns->GetColByID(Variant("SHARED"))->GetFieldName(), "F");  // visible F wins
  Grid->Row(2)->SetIDCode("");
  EXPECT_EQ(Columns->GetColByID(Variant("shared"))->GetFieldName(), "E");  // the last hidden
  EXPECT_EQ(Columns->GetColByID(Variant("deep")), nullptr);                // two levels down
}

}  // namespace plumb::test
