// TSQLiteDataSet
//
//   Helpers        quoting, Exec, error conversion, binding and reading values
//   Opening        OpenConnection (file, probe, busy timeout, journal mode),
//                  DescribeTable / DescribeQuery (field definitions, key), LoadKeys
//   Records        ReadRecord from a window of rows fetched with one prepared SELECT by key
//                  (each statement costs SQLite a lock round trip, so rows come in batches)
//   Writing        WriteRecord -> ExecWrite (BEGIN IMMEDIATE, UPDATE or INSERT, COMMIT;
//                  ROLLBACK and rethrow on any error), InternalDelete
#include "SQLiteDataSet.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace plumb {

struct TSQLiteDataSet::TImpl {
  sqlite3* Db = nullptr;
  sqlite3_stmt* WindowStmt = nullptr;                    // rows by up to WindowSize keys
  sqlite3_stmt* RowStmt = nullptr;                       // one row by its key
  std::unordered_map<std::string, sqlite3_stmt*> Cache;  // write statements by SQL text
  std::vector<Variant> Keys;
  std::vector<std::string> Columns;
  std::string Source;      // quoted table name or "(query)"
  std::string KeyExpr;     // rowid or the quoted key column
  Integer KeyColumn = -1;  // the column holding the key (also an INTEGER PRIMARY KEY)
  bool RowidKey = false;
  bool Writable = false;
  // Rows WindowStart .. WindowStart + Window.size() - 1 as last read from the file; a stale
  // row (being edited, or just written) is read again on its own.
  Integer WindowStart = -1;
  std::vector<TRecordValues> Window;
  std::vector<bool> Stale;
  Integer LastRead = -1;

  void DropWindow() {
    WindowStart = -1;
    Window.clear();
    Stale.clear();
  }
  void MarkStale(Integer Index) {
    if (InWindow(Index)) Stale[size_t(Index - WindowStart)] = true;
  }
  bool InWindow(Integer Index) const {
    return WindowStart >= 0 && Index >= WindowStart && Index < WindowStart + Integer(Window.size());
  }

  ~TImpl() {
    for (auto& [Sql, Stmt] : Cache) sqlite3_finalize(Stmt);
    sqlite3_finalize(WindowStmt);
    sqlite3_finalize(RowStmt);
    sqlite3_close_v2(Db);
  }
};

namespace {

constexpr Integer WindowSize = 32;

std::string Quote(const std::string& Id) {
  std::string R = "\"";
  for (char C : Id) R += C == '"' ? std::string("\"\"") : std::string(1, C);
  return R + "\"";
}

[[noreturn]] void Fail(sqlite3* Db, const std::string& Context) {
  throw ESQLiteError(Context + sqlite3_errmsg(Db), sqlite3_extended_errcode(Db));
}

sqlite3_stmt* Prepare(sqlite3* Db, const std::string& Sql) {
  sqlite3_stmt* Stmt = nullptr;
  if (sqlite3_prepare_v2(Db, Sql.c_str(), int(Sql.size()), &Stmt, nullptr) != SQLITE_OK) {
    sqlite3_finalize(Stmt);
    Fail(Db, "");
  }
  return Stmt;
}

// Finalizes on every way out.
struct TStmt {
  sqlite3_stmt* S;
  TStmt(sqlite3* Db, const std::string& Sql) : S(Prepare(Db, Sql)) {}
  ~TStmt() { sqlite3_finalize(S); }
  TStmt(const TStmt&) = delete;
  TStmt& operator=(const TStmt&) = delete;
};

void Exec(sqlite3* Db, const std::string& Sql) {
  TStmt Stmt(Db, Sql);
  int Rc;
  while ((Rc = sqlite3_step(Stmt.S)) == SQLITE_ROW) {
  }
  if (Rc != SQLITE_DONE) Fail(Db, "");
}

std::string ColumnText(sqlite3_stmt* S, int I) {
  const unsigned char* P = sqlite3_column_text(S, I);
  return P ? std::string(reinterpret_cast<const char*>(P), size_t(sqlite3_column_bytes(S, I)))
           : std::string();
}

TBytes ColumnBytes(sqlite3_stmt* S, int I) {
  auto* P = static_cast<const uint8_t*>(sqlite3_column_blob(S, I));
  return P ? TBytes(P, P + sqlite3_column_bytes(S, I)) : TBytes();
}

// A value that does not read as the column's type is kept as SQLite holds it.
Variant Converted(TFieldType Type, const Variant& Raw) {
  try {
    return TField::ConvertValue(Type, Raw, "");
  } catch (const Exception&) {
    return Raw;
  }
}

// Reads column I by its storage class, into the representation of the field type. Numbers
// in date columns stay text: SQLite has several numeric date forms and we guess none of them.
Variant ReadColumn(sqlite3_stmt* S, int I, TFieldType Type) {
  int Storage = sqlite3_column_type(S, I);
  if (Storage == SQLITE_NULL) return Null;
  if (IsTextType(Type) || (IsDateTimeType(Type) && Storage != SQLITE_TEXT)) {
    if (Storage == SQLITE_BLOB) {
      TBytes B = ColumnBytes(S, I);
      return Variant(std::string(B.begin(), B.end()));
    }
    return Variant(ColumnText(S, I));
  }
  if (IsBinaryType(Type) || Storage == SQLITE_BLOB) return Variant(ColumnBytes(S, I));
  if (Storage == SQLITE_TEXT) return Converted(Type, Variant(ColumnText(S, I)));
  if (Storage == SQLITE_INTEGER) return Converted(Type, Variant(Int64(sqlite3_column_int64(S, I))));
  double D = sqlite3_column_double(S, I);
  if (IsIntegerType(Type) && D != std::floor(D)) return Variant(D);
  return Converted(Type, Variant(D));
}

void Bind(sqlite3_stmt* S, int Pos, const Variant& V, TFieldType Type) {
  switch (V.VarType()) {
    case varEmpty:
    case varNull:
      sqlite3_bind_null(S, Pos);
      break;
    case varBoolean:
      sqlite3_bind_int(S, Pos, V.ToBoolean() ? 1 : 0);
      break;
    case varInteger:
      sqlite3_bind_int64(S, Pos, V.ToInteger());
      break;
    case varDouble:
      if (IsDateTimeType(Type)) {
        std::string T = TField::ValueToText(Type, V);
        sqlite3_bind_text(S, Pos, T.c_str(), int(T.size()), SQLITE_TRANSIENT);
      } else {
        sqlite3_bind_double(S, Pos, V.ToFloat());
      }
      break;
    case varString: {
      std::string T = V.ToString();
      sqlite3_bind_text(S, Pos, T.c_str(), int(T.size()), SQLITE_TRANSIENT);
      break;
    }
    case varBytes: {
      const TBytes& B = V.ToBytes();
      // A zero-length blob bound from a null pointer would become NULL.
      if (B.empty())
        sqlite3_bind_zeroblob(S, Pos, 0);
      else
        sqlite3_bind_blob(S, Pos, B.data(), int(B.size()), SQLITE_TRANSIENT);
      break;
    }
  }
}

Variant ReadKey(sqlite3_stmt* S, int I) {
  switch (sqlite3_column_type(S, I)) {
    case SQLITE_INTEGER:
      return Variant(Int64(sqlite3_column_int64(S, I)));
    case SQLITE_FLOAT:
      return Variant(sqlite3_column_double(S, I));
    case SQLITE_BLOB:
      return Variant(ColumnBytes(S, I));
    case SQLITE_NULL:
      return Null;
    default:
      return Variant(ColumnText(S, I));
  }
}

std::string BaseTypeName(const std::string& Decl) {
  std::string U = UpperCase(Decl.substr(0, Decl.find('(')));
  size_t B = U.find_first_not_of(" \t"), E = U.find_last_not_of(" \t");
  return B == std::string::npos ? "" : U.substr(B, E - B + 1);
}

}  // namespace

TFieldType TSQLiteDataSet::FieldTypeFromDecl(const std::string& DeclType, bool RowidAlias) {
  if (RowidAlias) return ftAutoInc;
  static const std::pair<const char*, TFieldType> ByName[] = {
      {"DATE", ftDate},          {"TIME", ftTime},       {"DATETIME", ftDateTime},
      {"TIMESTAMP", ftDateTime}, {"BOOLEAN", ftBoolean}, {"BOOL", ftBoolean},
      {"NUMERIC", ftBCD},        {"DECIMAL", ftBCD},     {"MEMO", ftMemo},
      {"CURRENCY", ftCurrency},  {"MONEY", ftCurrency},  {"SMALLINT", ftSmallint},
      {"TINYINT", ftSmallint},   {"STRING", ftString},   {"", ftString}};
  std::string Base = BaseTypeName(DeclType);
  for (const auto& [Name, Type] : ByName)
    if (Base == Name) return Type;
  // Otherwise SQLite's own affinity rules, in SQLite's order.
  if (Base.find("INT") != std::string::npos) return ftLargeint;
  if (Base.find("CHAR") != std::string::npos || Base.find("CLOB") != std::string::npos ||
      Base.find("TEXT") != std::string::npos)
    return ftString;
  if (Base.find("BLOB") != std::string::npos) return ftBlob;
  if (Base.find("REAL") != std::string::npos || Base.find("FLOA") != std::string::npos ||
      Base.find("DOUB") != std::string::npos)
    return ftFloat;
  return ftBCD;
}

TSQLiteDataSet::TSQLiteDataSet(TComponent* AOwner) : TDataSet(AOwner) {}

void TSQLiteDataSet::DescribeProperties(TPropertyList<TSQLiteDataSet>& P) {
  P.StringProp("DatabaseName", &TSQLiteDataSet::GetDatabaseName, &TSQLiteDataSet::SetDatabaseName);
  P.StringProp("TableName", &TSQLiteDataSet::GetTableName, &TSQLiteDataSet::SetTableName);
  P.StringProp("SQL", &TSQLiteDataSet::GetSQL, &TSQLiteDataSet::SetSQL);
  P.StringProp("KeyField", &TSQLiteDataSet::GetKeyField, &TSQLiteDataSet::SetKeyField);
  P.IntegerProp("BusyTimeout", &TSQLiteDataSet::GetBusyTimeout, &TSQLiteDataSet::SetBusyTimeout)
      .Default(5000);
  P.StringProp("JournalMode", &TSQLiteDataSet::GetJournalMode, &TSQLiteDataSet::SetJournalMode);
}
PLUMB_REGISTER_CLASS(TSQLiteDataSet);

TSQLiteDataSet::~TSQLiteDataSet() {
  Close();
}

void TSQLiteDataSet::SetDatabaseName(const std::string& Value) {
  CheckInactive();
  FDatabaseName = Value;
}

void TSQLiteDataSet::SetTableName(const std::string& Value) {
  CheckInactive();
  FTableName = Value;
}

void TSQLiteDataSet::SetSQL(const std::string& Value) {
  CheckInactive();
  FSQL = Value;
}

void TSQLiteDataSet::SetKeyField(const std::string& Value) {
  CheckInactive();
  FKeyField = Value;
}

bool TSQLiteDataSet::StorageWritable() const {
  return FImpl && FImpl->Writable;
}

Integer TSQLiteDataSet::GetStoredCount() const {
  return FImpl ? Integer(FImpl->Keys.size()) : 0;
}

// --- Opening ---

void TSQLiteDataSet::InternalOpen() {
  FImpl = std::make_unique<TImpl>();
  OpenConnection();
  if (!FSQL.empty())
    DescribeQuery();
  else if (!FTableName.empty())
    DescribeTable();
  else
    Error("No table name or query given");
  std::string Sql = "SELECT " + FImpl->KeyExpr;
  for (const std::string& C : FImpl->Columns) Sql += ", " + Quote(C);
  Sql += " FROM " + FImpl->Source + " WHERE " + FImpl->KeyExpr;
  FImpl->RowStmt = Prepare(FImpl->Db, Sql + " = ?");
  Sql += " IN (?";
  for (Integer I = 1; I < WindowSize; ++I) Sql += ", ?";
  FImpl->WindowStmt = Prepare(FImpl->Db, Sql + ")");
  LoadKeys();
}

void TSQLiteDataSet::InternalClose() {
  FImpl.reset();
}

void TSQLiteDataSet::OpenConnection() {
  if (FDatabaseName.empty()) Error("No database file name given");
  // One connection per data set, used by one thread: SQLite's own mutexes only cost time.
  int Flags = (GetReadOnly() ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
  sqlite3*& Db = FImpl->Db;
  std::string Context = "Cannot open database '" + FDatabaseName + "': ";
  if (sqlite3_open_v2(FDatabaseName.c_str(), &Db, Flags, nullptr) != SQLITE_OK) Fail(Db, Context);
  sqlite3_extended_result_codes(Db, 1);
  sqlite3_busy_timeout(Db, FBusyTimeout);
  // Any file opens; the first read of the schema tells whether it is a database.
  try {
    Exec(Db, "SELECT count(*) FROM sqlite_master");
    if (!FJournalMode.empty()) Exec(Db, "PRAGMA journal_mode=" + FJournalMode);
  } catch (const ESQLiteError& E) {
    throw ESQLiteError(Context + E.what(), E.ErrorCode());
  }
}

void TSQLiteDataSet::DescribeTable() {
  sqlite3* Db = FImpl->Db;
  TStmt Info(Db, "SELECT name, type, \"notnull\", dflt_value, pk FROM pragma_table_info(?)");
  sqlite3_bind_text(Info.S, 1, FTableName.c_str(), -1, SQLITE_TRANSIENT);
  struct TCol {
    std::string Name, Decl;
    bool NotNull, HasDefault;
    int Pk;
  };
  std::vector<TCol> Cols;
  while (sqlite3_step(Info.S) == SQLITE_ROW)
    Cols.push_back({ColumnText(Info.S, 0), ColumnText(Info.S, 1),
                    sqlite3_column_int(Info.S, 2) != 0,
                    sqlite3_column_type(Info.S, 3) != SQLITE_NULL, sqlite3_column_int(Info.S, 4)});
  if (Cols.empty()) Error("Table '" + FTableName + "' does not exist in '" + FDatabaseName + "'");
  FImpl->Source = Quote(FTableName);
  int PkCount =
      int(std::count_if(Cols.begin(), Cols.end(), [](const TCol& C) { return C.Pk > 0; }));
  sqlite3_stmt* Probe = nullptr;
  bool HasRowid = sqlite3_prepare_v2(Db, ("SELECT rowid FROM " + FImpl->Source).c_str(), -1, &Probe,
                                     nullptr) == SQLITE_OK;
  sqlite3_finalize(Probe);
  if (!HasRowid && PkCount != 1)
    Error("Table '" + FTableName + "' has neither a rowid nor a one-column primary key");
  FImpl->KeyExpr = "rowid";
  FImpl->RowidKey = HasRowid;
  std::vector<TFieldDef> Defs;
  for (const TCol& C : Cols) {
    bool Alias = HasRowid && PkCount == 1 && C.Pk == 1 && BaseTypeName(C.Decl) == "INTEGER";
    if (Alias || (!HasRowid && C.Pk == 1)) FImpl->KeyColumn = Integer(Defs.size());
    if (!HasRowid && C.Pk == 1) FImpl->KeyExpr = Quote(C.Name);
    Defs.push_back(
        {C.Name, FieldTypeFromDecl(C.Decl, Alias), C.NotNull && !C.HasDefault && !Alias});
    FImpl->Columns.push_back(C.Name);
  }
  SetFieldDefs(std::move(Defs));
  FImpl->Writable = !GetReadOnly() && sqlite3_db_readonly(Db, "main") == 0;
}

void TSQLiteDataSet::DescribeQuery() {
  if (FKeyField.empty()) Error("A query needs a key field");
  FImpl->Source = "(" + FSQL + ")";
  TStmt Query(FImpl->Db, "SELECT * FROM " + FImpl->Source);
  std::vector<TFieldDef> Defs;
  for (int I = 0, N = sqlite3_column_count(Query.S); I < N; ++I) {
    const char* Decl = sqlite3_column_decltype(Query.S, I);
    std::string Name = sqlite3_column_name(Query.S, I);
    if (SameText(Name, FKeyField)) FImpl->KeyColumn = Integer(Defs.size());
    Defs.push_back({Name, FieldTypeFromDecl(Decl ? Decl : "", false), false});
    FImpl->Columns.push_back(Name);
  }
  if (FImpl->KeyColumn < 0) Error("Key field '" + FKeyField + "' is not a column of the query");
  FImpl->KeyExpr = Quote(FKeyField);
  SetFieldDefs(std::move(Defs));
}

void TSQLiteDataSet::LoadKeys() {
  std::string Sql = "SELECT " + FImpl->KeyExpr + " FROM " + FImpl->Source;
  if (FSQL.empty()) Sql += " ORDER BY " + FImpl->KeyExpr;
  TStmt Keys(FImpl->Db, Sql);
  FImpl->DropWindow();
  FImpl->Keys.clear();
  int Rc;
  while ((Rc = sqlite3_step(Keys.S)) == SQLITE_ROW) FImpl->Keys.push_back(ReadKey(Keys.S, 0));
  if (Rc != SQLITE_DONE) Fail(FImpl->Db, "");
}

void TSQLiteDataSet::Refresh() {
  CheckActive();
  CheckBrowseMode();
  Integer Index = GetRecNo() - 1;
  Variant Key = Index >= 0 ? FImpl->Keys[size_t(Index)] : Null;
  LoadKeys();
  auto It = std::find(FImpl->Keys.begin(), FImpl->Keys.end(), Key);
  Resync(It != FImpl->Keys.end() ? Integer(It - FImpl->Keys.begin()) : Index);
}

// --- Records ---

void TSQLiteDataSet::ReadRecord(Integer Index, TRecordValues& Values) {
  TImpl& I = *FImpl;
  if (!I.InWindow(Index)) {
    FetchWindow(Index);
  } else if (I.Stale[size_t(Index - I.WindowStart)]) {
    std::vector<TRecordValues> Row(1);
    FetchRows(I.RowStmt, Index, 1, 1, Row);
    I.Window[size_t(Index - I.WindowStart)] = std::move(Row[0]);
    I.Stale[size_t(Index - I.WindowStart)] = false;
  }
  Values = I.Window[size_t(Index - I.WindowStart)];
  I.LastRead = Index;
}

// Reads the rows from Index on, or the rows up to Index when the reader walks backwards.
void TSQLiteDataSet::FetchWindow(Integer Index) {
  TImpl& I = *FImpl;
  Integer Start = I.LastRead == Index + 1 ? std::max(0, Index - WindowSize + 1) : Index;
  Integer Rows = std::min(Integer(I.Keys.size()) - Start, WindowSize);
  std::vector<TRecordValues> Window(static_cast<size_t>(Rows));
  I.DropWindow();
  FetchRows(I.WindowStmt, Start, Rows, WindowSize, Window);
  I.Window = std::move(Window);
  I.Stale.assign(size_t(Rows), false);
  I.WindowStart = Start;
}

// Runs S, which takes Slots keys, for records Start .. Start + Rows - 1 into Out. A row
// deleted by someone else since we read the keys shows as an empty record.
void TSQLiteDataSet::FetchRows(sqlite3_stmt* S, Integer Start, Integer Rows, Integer Slots,
                               std::vector<TRecordValues>& Out) {
  const std::vector<Variant>& Keys = FImpl->Keys;
  const std::vector<TFieldDef>& Defs = GetFieldDefs();
  sqlite3_reset(S);
  for (Integer R = 0; R < Slots; ++R)
    Bind(S, R + 1, R < Rows ? Keys[size_t(Start + R)] : Null, ftUnknown);
  for (TRecordValues& Row : Out) Row.assign(Defs.size(), Null);
  int Rc;
  while ((Rc = sqlite3_step(S)) == SQLITE_ROW) {
    Variant Key = ReadKey(S, 0);
    for (Integer R = 0; R < Rows; ++R) {
      if (!(Keys[size_t(Start + R)] == Key)) continue;
      for (size_t C = 0; C < Defs.size(); ++C)
        Out[size_t(R)][C] = ReadColumn(S, int(C + 1), Defs[C].DataType);
      break;
    }
  }
  if (Rc != SQLITE_DONE) Fail(FImpl->Db, "");
  sqlite3_reset(S);
}

void TSQLiteDataSet::InternalEdit(Integer Index) {
  FImpl->MarkStale(Index);
}

// --- Writing ---

void TSQLiteDataSet::WriteRecord(Integer Index, bool Inserting, TRecordValues& Values,
                                 const std::vector<bool>& Changed) {
  if (!StorageWritable()) Error("Cannot modify a read-only dataset");
  if (Inserting)
    FImpl->DropWindow();
  else
    FImpl->MarkStale(Index);
  std::vector<size_t> Cols;
  for (size_t I = 0; I < Changed.size(); ++I)
    if (Changed[I]) Cols.push_back(I);
  if (!Inserting && Cols.empty()) return;
  std::string Sql;
  if (Inserting && Cols.empty()) {
    Sql = "INSERT INTO " + FImpl->Source + " DEFAULT VALUES";
  } else if (Inserting) {
    std::string Names, Marks;
    for (size_t C : Cols) {
      Names += (Names.empty() ? "" : ", ") + Quote(FImpl->Columns[C]);
      Marks += Marks.empty() ? "?" : ", ?";
    }
    Sql = "INSERT INTO " + FImpl->Source + " (" + Names + ") VALUES (" + Marks + ")";
  } else {
    for (size_t C : Cols) Sql += (Sql.empty() ? "" : ", ") + Quote(FImpl->Columns[C]) + " = ?";
    Sql = "UPDATE " + FImpl->Source + " SET " + Sql + " WHERE " + FImpl->KeyExpr + " = ?";
  }
  ExecWrite(Sql, Values, Cols, Inserting ? nullptr : &FImpl->Keys[size_t(Index)]);
  Integer KeyCol = FImpl->KeyColumn;
  if (Inserting) {
    Variant Key = FImpl->RowidKey ? Variant(Int64(sqlite3_last_insert_rowid(FImpl->Db)))
                                  : Values[size_t(KeyCol)];
    FImpl->Keys.insert(FImpl->Keys.begin() + Index, Key);
  } else if (KeyCol >= 0 && Changed[size_t(KeyCol)]) {
    // The key itself was edited: follow the row to its new key.
    FImpl->Keys[size_t(Index)] = Values[size_t(KeyCol)];
  }
}

void TSQLiteDataSet::ExecWrite(const std::string& Sql, const TRecordValues& Values,
                               const std::vector<size_t>& Columns, const Variant* Key) {
  sqlite3* Db = FImpl->Db;
  sqlite3_stmt*& Stmt = FImpl->Cache[Sql];
  if (!Stmt) Stmt = Prepare(Db, Sql);
  Exec(Db, "BEGIN IMMEDIATE");
  try {
    int Pos = 1;
    for (size_t C : Columns) Bind(Stmt, Pos++, Values[C], GetFieldDefs()[C].DataType);
    if (Key) Bind(Stmt, Pos, *Key, ftUnknown);
    if (sqlite3_step(Stmt) != SQLITE_DONE) Fail(Db, "");
    sqlite3_reset(Stmt);
    if (Key && sqlite3_changes(Db) == 0) Error("Record not found or changed by another user");
    Exec(Db, "COMMIT");
  } catch (...) {
    sqlite3_reset(Stmt);
    sqlite3_exec(Db, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

void TSQLiteDataSet::InternalDelete(Integer Index) {
  if (!StorageWritable()) Error("Cannot modify a read-only dataset");
  FImpl->DropWindow();
  std::string Sql = "DELETE FROM " + FImpl->Source + " WHERE " + FImpl->KeyExpr + " = ?";
  sqlite3_stmt*& Stmt = FImpl->Cache[Sql];
  if (!Stmt) Stmt = Prepare(FImpl->Db, Sql);
  Bind(Stmt, 1, FImpl->Keys[size_t(Index)], ftUnknown);
  int Rc = sqlite3_step(Stmt);
  sqlite3_reset(Stmt);
  if (Rc != SQLITE_DONE) Fail(FImpl->Db, "");
  FImpl->Keys.erase(FImpl->Keys.begin() + Index);
}

}  // namespace plumb
