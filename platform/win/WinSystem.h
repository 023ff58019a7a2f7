#pragma once
// Inside the window system: the window records, the queue and the input state. Only the
// window system's own .cpp files include this.
#include <deque>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "win/Desktop.h"
#include "win/Windows.h"

namespace plumb::win {

struct TScrollBarState {
  int Min = 0;
  int Max = 100;
  int Pos = 0;
};

struct TWnd {
  HWND Handle = 0;
  WNDCLASS Class;  // a copy: re-registering a class leaves existing windows alone
  WNDPROC Proc = nullptr;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  TRect Rect;  // parent client coordinates, or screen coordinates for a top-level window
  TWnd* Parent = nullptr;
  std::vector<TWnd*> Children;  // z-order, top-most first
  LONG_PTR UserData = 0;
  LONG_PTR Id = 0;
  std::string Text;
  TRegion Update;  // client coordinates
  bool Erase = false;
  bool NCDirty = false;
  unsigned Validations = 0;  // BeginPaint and ValidateRect calls, to see a paint that did none
  bool Destroying = false;
  TScrollBarState Bars[2];  // SB_HORZ, SB_VERT
  int ImeMode = 3;
  std::string ImeName;
  TRect ImeCaret;  // client coordinates; where the input method composes
  bool HasImeCaret = false;
  // Top-level windows only.
  std::unique_ptr<TSurface> Surface;
  std::vector<TRect> Dirty;
};

enum TEntryKind { ekPosted, ekMouseMove, ekMouseButton, ekMouseWheel, ekKey, ekChar, ekActivation };

struct TQueueEntry {
  TEntryKind Kind = ekPosted;
  uint64_t Seq = 0;
  bool Busy = false;  // raw input being converted
  MSG Msg;            // posted messages, and raw input once converted
  TRawButton Button = rbLeft;
  bool Down = false;
  Word VirtKey = 0;
  char32_t Char = 0;
  TPoint Pos;
  Integer WheelDelta = 0;
};

struct TTimer {
  HWND Wnd = 0;
  uintptr_t Id = 0;
  UINT Elapse = 0;
  DWORD Due = 0;
  TIMERPROC Proc = nullptr;
};

struct TLastClick {
  HWND Wnd = 0;
  TRawButton Button = rbLeft;
  bool Client = true;
  DWORD Time = 0;
  TPoint Pos;
  bool Valid = false;
};

// Scroll-bar mouse tracking: between the press and the release, the pointer belongs to it.
enum TBarPart { bpNone, bpLineUp, bpPageUp, bpThumb, bpPageDown, bpLineDown };
struct TBarTrack {
  HWND Wnd = 0;
  int Bar = SB_VERT;
  TBarPart Part = bpNone;
  bool Pressed = false;  // the pointer is over the part that was pressed
  Integer GrabOffset = 0;
  int TrackPos = 0;
  bool Active = false;
};

struct TWinSystem {
  TPoint DesktopSize{1024, 768};
  TDesktopHost* Host = nullptr;
  std::unordered_map<HWND, std::unique_ptr<TWnd>> Windows;
  std::vector<TWnd*> TopLevels;  // z-order, top-most first
  HWND NextHandle = 0x10010;
  std::map<std::string, WNDCLASS> Classes;

  std::deque<TQueueEntry> Queue;
  bool QuitPending = false;
  int QuitCode = 0;
  std::vector<TTimer> Timers;
  uintptr_t NextTimerId = 0x7F00;
  uint64_t NextSeq = 1;

  bool RealClock = false;
  DWORD ManualTime = 10000000;  // far from 0, as a machine's uptime would be
  int64_t RealStart = 0;
  DWORD MessageTime = 0;
  UINT DoubleClickTime = 500;

  HWND Focus = 0;
  HWND Capture = 0;
  HWND Active = 0;
  HWND Inactive = 0;  // the window that was active when the desktop took the focus away
  uint8_t KeyState[256] = {};
  TPoint CursorPos;
  TLastClick LastClick;
  TBarTrack Track;
  HCURSOR Cursor = IDC_ARROW;
  std::string Clipboard;

  int DispatchDepth = 0;
  std::vector<std::unique_ptr<TWnd>> Graveyard;  // destroyed while a handler may still run
  std::vector<std::unique_ptr<TDeviceContext>> DCs;
  TWinRecord Record;
};

TWinSystem& Sys();
TWnd* Find(HWND Wnd);
DWORD Now();

// Keeps destroyed windows alive until no handler can still be running on them.
class TDispatchScope {
 public:
  TDispatchScope() { ++Sys().DispatchDepth; }
  ~TDispatchScope();
  TDispatchScope(const TDispatchScope&) = delete;
  TDispatchScope& operator=(const TDispatchScope&) = delete;
};
LRESULT CallProc(TWnd* W, UINT Msg, WPARAM WParam, LPARAM LParam);

// ---- Geometry (WinGeometry.cpp) ----
TWnd* Root(TWnd* W);
bool IsVisible(const TWnd* W);
bool IsEnabled(const TWnd* W);
bool IsAncestorOrSelf(const TWnd* Ancestor, const TWnd* W);
// Thickness of the non-client area on each side (Left, Top, Right, Bottom).
TRect NCInsets(const TWnd* W);
TRect ClientRect(const TWnd* W);  // client coordinates
TRect ClientRectInParent(const TWnd* W);
TRect WindowRectInSurface(const TWnd* W);  // top-level surface coordinates
TPoint ClientOriginInSurface(const TWnd* W);
TPoint ClientOriginOnScreen(const TWnd* W);
// What of the window's client area (or whole window) can be seen: ancestors clip it, visible
// children and higher siblings cover it. Surface coordinates.
TRegion VisibleRegion(const TWnd* W, bool ClientOnly);
TWnd* ChildFromPoint(TWnd* W, TPoint ClientPt);
void SendPosChanged(TWnd* W, const TRect& OldRect, const TRect& OldClient, UINT Flags);

// ---- Painting (WinPaint.cpp) ----
void AddUpdate(TWnd* W, const TRegion& R, bool Erase);
// Invalidates, in every window of W's top-level tree, what of Area (surface coordinates)
// that window shows; the frame of windows it touches is redrawn too.
void InvalidateSurfaceArea(TWnd* Top, const TRect& Area);
void AddDirty(TWnd* W, const TRect& SurfaceRect);
HDC NewDC(TWnd* W, bool ClientOnly);
void FreeDC(HDC DC);
TWnd* FindPaintWindow();
// Sends WM_PAINT, and validates what a handler that painted nothing left behind.
void SendPaint(TWnd* W);
void DrawNonClient(TWnd* W);
void InvalidateWholeWindow(TWnd* W);

// ---- Scroll bars (WinScrollBar.cpp) ----
bool HasBar(const TWnd* W, int Bar);
TRect BarRect(const TWnd* W, int Bar);  // window coordinates (origin at the window's corner)
void DrawBar(TWnd* W, int Bar, HDC DC);
void RedrawBar(TWnd* W, int Bar);
LRESULT BarHitTest(const TWnd* W, TPoint WindowPt);
void StartBarTracking(TWnd* W, int Bar, TPoint ScreenPt);
void BarTrackingMouse(TWnd* W, UINT Msg, TPoint ScreenPt);
void EndBarTracking(bool Notify);

// ---- Input (WinInput.cpp) ----
// Turns a raw input entry into a message; false when it goes nowhere and is dropped.
bool ConvertRawInput(TQueueEntry& E);
void ForgetWindowInput(TWnd* W);
void CancelModesOf(TWnd* W);
bool IsActivatable(const TWnd* W);
void PickNewActiveWindow(TWnd* Except);

// ---- Queue (WinQueue.cpp) ----
void PushEntry(TQueueEntry E, bool Front = false);

}  // namespace plumb::win
