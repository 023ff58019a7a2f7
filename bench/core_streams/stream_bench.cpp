// Writing and reading a form whose collection holds N items and which owns N/10 components:
// into a new root, and into an existing form (where every old value is kept for rolling back).
#include <benchmark/benchmark.h>

#include <string>

#include "stream_fixtures.h"

using namespace plumb;
using namespace plumb::fixture;

namespace {

TSampleForm* MakeForm(int Items) {
  RegisterFixtureClasses();
  auto* F = new TSampleForm(nullptr);
  F->SetName("Form1");
  for (int I = 0; I < Items / 10; ++I) {
    auto* C = new TSample(F);
    C->SetName("Child" + std::to_string(I));
    C->SetCaption("child");
    C->SetBuddy(F);
    C->SetColWidths(1, 80);
  }
  for (int I = 0; I < Items; ++I) {
    TStep* S = F->GetSteps()->Add();
    S->SetCaption("Step " + std::to_string(I));
    S->SetLevel(Cardinal(I % 3));
    S->SetShade(shDark);
    S->OnPick.Assign([](TObject*) {}, "DoChange");
  }
  return F;
}

void BM_WriteForm(benchmark::State& State) {
  TSampleForm* F = MakeForm(int(State.range(0)));
  size_t Bytes = 0;
  for (auto _ : State) Bytes = SaveComponentToString(F).size();
  State.counters["bytes"] = double(Bytes);
  F->Free();
}

void BM_ReadNewForm(benchmark::State& State) {
  TSampleForm* F = MakeForm(int(State.range(0)));
  std::string Text = SaveComponentToString(F);
  F->Free();
  for (auto _ : State) LoadComponentFromString(Text)->Free();
}

void BM_ReadIntoExistingForm(benchmark::State& State) {
  TSampleForm* F = MakeForm(int(State.range(0)));
  std::string Text = SaveComponentToString(F);
  for (auto _ : State) LoadComponentFromString(Text, F);
  F->Free();
}

}  // namespace

BENCHMARK(BM_WriteForm)->Arg(10)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadNewForm)->Arg(10)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadIntoExistingForm)->Arg(10)->Arg(1000)->Unit(benchmark::kMicrosecond);
