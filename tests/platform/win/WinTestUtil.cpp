#include "WinTestUtil.h"

#include <string>

namespace plumb::test {

TLogWindows& Logged() {
  static TLogWindows L;
  return L;
}

LRESULT LogWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto& L = Logged();
  L.Log.push_back({Wnd, Msg, WParam, LParam});
  auto Hook = L.Hooks.find(Wnd);
  if (Hook != L.Hooks.end()) {
    bool Handled = false;
    LRESULT R = Hook->second(Msg, WParam, LParam, Handled);
    if (Handled) return R;
  }
  if (Msg == WM_PAINT) {
    PAINTSTRUCT PS;
    HDC DC = BeginPaint(Wnd, PS);
    TRect C;
    GetClientRect(Wnd, C);
    auto It = L.Colors.find(Wnd);
    FillRect(DC, C, It == L.Colors.end() ? clWhite : It->second);
    L.Painted[Wnd].push_back(PS.rcPaint);
    EndPaint(Wnd, PS);
    return 0;
  }
  return DefWindowProc(Wnd, Msg, WParam, LParam);
}

void WinTest::SetUp() {
  InitDesktop(800, 600);
  Logged() = TLogWindows{};
  for (UINT Style : {0u, UINT(CS_DBLCLKS)}) {
    WNDCLASS C;
    C.style = Style;
    C.lpfnWndProc = LogWndProc;
    C.hCursor = LoadCursor(0, IDC_ARROW);
    C.lpszClassName = Style ? "LogDbl" : "Log";
    RegisterClass(C);
  }
}

void WinTest::TearDown() {
  ShutdownDesktop();
  Logged() = TLogWindows{};
}

HWND WinTest::MakeTop(TRect R, DWORD Style, DWORD ExStyle, UINT ClassStyle) {
  return CreateWindowEx(ExStyle, ClassStyle ? "LogDbl" : "Log", "top", Style | WS_VISIBLE, R.Left,
                        R.Top, R.Width(), R.Height(), 0);
}

HWND WinTest::MakeChild(HWND Parent, TRect R, DWORD Style, DWORD ExStyle, UINT ClassStyle) {
  return CreateWindowEx(ExStyle, ClassStyle ? "LogDbl" : "Log", "child",
                        Style | WS_CHILD | WS_VISIBLE, R.Left, R.Top, R.Width(), R.Height(),
                        Parent);
}

void WinTest::Pump() {
  MSG M;
  for (int Guard = 0; Guard < 100000 && PeekMessage(M, 0, 0, 0, PM_REMOVE); ++Guard) {
    if (M.message == WM_QUIT) {
      PostQuitMessage(int(M.wParam));  // leave it for the test to see
      return;
    }
    TranslateMessage(M);
    DispatchMessage(M);
  }
}

void WinTest::Click(TPoint Screen, TRawButton B) {
  InjectMouseButton(B, true, Screen);
  InjectMouseButton(B, false, Screen);
  Pump();
}

}  // namespace plumb::test
