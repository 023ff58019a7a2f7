// A small program for the end-to-end check in a real window: a form with one edit in an SDL
// window. It reports on stdout, one line each, so that a script driving it can follow:
//   ready <x> <y>   the window is up; (x, y) is the middle of the edit in window coordinates
//   focus edit      the edit got the keyboard
//   text: <text>    the user changed the edit's text
//   wheel <delta>   the wheel turned over the edit, which handed it up to the form
//   final: <text>   the program ends
// Options: --timeout <seconds> (default 30) ends it on its own; --snapshot <file.png> saves
// the form as it looked when it was closed.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "backends/sdl/SDLBackend.h"
#include "controls/StdCtrls.h"

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
// The real edit control, living in the form's plain window. It tells the script when it gets
// the keyboard; the form hears of each change through WM_COMMAND/EN_CHANGE.
class TCheckEdit : public TEdit {
  PLUMB_CLASS(TCheckEdit, TEdit)
  using TEdit::TEdit;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_SETFOCUS) Say("focus edit");
    TEdit::WndProc(Message);
  }
};

TCheckEdit* GEdit = nullptr;

HWND MakeEdit(HWND Parent, TRect R) {
  GEdit = new TCheckEdit(nullptr);
  GEdit->SetParentWindow(Parent);
  GEdit->SetBoundsRect(R);
  return GEdit->GetHandle();
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
        GText = GEdit ? GEdit->GetText() : GetWindowText(HWND(LParam));
        Say("text: " + GText);
      }
      return 0;
    case WM_MOUSEWHEEL:
      Say("wheel " + IntToStr(int16_t(HIWORD(WParam))));
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
  delete GEdit;
  return GTimedOut ? 3 : 0;
}
