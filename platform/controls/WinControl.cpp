// TWinControl: the window behind a control, and the messages that keep the two in step.
//
// Map: the window procedure | life | the window (CreateParams, create, destroy, recreate,
// showing) | children and alignment | geometry | painting | Dispatch and the handlers of
// geometry, paint, cursor, command and notification messages
//
// Keys, focus and tab order are in WinControlKeys.cpp.
#include <algorithm>

#include "controls/Controls.h"
#include "controls/Forms.h"
#include "core/Exceptions.h"

namespace plumb {

namespace {
// The control whose window is being made: its first message binds window and control.
TWinControl* CreationControl = nullptr;
int MainWndDepth = 0;
}  // namespace

// ---- The window procedure --------------------------------------------------------------------
LRESULT TWinControl::ControlWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* C = reinterpret_cast<TWinControl*>(GetWindowLongPtr(Wnd, GWLP_USERDATA));
  if (!C && CreationControl) {
    C = CreationControl;
    CreationControl = nullptr;
    C->FHandle = Wnd;
    SetWindowLongPtr(Wnd, GWLP_USERDATA, LONG_PTR(C));
  }
  if (!C) return DefWindowProc(Wnd, Msg, WParam, LParam);
  TMessage M{Msg, WParam, LParam, 0};
  C->MainWndProc(M);
  return M.Result;
}

void TWinControl::MainWndProc(TMessage& Message) {
  ++MainWndDepth;
  try {
    WndProc(Message);
  } catch (...) {
    Application->HandleException(this);
  }
  if (--MainWndDepth == 0) TControlCanvas::FreeDeviceContexts();
}

TWinControl* FindControl(HWND Handle) {
  if (!IsWindow(Handle) ||
      GetWindowLongPtr(Handle, GWLP_WNDPROC) != LONG_PTR(&TWinControl::ControlWndProc))
    return nullptr;
  return reinterpret_cast<TWinControl*>(GetWindowLongPtr(Handle, GWLP_USERDATA));
}

// ---- Life ------------------------------------------------------------------------------------
TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

// The window goes last and hears nothing more: what derived from this control is gone.
TWinControl::~TWinControl() {
  RemoveFocus(true);
  while (!FControls.empty()) FControls.back()->Free();  // each one leaves the list itself
  if (FHandle) {
    SetWindowLongPtr(FHandle, GWLP_USERDATA, 0);
    DestroyWindowHandle();
  }
  if (FParent) FParent->RemoveControl(this);
}

// ---- The window ------------------------------------------------------------------------------
HWND TWinControl::GetHandle() {
  if (!FHandle) CreateHandle();
  return FHandle;
}

void TWinControl::SetParentWindow(HWND Value) {
  if (FParent || FParentWindow == Value) return;
  DestroyHandle();
  FParentWindow = Value;
  UpdateControlState();
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params = TCreateParams{};
  Params.Caption = FText;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FControlStyle.Contains(csAcceptsControls)) Params.Style |= WS_CLIPCHILDREN;
  if (!IsDesigning() && !FEnabled) Params.Style |= WS_DISABLED;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  Params.WndParent = FParent ? FParent->FHandle : FParentWindow;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = DefWindowProc;
  Params.WindowClass.hCursor = LoadCursor(0, IDC_ARROW);
  Params.WinClassName = ClassName();
}

void TWinControl::CreateWnd() {
  if (FParent) FParent->HandleNeeded();
  TCreateParams P;
  CreateParams(P);
  if (!P.WndParent && (P.Style & WS_CHILD))
    throw EInvalidOperation("Control '" + GetName() + "' has no parent window");
  FDefWndProc = P.WindowClass.lpfnWndProc;
  WNDCLASS Registered;
  if (!GetClassInfo(P.WinClassName, Registered) || Registered.lpfnWndProc != &ControlWndProc) {
    WNDCLASS C = P.WindowClass;
    C.lpfnWndProc = &ControlWndProc;
    C.lpszClassName = P.WinClassName;
    RegisterClass(C);
  }
  CreationControl = this;
  CreateWindowHandle(P);
  CreationControl = nullptr;
  if (!FHandle) throw EOutOfResources("Error creating window for '" + GetName() + "'");
  UpdateBounds();
}

void TWinControl::CreateWindowHandle(const TCreateParams& P) {
  FHandle = CreateWindowEx(P.ExStyle, P.WinClassName, P.Caption, P.Style, P.X, P.Y, P.Width,
                           P.Height, P.WndParent, P.Param);
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  CreateWnd();
  if (!FParent) return;
  // Keep the windows' z-order that of the parent's list: later controls lie above.
  auto& L = FParent->FTabList;
  auto It = std::find(L.begin(), L.end(), this);
  HWND Above = HWND_TOP;
  for (++It; It < L.end(); ++It)
    if ((*It)->FHandle) {
      Above = (*It)->FHandle;
      break;
    }
  SetWindowPos(FHandle, Above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::DestroyWindowHandle() {
  FControlState.Include(csDestroyingHandle);
  // The handle stays valid while the window goes: focus moving away still needs it.
  DestroyWindow(FHandle);
  FHandle = 0;
  FShowing = false;
  FControlState.Exclude(csDestroyingHandle);
}

void TWinControl::DestroyWnd() {
  TControlCanvas::FreeDeviceContexts();
  DestroyWindowHandle();
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TWinControl* C : std::vector<TWinControl*>(FTabList)) C->DestroyHandle();
  DestroyWnd();
}

void TWinControl::RecreateWnd() {
  if (FHandle) Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::CMRecreateWnd(TMessage&) {
  bool WasFocused = Focused();
  DestroyHandle();
  UpdateControlState();
  if (WasFocused && FHandle) ::plumb::SetFocus(FHandle);
}

void TWinControl::UpdateShowing() {
  bool Show = (FVisible || (IsDesigning() && !FControlStyle.Contains(csNoDesignVisible))) &&
              !FControlState.Contains(csReadingState);
  if (Show) {
    if (!FHandle) CreateHandle();
    for (TWinControl* C : std::vector<TWinControl*>(FTabList)) C->UpdateShowing();
  }
  if (!FHandle || FShowing == Show) return;
  FShowing = Show;
  try {
    Perform(CM_SHOWINGCHANGED, 0, 0);
  } catch (...) {
    FShowing = !Show;
    throw;
  }
}

// Shows or hides the window when every parent up to a form (or a foreign window) is showing.
void TWinControl::UpdateControlState() {
  TWinControl* C = this;
  while (C->FParent) {
    C = C->FParent;
    if (!C->FShowing) return;
  }
  if (C->Is<TCustomForm>() || C->FParentWindow) UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage&) {
  UINT Show = FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
  SetWindowPos(FHandle, 0, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | Show);
}

// ---- Children and alignment ------------------------------------------------------------------
void TWinControl::Insert(TControl* AControl) {
  FControls.push_back(AControl);
  if (auto* W = dynamic_cast<TWinControl*>(AControl)) FTabList.push_back(W);
  AControl->FParent = this;
}

void TWinControl::Remove(TControl* AControl) {
  FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
  FTabList.erase(std::remove_if(FTabList.begin(), FTabList.end(),
                                [AControl](TWinControl* W) { return W == AControl; }),
                 FTabList.end());
  AControl->FParent = nullptr;
}

void TWinControl::InsertControl(TControl* AControl) {
  Insert(AControl);
  if (!AControl->FControlState.Contains(csReadingState)) {
    AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    if (auto* W = dynamic_cast<TWinControl*>(AControl)) {
      W->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
      W->UpdateControlState();
    } else if (HandleAllocated()) {
      AControl->Invalidate();
    }
  }
  Realign();
}

void TWinControl::RemoveControl(TControl* AControl) {
  if (auto* W = dynamic_cast<TWinControl*>(AControl)) {
    W->RemoveFocus(true);
    W->DestroyHandle();
  } else if (HandleAllocated()) {
    AControl->Invalidate();
  }
  Remove(AControl);
  Realign();
}

bool TWinControl::ContainsControl(const TControl* Control) const {
  while (Control && Control != this) Control = Control->FParent;
  return Control == this;
}

void TWinControl::Broadcast(TMessage& Message) {
  for (TControl* C : std::vector<TControl*>(FControls)) {
    C->WndProc(Message);
    if (Message.Result) return;
  }
}

void TWinControl::NotifyControls(UINT Msg) {
  for (TControl* C : std::vector<TControl*>(FControls)) C->Perform(Msg, 0, 0);
}

// Aligned children take their edge of what is left of the client area, in the order top,
// bottom, left, right, and the client-aligned ones take the rest.
void TWinControl::AlignControls(TControl*, TRect& R) {
  for (TAlign A : {alTop, alBottom, alLeft, alRight, alClient})
    for (TControl* C : std::vector<TControl*>(FControls)) {
      if (C->FAlign != A || !C->FVisible) continue;
      Integer W = std::max(0, R.Width()), H = std::max(0, R.Height());
      switch (A) {
        case alTop:
          C->SetBounds(R.Left, R.Top, W, C->FHeight);
          R.Top += C->FHeight;
          break;
        case alBottom:
          C->SetBounds(R.Left, R.Bottom - C->FHeight, W, C->FHeight);
          R.Bottom -= C->FHeight;
          break;
        case alLeft:
          C->SetBounds(R.Left, R.Top, C->FWidth, H);
          R.Left += C->FWidth;
          break;
        case alRight:
          C->SetBounds(R.Right - C->FWidth, R.Top, C->FWidth, H);
          R.Right -= C->FWidth;
          break;
        default:
          C->SetBounds(R.Left, R.Top, W, H);
      }
    }
}

void TWinControl::Realign() {
  if (FAlignLevel || IsLoading() ||
      std::none_of(FControls.begin(), FControls.end(),
                   [](TControl* C) { return C->FAlign != alNone; }))
    return;
  ++FAlignLevel;
  TRect R = GetClientRect();
  try {
    AlignControls(nullptr, R);
  } catch (...) {
    --FAlignLevel;
    throw;
  }
  --FAlignLevel;
}

// ---- Geometry --------------------------------------------------------------------------------
void TWinControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  ALeft = ClampCoord(ALeft);
  ATop = ClampCoord(ATop);
  AWidth = ClampCoord(AWidth);
  AHeight = ClampCoord(AHeight);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  if (FHandle)
    SetWindowPos(FHandle, 0, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  RequestAlign();
}

namespace {
// The frame a window made from these parameters would have.
TRect FrameOf(const TCreateParams& P) {
  Integer B = ((P.Style & WS_BORDER) ? 1 : 0) + ((P.ExStyle & WS_EX_CLIENTEDGE) ? 2 : 0);
  TRect I{B, B, B, B};
  if (P.Style & WS_VSCROLL) I.Right += GetSystemMetrics(SM_CXVSCROLL);
  if (P.Style & WS_HSCROLL) I.Bottom += GetSystemMetrics(SM_CYHSCROLL);
  return I;
}
}  // namespace

TRect TWinControl::GetClientRect() {
  TRect R;
  if (FHandle && ::plumb::GetClientRect(FHandle, R)) return R;
  TCreateParams P;
  CreateParams(P);
  TRect I = FrameOf(P);
  return TRect{0, 0, std::max(0, FWidth - I.Left - I.Right),
               std::max(0, FHeight - I.Top - I.Bottom)};
}

TPoint TWinControl::GetClientOrigin() {
  TPoint P{0, 0};
  if (FHandle && ::plumb::ClientToScreen(FHandle, P)) return P;
  TCreateParams CP;
  CreateParams(CP);
  TRect I = FrameOf(CP);
  P = FParent ? FParent->GetClientOrigin() : TPoint{0, 0};
  return TPoint{P.X + FLeft + I.Left, P.Y + FTop + I.Top};
}

void TWinControl::UpdateBounds() {
  TRect R;
  if (!GetWindowRect(FHandle, R)) return;
  if (HWND P = ::plumb::GetParent(FHandle)) MapWindowPoints(0, P, R);
  FLeft = R.Left;
  FTop = R.Top;
  FWidth = R.Width();
  FHeight = R.Height();
}

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::Loaded() {
  inherited::Loaded();
  // Children read with a tab order take it, in one stable sort, so that a saved form reads
  // back in the order it was saved whatever order its controls were created in.
  if (std::any_of(FTabList.begin(), FTabList.end(),
                  [](TWinControl* C) { return C->FTabOrderRead >= 0; })) {
    std::vector<std::pair<int, TWinControl*>> Keyed;
    for (size_t I = 0; I < FTabList.size(); ++I) {
      TWinControl* C = FTabList[I];
      Keyed.emplace_back(C->FTabOrderRead >= 0 ? C->FTabOrderRead : int(I), C);
    }
    std::stable_sort(Keyed.begin(), Keyed.end(),
                     [](const auto& A, const auto& B) { return A.first < B.first; });
    for (size_t I = 0; I < Keyed.size(); ++I) {
      FTabList[I] = Keyed[I].second;
      Keyed[I].second->FTabOrderRead = -1;
    }
  }
  // Read without its parent: nothing else will place it.
  if (FTabOrderRead >= 0 && (!FParent || !FParent->IsLoading())) SetTabOrder(FTabOrderRead);
  Realign();
}

// ---- Painting --------------------------------------------------------------------------------
void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintHandler(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  if (DC) {
    PaintWindow(DC);
    return;
  }
  PAINTSTRUCT PS;
  DC = BeginPaint(FHandle, PS);
  HWND H = FHandle;
  try {
    PaintWindow(DC);
  } catch (...) {
    EndPaint(H, PS);
    throw;
  }
  EndPaint(H, PS);
}

void TWinControl::WMPaint(TMessage& Message) {
  if (FControlState.Contains(csCustomPaint))
    PaintHandler(Message);
  else
    DefaultHandler(Message);
}

void TWinControl::WMEraseBkgnd(TMessage& Message) {
  FillRect(reinterpret_cast<HDC>(Message.WParam), GetClientRect(), FColor);
  Message.Result = 1;
}

// ---- Dispatch --------------------------------------------------------------------------------
void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      WMPaint(Message);
      break;
    case WM_ERASEBKGND:
      WMEraseBkgnd(Message);
      break;
    case WM_SETFOCUS:
      WMSetFocus(Message);
      break;
    case WM_KILLFOCUS:
      WMKillFocus(Message);
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      WMKeyDown(Message);
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      WMKeyUp(Message);
      break;
    case WM_CHAR:
      WMChar(Message);
      break;
    case WM_SIZE:
      WMSize(Message);
      break;
    case WM_MOVE:
      WMMove(Message);
      break;
    case WM_WINDOWPOSCHANGED:
      WMWindowPosChanged(Message);
      break;
    case WM_SETCURSOR:
      WMSetCursor(Message);
      break;
    case WM_COMMAND:
      WMCommand(Message);
      break;
    case WM_NCDESTROY:
      WMNCDestroy(Message);
      break;
    default:
      if (Message.Msg >= CM_BASE)
        DispatchControlMessage(Message);
      else
        inherited::Dispatch(Message);
  }
}

// The class library's own messages: CM_ notifications and CN_ reflections.
void TWinControl::DispatchControlMessage(TMessage& Message) {
  switch (Message.Msg) {
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
      CNKeyDown(Message);
      break;
    case CN_CHAR:
      CNChar(Message);
      break;
    case CM_ENTER:
      CMEnter(Message);
      break;
    case CM_EXIT:
      CMExit(Message);
      break;
    case CM_SHOWINGCHANGED:
      CMShowingChanged(Message);
      break;
    case CM_VISIBLECHANGED:
      CMVisibleChanged(Message);
      break;
    case CM_ENABLEDCHANGED:
      CMEnabledChanged(Message);
      break;
    case CM_COLORCHANGED:
      CMColorChanged(Message);
      break;
    case CM_FONTCHANGED:
      CMFontChanged(Message);
      break;
    case CM_CURSORCHANGED:
      CMCursorChanged(Message);
      break;
    case CM_CTL3DCHANGED:
      CMCtl3DChanged(Message);
      break;
    case CM_PARENTCTL3DCHANGED:
      CMParentCtl3DChanged(Message);
      break;
    case CM_DIALOGKEY:
      CMDialogKey(Message);
      break;
    case CM_DIALOGCHAR:
      CMDialogChar(Message);
      break;
    case CM_RECREATEWND:
      CMRecreateWnd(Message);
      break;
    default:
      inherited::Dispatch(Message);
  }
}

// The pointer is over the control: show its new cursor now.
void TWinControl::CMCursorChanged(TMessage&) {
  if (!FHandle || GetCapture()) return;
  TPoint P;
  GetCursorPos(P);
  if (WindowFromPoint(P) == FHandle)
    SendMessage(FHandle, WM_SETCURSOR, FHandle, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (FHandle)
    Message.Result =
        CallWindowProc(FDefWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
  else
    inherited::DefaultHandler(Message);
}

void TWinControl::WMSize(TMessage& Message) {
  UpdateBounds();
  DefaultHandler(Message);
  Realign();
}

void TWinControl::WMMove(TMessage& Message) {
  UpdateBounds();
  DefaultHandler(Message);
}

void TWinControl::WMWindowPosChanged(TMessage& Message) {
  UpdateBounds();
  DefaultHandler(Message);
}

void TWinControl::WMNCDestroy(TMessage& Message) {
  DefaultHandler(Message);
  FHandle = 0;
  FShowing = false;
}

void TWinControl::WMSetCursor(TMessage& Message) {
  if (HWND(Message.WParam) == FHandle && int16_t(LOWORD(uintptr_t(Message.LParam))) == HTCLIENT) {
    TCursor C = Screen->GetCursor();
    if (C == crDefault) C = FCursor;
    if (C != crDefault) {
      ::plumb::SetCursor(Screen->GetCursors(C));
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(Message);
}

// A child's notification goes back to the child control as CN_COMMAND.
void TWinControl::WMCommand(TMessage& Message) {
  TWinControl* C = Message.LParam ? FindControl(HWND(Message.LParam)) : nullptr;
  if (C && C != this) {
    Message.Result = C->Perform(CN_COMMAND, Message.WParam, Message.LParam);
    return;
  }
  DefaultHandler(Message);
}

void TWinControl::CMVisibleChanged(TMessage&) {
  if (!FVisible && FParent) RemoveFocus(false);
  if (!IsDesigning() || FControlStyle.Contains(csNoDesignVisible)) UpdateControlState();
}

void TWinControl::CMEnabledChanged(TMessage&) {
  if (!FEnabled && FParent) RemoveFocus(false);
  if (FHandle && !IsDesigning()) EnableWindow(FHandle, FEnabled);
}

void TWinControl::CMColorChanged(TMessage& Message) {
  TControl::CMColorChanged(Message);
  NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMFontChanged(TMessage& Message) {
  TControl::CMFontChanged(Message);
  NotifyControls(CM_PARENTFONTCHANGED);
}

std::function<void()> TWinControl::SideEffectsUndo() {
  return [Base = TControl::SideEffectsUndo(), this, Ctl3D = FParentCtl3D] {
    Base();
    FParentCtl3D = Ctl3D;
  };
}

void TWinControl::SetCtl3D(bool Value) {
  if (FCtl3D == Value) return;
  FCtl3D = Value;
  FParentCtl3D = false;
  Perform(CM_CTL3DCHANGED, 0, 0);
}

void TWinControl::SetParentCtl3D(bool Value) {
  if (FParentCtl3D == Value) return;
  FParentCtl3D = Value;
  if (Value && FParent && !IsLoading()) Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TWinControl::CMCtl3DChanged(TMessage&) {
  NotifyControls(CM_PARENTCTL3DCHANGED);
}

void TWinControl::CMParentCtl3DChanged(TMessage& Message) {
  if (!FParentCtl3D || !FParent) return;
  SetCtl3D(Message.WParam ? Message.LParam != 0 : FParent->FCtl3D);
  FParentCtl3D = true;
}

}  // namespace plumb
