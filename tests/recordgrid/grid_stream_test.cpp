// Issue 17: a form stream with a record grid that fails to read leaves the form exactly as it
// was — the grid's settings, what it follows from its parent, whether it has a width list —
// and a form read back from its own stream saves the same stream.
#include "RecordGridTestUtil.h"
#include "core/Exceptions.h"
#include "core/Filer.h"

namespace plumb::test {

class GridStreamTest : public RecordGridTest {
 protected:
  void SetUp() override {
    RecordGridTest::SetUp();
    RegisterClass<TForm>();
    RegisterClass<TPlumbGrid>();
    RegisterClass<TPopupMenu>();
    RegisterClass<TTestGrid>();
    Form->SetName("Form1");
    Grid->SetName("Grid1");
    Build({{"name", 0}, {"city", 1}});
    Grid->Row(0)->SetExpanded(true);
    Grid->Row(1)->GetPickList()->Add("Oslo");
  }
  // The grid's properties first changed by Props, then a value no grid has.
  static std::string Spoilt(const std::string& Props) {
    return R"({"class": "TForm", "name": "Form1", "components": [{"class": "TTestGrid",
               "name": "Grid1", "properties": {)" +
           Props + R"(, "Nonsense": 1}}]})";
  }
};

TEST_F(GridStreamTest, AFailedReadLeavesTheFormAsItWas) {
  const char* Changes[] = {
      R"("ShowHint": true)",
      R"("Font": {"Size": 14})",
      R"("Color": "clRed")",
      R"("Ctl3D": false)",
      R"("ColWidths": [30, 40])",
      R"("Columns": [{"FieldName": "x", "IndentLevel": 0}, {"FieldName": "y", "IndentLevel": 1}])",
      R"("ParentShowHint": false, "ShowHint": true, "Font": {"Color": "clRed"})"};
  std::string Before = SaveComponentToString(Form);
  for (const char* Change : Changes) {
    SCOPED_TRACE(Change);
    EXPECT_THROW(LoadComponentFromString(Spoilt(Change), Form), EReadError);
    EXPECT_EQ(SaveComponentToString(Form), Before);
    EXPECT_TRUE(Grid->GetParentShowHint());
    EXPECT_TRUE(Grid->GetParentFont());
    EXPECT_TRUE(Grid->GetParentCtl3D());
  }
}

TEST_F(GridStreamTest, AFormReadBackSavesTheSameStream) {
  Grid->Row(1)->SetText("free");
  Grid->Row(1)->SetFieldName("town");  // no data set has it yet: the free value still shows
  Grid->Row(0)->SetTitle("");          // a field name, no title, a code of its own
  Grid->Row(0)->SetIDCode("code");
  Grid->Row(1)->SetIDCode("");
  std::string Saved = SaveComponentToString(Form);
  auto* Copy = static_cast<TForm*>(LoadComponentFromString(Saved));
  auto* Back = static_cast<TPlumbGrid*>(Copy->FindComponent("Grid1"));
  ASSERT_NE(Back, nullptr);
  EXPECT_TRUE(Back->GetParentShowHint());  // the stored ShowHint is the parent's, no own value
  TColumn* Town = Back->GetColumns()->GetColumn(1);
  EXPECT_EQ(Town->GetFieldName(), "town");
  EXPECT_EQ(Town->GetText(), "free");
  EXPECT_EQ(Town->GetIDCode(), "");
  EXPECT_EQ(Back->GetColumns()->GetColumn(0)->GetTitle(), "");
  EXPECT_EQ(SaveComponentToString(Copy), Saved);
  delete Copy;
}

// Tab orders take effect once all siblings are read, so a form reads back in the order it was
// saved, whatever order its controls were created in (found by the reader fuzzer).
TEST_F(GridStreamTest, TabOrdersReadAfterAllSiblings) {
  struct {
    const char* Orders[3];
    const char* Expected;
  } Cases[] = {{{"2", "1", "0"}, "CBA"}, {{"", "0", "0"}, "ABC"}, {{"1", "", "0"}, "CAB"}};
  for (const auto& Case : Cases) {
    std::string Text = R"({"class": "TForm", "name": "F", "components": [)";
    for (int I = 0; I < 3; ++I)
      Text += std::string(I ? "," : "") + R"({"class": "TTestGrid", "name": ")" + char('A' + I) +
              R"(", "properties": {)" +
              (*Case.Orders[I] ? std::string(R"("TabOrder": )") + Case.Orders[I] : "") + "}}";
    Text += "]}";
    SCOPED_TRACE(Text);
    std::unique_ptr<TComponent> F(LoadComponentFromString(Text));
    std::string Order(3, '?');
    for (const char* Name : {"A", "B", "C"})
      Order[static_cast<TWinControl*>(F->FindComponent(Name))->GetTabOrder()] = *Name;
    EXPECT_EQ(Order, Case.Expected);
    std::string Saved = SaveComponentToString(F.get());
    std::unique_ptr<TComponent> Back(LoadComponentFromString(Saved));
    EXPECT_EQ(SaveComponentToString(Back.get()), Saved);
  }
}

// An empty list of columns, read or assigned, leaves the one placeholder row a grid always has
// (found by the reader fuzzer: the stream saved no columns, and read back it gained one).
TEST_F(GridStreamTest, AnEmptyColumnListLeavesThePlaceholder) {
  LoadComponentFromString(R"({"class": "TForm", "name": "Form1", "components": [
      {"class": "TTestGrid", "name": "Grid1", "properties": {"Columns": []}}]})",
                          Form);
  ASSERT_EQ(Grid->GetColumns()->Count(), 1);
  EXPECT_EQ(Grid->GetRowCount(), 1);
  EXPECT_EQ(Grid->GetColumns()->Add(), Grid->GetColumns()->GetColumn(0));
  std::string Saved = SaveComponentToString(Form);
  std::unique_ptr<TComponent> Copy(LoadComponentFromString(Saved));
  EXPECT_EQ(SaveComponentToString(Copy.get()), Saved);

  TPlumbGridColumns Empty(nullptr, CollectionItemClass<TColumn>(), false);
  Grid->Row(0)->SetFieldName("name");
  Grid->GetColumns()->Assign(&Empty);
  ASSERT_EQ(Grid->GetColumns()->Count(), 1);
  EXPECT_EQ(Grid->GetColumns()->GetColumn(0)->GetFieldName(), "");
}

}  // namespace plumb::test
