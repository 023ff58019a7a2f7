// Canvas speed: rectangle fills against a plain std::fill of the same pixels, cell text with a
// warm glyph cache, and the grid's one-call line drawing (with its heap allocations counted).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "gfx/Graphics.h"

namespace {
size_t Allocations = 0;
}

// Counts every heap allocation of the program, so a benchmark can report its own.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(size_t Size) {
  ++Allocations;
  if (void* P = std::malloc(Size ? Size : 1)) return P;
  throw std::bad_alloc();
}
void operator delete(void* P) noexcept {
  std::free(P);
}
void operator delete(void* P, size_t) noexcept {
  std::free(P);
}

namespace plumb {
namespace {

constexpr Integer W = 1280, H = 800;

void BM_FillRect_1280x800(benchmark::State& State) {
  TSurface S(W, H);
  TDeviceContext DC;
  InitDC(DC, &S);
  TColor Colors[2] = {clWindow, clBtnFace};
  int I = 0;
  for (auto _ : State) {
    FillRect(&DC, Rect(0, 0, W, H), Colors[I ^= 1]);
    benchmark::DoNotOptimize(S.Pixels());
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(int64_t(State.iterations()) * W * H * 4);
}
BENCHMARK(BM_FillRect_1280x800);

// The yardstick for the fill above: the same pixels with nothing but std::fill.
void BM_StdFill_1280x800(benchmark::State& State) {
  std::vector<uint32_t> Pixels(size_t(W) * H);
  uint32_t Values[2] = {0xFFFFFFFFu, 0xFFF0F0F0u};
  int I = 0;
  for (auto _ : State) {
    std::fill(Pixels.begin(), Pixels.end(), Values[I ^= 1]);
    benchmark::DoNotOptimize(Pixels.data());
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(int64_t(State.iterations()) * W * H * 4);
}
BENCHMARK(BM_StdFill_1280x800);

std::vector<std::string> TwentyCharStrings() {
  std::vector<std::string> Out;
  const std::string Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .,-";
  for (int I = 0; I < 1000; ++I) {
    std::string S;
    for (int J = 0; J < 20; ++J) S += Alphabet[size_t(I * 7 + J * 13) % Alphabet.size()];
    Out.push_back(S);
  }
  return Out;
}

// One iteration writes one 20-character string into a cell of a window-sized surface, opaque
// and clipped as the grid writes cells, cycling through 1,000 different strings and 264 cells;
// the glyph cache is warm after the first round.
TRect CellOf(size_t I) {
  Integer Col = Integer(I % 6), Row = Integer(I / 6 % 44);
  return Bounds(Col * 210, Row * 18, 200, 18);
}

void BM_ExtTextOut_20Chars(benchmark::State& State) {
  TSurface S(W, H);
  TDeviceContext DC;
  InitDC(DC, &S);
  const UINT Options = UINT(State.range(0));
  auto Strings = TwentyCharStrings();
  for (size_t I = 0; I < Strings.size(); ++I) {
    TRect Cell = CellOf(I);
    ExtTextOut(&DC, Cell.Left + 2, Cell.Top + 2, Options, &Cell, Strings[I]);
  }
  size_t I = 0;
  for (auto _ : State) {
    TRect Cell = CellOf(I);
    ExtTextOut(&DC, Cell.Left + 2, Cell.Top + 2, Options, &Cell, Strings[I]);
    I = I + 1 == Strings.size() ? 0 : I + 1;
  }
  State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_ExtTextOut_20Chars)->Arg(ETO_CLIPPED | ETO_OPAQUE)->Arg(0);

// 50 strokes of 800 pixels in one call, as the grid draws its lines; range(0) is the width.
void BM_PolyPolyline_50Strokes(benchmark::State& State) {
  TSurface S(900, 900, 0xFFFFFFFFu);
  TDeviceContext DC;
  InitDC(DC, &S);
  Integer Width = Integer(State.range(0));
  bool Vertical = State.range(1) != 0;
  DC.Pen = Width > 1 ? ExtCreatePen(74240, DWORD(Width), TLogBrush{BS_SOLID, 0xC0C0C0})
                     : HPEN{PS_SOLID, 1, 0xC0C0C0, true};
  TPoint Pts[100];
  DWORD Counts[50];
  for (int I = 0; I < 50; ++I) {
    Integer At = 10 + I * 17;
    Pts[2 * I] = Vertical ? Point(At, 0) : Point(0, At);
    Pts[2 * I + 1] = Vertical ? Point(At, 800) : Point(800, At);
    Counts[I] = 2;
  }
  size_t Before = Allocations;
  for (auto _ : State) {
    PolyPolyline(&DC, Pts, Counts, 50);
    benchmark::ClobberMemory();
  }
  State.counters["allocs/iter"] = double(Allocations - Before) / double(State.iterations());
  State.SetItemsProcessed(int64_t(State.iterations()) * 50 * 800);
}
BENCHMARK(BM_PolyPolyline_50Strokes)->Args({1, 1})->Args({1, 0})->Args({3, 1})->Args({3, 0});

}  // namespace
}  // namespace plumb

BENCHMARK_MAIN();
