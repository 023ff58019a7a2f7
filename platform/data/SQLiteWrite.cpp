// TSQLiteDataSet: writing and searching.
//
//   WriteRecord    the changed columns, as an UPDATE or an INSERT, in one transaction with the
//                  read-back of the row: StoreRecord -> ExecChange, NothingChanged
//   InternalDelete one DELETE in its own transaction
//   FindRecord     a SELECT of the keys whose columns hold the values (Locate, Lookup)
//   FindPrefixRecord  a SELECT of the first row in a key range whose text begins with a prefix
//
// A write counts as done only when SQLite changed exactly one row and COMMIT returned; the
// row keys and the window change after that, so a failure anywhere leaves them as they were.
// The row is read back before COMMIT, while our lock keeps other writers out: after COMMIT
// there is nothing left that could fail and turn a stored record into an error.
#include <algorithm>

#include "SQLiteImpl.h"

namespace plumb {

namespace {

// Runs Body between BEGIN IMMEDIATE and COMMIT; any error rolls everything back.
template <class TBody>
void InTransaction(sqlite3* Db, TBody&& Body) {
  Exec(Db, "BEGIN IMMEDIATE");
  try {
    Body();
    Exec(Db, "COMMIT");
  } catch (...) {
    sqlite3_exec(Db, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

}  // namespace

void TSQLiteDataSet::WriteRecord(Integer Index, bool Inserting, TRecordValues& Values,
                                 const std::vector<bool>& Changed) {
  if (!StorageWritable()) Error("Cannot modify a read-only dataset");
  std::vector<size_t> Cols;
  for (size_t I = 0; I < Changed.size(); ++I)
    if (Changed[I]) Cols.push_back(I);
  if (!Inserting && Cols.empty()) return;
  TImpl& I = *FImpl;
  Variant Key = Inserting ? Null : I.Keys[size_t(Index)];
  StoreRecord(Inserting, Values, Cols, Key);
  // Committed: follow the row to its place and key.
  if (Inserting) {
    I.Keys.insert(I.Keys.begin() + Index, Key);
    I.KeyChanged(Index);
    I.DropWindow();
  } else {
    I.Keys[size_t(Index)] = Key;
    I.KeyChanged(Index);
    if (I.InWindow(Index)) I.Window[size_t(Index - I.WindowStart)] = Values;
  }
}

// Writes Values (the changed Columns), reads the row back into Values and commits. Key is the
// row's key before the write and its key after.
void TSQLiteDataSet::StoreRecord(bool Inserting, TRecordValues& Values,
                                 const std::vector<size_t>& Columns, Variant& Key) {
  TImpl& I = *FImpl;
  std::string Sql;
  if (Inserting && Columns.empty()) {
    Sql = "INSERT INTO " + I.Source + " DEFAULT VALUES";
  } else if (Inserting) {
    std::string Names, Marks;
    for (size_t C : Columns) {
      Names += (Names.empty() ? "" : ", ") + Quote(I.Columns[C]);
      Marks += Marks.empty() ? "?" : ", ?";
    }
    Sql = "INSERT INTO " + I.Source + " (" + Names + ") VALUES (" + Marks + ")";
  } else {
    for (size_t C : Columns) Sql += (Sql.empty() ? "" : ", ") + Quote(I.Columns[C]) + " = ?";
    Sql = "UPDATE " + I.Source + " SET " + Sql + " WHERE " + I.KeyExpr + " = ?";
  }
  Integer KeyCol = I.KeyColumn;
  Variant NewKey = Key;
  std::vector<TRecordValues> Row(1);
  InTransaction(I.Db, [&] {
    if (ExecChange(Sql, Values, Columns, Inserting ? nullptr : &Key) == 0)
      NothingChanged(Key, Inserting
                              ? "The new record was not stored: the database ignored the insert"
                              : "The change was not stored: the database ignored the update");
    if (Inserting)
      NewKey =
          I.RowidKey ? Variant(Int64(sqlite3_last_insert_rowid(I.Db))) : Values[size_t(KeyCol)];
    else if (KeyCol >= 0 &&
             std::find(Columns.begin(), Columns.end(), size_t(KeyCol)) != Columns.end())
      NewKey = Values[size_t(KeyCol)];  // the key itself was edited
    if (FetchRow(NewKey, Row) == 0)
      Error("The record was not stored: it is not in the table after writing");
  });
  Key = NewKey;
  Values = std::move(Row[0]);
}

int TSQLiteDataSet::ExecChange(const std::string& Sql, const TRecordValues& Values,
                               const std::vector<size_t>& Columns, const Variant* Key) {
  sqlite3_stmt* Stmt = FImpl->Cached(Sql);
  TResetOnExit Reset{Stmt};
  int Pos = 1;
  for (size_t C : Columns) Bind(Stmt, Pos++, Values[C], GetFieldDefs()[C].DataType);
  if (Key) Bind(Stmt, Pos, *Key, ftUnknown);
  if (sqlite3_step(Stmt) != SQLITE_DONE) Fail(FImpl->Db, "");
  return sqlite3_changes(FImpl->Db);
}

// A trigger's RAISE(IGNORE) or an ON CONFLICT IGNORE clause skips a row without an error;
// another connection may have deleted it. Tell the two apart.
void TSQLiteDataSet::NothingChanged(const Variant& Key, const char* Ignored) {
  if (Key.IsNull()) Error(Ignored);
  std::vector<TRecordValues> Row(1);
  if (FetchRow(Key, Row) == 0) Error("The record no longer exists: another user has deleted it");
  Error(Ignored);
}

void TSQLiteDataSet::InternalDelete(Integer Index) {
  if (!StorageWritable()) Error("Cannot modify a read-only dataset");
  TImpl& I = *FImpl;
  const Variant& Key = I.Keys[size_t(Index)];
  std::string Sql = "DELETE FROM " + I.Source + " WHERE " + I.KeyExpr + " = ?";
  InTransaction(I.Db, [&] {
    if (ExecChange(Sql, {}, {}, &Key) == 0)
      NothingChanged(Key, "The record was not deleted: the database ignored the delete");
  });
  I.Keys.erase(I.Keys.begin() + Index);
  I.ByKey.clear();
  I.DropWindow();
}

// Asks the database (which may use an index) for the keys of the matching rows; the first
// record in the data set's order wins. Text compares exactly, whatever the column's collation.
Integer TSQLiteDataSet::FindRecord(const std::vector<Integer>& Columns,
                                   const TRecordValues& Values) {
  TImpl& I = *FImpl;
  const std::vector<TFieldDef>& Defs = GetFieldDefs();
  std::string Sql = "SELECT " + I.KeyExpr + " FROM " + I.Source + " WHERE ";
  for (size_t N = 0; N < Columns.size(); ++N)
    Sql += (N ? " AND " : "") + Quote(I.Columns[size_t(Columns[N])]) +
           (Values[N].IsNull() ? " IS NULL" : " = ? COLLATE BINARY");
  sqlite3_stmt* Stmt = I.Cached(Sql);
  TResetOnExit Reset{Stmt};
  int Pos = 1;
  for (size_t N = 0; N < Columns.size(); ++N)
    if (!Values[N].IsNull()) Bind(Stmt, Pos++, Values[N], Defs[size_t(Columns[N])].DataType);
  Integer Best = -1;
  int Rc;
  while ((Rc = sqlite3_step(Stmt)) == SQLITE_ROW) {
    // A row added by someone else since we read the keys is not one of our records.
    Integer Found = I.PositionOf(ReadKey(Stmt, 0));
    if (Found >= 0 && (Best < 0 || Found < Best)) Best = Found;
  }
  if (Rc != SQLITE_DONE) Fail(I.Db, "");
  return Best;
}

namespace {

// A LIKE pattern for the texts that begin with Prefix, escaped with '\'.
std::string PrefixPattern(const std::string& Prefix) {
  std::string P;
  for (char C : Prefix) {
    if (C == '%' || C == '_' || C == '\\') P += '\\';
    P += C;
  }
  return P + '%';
}

}  // namespace

// While the keys ascend, records From .. To - 1 are the table's rows between their keys, in key
// order, and SQLite finds the first match with the key's index. LIKE folds ASCII letters as we
// do (more with an ICU build, hence the check of each text), and a row someone else added since
// we read the keys is none of our records. Otherwise record after record, as any data set.
Integer TSQLiteDataSet::FindPrefixRecord(Integer Column, const std::string& Prefix, Integer From,
                                         Integer To) {
  TImpl& I = *FImpl;
  TFieldType Type = GetFieldDefs()[size_t(Column)].DataType;
  if (From >= To || !FSQL.empty() || !I.KeysSorted || !IsTextType(Type))
    return inherited::FindPrefixRecord(Column, Prefix, From, To);
  std::string Col = Quote(I.Columns[size_t(Column)]);
  sqlite3_stmt* S =
      I.Cached("SELECT " + I.KeyExpr + ", " + Col + " FROM " + I.Source + " WHERE " + I.KeyExpr +
               " BETWEEN ? AND ? AND " + Col + " LIKE ? ESCAPE '\\' ORDER BY " + I.KeyExpr);
  TResetOnExit Reset{S};
  Bind(S, 1, I.Keys[size_t(From)], ftUnknown);
  Bind(S, 2, I.Keys[size_t(To - 1)], ftUnknown);
  Bind(S, 3, Variant(PrefixPattern(Prefix)), ftString);
  int Rc;
  while ((Rc = sqlite3_step(S)) == SQLITE_ROW) {
    if (!StartsText(Prefix, TField::ValueToText(Type, ReadColumn(S, 1, Type)))) continue;
    Integer Found = I.PositionOf(ReadKey(S, 0));
    if (Found >= From && Found < To) return Found;
  }
  if (Rc != SQLITE_DONE) Fail(I.Db, "");
  return -1;
}

}  // namespace plumb
