#pragma once
// The desktop: what a backend (headless or SDL) sees of the window system.
//
// A backend makes a desktop of a given size, feeds it raw input (pointer moves and buttons at
// screen points, keys, text), drives the clock, and shows the backing surfaces of the
// top-level windows, repainting the rectangles that changed. The input becomes window
// messages only when the queue is read, so it is hit-tested and routed against the windows
// as they are then.
#include <map>
#include <string>
#include <vector>

#include "win/Windows.h"

namespace plumb {

// What a backend offers the window system; every hook has a harmless default.
class TDesktopHost {
 public:
  virtual ~TDesktopHost() = default;
  // Blocks until input may have arrived or TimeoutMs passed. False when no input can ever
  // come (a headless desktop), which ends GetMessage.
  virtual bool WaitForInput(Cardinal TimeoutMs) {
    (void)TimeoutMs;
    return false;
  }
  virtual void CursorChanged(HCURSOR Cursor) { (void)Cursor; }
  virtual void Beep(UINT Type) { (void)Type; }
  // A top-level window appeared, moved, changed size, vanished or was destroyed.
  virtual void TopLevelChanged(HWND Wnd) { (void)Wnd; }
  // The clipboard; by default the desktop keeps the text itself.
  virtual bool HasClipboard() const { return false; }
  virtual void SetClipboard(const std::string& Text) { (void)Text; }
  virtual std::string GetClipboard() { return {}; }
};

// Starts a fresh window system: no windows, an empty queue, a manual clock. Host may be null.
void InitDesktop(Integer Width, Integer Height, TDesktopHost* Host = nullptr);
// Destroys every window and forgets all state.
void ShutdownDesktop();
TPoint GetDesktopSize();

// ---- Raw input -------------------------------------------------------------------------------
enum TRawButton { rbLeft, rbRight, rbMiddle };
void InjectMouseMove(TPoint ScreenPos);
void InjectMouseButton(TRawButton Button, bool Down, TPoint ScreenPos);
// Char: the character the key produces when its key-down is translated (0 for none).
void InjectKey(Word VirtKey, bool Down, char32_t Char = 0);
// Text that arrives on its own (an input method, a text-input event): WM_CHAR to the focus.
void InjectChar(char32_t Char);
// A turn of the wheel with the pointer at a screen point, in WHEEL_DELTA units a notch
// (positive: away from the user); fractions of a notch come from smooth wheels.
void InjectMouseWheel(Integer Delta, TPoint ScreenPos);
// The desktop gave our windows the keyboard focus or took it away. Taking it deactivates the
// active window (its focused control hears WM_KILLFOCUS); giving it back activates that window
// again, whose form puts the focus back where it was.
void InjectActivation(bool Active);

// ---- The clock -------------------------------------------------------------------------------
// A manual clock (the default) moves only when told; a real one follows the steady clock.
void SetRealTimeClock(bool Real);
void AdvanceClock(Cardinal Ms);
void SetClockTime(DWORD Ms);

// True while posted or raw input, paint or due timers are waiting.
bool HasPendingMessages();
// The time until the next timer is due (0 when one is due, -1 when there is none).
Integer NextTimerDelay();

// ---- Surfaces --------------------------------------------------------------------------------
// Visible top-level windows, bottom-most first.
std::vector<HWND> GetTopLevelWindows();
const TSurface* GetWindowSurface(HWND TopLevel);
// Hands over the rectangles (surface coordinates) drawn since the last call.
bool TakeDirtyRects(HWND TopLevel, std::vector<TRect>& Rects);
// The desktop as the user sees it: top-level windows over the background colour.
void ComposeDesktop(TSurface& Out);
// The pixels of one window (non-client area included) as they are on its top-level surface.
bool CaptureWindow(HWND Wnd, TSurface& Out);

// ---- A record of what was asked of the window system, for tests -----------------------------
struct TScrollWindowCall {
  HWND Wnd = 0;
  Integer DX = 0, DY = 0;
  TRect Scroll, Clip;  // all zero when the call passed none
  bool HasScroll = false, HasClip = false;
  UINT Flags = 0;
};
struct TInvalidateCall {
  HWND Wnd = 0;
  TRect Rect;  // what was passed; Whole when none was
  bool Whole = false;
  bool Erase = false;
  bool Validate = false;  // a ValidateRect
};
struct TScrollBarCall {
  HWND Wnd = 0;
  int Bar = 0;
  bool IsRange = false;  // SetScrollRange, else SetScrollPos
  int Min = 0, Max = 0, Pos = 0;
  bool Redraw = false;
};
struct TWinRecord {
  bool Enabled = false;
  std::vector<TScrollWindowCall> ScrollWindows;
  std::vector<TInvalidateCall> Invalidates;
  std::vector<TScrollBarCall> ScrollBars;
  std::vector<UINT> Beeps;
  std::vector<HCURSOR> Cursors;  // every SetCursor
  // With RecordTexts set too: the text each window drew, in its own coordinates. Clear empties
  // the lists and keeps them, so a DC in use goes on writing to its window's list.
  bool RecordTexts = false;
  std::map<HWND, std::vector<TTextOutRecord>> Texts;
  void Clear();
};
TWinRecord& WinRecord();

}  // namespace plumb
