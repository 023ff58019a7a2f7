// Grid benchmarks on a 1280 x 800 client area with text in every visible cell.
//   FullPaint/N        the whole client area repainted, N rows
//   FillRectOnly       one FillRect of the same area: the yardstick for a full paint
//   OneRowScroll       SB_LINEDOWN with its paint: one ScrollWindowEx and a strip
//   MouseCoord/CellRect with 1,000,000 rows
//   TypeOneChar        WM_KEYDOWN + WM_CHAR into the editor, the value stored, the editor painted
#include <benchmark/benchmark.h>

#include <memory>

#include "backends/headless/Headless.h"
#include "controls/Forms.h"
#include "grid/TextGrid.h"
#include "../BenchClock.h"
#include "../BenchGrid.h"

using namespace plumb;

namespace {

struct TGridBench {
  THeadlessDesktop D{1400, 900};
  TForm* Form = nullptr;
  TTextGrid* Grid = nullptr;

  explicit TGridBench(Integer Rows) {
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 1340, 860);
    Form->Show();
    Grid = new TTextGrid(Form);
    Grid->SetParent(Form);
    Grid->SetRowCount(Rows);
    Grid->SetBounds(0, 0, 1300, 820);
    bench::SetClientSize(Grid, 1280, 800);
    Grid->SetColWidths(0, 400);
    D.RunUntilIdle();
  }
  ~TGridBench() { delete Form; }
  void FullPaint() {
    Grid->Invalidate();
    Grid->Update();
  }
  // SB_LINEDOWN and its paint, starting again at the top before the end comes near.
  void ScrollOneRow() {
    if (Grid->GetTopRow() > 900000) Grid->SetTopRow(0);
    SendMessage(Grid->GetHandle(), WM_VSCROLL, SB_LINEDOWN, 0);
    Grid->Update();
  }
};

void BM_FullPaint(benchmark::State& State) {
  TGridBench B(Integer(State.range(0)));
  for (auto _ : State) B.FullPaint();
}
BENCHMARK(BM_FullPaint)->Arg(100)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_FillRectOnly(benchmark::State& State) {
  TGridBench B(100);
  for (auto _ : State) {
    bench::FillClientArea(B.Grid->GetCanvas(), 1280, 800);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FillRectOnly)->Unit(benchmark::kMicrosecond);

void BM_OneRowScroll(benchmark::State& State) {
  TGridBench B(1000000);
  for (auto _ : State) B.ScrollOneRow();
}
BENCHMARK(BM_OneRowScroll)->Unit(benchmark::kMicrosecond);

// Both in one run, alternating, so that the ratio compares like with like (target: <= 0.25).
void BM_ScrollToFullPaintRatio(benchmark::State& State) {
  TGridBench B(1000000);
  auto Now = bench::ThreadNanos;
  double Scroll = 0, Whole = 0;
  for (auto _ : State) {
    double T0 = Now();
    B.ScrollOneRow();
    double T1 = Now();
    B.FullPaint();
    Scroll += T1 - T0;
    Whole += Now() - T1;
  }
  State.counters["ratio"] = Scroll / Whole;
}
BENCHMARK(BM_ScrollToFullPaintRatio)->Unit(benchmark::kMicrosecond);

void BM_MouseCoord(benchmark::State& State) {
  TGridBench B(1000000);
  B.Grid->SetTopRow(500000);
  Integer Y = 0;
  for (auto _ : State) {
    benchmark::DoNotOptimize(B.Grid->MouseCoord(500, Y));
    Y = (Y + 37) % 800;
  }
}
BENCHMARK(BM_MouseCoord);

void BM_CellRect(benchmark::State& State) {
  TGridBench B(1000000);
  B.Grid->SetTopRow(500000);
  Integer R = 500000;
  for (auto _ : State) {
    benchmark::DoNotOptimize(B.Grid->CellRect(1, R));
    R = R < 500040 ? R + 1 : 500000;
  }
}
BENCHMARK(BM_CellRect);

void BM_TypeOneChar(benchmark::State& State) {
  TGridBench B(1000);
  B.Grid->SetFocus();
  B.Grid->SetEditorMode(true);
  B.D.RunUntilIdle();
  TInplaceEdit* E = B.Grid->GetInplaceEditor();
  HWND EditWnd = E->GetHandle();
  int N = 0;
  for (auto _ : State) {
    if (++N % 200 == 0) {
      State.PauseTiming();
      E->SetText("");
      State.ResumeTiming();
    }
    SendMessage(EditWnd, WM_KEYDOWN, 'A', 0);
    SendMessage(EditWnd, WM_CHAR, 'a', 0);
    E->Update();
  }
  if (B.Grid->GetValue(0).find('a') == std::string::npos) State.SkipWithError("nothing stored");
}
BENCHMARK(BM_TypeOneChar)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
