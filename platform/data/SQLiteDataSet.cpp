// TSQLiteDataSet: opening and reading. Writing and searching are in SQLiteWrite.cpp.
//
//   Helpers        quoting, Exec, error conversion, binding and reading values
//   Opening        OpenConnection (file, probe, busy timeout, journal mode, foreign keys),
//                  DescribeTable / DescribeQuery (field definitions, key), PrepareReads, ReadKeys
//   Records        ReadRecord from a window of rows fetched with one prepared SELECT by key
//                  (each statement costs SQLite a lock round trip, so rows come in batches);
//                  ReadValue for one column, which is how blobs and memos arrive
//   Keys           positions of keys: a binary search, or an order made on first use
#include <algorithm>
#include <cmath>
#include <numeric>

#include "SQLiteImpl.h"

namespace plumb {

TSQLiteDataSet::TImpl::~TImpl() {
  for (auto& [Sql, Stmt] : Cache) sqlite3_finalize(Stmt);
  for (sqlite3_stmt* Stmt : ValueStmts) sqlite3_finalize(Stmt);
  sqlite3_finalize(WindowStmt);
  sqlite3_finalize(RangeStmt);
  sqlite3_finalize(RowStmt);
  sqlite3_close_v2(Db);
}

sqlite3_stmt* TSQLiteDataSet::TImpl::Cached(const std::string& Sql) {
  sqlite3_stmt*& Stmt = Cache[Sql];
  if (!Stmt) {
    try {
      Stmt = Prepare(Db, Sql);
    } catch (...) {
      Cache.erase(Sql);
      throw;
    }
  }
  return Stmt;
}

// --- Helpers ---

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

namespace {

// Finalizes on every way out.
struct TStmt {
  sqlite3_stmt* S;
  TStmt(sqlite3* Db, const std::string& Sql) : S(Prepare(Db, Sql)) {}
  ~TStmt() { sqlite3_finalize(S); }
  TStmt(const TStmt&) = delete;
  TStmt& operator=(const TStmt&) = delete;
};

}  // namespace

void Exec(sqlite3* Db, const std::string& Sql) {
  TStmt Stmt(Db, Sql);
  int Rc;
  while ((Rc = sqlite3_step(Stmt.S)) == SQLITE_ROW) {
  }
  if (Rc != SQLITE_DONE) Fail(Db, "");
}

namespace {

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

}  // namespace

// Numbers in date columns stay text: SQLite has several numeric date forms and we guess none
// of them.
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

namespace {

std::string BaseTypeName(const std::string& Decl) {
  std::string U = UpperCase(Decl.substr(0, Decl.find('(')));
  size_t B = U.find_first_not_of(" \t"), E = U.find_last_not_of(" \t");
  return B == std::string::npos ? "" : U.substr(B, E - B + 1);
}

// Blobs and memos can be any size; the rest is small enough to read a window of at a time.
bool IsLargeType(TFieldType Type) {
  return IsBinaryType(Type) || Type == ftMemo || Type == ftFmtMemo;
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
  P.BooleanProp("ForeignKeys", &TSQLiteDataSet::GetForeignKeys, &TSQLiteDataSet::SetForeignKeys)
      .Default(true);
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

void TSQLiteDataSet::SetForeignKeys(bool Value) {
  if (FImpl) Exec(FImpl->Db, std::string("PRAGMA foreign_keys = ") + (Value ? "ON" : "OFF"));
  FForeignKeys = Value;
}

sqlite3* TSQLiteDataSet::GetHandle() const {
  return FImpl ? FImpl->Db : nullptr;
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
  PrepareReads();
  FImpl->SetKeys(ReadKeys());
}

// The row statements read the key and the small columns; each large column has its own.
void TSQLiteDataSet::PrepareReads() {
  TImpl& I = *FImpl;
  std::string Sql = "SELECT " + I.KeyExpr;
  int Next = 1;
  for (const TFieldDef& D : GetFieldDefs()) {
    I.Large.push_back(IsLargeType(D.DataType));
    I.StmtColumn.push_back(I.Large.back() ? -1 : Next++);
    if (!I.Large.back()) Sql += ", " + Quote(D.Name);
  }
  I.ValueStmts.assign(I.Columns.size(), nullptr);
  Sql += " FROM " + I.Source + " WHERE " + I.KeyExpr;
  I.RowStmt = Prepare(I.Db, Sql + " = ?");
  if (I.RowidKey) I.RangeStmt = Prepare(I.Db, Sql + " BETWEEN ? AND ?");
  Sql += " IN (?";
  for (Integer N = 1; N < WindowSize; ++N) Sql += ", ?";
  I.WindowStmt = Prepare(I.Db, Sql + ")");
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
    Exec(Db, std::string("PRAGMA foreign_keys = ") + (FForeignKeys ? "ON" : "OFF"));
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

std::vector<Variant> TSQLiteDataSet::ReadKeys() {
  std::string Sql = "SELECT " + FImpl->KeyExpr + " FROM " + FImpl->Source;
  if (FSQL.empty()) Sql += " ORDER BY " + FImpl->KeyExpr;
  TStmt Stmt(FImpl->Db, Sql);
  std::vector<Variant> Keys;
  int Rc;
  while ((Rc = sqlite3_step(Stmt.S)) == SQLITE_ROW) Keys.push_back(ReadKey(Stmt.S, 0));
  if (Rc != SQLITE_DONE) Fail(FImpl->Db, "");
  return Keys;
}

void TSQLiteDataSet::Refresh() {
  CheckActive();
  CheckBrowseMode();
  TImpl& I = *FImpl;
  Integer Index = GetRecNo() - 1;
  Variant Key = Index >= 0 ? I.Keys[size_t(Index)] : Null;
  std::vector<Variant> Fresh = ReadKeys();
  std::vector<Variant> Old = std::move(I.Keys);
  I.SetKeys(std::move(Fresh));
  Integer Found = Index >= 0 ? I.PositionOf(Key) : -1;
  try {
    Resync(Found >= 0 ? Found : Index);
  } catch (...) {
    I.SetKeys(std::move(Old));
    throw;
  }
}

// --- Records ---

void TSQLiteDataSet::ReadRecord(Integer Index, TRecordValues& Values) {
  TImpl& I = *FImpl;
  if (!I.InWindow(Index)) FetchWindow(Index);
  Values = I.Window[size_t(Index - I.WindowStart)];
  I.LastRead = Index;
}

// Reads the rows from Index on, or the rows up to Index when the reader walks backwards.
void TSQLiteDataSet::FetchWindow(Integer Index) {
  TImpl& I = *FImpl;
  Integer Start = I.LastRead == Index + 1 ? std::max(0, Index - WindowSize + 1) : Index;
  Integer Rows = std::min(Integer(I.Keys.size()) - Start, WindowSize);
  std::vector<TRecordValues> Window(static_cast<size_t>(Rows));
  const Variant* Keys = &I.Keys[size_t(Start)];
  // Ascending rowids are a range, which SQLite walks without first sorting a list of keys.
  bool Range = I.RangeStmt && I.KeysSorted;
  sqlite3_stmt* S = Range ? I.RangeStmt : I.WindowStmt;
  for (Integer R = 0; R < (Range ? 2 : WindowSize); ++R) {
    Integer At = Range ? R * (Rows - 1) : R;
    Bind(S, R + 1, At < Rows ? Keys[At] : Null, ftUnknown);
  }
  FetchRows(S, Keys, Rows, Window);
  I.Window = std::move(Window);
  I.WindowStart = Start;
}

// A row deleted by someone else since we read the keys shows as an empty record.
Integer TSQLiteDataSet::FetchRows(sqlite3_stmt* S, const Variant* Keys, Integer Rows,
                                  std::vector<TRecordValues>& Out) {
  const std::vector<TFieldDef>& Defs = GetFieldDefs();
  const std::vector<int>& At = FImpl->StmtColumn;
  TResetOnExit Reset{S};
  for (TRecordValues& Row : Out) Row.assign(Defs.size(), Null);
  Integer Found = 0;
  int Rc;
  while ((Rc = sqlite3_step(S)) == SQLITE_ROW) {
    Variant Key = ReadKey(S, 0);
    for (Integer R = 0; R < Rows; ++R) {
      if (!(Keys[R] == Key)) continue;
      TRecordValues& Row = Out[size_t(R)];
      for (size_t C = 0; C < Defs.size(); ++C)
        Row[C] = At[C] < 0 ? Unassigned : ReadColumn(S, At[C], Defs[C].DataType);
      ++Found;
      break;
    }
  }
  if (Rc != SQLITE_DONE) Fail(FImpl->Db, "");
  return Found;
}

Integer TSQLiteDataSet::FetchRow(const Variant& Key, std::vector<TRecordValues>& Out) {
  Bind(FImpl->RowStmt, 1, Key, ftUnknown);
  return FetchRows(FImpl->RowStmt, &Key, 1, Out);
}

Variant TSQLiteDataSet::ReadValue(Integer Index, Integer Column) {
  TImpl& I = *FImpl;
  sqlite3_stmt*& S = I.ValueStmts[size_t(Column)];
  if (!S)
    S = Prepare(I.Db, "SELECT " + Quote(I.Columns[size_t(Column)]) + " FROM " + I.Source +
                          " WHERE " + I.KeyExpr + " = ?");
  TResetOnExit Reset{S};
  Bind(S, 1, I.Keys[size_t(Index)], ftUnknown);
  int Rc = sqlite3_step(S);
  if (Rc == SQLITE_ROW) return ReadColumn(S, 0, GetFieldDefs()[size_t(Column)].DataType);
  if (Rc != SQLITE_DONE) Fail(I.Db, "");
  return Null;  // deleted by someone else: an empty record, as in a window
}

void TSQLiteDataSet::InternalEdit(Integer Index, TRecordValues& Values) {
  TImpl& I = *FImpl;
  std::vector<TRecordValues> Row(1);
  if (FetchRow(I.Keys[size_t(Index)], Row) == 0)
    Error("The record no longer exists: another user has deleted it");
  if (I.InWindow(Index)) I.Window[size_t(Index - I.WindowStart)] = Row[0];
  Values = std::move(Row[0]);
}

// --- Keys ---

namespace {

// An order of keys of any kind (Null, numbers, text, bytes), which sorts rowids as numbers.
int KeyRank(const Variant& V) {
  switch (V.VarType()) {
    case varInteger:
    case varDouble:
      return 1;
    case varString:
      return 2;
    case varBytes:
      return 3;
    default:
      return 0;
  }
}

bool KeyLess(const Variant& A, const Variant& B) {
  int RA = KeyRank(A), RB = KeyRank(B);
  if (RA != RB) return RA < RB;
  if (RA == 1) {
    if (A.VarType() == varInteger && B.VarType() == varInteger)
      return A.ToInteger() < B.ToInteger();
    return A.ToFloat() < B.ToFloat();
  }
  if (RA == 2) return A.ToString() < B.ToString();
  if (RA == 3) return A.ToBytes() < B.ToBytes();
  return false;
}

}  // namespace

void TSQLiteDataSet::TImpl::SetKeys(std::vector<Variant> NewKeys) {
  Keys = std::move(NewKeys);
  KeysSorted = std::is_sorted(Keys.begin(), Keys.end(), KeyLess);
  ByKey.clear();
  DropWindow();
}

void TSQLiteDataSet::TImpl::KeyChanged(Integer Index) {
  size_t I = size_t(Index);
  KeysSorted = KeysSorted && (I == 0 || KeyLess(Keys[I - 1], Keys[I])) &&
               (I + 1 == Keys.size() || KeyLess(Keys[I], Keys[I + 1]));
  ByKey.clear();
}

Integer TSQLiteDataSet::TImpl::PositionOf(const Variant& Key) {
  if (KeysSorted) {
    auto It = std::lower_bound(Keys.begin(), Keys.end(), Key, KeyLess);
    return It != Keys.end() && !KeyLess(Key, *It) ? Integer(It - Keys.begin()) : -1;
  }
  if (ByKey.size() != Keys.size()) {
    std::vector<Integer> Order(Keys.size());
    std::iota(Order.begin(), Order.end(), 0);
    std::stable_sort(Order.begin(), Order.end(), [&](Integer A, Integer B) {
      return KeyLess(Keys[size_t(A)], Keys[size_t(B)]);
    });
    ByKey = std::move(Order);
  }
  auto It = std::lower_bound(ByKey.begin(), ByKey.end(), Key, [&](Integer P, const Variant& K) {
    return KeyLess(Keys[size_t(P)], K);
  });
  return It != ByKey.end() && !KeyLess(Key, Keys[size_t(*It)]) ? *It : -1;
}

}  // namespace plumb
