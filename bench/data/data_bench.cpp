// Moving through a large SQLite table, finding records in it, and editing records one post at
// a time.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>

#include "BenchTable.h"
#include "data/DB.h"

using namespace plumb;
using namespace plumb::bench;

namespace {

constexpr int EditedRecords = 10000;

// Listens the way a grid's link does, and reads the value it would show.
class TShowingLink : public TDataLink {
 public:
  TField* Shown = nullptr;
  size_t Chars = 0;

 protected:
  void DataSetScrolled(Integer) override { Chars += Shown->GetAsString().size(); }
};

void BM_SQLiteScrollThroughTable(benchmark::State& State) {
  TComponent Owner(nullptr);
  auto* DS = new TSQLiteDataSet(&Owner);
  DS->SetDatabaseName(Table());
  DS->SetTableName("customers");
  DS->Open();
  auto* Source = new TDataSource(&Owner);
  Source->SetDataSet(DS);
  TShowingLink Link;
  Link.SetDataSource(Source);
  Link.Shown = DS->FieldByName("name");
  for (auto _ : State) {
    for (DS->First(); !DS->GetEof(); DS->Next()) {
    }
  }
  benchmark::DoNotOptimize(Link.Chars);
  State.SetItemsProcessed(State.iterations() * DS->GetRecordCount());
  State.counters["us_per_row"] =
      benchmark::Counter(double(State.iterations()) * DS->GetRecordCount() / 1e6,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SQLiteScrollThroughTable)->Unit(benchmark::kMillisecond);

// Locate by an indexed column: the database finds the row, the data set its position.
void BM_SQLiteLocateIndexed(benchmark::State& State) {
  TComponent Owner(nullptr);
  auto* DS = new TSQLiteDataSet(&Owner);
  DS->SetDatabaseName(Table());
  DS->SetTableName("customers");
  DS->Open();
  std::mt19937 Random(42);
  std::uniform_int_distribution<int> Row(1, TableRows);
  bool Found = true;
  for (auto _ : State)
    Found = Found && DS->Locate("email", Variant("c" + std::to_string(Row(Random)) + "@x.org"));
  if (!Found) State.SkipWithError("a row was not found");
}
BENCHMARK(BM_SQLiteLocateIndexed)->Unit(benchmark::kMicrosecond);

// The first Locate after opening, which has no index of its own to build.
void BM_SQLiteFirstLocateAfterOpen(benchmark::State& State) {
  TComponent Owner(nullptr);
  auto* DS = new TSQLiteDataSet(&Owner);
  DS->SetDatabaseName(Table());
  DS->SetTableName("customers");
  int N = 0;
  bool Found = true;
  for (auto _ : State) {
    State.PauseTiming();
    DS->Close();
    DS->Open();
    std::string Email = "c" + std::to_string(TableRows - 1000 * ++N) + "@x.org";
    State.ResumeTiming();
    Found = Found && DS->Locate("email", Variant(Email));
  }
  if (!Found) State.SkipWithError("a row was not found");
}
BENCHMARK(BM_SQLiteFirstLocateAfterOpen)->Unit(benchmark::kMicrosecond)->Iterations(10);

// Edit, assign one field and Post, record after record; each post is its own transaction.
void BM_SQLiteEditOneFieldPerRecord(benchmark::State& State, const char* JournalMode) {
  std::string Path = TablePath() + "-edit";
  RemoveDb(Path);
  {
    sqlite3* Db = nullptr;
    sqlite3_open(Path.c_str(), &Db);
    sqlite3_exec(Db,
                 ("ATTACH '" + Table() +
                  "' AS src; CREATE TABLE customers AS SELECT * FROM "
                  "src.customers WHERE id <= " +
                  std::to_string(EditedRecords))
                     .c_str(),
                 nullptr, nullptr, nullptr);
    sqlite3_close(Db);
  }
  TComponent Owner(nullptr);
  auto* DS = new TSQLiteDataSet(&Owner);
  DS->SetDatabaseName(Path);
  DS->SetTableName("customers");
  DS->SetJournalMode(JournalMode);
  DS->Open();
  TField* Age = DS->FieldByName("age");
  Integer Round = 0;
  for (auto _ : State) {
    ++Round;
    for (DS->First(); !DS->GetEof(); DS->Next()) {
      DS->Edit();
      Age->SetAsInteger(Round);
      DS->Post();
    }
  }
  State.SetItemsProcessed(State.iterations() * DS->GetRecordCount());
  State.counters["records_per_s"] = benchmark::Counter(
      double(State.iterations()) * DS->GetRecordCount(), benchmark::Counter::kIsRate);
  DS->Close();
  RemoveDb(Path);
}
// Commits wait for the disk, so these count wall-clock time.
BENCHMARK_CAPTURE(BM_SQLiteEditOneFieldPerRecord, journal_delete, "DELETE")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_SQLiteEditOneFieldPerRecord, journal_wal, "WAL")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

// The in-memory data set, for comparison: the data-set machinery without storage costs.
void BM_MemEditOneFieldPerRecord(benchmark::State& State) {
  TComponent Owner(nullptr);
  auto* DS = new TMemDataSet(&Owner);
  DS->AddFieldDef("id", ftInteger);
  DS->AddFieldDef("age", ftInteger);
  DS->Open();
  for (int I = 0; I < EditedRecords; ++I) DS->AppendRecord({I, 0});
  TField* Age = DS->FieldByName("age");
  for (auto _ : State)
    for (DS->First(); !DS->GetEof(); DS->Next()) {
      DS->Edit();
      Age->SetAsInteger(Age->GetAsInteger() + 1);
      DS->Post();
    }
  State.SetItemsProcessed(State.iterations() * EditedRecords);
}
BENCHMARK(BM_MemEditOneFieldPerRecord)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
