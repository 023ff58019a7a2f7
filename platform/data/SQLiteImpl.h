#pragma once
// What SQLiteDataSet.cpp (opening, reading) and SQLiteWrite.cpp (writing, searching) share:
// the connection with its statements, the row keys, the window of rows last read, and the
// small helpers around SQLite's C interface.
#include <sqlite3.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "SQLiteDataSet.h"

namespace plumb {

struct TSQLiteDataSet::TImpl {
  sqlite3* Db = nullptr;
  // These read the key and the small columns: rows by up to WindowSize keys, one row by key.
  sqlite3_stmt* WindowStmt = nullptr;
  sqlite3_stmt* RowStmt = nullptr;
  sqlite3_stmt* RangeStmt = nullptr;      // rows between two rowids, for a window of sorted rowids
  std::vector<sqlite3_stmt*> ValueStmts;  // one column of one row by key, made on first use
  std::unordered_map<std::string, sqlite3_stmt*> Cache;  // writes and searches by SQL text
  std::vector<std::string> Columns;
  std::vector<bool> Large;      // blobs and memos: read when a field asks, never in a window
  std::vector<int> StmtColumn;  // where each small column sits in the row statements
  std::string Source;           // quoted table name or "(query)"
  std::string KeyExpr;          // rowid or the quoted key column
  Integer KeyColumn = -1;       // the column holding the key (also an INTEGER PRIMARY KEY)
  bool RowidKey = false;
  bool Writable = false;
  // Record positions: the key of each record, and a way back from a key to its position.
  std::vector<Variant> Keys;
  bool KeysSorted = false;     // Keys ascend, so a binary search finds a position
  std::vector<Integer> ByKey;  // else the positions in key order, made on first use
  // Rows WindowStart .. WindowStart + Window.size() - 1 as last read from the file.
  Integer WindowStart = -1;
  std::vector<TRecordValues> Window;
  Integer LastRead = -1;

  ~TImpl();
  void DropWindow() {
    WindowStart = -1;
    Window.clear();
  }
  bool InWindow(Integer Index) const {
    return WindowStart >= 0 && Index >= WindowStart && Index < WindowStart + Integer(Window.size());
  }
  void SetKeys(std::vector<Variant> NewKeys);
  // After Keys[Index] was inserted or replaced.
  void KeyChanged(Integer Index);
  // Position of the record with Key, -1 when the data set holds none.
  Integer PositionOf(const Variant& Key);
  // A statement kept for the life of the connection.
  sqlite3_stmt* Cached(const std::string& Sql);
};

// Resets a statement on every way out, so a failed step never leaves it holding a lock.
struct TResetOnExit {
  sqlite3_stmt* S;
  ~TResetOnExit() { sqlite3_reset(S); }
};

inline constexpr Integer WindowSize = 32;

std::string Quote(const std::string& Id);
[[noreturn]] void Fail(sqlite3* Db, const std::string& Context);
sqlite3_stmt* Prepare(sqlite3* Db, const std::string& Sql);
void Exec(sqlite3* Db, const std::string& Sql);
// Column I read by its storage class, as the representation of the field type.
Variant ReadColumn(sqlite3_stmt* S, int I, TFieldType Type);
Variant ReadKey(sqlite3_stmt* S, int I);
void Bind(sqlite3_stmt* S, int Pos, const Variant& V, TFieldType Type);

}  // namespace plumb
