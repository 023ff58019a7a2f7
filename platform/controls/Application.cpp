// TApplication (the message loop and the exceptions that reach it) and TScreen.
#include <algorithm>
#include <cstdio>

#include "controls/Forms.h"
#include "win/Desktop.h"

namespace plumb {

// Created once and never freed, so that windows destroyed at exit still find them.
TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);

// ---- TApplication ----------------------------------------------------------------------------
TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

void TApplication::Run() {
  while (!FTerminated)
    if (!HandleMessage()) break;
}

bool TApplication::HandleMessage() {
  if (ProcessMessage()) return true;
  return WaitMessage();
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
}

bool TApplication::ProcessMessage() {
  MSG M;
  try {
    if (!PeekMessage(M, 0, 0, 0, PM_REMOVE)) return false;
  } catch (...) {
    HandleException(this);
    return true;
  }
  if (M.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  try {
    if (!IsKeyMsg(M)) {
      TranslateMessage(M);
      DispatchMessage(M);
    }
  } catch (...) {
    HandleException(this);
  }
  return true;
}

bool TApplication::IsKeyMsg(MSG& Msg) {
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
  HWND W = GetCapture();
  if (!W) {
    W = Msg.hwnd;
    while (W && !FindControl(W)) W = GetParent(W);
    if (!W) W = Msg.hwnd;
  }
  return SendMessage(W, CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

void TApplication::Terminate() {
  FTerminated = true;
  PostQuitMessage(0);
}

void TApplication::HandleException(TObject* Sender) {
  std::exception_ptr P = std::current_exception();
  if (!P) return;
  auto Report = [&](const Exception& E) {
    if (!OnException) {
      ShowException(E);
      return;
    }
    try {
      OnException(Sender, E);
    } catch (...) {  // a failing handler must not take the loop down
    }
  };
  try {
    std::rethrow_exception(P);
  } catch (const Exception& E) {
    Report(E);
  } catch (const std::exception& E) {
    Report(Exception(E.what()));
  } catch (...) {
    Report(Exception("Unknown exception"));
  }
}

void TApplication::ShowException(const Exception& E) {
  std::fprintf(stderr, "%s\n", E.Message().c_str());
}

// ---- TScreen ---------------------------------------------------------------------------------
TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

HCURSOR TScreen::GetCursors(TCursor Index) const {
  struct TPair {
    TCursor Cursor;
    uintptr_t Id;
  };
  static const TPair Map[] = {{crNone, 0},
                              {crArrow, IDC_ARROW},
                              {crCross, IDC_CROSS},
                              {crIBeam, IDC_IBEAM},
                              {crSizeNESW, IDC_SIZENESW},
                              {crSizeNS, IDC_SIZENS},
                              {crSizeNWSE, IDC_SIZENWSE},
                              {crSizeWE, IDC_SIZEWE},
                              {crUpArrow, IDC_UPARROW},
                              {crHourGlass, IDC_WAIT},
                              {crDrag, IDC_DRAG},
                              {crNoDrop, IDC_NODROP},
                              {crHSplit, IDC_HSPLIT},
                              {crVSplit, IDC_VSPLIT},
                              {crMultiDrag, IDC_DRAG},
                              {crSQLWait, IDC_WAIT},
                              {crNo, IDC_NO},
                              {crAppStart, IDC_APPSTARTING},
                              {crHelp, IDC_HELP},
                              {crHandPoint, IDC_HAND},
                              {crSizeAll, IDC_SIZEALL}};
  for (const TPair& P : Map)
    if (P.Cursor == Index) return P.Id ? LoadCursor(0, P.Id) : 0;
  return LoadCursor(0, IDC_ARROW);
}

void TScreen::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  if (Value != crDefault) {
    ::plumb::SetCursor(GetCursors(Value));
    return;
  }
  TPoint P;
  GetCursorPos(P);
  if (HWND W = WindowFromPoint(P)) {
    LRESULT Hit = SendMessage(W, WM_NCHITTEST, 0, PointToLParam(P));
    SendMessage(W, WM_SETCURSOR, W, MAKELPARAM(int(Hit), WM_MOUSEMOVE));
  }
}

Integer TScreen::GetWidth() const {
  return GetSystemMetrics(SM_CXSCREEN);
}
Integer TScreen::GetHeight() const {
  return GetSystemMetrics(SM_CYSCREEN);
}

void TScreen::AddForm(TCustomForm* Form) {
  FForms.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), Form), FForms.end());
  if (FActiveCustomForm == Form) FActiveCustomForm = nullptr;
  if (FFocusedForm == Form) FFocusedForm = nullptr;
  if (FActiveControl && GetParentForm(FActiveControl) == Form) FActiveControl = nullptr;
}

}  // namespace plumb
