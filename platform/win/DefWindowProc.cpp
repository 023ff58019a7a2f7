// DefWindowProc: what a window does with a message its own procedure leaves alone.
//
// WM_GETTEXT hands the text over in the std::string that lParam points to.
#include "win/WinSystem.h"

namespace plumb {

using namespace win;

namespace {

LRESULT HitTest(TWnd* W, LPARAM LParam) {
  TPoint P = LParamToPoint(LParam);
  TRect R;
  GetWindowRect(W->Handle, R);
  if (!PtInRect(R, P)) return HTNOWHERE;
  P = TPoint{P.X - R.Left, P.Y - R.Top};
  TRect I = NCInsets(W), C = ClientRect(W);
  OffsetRect(C, I.Left, I.Top);
  if (PtInRect(C, P)) return HTCLIENT;
  LRESULT Bar = BarHitTest(W, P);
  return Bar != HTNOWHERE ? Bar : LRESULT(HTBORDER);
}

LRESULT SetCursorDefault(TWnd* W, WPARAM WParam, LPARAM LParam) {
  // A parent may choose the cursor for its children.
  if (W->Parent && (W->Style & WS_CHILD) &&
      SendMessage(W->Parent->Handle, WM_SETCURSOR, WParam, LParam))
    return 1;
  if (!(W = Find(W->Handle))) return 0;
  if (int16_t(LOWORD(uintptr_t(LParam))) != HTCLIENT) {
    SetCursor(LoadCursor(0, IDC_ARROW));
    return 1;
  }
  if (!W->Class.hCursor) return 0;
  SetCursor(W->Class.hCursor);
  return 1;
}

LRESULT MouseActivateDefault(TWnd* W, WPARAM WParam, LPARAM LParam) {
  if (W->Parent && (W->Style & WS_CHILD))
    if (LRESULT R = SendMessage(W->Parent->Handle, WM_MOUSEACTIVATE, WParam, LParam)) return R;
  return (W->ExStyle & WS_EX_NOACTIVATE) ? MA_NOACTIVATE : MA_ACTIVATE;
}

void PosChangedDefault(TWnd* W, const WINDOWPOS* WP) {
  HWND H = W->Handle;
  if (!(WP->flags & SWP_NOCLIENTMOVE)) {
    TRect C = ClientRectInParent(W);
    SendMessage(H, WM_MOVE, 0, MAKELPARAM(C.Left, C.Top));
  }
  if (!(WP->flags & SWP_NOCLIENTSIZE) && (W = Find(H))) {
    TRect C = ClientRect(W);
    SendMessage(H, WM_SIZE, SIZE_RESTORED, MAKELPARAM(C.Width(), C.Height()));
  }
}

// The pointer in the frame (scroll bars), the context menu a right click asks for, the wheel.
LRESULT PointerDefault(TWnd* W, UINT Msg, WPARAM WParam, LPARAM LParam) {
  HWND Wnd = W->Handle;
  switch (Msg) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (WParam == WPARAM(HTVSCROLL)) StartBarTracking(W, SB_VERT, LParamToPoint(LParam));
      if (WParam == WPARAM(HTHSCROLL)) StartBarTracking(W, SB_HORZ, LParamToPoint(LParam));
      return 0;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONUP:
      BarTrackingMouse(W, Msg, LParamToPoint(LParam));
      return 0;
    case WM_RBUTTONUP: {
      TPoint P = LParamToPoint(LParam);
      ClientToScreen(Wnd, P);
      SendMessage(Wnd, WM_CONTEXTMENU, Wnd, PointToLParam(P));
      return 0;
    }
    case WM_NCRBUTTONUP:
      SendMessage(Wnd, WM_CONTEXTMENU, Wnd, LParam);
      return 0;
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:  // a child that does not scroll lets its parent do it
      if (W->Parent && (W->Style & WS_CHILD))
        return SendMessage(W->Parent->Handle, Msg, WParam, LParam);
      return 0;
    default:
      return 0;
  }
}

}  // namespace

LRESULT DefWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TWnd* W = Find(Wnd);
  if (!W) return 0;
  switch (Msg) {
    case WM_NCCREATE:
      if (auto* CS = reinterpret_cast<const CREATESTRUCT*>(LParam)) W->Text = CS->lpszName;
      return 1;
    case WM_NCHITTEST:
      return HitTest(W, LParam);
    case WM_NCPAINT:
      DrawNonClient(W);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT PS;
      BeginPaint(Wnd, PS);
      EndPaint(Wnd, PS);
      return 0;
    }
    case WM_ERASEBKGND:
      if (W->Class.hbrBackground == clNone) return 0;
      FillRect(reinterpret_cast<HDC>(WParam), ClientRect(W), W->Class.hbrBackground);
      return 1;
    case WM_SETCURSOR:
      return SetCursorDefault(W, WParam, LParam);
    case WM_MOUSEACTIVATE:
      return MouseActivateDefault(W, WParam, LParam);
    case WM_ACTIVATE:
      if (LOWORD(WParam) != WA_INACTIVE) {
        TWnd* F = Find(GetFocus());
        if (!F || !IsAncestorOrSelf(W, F)) SetFocus(Wnd);
      }
      return 0;
    case WM_CANCELMODE:
      if (Sys().Track.Active && Sys().Track.Wnd == Wnd) EndBarTracking(true);
      if (GetCapture() == Wnd) ReleaseCapture();
      return 0;
    case WM_WINDOWPOSCHANGED:
      PosChangedDefault(W, reinterpret_cast<const WINDOWPOS*>(LParam));
      return 0;
    case WM_SETTEXT:
      W->Text = LParam ? reinterpret_cast<const char*>(LParam) : "";
      return 1;
    case WM_GETTEXT:
      if (LParam) *reinterpret_cast<std::string*>(LParam) = W->Text;
      return LRESULT(W->Text.size());
    case WM_GETTEXTLENGTH:
      return LRESULT(W->Text.size());
    case WM_CLOSE:
      DestroyWindow(Wnd);
      return 0;
    default:
      return PointerDefault(W, Msg, WParam, LParam);
  }
}

}  // namespace plumb
