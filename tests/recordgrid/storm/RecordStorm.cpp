// The record grid's storm. Sections: the witnessed grid; the world (a scratch database, the
// form, the grid, its data and a second connection); user actions; host actions; data actions;
// the invariants.
#include "RecordStorm.h"

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <set>

#include "../../storm/Storm.h"
#include "backends/headless/Headless.h"
#include "controls/Forms.h"
#include "data/SQLiteDataSet.h"
#include "recordgrid/uPlumbGrid.h"

namespace plumb::test {
namespace {

const char* const Schema =
    "CREATE TABLE people (id INTEGER PRIMARY KEY, name TEXT NOT NULL, age INTEGER CHECK (age "
    "BETWEEN 0 AND 150), city TEXT, born DATE, score REAL, notes MEMO, photo BLOB, email TEXT "
    "UNIQUE);"
    "WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 30) "
    "INSERT INTO people SELECT n, 'Name ' || n, 20 + n, 'City ' || (n % 4), "
    "date('2000-01-01', '+' || n || ' days'), n * 1.5, 'memo ' || n, X'0102', "
    "'p' || n || '@x.org' FROM s;";

const std::vector<std::string> FieldNames{"id",    "name",  "age",   "city", "born",   "score",
                                          "notes", "photo", "email", "",     "nothing"};

// The grid with a witness of what the editor loads and writes: text goes only to the column
// the editor was loaded from, while the user can see the editor.
class TStormRecordGrid : public TPlumbGrid {
  PLUMB_CLASS(TStormRecordGrid, TPlumbGrid)
  explicit TStormRecordGrid(TComponent* AOwner) : TPlumbGrid(AOwner) {}

  std::string Faults;
  bool Checking = false;
  using TPlumbGrid::CalcDrawInfo;
  using TPlumbGrid::CalcMaxTopLeft;
  using TPlumbGrid::CanEditShow;
  using TPlumbGrid::EditorShown;
  using TPlumbGrid::GetColCount;
  using TPlumbGrid::GetFixedCols;
  using TPlumbGrid::GetRowCount;
  TCellCoord EditorCell() const { return FEditorCell; }
  TColumn* At(Integer Row) const {
    return Row >= 0 && Row < GetColumns()->Count() ? GetColumns()->GetColumn(Row) : nullptr;
  }
  std::string EditText(Integer Row) { return GetEditText(1, Row); }

 protected:
  std::string GetEditText(Integer ACol, Integer ARow) override {
    if (!Checking) FLoaded = At(ARow);
    return TPlumbGrid::GetEditText(ACol, ARow);
  }
  void SetEditText(Integer ACol, Integer ARow, const std::string& Value) override {
    if (At(ARow) != FLoaded || !EditorShown() || !GetOptions().Contains(goEditing))
      Faults += "wrote \"" + Value + "\" to row " + std::to_string(ARow) +
                (At(ARow) != FLoaded ? ", not the column the editor was loaded from" : "") +
                (EditorShown() ? "" : ", editor hidden") + "; ";
    TPlumbGrid::SetEditText(ACol, ARow, Value);
  }

 private:
  TColumn* FLoaded = nullptr;
};

std::string Quoted(const std::string& S) {
  return "\"" + S + "\"";
}

class TRecordStorm {
 public:
  explicit TRecordStorm(uint64_t Seed);
  ~TRecordStorm();
  std::string Run(int Steps) {
    return S.Run(Steps, [this] { return Check(); });
  }

 private:
  void MakeWorld();
  void AddColumn(const std::string& Field, Cardinal Level);
  void AddUserActions();
  void AddHostActions();
  void AddColumnActions();
  void AddDataActions();
  template <class F>
  std::string Act(const std::string& What, F Change);
  TColumn* RandomColumn();
  TShiftState RandomShift();
  std::string Check();
  std::string CheckCounts();
  std::string CheckEditor();
  std::string CheckReferences();
  std::string Other(const std::string& Sql);

  THeadlessDesktop D{1024, 768};
  TStorm S;
  std::string Path;
  sqlite3* Second = nullptr;
  TForm* Form = nullptr;
  TEdit* Elsewhere = nullptr;
  TStormRecordGrid* Grid = nullptr;
  TSQLiteDataSet* Data = nullptr;
  TDataSource* Source = nullptr;
  std::set<TComponent*> Menus;
};

TRecordStorm::TRecordStorm(uint64_t Seed) : S(Seed) {
  static int Counter = 0;
  Path = "/tmp/plumb_record_storm_" + std::to_string(getpid()) + "_" + std::to_string(++Counter) +
         ".db";
  std::remove(Path.c_str());
  sqlite3_open(Path.c_str(), &Second);
  sqlite3_exec(Second, Schema, nullptr, nullptr, nullptr);
  MakeWorld();
  AddUserActions();
  AddHostActions();
  AddColumnActions();
  AddDataActions();
}

TRecordStorm::~TRecordStorm() {
  delete Form;
  Application->OnException = nullptr;
  sqlite3_close(Second);
  for (const char* Suffix : {"", "-journal", "-wal", "-shm"}) std::remove((Path + Suffix).c_str());
}

void TRecordStorm::MakeWorld() {
  Application->OnException = [this](TObject*, const Exception& E) {
    // What a user can do wrong is told in words; anything else escaping a message is a fault.
    if (!dynamic_cast<const EDatabaseError*>(&E) && !dynamic_cast<const EConvertError*>(&E) &&
        !dynamic_cast<const EVariantError*>(&E))
      Grid->Faults += std::string("a message raised: ") + E.what() + "; ";
  };
  Form = new TForm(nullptr);
  Form->SetBounds(0, 0, 700, 560);
  Form->Show();
  Elsewhere = new TEdit(Form);
  Elsewhere->SetParent(Form);
  Elsewhere->SetBounds(620, 10, 60, 20);
  Data = new TSQLiteDataSet(Form);
  Data->SetDatabaseName(Path);
  Data->SetTableName("people");
  Data->SetBusyTimeout(0);
  Data->Open();
  Source = new TDataSource(Form);
  Source->SetDataSet(Data);
  Grid = new TStormRecordGrid(Form);
  Grid->SetParent(Form);
  Grid->SetBounds(10, 10, 420, 320);
  for (size_t I = 0; I < 9; ++I) AddColumn(FieldNames[I], I % 3 == 2 ? 1 : 0);
  Grid->GetColumns()->GetColumn(3)->GetPickList()->Add("City 1");
  Grid->SetDataSource(Source);
  Grid->OnEditButtonClick = [](TObject*, Integer, TField*) {};
  Grid->SetFocus();
  D.RunUntilIdle();
}

void TRecordStorm::AddColumn(const std::string& Field, Cardinal Level) {
  TColumn* C = Grid->GetColumns()->Add();
  C->SetFieldName(Field);
  if (Field.empty()) C->SetText("free");
  C->SetIndentLevel(Level);
}

// A host or data action; the refusals of the grid, the collection and the data set are part of
// their contract.
template <class F>
std::string TRecordStorm::Act(const std::string& What, F Change) {
  std::string Done = What;
  try {
    Change();
  } catch (const EDatabaseError& E) {
    Done += " refused: " + std::string(E.what());
  } catch (const EListError& E) {
    Done += " refused: " + std::string(E.what());
  } catch (const EConvertError& E) {
    Done += " refused: " + std::string(E.what());
  }
  D.RunUntilIdle();
  return Done;
}

TColumn* TRecordStorm::RandomColumn() {
  TPlumbGridColumns* C = Grid->GetColumns();
  return C->GetColumn(S.Int(0, C->Count() - 1));
}

TShiftState TRecordStorm::RandomShift() {
  TShiftState Shift;
  if (S.Chance(25)) Shift.Include(ssShift);
  if (S.Chance(20)) Shift.Include(ssCtrl);
  if (S.Chance(15)) Shift.Include(ssAlt);
  return Shift;
}

// ---- User actions ----------------------------------------------------------------------------

void TRecordStorm::AddUserActions() {
  static const std::vector<Word> Keys{VK_UP,   VK_DOWN,   VK_PRIOR, VK_NEXT,   VK_HOME,
                                      VK_END,  VK_TAB,    VK_F2,    VK_RETURN, VK_ESCAPE,
                                      VK_BACK, VK_DELETE, 'A',      '7',       VK_SPACE};
  S.Add(30, [this] {
    Word K = S.Pick(Keys);
    TShiftState Shift = RandomShift();
    D.KeyStroke(K, Shift);
    return "key " + std::to_string(K) + " shift " + std::to_string(Shift.Stored());
  });
  static const std::vector<std::string> Texts{"a",  "42", "x9", "é",  "жук",  "2001-02-03",
                                              "-1", "\t", "\b", "\r", "\x1b", "1e999"};
  S.Add(14, [this] {
    const std::string& T = S.Pick(Texts);
    D.TypeText(T);
    return "type " + Quoted(T);
  });
  S.Add(10, [this] {
    TPoint P{S.Chance(30) ? 150 + S.Int(-6, 6) : S.Int(-4, 424), S.Int(-4, 324)};
    TMouseButton B = S.Chance(80) ? mbLeft : mbRight;
    D.ClickAt(Grid, P.X, P.Y, B);
    return std::string(B == mbLeft ? "click" : "right click") + " at " + std::to_string(P.X) + "," +
           std::to_string(P.Y);
  });
  S.Add(4, [this] {
    TPoint P{S.Int(0, 420), S.Int(0, 320)};
    D.DoubleClickAt(Grid, P.X, P.Y);
    return "double click at " + std::to_string(P.X) + "," + std::to_string(P.Y);
  });
  S.Add(6, [this] {
    auto* E = static_cast<TPlumbGridInplaceEdit*>(Grid->GetInplaceEditor());
    if (!E || !E->Visible()) return std::string("no editor");
    TRect B = E->ButtonRect();
    Integer X = B.Right > B.Left ? B.Left + 2 : E->GetWidth() / 2;
    D.MouseDownAt(E, X, 3);
    Integer ToY = S.Int(-10, 120);
    D.MouseMoveAt(E, X, ToY);
    D.MouseUpAt(E, X, ToY);
    return "press on the editor at " + std::to_string(X) + " to y " + std::to_string(ToY);
  });
  S.Add(3, [this] {
    Integer From = 150 + S.Int(-4, 4), To = S.Int(-20, 440);
    D.MouseDownAt(Grid, From, 30);
    D.MouseMoveAt(Grid, To, 30);
    D.MouseUpAt(Grid, To, 30);
    return "drag the title line to " + std::to_string(To);
  });
  S.Add(4, [this] {
    int Notches = S.Int(-3, 3);
    TPoint P = D.ToScreen(Grid, 200, 100);
    SendMessage(Grid->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, Word(int16_t(Notches * 120))),
                MAKELPARAM(P.X, P.Y));
    D.RunUntilIdle();
    return "wheel " + std::to_string(Notches);
  });
  S.Add(3, [this] {
    bool ToGrid = S.Chance(60);
    if (ToGrid)
      Grid->SetFocus();
    else
      Elsewhere->SetFocus();
    D.RunUntilIdle();
    return std::string(ToGrid ? "focus the grid" : "focus elsewhere");
  });
  S.Add(2, [this] {
    Integer W = S.Int(0, 640), H = S.Int(0, 520);
    Grid->SetBounds(10, 10, W, H);
    D.RunUntilIdle();
    return "resize to " + std::to_string(W) + " x " + std::to_string(H);
  });
  S.Add(2, [this] {
    Cardinal Ms = Cardinal(S.Int(0, 3000));
    D.Advance(Ms);
    return "wait " + std::to_string(Ms);
  });
}

// ---- Host actions ----------------------------------------------------------------------------

void TRecordStorm::AddColumnActions() {
  S.Add(3, [this] {
    const std::string& F = S.Pick(FieldNames);
    Cardinal L = Cardinal(S.Int(0, 2));
    return Act("add column " + Quoted(F), [&] { AddColumn(F, L); });
  });
  S.Add(2, [this] {
    Integer I = S.Int(-1, Grid->GetColumns()->Count());
    return Act("delete column " + std::to_string(I), [&] { Grid->GetColumns()->Delete(I); });
  });
  S.Add(2, [this] {
    Integer To = S.Int(-1, Grid->GetColumns()->Count());
    return Act("move a column to " + std::to_string(To), [&] { RandomColumn()->SetIndex(To); });
  });
  S.Add(2, [this] {
    Cardinal L = Cardinal(S.Int(0, 3));
    return Act("indent to " + std::to_string(L), [&] { RandomColumn()->SetIndentLevel(L); });
  });
  S.Add(5, [this] {
    return Act("toggle expanded", [&] {
      TColumn* C = RandomColumn();
      C->SetExpanded(!C->GetExpanded());
    });
  });
  S.Add(2, [this] {
    const std::string& F = S.Pick(FieldNames);
    return Act("field name " + Quoted(F), [&] { RandomColumn()->SetFieldName(F); });
  });
  S.Add(2, [this] {
    return Act("pick list", [&] {
      TColumn* C = RandomColumn();
      if (S.Chance(50))
        C->SetPickList(nullptr);
      else
        C->GetPickList()->Add(S.Chance(50) ? "7" : "City 2");
    });
  });
  S.Add(2, [this] {
    return Act("read-only and button", [&] {
      TColumn* C = RandomColumn();
      C->SetReadOnly(S.Chance(50));
      C->SetButtonStyle(TColumnButtonStyle(S.Int(cbsAuto, cbsNone)));
    });
  });
}

void TRecordStorm::AddHostActions() {
  S.Add(2, [this] {
    TGridOption Which = TGridOption(S.Int(goDrawFixed, goThumbTracking));
    return Act("toggle option " + std::to_string(int(Which)), [&] {
      TGridOptions O = Grid->GetOptions();
      Grid->SetOptions(O.Contains(Which) ? O - Which : O + Which);
    });
  });
  S.Add(2, [this] {
    return Act("a new menu on a column", [&] {
      auto* Menu = new TPopupMenu(Form);
      auto* Item = new TMenuItem(Menu);
      Item->SetCaption("Item");
      Menu->GetItems()->Add(Item);
      Menus.insert(Menu);
      RandomColumn()->SetPopupMenu(Menu);
    });
  });
  S.Add(1, [this] {
    if (Menus.empty()) return std::string("no menu to free");
    TComponent* Menu = *Menus.begin();
    Menus.erase(Menus.begin());
    Menu->Free();
    D.RunUntilIdle();
    return std::string("free a menu");
  });
  S.Add(1, [this] {
    int N = Data->GetFieldCount();
    if (N == 0) return std::string("no field to free");
    TField* F = Data->GetField(S.Int(0, N - 1));
    std::string Name = F->GetFieldName();
    F->Free();
    D.RunUntilIdle();
    return "free field " + Name;
  });
  S.Add(1, [this] {
    return Act("free and renew the data source", [&] {
      Source->Free();
      Source = new TDataSource(Form);
      Source->SetDataSet(Data);
      if (S.Chance(70)) Grid->SetDataSource(Source);
    });
  });
  S.Add(1, [this] {
    return Act("reset", [&] {
      Grid->Reset();
      for (int I = S.Int(0, 4); I > 0; --I) AddColumn(S.Pick(FieldNames), Cardinal(S.Int(0, 1)));
    });
  });
}

// ---- Data actions ----------------------------------------------------------------------------

std::string TRecordStorm::Other(const std::string& Sql) {
  char* Err = nullptr;
  sqlite3_exec(Second, Sql.c_str(), nullptr, nullptr, &Err);
  std::string R = Err ? std::string(" (") + Err + ")" : "";
  sqlite3_free(Err);
  return R;
}

void TRecordStorm::AddDataActions() {
  S.Add(6, [this] {
    int How = S.Int(0, 3);
    return Act("move " + std::to_string(How), [&] {
      if (How == 0) Data->First();
      if (How == 1) Data->Last();
      if (How == 2) Data->MoveBy(S.Int(-3, 3));
      if (How == 3) Data->SetRecNo(S.Int(1, std::max(1, Data->GetRecordCount())));
    });
  });
  S.Add(2, [this] { return Act("insert", [&] { Data->Insert(); }); });
  S.Add(1, [this] { return Act("delete", [&] { Data->Delete(); }); });
  S.Add(2, [this] { return Act("edit", [&] { Data->Edit(); }); });
  S.Add(3, [this] { return Act("post", [&] { Data->Post(); }); });
  S.Add(2, [this] { return Act("cancel", [&] { Data->Cancel(); }); });
  S.Add(1, [this] {
    return Act("close and reopen", [&] {
      Data->Close();
      D.RunUntilIdle();
      Data->Open();
    });
  });
  S.Add(2, [this] {
    int Row = S.Int(1, 35);
    std::string What =
        S.Pick(std::vector<std::string>{"UPDATE people SET name = 'Other " + std::to_string(Row) +
                                            "' WHERE id = " + std::to_string(Row),
                                        "DELETE FROM people WHERE id = " + std::to_string(Row),
                                        "INSERT INTO people (name, age) VALUES ('New', 33)"});
    std::string Result = Other(What);
    return Act("another connection: " + What + Result, [&] {
      if (S.Chance(50)) Data->Refresh();
    });
  });
}

// ---- Invariants ------------------------------------------------------------------------------

std::string TRecordStorm::CheckCounts() {
  Integer Rows = Grid->GetRowCount(), Columns = Grid->GetColumns()->Count();
  if (Rows != std::max(Columns, 1))
    return std::to_string(Rows) + " rows for " + std::to_string(Columns) + " visible columns";
  TCellRange Sel = Grid->GetSelection();
  if (Sel.Left < 0 || Sel.Top < 0 || Sel.Right >= Grid->GetColCount() || Sel.Bottom >= Rows)
    return "the current cell or the anchor lies outside the grid";
  TGridLayout L;
  Grid->CalcDrawInfo(L);
  Integer Fixed = Grid->GetFixedRows();
  Integer MaxTop = Grid->CalcMaxTopLeft(TCellCoord{Grid->GetColCount() - 1, Rows - 1}, L).Y;
  Integer Top = Grid->GetTopRow();
  if (Top < Fixed || Top > std::max(MaxTop, Fixed) || Grid->GetLeftCol() < Grid->GetFixedCols())
    return "the top-left cell lies outside the scrolled part";
  if (MaxTop > Fixed &&
      GetScrollPos(Grid->GetHandle(), SB_VERT) != MulDiv(Top - Fixed, 127, MaxTop - Fixed))
    return "the scroll bar disagrees with the top row";
  return "";
}

std::string TRecordStorm::CheckEditor() {
  TInplaceEdit* E = Grid->GetInplaceEditor();
  if (!E || !E->Visible()) return "";
  TCellCoord Cur{Grid->GetCol(), Grid->GetRow()};
  if (!Grid->CanEditShow()) return "the editor shows where it may not";
  if (!(Grid->EditorCell() == Cur)) return "the editor is not on the current cell";
  TRect Cell = Grid->CellRect(Cur.X, Cur.Y);
  if (!(E->GetBoundsRect() == TRect{Cell.Left, Cell.Top + 1, Cell.Right - 1, Cell.Bottom}))
    return "the editor is not over its cell";
  Grid->Checking = true;
  std::string Text;
  try {
    Text = Grid->EditText(Cur.Y);
  } catch (const Exception& X) {
    Grid->Checking = false;
    return std::string("the row's text cannot be read: ") + X.what();
  }
  Grid->Checking = false;
  if (E->GetText() != Text && !E->GetModified())
    return "the editor shows " + Quoted(E->GetText()) + ", the row holds " + Quoted(Text);
  return "";
}

std::string TRecordStorm::CheckReferences() {
  std::set<TField*> Fields;
  for (int I = 0; I < Data->GetFieldCount(); ++I) Fields.insert(Data->GetField(I));
  if (Grid->GetDataSource() && Grid->GetDataSource() != Source) return "a freed data source";
  std::vector<TPlumbGridColumns*> Pending{Grid->GetColumns()};
  while (!Pending.empty()) {
    TPlumbGridColumns* C = Pending.back();
    Pending.pop_back();
    for (int I = 0; I < C->Count(); ++I) {
      TColumn* Column = C->GetColumn(I);
      if (Column->GetPopupMenu() && !Menus.count(Column->GetPopupMenu())) return "a freed menu";
      if (Column->GetBoundField() && !Fields.count(Column->GetBoundField())) return "a freed field";
      Pending.push_back(Column->GetHiddenChildren());
    }
  }
  return "";
}

std::string TRecordStorm::Check() {
  if (!Grid->Faults.empty()) return Grid->Faults;
  for (auto Part :
       {&TRecordStorm::CheckCounts, &TRecordStorm::CheckReferences, &TRecordStorm::CheckEditor}) {
    std::string Fault = (this->*Part)();
    if (!Fault.empty())
      return Fault + " [rows " + std::to_string(Grid->GetRowCount()) + ", current " +
             std::to_string(Grid->GetRow()) + ", top " + std::to_string(Grid->GetTopRow()) +
             ", record " + std::to_string(Data->GetRecNo()) + ", state " +
             std::to_string(int(Data->GetState())) + "]";
  }
  return "";
}

}  // namespace

std::string RunRecordStorm(uint64_t Seed, int Steps) {
  TRecordStorm Storm(Seed);
  return Storm.Run(Steps);
}

}  // namespace plumb::test
