// The lookup list dropped down under an edit on a headless desktop, as a lookup editor uses it:
// the edit keeps the focus and hands the list its keys; the list shows the rows of a data set,
// selects by key, follows the data set and lets go of a data source that is freed. On many
// records, in memory and in SQLite, it reads only the rows it shows and moves through them all.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>

#include "DataTestSupport.h"
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
  // The rows it shows and no more, from the first record.
  EXPECT_EQ(Rows(), (std::vector<std::string>{"City A", "City B", "City C", "City D"}));
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
  EXPECT_EQ(Rows(), (std::vector<std::string>{"City A", "City B", "City C", "City D", "City E",
                                              "City F", "City G", "City H", "City I"}));
  L->SetListFieldName("");  // no list field: the key's text
  EXPECT_EQ(Rows().front(), "10");
  L->SetKeyFieldName("Nope");
  EXPECT_EQ(L->GetCount(), 0);
  EXPECT_EQ(L->GetClientHeight(), H);  // never less than a row
}

TEST_F(PopupDataList, KeyValue_SelectsTheRowWithThatKeyComparedInTheKeysType) {
  Drop(30);
  EXPECT_EQ(Rows().front(), "City B");  // the rows around it
  EXPECT_EQ(L->GetItemIndex(), 1);
  EXPECT_EQ(L->GetKeyValue(), Variant(30));
  L->SetKeyValue("80");
  EXPECT_EQ(Rows().front(), "City F");  // the last rows, to show it
  EXPECT_EQ(L->GetItemIndex(), 2);
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
  EXPECT_EQ(L->GetCount(), 4);
  Other->Free();  // the owner-side path: notifications first
  EXPECT_EQ(L->GetListSource(), nullptr);
  EXPECT_EQ(L->GetCount(), 0);

  Source = new TDataSource(Form);
  Source->SetDataSet(Cities);
  L->SetListSource(Source);
  EXPECT_EQ(L->GetCount(), 4);
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

// ---- Many records --------------------------------------------------------------------------
// The same records in memory or in a SQLite table: Id 1 .. Count, Name a letter for each block
// of records and the Id ("A 00001", ..., "K 20001", ...), and a calculated Shout whose
// OnCalcFields counts the records read into the fields. A host's link watches the data set,
// whose cursor the host keeps on record 17.
class PopupDataListLarge : public PopupDataList, public ::testing::WithParamInterface<const char*> {
 protected:
  static constexpr int Count = 40000, Block = 2000;
  static std::string NameOf(int Id) {
    char B[16];
    std::snprintf(B, sizeof B, "%c %05d", 'A' + (Id - 1) / Block, Id);
    return B;
  }
  void SetUp() override {
    PopupDataList::SetUp();
    Big = std::string(GetParam()) == "sqlite" ? MakeTable() : MakeMemory();
    auto* Shout = new TField(Form, ftString);
    Shout->SetFieldName("Shout");
    Shout->SetFieldKind(fkCalculated);
    Shout->SetDataSet(Big);
    Big->OnCalcFields = [this](TDataSet* DS) {
      ++Reads;
      DS->FieldByName("Shout")->SetAsString(UpperCase(DS->FieldByName("Name")->GetAsString()));
    };
    Big->Open();
    Source->SetDataSet(Big);
    auto* HostSource = new TDataSource(Form);
    HostSource->SetDataSet(Big);
    Host.Attach(HostSource);
    Big->SetRecNo(17);
    Host.Take();
    Reads = 0;
  }
  TDataSet* MakeMemory() {
    auto* M = new TMemDataSet(Form);
    M->AddFieldDef("Id", ftInteger);
    M->AddFieldDef("Name", ftString);
    M->Open();
    for (int I = 1; I <= Count; ++I) M->AppendRecord({I, NameOf(I)});
    M->Close();
    return M;
  }
  TDataSet* MakeTable() {
    Db = std::make_unique<TScratchDb>(
        "CREATE TABLE big (Id INTEGER PRIMARY KEY, Name TEXT);"
        "WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < " +
        std::to_string(Count) + ") INSERT INTO big SELECT n, char(65 + (n - 1) / " +
        std::to_string(Block) + ") || printf(' %05d', n) FROM s;");
    auto* T = new TSQLiteDataSet(Form);
    T->SetDatabaseName(Db->Path());
    T->SetTableName("big");
    return T;
  }
  // The host's record is current again, and its link heard only scrolls adding up to nothing.
  void ExpectCursorPutBack(const std::string& Step) {
    int Sum = 0;
    for (const std::string& E : Host.Take()) {
      ASSERT_EQ(E.rfind("scrolled ", 0), 0u) << Step << ": " << E;
      Sum += std::stoi(E.substr(9));
    }
    EXPECT_EQ(Sum, 0) << Step;
    EXPECT_EQ(Big->GetRecNo(), 17) << Step;
  }
  // The window shows records First .. First + 6, and the scroll bar stands for the whole set.
  void ExpectWindow(int First, const std::string& Step) {
    ASSERT_EQ(L->GetCount(), 7) << Step;
    EXPECT_EQ(Rows().front(), NameOf(First)) << Step;
    EXPECT_EQ(Rows().back(), NameOf(First + 6)) << Step;
    int Min = 0, Max = 0;
    GetScrollRange(L->GetHandle(), SB_VERT, &Min, &Max);
    EXPECT_EQ(Max, 32767) << Step;  // a scale: more first rows than a thumb position holds
    EXPECT_EQ(GetScrollPos(L->GetHandle(), SB_VERT), MulDiv(First - 1, 32767, Count - 7)) << Step;
  }
  void Scroll(int Code, int Pos = 0) {
    SendMessage(L->GetHandle(), WM_VSCROLL, MAKEWPARAM(Code, Pos), 0);
  }
  void Wheel(int Notches) {
    SendMessage(L->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -120 * Notches), 0);
  }

  std::unique_ptr<TScratchDb> Db;
  TDataSet* Big = nullptr;
  TRecordingLink Host;
  int Reads = 0;
};

TEST_P(PopupDataListLarge, Open_ShowsTheRowsAroundTheKeyReadingOnlyThose) {
  Drop(20500, 7);
  ExpectWindow(20497, "open");
  EXPECT_EQ(L->GetItemIndex(), 3);
  EXPECT_EQ(L->GetKeyValue(), Variant(20500));
  EXPECT_LE(Reads, 7 + 2);  // the rows, the key's record found, the host's record again
  ExpectCursorPutBack("open");
  struct {
    Variant Key;
    int First, Index, MaxReads;
  } Cases[] = {{20501, 20497, 4, 0},          // shown already: nothing read
               {1, 1, 0, 9},                  // the first rows
               {Count, Count - 6, 6, 9},      // the last rows, not half a window
               {Count - 2, Count - 6, 4, 0},  // near the end
               {Null, 1, -1, 9},              // no key: the first rows, none chosen
               {Count + 1, 1, -1, 9},         // a key no record has
               {"x", 1, -1, 0}};
  for (const auto& C : Cases) {
    std::string Step = "key " + VarToStr(C.Key);
    Reads = 0;
    L->SetKeyValue(C.Key);
    ExpectWindow(C.First, Step);
    EXPECT_EQ(L->GetItemIndex(), C.Index) << Step;
    EXPECT_EQ(L->GetKeyValue(), C.Index < 0 ? Variant(Null) : C.Key) << Step;
    EXPECT_LE(Reads, C.MaxReads) << Step;
    ExpectCursorPutBack(Step);
  }
  // Hidden, it reads nothing: given the key and then the data set, it reads when shown.
  UINT Keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
  SetWindowPos(L->GetHandle(), 0, 0, 0, 0, 0, Keep | SWP_HIDEWINDOW);
  L->SetListSource(nullptr);
  Reads = 0;
  L->SetKeyValue(30000);
  L->SetListSource(Source);
  EXPECT_EQ(L->GetCount(), 0);
  EXPECT_EQ(L->GetClientHeight(), 7 * H);
  EXPECT_EQ(Reads, 0);
  SetWindowPos(L->GetHandle(), 0, 0, 0, 0, 0, Keep | SWP_SHOWWINDOW);
  ExpectWindow(29997, "shown");
  EXPECT_EQ(L->GetKeyValue(), Variant(30000));
  EXPECT_LE(Reads, 9);
  ExpectCursorPutBack("shown");
}

TEST_P(PopupDataListLarge, Moves_PastTheWindowsEdgeShowTheNextRecords) {
  Drop(20500, 7);
  auto Click = [&](int X, int Y) { D.ClickAt(L, X, Y); };
  int BarX = L->GetClientWidth() + 8, Bottom = L->GetClientHeight();
  int Thumb = MulDiv(16384, Count - 7, 32767) + 1;
  struct {
    const char* Name;
    std::function<void()> Act;
    int First, Selected, MaxReads;
  } Steps[] = {
      {"down within",
       [&] {
         for (int I = 0; I < 3; ++I) D.KeyStroke(VK_DOWN);
       },
       20497, 20503, 0},
      {"down past the edge", [&] { D.KeyStroke(VK_DOWN); }, 20498, 20504, 2},
      {"page down", [&] { D.KeyStroke(VK_NEXT); }, 20504, 20510, 7},
      {"wheel", [&] { Wheel(1); }, 20507, 20510, 4},
      {"wheel away from it", [&] { Wheel(2); }, 20513, 20510, 7},
      {"bar's up arrow", [&] { Click(BarX, 6); }, 20512, 20510, 2},
      {"down to it again", [&] { D.KeyStroke(VK_DOWN); }, 20511, 20511, 2},
      {"bar's down arrow", [&] { Click(BarX, Bottom - 6); }, 20512, 20511, 2},
      {"bar's page down", [&] { Scroll(SB_PAGEDOWN); }, 20518, 20511, 7},
      {"thumb", [&] { Scroll(SB_THUMBPOSITION, 16384); }, Thumb, 20511, 8},
      {"end", [&] { D.KeyStroke(VK_END); }, Count - 6, Count, 8},
      {"wheel at the end", [&] { Wheel(1); }, Count - 6, Count, 0},
      {"home", [&] { D.KeyStroke(VK_HOME); }, 1, 1, 8},
      {"up at the top", [&] { D.KeyStroke(VK_UP); }, 1, 1, 0},
      {"drag past the bottom",  // each move below it takes one more record
       [&] {
         D.Advance(1000);
         D.MouseDownAt(L, 30, RowPoint(5).Y);
         D.MouseMoveAt(L, 30, Bottom + 5);
         D.MouseUpAt(L, 30, Bottom + 5);
       },
       3, 9, 4},
      {"click", [&] { D.Advance(1000), Click(30, RowPoint(2).Y); }, 3, 5, 0},
  };
  for (const auto& S : Steps) {
    Reads = 0;
    S.Act();
    ExpectWindow(S.First, S.Name);
    EXPECT_EQ(L->GetKeyValue(), Variant(S.Selected)) << S.Name;
    int Shown = S.Selected - S.First;
    EXPECT_EQ(L->GetItemIndex(), Shown >= 0 && Shown < 7 ? Shown : -1) << S.Name;
    EXPECT_LE(Reads, S.MaxReads) << S.Name;
    ExpectCursorPutBack(S.Name);
  }
  EXPECT_TRUE(Edit->Focused());
  // A record the host changes is shown changed, the window and the choice staying.
  Big->SetRecNo(4);
  Big->Edit();
  Big->FieldByName("Name")->SetAsString("Changed");
  Big->Post();
  EXPECT_EQ(Rows()[1], "Changed");
  EXPECT_EQ(L->GetItemIndex(), 2);
  EXPECT_EQ(L->GetKeyValue(), Variant(5));
  Wheel(3);  // also when the window has moved away from the choice
  Big->Edit();
  Big->FieldByName("Name")->SetAsString("Again");
  Big->Post();
  EXPECT_EQ(L->GetItemIndex(), -1);
  EXPECT_EQ(L->GetKeyValue(), Variant(5));
  D.KeyStroke(VK_DOWN);
  EXPECT_EQ(Rows().front(), NameOf(6));
  EXPECT_EQ(L->GetKeyValue(), Variant(6));
}

// Typed letters find the next record beginning with them in the whole data set. A column's text
// the data set searches itself; a calculated text needs the cursor to walk to it.
TEST_P(PopupDataListLarge, Typing_FindsTheNextRecordBeginningWithTheLetter) {
  for (const char* Field : {"Name", "Shout"}) {
    bool Walks = std::string(Field) == "Shout";
    Drop(1, 7);
    L->SetListFieldName(Field);
    struct {
      const char* Typed;
      int Selected, Distance;
    } Steps[] = {{"k", 20001, 20000},
                 {"K", 20002, 0},
                 {"z", 20002, Count},
                 {"a", 1, Count - 20001},
                 {"b", 2001, 2000}};
    for (const auto& S : Steps) {
      std::string Step = std::string(Field) + " " + S.Typed;
      Reads = 0;
      D.TypeText(S.Typed);
      EXPECT_EQ(L->GetKeyValue(), Variant(S.Selected)) << Step;
      // The window read, plus one record per record walked.
      EXPECT_LE(Reads, (Walks ? S.Distance : 0) + 9) << Step;
      ExpectCursorPutBack(Step);
    }
    L->SetListSource(nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(Storage, PopupDataListLarge, ::testing::Values("memory", "sqlite"));

}  // namespace
}  // namespace plumb::test
