// TControl: bounds, parent, visibility, colour and font with their parent-following flags,
// the popup menu, and the mouse messages that become MouseDown, MouseMove, MouseUp, Click and
// DblClick.
//
// Map: shift states | life | properties | painting requests | messages (WndProc, Dispatch) |
// mouse handlers | colour and font notifications
#include <algorithm>

#include "controls/Controls.h"
#include "controls/Forms.h"
#include "controls/Menus.h"
#include "core/Exceptions.h"
#include "win/Messages.h"

namespace plumb {

bool NewStyleControls = true;

// ---- Shift states ----------------------------------------------------------------------------
TShiftState KeysToShiftState(WPARAM Keys) {
  TShiftState S;
  if (Keys & MK_SHIFT) S.Include(ssShift);
  if (Keys & MK_CONTROL) S.Include(ssCtrl);
  if (Keys & MK_LBUTTON) S.Include(ssLeft);
  if (Keys & MK_RBUTTON) S.Include(ssRight);
  if (Keys & MK_MBUTTON) S.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) S.Include(ssAlt);
  return S;
}

// Shift and Ctrl come from the keyboard state as it was when the message was made; Alt from
// the key data itself.
TShiftState KeyDataToShiftState(LPARAM KeyData) {
  TShiftState S;
  if (GetKeyState(VK_SHIFT) < 0) S.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) S.Include(ssCtrl);
  if (uint32_t(KeyData) & KF_ALTDOWN_BIT) S.Include(ssAlt);
  return S;
}

// ---- Life ------------------------------------------------------------------------------------
TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
  FFont->OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
  if (FParent) FParent->RemoveControl(this);
}

// ---- Properties ------------------------------------------------------------------------------
Integer TControl::ClampCoord(Integer Value) {
  constexpr Integer Limit = 1 << 24;
  return std::clamp(Value, -Limit, Limit);
}

void TControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  ALeft = ClampCoord(ALeft);
  ATop = ClampCoord(ATop);
  AWidth = ClampCoord(AWidth);
  AHeight = ClampCoord(AHeight);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  Invalidate();
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  Invalidate();
  RequestAlign();
}

TRect TControl::GetClientRect() {
  return TRect{0, 0, FWidth, FHeight};
}

void TControl::SetClientWidth(Integer Value) {
  SetWidth(FWidth - GetClientWidth() + Value);
}

void TControl::SetClientHeight(Integer Value) {
  SetHeight(FHeight - GetClientHeight() + Value);
}

TPoint TControl::GetClientOrigin() {
  if (!FParent) return TPoint{FLeft, FTop};
  TPoint P = FParent->GetClientOrigin();
  return TPoint{P.X + FLeft, P.Y + FTop};
}

void TControl::SetParentComponent(TComponent* Value) {
  if (auto* Parent = dynamic_cast<TWinControl*>(Value)) SetParent(Parent);
}

void TControl::DescribeProperties(TPropertyList<TControl>& P) {
  P.IntegerProp("Left", &TControl::GetLeft, &TControl::SetLeft);
  P.IntegerProp("Top", &TControl::GetTop, &TControl::SetTop);
  P.IntegerProp("Width", &TControl::GetWidth, &TControl::SetWidth);
  P.IntegerProp("Height", &TControl::GetHeight, &TControl::SetHeight);
}

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  if (static_cast<TControl*>(AParent) == this)
    throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  VisibleChanging();
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, Value ? 1 : 0, 0);
  RequestAlign();
}

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  FAlign = Value;
  RequestAlign();
}

void TControl::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  FParentColor = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool Value) {
  if (FParentColor == Value) return;
  FParentColor = Value;
  if (Value && FParent && !IsLoading()) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value) {
  if (FParentFont == Value) return;
  FParentFont = Value;
  if (Value && FParent && !IsLoading()) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::FontChanged() {
  FParentFont = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED, 0, 0);
}

// Setting a colour, font, hint or 3D look gives up the parent's; a reader that fails and
// sets the old value back must also take the parent's again.
std::function<void()> TControl::SideEffectsUndo() {
  return [this, Color = FParentColor, Font = FParentFont, Hint = FParentShowHint] {
    FParentColor = Color;
    FParentFont = Font;
    FParentShowHint = Hint;
  };
}

void TControl::SetShowHint(bool Value) {
  // The same value again (as a stream holds it) keeps following the parent.
  if (FShowHint == Value) return;
  FShowHint = Value;
  FParentShowHint = false;
}

void TControl::SetParentShowHint(bool Value) {
  if (FParentShowHint == Value) return;
  FParentShowHint = Value;
  if (Value && FParent) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
  if (FPopupMenu == Value) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TControl::SetText(const std::string& Value) {
  if (FText == Value) return;
  FText = Value;
  auto* W = dynamic_cast<TWinControl*>(this);
  if (W && W->HandleAllocated()) SetWindowText(W->GetHandle(), Value);
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::Loaded() {
  inherited::Loaded();
  if (FParent) {
    if (FParentColor) Perform(CM_PARENTCOLORCHANGED, 0, 0);
    if (FParentFont) Perform(CM_PARENTFONTCHANGED, 0, 0);
  }
  RequestAlign();
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

// ---- Painting requests and z-order -----------------------------------------------------------
// A control without a window of its own paints in its parent's.
void TControl::Invalidate() {
  if (!FParent || !FParent->HandleAllocated()) return;
  TRect R = GetBoundsRect();
  InvalidateRect(FParent->GetHandle(), &R, !FControlStyle.Contains(csOpaque));
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  auto* W = dynamic_cast<TWinControl*>(this);
  if (W && W->HandleAllocated())
    SetWindowPos(W->GetHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TControl::SendToBack() {
  auto* W = dynamic_cast<TWinControl*>(this);
  if (W && W->HandleAllocated())
    SetWindowPos(W->GetHandle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TControl::RequestAlign() {
  if (FParent) FParent->Realign();
}

bool TControl::GetMouseCapture() const {
  auto* W = dynamic_cast<TWinControl*>(const_cast<TControl*>(this));
  return W && W->HandleAllocated() && GetCapture() == W->GetHandle();
}

void TControl::SetMouseCapture(bool Value) {
  if (GetMouseCapture() == Value) return;
  auto* W = dynamic_cast<TWinControl*>(this);
  if (Value && W)
    SetCapture(W->GetHandle());
  else if (!Value)
    ReleaseCapture();
}

void TControl::SendCancelMode(TControl* Sender) {
  for (TControl* C = this; C; C = C->FParent)
    if (auto* F = dynamic_cast<TCustomForm*>(C)) F->SendCancelMode(Sender);
}

// ---- Messages --------------------------------------------------------------------------------
LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage M{Msg, WParam, LParam, 0};
  WndProc(M);
  return M.Result;
}

void TControl::WndProc(TMessage& Message) {
  if (IsDesigning()) {
    TCustomForm* F = GetParentForm(this);
    if (F && F->GetDesigner() && F->GetDesigner()->IsDesignMsg(this, Message)) return;
  }
  if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST) {
    bool Dbl = Message.Msg == WM_LBUTTONDBLCLK || Message.Msg == WM_RBUTTONDBLCLK ||
               Message.Msg == WM_MBUTTONDBLCLK;
    if (Dbl && !FControlStyle.Contains(csDoubleClicks))
      Message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
    if (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK)
      FControlState.Include(csLButtonDown);
    else if (Message.Msg == WM_LBUTTONUP)
      FControlState.Exclude(csLButtonDown);
  }
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
      WMMouseMove(Message);
      break;
    case WM_LBUTTONDOWN:
      WMLButtonDown(Message);
      break;
    case WM_LBUTTONDBLCLK:
      WMLButtonDblClk(Message);
      break;
    case WM_LBUTTONUP:
      WMLButtonUp(Message);
      break;
    case WM_RBUTTONDOWN:
      WMRButtonDown(Message);
      break;
    case WM_RBUTTONDBLCLK:
      WMRButtonDblClk(Message);
      break;
    case WM_RBUTTONUP:
      WMRButtonUp(Message);
      break;
    case WM_CANCELMODE:
      WMCancelMode(Message);
      break;
    case WM_CONTEXTMENU:
      WMContextMenu(Message);
      break;
    case CM_COLORCHANGED:
      CMColorChanged(Message);
      break;
    case CM_FONTCHANGED:
      CMFontChanged(Message);
      break;
    case CM_PARENTCOLORCHANGED:
      CMParentColorChanged(Message);
      break;
    case CM_PARENTFONTCHANGED:
      CMParentFontChanged(Message);
      break;
    case CM_PARENTSHOWHINTCHANGED:
      CMParentShowHintChanged(Message);
      break;
    default:
      inherited::Dispatch(Message);
  }
}

// ---- Mouse -----------------------------------------------------------------------------------
void TControl::DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  MouseDown(Button, KeysToShiftState(Message.WParam) + Shift, GET_X_LPARAM(Message.LParam),
            GET_Y_LPARAM(Message.LParam));
}

void TControl::DoMouseUp(TMessage& Message, TMouseButton Button) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  MouseUp(Button, KeysToShiftState(Message.WParam), GET_X_LPARAM(Message.LParam),
          GET_Y_LPARAM(Message.LParam));
}

void TControl::WMMouseMove(TMessage& Message) {
  DefaultHandler(Message);
  if (!FControlStyle.Contains(csNoStdEvents))
    MouseMove(KeysToShiftState(Message.WParam), GET_X_LPARAM(Message.LParam),
              GET_Y_LPARAM(Message.LParam));
}

void TControl::WMLButtonDown(TMessage& Message) {
  SendCancelMode(this);
  DefaultHandler(Message);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
  DoMouseDown(Message, mbLeft, {});
}

void TControl::WMLButtonDblClk(TMessage& Message) {
  SendCancelMode(this);
  DefaultHandler(Message);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) DblClick();
  DoMouseDown(Message, mbLeft, {ssDouble});
}

void TControl::WMLButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
  if (FControlState.Contains(csClicked)) {
    FControlState.Exclude(csClicked);
    if (PtInRect(GetClientRect(), LParamToPoint(Message.LParam))) Click();
  }
  DoMouseUp(Message, mbLeft);
}

void TControl::WMRButtonDown(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseDown(Message, mbRight, {});
}

void TControl::WMRButtonDblClk(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseDown(Message, mbRight, {ssDouble});
}

void TControl::WMRButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseUp(Message, mbRight);
}

// The system takes the pointer away: a press in progress ends with a release at (-1, -1), so
// whatever the press started is finished.
void TControl::WMCancelMode(TMessage& Message) {
  bool Captured = GetMouseCapture();
  DefaultHandler(Message);
  if (!Captured) {
    FControlState.Exclude(csLButtonDown);
    return;
  }
  SetMouseCapture(false);
  if (FControlState.Contains(csLButtonDown)) Perform(WM_LBUTTONUP, 0, MAKELPARAM(-1, -1));
}

void TControl::WMContextMenu(TMessage& Message) {
  if (Message.Result || IsDesigning()) return;
  TPoint P = LParamToPoint(Message.LParam);
  bool FromKeyboard = P.X == -1 && P.Y == -1;
  if (!FromKeyboard && !PtInRect(GetClientRect(), ScreenToClient(P))) {
    DefaultHandler(Message);
    return;
  }
  if (FPopupMenu && FPopupMenu->GetAutoPopup()) {
    SendCancelMode(nullptr);
    FPopupMenu->SetPopupComponent(this);
    if (FromKeyboard) P = ClientToScreen(TPoint{0, 0});
    FPopupMenu->Popup(P.X, P.Y);
    Message.Result = 1;
    return;
  }
  DefaultHandler(Message);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

// ---- Colour and font notifications -----------------------------------------------------------
void TControl::CMColorChanged(TMessage&) {
  Invalidate();
}

void TControl::CMFontChanged(TMessage&) {
  Invalidate();
}

void TControl::CMParentColorChanged(TMessage& Message) {
  if (!FParentColor || !FParent) return;
  SetColor(Message.WParam ? TColor(Message.LParam) : FParent->FColor);
  FParentColor = true;
}

void TControl::CMParentFontChanged(TMessage&) {
  if (!FParentFont || !FParent) return;
  SetFont(FParent->FFont.get());
  FParentFont = true;
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (FParentShowHint && FParent) FShowHint = FParent->FShowHint;
}

}  // namespace plumb
