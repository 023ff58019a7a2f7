#pragma once
// TSQLiteDataSet: the rows of a SQLite table (or of a query with a key column) as a data set.
//
// The cursor is a vector of row keys (the rowid, or the key column); records are fetched by
// key with a prepared SELECT, a window of neighbouring rows at a time. Edit re-reads the
// record, so an edit starts from what the file holds; Refresh re-reads everything. A post writes
// the changed columns with one UPDATE (or an INSERT) between BEGIN IMMEDIATE and COMMIT; when
// SQLite refuses, the transaction is rolled back, ESQLiteError carries SQLite's message and code,
// and the data set stays in edit state with the user's values.
#include <memory>
#include <string>

#include "DataSet.h"

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

  // Reads the row keys again (rows added or removed by someone else) and reloads the record.
  void Refresh();

  // The field type for a declared column type; an INTEGER PRIMARY KEY is an auto-increment.
  static TFieldType FieldTypeFromDecl(const std::string& DeclType, bool RowidAlias);
  static void DescribeProperties(TPropertyList<TSQLiteDataSet>& P);

 protected:
  void InternalOpen() override;
  void InternalClose() override;
  Integer GetStoredCount() const override;
  void ReadRecord(Integer Index, TRecordValues& Values) override;
  void WriteRecord(Integer Index, bool Inserting, TRecordValues& Values,
                   const std::vector<bool>& Changed) override;
  void InternalDelete(Integer Index) override;
  void InternalEdit(Integer Index) override;
  bool StorageWritable() const override;

 private:
  struct TImpl;
  void OpenConnection();
  void DescribeTable();
  void DescribeQuery();
  void LoadKeys();
  void FetchWindow(Integer Index);
  void FetchRows(sqlite3_stmt* S, Integer Start, Integer Rows, Integer Slots,
                 std::vector<TRecordValues>& Out);
  void ExecWrite(const std::string& SQL, const TRecordValues& Values,
                 const std::vector<size_t>& Columns, const Variant* Key);

  std::string FDatabaseName;
  std::string FTableName;
  std::string FSQL;
  std::string FKeyField;
  std::string FJournalMode;
  Integer FBusyTimeout = 5000;
  std::unique_ptr<TImpl> FImpl;
};

}  // namespace plumb
