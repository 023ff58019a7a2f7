// Typing into an edit on the headless desktop: 1,000 key strokes, each a WM_KEYDOWN, the
// WM_CHAR it makes and the repaint of the edit, through the message loop as a user's typing
// goes. The edit is narrower than the text, so from the thirtieth key on every key scrolls.
// The budget is 20 us a key stroke (counter "per_key").
#include <benchmark/benchmark.h>

#include "backends/headless/Headless.h"
#include "controls/Forms.h"
#include "controls/StdCtrls.h"

using namespace plumb;

namespace {

constexpr int Keys = 1000;

void BM_Type1000IntoEdit(benchmark::State& State) {
  THeadlessDesktop D(800, 600);
  auto* Form = new TForm(nullptr);
  Form->SetBounds(50, 40, 400, 300);
  auto* E = new TEdit(Form);
  E->SetBounds(10, 10, 200, 21);
  E->SetParent(Form);
  Form->Show();
  E->SetFocus();
  D.RunUntilIdle();
  for (auto _ : State) {
    State.PauseTiming();
    E->SetText("");
    D.RunUntilIdle();
    State.ResumeTiming();
    for (int I = 0; I < Keys; ++I) D.KeyStroke(Word('A' + I % 26));
  }
  if (E->GetTextLen() != Keys) State.SkipWithError("keys lost");
  State.counters["per_key"] = benchmark::Counter(
      double(State.iterations()) * Keys, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  delete Form;
}

BENCHMARK(BM_Type1000IntoEdit)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
