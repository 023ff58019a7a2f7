// A small program for the end-to-end check in a real window: a form with one edit in an SDL
// window. It reports on stdout, one line each, so that a script driving it can follow:
//   ready <x> <y>   the window is up; (x, y) is the middle of the edit in window coordinates
//   focus edit      the edit got the keyboard
//   text: <text>    the user changed the edit's text
//   final: <text>   the program ends
// Options: --timeout <seconds> (default 30) ends it on its own; --snapshot <file.png> saves
// the form as it looked when it was closed.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "backends/sdl/SDLBackend.h"
#include "core/Utf8.h"

using namespace plumb;

namespace {

const char* const Caption = "PlumbGrid edit check";
std::string GSnapshot;
std::string GText;
bool GTimedOut = false;

void Say(const std::string& Line) {
  std::printf("%s\n", Line.c_str());
  std::fflush(stdout);
}

// ---- The edit --------------------------------------------------------------------------------
// A single-line edit of our own until the real edit control can stand here. Toward its parent
// it behaves as the real one does, which is all the form relies on: the user's characters
// change its text, each change is reported with WM_COMMAND/EN_CHANGE, and the text is read
// with GetWindowText. Swapping in the real control replaces MakeEdit and nothing else.
void EditChar(HWND Wnd, char32_t C) {
  std::u32string T = Utf8ToU32(GetWindowText(Wnd));
  if (C == U'\b' && !T.empty())
    T.pop_back();
  else if (C >= 0x20 && C != 0x7F)
    T += C;
  else
    return;
  DefWindowProc(Wnd, WM_SETTEXT, 0, LPARAM(U32ToUtf8(T).c_str()));
  InvalidateRect(Wnd, nullptr, true);
  SendMessage(GetParent(Wnd), WM_COMMAND,
              MAKEWPARAM(int(GetWindowLongPtr(Wnd, GWLP_ID)), EN_CHANGE), LPARAM(Wnd));
}

void PaintEdit(HWND Wnd) {
  PAINTSTRUCT PS;
  HDC DC = BeginPaint(Wnd, PS);
  TRect C;
  GetClientRect(Wnd, C);
  FillRect(DC, C, clWindow);
  std::string Text = GetWindowText(Wnd);
  SetTextColor(DC, clWindowText);
  ExtTextOut(DC, 3, 3, ETO_CLIPPED, &C, Text);
  if (GetFocus() == Wnd) {  // the caret, at the end of the text
    TTextMetric TM;
    GetTextMetrics(DC, TM);
    Integer X = 3 + GetTextExtent(DC, Text).X;
    FillRect(DC, Rect(X, 3, X + 1, 3 + TM.tmHeight), clWindowText);
  }
  EndPaint(Wnd, PS);
}

LRESULT EditProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_LBUTTONDOWN:
      SetFocus(Wnd);
      return 0;
    case WM_SETFOCUS:
      Say("focus edit");
      InvalidateRect(Wnd, nullptr, true);
      return 0;
    case WM_KILLFOCUS:
      InvalidateRect(Wnd, nullptr, true);
      return 0;
    case WM_CHAR:
      EditChar(Wnd, char32_t(WParam));
      return 0;
    case WM_PAINT:
      PaintEdit(Wnd);
      return 0;
    default:
      return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

HWND MakeEdit(HWND Parent, TRect R) {
  WNDCLASS C;
  C.lpfnWndProc = EditProc;
  C.hCursor = LoadCursor(0, IDC_IBEAM);
  C.lpszClassName = "EditCheckEdit";
  RegisterClass(C);
  HWND Edit = CreateWindowEx(WS_EX_CLIENTEDGE, C.lpszClassName, "", WS_CHILD | WS_VISIBLE, R.Left,
                             R.Top, R.Width(), R.Height(), Parent);
  SetWindowLongPtr(Edit, GWLP_ID, 1);
  return Edit;
}

// ---- The form --------------------------------------------------------------------------------
void Snapshot(HWND Form) {
  if (GSnapshot.empty()) return;
  UpdateWindow(Form);
  TSurface S;
  if (!CaptureWindow(Form, S) || !SavePng(S, GSnapshot))
    std::fprintf(stderr, "could not write %s\n", GSnapshot.c_str());
}

LRESULT FormProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_PAINT: {
      PAINTSTRUCT PS;
      HDC DC = BeginPaint(Wnd, PS);
      TRect C;
      GetClientRect(Wnd, C);
      FillRect(DC, C, clBtnFace);
      SetTextColor(DC, clBtnText);
      ExtTextOut(DC, 10, 12, 0, nullptr, "Type a word:");
      EndPaint(Wnd, PS);
      return 0;
    }
    case WM_COMMAND:
      if (HIWORD(WParam) == EN_CHANGE) {
        GText = GetWindowText(HWND(LParam));
        Say("text: " + GText);
      }
      return 0;
    case WM_CLOSE:
      Snapshot(Wnd);
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

HWND MakeForm() {
  WNDCLASS C;
  C.lpfnWndProc = FormProc;
  C.hCursor = LoadCursor(0, IDC_ARROW);
  C.lpszClassName = "EditCheckForm";
  RegisterClass(C);
  return CreateWindowEx(0, C.lpszClassName, Caption, WS_OVERLAPPED | WS_VISIBLE, 0, 0, 320, 80, 0);
}

void TimeUp(HWND, UINT, uintptr_t, DWORD) {
  GTimedOut = true;
  PostQuitMessage(3);
}

}  // namespace

int main(int argc, char** argv) {
  int TimeoutSec = 30;
  for (int I = 1; I + 1 < argc; I += 2) {
    if (!std::strcmp(argv[I], "--timeout")) TimeoutSec = std::atoi(argv[I + 1]);
    if (!std::strcmp(argv[I], "--snapshot")) GSnapshot = argv[I + 1];
  }
  TSDLBackend SDL;
  if (!SDL.Open(Caption, 320, 80)) {
    std::fprintf(stderr, "cannot open an SDL window: %s\n", SDL.GetError().c_str());
    return 2;
  }
  HWND Form = MakeForm();
  HWND Edit = MakeEdit(Form, Bounds(10, 36, 300, 26));
  SetTimer(0, 0, UINT(TimeoutSec * 1000), TimeUp);

  TRect F, E;
  GetWindowRect(Form, F);
  GetWindowRect(Edit, E);
  Say("ready " + IntToStr(E.Left - F.Left + E.Width() / 2) + " " +
      IntToStr(E.Top - F.Top + E.Height() / 2));
  MSG M;
  while (GetMessage(M, 0, 0, 0) > 0) {
    TranslateMessage(M);
    DispatchMessage(M);
  }
  if (GTimedOut && IsWindow(Form)) Snapshot(Form);
  Say("final: " + GText);
  return GTimedOut ? 3 : 0;
}
