// Editing a record through the grid: every keystroke written through, the commit with its
// events, the editor's button per row, the pick list and the lookup list with keys and mouse,
// the ellipsis, and what is written (or put back) when the user escapes, a host refuses, a
// text cannot be converted or nothing was changed at all.
#include "../platform/data/DataTestSupport.h"
#include "RecordGridTestUtil.h"
#include "data/SQLiteDataSet.h"

namespace plumb::test {

class EditingTest : public RecordGridTest {
 protected:
  TMemDataSet* Countries = nullptr;
  std::vector<std::string> Errors, Log;
  int EditStarts = 0;

  void SetUp() override {
    RecordGridTest::SetUp();
    Application->OnException = [this](TObject*, const Exception& E) { Errors.push_back(E.what()); };
    Countries = new TMemDataSet(Form);
    Countries->AddFieldDef("Id", ftInteger);
    Countries->AddFieldDef("Country", ftString);
    Countries->Open();
    for (int I = 1; I <= 5; ++I) Countries->AppendRecord({I, "Land " + std::to_string(I)});
    Data->Close();
    Data->AddFieldDef("CountryId", ftInteger);
    auto* Lookup = new TField(Form, ftString);
    Lookup->SetFieldName("Country");
    Lookup->SetFieldKind(fkLookup);
    Lookup->SetKeyFields("CountryId");
    Lookup->SetLookupDataSet(Countries);
    Lookup->SetLookupKeyFields("Id");
    Lookup->SetLookupResultField("Country");
    Lookup->SetDataSet(Data);
    Data->Open();
    Data->First();
    Data->Edit();
    Data->FieldByName("CountryId")->SetAsInteger(2);
    Data->Post();
    Source->OnStateChange = [this](TObject*) {
      if (Data->GetState() == dsEdit) ++EditStarts;
    };
  }
  void TearDown() override {
    Application->OnException = nullptr;
    RecordGridTest::TearDown();
  }
  TPlumbGridInplaceEdit* Ed() {
    return static_cast<TPlumbGridInplaceEdit*>(Grid->GetInplaceEditor());
  }
  std::string Value(const char* Field) { return Data->FieldByName(Field)->GetAsString(); }
  void EditRow(Integer Row) {
    Grid->SetFocus();
    Grid->SetRow(Row);
    D.KeyStroke(VK_F2);
  }
  void LogEvents(TColumn* C) {
    C->OnSetEditText = [this](TObject*, Integer, TStrings*, const Variant& V) {
      Log.push_back("setedit " + V.ToString());
    };
    C->OnValidate = [this](TObject*, Integer, TStrings*, Variant& V, bool&) {
      Log.push_back("validate " + V.ToString());
    };
    C->OnSetText = [this](TObject*, Integer, bool Modified, TStrings*, const Variant& V) {
      Log.push_back("settext " + V.ToString() + (Modified ? " modified" : ""));
    };
    C->OnGetEditText = [this](TObject*, Integer, Integer, TStrings*, Variant&) {
      Log.push_back("get");
    };
  }
  void FocusElsewhere() {
    auto* Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(400, 400, 50, 20);
    Other->SetFocus();
    D.RunUntilIdle();
  }
};

TEST_F(EditingTest, KeystrokesWriteThroughAndNothingElseDoes) {
  Build({{"Name"}, {"Age"}, {"Notes"}, {""}, {""}});
  Grid->Row(3)->SetText("x");  // a free row with a value, and one without
  Bind();
  EditRow(0);
  D.TypeText("e");
  EXPECT_EQ(Value("Name"), "Anne");  // at once
  D.TypeText("x");
  EXPECT_EQ(Value("Name"), "Annex");
  EXPECT_EQ(EditStarts, 1);  // Edit once, from browse
  Data->Cancel();
  EditStarts = 0;
  D.KeyStroke(VK_DOWN);
  D.KeyStroke(VK_HOME);  // "31", caret at the start
  SetClipboardText("31");
  Ed()->SelectAll();
  D.KeyStroke('V', {ssCtrl});  // the same text pasted over itself
  EXPECT_EQ(EditStarts, 0);
  D.KeyStroke(VK_DOWN);
  D.TypeText("memo");  // a placeholder field is never written from text
  D.KeyStroke(VK_DOWN);
  EXPECT_EQ(Value("Notes"), "first");
  EXPECT_EQ(EditStarts, 0);
  D.TypeText("y");
  EXPECT_EQ(Grid->Row(3)->GetText(), "y");
  D.KeyStroke(VK_DOWN);
  D.TypeText("z");
  D.KeyStroke(VK_UP);
  EXPECT_TRUE(Grid->Row(4)->GetFreeValue().IsEmpty());  // never given a value
}

TEST_F(EditingTest, EventsOfOneEditInOrder) {
  Build({{"Name"}, {"City"}});
  LogEvents(Grid->Row(0));
  Bind();
  Grid->SetFocus();
  D.TypeText("Zo");
  FocusElsewhere();  // the commit of a modified text
  // A new editor is loaded twice; the commit reloads it once more.
  EXPECT_EQ(Log, (std::vector<std::string>{"get", "get", "setedit Z", "setedit Zo", "validate Zo",
                                           "settext Zo modified", "get"}));
  EXPECT_EQ(Value("Name"), "Zo");
}

TEST_F(EditingTest, EachRowGetsItsButton) {
  Build({{"Country"}, {"Country"}, {"City"}, {"City"}, {"Photo"}, {"Photo"}, {"City"}});
  TColumn* PickOverLookup = Grid->Row(0);
  PickOverLookup->GetPickList()->Add("Land 9");
  Grid->Row(2)->GetPickList()->Add("Oslo");
  Grid->Row(2)->SetReadOnly(true);  // no pick list for a read-only row
  Grid->Row(3)->SetReadOnly(true);
  Grid->Row(3)->SetButtonStyle(cbsEllipsis);  // an ellipsis still shows
  Grid->Row(6)->GetPickList()->Add("Lima");
  Grid->Row(6)->SetButtonStyle(cbsNone);
  Bind();
  const std::vector<TEditorStyle> Want{edsPickList, edsLookupList, edsPlain, edsEllipsis,
                                       edsPlain,    edsEllipsis,   edsPlain};
  for (Integer R = 0; R < 7; ++R) {
    if (R == 5) Grid->OnEditButtonClick = [](TObject*, Integer, TField*) {};
    EditRow(R);
    EXPECT_EQ(Ed()->GetEditorStyle(), Want[size_t(R)]) << "row " << R;
  }
}

TEST_F(EditingTest, ThePickListOpensItsSizeBelowOrAbove) {
  Build({{"City"}, {"Age"}});
  TColumn* City = Grid->Row(0);
  for (const char* S : {"Lima", "Oslo", "Rome"}) City->GetPickList()->Add(S);
  Bind();
  EditRow(0);
  D.KeyStroke(VK_DOWN, {ssAlt});
  TPopupListbox* L = Ed()->GetPickListBox();
  ASSERT_TRUE(Ed()->GetListShown());
  Integer H = L->GetItemHeight();
  EXPECT_EQ(L->GetClientHeight(), 3 * H);  // whole rows, as many as there are strings
  EXPECT_EQ(L->GetItemIndex(), 1);         // the field's value, Oslo
  TPoint Below = Ed()->ClientToScreen(TPoint{0, Ed()->GetHeight()});
  EXPECT_EQ((TPoint{L->GetLeft(), L->GetTop()}), Below);
  D.KeyStroke(VK_ESCAPE);
  for (int I = 0; I < 7; ++I) City->GetPickList()->Add("More " + std::to_string(I));
  Form->SetTop(768 - 120);  // the list would pass the bottom of the screen
  D.RunUntilIdle();
  D.KeyStroke(VK_DOWN, {ssAlt});
  EXPECT_EQ(L->GetClientHeight(), 7 * H);  // no more than DropDownRows
  EXPECT_EQ(L->GetBoundsRect().Bottom, Ed()->ClientToScreen(TPoint{0, 0}).Y);
}

TEST_F(EditingTest, TypingIntoThePickListSearchesByPrefix) {
  Build({{"City"}});
  TStrings* Items = Grid->Row(0)->GetPickList();
  for (const char* S : {"Amsterdam", "Bergen", "Berlin", "Bern", "Oslo"}) Items->Add(S);
  Bind();
  EditRow(0);
  D.KeyStroke(VK_DOWN, {ssAlt});
  TPopupListbox* L = Ed()->GetPickListBox();
  D.TypeText("BER");
  EXPECT_EQ(L->GetItemIndex(), 1);
  D.TypeText("l");
  EXPECT_EQ(L->GetItemIndex(), 2);
  D.Advance(2001);  // a pause starts a new prefix
  D.TypeText("a");
  EXPECT_EQ(L->GetItemIndex(), 0);
  D.TypeText(std::string(40, 'm'));
  EXPECT_EQ(Utf8Length(L->GetTypedPrefix()), 32u);
  D.KeyStroke(VK_RETURN);  // accepted: the text and the field take the choice
  EXPECT_EQ(Value("City"), "Amsterdam");
}

TEST_F(EditingTest, TheEllipsisFiresOnlyForAPressReleasedOnIt) {
  Build({{"Photo"}, {"Name"}});
  int Clicks = 0;
  Grid->OnEditButtonClick = [&](TObject*, Integer Row, TField* F) {
    EXPECT_EQ(Row, 0);
    EXPECT_EQ(F, Data->FieldByName("Photo"));
    ++Clicks;
  };
  Bind();
  EditRow(0);
  std::string Before = Ed()->GetText();
  D.KeyStroke(VK_RETURN, {ssCtrl});
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(Ed()->GetText(), Before);  // no character from Ctrl+Enter
  PostQuitMessage(3);                  // a shutdown asked for meanwhile is not lost on the way
  DropPendingMessage(Ed()->GetHandle(), WM_CHAR);
  MSG Quit;
  ASSERT_TRUE(PeekMessage(Quit, 0, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(Quit.message, UINT(WM_QUIT));
  EXPECT_EQ(Quit.wParam, 3u);
  TRect B = Ed()->ButtonRect();
  D.ClickAt(Ed(), B.Left + 3, 3);
  EXPECT_EQ(Clicks, 2);
  D.MouseDownAt(Ed(), B.Left + 3, 3);
  D.MouseMoveAt(Ed(), B.Left - 20, 3);
  D.MouseUpAt(Ed(), B.Left - 20, 3);
  EXPECT_EQ(Clicks, 2);
}

// Escape and a refused value put back the row's value; what was refused never reaches the
// table, and a text the field cannot take is reported while the grid goes on.
TEST_F(EditingTest, RefusedAndUnconvertibleTextsNeverReachTheTable) {
  TScratchDb Db(
      "CREATE TABLE t (id INTEGER PRIMARY KEY, name TEXT, age INTEGER);"
      "INSERT INTO t VALUES (1, 'Ann', NULL), (2, 'Bob', 45);");
  auto* Table = new TSQLiteDataSet(Form);
  Table->SetDatabaseName(Db.Path());
  Table->SetTableName("t");
  Table->Open();
  Source->SetDataSet(Table);
  Build({{"name"}, {"age"}});
  Grid->Row(0)->OnValidate = [](TObject*, Integer, TStrings*, Variant& V, bool& Accept) {
    Accept = V.ToString() != "Annie";
  };
  std::vector<std::string> Hooks;
  Grid->OnColEnter = [&](TObject*) { Hooks.push_back("enter"); };
  Grid->OnColExit = [&](TObject*) { Hooks.push_back("exit"); };
  Bind();
  EditRow(1);
  Hooks.clear();
  D.TypeText("x");  // a null age, then a letter: refused by the field
  ASSERT_FALSE(Errors.empty());
  EXPECT_NE(Errors.back().find("age"), std::string::npos);
  EXPECT_TRUE(Table->FieldByName("age")->IsNull());
  D.KeyStroke(VK_ESCAPE);
  EXPECT_EQ(Ed()->GetText(), "");
  EXPECT_TRUE(Table->FieldByName("age")->IsNull());  // null again, not an empty text
  D.TypeText("7x");  // a valid value, then one the field refuses, then the row is left
  EXPECT_EQ(Table->FieldByName("age")->GetAsString(), "7");
  size_t Reported = Errors.size();
  D.KeyStroke(VK_UP);
  EXPECT_GT(Errors.size(), Reported);
  EXPECT_EQ(Table->FieldByName("age")->GetAsString(), "7");  // the last valid value
  EXPECT_EQ(Hooks, (std::vector<std::string>{"exit", "enter"}));
  EXPECT_EQ(Grid->EditorCell().Y, 0);
  EXPECT_TRUE(Ed()->Visible());
  D.KeyStroke(VK_END);
  D.TypeText("ie");  // the record is in edit state since the commit: the editor stays put
  EXPECT_EQ(Table->FieldByName("name")->GetAsString(), "Annie");
  FocusElsewhere();  // the commit: OnValidate refuses
  EXPECT_EQ(Ed()->GetText(), "Ann");
  EXPECT_EQ(Table->FieldByName("name")->GetAsString(), "Ann");
  Table->Post();
  EXPECT_EQ(Db.Query("SELECT name FROM t WHERE id = 1"), "Ann");
  EXPECT_EQ(Db.Query("SELECT age FROM t WHERE id = 1"), "7");
}

// A host that shows a value formatted: moving through the rows writes nothing.
TEST_F(EditingTest, RowsNobodyChangedAreNotRewritten) {
  Build({{"Name"}, {"Age"}, {"City"}});
  Grid->Row(1)->OnGetEditText = [](TObject*, Integer, Integer, TStrings*, Variant& V) {
    V = V.ToString() + " years";
  };
  Bind();
  EditRow(0);
  for (int I = 0; I < 2; ++I) D.KeyStroke(VK_DOWN);
  D.KeyStroke(VK_UP);
  FocusElsewhere();
  EXPECT_EQ(Value("Age"), "31");
  EXPECT_EQ(EditStarts, 0);
  EXPECT_EQ(Data->GetState(), dsBrowse);
}

TEST_F(EditingTest, ListKeysMouseAndDoubleClicks) {
  Build({{"City"}, {"Country"}});
  TColumn* City = Grid->Row(0);
  for (const char* S : {"Lima", "Oslo", "Rome"}) City->GetPickList()->Add(S);
  LogEvents(City);
  Bind();
  EditRow(0);
  D.KeyStroke(VK_DOWN, {ssAlt});
  D.KeyStroke(VK_DOWN);
  D.KeyStroke(VK_DOWN, {ssAlt});  // closes and accepts
  EXPECT_FALSE(Ed()->GetListShown());
  EXPECT_EQ(Value("City"), "Rome");
  D.KeyStroke(VK_DOWN, {ssAlt});
  D.KeyStroke(VK_UP);
  D.KeyStroke(VK_ESCAPE);  // closes without accepting
  EXPECT_EQ(Value("City"), "Rome");
  // The press on the arrow dragged into the list and released on Lima: committed twice.
  Log.clear();
  TRect B = Ed()->ButtonRect();
  D.MouseDownAt(Ed(), B.Left + 3, 3);
  TPopupListbox* L = Ed()->GetPickListBox();
  TPoint Lima = L->ClientToScreen(TPoint{5, L->GetItemHeight() / 2});
  D.MouseMove(Lima);
  D.MouseUp(Lima);
  EXPECT_EQ(Value("City"), "Lima");
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "validate Lima"), 2);
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "settext Lima"), 2);
  D.Advance(1000);
  D.DoubleClickAt(Ed(), 10, 5);  // the next string
  EXPECT_EQ(Value("City"), "Oslo");
  // The lookup list: the key field takes the chosen row's key.
  D.KeyStroke(VK_DOWN);
  D.KeyStroke(VK_DOWN, {ssAlt});
  ASSERT_EQ(Ed()->GetCurrentList(), Ed()->GetLookupListBox());
  EXPECT_EQ(Ed()->GetLookupListBox()->GetKeyValue().ToInteger(), 2);
  D.KeyStroke(VK_DOWN);
  D.KeyStroke(VK_RETURN);
  EXPECT_EQ(Value("CountryId"), "3");
  EXPECT_EQ(Ed()->GetText(), "Land 3");
}

}  // namespace plumb::test

namespace plumb::test {

// What a host or the data set changes under an open editor (faults the storm found): the
// editor follows its column's new binding and settings, an open list closes with the style
// that owned it, and a record inserted in the middle of the grid's own edit is shown.
TEST_F(EditingTest, TheEditorFollowsChangesMadeUnderIt) {
  Build({{"Name"}, {"City"}});
  TColumn* First = Grid->Row(0);
  First->GetPickList()->Add("Ann");
  Bind();
  EditRow(0);
  D.KeyStroke(VK_DOWN, {ssAlt});
  ASSERT_TRUE(Ed()->GetListShown());
  First->SetPickList(nullptr);  // the list's style goes: the list closes
  EXPECT_FALSE(Ed()->GetListShown());
  First->SetFieldName("City");  // rebound: the editor shows the row's new value
  EXPECT_EQ(Ed()->GetText(), "Oslo");
  D.TypeText("Bern");
  EXPECT_EQ(Value("City"), "Bern");
  EXPECT_EQ(Value("Name"), "Ann");
  First->SetReadOnly(true);  // and takes its new settings
  D.TypeText("x");
  EXPECT_EQ(Value("City"), "Bern");
  First->SetReadOnly(false);
  D.TypeText("Lima");
  Data->Close();  // the grid's edit is dropped with the record
  Data->Open();
  Data->Insert();  // and a new record shows
  EXPECT_EQ(Ed()->GetText(), "");
}

}  // namespace plumb::test
