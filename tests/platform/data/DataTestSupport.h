#pragma once
// Shared by the data tests: a link that writes down what it hears, small in-memory tables,
// and scratch SQLite files.
#include <malloc.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "data/DB.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's allocator keeps its own count (its header is not always installed).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace plumb::test {

// Logs every notification as a short word, in the order heard. The data source's state
// changes go to the same log, so the two can be checked against each other.
class TRecordingLink : public TDataLink {
 public:
  std::vector<std::string> Log;

  ~TRecordingLink() override {
    if (GetDataSource()) GetDataSource()->OnStateChange = nullptr;
  }
  void Attach(TDataSource* Source) {
    if (GetDataSource()) GetDataSource()->OnStateChange = nullptr;
    SetDataSource(Source);
    Source->OnStateChange = [this, Source](TObject*) {
      static const char* Names[] = {"inactive", "browse", "edit", "insert", "calc", "opening"};
      Log.push_back(std::string("state ") + Names[Source->GetState()]);
    };
  }
  std::vector<std::string> Take() {
    std::vector<std::string> R;
    R.swap(Log);
    return R;
  }

 protected:
  void ActiveChanged() override { Log.push_back(GetActive() ? "active" : "inactive"); }
  void EditingChanged() override { Log.push_back(GetEditing() ? "editing" : "not editing"); }
  void DataSetScrolled(Integer Distance) override {
    Log.push_back("scrolled " + std::to_string(Distance));
  }
  void DataSetChanged() override {
    Log.push_back("changed");
    TDataLink::DataSetChanged();
  }
  void RecordChanged(TField* Field) override {
    Log.push_back("record " + (Field ? Field->GetFieldName() : std::string("*")));
  }
};

// Id, Name, Age with three people; opened.
inline TMemDataSet* MakePeople(TComponent* Owner) {
  auto* DS = new TMemDataSet(Owner);
  DS->AddFieldDef("Id", ftInteger, true);
  DS->AddFieldDef("Name", ftString);
  DS->AddFieldDef("Age", ftInteger);
  DS->Open();
  DS->AppendRecord({1, "Ann", 31});
  DS->AppendRecord({2, "Bob", 45});
  DS->AppendRecord({3, "Cid", 27});
  DS->First();
  return DS;
}

// A database file that disappears with the object, with its journal files.
class TScratchDb {
 public:
  explicit TScratchDb(const std::string& Schema = "") {
    static int Counter = 0;
    FPath = "/tmp/plumb_data_test_" + std::to_string(getpid()) + "_" + std::to_string(++Counter) +
            ".db";
    Remove();
    if (!Schema.empty()) Exec(Schema);
  }
  ~TScratchDb() { Remove(); }
  const std::string& Path() const { return FPath; }

  // Runs SQL on a connection of its own, as another program would.
  void Exec(const std::string& Sql) const {
    sqlite3* Db = nullptr;
    sqlite3_open(FPath.c_str(), &Db);
    char* Err = nullptr;
    int Rc = sqlite3_exec(Db, Sql.c_str(), nullptr, nullptr, &Err);
    std::string Message = Err ? Err : "";
    sqlite3_free(Err);
    sqlite3_close(Db);
    if (Rc != SQLITE_OK) throw std::runtime_error(Message);
  }
  // The first column of the first row as text ("NULL" for a null).
  std::string Query(const std::string& Sql) const {
    sqlite3* Db = nullptr;
    sqlite3_open(FPath.c_str(), &Db);
    sqlite3_stmt* S = nullptr;
    sqlite3_prepare_v2(Db, Sql.c_str(), -1, &S, nullptr);
    std::string R = "<no row>";
    if (sqlite3_step(S) == SQLITE_ROW) {
      const unsigned char* T = sqlite3_column_text(S, 0);
      R = T ? reinterpret_cast<const char*>(T) : "NULL";
    }
    sqlite3_finalize(S);
    sqlite3_close(Db);
    return R;
  }

 private:
  void Remove() {
    for (const char* Suffix : {"", "-journal", "-wal", "-shm"})
      std::remove((FPath + Suffix).c_str());
  }
  std::string FPath;
};

// Another program's connection to the same file, which makes the database busy on request.
class TOtherConnection {
 public:
  explicit TOtherConnection(const std::string& Path) { sqlite3_open(Path.c_str(), &FDb); }
  ~TOtherConnection() {
    Release();
    sqlite3_close(FDb);
  }
  // BEGIN EXCLUSIVE: nobody else reads or writes until Release.
  void Lock() {
    if (sqlite3_exec(FDb, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK)
      throw std::runtime_error(sqlite3_errmsg(FDb));
    FLocked = true;
  }
  void Release() {
    if (FLocked) sqlite3_exec(FDb, "COMMIT", nullptr, nullptr, nullptr);
    FLocked = false;
  }
  bool Locked() const { return FLocked; }

 private:
  sqlite3* FDb = nullptr;
  bool FLocked = false;
};

// Makes Other lock the database at the start of one statement of Ours (a trace event, before
// that statement takes any lock): the first statement after Ours commits, or, given SqlPart,
// the first whose SQL holds it.
class TLockAtStatement {
 public:
  TLockAtStatement(sqlite3* Ours, TOtherConnection& Other, std::string SqlPart = "")
      : FDb(Ours), FOther(Other), FSqlPart(std::move(SqlPart)), FArmed(!FSqlPart.empty()) {
    sqlite3_commit_hook(FDb, &Committed, this);
    sqlite3_trace_v2(FDb, SQLITE_TRACE_STMT, &Started, this);
  }
  ~TLockAtStatement() {
    sqlite3_commit_hook(FDb, nullptr, nullptr);
    sqlite3_trace_v2(FDb, 0, nullptr, nullptr);
  }

 private:
  static int Committed(void* Self) {
    auto* Me = static_cast<TLockAtStatement*>(Self);
    if (Me->FSqlPart.empty()) Me->FArmed = true;
    return 0;
  }
  static int Started(unsigned, void* Self, void*, void* Sql) {
    auto* Me = static_cast<TLockAtStatement*>(Self);
    if (!Me->FArmed ||
        std::string(static_cast<const char*>(Sql)).find(Me->FSqlPart) == std::string::npos)
      return 0;
    if (!Me->FOther.Locked()) Me->FOther.Lock();
    Me->FArmed = false;
    return 0;
  }
  sqlite3* FDb;
  TOtherConnection& FOther;
  std::string FSqlPart;
  bool FArmed;
};

// Bytes the process has allocated and not freed.
inline size_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  struct mallinfo2 M = mallinfo2();
  return M.uordblks + M.hblkhd;
#endif
}

}  // namespace plumb::test
