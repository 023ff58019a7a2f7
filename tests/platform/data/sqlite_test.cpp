// The SQLite data set against real database files.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "DataTestSupport.h"

using namespace plumb;
using plumb::test::TScratchDb;

namespace {

const char* Schema = R"(
  CREATE TABLE people (
    id INTEGER PRIMARY KEY, name TEXT NOT NULL, email TEXT UNIQUE, age INTEGER CHECK (age >= 0),
    score REAL, born DATE, seen DATETIME, at TIME, active BOOLEAN, price NUMERIC(10,2),
    notes MEMO, photo BLOB, code STRING, country VARCHAR(20) NOT NULL DEFAULT 'none');
  INSERT INTO people (id, name, email, age) VALUES
    (1, 'Ann', 'ann@x.org', 31), (2, 'Bob', 'bob@x.org', 45), (5, 'Cid', NULL, 27);
)";

class SQLiteTest : public ::testing::Test {
 protected:
  SQLiteTest() : Db(Schema) {}
  TSQLiteDataSet* OpenTable(const std::string& Table = "people") {
    auto* DS = new TSQLiteDataSet(&Owner);
    DS->SetDatabaseName(Db.Path());
    DS->SetTableName(Table);
    DS->SetBusyTimeout(20);
    DS->Open();
    return DS;
  }
  // Posting must fail with SQLite's code, leave the edit with the user's values, and leave
  // the table as it was.
  void ExpectRefusedPost(TSQLiteDataSet* DS, int Code, const std::string& Words) {
    std::string Before = Db.Query("SELECT group_concat(name || age, ',') FROM people");
    TRecordValues Mine;
    for (Integer I = 0; I < DS->GetFieldCount(); ++I)
      Mine.push_back(DS->GetField(I)->GetAsVariant());
    try {
      DS->Post();
      ADD_FAILURE() << "post went through";
    } catch (const ESQLiteError& E) {
      EXPECT_EQ(E.ErrorCode(), Code) << E.what();
      EXPECT_NE(std::string(E.what()).find(Words), std::string::npos) << E.what();
    }
    EXPECT_TRUE(IsEditState(DS->GetState()));
    for (Integer I = 0; I < DS->GetFieldCount(); ++I)
      EXPECT_EQ(DS->GetField(I)->GetAsVariant(), Mine[size_t(I)])
          << DS->GetField(I)->GetFieldName();
    EXPECT_EQ(Db.Query("SELECT group_concat(name || age, ',') FROM people"), Before);
  }

  TScratchDb Db;
  TComponent Owner{nullptr};
};

TEST_F(SQLiteTest, DeclaredTypes_MapToFieldTypes) {
  TSQLiteDataSet* DS = OpenTable();
  const std::pair<const char*, TFieldType> Expected[] = {
      {"id", ftAutoInc},     {"name", ftString},   {"email", ftString},  {"age", ftLargeint},
      {"score", ftFloat},    {"born", ftDate},     {"seen", ftDateTime}, {"at", ftTime},
      {"active", ftBoolean}, {"price", ftBCD},     {"notes", ftMemo},    {"photo", ftBlob},
      {"code", ftString},    {"country", ftString}};
  ASSERT_EQ(DS->GetFieldCount(), 14);
  for (auto [Name, Type] : Expected) EXPECT_EQ(DS->FieldByName(Name)->GetDataType(), Type) << Name;
  EXPECT_TRUE(DS->FieldByName("name")->GetRequired());
  EXPECT_FALSE(DS->FieldByName("country")->GetRequired());  // it has a default
  EXPECT_FALSE(DS->FieldByName("id")->GetRequired());
  EXPECT_EQ(TSQLiteDataSet::FieldTypeFromDecl("DOUBLE PRECISION", false), ftFloat);
  EXPECT_EQ(TSQLiteDataSet::FieldTypeFromDecl("bigint", false), ftLargeint);
  EXPECT_EQ(TSQLiteDataSet::FieldTypeFromDecl("NVARCHAR(40)", false), ftString);
  EXPECT_EQ(TSQLiteDataSet::FieldTypeFromDecl("", false), ftString);
}

TEST_F(SQLiteTest, EveryType_SurvivesWriteCloseReopenRead) {
  TSQLiteDataSet* DS = OpenTable();
  DS->Last();
  DS->Edit();
  const std::pair<const char*, const char*> Values[] = {
      {"score", "2.5"},        {"born", "1999-12-31"}, {"seen", "2024-02-29 13:05:07"},
      {"at", "07:30:00"},      {"active", "True"},     {"price", "19.99"},
      {"notes", "two\nlines"}, {"code", "A-1"},        {"age", "28"}};
  for (auto [Name, Text] : Values) DS->FieldByName(Name)->SetAsString(Text);
  DS->FieldByName("photo")->SetAsVariant(TBytes{0, 1, 2, 255});
  DS->Post();
  DS->Close();
  EXPECT_EQ(Db.Query("SELECT born || '|' || seen || '|' || active FROM people WHERE id = 5"),
            "1999-12-31|2024-02-29 13:05:07|1");
  TSQLiteDataSet* Again = OpenTable();
  Again->Last();
  for (auto [Name, Text] : Values) EXPECT_EQ(Again->FieldByName(Name)->GetAsString(), Text) << Name;
  EXPECT_EQ(Again->FieldByName("photo")->GetAsVariant(), Variant(TBytes{0, 1, 2, 255}));
  EXPECT_EQ(Again->FieldByName("name")->GetAsString(), "Cid");
}

TEST_F(SQLiteTest, InsertAndDelete_ReachTheTableAndKeepTheCursorInStep) {
  TSQLiteDataSet* DS = OpenTable();
  DS->Next();
  DS->Insert();
  DS->FieldByName("name")->SetAsString("Dee");
  DS->Post();
  EXPECT_EQ(DS->FieldByName("id")->GetAsInteger(), 6);
  EXPECT_EQ(DS->FieldByName("country")->GetAsString(), "none");  // the column default
  EXPECT_EQ(DS->GetRecNo(), 2);
  EXPECT_EQ(DS->GetRecordCount(), 4);
  DS->Next();
  EXPECT_EQ(DS->FieldByName("name")->GetAsString(), "Bob");
  DS->Delete();
  EXPECT_EQ(DS->FieldByName("name")->GetAsString(), "Cid");
  EXPECT_EQ(Db.Query("SELECT group_concat(name, ',') FROM people"), "Ann,Cid,Dee");
}

TEST_F(SQLiteTest, MovingOffAnEditedRecord_WritesOnlyTheChangedColumn) {
  TSQLiteDataSet* DS = OpenTable();
  DS->Edit();
  DS->FieldByName("age")->SetAsInteger(32);
  // Someone else changes another column meanwhile; our write must not undo it.
  Db.Exec("UPDATE people SET email = 'new@x.org' WHERE id = 1");
  DS->Next();
  EXPECT_EQ(Db.Query("SELECT age || ' ' || email FROM people WHERE id = 1"), "32 new@x.org");
}

TEST_F(SQLiteTest, ConstraintViolations_KeepTheEditAndTheTable) {
  TSQLiteDataSet* DS = OpenTable();
  DS->Edit();
  DS->FieldByName("age")->SetAsInteger(-1);
  ExpectRefusedPost(DS, 275, "CHECK constraint failed");
  DS->FieldByName("age")->SetAsInteger(33);
  DS->FieldByName("email")->SetAsString("bob@x.org");
  ExpectRefusedPost(DS, 2067, "UNIQUE constraint failed: people.email");
  DS->FieldByName("email")->SetAsString("ann@y.org");
  DS->Post();
  EXPECT_EQ(Db.Query("SELECT age || email FROM people WHERE id = 1"), "33ann@y.org");

  DS->Append();
  DS->FieldByName("name")->SetRequired(false);  // let the database itself refuse the NULL
  DS->FieldByName("age")->SetAsInteger(1);
  ExpectRefusedPost(DS, 1299, "NOT NULL constraint failed: people.name");
  DS->Cancel();
  EXPECT_EQ(DS->GetRecordCount(), 3);
}

TEST_F(SQLiteTest, BusyDatabase_FailsThePostUntilTheLockIsGone) {
  TSQLiteDataSet* DS = OpenTable();
  sqlite3* Other = nullptr;
  sqlite3_open(Db.Path().c_str(), &Other);
  sqlite3_exec(Other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
  DS->Edit();
  DS->FieldByName("name")->SetAsString("Annie");
  ExpectRefusedPost(DS, SQLITE_BUSY, "database is locked");
  sqlite3_exec(Other, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(Other);
  DS->Post();
  EXPECT_EQ(Db.Query("SELECT name FROM people WHERE id = 1"), "Annie");
}

TEST_F(SQLiteTest, RowDeletedElsewhere_RefusesThePostKeepingTheEdit) {
  TSQLiteDataSet* DS = OpenTable();
  DS->Edit();
  DS->FieldByName("name")->SetAsString("Ghost");
  Db.Exec("DELETE FROM people WHERE id = 1");
  EXPECT_THROW(DS->Post(), EDatabaseError);
  EXPECT_EQ(DS->GetState(), dsEdit);
  EXPECT_EQ(DS->FieldByName("name")->GetAsString(), "Ghost");
  DS->Cancel();
  DS->Refresh();
  EXPECT_EQ(DS->GetRecordCount(), 2);
}

TEST_F(SQLiteTest, WalkingBothWays_ReadsEachRowOnceAndEditStartsFromTheFile) {
  Db.Exec(
      "WITH RECURSIVE s(n) AS (SELECT 10 UNION ALL SELECT n + 1 FROM s WHERE n < 109) "
      "INSERT INTO people (id, name) SELECT n, 'P' || n FROM s;");
  TSQLiteDataSet* DS = OpenTable();
  Db.Exec("DELETE FROM people WHERE id = 50");
  std::vector<std::string> Forward, Backward;
  for (DS->First(); !DS->GetEof(); DS->Next())
    Forward.push_back(DS->FieldByName("name")->GetAsString());
  for (DS->Last(); !DS->GetBof(); DS->Prior())
    Backward.insert(Backward.begin(), DS->FieldByName("name")->GetAsString());
  ASSERT_EQ(Forward.size(), 103u);
  EXPECT_EQ(Forward, Backward);
  EXPECT_EQ(Forward[3], "P10");
  EXPECT_EQ(Forward[43], "");  // deleted after we opened: an empty record
  EXPECT_EQ(Forward[102], "P109");
  DS->SetRecNo(4);
  Db.Exec("UPDATE people SET name = 'Fresh' WHERE id = 10");
  DS->Edit();
  EXPECT_EQ(DS->FieldByName("name")->GetAsString(), "Fresh");
}

TEST_F(SQLiteTest, BadFilesAndTables_FailOpenAndLeaveItClosed) {
  auto* DS = new TSQLiteDataSet(&Owner);
  auto ExpectOpenFails = [&](const std::string& Words) {
    try {
      DS->Open();
      ADD_FAILURE() << "opened";
    } catch (const EDatabaseError& E) {
      EXPECT_NE(std::string(E.what()).find(Words), std::string::npos) << E.what();
    }
    EXPECT_FALSE(DS->GetActive());
    EXPECT_EQ(DS->GetRecordCount(), 0);
  };
  DS->SetDatabaseName("/tmp/plumb-no-such-dir/none.db");
  DS->SetTableName("people");
  ExpectOpenFails("unable to open");
  TScratchDb Text;
  std::ofstream(Text.Path()) << "This is a letter, not a database. It is long enough to have a "
                                "header where SQLite looks for its own signature.\n";
  DS->SetDatabaseName(Text.Path());
  ExpectOpenFails("not a database");
  DS->SetDatabaseName(Db.Path());
  DS->SetTableName("nobody");
  ExpectOpenFails("'nobody' does not exist");
  DS->SetTableName("people");
  DS->Open();
  EXPECT_EQ(DS->GetRecordCount(), 3);
}

TEST_F(SQLiteTest, StoredValuesOfAnotherKind_AreShownAsTheyAre) {
  Db.Exec("UPDATE people SET code = '007', born = 'soon', age = 'old' WHERE id = 2");
  TSQLiteDataSet* DS = OpenTable();
  DS->Next();
  // STRING has numeric affinity: SQLite itself stored 7.
  EXPECT_EQ(DS->FieldByName("code")->GetAsString(), "7");
  EXPECT_EQ(DS->FieldByName("born")->GetAsString(), "soon");
  EXPECT_THROW(DS->FieldByName("born")->GetAsDateTime(), EConvertError);
  EXPECT_EQ(DS->FieldByName("age")->GetAsString(), "old");
  // After a post the record shows what the file now holds, not what was typed.
  DS->Edit();
  DS->FieldByName("code")->SetAsString("042");
  DS->Post();
  EXPECT_EQ(DS->FieldByName("code")->GetAsString(), "42");
}

TEST_F(SQLiteTest, Query_ReadsRowsByItsKeyAndIsReadOnly) {
  auto* DS = new TSQLiteDataSet(&Owner);
  DS->SetDatabaseName(Db.Path());
  DS->SetSQL("SELECT id, name, age * 2 AS twice FROM people WHERE age > 30");
  DS->SetKeyField("id");
  DS->Open();
  EXPECT_EQ(DS->GetRecordCount(), 2);
  DS->Last();
  EXPECT_EQ(DS->FieldByName("twice")->GetAsString(), "90");
  EXPECT_FALSE(DS->GetCanModify());
  EXPECT_THROW(DS->Edit(), EDatabaseError);
  EXPECT_TRUE(DS->Locate("id", Variant(1)));
  EXPECT_EQ(DS->FieldByName("name")->GetAsString(), "Ann");
}

// FindPrefix answers alike whether SQLite searches (a text column while the records are in key
// order) or the records are read one by one (memory, a number column, keys out of order), and
// neither moves the cursor nor tells the links.
TEST_F(SQLiteTest, FindPrefix_FromAPositionGoingRoundWithoutMoving) {
  Db.Exec(
      "CREATE TABLE words (id INTEGER PRIMARY KEY, word TEXT, n INTEGER);"
      "INSERT INTO words VALUES (10, 'apple', 5), (20, 'Banana', 15), (30, 'apricot', 25), "
      "(40, NULL, 35), (50, 'b%d', 45), (60, 'bxd', 55), (70, 'b_x', 65), (80, 'Äpfel', 75), "
      "(90, 'cherry', 85);");
  TSQLiteDataSet* Table = OpenTable("words");
  auto* Mem = new TMemDataSet(&Owner);
  Mem->AddFieldDef("id", ftInteger);
  Mem->AddFieldDef("word", ftString);
  Mem->AddFieldDef("n", ftInteger);
  Mem->Open();
  for (Integer R = 1; R <= Table->GetRecordCount(); ++R) {
    Table->SetRecNo(R);
    Mem->AppendRecord({Table->GetField(0)->GetAsVariant(), Table->GetField(1)->GetAsVariant(),
                       Table->GetField(2)->GetAsVariant()});
  }
  Table->SetRecNo(2);
  auto* Source = new TDataSource(&Owner);
  Source->SetDataSet(Table);
  plumb::test::TRecordingLink Link;
  Link.Attach(Source);
  Link.Take();
  std::vector<std::string> Sql;
  sqlite3_trace_v2(
      Table->GetHandle(), SQLITE_TRACE_STMT,
      [](unsigned, void* Log, void*, void* Text) {
        static_cast<std::vector<std::string>*>(Log)->push_back(static_cast<const char*>(Text));
        return 0;
      },
      &Sql);
  auto Searches = [&] {
    return std::count_if(Sql.begin(), Sql.end(),
                         [](const std::string& S) { return S.find(" LIKE ") != S.npos; });
  };
  struct {
    const char* Field;
    const char* Prefix;
    Integer After, Found;
  } Cases[] = {{"word", "a", -1, 0},  {"word", "A", 0, 2},  {"word", "a", 2, 0},
               {"word", "ap", 0, 2},  {"word", "b", 1, 4},  {"word", "b%", -1, 4},
               {"word", "b_", -1, 6}, {"word", "c", 8, 8},  {"word", "z", 3, -1},
               {"word", "ä", -1, -1}, {"word", "Ä", -1, 7}, {"word", "", 3, 4},
               {"word", "a", 99, 0},  {"n", "1", -1, 1},    {"n", "8", 0, 8}};
  for (const auto& C : Cases)
    for (TDataSet* DS : {static_cast<TDataSet*>(Table), static_cast<TDataSet*>(Mem)}) {
      Sql.clear();
      EXPECT_EQ(DS->FindPrefix(DS->FieldByName(C.Field), C.Prefix, C.After), C.Found)
          << C.Field << " '" << C.Prefix << "' after " << C.After << " in " << DS->ClassName();
      if (DS == Table) {
        EXPECT_EQ(Searches() > 0, *C.Prefix && C.Field[0] == 'w') << C.Prefix;
      }
    }
  EXPECT_EQ(Table->GetRecNo(), 2);
  EXPECT_TRUE(Link.Take().empty());
  // A row someone else added is not one of the records.
  Db.Exec("INSERT INTO words VALUES (45, 'cheese', 0)");
  EXPECT_EQ(Table->FindPrefix(Table->FieldByName("word"), "ch", -1), 8);
  // A record inserted between others has the highest key: record by record now.
  Table->Insert();
  Table->FieldByName("word")->SetAsString("avocado");
  Table->Post();
  Sql.clear();
  EXPECT_EQ(Table->FindPrefix(Table->FieldByName("word"), "av", -1), 1);
  EXPECT_EQ(Searches(), 0);
  EXPECT_THROW(Table->FindPrefix(Mem->FieldByName("word"), "a", -1), EDatabaseError);
  sqlite3_trace_v2(Table->GetHandle(), 0, nullptr, nullptr);
}

TEST(SampleDatabaseTest, CustomersLookUpTheirCountryAndRefuseBadValues) {
  TComponent Owner(nullptr);
  auto* Countries = new TSQLiteDataSet(&Owner);
  Countries->SetDatabaseName(PLUMB_SAMPLE_DB);
  Countries->SetTableName("countries");
  Countries->Open();
  auto* Customers = new TSQLiteDataSet(&Owner);
  Customers->SetDatabaseName(PLUMB_SAMPLE_DB);
  Customers->SetTableName("customers");
  Customers->SetReadOnly(true);
  auto* Country = new TField(&Owner, ftString);
  Country->SetFieldName("country");
  Country->SetFieldKind(fkLookup);
  Country->SetKeyFields("country_id");
  Country->SetLookupDataSet(Countries);
  Country->SetLookupKeyFields("id");
  Country->SetLookupResultField("name");
  Country->SetDataSet(Customers);
  Customers->Open();
  EXPECT_GE(Customers->GetRecordCount(), 300);
  EXPECT_EQ(Customers->FieldByName("notes")->GetDataType(), ftMemo);
  EXPECT_EQ(Customers->FieldByName("photo")->GetDataType(), ftBlob);
  EXPECT_EQ(Customers->FieldByName("joined")->GetDataType(), ftDate);
  int Named = 0;
  for (Customers->First(); !Customers->GetEof(); Customers->Next())
    if (!Country->IsNull()) ++Named;
  EXPECT_GT(Named, 250);
  EXPECT_FALSE(Customers->GetCanModify());
}

}  // namespace
