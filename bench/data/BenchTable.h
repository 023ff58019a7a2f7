#pragma once
// The large SQLite table the data benchmarks read: made once per run in /tmp, removed at exit.
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace plumb::bench {

constexpr int TableRows = 1000000;

inline std::string TablePath() {
  return "/tmp/plumb_data_bench_" + std::to_string(getpid()) + ".db";
}

inline void RemoveDb(const std::string& Path) {
  for (const char* Suffix : {"", "-journal", "-wal", "-shm"}) std::remove((Path + Suffix).c_str());
}

// A customers-like table of TableRows rows with an indexed email column.
inline const std::string& Table() {
  static const std::string Path = [] {
    std::string P = TablePath();
    RemoveDb(P);
    sqlite3* Db = nullptr;
    sqlite3_open(P.c_str(), &Db);
    std::string Sql =
        "CREATE TABLE customers (id INTEGER PRIMARY KEY, name TEXT NOT NULL, age INTEGER, "
        "balance REAL, joined DATE, active BOOLEAN, email TEXT);"
        "WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < " +
        std::to_string(TableRows) +
        ") INSERT INTO customers SELECT n, 'Customer ' || n, n % 90, n * 0.25, "
        "date('2000-01-01', '+' || (n % 9000) || ' days'), n % 2, 'c' || n || '@x.org' FROM s;"
        "CREATE INDEX customers_email ON customers (email);";
    sqlite3_exec(Db, Sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(Db);
    std::atexit([] { RemoveDb(TablePath()); });
    return P;
  }();
  return Path;
}

}  // namespace plumb::bench
