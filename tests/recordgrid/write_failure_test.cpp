// Issue 17: every way a write of the user's value can fail, driven as a user does it: the
// value typed into the grid's editor, Ctrl+S on the form posting the record. Whatever
// refuses — the field, the database, the file system beneath it, a host's event — the value
// stays in the record and in the editor, the error reaches the application in words, the
// table (read from a fresh connection) holds the row as it was, and the corrected value then
// posts and is stored.
#include "../platform/data/DataTestSupport.h"
#include "../platform/data/FaultVfs.h"
#include "RecordGridTestUtil.h"
#include "data/SQLiteDataSet.h"

namespace plumb::test {

namespace {

const char* Schema = R"(
  CREATE TABLE people (id INTEGER PRIMARY KEY,
                       name TEXT NOT NULL DEFAULT '' CHECK (name <> 'Nobody'),
                       email TEXT UNIQUE,
                       age INTEGER NOT NULL DEFAULT 0);
  CREATE TRIGGER no_shouting BEFORE UPDATE ON people
    WHEN new.name <> lower(new.name) AND new.name = upper(new.name)
    BEGIN SELECT RAISE(ABORT, 'names are not shouted'); END;
  INSERT INTO people VALUES (1, 'Ann', 'ann@x.org', 31), (2, 'Bob', 'bob@x.org', 45);
)";

const char* RowOfBob = "SELECT name || '|' || email || '|' || age FROM people WHERE id = 2";

enum TRowOf { roName, roEmail, roAge };

}  // namespace

class WriteFailureTest : public RecordGridTest {
 protected:
  TScratchDb Db{Schema};
  TOtherConnection Other{Db.Path()};
  TFaultVfs Vfs;
  TSQLiteDataSet* Table = nullptr;
  std::vector<std::string> Errors;

  void SetUp() override {
    RecordGridTest::SetUp();
    Application->OnException = [this](TObject*, const Exception& E) { Errors.push_back(E.what()); };
    Table = new TSQLiteDataSet(Form);
    Table->SetDatabaseName(Db.Path());
    Table->SetTableName("people");
    Table->SetBusyTimeout(0);
    Table->Open();
    Source->SetDataSet(Table);
    Build({{"name"}, {"email"}, {"age"}});
    Bind();
    // The host's Save command.
    Form->SetKeyPreview(true);
    Form->OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) {
      if (Key != 'S' || !Shift.Contains(ssCtrl)) return;
      Key = 0;
      Table->Post();
    };
  }
  void TearDown() override {
    Application->OnException = nullptr;
    RecordGridTest::TearDown();
  }
  TPlumbGridInplaceEdit* Ed() {
    return static_cast<TPlumbGridInplaceEdit*>(Grid->GetInplaceEditor());
  }
  // Types Text over the whole of Row's value on Bob's record and saves; Before runs between.
  void TypeAndSave(TRowOf Row, const std::string& Text, const std::function<void()>& Before = {}) {
    Grid->SetFocus();
    Grid->SetRow(Row);
    D.KeyStroke(VK_F2);
    Ed()->SelectAll();
    if (Text.empty())
      D.KeyStroke(VK_DELETE);
    else
      D.TypeText(Text);
    if (Before) Before();
    D.KeyStroke('S', {ssCtrl});
  }
  std::string FieldText(TRowOf Row) {
    static const char* Names[] = {"name", "email", "age"};
    return Table->FieldByName(Names[Row])->GetAsString();
  }
};

TEST_F(WriteFailureTest, AValueThatCannotBeStored_StaysOnScreenAndPostsOnceCorrected) {
  struct TCase {
    const char* What;
    TRowOf Row;
    std::string Bad, Words, Good, Stored;
    std::function<void()> Arm, Disarm;
    bool FieldHoldsBad = true;  // false where the field cannot even take the text
    bool ArmBeforeTyping = false;
  };
  auto Nothing = [] {};
  auto Fault = [this](TFsFault F) { return [this, F] { Vfs.Arm(F); }; };
  auto Healed = [this] { Vfs.Arm(fsNone); };
  const TCase Cases[] = {
      {"not an integer", roAge, "4x", "4x", "40", "Bob|bob@x.org|40", Nothing, Nothing, false},
      {"NOT NULL", roAge, "", "NOT NULL", "46", "Bob|bob@x.org|46", Nothing, Nothing},
      {"CHECK", roName, "Nobody", "CHECK", "Noel", "Noel|bob@x.org|45", Nothing, Nothing},
      {"UNIQUE", roEmail, "ann@x.org", "UNIQUE", "bo@x.org", "Bob|bo@x.org|45", Nothing, Nothing},
      {"trigger", roName, "BOB", "names are not shouted", "Bobby", "Bobby|bob@x.org|45", Nothing,
       Nothing},
      {"busy", roName, "Rob", "locked", "Rob", "Rob|bob@x.org|45", [this] { Other.Lock(); },
       [this] { Other.Release(); }},
      // Locked from the first keystroke on: the edit never starts, and saving says why.
      {"busy while typing", roName, "Rob", "locked", "", "Rob|bob@x.org|45",
       [this] { Other.Lock(); }, [this] { Other.Release(); }, false, true},
      {"read-only file", roName, "Rob", "readonly", "Rob", "Rob|bob@x.org|45", Fault(fsReadOnly),
       Healed},
      {"disk full", roName, "Rob", "full", "Rob", "Rob|bob@x.org|45", Fault(fsDiskFull), Healed},
      {"I/O error", roName, "Rob", "I/O error", "Rob", "Rob|bob@x.org|45", Fault(fsIoError),
       Healed},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.What);
    Db.Exec("UPDATE people SET name = 'Bob', email = 'bob@x.org', age = 45 WHERE id = 2");
    Table->Refresh();
    ASSERT_TRUE(Table->Locate("id", Variant(2)));
    Errors.clear();
    if (C.ArmBeforeTyping) C.Arm();
    TypeAndSave(C.Row, C.Bad, C.ArmBeforeTyping ? Nothing : C.Arm);
    C.Disarm();
    ASSERT_FALSE(Errors.empty());
    EXPECT_NE(Errors.back().find(C.Words), std::string::npos) << Errors.back();
    EXPECT_EQ(Ed()->GetText(), C.Bad);
    EXPECT_TRUE(Ed()->Visible());
    EXPECT_EQ(Grid->EditorCell().Y, C.Row);
    if (C.FieldHoldsBad) {
      EXPECT_EQ(FieldText(C.Row), C.Bad);
      EXPECT_EQ(Table->GetState(), dsEdit);
    }
    EXPECT_EQ(Db.Query(RowOfBob), "Bob|bob@x.org|45");
    Errors.clear();
    if (C.Good.empty()) {
      D.KeyStroke('S', {ssCtrl});  // saved again as it stands
    } else {
      TypeAndSave(C.Row, C.Good);
    }
    EXPECT_EQ(Errors, std::vector<std::string>{});
    EXPECT_EQ(Db.Query(RowOfBob), C.Stored);
    EXPECT_EQ(Table->GetState(), dsBrowse);
    EXPECT_EQ(Ed()->GetText(), C.Good.empty() ? C.Bad : C.Good);
  }
}

// The host refuses: a column's OnValidate, a handler that raises while the value is typed, and
// the data set's BeforePost.
TEST_F(WriteFailureTest, AValueTheHostRefuses_StaysOnScreenAndPostsOnceCorrected) {
  TColumn* Name = Grid->Row(roName);
  Name->OnValidate = [](TObject*, Integer, TStrings*, Variant& V, bool& Accept) {
    Accept = V.ToString() != "Zed";
  };
  Name->OnSetEditText = [](TObject*, Integer, TStrings*, const Variant& V) {
    if (V.ToString() == "Max") throw Exception("Max is taken");
  };
  Table->BeforePost = [this](TDataSet*) {
    if (FieldText(roName) == "Ray") throw EDatabaseError("Ray is on leave");
  };
  struct TCase {
    std::string Bad, Words, Good;
  };
  const TCase Cases[] = {
      {"Zed", "Zed", "Zack"}, {"Max", "Max is taken", "Mo"}, {"Ray", "Ray is on leave", "Roy"}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Bad);
    ASSERT_TRUE(Table->Locate("id", Variant(2)));
    Errors.clear();
    TypeAndSave(roName, C.Bad);
    ASSERT_FALSE(Errors.empty());
    EXPECT_NE(Errors.back().find(C.Words), std::string::npos) << Errors.back();
    EXPECT_EQ(Ed()->GetText(), C.Bad);
    EXPECT_EQ(FieldText(roName), C.Bad);
    EXPECT_EQ(Table->GetState(), dsEdit);
    EXPECT_EQ(Db.Query(RowOfBob), "Bob|bob@x.org|45");
    Errors.clear();
    TypeAndSave(roName, C.Good);
    EXPECT_EQ(Errors, std::vector<std::string>{});
    EXPECT_EQ(Db.Query("SELECT name FROM people WHERE id = 2"), C.Good);
    EXPECT_EQ(Ed()->GetText(), C.Good);
    Db.Exec("UPDATE people SET name = 'Bob' WHERE id = 2");
    Table->Refresh();
  }
}

}  // namespace plumb::test
