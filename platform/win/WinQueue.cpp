// The message queue and the clock: posting, sending, peeking with filters, translating keys
// into characters, dispatching, WM_QUIT, timers.
//
// Map: clock | queue entries | SendMessage / PostMessage | PeekMessage (posted and raw input in
// arrival order, then WM_QUIT, then WM_PAINT, then WM_TIMER) | GetMessage, Translate,
// Dispatch | timers
//
// Raw input waits in the queue as it came and becomes a message only when the queue is read,
// so it is routed to the windows as they are by then (the focus, the capture, what lies under
// the pointer).
#include <algorithm>
#include <chrono>
#include <thread>

#include "win/WinSystem.h"

namespace plumb {
namespace win {

void PushEntry(TQueueEntry E, bool Front) {
  auto& S = Sys();
  E.Seq = S.NextSeq++;
  if (!E.Msg.time) E.Msg.time = Now();
  if (Front)
    S.Queue.push_front(std::move(E));
  else
    S.Queue.push_back(std::move(E));
}

namespace {

bool InRange(UINT Msg, UINT Min, UINT Max) {
  return (Min == 0 && Max == 0) || (Msg >= Min && Msg <= Max);
}

// Whether the message a raw entry becomes could pass the range filter.
bool RawMayMatch(const TQueueEntry& E, UINT Min, UINT Max) {
  auto Any = [&](std::initializer_list<UINT> L) {
    for (UINT M : L)
      if (InRange(M, Min, Max)) return true;
    return false;
  };
  const UINT ToNC = WM_NCMOUSEMOVE - WM_MOUSEMOVE;
  switch (E.Kind) {
    case ekKey:
      return E.Down ? Any({WM_KEYDOWN, WM_SYSKEYDOWN}) : Any({WM_KEYUP, WM_SYSKEYUP});
    case ekChar:
      return InRange(WM_CHAR, Min, Max);
    case ekMouseMove:
      return Any({WM_MOUSEMOVE, WM_NCMOUSEMOVE});
    case ekMouseWheel:
      return InRange(WM_MOUSEWHEEL, Min, Max);
    case ekActivation:  // makes no message; only a read of everything takes it in turn
      return Min == 0 && Max == 0;
    default: {
      UINT B = (E.Button == rbLeft    ? WM_LBUTTONDOWN
                : E.Button == rbRight ? WM_RBUTTONDOWN
                                      : WM_MBUTTONDOWN);
      if (!E.Down) return Any({B + 1, B + 1 + ToNC});
      return Any({B, B + 2, B + ToNC, B + 2 + ToNC});
    }
  }
}

std::deque<TQueueEntry>::iterator FindSeq(uint64_t Seq) {
  auto& Q = Sys().Queue;
  return std::find_if(Q.begin(), Q.end(), [Seq](const TQueueEntry& E) { return E.Seq == Seq; });
}

// Converts the raw entry at Index in place. Returns the index to look at next.
size_t ConvertAt(size_t Index) {
  auto& Q = Sys().Queue;
  TQueueEntry Copy = Q[Index];
  Q[Index].Busy = true;
  bool Keep = ConvertRawInput(Copy);  // may send messages, which may change the queue
  auto It = FindSeq(Copy.Seq);
  if (It == Q.end()) return 0;
  if (!Keep) {
    It = Q.erase(It);
    return size_t(It - Q.begin());
  }
  It->Kind = ekPosted;
  It->Msg = Copy.Msg;
  It->Busy = false;
  return size_t(It - Q.begin());
}

bool PeekQueue(MSG& Msg, HWND Wnd, UINT Min, UINT Max, UINT Remove) {
  auto& S = Sys();
  bool RawBlocked = false;  // raw input is converted strictly in arrival order
  for (size_t I = 0; I < S.Queue.size();) {
    TQueueEntry& E = S.Queue[I];
    if (E.Kind != ekPosted) {
      if (RawBlocked || E.Busy || !RawMayMatch(E, Min, Max)) {
        RawBlocked = true;
        ++I;
        continue;
      }
      I = ConvertAt(I);
      continue;
    }
    if (E.Msg.hwnd && !Find(E.Msg.hwnd)) {  // its window is gone
      S.Queue.erase(S.Queue.begin() + std::ptrdiff_t(I));
      continue;
    }
    if ((Wnd && E.Msg.hwnd != Wnd) || !InRange(E.Msg.message, Min, Max)) {
      ++I;
      continue;
    }
    Msg = E.Msg;
    if (Remove & PM_REMOVE) {
      S.MessageTime = Msg.time;
      S.Queue.erase(S.Queue.begin() + std::ptrdiff_t(I));
    }
    return true;
  }
  return false;
}

bool PeekPaint(MSG& Msg, HWND Wnd, UINT Min, UINT Max) {
  if (!InRange(WM_PAINT, Min, Max)) return false;
  while (TWnd* P = FindPaintWindow()) {
    if (P->Update.IsEmpty()) {  // only the frame is waiting
      P->NCDirty = false;
      CallProc(P, WM_NCPAINT, 1, 0);
      continue;
    }
    if (Wnd && P->Handle != Wnd) return false;
    Msg = MSG{P->Handle, WM_PAINT, 0, 0, Now(), Sys().CursorPos, 0};
    return true;
  }
  return false;
}

bool PeekTimer(MSG& Msg, HWND Wnd, UINT Min, UINT Max, UINT Remove) {
  if (!InRange(WM_TIMER, Min, Max)) return false;
  auto& S = Sys();
  DWORD T = Now();
  for (TTimer& X : S.Timers) {
    if (int32_t(T - X.Due) < 0 || (Wnd && X.Wnd != Wnd)) continue;
    Msg = MSG{X.Wnd, WM_TIMER, X.Id, LPARAM(X.Proc), T, S.CursorPos, 0};
    if (Remove & PM_REMOVE) {
      X.Due = T + X.Elapse;
      S.MessageTime = T;
    }
    return true;
  }
  return false;
}

}  // namespace
}  // namespace win

using namespace win;

// ---- Clock -----------------------------------------------------------------------------------
void SetRealTimeClock(bool Real) {
  auto& S = Sys();
  if (Real == S.RealClock) return;
  S.ManualTime = Now();
  S.RealClock = Real;
  S.RealStart = std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now().time_since_epoch())
                    .count();
}

void AdvanceClock(Cardinal Ms) {
  if (!Sys().RealClock) Sys().ManualTime += Ms;
}

void SetClockTime(DWORD Ms) {
  if (!Sys().RealClock) Sys().ManualTime = Ms;
}

Integer GetMessageTime() {
  return Integer(Sys().MessageTime);
}
DWORD GetTickCount() {
  return Now();
}
UINT GetDoubleClickTime() {
  return Sys().DoubleClickTime;
}

bool SetDoubleClickTime(UINT Ms) {
  Sys().DoubleClickTime = Ms ? Ms : 500;
  return true;
}

// ---- Sending and posting ---------------------------------------------------------------------
LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TWnd* W = Find(Wnd);
  return W ? CallProc(W, Msg, WParam, LParam) : 0;
}

bool PostMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Wnd && !Find(Wnd)) return false;
  TQueueEntry E;
  E.Msg = MSG{Wnd, Msg, WParam, LParam, Now(), Sys().CursorPos, 0};
  PushEntry(std::move(E));
  return true;
}

void PostQuitMessage(int ExitCode) {
  Sys().QuitPending = true;
  Sys().QuitCode = ExitCode;
}

bool PeekMessage(MSG& Msg, HWND Wnd, UINT FilterMin, UINT FilterMax, UINT RemoveMsg) {
  TDispatchScope Scope;
  auto& S = Sys();
  if (PeekQueue(Msg, Wnd, FilterMin, FilterMax, RemoveMsg)) return true;
  if (S.QuitPending) {
    Msg = MSG{0, WM_QUIT, WPARAM(S.QuitCode), 0, Now(), S.CursorPos, 0};
    if (RemoveMsg & PM_REMOVE) S.QuitPending = false;
    return true;
  }
  return PeekPaint(Msg, Wnd, FilterMin, FilterMax) ||
         PeekTimer(Msg, Wnd, FilterMin, FilterMax, RemoveMsg);
}

bool WaitMessage() {
  auto& S = Sys();
  for (;;) {
    if (HasPendingMessages()) return true;
    Integer Delay = NextTimerDelay();
    if (!S.RealClock && Delay > 0) {  // nothing else can happen before the timer: skip ahead
      S.ManualTime += DWORD(Delay);
      continue;
    }
    if (S.Host && S.Host->WaitForInput(Delay < 0 ? 0xFFFFFFFFu : Cardinal(Delay))) continue;
    if (Delay < 0) return false;
    if (S.RealClock) std::this_thread::sleep_for(std::chrono::milliseconds(Delay));
  }
}

int GetMessage(MSG& Msg, HWND Wnd, UINT FilterMin, UINT FilterMax) {
  for (;;) {
    if (PeekMessage(Msg, Wnd, FilterMin, FilterMax, PM_REMOVE))
      return Msg.message == WM_QUIT ? 0 : 1;
    if (!WaitMessage()) return -1;
  }
}

bool TranslateMessage(const MSG& Msg) {
  if ((Msg.message != WM_KEYDOWN && Msg.message != WM_SYSKEYDOWN) || !Msg.TranslateChar)
    return false;
  TQueueEntry E;
  E.Msg = MSG{Msg.hwnd,
              Msg.message == WM_KEYDOWN ? UINT(WM_CHAR) : UINT(WM_SYSCHAR),
              WPARAM(Msg.TranslateChar),
              Msg.lParam,
              Msg.time,
              Msg.pt,
              0};
  PushEntry(std::move(E), true);  // the character comes next, before anything queued later
  return true;
}

LRESULT DispatchMessage(const MSG& Msg) {
  TDispatchScope Scope;
  if (Msg.message == WM_TIMER && Msg.lParam) {
    reinterpret_cast<TIMERPROC>(Msg.lParam)(Msg.hwnd, WM_TIMER, Msg.wParam, Now());
    return 0;
  }
  TWnd* W = Find(Msg.hwnd);
  if (!W) return 0;
  Sys().MessageTime = Msg.time;
  if (Msg.message == WM_PAINT) {
    SendPaint(W);
    return 0;
  }
  return CallProc(W, Msg.message, Msg.wParam, Msg.lParam);
}

LRESULT CallWindowProc(WNDPROC Proc, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TDispatchScope Scope;
  return Proc ? Proc(Wnd, Msg, WParam, LParam) : DefWindowProc(Wnd, Msg, WParam, LParam);
}

bool HasPendingMessages() {
  auto& S = Sys();
  return !S.Queue.empty() || S.QuitPending || FindPaintWindow() || NextTimerDelay() == 0;
}

// ---- Timers ----------------------------------------------------------------------------------
uintptr_t SetTimer(HWND Wnd, uintptr_t IDEvent, UINT Elapse, TIMERPROC TimerFunc) {
  auto& S = Sys();
  if (Wnd && !Find(Wnd)) return 0;
  if (!Wnd) IDEvent = S.NextTimerId++;
  auto It = std::find_if(S.Timers.begin(), S.Timers.end(),
                         [&](const TTimer& T) { return T.Wnd == Wnd && T.Id == IDEvent; });
  TTimer T{Wnd, IDEvent, Elapse, Now() + Elapse, TimerFunc};
  if (It != S.Timers.end())
    *It = T;
  else
    S.Timers.push_back(T);
  return IDEvent ? IDEvent : 1;
}

bool KillTimer(HWND Wnd, uintptr_t IDEvent) {
  auto& L = Sys().Timers;
  auto It = std::remove_if(L.begin(), L.end(),
                           [&](const TTimer& T) { return T.Wnd == Wnd && T.Id == IDEvent; });
  bool Found = It != L.end();
  L.erase(It, L.end());
  return Found;
}

Integer NextTimerDelay() {
  auto& S = Sys();
  DWORD T = Now();
  Integer Best = -1;
  for (const TTimer& X : S.Timers) {
    Integer D = std::max<Integer>(0, int32_t(X.Due - T));
    if (Best < 0 || D < Best) Best = D;
  }
  return Best;
}

}  // namespace plumb
