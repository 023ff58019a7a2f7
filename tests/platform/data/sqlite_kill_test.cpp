// Issue 17: a process killed in the middle of a post. A child process posts one change and
// stops itself at a chosen point inside the write — SQLite's commit hook, or the Nth sync of
// a file — telling the parent through a pipe; the parent kills it with SIGKILL there. The
// database must then open, pass its integrity check and hold either the old row or the new.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "DataTestSupport.h"
#include "FaultVfs.h"

using namespace plumb;
using plumb::test::TFaultVfs;
using plumb::test::TScratchDb;

namespace {

int ReadyPipe = -1;

// In the child: tell the parent where we are and wait for the end.
[[noreturn]] void StopHere() {
  char C = 'x';
  if (write(ReadyPipe, &C, 1) != 1) _exit(3);
  for (;;) pause();
}

// The child: one post of a new name for row 2, stopped at the commit hook or the Nth sync
// (0: after the post has returned). Exits 0 when the post ended before the point.
[[noreturn]] void PostInChild(const std::string& Path, const std::string& Journal, bool AtHook,
                              int AtSync) {
  TFaultVfs Vfs;
  int Syncs = 0;
  Vfs.OnSync = [&](const char*) {
    if (++Syncs == AtSync) StopHere();
  };
  try {
    TComponent Owner(nullptr);
    auto* DS = new TSQLiteDataSet(&Owner);
    DS->SetDatabaseName(Path);
    DS->SetTableName("t");
    DS->SetJournalMode(Journal);
    DS->Open();
    DS->Locate("id", Variant(2));
    DS->Edit();
    DS->FieldByName("name")->SetAsString("new");
    if (AtHook)
      sqlite3_commit_hook(
          DS->GetHandle(), [](void*) -> int { StopHere(); }, nullptr);
    DS->Post();
    if (AtSync == 0) StopHere();
  } catch (...) {
    _exit(2);
  }
  _exit(0);
}

// Runs the child to its point and kills it there; false when the post ended before it.
// AtSync: 0 after the post, N at the Nth sync; any other value never stops.
bool KillAtPoint(const std::string& Path, const std::string& Journal, bool AtHook, int AtSync) {
  int Fds[2];
  if (pipe(Fds) != 0) throw std::runtime_error("pipe");
  pid_t Pid = fork();
  if (Pid == 0) {
    close(Fds[0]);
    ReadyPipe = Fds[1];
    PostInChild(Path, Journal, AtHook, AtSync);
  }
  close(Fds[1]);
  char C;
  bool Reached = read(Fds[0], &C, 1) == 1;
  close(Fds[0]);
  if (Reached) kill(Pid, SIGKILL);
  int Status = 0;
  waitpid(Pid, &Status, 0);
  if (!Reached) {
    EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0) << "the child failed";
  }
  return Reached;
}

std::string Check(const std::string& Path, const std::string& Sql) {
  sqlite3* Db = nullptr;
  sqlite3_open_v2(Path.c_str(), &Db, SQLITE_OPEN_READWRITE, nullptr);
  sqlite3_stmt* S = nullptr;
  std::string R = "<error: " + std::string(sqlite3_errmsg(Db)) + ">";
  if (sqlite3_prepare_v2(Db, Sql.c_str(), -1, &S, nullptr) == SQLITE_OK &&
      sqlite3_step(S) == SQLITE_ROW)
    R = reinterpret_cast<const char*>(sqlite3_column_text(S, 0));
  sqlite3_finalize(S);
  sqlite3_close(Db);
  return R;
}

}  // namespace

TEST(SQLiteKillTest, KilledInsideAPost_TheDatabaseHoldsTheOldRowOrTheNew) {
  for (const std::string Journal : {"DELETE", "WAL"}) {
    // Point -1 is the commit hook, 0 the return of the post, N the Nth sync of a file: every
    // sync in turn, until the post ends before the next one.
    int Syncs = 0;
    for (int Point = -1;; ++Point) {
      SCOPED_TRACE(Journal + " point " + std::to_string(Point));
      ASSERT_LT(Point, 50) << "the child never finished";
      TScratchDb Db(
          "CREATE TABLE t (id INTEGER PRIMARY KEY, name TEXT);"
          "INSERT INTO t VALUES (1, 'a'), (2, 'old'), (3, 'c');");
      if (!KillAtPoint(Db.Path(), Journal, Point == -1, Point)) break;
      Syncs += Point > 0;
      EXPECT_EQ(Check(Db.Path(), "PRAGMA integrity_check"), "ok");
      std::string Rows = Check(Db.Path(), "SELECT group_concat(id || name) FROM t");
      EXPECT_TRUE(Rows == "1a,2old,3c" || Rows == "1a,2new,3c") << Rows;
      if (Point == -1) {
        EXPECT_EQ(Rows, "1a,2old,3c");  // the hook runs before the commit
      } else if (Point == 0) {
        EXPECT_EQ(Rows, "1a,2new,3c");  // the post had returned
      }
    }
    EXPECT_GE(Syncs, 1) << "no sync was ever reached";
  }
}
