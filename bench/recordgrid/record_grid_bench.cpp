// Record grid benchmarks on a 1280 x 800 client area.
//   Collapse/Expand          a parent with 100,000 descendants, the repaint included
//   FullPaint, FillRectOnly  every visible row bound to a field of an open SQLite data set,
//                            and one FillRect of the client area (the yardstick); the ratio
//                            benchmark runs both alternately in one run (target: <= 4)
//   NextRecord               the data set moves on with the editor open, on 1,000,000 rows:
//                            the link's notification, the editor reload and the repaint
//                            (ratio to a full paint, target: <= 1.5)
//   TypeOneChar              a character typed on a bound row, the editor repainted (ratio to a
//                            full paint, target: <= 0.25)
//   PickListSearch           a character typed into a pick list of 100,000 strings (<= 1 ms)
//   OpenLookupList           the lookup list dropped down on a table of 1,000,000 rows
//                            (ratio to a full paint, target: <= 2)
//   MemoryPerColumn          heap bytes per column at 100,000 columns (target: <= 600)
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "../BenchClock.h"
#include "../BenchGrid.h"
#include "backends/headless/Headless.h"
#include "controls/Forms.h"
#include "data/SQLiteDataSet.h"
#include "recordgrid/uPlumbGrid.h"

using namespace plumb;

namespace {

const char* const FieldNames[] = {"name", "email", "city", "age", "balance", "joined", "code"};

// A table of a million customers, made once per run in a scratch file.
const std::string& MillionRowDatabase() {
  static const std::string Path = [] {
    std::string P = "/tmp/plumb-recordgrid-bench-" + std::to_string(getpid()) + ".db";
    sqlite3* Db = nullptr;
    sqlite3_open(P.c_str(), &Db);
    sqlite3_exec(Db,
                 "CREATE TABLE customers (id INTEGER PRIMARY KEY, name TEXT, email TEXT, "
                 "city TEXT, age INTEGER, balance REAL, joined DATE, code TEXT);"
                 "WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s "
                 "WHERE n < 1000000) INSERT INTO customers SELECT n, 'Customer ' || n, "
                 "'c' || n || '@example.com', 'City ' || (n % 97), 18 + n % 60, "
                 "(n % 10000) / 3.0, date('2010-01-01', '+' || (n % 5000) || ' days'), "
                 "printf('K%06d', n) FROM s;"
                 "CREATE INDEX customers_code ON customers (code);",
                 nullptr, nullptr, nullptr);
    sqlite3_close(Db);
    std::atexit([] { std::remove(MillionRowDatabase().c_str()); });
    return P;
  }();
  return Path;
}

class TBenchGrid : public TPlumbGrid {
  PLUMB_CLASS(TBenchGrid, TPlumbGrid)
  using TPlumbGrid::GetRowCount;
  using TPlumbGrid::TPlumbGrid;
};

struct TRecordBench {
  THeadlessDesktop D{1400, 900};
  TForm* Form = nullptr;
  TBenchGrid* Grid = nullptr;
  TSQLiteDataSet* Data = nullptr;

  TRecordBench() {
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 1340, 860);
    Form->Show();
    Grid = new TBenchGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(0, 0, 1300, 820);
    bench::SetClientSize(Grid, 1280, 800);
    D.RunUntilIdle();
  }
  ~TRecordBench() { delete Form; }
  // Every visible row bound to a field of the million-row table.
  void BindRows() {
    Data = new TSQLiteDataSet(Form);
    Data->SetDatabaseName(MillionRowDatabase());
    Data->SetTableName("customers");
    Data->Open();
    auto* Source = new TDataSource(Form);
    Source->SetDataSet(Data);
    for (int I = 0; I < 45; ++I) {
      TColumn* Column = Grid->GetColumns()->Add();
      Column->SetFieldName(FieldNames[I % 7]);
      Column->SetTitle("Field " + std::to_string(I));
    }
    Grid->SetDataSource(Source);
    D.RunUntilIdle();
  }
  void FullPaint() {
    Grid->Invalidate();
    Grid->Update();
  }
  void NextRecord() {
    if (Data->GetRecNo() > 999000) Data->First();
    Data->Next();
    Grid->Update();
  }
};

void BM_Collapse(benchmark::State& State) {
  TRecordBench B;
  TPlumbGridColumns* Columns = B.Grid->GetColumns();
  Columns->BeginUpdate();
  // A root over 100 groups of 1,000 (a child and its 999 children).
  for (int I = 0; I < 100001; ++I) Columns->Add()->SetIndentLevel(I == 0 ? 0 : 1 + (I % 1000 != 1));
  Columns->EndUpdate();
  TColumn* Parent = Columns->GetColumn(0);
  Parent->SetExpanded(true);
  B.D.RunUntilIdle();
  bool Collapse = State.range(0) == 1;
  for (auto _ : State) {
    if (!Collapse) {
      State.PauseTiming();
      Parent->SetExpanded(false);
      B.Grid->Update();
      State.ResumeTiming();
    }
    Parent->SetExpanded(!Parent->GetExpanded());
    B.Grid->Update();
    if (Collapse) {
      State.PauseTiming();
      Parent->SetExpanded(true);
      B.Grid->Update();
      State.ResumeTiming();
    }
  }
  if (B.Grid->GetRowCount() != 100001) State.SkipWithError("rows lost");
}
BENCHMARK(BM_Collapse)->Arg(1)->Name("BM_Collapse100k")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Collapse)->Arg(0)->Name("BM_Expand100k")->Unit(benchmark::kMillisecond);

void BM_FullPaint(benchmark::State& State) {
  TRecordBench B;
  B.BindRows();
  for (auto _ : State) B.FullPaint();
}
BENCHMARK(BM_FullPaint)->Unit(benchmark::kMicrosecond);

void BM_FillRectOnly(benchmark::State& State) {
  TRecordBench B;
  for (auto _ : State) {
    bench::FillClientArea(B.Grid->GetCanvas(), 1280, 800);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FillRectOnly)->Unit(benchmark::kMicrosecond);

// Both in one run, alternating, so that the ratio compares like with like.
void BM_FullPaintToFillRectRatio(benchmark::State& State) {
  TRecordBench B;
  B.BindRows();
  double Paint = 0, Fill = 0;
  for (auto _ : State) {
    double T0 = bench::ThreadNanos();
    B.FullPaint();
    double T1 = bench::ThreadNanos();
    bench::FillClientArea(B.Grid->GetCanvas(), 1280, 800);
    Fill += bench::ThreadNanos() - T1;
    Paint += T1 - T0;
  }
  State.counters["ratio"] = Paint / Fill;
}
BENCHMARK(BM_FullPaintToFillRectRatio)->Unit(benchmark::kMicrosecond);

void BM_NextRecordToFullPaintRatio(benchmark::State& State) {
  TRecordBench B;
  B.BindRows();
  B.Grid->SetFocus();
  B.Grid->SetRow(3);
  B.Grid->SetEditorMode(true);
  B.D.RunUntilIdle();
  double Next = 0, Whole = 0;
  for (auto _ : State) {
    double T0 = bench::ThreadNanos();
    B.NextRecord();
    double T1 = bench::ThreadNanos();
    B.FullPaint();
    Next += T1 - T0;
    Whole += bench::ThreadNanos() - T1;
  }
  State.counters["ratio"] = Next / Whole;
  if (!B.Grid->GetInplaceEditor()->Visible()) State.SkipWithError("the editor is not open");
}
BENCHMARK(BM_NextRecordToFullPaintRatio)->Unit(benchmark::kMicrosecond);

// One character typed into the editor on a row bound to the SQLite table: from WM_KEYDOWN to
// the field written and the editor repainted (target: <= 0.25 of a full paint).
void BM_TypeOneCharToFullPaintRatio(benchmark::State& State) {
  TRecordBench B;
  B.BindRows();
  B.Grid->SetFocus();
  B.Grid->SetEditorMode(true);
  B.D.RunUntilIdle();
  TInplaceEdit* E = B.Grid->GetInplaceEditor();
  HWND EditWnd = E->GetHandle();
  double Type = 0, Whole = 0;
  int N = 0;
  for (auto _ : State) {
    if (++N % 100 == 0) E->SetText("");
    double T0 = bench::ThreadNanos();
    SendMessage(EditWnd, WM_KEYDOWN, 'A', 0);
    SendMessage(EditWnd, WM_CHAR, 'a', 0);
    E->Update();
    double T1 = bench::ThreadNanos();
    B.FullPaint();
    Type += T1 - T0;
    Whole += bench::ThreadNanos() - T1;
  }
  State.counters["ratio"] = Type / Whole;
  if (B.Data->FieldByName(FieldNames[0])->GetAsString().find('a') == std::string::npos)
    State.SkipWithError("nothing written");
}
BENCHMARK(BM_TypeOneCharToFullPaintRatio)->Unit(benchmark::kMicrosecond);

// A character typed into an open pick list of 100,000 strings (target: <= 1 ms). The strings
// share their first letters, so the search goes a long way before it finds one or gives up.
void BM_PickListSearch(benchmark::State& State) {
  TRecordBench B;
  TColumn* Column = B.Grid->GetColumns()->GetColumn(0);
  Column->SetText("");
  TStrings* Items = Column->GetPickList();
  for (int I = 0; I < 100000; ++I) Items->Add("Customer group " + std::to_string(100000 + I));
  B.Grid->SetFocus();
  B.Grid->SetEditorMode(true);
  B.D.RunUntilIdle();
  auto* E = static_cast<TPlumbGridInplaceEdit*>(B.Grid->GetInplaceEditor());
  E->OpenList();
  HWND EditWnd = E->GetHandle();
  const std::string Typed = "customer group 1999x";
  size_t K = 0;
  for (auto _ : State) {
    if (K == Typed.size()) {
      K = 0;
      SendMessage(EditWnd, WM_CHAR, 8, 0);  // Backspace starts a new prefix
    }
    SendMessage(EditWnd, WM_CHAR, WPARAM(Typed[K++]), 0);
  }
  if (!E->GetListShown()) State.SkipWithError("the list closed");
}
BENCHMARK(BM_PickListSearch)->Unit(benchmark::kMicrosecond);

// The lookup list dropped down on a row whose lookup table has 1,000,000 rows, the key in the
// middle (ratio to a full paint of the grid, target: <= 2).
void BM_OpenLookupListToFullPaintRatio(benchmark::State& State) {
  TRecordBench B;
  auto* Names = new TSQLiteDataSet(B.Form);
  Names->SetDatabaseName(MillionRowDatabase());
  Names->SetTableName("customers");
  Names->Open();
  B.Data = new TSQLiteDataSet(B.Form);
  B.Data->SetDatabaseName(MillionRowDatabase());
  B.Data->SetTableName("customers");
  auto* Lookup = new TField(B.Form, ftString);
  Lookup->SetFieldName("same");
  Lookup->SetFieldKind(fkLookup);
  Lookup->SetKeyFields("code");
  Lookup->SetLookupDataSet(Names);
  Lookup->SetLookupKeyFields("code");
  Lookup->SetLookupResultField("name");
  Lookup->SetDataSet(B.Data);
  B.Data->Open();
  B.Data->SetRecNo(500000);
  auto* Source = new TDataSource(B.Form);
  Source->SetDataSet(B.Data);
  for (int I = 0; I < 45; ++I)
    B.Grid->GetColumns()->Add()->SetFieldName(I == 0 ? "same" : FieldNames[I % 7]);
  B.Grid->SetDataSource(Source);
  B.Grid->SetFocus();
  B.Grid->SetEditorMode(true);
  B.D.RunUntilIdle();
  auto* E = static_cast<TPlumbGridInplaceEdit*>(B.Grid->GetInplaceEditor());
  if (!E || E->GetEditorStyle() != edsLookupList) {
    State.SkipWithError("not a lookup row");
    return;
  }
  double Open = 0, Whole = 0;
  for (auto _ : State) {
    double T0 = bench::ThreadNanos();
    E->OpenList();
    E->GetCurrentList()->Update();
    double T1 = bench::ThreadNanos();
    E->CloseList(false);
    B.D.RunUntilIdle();
    double T2 = bench::ThreadNanos();
    B.FullPaint();
    Open += T1 - T0;
    Whole += bench::ThreadNanos() - T2;
  }
  State.counters["ratio"] = Open / Whole;
}
BENCHMARK(BM_OpenLookupListToFullPaintRatio)->Unit(benchmark::kMicrosecond);

void BM_MemoryPerColumn(benchmark::State& State) {
  for (auto _ : State) {
    TRecordBench B;
    TPlumbGridColumns* Columns = B.Grid->GetColumns();
    size_t Before = mallinfo2().uordblks;
    Columns->BeginUpdate();
    for (int I = 0; I < 100000; ++I) Columns->Add();
    Columns->EndUpdate();
    size_t After = mallinfo2().uordblks;
    State.counters["bytes_per_column"] = double(After - Before) / 100000;
  }
}
BENCHMARK(BM_MemoryPerColumn)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
