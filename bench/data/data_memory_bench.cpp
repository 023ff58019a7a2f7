// Memory of a SQLite data set showing rows that hold 10 MB blobs, above the same data set open
// on an empty table. Every allocation of the program, SQLite's included, goes through one
// counter, so the peak is the true high-water mark of the heap.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "data/DB.h"

using namespace plumb;

namespace {

std::atomic<size_t> InUse{0};
std::atomic<size_t> Peak{0};

void Count(void* P) {
  size_t Now = InUse += malloc_usable_size(P);
  size_t Seen = Peak.load();
  while (Now > Seen && !Peak.compare_exchange_weak(Seen, Now)) {
  }
}

void Uncount(void* P) {
  InUse -= malloc_usable_size(P);
}

void* Allocate(size_t N) {
  void* P = std::malloc(N ? N : 1);
  if (!P) throw std::bad_alloc();
  Count(P);
  return P;
}

void Release(void* P) {
  if (!P) return;
  Uncount(P);
  std::free(P);
}

// SQLite's allocator, counted the same way.
void* SqlMalloc(int N) {
  void* P = std::malloc(size_t(N));
  if (P) Count(P);
  return P;
}
void SqlFree(void* P) {
  Release(P);
}
void* SqlRealloc(void* P, int N) {
  if (P) Uncount(P);
  void* R = std::realloc(P, size_t(N));
  if (R)
    Count(R);
  else if (P)
    Count(P);
  return R;
}
int SqlSize(void* P) {
  return int(malloc_usable_size(P));
}
int SqlRoundup(int N) {
  return (N + 7) & ~7;
}
int SqlInit(void*) {
  return SQLITE_OK;
}
void SqlShutdown(void*) {}

constexpr size_t BlobBytes = 10u << 20;
constexpr int BlobRows = 40;

std::string BlobTablePath() {
  return "/tmp/plumb_data_memory_bench_" + std::to_string(getpid()) + ".db";
}

std::string BlobTable() {
  static const std::string Path = [] {
    std::string P = BlobTablePath();
    std::remove(P.c_str());
    sqlite3* Db = nullptr;
    sqlite3_open(P.c_str(), &Db);
    std::string Sql =
        "CREATE TABLE photos (id INTEGER PRIMARY KEY, name TEXT, taken DATE, photo BLOB);"
        "CREATE TABLE no_photos AS SELECT * FROM photos;"
        "WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < " +
        std::to_string(BlobRows) +
        ") INSERT INTO photos SELECT n, 'Photo ' || n, '2024-01-01', zeroblob(" +
        std::to_string(BlobBytes) + ") FROM s;";
    sqlite3_exec(Db, Sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(Db);
    std::atexit([] { std::remove(BlobTablePath().c_str()); });
    return P;
  }();
  return Path;
}

// Heap in use with the data set open on Table and showing its first record.
size_t OpenShowing(TComponent& Owner, TSQLiteDataSet*& DS, const char* Table) {
  DS = new TSQLiteDataSet(&Owner);
  DS->SetDatabaseName(BlobTable());
  DS->SetTableName(Table);
  DS->Open();
  benchmark::DoNotOptimize(DS->FieldByName("name")->GetAsString());
  return InUse.load();
}

// Walks every record as a grid shows it (the text fields; a blob shows as a placeholder) and,
// with ReadBlobs, also reads each record's blob as a picture viewer would.
void BM_SQLiteShowRowsOfLargeBlobs(benchmark::State& State) {
  bool ReadBlobs = State.range(0) != 0;
  BlobTable();
  size_t Above = 0;
  for (auto _ : State) {
    TComponent Owner(nullptr);
    TSQLiteDataSet* Empty = nullptr;
    size_t Base = OpenShowing(Owner, Empty, "no_photos");
    Empty->Free();
    TSQLiteDataSet* DS = nullptr;
    Peak = InUse.load();
    OpenShowing(Owner, DS, "photos");
    for (DS->First(); !DS->GetEof(); DS->Next()) {
      benchmark::DoNotOptimize(DS->FieldByName("name")->GetAsString());
      benchmark::DoNotOptimize(DS->FieldByName("taken")->GetAsString());
      if (ReadBlobs) benchmark::DoNotOptimize(DS->FieldByName("photo")->GetAsVariant());
    }
    Above = Peak.load() - Base;
  }
  State.counters["peak_MiB_above_empty"] = double(Above) / (1 << 20);
  State.counters["peak_blobs_above_empty"] = double(Above) / double(BlobBytes);
}
BENCHMARK(BM_SQLiteShowRowsOfLargeBlobs)
    ->ArgName("read_blobs")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

void* operator new(size_t N) {
  return Allocate(N);
}
void* operator new[](size_t N) {
  return Allocate(N);
}
void operator delete(void* P) noexcept {
  Release(P);
}
void operator delete[](void* P) noexcept {
  Release(P);
}
void operator delete(void* P, size_t) noexcept {
  Release(P);
}
void operator delete[](void* P, size_t) noexcept {
  Release(P);
}

int main(int argc, char** argv) {
  static const sqlite3_mem_methods Methods = {SqlMalloc,  SqlFree, SqlRealloc,  SqlSize,
                                              SqlRoundup, SqlInit, SqlShutdown, nullptr};
  sqlite3_config(SQLITE_CONFIG_MALLOC, &Methods);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
