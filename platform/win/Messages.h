#pragma once
// Message numbers and the codes they carry: the Win32 window messages, the class library's
// control messages (CM_*) and the notifications it reflects back to a child control (CN_*).
#include "core/Object.h"

namespace plumb {

using UINT = uint32_t;

// ---- Window messages -------------------------------------------------------------------------
enum : UINT {
  WM_NULL = 0x0000,
  WM_CREATE = 0x0001,
  WM_DESTROY = 0x0002,
  WM_MOVE = 0x0003,
  WM_SIZE = 0x0005,
  WM_ACTIVATE = 0x0006,
  WM_SETFOCUS = 0x0007,
  WM_KILLFOCUS = 0x0008,
  WM_ENABLE = 0x000A,
  WM_SETTEXT = 0x000C,
  WM_GETTEXT = 0x000D,
  WM_GETTEXTLENGTH = 0x000E,
  WM_PAINT = 0x000F,
  WM_CLOSE = 0x0010,
  WM_QUIT = 0x0012,
  WM_ERASEBKGND = 0x0014,
  WM_SHOWWINDOW = 0x0018,
  WM_CANCELMODE = 0x001F,
  WM_SETCURSOR = 0x0020,
  WM_MOUSEACTIVATE = 0x0021,
  WM_WINDOWPOSCHANGED = 0x0047,
  WM_CONTEXTMENU = 0x007B,
  WM_NCCREATE = 0x0081,
  WM_NCDESTROY = 0x0082,
  WM_NCHITTEST = 0x0084,
  WM_NCPAINT = 0x0085,
  WM_GETDLGCODE = 0x0087,
  WM_NCMOUSEMOVE = 0x00A0,
  WM_NCLBUTTONDOWN = 0x00A1,
  WM_NCLBUTTONUP = 0x00A2,
  WM_NCLBUTTONDBLCLK = 0x00A3,
  WM_NCRBUTTONDOWN = 0x00A4,
  WM_NCRBUTTONUP = 0x00A5,
  WM_NCRBUTTONDBLCLK = 0x00A6,
  WM_KEYFIRST = 0x0100,
  WM_KEYDOWN = 0x0100,
  WM_KEYUP = 0x0101,
  WM_CHAR = 0x0102,
  WM_SYSKEYDOWN = 0x0104,
  WM_SYSKEYUP = 0x0105,
  WM_SYSCHAR = 0x0106,
  WM_KEYLAST = 0x0108,
  WM_IME_STARTCOMPOSITION = 0x010D,
  WM_IME_ENDCOMPOSITION = 0x010E,
  WM_IME_COMPOSITION = 0x010F,
  WM_COMMAND = 0x0111,
  WM_TIMER = 0x0113,
  WM_HSCROLL = 0x0114,
  WM_VSCROLL = 0x0115,
  WM_MOUSEFIRST = 0x0200,
  WM_MOUSEMOVE = 0x0200,
  WM_LBUTTONDOWN = 0x0201,
  WM_LBUTTONUP = 0x0202,
  WM_LBUTTONDBLCLK = 0x0203,
  WM_RBUTTONDOWN = 0x0204,
  WM_RBUTTONUP = 0x0205,
  WM_RBUTTONDBLCLK = 0x0206,
  WM_MBUTTONDOWN = 0x0207,
  WM_MBUTTONUP = 0x0208,
  WM_MBUTTONDBLCLK = 0x0209,
  WM_MOUSEWHEEL = 0x020A,
  WM_MOUSELAST = 0x020A,
  WM_CAPTURECHANGED = 0x0215,
  WM_CUT = 0x0300,
  WM_COPY = 0x0301,
  WM_PASTE = 0x0302,
  WM_CLEAR = 0x0303,
  WM_UNDO = 0x0304,
  WM_USER = 0x0400
};

// ---- Control messages of the class library -------------------------------------------------
enum : UINT {
  CM_BASE = 0xB000,
  CM_ACTIVATE = CM_BASE + 0,
  CM_DEACTIVATE = CM_BASE + 1,
  CM_GOTFOCUS = CM_BASE + 2,
  CM_LOSTFOCUS = CM_BASE + 3,
  CM_CANCELMODE = CM_BASE + 4,
  CM_DIALOGKEY = CM_BASE + 5,
  CM_DIALOGCHAR = CM_BASE + 6,
  CM_FOCUSCHANGED = CM_BASE + 7,
  CM_PARENTFONTCHANGED = CM_BASE + 8,
  CM_PARENTCOLORCHANGED = CM_BASE + 9,
  CM_HITTEST = CM_BASE + 10,
  CM_VISIBLECHANGED = CM_BASE + 11,
  CM_ENABLEDCHANGED = CM_BASE + 12,
  CM_COLORCHANGED = CM_BASE + 13,
  CM_FONTCHANGED = CM_BASE + 14,
  CM_CURSORCHANGED = CM_BASE + 15,
  CM_CTL3DCHANGED = CM_BASE + 16,
  CM_PARENTCTL3DCHANGED = CM_BASE + 17,
  CM_TEXTCHANGED = CM_BASE + 18,
  CM_MOUSEENTER = CM_BASE + 19,
  CM_MOUSELEAVE = CM_BASE + 20,
  CM_SHOWINGCHANGED = CM_BASE + 25,
  CM_ENTER = CM_BASE + 26,
  CM_EXIT = CM_BASE + 27,
  CM_DESIGNHITTEST = CM_BASE + 28,
  CM_WANTSPECIALKEY = CM_BASE + 30,
  CM_RELEASE = CM_BASE + 33,
  CM_SHOWHINTCHANGED = CM_BASE + 34,
  CM_PARENTSHOWHINTCHANGED = CM_BASE + 35,
  CM_TABSTOPCHANGED = CM_BASE + 40,
  CM_UIACTIVATE = CM_BASE + 41,
  CM_CHILDKEY = CM_BASE + 46,
  CM_RECREATEWND = CM_BASE + 51,
  // A parent hands a child's notification back to the child as CN_BASE + the message.
  CN_BASE = 0xBC00,
  CN_COMMAND = CN_BASE + WM_COMMAND,
  CN_KEYDOWN = CN_BASE + WM_KEYDOWN,
  CN_KEYUP = CN_BASE + WM_KEYUP,
  CN_CHAR = CN_BASE + WM_CHAR,
  CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN,
  CN_SYSCHAR = CN_BASE + WM_SYSCHAR
};

// ---- Codes carried by messages ---------------------------------------------------------------
// WM_VSCROLL / WM_HSCROLL request codes (low word of wParam); the bar identifiers.
enum : int {
  SB_LINEUP = 0,
  SB_LINELEFT = 0,
  SB_LINEDOWN = 1,
  SB_LINERIGHT = 1,
  SB_PAGEUP = 2,
  SB_PAGELEFT = 2,
  SB_PAGEDOWN = 3,
  SB_PAGERIGHT = 3,
  SB_THUMBPOSITION = 4,
  SB_THUMBTRACK = 5,
  SB_TOP = 6,
  SB_LEFT = 6,
  SB_BOTTOM = 7,
  SB_RIGHT = 7,
  SB_ENDSCROLL = 8
};
enum : int { SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3 };

// WM_NCHITTEST results.
enum : int {
  HTERROR = -2,
  HTTRANSPARENT = -1,
  HTNOWHERE = 0,
  HTCLIENT = 1,
  HTCAPTION = 2,
  HTHSCROLL = 6,
  HTVSCROLL = 7,
  HTBORDER = 18,
  HTSIZE = 4,
  HTGROWBOX = 4
};

// WM_GETDLGCODE answers.
enum : UINT {
  DLGC_WANTARROWS = 0x0001,
  DLGC_WANTTAB = 0x0002,
  DLGC_WANTALLKEYS = 0x0004,
  DLGC_WANTMESSAGE = 0x0004,
  DLGC_HASSETSEL = 0x0008,
  DLGC_WANTCHARS = 0x0080
};

// Mouse message key flags (wParam).
enum : UINT {
  MK_LBUTTON = 0x0001,
  MK_RBUTTON = 0x0002,
  MK_SHIFT = 0x0004,
  MK_CONTROL = 0x0008,
  MK_MBUTTON = 0x0010
};

// WM_MOUSEWHEEL: the delta of one notch of the wheel (high word of wParam, signed).
enum : int { WHEEL_DELTA = 120 };

// Edit notifications (high word of WM_COMMAND's wParam).
enum : UINT { EN_SETFOCUS = 0x0100, EN_KILLFOCUS = 0x0200, EN_CHANGE = 0x0300, EN_UPDATE = 0x0400 };

// WM_ACTIVATE states, WM_SIZE kinds, WM_MOUSEACTIVATE answers.
enum : UINT { WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2 };
enum : UINT { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };
enum : UINT { MA_ACTIVATE = 1, MA_ACTIVATEANDEAT = 2, MA_NOACTIVATE = 3 };

// Bits of the key data (lParam) of key messages.
enum : uint32_t {
  KF_EXTENDED_BIT = 0x01000000,
  KF_ALTDOWN_BIT = 0x20000000,
  KF_REPEAT_BIT = 0x40000000,
  KF_UP_BIT = 0x80000000
};

// ---- Packing helpers -------------------------------------------------------------------------
constexpr LPARAM MAKELPARAM(int Lo, int Hi) {
  return LPARAM(int32_t(uint32_t(uint16_t(Lo)) | (uint32_t(uint16_t(Hi)) << 16)));
}
constexpr WPARAM MAKEWPARAM(int Lo, int Hi) {
  return WPARAM(uint32_t(uint16_t(Lo)) | (uint32_t(uint16_t(Hi)) << 16));
}
constexpr Word LOWORD(uintptr_t V) {
  return Word(V & 0xFFFF);
}
constexpr Word HIWORD(uintptr_t V) {
  return Word((V >> 16) & 0xFFFF);
}
// Mouse coordinates travel as two signed 16-bit values.
constexpr Integer GET_X_LPARAM(LPARAM L) {
  return Integer(int16_t(uint16_t(L & 0xFFFF)));
}
constexpr Integer GET_Y_LPARAM(LPARAM L) {
  return Integer(int16_t(uint16_t((L >> 16) & 0xFFFF)));
}
constexpr LPARAM PointToLParam(TPoint P) {
  return MAKELPARAM(P.X, P.Y);
}
constexpr TPoint LParamToPoint(LPARAM L) {
  return TPoint{GET_X_LPARAM(L), GET_Y_LPARAM(L)};
}

}  // namespace plumb
