#pragma once
// A desktop per test, a window class that logs what it hears and paints itself in one colour,
// and a pump that runs the queue until nothing is left.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "win/Desktop.h"
#include "win/Windows.h"

namespace plumb::test {

struct TLogged {
  HWND Wnd;
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
};

struct TLogWindows {
  std::vector<TLogged> Log;
  std::map<HWND, TColor> Colors;               // the fill of each window's paint
  std::map<HWND, std::vector<TRect>> Painted;  // rcPaint of each WM_PAINT
  std::map<HWND, std::function<LRESULT(UINT, WPARAM, LPARAM, bool&)>> Hooks;

  std::vector<TLogged> Of(UINT Msg) const {
    std::vector<TLogged> R;
    for (const auto& L : Log)
      if (L.Msg == Msg) R.push_back(L);
    return R;
  }
  std::vector<UINT> MessagesOf(HWND Wnd) const {
    std::vector<UINT> R;
    for (const auto& L : Log)
      if (L.Wnd == Wnd) R.push_back(L.Msg);
    return R;
  }
};

TLogWindows& Logged();
LRESULT LogWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

class WinTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A top-level window of the given screen bounds, shown.
  HWND MakeTop(TRect R, DWORD Style = WS_POPUP, DWORD ExStyle = 0, UINT ClassStyle = 0);
  // A child window in parent client coordinates, shown.
  HWND MakeChild(HWND Parent, TRect R, DWORD Style = 0, DWORD ExStyle = 0, UINT ClassStyle = 0);
  void Pump();
  void Click(TPoint Screen, TRawButton B = rbLeft);
  TLogWindows& L() { return Logged(); }
};

}  // namespace plumb::test
