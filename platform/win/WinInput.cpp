// Input: raw pointer and key events become messages; focus, capture and activation move
// between windows.
//
// Map: injecting raw input | pointer (hit test, activation, cursor, capture, double clicks) |
// keys and characters | focus | activation | capture | windows that go away
//
// A pointer event goes to the window with the capture, else to the window under the pointer,
// which answers WM_NCHITTEST: HTCLIENT gives a client message in client coordinates, anything
// else the non-client message with the hit code and screen coordinates. The wheel goes to the
// window with the capture or under the pointer (a child that leaves it alone hands it to its
// parent). Keys go to the focus.
#include <algorithm>
#include <cstdlib>

#include "win/WinSystem.h"

namespace plumb {
namespace win {

namespace {

const UINT ButtonDown[3] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
const Word ButtonKey[3] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};

bool KeyDown(Word VK) {
  return Sys().KeyState[VK & 0xFF] & 0x80;
}

WPARAM MouseKeys() {
  WPARAM K = 0;
  if (KeyDown(VK_LBUTTON)) K |= MK_LBUTTON;
  if (KeyDown(VK_RBUTTON)) K |= MK_RBUTTON;
  if (KeyDown(VK_MBUTTON)) K |= MK_MBUTTON;
  if (KeyDown(VK_SHIFT)) K |= MK_SHIFT;
  if (KeyDown(VK_CONTROL)) K |= MK_CONTROL;
  return K;
}

void SetKey(Word VK, bool Down) {
  uint8_t& K = Sys().KeyState[VK & 0xFF];
  if (Down && !(K & 0x80)) K ^= 0x01;
  K = Down ? uint8_t(K | 0x80) : uint8_t(K & ~0x80);
}

// A press becomes a double click when it follows a press of the same button on the same window
// within the double-click time and the double-click distance, and the window asked for them.
UINT DoubleClick(TWnd* W, const TQueueEntry& E, bool Client, UINT Msg) {
  auto& S = Sys();
  TLastClick& L = S.LastClick;
  Integer HalfX = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
  Integer HalfY = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  bool Paired = L.Valid && L.Wnd == W->Handle && L.Button == E.Button && L.Client == Client &&
                int32_t(E.Msg.time - L.Time) < int32_t(S.DoubleClickTime) &&
                std::abs(E.Pos.X - L.Pos.X) <= HalfX && std::abs(E.Pos.Y - L.Pos.Y) <= HalfY;
  if (Paired && (!Client || (W->Class.style & CS_DBLCLKS))) {
    L.Valid = false;
    return Msg + (WM_LBUTTONDBLCLK - WM_LBUTTONDOWN);
  }
  L = TLastClick{W->Handle, E.Button, Client, E.Msg.time, E.Pos, true};
  return Msg;
}

// Hit-tests, activates on a press and sets the cursor; false when the event goes nowhere.
bool RouteUncaptured(TQueueEntry& E, UINT Base, HWND& Target, LRESULT& Hit) {
  Target = WindowFromPoint(E.Pos);
  if (!Target) return false;
  Hit = SendMessage(Target, WM_NCHITTEST, 0, PointToLParam(E.Pos));
  if (!IsWindow(Target)) return false;
  bool Press = E.Kind == ekMouseButton && E.Down;
  TWnd* Top = Root(Find(Target));
  if (Press && Top->Handle != Sys().Active && IsActivatable(Top)) {
    LRESULT MA =
        SendMessage(Target, WM_MOUSEACTIVATE, Top->Handle, MAKELPARAM(int(Hit), int(Base)));
    if (MA == MA_ACTIVATE || MA == MA_ACTIVATEANDEAT) SetActiveWindow(Top->Handle);
    if (MA == MA_ACTIVATEANDEAT || MA == 4 /* MA_NOACTIVATEANDEAT */ || !IsWindow(Target))
      return false;
  }
  SendMessage(Target, WM_SETCURSOR, Target, MAKELPARAM(int(Hit), int(Base)));
  return IsWindow(Target);
}

bool ConvertMouse(TQueueEntry& E) {
  auto& S = Sys();
  S.CursorPos = E.Pos;
  UINT Base = WM_MOUSEMOVE;
  if (E.Kind == ekMouseButton) {
    Base = ButtonDown[E.Button] + (E.Down ? 0 : 1);
    SetKey(ButtonKey[E.Button], E.Down);
  }
  UINT ToNC = WM_NCMOUSEMOVE - WM_MOUSEMOVE;
  if (S.Track.Active && Find(S.Track.Wnd)) {  // a scroll bar holds the pointer
    WPARAM Hit = S.Track.Bar == SB_VERT ? HTVSCROLL : HTHSCROLL;
    E.Msg = MSG{S.Track.Wnd, Base + ToNC, Hit, PointToLParam(E.Pos), E.Msg.time, E.Pos, 0};
    return true;
  }
  HWND Target = Find(S.Capture) ? S.Capture : 0;
  LRESULT Hit = HTCLIENT;
  if (!Target && !RouteUncaptured(E, Base, Target, Hit)) return false;
  bool Client = Hit == HTCLIENT;
  UINT Msg = Client ? Base : Base + ToNC;
  if (E.Kind == ekMouseButton && E.Down) Msg = DoubleClick(Find(Target), E, Client, Msg);
  TPoint P = E.Pos;
  if (Client) ScreenToClient(Target, P);
  E.Msg =
      MSG{Target, Msg, Client ? MouseKeys() : WPARAM(Hit), PointToLParam(P), E.Msg.time, E.Pos, 0};
  return true;
}

bool ConvertWheel(TQueueEntry& E) {
  auto& S = Sys();
  S.CursorPos = E.Pos;
  HWND Target = Find(S.Capture) ? S.Capture : WindowFromPoint(E.Pos);
  if (!Target) return false;
  Integer Delta = std::clamp<Integer>(E.WheelDelta, -32768, 32767);
  WPARAM Keys = MAKEWPARAM(int(MouseKeys()), Delta);
  E.Msg = MSG{Target, WM_MOUSEWHEEL, Keys, PointToLParam(E.Pos), E.Msg.time, E.Pos, 0};
  return true;
}

bool IsExtendedKey(Word VK) {
  return (VK >= VK_PRIOR && VK <= VK_DOWN) || VK == VK_INSERT || VK == VK_DELETE ||
         VK == VK_DIVIDE || VK == VK_RCONTROL || VK == VK_RMENU;
}

HWND KeyTarget() {
  auto& S = Sys();
  if (Find(S.Focus)) return S.Focus;
  return Find(S.Active) ? S.Active : 0;
}

bool ConvertKey(TQueueEntry& E) {
  bool Alt = KeyDown(VK_MENU) || (E.Down && E.VirtKey == VK_MENU);
  bool WasDown = KeyDown(E.VirtKey);
  SetKey(E.VirtKey, E.Down);
  HWND Target = KeyTarget();
  if (!Target) return false;
  bool SysKey = (Alt && !KeyDown(VK_CONTROL)) || E.VirtKey == VK_F10;
  UINT Msg = E.Down ? (SysKey ? UINT(WM_SYSKEYDOWN) : UINT(WM_KEYDOWN))
                    : (SysKey ? UINT(WM_SYSKEYUP) : UINT(WM_KEYUP));
  uint32_t Data = 1;
  if (IsExtendedKey(E.VirtKey)) Data |= KF_EXTENDED_BIT;
  if (Alt) Data |= KF_ALTDOWN_BIT;
  if (WasDown || !E.Down) Data |= KF_REPEAT_BIT;
  if (!E.Down) Data |= KF_UP_BIT;
  E.Msg = MSG{Target,
              Msg,
              E.VirtKey,
              LPARAM(int32_t(Data)),
              E.Msg.time,
              Sys().CursorPos,
              E.Down ? E.Char : 0};
  return true;
}

bool ConvertChar(TQueueEntry& E) {
  HWND Target = KeyTarget();
  if (!Target) return false;
  E.Msg = MSG{Target, WM_CHAR, WPARAM(E.Char), 1, E.Msg.time, Sys().CursorPos, 0};
  return true;
}

TWnd* FindIn(HWND H, const TWnd* Ancestor) {
  TWnd* W = Find(H);
  return W && IsAncestorOrSelf(Ancestor, W) ? W : nullptr;
}

// Losing the desktop's focus ends a drag wherever it was and leaves no window active; the
// window that was active comes back with the focus (or, when it cannot, the top-most that can).
void ConvertActivation(const TQueueEntry& E) {
  auto& S = Sys();
  if (!E.Down) {
    if (HWND C = GetCapture()) {
      SendMessage(C, WM_CANCELMODE, 0, 0);
      if (GetCapture() == C) ReleaseCapture();
    }
    if (HWND Old = GetActiveWindow()) S.Inactive = Old;
    SetActiveWindow(0);
    return;
  }
  if (GetActiveWindow()) return;
  TWnd* W = Find(S.Inactive);
  S.Inactive = 0;
  if (IsActivatable(W))
    SetActiveWindow(W->Handle);
  else
    PickNewActiveWindow(nullptr);
}

}  // namespace

bool ConvertRawInput(TQueueEntry& E) {
  switch (E.Kind) {
    case ekMouseMove:
    case ekMouseButton:
      return ConvertMouse(E);
    case ekKey:
      return ConvertKey(E);
    case ekChar:
      return ConvertChar(E);
    case ekMouseWheel:
      return ConvertWheel(E);
    case ekActivation:
      ConvertActivation(E);
      return false;
    default:
      return true;
  }
}

bool IsActivatable(const TWnd* W) {
  return W && !W->Parent && !(W->Style & (WS_CHILD | WS_DISABLED)) && (W->Style & WS_VISIBLE) &&
         !(W->ExStyle & WS_EX_NOACTIVATE);
}

void PickNewActiveWindow(TWnd* Except) {
  for (TWnd* T : Sys().TopLevels)
    if (T != Except && IsActivatable(T)) {
      SetActiveWindow(T->Handle);
      return;
    }
  SetActiveWindow(0);
}

// Called before a window and its children are destroyed.
void ForgetWindowInput(TWnd* W) {
  auto& S = Sys();
  HWND H = W->Handle;
  if (S.Track.Active && FindIn(S.Track.Wnd, W)) EndBarTracking(false);
  if (FindIn(S.Capture, W)) ReleaseCapture();
  if (!(W = Find(H))) return;
  if (FindIn(S.Focus, W)) SetFocus(W->Parent ? W->Parent->Handle : 0);
  if (!(W = Find(H))) return;
  if (FindIn(S.LastClick.Wnd, W)) S.LastClick.Valid = false;
}

// Called when a window is disabled: it can hold neither the pointer nor the keyboard.
void CancelModesOf(TWnd* W) {
  auto& S = Sys();
  HWND H = W->Handle;
  if (S.Track.Active && FindIn(S.Track.Wnd, W)) EndBarTracking(true);
  if (HWND C = S.Capture; (W = Find(H)) && FindIn(C, W)) {
    SendMessage(C, WM_CANCELMODE, 0, 0);
    if (S.Capture == C) ReleaseCapture();
  }
  if ((W = Find(H)) && FindIn(S.Focus, W)) SetFocus(0);
}

}  // namespace win

using namespace win;

// ---- Injecting raw input ---------------------------------------------------------------------
void InjectMouseMove(TPoint ScreenPos) {
  TQueueEntry E;
  E.Kind = ekMouseMove;
  E.Pos = ScreenPos;
  PushEntry(std::move(E));
}

void InjectMouseButton(TRawButton Button, bool Down, TPoint ScreenPos) {
  TQueueEntry E;
  E.Kind = ekMouseButton;
  E.Button = Button;
  E.Down = Down;
  E.Pos = ScreenPos;
  PushEntry(std::move(E));
}

void InjectKey(Word VirtKey, bool Down, char32_t Char) {
  TQueueEntry E;
  E.Kind = ekKey;
  E.VirtKey = VirtKey;
  E.Down = Down;
  E.Char = Char;
  PushEntry(std::move(E));
}

void InjectChar(char32_t Char) {
  TQueueEntry E;
  E.Kind = ekChar;
  E.Char = Char;
  PushEntry(std::move(E));
}

void InjectMouseWheel(Integer Delta, TPoint ScreenPos) {
  TQueueEntry E;
  E.Kind = ekMouseWheel;
  E.WheelDelta = Delta;
  E.Pos = ScreenPos;
  PushEntry(std::move(E));
}

void InjectActivation(bool Active) {
  TQueueEntry E;
  E.Kind = ekActivation;
  E.Down = Active;
  PushEntry(std::move(E));
}

int16_t GetKeyState(int VirtKey) {
  uint8_t K = Sys().KeyState[VirtKey & 0xFF];
  return int16_t(((K & 0x80) ? 0x8000 : 0) | (K & 0x01));
}

bool GetCursorPos(TPoint& P) {
  P = Sys().CursorPos;
  return true;
}

// ---- Focus -----------------------------------------------------------------------------------
// As Win32 does it: the focus changes before WM_KILLFOCUS is sent, and when that handler moves
// the focus elsewhere the new window never hears WM_SETFOCUS.
HWND SetFocus(HWND Wnd) {
  auto& S = Sys();
  HWND Old = Find(S.Focus) ? S.Focus : 0;
  TWnd* W = Find(Wnd);
  if (Wnd && !W) return 0;
  if (Wnd == Old) return Old;
  if (W && IsActivatable(Root(W)) && Root(W)->Handle != S.Active) {
    SetActiveWindow(Root(W)->Handle);
    if (!IsWindow(Wnd) || S.Focus == Wnd) return Old;
    Old = Find(S.Focus) ? S.Focus : 0;
  }
  S.Focus = Wnd;
  if (Old) {
    SendMessage(Old, WM_KILLFOCUS, Wnd, 0);
    if (S.Focus != Wnd) return Old;
  }
  if (Wnd && IsWindow(Wnd)) SendMessage(Wnd, WM_SETFOCUS, Old, 0);
  return Old;
}

HWND GetFocus() {
  auto& S = Sys();
  return Find(S.Focus) ? S.Focus : 0;
}

// ---- Activation ------------------------------------------------------------------------------
HWND SetActiveWindow(HWND Wnd) {
  auto& S = Sys();
  HWND Old = Find(S.Active) ? S.Active : 0;
  TWnd* W = Wnd ? Root(Find(Wnd)) : nullptr;
  if (Wnd && !IsActivatable(W)) return Old;
  Wnd = W ? W->Handle : 0;
  if (Wnd == Old) return Old;
  // Leaving a window ends what it was doing with the pointer.
  if (TWnd* OldW = Find(Old); OldW && FindIn(S.Capture, OldW))
    SendMessage(S.Capture, WM_CANCELMODE, 0, 0);
  S.Active = Wnd;
  if (Old && IsWindow(Old)) SendMessage(Old, WM_ACTIVATE, WA_INACTIVE, Wnd);
  if (S.Active != Wnd) return Old;
  if (Wnd)
    SendMessage(Wnd, WM_ACTIVATE, WA_ACTIVE, Old);
  else if (GetFocus())
    SetFocus(0);
  return Old;
}

HWND GetActiveWindow() {
  auto& S = Sys();
  return Find(S.Active) ? S.Active : 0;
}

// ---- Capture ---------------------------------------------------------------------------------
HWND SetCapture(HWND Wnd) {
  auto& S = Sys();
  if (!Find(Wnd)) return 0;
  if (S.Track.Active) EndBarTracking(true);
  HWND Old = Find(S.Capture) ? S.Capture : 0;
  if (Old == Wnd) return Old;
  S.Capture = Wnd;
  if (Old) SendMessage(Old, WM_CAPTURECHANGED, 0, LPARAM(Wnd));
  return Old;
}

bool ReleaseCapture() {
  auto& S = Sys();
  if (S.Track.Active) EndBarTracking(true);
  HWND Old = Find(S.Capture) ? S.Capture : 0;
  S.Capture = 0;
  if (Old) SendMessage(Old, WM_CAPTURECHANGED, 0, 0);
  return true;
}

HWND GetCapture() {
  auto& S = Sys();
  return Find(S.Capture) ? S.Capture : 0;
}

}  // namespace plumb
