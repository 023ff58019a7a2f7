// The SQLite data set when the database says no: busy files, rows that others deleted,
// writes a trigger or a conflict clause skipped, foreign keys, and blobs too large to read
// ahead. Whatever fails leaves the data set as it was; whatever is stored is reported so.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "DataTestSupport.h"

using namespace plumb;
using plumb::test::TLockAtStatement;
using plumb::test::TOtherConnection;
using plumb::test::TRecordingLink;
using plumb::test::TScratchDb;

namespace {

// Fifty people, more than one window of rows, so that the far end is read on demand.
const char* Schema = R"(
  CREATE TABLE people (id INTEGER PRIMARY KEY, name TEXT NOT NULL, email TEXT UNIQUE);
  WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 50)
  INSERT INTO people SELECT n, 'P' || n, 'p' || n || '@x.org' FROM s;
)";

// What a user of the data set can see of it.
struct TView {
  TDataSetState State;
  Integer RecNo, Count;
  bool Bof, Eof;
  std::string Values;
  bool operator==(const TView&) const = default;
};

std::ostream& operator<<(std::ostream& Out, const TView& V) {
  return Out << "state " << V.State << " rec " << V.RecNo << "/" << V.Count << " bof " << V.Bof
             << " eof " << V.Eof << " [" << V.Values << "]";
}

class SQLiteFailureTest : public ::testing::Test {
 protected:
  SQLiteFailureTest() : Db(Schema), Other(Db.Path()) {}
  TSQLiteDataSet* Open(const std::string& Table = "people") {
    DS = new TSQLiteDataSet(&Owner);
    DS->SetDatabaseName(Db.Path());
    DS->SetTableName(Table);
    DS->SetBusyTimeout(0);  // busy means busy at once
    DS->Open();
    Source = new TDataSource(&Owner);
    Source->SetDataSet(DS);
    Link.Attach(Source);
    Link.Take();
    return DS;
  }
  TView View() const {
    TView V{DS->GetState(), DS->GetRecNo(), DS->GetRecordCount(), DS->GetBof(), DS->GetEof(), ""};
    for (Integer I = 0; I < DS->GetFieldCount(); ++I)
      V.Values += DS->GetField(I)->GetAsString() + "|";
    return V;
  }
  // Op must fail with Words in its message and change nothing a user or a link could see.
  template <class TOp>
  void ExpectFailsChangingNothing(TOp Op, const std::string& Words, const std::string& What) {
    TView Before = View();
    try {
      Op();
      ADD_FAILURE() << What << " did not fail";
    } catch (const EDatabaseError& E) {
      EXPECT_NE(std::string(E.what()).find(Words), std::string::npos) << What << ": " << E.what();
    }
    EXPECT_EQ(View(), Before) << What;
    EXPECT_EQ(Link.Take(), std::vector<std::string>{}) << What;
  }
  TField* F(const char* Name) { return DS->FieldByName(Name); }

  TScratchDb Db;
  TOtherConnection Other;
  TComponent Owner{nullptr};
  TSQLiteDataSet* DS = nullptr;
  TDataSource* Source = nullptr;
  TRecordingLink Link;
};

// A move, a search or a refresh that fails while another program holds the file leaves the
// record the user sees current, so the next edit goes to that record and nowhere else.
TEST_F(SQLiteFailureTest, OperationsOnABusyFile_ChangeNothingAndEditsStillReachTheShownRecord) {
  Open();
  const std::pair<const char*, std::function<void()>> Ops[] = {
      {"Last", [&] { DS->Last(); }},
      {"MoveBy", [&] { DS->MoveBy(40); }},
      {"RecNo", [&] { DS->SetRecNo(45); }},
      {"Locate", [&] { DS->Locate("email", Variant("p45@x.org")); }},
      {"Refresh", [&] { DS->Refresh(); }},
      {"Edit", [&] { DS->Edit(); }}};
  for (const auto& [What, Op] : Ops) {
    DS->First();
    DS->Next();
    Link.Take();
    Other.Lock();
    ExpectFailsChangingNothing(Op, "database is locked", What);
    Other.Release();
    DS->Edit();
    EXPECT_EQ(DS->GetState(), dsEdit) << What;
    F("name")->SetAsString(std::string("Seen after ") + What);
    DS->Post();
    EXPECT_EQ(Db.Query("SELECT group_concat(id) FROM people WHERE name LIKE 'Seen after %'"), "2")
        << What;
    EXPECT_EQ(Db.Query("SELECT count(*) FROM people"), "50") << What;
    // With the file free again the same operation works, lookups included.
    Op();
    if (DS->GetState() == dsEdit) DS->Cancel();
    Db.Exec("UPDATE people SET name = 'P2' WHERE id = 2");
  }
  EXPECT_TRUE(DS->Locate("email", Variant("p45@x.org")));
  EXPECT_EQ(F("id")->GetAsInteger(), 45);
  // The file is locked after Refresh read the new keys and before it read the record.
  Db.Exec("INSERT INTO people (name) VALUES ('Newcomer')");
  Link.Take();
  {
    TLockAtStatement Hook(DS->GetHandle(), Other, " WHERE ");
    ExpectFailsChangingNothing([&] { DS->Refresh(); }, "database is locked", "late Refresh");
  }
  Other.Release();
  // Cancel brings back the record as it was without asking the file.
  DS->Append();
  F("name")->SetAsString("Draft");
  DS->Post();
  DS->Append();
  F("name")->SetAsString("Second");
  Other.Lock();
  EXPECT_NO_THROW(DS->Cancel());
  EXPECT_EQ(F("name")->GetAsString(), "Draft");
}

// The database has taken the write; the file is locked by someone else right after COMMIT.
// The data set reports the change as done and moves on, so there is nothing to retry.
TEST_F(SQLiteFailureTest, WriteCommittedThenFileLocked_IsReportedDoneAndNotRepeated) {
  Open();
  struct TCase {
    const char* What;
    std::function<void()> Op;
    const char* Table;  // the table afterwards, as name list
    const char* Shown;  // the current record's name afterwards
    Integer Count;
  };
  const TCase Cases[] = {{"update",
                          [&] {
                            DS->Edit();
                            F("name")->SetAsString("Ann");
                            DS->Post();
                          },
                          "Ann,P2,P3", "Ann", 50},
                         {"insert",
                          [&] {
                            DS->Insert();
                            F("name")->SetAsString("New");
                            DS->Post();
                          },
                          "Ann,P2,P3", "New", 51},
                         {"delete", [&] { DS->Delete(); }, "Ann,P2,P3", "Ann", 50}};
  for (const TCase& C : Cases) {
    DS->First();
    {
      TLockAtStatement Hook(DS->GetHandle(), Other);
      EXPECT_NO_THROW(C.Op()) << C.What;
      EXPECT_EQ(DS->GetState(), dsBrowse) << C.What;
      DS->Post();  // a retry has nothing left to do
    }
    Other.Release();
    EXPECT_EQ(F("name")->GetAsString(), C.Shown) << C.What;
    EXPECT_EQ(DS->GetRecordCount(), C.Count) << C.What;
    EXPECT_EQ(Db.Query("SELECT count(*) FROM people"), std::to_string(C.Count)) << C.What;
    EXPECT_EQ(Db.Query("SELECT group_concat(name) FROM (SELECT name FROM people WHERE id <= 3 "
                       "AND name <> 'New' ORDER BY id)"),
              C.Table)
        << C.What;
  }
  // The inserted record was current with its generated key; the delete removed it alone.
  EXPECT_EQ(Db.Query("SELECT count(*) FROM people WHERE name = 'New'"), "0");
  EXPECT_EQ(Db.Query("SELECT count(*) FROM people WHERE id = 1"), "1");
}

// A row that a trigger or an ON CONFLICT IGNORE clause skips is not stored, and Post says so
// instead of counting a record that is not there or blaming another user.
TEST_F(SQLiteFailureTest, WritesTheDatabaseIgnores_AreReportedNotStored) {
  Db.Exec(R"(
    CREATE TRIGGER skip_insert BEFORE INSERT ON people WHEN NEW.name = 'skip'
      BEGIN SELECT RAISE(IGNORE); END;
    CREATE TRIGGER skip_update BEFORE UPDATE ON people WHEN NEW.name = 'skip'
      BEGIN SELECT RAISE(IGNORE); END;
    CREATE TRIGGER keep BEFORE DELETE ON people WHEN OLD.name = 'P1'
      BEGIN SELECT RAISE(IGNORE); END;
    CREATE TABLE tags (id INTEGER PRIMARY KEY, tag TEXT UNIQUE ON CONFLICT IGNORE);
    INSERT INTO tags (tag) VALUES ('a'), ('b');)");
  struct TCase {
    const char* Table;
    bool Inserting;
    const char* Field;
    const char* Value;
    const char* Words;
  };
  const TCase Cases[] = {{"people", true, "name", "skip", "ignored the insert"},
                         {"people", false, "name", "skip", "ignored the update"},
                         {"tags", true, "tag", "a", "ignored the insert"},
                         {"tags", false, "tag", "b", "ignored the update"}};
  for (const TCase& C : Cases) {
    Open(C.Table);
    std::string Before =
        Db.Query(std::string("SELECT group_concat(") + C.Field + ") FROM " + C.Table);
    C.Inserting ? DS->Append() : DS->Edit();
    F(C.Field)->SetAsString(C.Value);
    Link.Take();
    ExpectFailsChangingNothing([&] { DS->Post(); }, C.Words, C.Table);
    EXPECT_EQ(F(C.Field)->GetAsString(), C.Value);
    EXPECT_EQ(Db.Query(std::string("SELECT group_concat(") + C.Field + ") FROM " + C.Table),
              Before);
    DS->Cancel();
  }
  Open();
  ExpectFailsChangingNothing([&] { DS->Delete(); }, "ignored the delete", "delete");
  EXPECT_EQ(Db.Query("SELECT count(*) FROM people"), "50");
}

// Another program deleted the current row: Edit and Delete say so at once and leave the data
// set browsing; a post of an edit begun before says so too.
TEST_F(SQLiteFailureTest, RowDeletedByAnotherProgram_EditDeleteAndPostSaySo) {
  Open();
  DS->Next();
  Link.Take();
  Db.Exec("DELETE FROM people WHERE id = 2");
  ExpectFailsChangingNothing([&] { DS->Edit(); }, "no longer exists", "edit");
  ExpectFailsChangingNothing([&] { DS->Delete(); }, "no longer exists", "delete");
  DS->Next();
  DS->Edit();
  F("name")->SetAsString("Late");
  Db.Exec("DELETE FROM people WHERE id = 3");
  Link.Take();
  ExpectFailsChangingNothing([&] { DS->Post(); }, "no longer exists", "post");
  EXPECT_EQ(Db.Query("SELECT count(*) FROM people"), "48");
}

TEST_F(SQLiteFailureTest, ForeignKeys_AreEnforcedUnlessTurnedOff) {
  Db.Exec(R"(
    CREATE TABLE orders (id INTEGER PRIMARY KEY, person INTEGER REFERENCES people (id));
    INSERT INTO orders VALUES (1, 1);)");
  Open("orders");
  DS->Append();
  F("person")->SetAsInteger(99);
  try {
    DS->Post();
    ADD_FAILURE() << "an order of nobody was stored";
  } catch (const ESQLiteError& E) {
    EXPECT_EQ(E.ErrorCode(), SQLITE_CONSTRAINT_FOREIGNKEY) << E.what();
  }
  EXPECT_EQ(DS->GetState(), dsInsert);
  F("person")->SetAsInteger(2);
  DS->Post();
  Open("people");
  EXPECT_THROW(DS->Delete(), ESQLiteError);  // still referenced
  EXPECT_EQ(Db.Query("SELECT count(*) FROM orders WHERE person = 99"), "0");

  Open("orders");
  DS->SetForeignKeys(false);
  DS->Append();
  F("person")->SetAsInteger(99);
  DS->Post();
  EXPECT_EQ(Db.Query("SELECT count(*) FROM orders WHERE person = 99"), "1");
}

// Locate asks the database; it still finds only the data set's own records, the first in
// the data set's order, with the value in the field's type and text compared exactly.
TEST_F(SQLiteFailureTest, Locate_FindsTheFirstOfTheDataSetsOwnRecords) {
  Db.Exec(
      "CREATE TABLE words (id INTEGER PRIMARY KEY, word TEXT COLLATE NOCASE, n INTEGER);"
      "CREATE INDEX words_word ON words (word);"
      "INSERT INTO words VALUES (1, 'apple', 7), (2, 'Pear', NULL), (3, 'fig', 7);");
  Open("words");
  DS->Next();
  DS->Insert();  // placed before 'Pear': now the second record, with the highest key
  F("word")->SetAsString("plum");
  F("n")->SetAsInteger(7);
  DS->Post();
  Db.Exec("INSERT INTO words VALUES (0, 'kiwi', 7)");  // not read by this data set
  const std::tuple<const char*, Variant, Integer> Cases[] = {{"word", Variant("Pear"), 3},
                                                             {"word", Variant("pear"), 0},
                                                             {"n", Variant("7"), 1},
                                                             {"n", Variant(7.0), 1},
                                                             {"n", Null, 3},
                                                             {"word", Variant("kiwi"), 0},
                                                             {"n", Variant("seven"), 0}};
  for (const auto& [Field, Value, RecNo] : Cases) {
    DS->SetRecNo(4);
    EXPECT_EQ(DS->Locate(Field, Value), RecNo > 0) << Field << " " << Value.ToString();
    EXPECT_EQ(DS->GetRecNo(), RecNo > 0 ? RecNo : 4) << Field << " " << Value.ToString();
  }
  EXPECT_EQ(DS->Lookup("word", {Variant("fig")}, "id"), Variant(3));
}

// Rows of large blobs: the window of rows read ahead holds none of them; a field that asks
// gets its record's blob, and only that record's.
TEST_F(SQLiteFailureTest, LargeBlobs_AreReadWhenAskedForAndOnlyForTheCurrentRecord) {
  constexpr size_t Blob = 2 << 20;
  Db.Exec(
      "CREATE TABLE photos (id INTEGER PRIMARY KEY, name TEXT, photo BLOB);"
      "WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 40) "
      "INSERT INTO photos SELECT n, 'Photo ' || n, CAST(printf('%02d', n) || zeroblob(" +
      std::to_string(Blob - 2) + ") AS BLOB) FROM s;");
  size_t Empty = plumb::test::HeapInUse();
  Open("photos");
  for (DS->First(); !DS->GetEof(); DS->Next()) F("name")->GetAsString();
  EXPECT_LT(plumb::test::HeapInUse() - Empty, Blob) << "blobs read ahead";
  for (DS->First(); !DS->GetEof(); DS->Next()) {
    TBytes Photo = F("photo")->GetAsVariant().ToBytes();
    ASSERT_GE(Photo.size(), 2u);
    Integer Id = F("id")->GetAsInteger();
    EXPECT_EQ(std::string(Photo.begin(), Photo.begin() + 2), (Id < 10 ? "0" : "") + IntToStr(Id));
  }
  EXPECT_LT(plumb::test::HeapInUse() - Empty, 3 * Blob) << "blobs kept after use";
  // Editing keeps the large value the user did not touch.
  DS->Edit();
  F("name")->SetAsString("Last photo");
  DS->Post();
  EXPECT_EQ(Db.Query("SELECT length(photo) FROM photos WHERE id = 40"), std::to_string(Blob));
}

}  // namespace
