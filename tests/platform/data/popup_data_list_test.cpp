// The lookup list dropped down under an edit on a headless desktop, as a lookup editor uses it:
// the edit keeps the focus and hands the list its keys; the list shows the rows of a data set,
// selects by key, follows the data set and lets go of a data source that is freed.
#include <gtest/gtest.h>

#include "backends/headless/Headless.h"
#include "controls/Forms.h"
#include "data/DB.h"
#include "data/DataList.h"

namespace plumb::test {
namespace {

// An edit that passes its keys to a shown list, as the lookup editor does.
class TForwardingEdit : public TEdit {
  PLUMB_CLASS(TForwardingEdit, TEdit)
  using TEdit::TEdit;
  TWinControl* List = nullptr;
  void WndProc(TMessage& M) override {
    bool Key = M.Msg == WM_KEYDOWN || M.Msg == WM_CHAR;
    if (Key && List && List->HandleAllocated() && IsWindowVisible(List->GetHandle())) {
      M.Result = SendMessage(List->GetHandle(), M.Msg, M.WParam, M.LParam);
      return;
    }
    inherited::WndProc(M);
  }
};

class PopupDataList : public ::testing::Test {
 protected:
  THeadlessDesktop D{800, 600};
  TForm* Form = nullptr;
  TForwardingEdit* Edit = nullptr;
  TMemDataSet* Cities = nullptr;
  TDataSource* Source = nullptr;
  TPopupDataList* L = nullptr;
  int H = 0;

  void SetUp() override {
    Form = new TForm(nullptr);
    Form->SetBounds(50, 40, 400, 300);
    Form->Show();
    Edit = new TForwardingEdit(Form);
    Edit->SetBounds(20, 20, 160, 21);
    Edit->SetParent(Form);
    Cities = new TMemDataSet(Form);
    Cities->AddFieldDef("Id", ftInteger);
    Cities->AddFieldDef("Name", ftString);
    Cities->Open();
    for (int I = 1; I <= 9; ++I)
      Cities->AppendRecord({I * 10, std::string("City ") + char('A' + I - 1)});
    Source = new TDataSource(Form);
    Source->SetDataSet(Cities);
    L = new TPopupDataList(Form);
    L->SetVisible(false);
    L->SetParent(Edit);
    Edit->List = L;
    H = L->GetItemHeight();
    D.RunUntilIdle();
    Edit->SetFocus();
    D.RunUntilIdle();
  }
  void TearDown() override { delete Form; }

  // What the lookup editor does to open the list: rows, data, key, then below the edit.
  void Drop(const Variant& Key, int Rows = 4) {
    L->SetWidth(Edit->GetWidth());
    L->SetRowCount(Rows);
    L->SetKeyFieldName("Id");
    L->SetListFieldName("Name");
    L->SetListSource(Source);
    L->SetKeyValue(Key);
    TPoint P = EditOrigin();
    SetWindowPos(L->GetHandle(), HWND_TOP, P.X, P.Y + Edit->GetHeight(), 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    D.RunUntilIdle();
  }
  TPoint EditOrigin() { return Form->ClientToScreen(TPoint{Edit->GetLeft(), Edit->GetTop()}); }
  std::vector<std::string> Rows() const {
    std::vector<std::string> R;
    for (int I = 0; I < L->GetCount(); ++I) R.push_back(L->GetItems()->Get(I));
    return R;
  }
  TPoint RowPoint(int Row) const { return TPoint{30, Row * H + H / 2}; }
};

TEST_F(PopupDataList, Rows_OneItemPerRecordAndTheDataSetCursorStaysPut) {
  Cities->SetRecNo(3);
  Drop(Null);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"City A", "City B", "City C", "City D", "City E",
                                              "City F", "City G", "City H", "City I"}));
  EXPECT_EQ(Cities->GetRecNo(), 3);
  EXPECT_EQ(L->GetItemIndex(), -1);
  EXPECT_TRUE(L->GetKeyValue().IsNull());
  // A popup: a window of its own below the edit, and the keyboard stays with the edit.
  EXPECT_EQ(GetParent(L->GetHandle()), HWND(0));
  EXPECT_EQ(L->GetClientOrigin(), (TPoint{EditOrigin().X + 1, EditOrigin().Y + 21 + 1}));
  EXPECT_TRUE(Edit->Focused());
  EXPECT_EQ(L->GetClientHeight(), 4 * H);
  EXPECT_EQ(L->GetHeight(), 4 * H + 2);
  L->SetRowCount(20);  // more rows than records: as high as the records
  EXPECT_EQ(L->GetClientHeight(), 9 * H);
  L->SetListFieldName("");  // no list field: the key's text
  EXPECT_EQ(Rows().front(), "10");
  L->SetKeyFieldName("Nope");
  EXPECT_EQ(L->GetCount(), 0);
  EXPECT_EQ(L->GetClientHeight(), H);  // never less than a row
}

TEST_F(PopupDataList, KeyValue_SelectsTheRowWithThatKeyComparedInTheKeysType) {
  Drop(30);
  EXPECT_EQ(L->GetItemIndex(), 2);
  EXPECT_EQ(L->GetKeyValue(), Variant(30));
  L->SetKeyValue("80");
  EXPECT_EQ(L->GetItemIndex(), 7);
  EXPECT_EQ(L->GetTopIndex(), 4);  // scrolled into view
  for (const Variant& Absent : {Variant(35), Variant("x"), Null, Unassigned}) {
    L->SetKeyValue(80);
    L->SetKeyValue(Absent);
    EXPECT_EQ(L->GetItemIndex(), -1) << VarToStr(Absent);
    EXPECT_TRUE(L->GetKeyValue().IsNull()) << VarToStr(Absent);
  }
  auto* Codes = new TMemDataSet(Form);  // text keys that read as the same number
  Codes->AddFieldDef("Code", ftString);
  Codes->Open();
  for (const char* C : {"007", "7", "07"}) Codes->AppendRecord({C});
  L->SetListSource(nullptr);  // as the editor does between two drops
  Source->SetDataSet(Codes);
  L->SetKeyFieldName("Code");
  L->SetListFieldName("Code");
  L->SetListSource(Source);
  EXPECT_EQ(L->GetCount(), 3);
  L->SetKeyValue(7);
  EXPECT_EQ(L->GetItemIndex(), 1);
}

TEST_F(PopupDataList, Selection_KeysFromTheEditAndClicksMoveItWithoutTakingTheFocus) {
  std::vector<TPoint> Ups;
  L->OnMouseUp = [&](TObject*, TMouseButton B, TShiftState, Integer X, Integer Y) {
    if (B == mbLeft) Ups.push_back({X, Y});
  };
  Drop(30);
  HWND Active = GetActiveWindow();
  int Expected[][2] = {{VK_DOWN, 40}, {VK_UP, 30},    {VK_NEXT, 60},  // a page: rows shown less one
                       {VK_END, 90},  {VK_PRIOR, 60}, {VK_HOME, 10}};
  for (auto [Key, Id] : Expected) {
    D.KeyStroke(Word(Key));
    EXPECT_EQ(L->GetKeyValue(), Variant(Id)) << Key;
  }
  D.ClickAt(L, RowPoint(1).X, RowPoint(1).Y);
  EXPECT_EQ(L->GetKeyValue(), Variant(20));
  ASSERT_EQ(Ups.size(), 1u);
  EXPECT_EQ(Ups[0], RowPoint(1));
  EXPECT_TRUE(Edit->Focused());
  EXPECT_EQ(GetActiveWindow(), Active);
  // Released beside the list: the release still reaches it, with the point outside.
  D.Advance(1000);
  D.MouseDownAt(L, 30, RowPoint(3).Y);
  D.MouseUpAt(L, L->GetWidth() + 40, RowPoint(3).Y);
  EXPECT_EQ(L->GetKeyValue(), Variant(40));
  ASSERT_EQ(Ups.size(), 2u);
  EXPECT_EQ(Ups[1], (TPoint{L->GetWidth() + 40, RowPoint(3).Y}));
}

TEST_F(PopupDataList, DataSet_AppendsDeletesEditsAndClosingAreFollowed) {
  Drop(30, 12);
  Cities->AppendRecord({100, "City J"});
  EXPECT_EQ(L->GetCount(), 10);
  EXPECT_EQ(Rows().back(), "City J");
  EXPECT_EQ(L->GetClientHeight(), 10 * H);
  EXPECT_EQ(L->GetKeyValue(), Variant(30));  // the selection keeps its key
  // An unposted record is neither shown nor disturbed by the list.
  Cities->Append();
  Cities->FieldByName("Name")->SetAsString("Pending");
  EXPECT_EQ(Cities->GetState(), dsInsert);
  EXPECT_EQ(L->GetCount(), 10);
  Cities->Cancel();
  ASSERT_TRUE(Cities->Locate("Id", Variant(30)));
  Cities->Edit();
  Cities->FieldByName("Name")->SetAsString("Renamed");
  Cities->Post();
  EXPECT_EQ(Rows()[2], "Renamed");
  ASSERT_TRUE(Cities->Locate("Id", Variant(20)));
  Cities->Delete();
  EXPECT_EQ(L->GetCount(), 9);
  EXPECT_EQ(L->GetItemIndex(), 1);  // key 30 moved up a row
  Cities->Delete();                 // now the selected one goes
  EXPECT_EQ(L->GetItemIndex(), -1);
  EXPECT_TRUE(L->GetKeyValue().IsNull());
  L->SetKeyValue(50);
  Cities->Close();
  EXPECT_EQ(L->GetCount(), 0);
  Cities->Open();
  EXPECT_EQ(L->GetCount(), 8);
  EXPECT_EQ(L->GetKeyValue(), Variant(50));  // the key asked for is found again
}

TEST_F(PopupDataList, Source_FreedOrDetachedLeavesAnEmptyListBehind) {
  Drop(30);
  delete Source;
  EXPECT_EQ(L->GetListSource(), nullptr);
  EXPECT_EQ(L->GetCount(), 0);

  auto* Other = new TDataSource(Form);
  Other->SetDataSet(Cities);
  L->SetListSource(Other);
  EXPECT_EQ(L->GetCount(), 9);
  Other->Free();  // the owner-side path: notifications first
  EXPECT_EQ(L->GetListSource(), nullptr);
  EXPECT_EQ(L->GetCount(), 0);

  Source = new TDataSource(Form);
  Source->SetDataSet(Cities);
  L->SetListSource(Source);
  EXPECT_EQ(L->GetCount(), 9);
  delete Cities;  // the data set goes while the source stays
  EXPECT_EQ(L->GetCount(), 0);
}

TEST_F(PopupDataList, Paint_DroppedListShowsTheSelectedRowInHighlight) {
  Drop(20, 5);
  EXPECT_TRUE(D.Snapshot(::testing::TempDir() + "popup_data_list.png"));
  TPoint Sel = D.ToScreen(L, L->GetClientWidth() - 3, RowPoint(1).Y);
  EXPECT_EQ(D.ScreenPixel(Sel.X, Sel.Y), ColorToPixel(clHighlight));
  TPoint Other = D.ToScreen(L, L->GetClientWidth() - 3, RowPoint(3).Y);
  EXPECT_EQ(D.ScreenPixel(Other.X, Other.Y), ColorToPixel(clWindow));
}

}  // namespace
}  // namespace plumb::test
