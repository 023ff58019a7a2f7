#pragma once
// The window system's calls, named and shaped after the Win32 functions the component uses.
//
// Handles are plain numbers that are never reused, so a call with a stale or made-up handle
// finds nothing and fails the way Win32 does (0 or false) instead of touching freed memory.
// Everything runs on one thread; SendMessage calls the window procedure at once, PostMessage
// queues. Coordinates are pixels: window rectangles of child windows are relative to the
// parent's client area, those of top-level windows to the screen.
#include <string>

#include "core/Types.h"
#include "gfx/Graphics.h"
#include "gfx/Region.h"
#include "win/Messages.h"

namespace plumb {

using HWND = uintptr_t;
using HCURSOR = uintptr_t;
using ATOM = uint16_t;
using LONG_PTR = intptr_t;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, uintptr_t, DWORD);

// ---- Styles and flags ------------------------------------------------------------------------
enum : DWORD {
  WS_OVERLAPPED = 0x00000000,
  WS_POPUP = 0x80000000,
  WS_CHILD = 0x40000000,
  WS_VISIBLE = 0x10000000,
  WS_DISABLED = 0x08000000,
  WS_CLIPSIBLINGS = 0x04000000,
  WS_CLIPCHILDREN = 0x02000000,
  WS_BORDER = 0x00800000,
  WS_VSCROLL = 0x00200000,
  WS_HSCROLL = 0x00100000,
  WS_GROUP = 0x00020000,
  WS_TABSTOP = 0x00010000
};
enum : DWORD {
  WS_EX_TOPMOST = 0x00000008,
  WS_EX_TOOLWINDOW = 0x00000080,
  WS_EX_CLIENTEDGE = 0x00000200,
  WS_EX_NOACTIVATE = 0x08000000
};
// Edit control styles that other controls pass through their creation parameters.
enum : DWORD { ES_LEFT = 0, ES_MULTILINE = 0x0004, ES_AUTOHSCROLL = 0x0080, ES_READONLY = 0x0800 };
enum : UINT { CS_VREDRAW = 0x0001, CS_HREDRAW = 0x0002, CS_DBLCLKS = 0x0008, CS_SAVEBITS = 0x0800 };

enum : UINT {
  SWP_NOSIZE = 0x0001,
  SWP_NOMOVE = 0x0002,
  SWP_NOZORDER = 0x0004,
  SWP_NOREDRAW = 0x0008,
  SWP_NOACTIVATE = 0x0010,
  SWP_FRAMECHANGED = 0x0020,
  SWP_SHOWWINDOW = 0x0040,
  SWP_HIDEWINDOW = 0x0080,
  SWP_NOCOPYBITS = 0x0100,
  SWP_NOCLIENTSIZE = 0x0800,
  SWP_NOCLIENTMOVE = 0x1000
};
constexpr HWND HWND_TOP = 0;
constexpr HWND HWND_BOTTOM = 1;
constexpr HWND HWND_TOPMOST = HWND(-1);
constexpr HWND HWND_NOTOPMOST = HWND(-2);

enum : int { SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWNOACTIVATE = 4, SW_SHOW = 5, SW_SHOWNA = 8 };
// ScrollWindowEx flags.
enum : UINT { SW_SCROLLCHILDREN = 0x0001, SW_INVALIDATE = 0x0002, SW_ERASE = 0x0004 };
enum : int {
  GWLP_WNDPROC = -4,
  GWLP_ID = -12,
  GWL_STYLE = -16,
  GWL_EXSTYLE = -20,
  GWLP_USERDATA = -21
};
enum : UINT { GA_PARENT = 1, GA_ROOT = 2 };
enum : UINT { PM_NOREMOVE = 0, PM_REMOVE = 1 };

// ---- System metrics, cursors -----------------------------------------------------------------
enum : int {
  SM_CXSCREEN = 0,
  SM_CYSCREEN = 1,
  SM_CXVSCROLL = 2,
  SM_CYHSCROLL = 3,
  SM_CYCAPTION = 4,
  SM_CXBORDER = 5,
  SM_CYBORDER = 6,
  SM_CYVTHUMB = 9,
  SM_CXHTHUMB = 10,
  SM_CYVSCROLL = 20,
  SM_CXHSCROLL = 21,
  SM_CXDOUBLECLK = 36,
  SM_CYDOUBLECLK = 37,
  SM_DBCSENABLED = 42,
  SM_CXEDGE = 45,
  SM_CYEDGE = 46,
  SM_CXDRAG = 68,
  SM_CYDRAG = 69
};
enum : uintptr_t {
  IDC_ARROW = 32512,
  IDC_IBEAM = 32513,
  IDC_WAIT = 32514,
  IDC_CROSS = 32515,
  IDC_UPARROW = 32516,
  IDC_SIZENWSE = 32642,
  IDC_SIZENESW = 32643,
  IDC_SIZEWE = 32644,
  IDC_SIZENS = 32645,
  IDC_SIZEALL = 32646,
  IDC_NO = 32648,
  IDC_HAND = 32649,
  IDC_APPSTARTING = 32650,
  IDC_HELP = 32651,
  // The class library's own cursors, which it loads from its resources.
  IDC_HSPLIT = 32700,
  IDC_VSPLIT = 32701,
  IDC_DRAG = 32702,
  IDC_NODROP = 32703
};

// ---- Virtual-key codes -----------------------------------------------------------------------
enum : Word {
  VK_LBUTTON = 0x01,
  VK_RBUTTON = 0x02,
  VK_CANCEL = 0x03,
  VK_MBUTTON = 0x04,
  VK_BACK = 0x08,
  VK_TAB = 0x09,
  VK_CLEAR = 0x0C,
  VK_RETURN = 0x0D,
  VK_SHIFT = 0x10,
  VK_CONTROL = 0x11,
  VK_MENU = 0x12,
  VK_PAUSE = 0x13,
  VK_CAPITAL = 0x14,
  VK_ESCAPE = 0x1B,
  VK_SPACE = 0x20,
  VK_PRIOR = 0x21,
  VK_NEXT = 0x22,
  VK_END = 0x23,
  VK_HOME = 0x24,
  VK_LEFT = 0x25,
  VK_UP = 0x26,
  VK_RIGHT = 0x27,
  VK_DOWN = 0x28,
  VK_SELECT = 0x29,
  VK_EXECUTE = 0x2B,
  VK_SNAPSHOT = 0x2C,
  VK_INSERT = 0x2D,
  VK_DELETE = 0x2E,
  VK_HELP = 0x2F,
  VK_LWIN = 0x5B,
  VK_RWIN = 0x5C,
  VK_APPS = 0x5D,
  VK_NUMPAD0 = 0x60,
  VK_MULTIPLY = 0x6A,
  VK_ADD = 0x6B,
  VK_SEPARATOR = 0x6C,
  VK_SUBTRACT = 0x6D,
  VK_DECIMAL = 0x6E,
  VK_DIVIDE = 0x6F,
  VK_F1 = 0x70,
  VK_F2 = 0x71,
  VK_F3 = 0x72,
  VK_F4 = 0x73,
  VK_F5 = 0x74,
  VK_F6 = 0x75,
  VK_F7 = 0x76,
  VK_F8 = 0x77,
  VK_F9 = 0x78,
  VK_F10 = 0x79,
  VK_F11 = 0x7A,
  VK_F12 = 0x7B,
  VK_NUMLOCK = 0x90,
  VK_SCROLL = 0x91,
  VK_LSHIFT = 0xA0,
  VK_RSHIFT = 0xA1,
  VK_LCONTROL = 0xA2,
  VK_RCONTROL = 0xA3,
  VK_LMENU = 0xA4,
  VK_RMENU = 0xA5
};

// ---- Structures ------------------------------------------------------------------------------
struct MSG {
  HWND hwnd = 0;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  TPoint pt;
  // The character a key-down produces; TranslateMessage turns it into WM_CHAR.
  char32_t TranslateChar = 0;
};

struct WNDCLASS {
  UINT style = 0;
  WNDPROC lpfnWndProc = nullptr;
  HCURSOR hCursor = 0;
  TColor hbrBackground = clNone;  // clNone: the window erases nothing itself
  std::string lpszClassName;
};

struct CREATESTRUCT {
  void* lpCreateParams = nullptr;
  HWND hwndParent = 0;
  Integer x = 0, y = 0, cx = 0, cy = 0;
  DWORD style = 0;
  DWORD dwExStyle = 0;
  std::string lpszName;
  std::string lpszClass;
};

struct WINDOWPOS {
  HWND hwnd = 0;
  HWND hwndInsertAfter = 0;
  Integer x = 0, y = 0, cx = 0, cy = 0;
  UINT flags = 0;
};

struct PAINTSTRUCT {
  HDC hdc = nullptr;
  bool fErase = false;
  TRect rcPaint;
};

// ---- Windows ---------------------------------------------------------------------------------
// Registering a class under a name that exists replaces it; windows made before keep theirs.
ATOM RegisterClass(const WNDCLASS& WndClass);
bool UnregisterClass(const std::string& ClassName);
bool GetClassInfo(const std::string& ClassName, WNDCLASS& WndClass);
// lpParam reaches WM_NCCREATE and WM_CREATE in CREATESTRUCT::lpCreateParams.
HWND CreateWindowEx(DWORD ExStyle, const std::string& ClassName, const std::string& WindowName,
                    DWORD Style, Integer X, Integer Y, Integer Width, Integer Height, HWND Parent,
                    void* lpParam = nullptr);
bool DestroyWindow(HWND Wnd);
bool IsWindow(HWND Wnd);
bool IsWindowVisible(HWND Wnd);
bool IsWindowEnabled(HWND Wnd);
bool EnableWindow(HWND Wnd, bool Enable);
bool IsChild(HWND Parent, HWND Wnd);
HWND GetParent(HWND Wnd);
// NewParent 0 makes Wnd a top-level window; returns the old parent (0 for a top-level one).
HWND SetParent(HWND Wnd, HWND NewParent);
HWND GetAncestor(HWND Wnd, UINT Flags);
bool SetWindowPos(HWND Wnd, HWND InsertAfter, Integer X, Integer Y, Integer CX, Integer CY,
                  UINT Flags);
bool MoveWindow(HWND Wnd, Integer X, Integer Y, Integer Width, Integer Height, bool Repaint);
// Returns whether the window was visible before.
bool ShowWindow(HWND Wnd, int CmdShow);
bool GetWindowRect(HWND Wnd, TRect& R);  // screen coordinates
bool GetClientRect(HWND Wnd, TRect& R);  // (0, 0, client width, client height)
// Maps Count points from one window's client coordinates to another's (0 is the screen).
// Returns the offset, x in the low word and y in the high word; 0 with a bad handle.
int MapWindowPoints(HWND From, HWND To, TPoint* Points, UINT Count);
int MapWindowPoints(HWND From, HWND To, TRect& R);
bool ClientToScreen(HWND Wnd, TPoint& P);
bool ScreenToClient(HWND Wnd, TPoint& P);
HWND WindowFromPoint(TPoint ScreenPoint);
LONG_PTR GetWindowLongPtr(HWND Wnd, int Index);
LONG_PTR SetWindowLongPtr(HWND Wnd, int Index, LONG_PTR Value);
bool SetWindowText(HWND Wnd, const std::string& Text);
std::string GetWindowText(HWND Wnd);

// ---- Messages and the queue ------------------------------------------------------------------
LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
bool PostMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
void PostQuitMessage(int ExitCode);
// Filter by window (0: any) and message range (0, 0: all). WM_QUIT comes whatever the filter.
bool PeekMessage(MSG& Msg, HWND Wnd, UINT FilterMin, UINT FilterMax, UINT RemoveMsg);
// Blocks until a message is waiting; false when nothing can ever arrive (a desktop without
// input and without timers). A manual clock jumps ahead to the next timer.
bool WaitMessage();
// 0 for WM_QUIT; -1 when nothing can ever arrive.
int GetMessage(MSG& Msg, HWND Wnd, UINT FilterMin, UINT FilterMax);
bool TranslateMessage(const MSG& Msg);
LRESULT DispatchMessage(const MSG& Msg);
LRESULT DefWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
LRESULT CallWindowProc(WNDPROC Proc, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

// Times in milliseconds from one clock (see Desktop.h for driving it).
Integer GetMessageTime();
DWORD GetTickCount();
UINT GetDoubleClickTime();
bool SetDoubleClickTime(UINT Ms);
uintptr_t SetTimer(HWND Wnd, uintptr_t IDEvent, UINT Elapse, TIMERPROC TimerFunc);
bool KillTimer(HWND Wnd, uintptr_t IDEvent);

// ---- Focus, capture, activation, keyboard state ----------------------------------------------
HWND SetFocus(HWND Wnd);
HWND GetFocus();
HWND SetCapture(HWND Wnd);
bool ReleaseCapture();
HWND GetCapture();
HWND SetActiveWindow(HWND Wnd);
HWND GetActiveWindow();
// Negative while the key is down; bit 0 is the toggle state.
int16_t GetKeyState(int VirtKey);
bool GetCursorPos(TPoint& P);

// ---- Painting --------------------------------------------------------------------------------
bool InvalidateRect(HWND Wnd, const TRect* R, bool Erase);
bool ValidateRect(HWND Wnd, const TRect* R);
bool GetUpdateRect(HWND Wnd, TRect* R, bool Erase);
bool UpdateWindow(HWND Wnd);
HDC BeginPaint(HWND Wnd, PAINTSTRUCT& PS);
bool EndPaint(HWND Wnd, const PAINTSTRUCT& PS);
// A DC on the client area, clipped to what of it is visible. Release every DC you get.
HDC GetDC(HWND Wnd);
int ReleaseDC(HWND Wnd, HDC DC);
// Moves the painted pixels of Scroll (client coordinates, default the client area) by DX, DY
// within Clip; with SW_INVALIDATE what is uncovered joins the update region.
int ScrollWindowEx(HWND Wnd, Integer DX, Integer DY, const TRect* Scroll, const TRect* Clip,
                   TRegion* UpdateRgn, TRect* UpdateRect, UINT Flags);

// ---- Window scroll bars ----------------------------------------------------------------------
// A range of Min = Max removes the bar, any other range shows it.
bool SetScrollRange(HWND Wnd, int Bar, int Min, int Max, bool Redraw);
bool GetScrollRange(HWND Wnd, int Bar, int* Min, int* Max);
// Returns the previous position; the new one is kept within the range.
int SetScrollPos(HWND Wnd, int Bar, int Pos, bool Redraw);
int GetScrollPos(HWND Wnd, int Bar);

// ---- Metrics, cursors, sound, clipboard, input method ----------------------------------------
int GetSystemMetrics(int Index);
// The lines a WM_MOUSEWHEEL delta scrolls, positive towards the top: three a notch, and a
// smooth wheel's part of a notch as soon as it makes a whole line. The rest waits in Pending
// (one per scrolling window, starting at 0) and is dropped when the wheel turns back.
Integer WheelScrollLines(Integer& Pending, Integer Delta);
HCURSOR LoadCursor(uintptr_t Instance, uintptr_t CursorName);
HCURSOR SetCursor(HCURSOR Cursor);
HCURSOR GetCursor();
bool MessageBeep(UINT Type);
bool SetClipboardText(const std::string& Text);
bool GetClipboardText(std::string& Text);
bool IsClipboardTextAvailable();
// The input-method settings a window asked for (mode as the class library numbers them).
bool SetWindowIme(HWND Wnd, int Mode, const std::string& Name);
bool GetWindowIme(HWND Wnd, int& Mode, std::string& Name);
// Where the window's caret is (client coordinates): an input method composes there and keeps
// its candidate window clear of it. Get is false while the window has not said.
bool SetImeCompositionWindow(HWND Wnd, const TRect& Caret);
bool GetImeCompositionWindow(HWND Wnd, TRect& Caret);

struct TSysLocale {
  int DefaultLCID = 0x0409;
  int PriLangID = 0x09;
  int SubLangID = 0x01;
  bool FarEast = false;  // double-byte locale: the input method matters
  bool MiddleEast = false;
};
extern TSysLocale SysLocale;

}  // namespace plumb
