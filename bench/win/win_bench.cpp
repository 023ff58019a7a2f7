// Message throughput, and what ScrollWindowEx saves over repainting: a 1280 x 800 window of
// 19-pixel rows drawn like a grid (fills, lines, a text per cell), scrolled by one row with only
// the uncovered strip repainted, against the whole window invalidated and repainted.
#include <benchmark/benchmark.h>


#include <string>

#include "win/Desktop.h"
#include "win/Windows.h"
#include "../BenchClock.h"

using namespace plumb;

namespace {

constexpr Integer Width = 1280, Height = 800, RowH = 19;
Integer TopRow = 0;
uint64_t Handled = 0;

LRESULT CountProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_USER) {
    ++Handled;
    return 0;
  }
  return DefWindowProc(Wnd, Msg, WParam, LParam);
}

// Paints the rows that meet the update region as the record grid paints a row: each cell filled,
// then its text written clipped and opaque over it, the title's sunken divider, the lines.
LRESULT RowsProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg != WM_PAINT) return DefWindowProc(Wnd, Msg, WParam, LParam);
  PAINTSTRUCT PS;
  HDC DC = BeginPaint(Wnd, PS);
  TLogBrush Line{BS_SOLID, COLORREF(ColorToRGB(clSilver)), 0};
  DC->Pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, 1, Line);
  for (Integer Y = 0; Y * RowH < Height; ++Y) {
    TRect Row = Rect(0, Y * RowH, Width, (Y + 1) * RowH - 1);
    if (!RectVisible(DC, Row)) continue;
    Integer R = TopRow + Y;
    TRect Title = Rect(0, Row.Top, 200, Row.Bottom), Value = Rect(201, Row.Top, Width, Row.Bottom);
    FillRect(DC, Title, clBtnFace);
    FillRect(DC, Value, R % 2 ? clWindow : clInfoBk);
    SetTextColor(DC, clWindowText);
    SetBkColor(DC, clBtnFace);
    ExtTextOut(DC, 4, Row.Top + 2, ETO_CLIPPED | ETO_OPAQUE, &Title, "Field " + std::to_string(R));
    SetBkColor(DC, R % 2 ? clWindow : clInfoBk);
    ExtTextOut(DC, 204, Row.Top + 2, ETO_CLIPPED | ETO_OPAQUE, &Value,
               "The value of row " + std::to_string(R) + " as it is in the record");
    DrawEdge(DC, Title, EDGE_SUNKEN, BF_RIGHT);
    TPoint Lines[4] = {{0, Row.Bottom}, {Width, Row.Bottom}, {200, Row.Top}, {200, Row.Bottom}};
    DWORD Counts[2] = {2, 2};
    PolyPolyline(DC, Lines, Counts, 2);
  }
  EndPaint(Wnd, PS);
  return 0;
}

HWND MakeWindow(const char* Class, WNDPROC Proc) {
  InitDesktop(Width, Height);
  WNDCLASS C;
  C.lpfnWndProc = Proc;
  C.lpszClassName = Class;
  RegisterClass(C);
  HWND H = CreateWindowEx(0, Class, "", WS_POPUP | WS_VISIBLE, 0, 0, Width, Height, 0);
  UpdateWindow(H);
  return H;
}

void ScrollOneRow(HWND H) {
  ++TopRow;
  ScrollWindowEx(H, 0, -RowH, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  UpdateWindow(H);
}

void RepaintWhole(HWND H) {
  ++TopRow;
  InvalidateRect(H, nullptr, false);
  UpdateWindow(H);
}

void BM_PostAndDispatch1M(benchmark::State& State) {
  HWND H = MakeWindow("Count", CountProc);
  MSG M;
  for (auto _ : State) {
    Handled = 0;
    for (int I = 0; I < 1000000; ++I) PostMessage(H, WM_USER, WPARAM(I), 0);
    while (PeekMessage(M, 0, 0, 0, PM_REMOVE)) DispatchMessage(M);
    if (Handled != 1000000) State.SkipWithError("messages lost");
  }
  State.SetItemsProcessed(int64_t(State.iterations()) * 1000000);
  ShutdownDesktop();
}
BENCHMARK(BM_PostAndDispatch1M)->Unit(benchmark::kMillisecond);

void BM_ScrollOneRowAndPaintStrip(benchmark::State& State) {
  HWND H = MakeWindow("Rows", RowsProc);
  for (auto _ : State) ScrollOneRow(H);
  ShutdownDesktop();
}
BENCHMARK(BM_ScrollOneRowAndPaintStrip)->Unit(benchmark::kMicrosecond);

void BM_InvalidateAndRepaintWhole(benchmark::State& State) {
  HWND H = MakeWindow("Rows", RowsProc);
  for (auto _ : State) RepaintWhole(H);
  ShutdownDesktop();
}
BENCHMARK(BM_InvalidateAndRepaintWhole)->Unit(benchmark::kMicrosecond);

// Both in one run, alternating, so that the ratio compares like with like: it must stay at or
// below 0.3.
void BM_ScrollToRepaintRatio(benchmark::State& State) {
  HWND H = MakeWindow("Rows", RowsProc);
  auto Now = bench::ThreadNanos;
  double Scroll = 0, Whole = 0;
  for (auto _ : State) {
    double T0 = Now();
    ScrollOneRow(H);
    double T1 = Now();
    RepaintWhole(H);
    double T2 = Now();
    Scroll += T1 - T0;
    Whole += T2 - T1;
  }
  State.counters["ratio"] = Scroll / Whole;
  ShutdownDesktop();
}
BENCHMARK(BM_ScrollToRepaintRatio)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
