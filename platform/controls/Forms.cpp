// TCustomForm: the active control, focus changes with their exit and enter handlers, Tab
// navigation, activation of the form's window.
//
// Map: parent forms | life | window | active control and focus | activation | dialog keys
//
// How the focus moves: SetFocus of a control asks its form (FocusControl), which records the
// control as ActiveControl and gives its window the focus. The window's WM_SETFOCUS reaches
// the control's WndProc, which calls the form's SetFocusedControl before anything else: that
// walks from the control that had the focus up to the common parent sending CM_EXIT (OnExit),
// then down to the new control sending CM_ENTER (OnEnter). A handler there that moves the
// focus elsewhere wins, and the message that started it is dropped.
#include "controls/Forms.h"

#include <algorithm>

namespace plumb {

// ---- Parent forms ----------------------------------------------------------------------------
TCustomForm* GetParentForm(const TControl* Control) {
  while (Control && Control->GetParent()) Control = Control->GetParent();
  return Control ? dynamic_cast<TCustomForm*>(const_cast<TControl*>(Control)) : nullptr;
}

TCustomForm* ValidParentForm(const TControl* Control) {
  TCustomForm* F = GetParentForm(Control);
  if (!F)
    throw EInvalidOperation("Control '" + (Control ? Control->GetName() : std::string()) +
                            "' has no parent form");
  return F;
}

// ---- Life ------------------------------------------------------------------------------------
TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FVisible = false;
  FColor = clBtnFace;
  FParentColor = false;
  FParentFont = false;
  FParentCtl3D = false;
  FWidth = 320;
  FHeight = 240;
  Screen->AddForm(this);
}

// The controls go while the form is still whole, so their focus bookkeeping finds it.
TCustomForm::~TCustomForm() {
  while (!FControls.empty()) FControls.back()->Free();
  FActiveControl = nullptr;
  FFocusedControl = nullptr;
  Screen->RemoveForm(this);
  if (Application->GetMainForm() == this) Application->SetMainForm(nullptr);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove) {
    if (AComponent == FActiveControl) FActiveControl = nullptr;
    if (AComponent == FFocusedControl) FFocusedControl = nullptr;
  }
  if (FDesigner) FDesigner->Notification(AComponent, Operation);
}

// ---- Window ----------------------------------------------------------------------------------
// A form on its own is a top-level window; placed in another control it is a child.
void TCustomForm::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style &= ~DWORD(WS_TABSTOP);
  if (!FParent && !FParentWindow)
    Params.Style = (Params.Style & ~DWORD(WS_CHILD)) | WS_POPUP | WS_CLIPCHILDREN;
}

void TCustomForm::CMShowingChanged(TMessage& Message) {
  if (FParent || FParentWindow) {
    TWinControl::CMShowingChanged(Message);
    return;
  }
  ShowWindow(FHandle, FShowing ? SW_SHOW : SW_HIDE);
}

void TCustomForm::Close() {
  Hide();
  if (Application->GetMainForm() == this) Application->Terminate();
}

void TCustomForm::WMClose(TMessage&) {
  Close();
}

void TCustomForm::SendCancelMode(TControl* Sender) {
  if (FActive && FActiveControl) FActiveControl->Perform(CM_CANCELMODE, 0, LPARAM(Sender));
}

// ---- Active control and focus ----------------------------------------------------------------
void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) return;
  if (Control && (static_cast<TControl*>(Control) == this || GetParentForm(Control) != this ||
                  !(IsLoading() || Control->CanFocus())))
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  FActiveControl = Control;
  if (!IsLoading() && FActive) SetWindowFocus();
}

void TCustomForm::SetWindowFocus() {
  HWND H = (FActiveControl && !FDesigner) ? FActiveControl->GetHandle() : GetHandle();
  if (H) ::plumb::SetFocus(H);
}

void TCustomForm::SetFocus() {
  if (FActive) return;
  if (!FVisible || !FEnabled)
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* Control) {
  bool WasActive = FActive;
  SetActiveControl(Control);
  if (!WasActive) SetFocus();
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
  if (Removing && FFocusedControl && Control->ContainsControl(FFocusedControl))
    FFocusedControl = Control->GetParent();
  if (Screen->FActiveControl && Control->ContainsControl(Screen->FActiveControl))
    Screen->FActiveControl = nullptr;
  if (FActiveControl && Control->ContainsControl(FActiveControl)) SetActiveControl(nullptr);
}

namespace {
// Sends a focus notification; false when its handler moved the focus.
bool SendFocusMessage(HWND Wnd, UINT Msg) {
  HWND Focus = GetFocus();
  SendMessage(Wnd, Msg, 0, 0);
  return GetFocus() == Focus;
}
}  // namespace

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  if (!FDesigner) FActiveControl = static_cast<TControl*>(Control) != this ? Control : nullptr;
  Screen->FActiveControl = Control;
  Screen->FActiveCustomForm = this;
  if (Control->FControlState.Contains(csFocusing)) return false;
  Control->FControlState.Include(csFocusing);
  struct TUnmark {
    TWinControl* C;
    ~TUnmark() { C->FControlState.Exclude(csFocusing); }
  } Unmark{Control};
  if (Screen->FFocusedForm != this) {
    if (TCustomForm* Old = Screen->FFocusedForm) {
      Screen->FFocusedForm = nullptr;
      if (!SendFocusMessage(Old->GetHandle(), CM_DEACTIVATE)) return false;
    }
    Screen->FFocusedForm = this;
    if (!SendFocusMessage(GetHandle(), CM_ACTIVATE)) return false;
  }
  if (!FFocusedControl) FFocusedControl = this;
  if (FFocusedControl == Control) return true;
  while (FFocusedControl && !FFocusedControl->ContainsControl(Control)) {
    HWND H = FFocusedControl->HandleAllocated() ? FFocusedControl->GetHandle() : 0;
    FFocusedControl = FFocusedControl->GetParent();
    if (!SendFocusMessage(H, CM_EXIT)) return false;
  }
  while (FFocusedControl != Control) {
    TWinControl* Step = Control;
    while (Step->GetParent() != FFocusedControl) Step = Step->GetParent();
    FFocusedControl = Step;
    if (!SendFocusMessage(Step->GetHandle(), CM_ENTER)) return false;
  }
  Perform(CM_FOCUSCHANGED, 0, LPARAM(Control));
  return true;
}

// ---- Activation ------------------------------------------------------------------------------
void TCustomForm::SetActive(bool Value) {
  FActive = Value;
  if (!Value) return;
  if (!FActiveControl && !IsDesigning())
    FActiveControl = FindNextControl(nullptr, true, true, false);
  SetWindowFocus();
}

void TCustomForm::WMActivate(TMessage& Message) {
  SetActive(LOWORD(Message.WParam) != WA_INACTIVE);
}

void TCustomForm::CMActivate(TMessage&) {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::CMDeactivate(TMessage&) {
  if (OnDeactivate) OnDeactivate(this);
}

// ---- Dialog keys -----------------------------------------------------------------------------
// Tab and Shift+Tab move through the tab order; an arrow moves among the active control's
// siblings. Anything else is offered to the controls (a default button would take Enter).
void TCustomForm::CMDialogKey(TMessage& Message) {
  if (GetKeyState(VK_MENU) >= 0) {
    Word Key = Word(Message.WParam);
    if (Key == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
      SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
      Message.Result = 1;
      return;
    }
    if (Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN) {
      if (FActiveControl && FActiveControl->GetParent()) {
        FActiveControl->GetParent()->SelectNext(FActiveControl, Key == VK_RIGHT || Key == VK_DOWN,
                                                false);
        Message.Result = 1;
      }
      return;
    }
  }
  TWinControl::CMDialogKey(Message);
}

void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ACTIVATE:
      WMActivate(Message);
      break;
    case WM_CLOSE:
      WMClose(Message);
      break;
    case CM_ACTIVATE:
      CMActivate(Message);
      break;
    case CM_DEACTIVATE:
      CMDeactivate(Message);
      break;
    case CM_DIALOGKEY:
      CMDialogKey(Message);
      break;
    case CM_SHOWINGCHANGED:
      CMShowingChanged(Message);
      break;
    default:
      inherited::Dispatch(Message);
  }
}

}  // namespace plumb
