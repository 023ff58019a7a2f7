#pragma once
// TSQLiteDataSet: the rows of a SQLite table (or of a query with a key column) as a data set.
//
// The cursor is a vector of row keys (the rowid, or the key column); records are fetched by
// key with a prepared SELECT, a window of neighbouring rows at a time. Blobs and memos are left
// out of the window and read when a field of the current record asks for them. Edit re-reads
// the record, so an edit starts from what the file holds; Refresh re-reads everything. A post
// writes the changed columns with one UPDATE (or an INSERT) and reads the row back, all between
// BEGIN IMMEDIATE and COMMIT; a delete is one DELETE in its own transaction. Every write must
// change exactly one row. When SQLite refuses, or the row was ignored or is gone, the
// transaction is rolled back, the error says what happened (ESQLiteError with SQLite's message
// and code when SQLite refused), and the data set stays as it was, in edit state with the
// user's values for a post. Locate and Lookup ask the database, and so does FindPrefix on a
// text column of a table while the records are in key order.
#include <memory>
#include <string>

#include "DataSet.h"

struct sqlite3;
struct sqlite3_stmt;

namespace plumb {

class ESQLiteError : public EDatabaseError {
 public:
  ESQLiteError(const std::string& Msg, int Code) : EDatabaseError(Msg), FCode(Code) {}
  // SQLite's extended result code (275 CHECK, 1299 NOT NULL, 2067 UNIQUE, 5 BUSY, ...).
  int ErrorCode() const { return FCode; }

 private:
  int FCode;
};

class TSQLiteDataSet : public TDataSet {
  PLUMB_CLASS(TSQLiteDataSet, TDataSet)
  explicit TSQLiteDataSet(TComponent* AOwner);
  ~TSQLiteDataSet() override;

  // The database file; it must exist (a mistyped name fails Open instead of creating one).
  const std::string& GetDatabaseName() const { return FDatabaseName; }
  void SetDatabaseName(const std::string& Value);
  const std::string& GetTableName() const { return FTableName; }
  void SetTableName(const std::string& Value);
  // A SELECT to show instead of a table; its rows are read-only and KeyField tells them apart.
  const std::string& GetSQL() const { return FSQL; }
  void SetSQL(const std::string& Value);
  const std::string& GetKeyField() const { return FKeyField; }
  void SetKeyField(const std::string& Value);
  // How long a write waits for another connection's lock before failing, in milliseconds.
  Integer GetBusyTimeout() const { return FBusyTimeout; }
  void SetBusyTimeout(Integer Value) { FBusyTimeout = Value; }
  // Journal mode set when opening ("WAL", "DELETE", ...); empty keeps the file's own.
  const std::string& GetJournalMode() const { return FJournalMode; }
  void SetJournalMode(const std::string& Value) { FJournalMode = Value; }
  // Whether SQLite enforces the tables' foreign keys; on unless a host turns it off.
  bool GetForeignKeys() const { return FForeignKeys; }
  void SetForeignKeys(bool Value);
  // The open connection (nil while closed), for a host that registers functions or hooks.
  sqlite3* GetHandle() const;

  // Reads the row keys again (rows added or removed by someone else) and reloads the record.
  // When that fails the data set keeps its records.
  void Refresh();

  // The field type for a declared column type; an INTEGER PRIMARY KEY is an auto-increment.
  static TFieldType FieldTypeFromDecl(const std::string& DeclType, bool RowidAlias);
  static void DescribeProperties(TPropertyList<TSQLiteDataSet>& P);

 protected:
  void InternalOpen() override;
  void InternalClose() override;
  Integer GetStoredCount() const override;
  void ReadRecord(Integer Index, TRecordValues& Values) override;
  Variant ReadValue(Integer Index, Integer Column) override;
  void WriteRecord(Integer Index, bool Inserting, TRecordValues& Values,
                   const std::vector<bool>& Changed) override;
  void InternalDelete(Integer Index) override;
  void InternalEdit(Integer Index, TRecordValues& Values) override;
  Integer FindRecord(const std::vector<Integer>& Columns, const TRecordValues& Values) override;
  Integer FindPrefixRecord(Integer Column, const std::string& Prefix, Integer From,
                           Integer To) override;
  bool StorageWritable() const override;

 private:
  struct TImpl;
  void OpenConnection();
  void DescribeTable();
  void DescribeQuery();
  void PrepareReads();
  std::vector<Variant> ReadKeys();
  void FetchWindow(Integer Index);
  // Reads the rows of Keys[0 .. Rows - 1] into Out with S, bound to select them (a row that
  // is not there stays Null); returns how many were found.
  Integer FetchRows(sqlite3_stmt* S, const Variant* Keys, Integer Rows,
                    std::vector<TRecordValues>& Out);
  // The row with Key, into Out[0].
  Integer FetchRow(const Variant& Key, std::vector<TRecordValues>& Out);
  // Binds the values of Columns, then Key when there is one, steps and returns the changes.
  int ExecChange(const std::string& Sql, const TRecordValues& Values,
                 const std::vector<size_t>& Columns, const Variant* Key);
  // Why a write changed no row: raises saying whether the row is gone or was left alone.
  [[noreturn]] void NothingChanged(const Variant& Key, const char* Ignored);
  void StoreRecord(bool Inserting, TRecordValues& Values, const std::vector<size_t>& Columns,
                   Variant& Key);

  std::string FDatabaseName;
  std::string FTableName;
  std::string FSQL;
  std::string FKeyField;
  std::string FJournalMode;
  Integer FBusyTimeout = 5000;
  bool FForeignKeys = true;
  std::unique_ptr<TImpl> FImpl;
};

}  // namespace plumb
