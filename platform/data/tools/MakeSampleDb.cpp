// Builds a SQLite database file from a SQL script: make_sample_db <script.sql> <output.db>.
// The file is written beside the output and renamed into place, so a failed script never
// leaves a half-built database behind.
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: " << argv[0] << " <script.sql> <output.db>\n";
    return 2;
  }
  std::ifstream In(argv[1], std::ios::binary);
  if (!In) {
    std::cerr << argv[0] << ": cannot read " << argv[1] << "\n";
    return 1;
  }
  std::stringstream Script;
  Script << In.rdbuf();
  std::string Temp = std::string(argv[2]) + ".tmp";
  std::remove(Temp.c_str());
  sqlite3* Db = nullptr;
  int Rc = sqlite3_open(Temp.c_str(), &Db);
  char* Err = nullptr;
  if (Rc == SQLITE_OK) Rc = sqlite3_exec(Db, Script.str().c_str(), nullptr, nullptr, &Err);
  if (Rc != SQLITE_OK) {
    std::cerr << argv[1] << ": " << (Err ? Err : sqlite3_errmsg(Db)) << "\n";
    sqlite3_free(Err);
    sqlite3_close(Db);
    std::remove(Temp.c_str());
    return 1;
  }
  sqlite3_close(Db);
  if (std::rename(Temp.c_str(), argv[2]) != 0) {
    std::cerr << argv[0] << ": cannot write " << argv[2] << "\n";
    return 1;
  }
  return 0;
}
