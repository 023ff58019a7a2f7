// TWinControl: keys, focus, tab order and the input method.
//
// How a key travels: the application's loop sends WM_KEYDOWN to the focused control first as
// CN_KEYDOWN. For Tab, the arrows, Enter and Escape the control is asked whether it wants the
// key (CM_WANTSPECIALKEY, then WM_GETDLGCODE); when it does not, the form gets CM_DIALOGKEY
// and may use the key (Tab moves the focus), in which case the key goes no further. Otherwise
// WM_KEYDOWN is dispatched: KeyDown and OnKeyDown run, and the character that the key makes
// follows as WM_CHAR (KeyPress, OnKeyPress).
//
// Map: key messages | dialog keys | focus | tab order | input method
#include <algorithm>

#include "controls/Controls.h"
#include "controls/Forms.h"

namespace plumb {

// ---- Key messages ----------------------------------------------------------------------------
bool TWinControl::DoKeyDown(TMessage& Message) {
  TCustomForm* F = GetParentForm(this);
  if (F && F != this && F->GetKeyPreview() && static_cast<TWinControl*>(F)->DoKeyDown(Message))
    return true;
  if (FControlStyle.Contains(csNoStdEvents)) return false;
  Word Key = Word(Message.WParam);
  KeyDown(Key, KeyDataToShiftState(Message.LParam));
  Message.WParam = Key;
  return Key == 0;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  TCustomForm* F = GetParentForm(this);
  if (F && F != this && F->GetKeyPreview() && static_cast<TWinControl*>(F)->DoKeyUp(Message))
    return true;
  if (FControlStyle.Contains(csNoStdEvents)) return false;
  Word Key = Word(Message.WParam);
  KeyUp(Key, KeyDataToShiftState(Message.LParam));
  Message.WParam = Key;
  return Key == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  TCustomForm* F = GetParentForm(this);
  if (F && F != this && F->GetKeyPreview() && static_cast<TWinControl*>(F)->DoKeyPress(Message))
    return true;
  if (FControlStyle.Contains(csNoStdEvents)) return false;
  char32_t Key = char32_t(Message.WParam);
  KeyPress(Key);
  Message.WParam = WPARAM(Key);
  return Key == 0;
}

void TWinControl::WMKeyDown(TMessage& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message) {
  if (!DoKeyPress(Message)) DefaultHandler(Message);
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char32_t& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

// ---- Dialog keys -----------------------------------------------------------------------------
// A result of 1 tells the loop that the form used the key.
void TWinControl::CNKeyDown(TMessage& Message) {
  Message.Result = 1;
  if (!IsDesigning()) {
    if (Perform(CM_CHILDKEY, Message.WParam, LPARAM(this))) return;
    UINT Mask = 0;
    switch (Word(Message.WParam)) {
      case VK_TAB:
        Mask = DLGC_WANTTAB;
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        Mask = DLGC_WANTARROWS;
        break;
      case VK_RETURN:
      case VK_EXECUTE:
      case VK_ESCAPE:
      case VK_CANCEL:
        Mask = DLGC_WANTALLKEYS;
        break;
    }
    if (Mask && !Perform(CM_WANTSPECIALKEY, Message.WParam, Message.LParam) &&
        !(Perform(WM_GETDLGCODE, 0, 0) & Mask)) {
      TCustomForm* F = GetParentForm(this);
      if (F && F->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam)) return;
    }
  }
  Message.Result = 0;
}

void TWinControl::CNChar(TMessage& Message) {
  Message.Result = 1;
  if (!IsDesigning() && !(Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS)) {
    TCustomForm* F = GetParentForm(this);
    if (F && F->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam)) return;
  }
  Message.Result = 0;
}

void TWinControl::CMDialogKey(TMessage& Message) {
  Broadcast(Message);
}

void TWinControl::CMDialogChar(TMessage& Message) {
  Broadcast(Message);
}

// ---- Focus -----------------------------------------------------------------------------------
void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS: {
      TCustomForm* F = GetParentForm(this);
      if (F && !F->SetFocusedControl(this)) return;
      break;
    }
    case WM_KILLFOCUS:
      if (FControlState.Contains(csFocusing)) return;
      break;
  }
  TControl::WndProc(Message);
}

void TWinControl::WMSetFocus(TMessage& Message) {
  DefaultHandler(Message);
  SetIme();
}

void TWinControl::WMKillFocus(TMessage& Message) {
  DefaultHandler(Message);
  ResetIme();
}

void TWinControl::CMEnter(TMessage&) {
  DoEnter();
}

void TWinControl::CMExit(TMessage&) {
  DoExit();
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

// Visible and enabled up to the form; a control on no form cannot take the focus.
bool TWinControl::CanFocus() {
  TCustomForm* F = GetParentForm(this);
  if (!F) return false;
  for (TWinControl* C = this; C && C != F; C = C->FParent)
    if (!C->FVisible || !C->FEnabled) return false;
  return true;
}

bool TWinControl::Focused() const {
  return FHandle && GetFocus() == FHandle;
}

void TWinControl::SetFocus() {
  if (TCustomForm* F = GetParentForm(this))
    F->FocusControl(this);
  else if (FParent || FParentWindow)
    ::plumb::SetFocus(GetHandle());
  else
    ValidParentForm(this);
}

void TWinControl::RemoveFocus(bool Removing) {
  if (TCustomForm* F = GetParentForm(this)) F->DefocusControl(this, Removing);
}

// ---- Tab order -------------------------------------------------------------------------------
void TWinControl::SetTabStop(bool Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  if (FHandle) {
    LONG_PTR S = GetWindowLongPtr(FHandle, GWL_STYLE);
    SetWindowLongPtr(FHandle, GWL_STYLE, Value ? (S | WS_TABSTOP) : (S & ~LONG_PTR(WS_TABSTOP)));
  }
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

int TWinControl::GetTabOrder() const {
  if (!FParent) return -1;
  auto& L = FParent->FTabList;
  return int(std::find(L.begin(), L.end(), this) - L.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (IsLoading()) {
    FTabOrderRead = Value;
    return;
  }
  FTabOrderRead = -1;
  if (!FParent) return;
  auto& L = FParent->FTabList;
  int Cur = GetTabOrder();
  int Count = int(L.size());
  if (Value < 0 || Value >= Count) Value = Count - 1;
  if (Value == Cur) return;
  L.erase(L.begin() + Cur);
  L.insert(L.begin() + Value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
  for (TWinControl* C : FTabList) {
    List.push_back(C);
    C->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward,
                                          bool CheckTabStop, bool CheckParent) {
  std::vector<TWinControl*> L;
  GetTabOrderList(L);
  if (L.empty()) return nullptr;
  int N = int(L.size());
  int Start = int(std::find(L.begin(), L.end(), CurControl) - L.begin());
  if (Start == N) Start = GoForward ? N - 1 : 0;
  int I = Start;
  do {
    I = GoForward ? (I + 1) % N : (I + N - 1) % N;
    TWinControl* C = L[size_t(I)];
    if (C->CanFocus() && (!CheckTabStop || C->FTabStop) && (!CheckParent || C->FParent == this))
      return C;
  } while (I != Start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* C = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop))
    C->SetFocus();
}

// ---- Input method ----------------------------------------------------------------------------
void TWinControl::SetIme() {
  if (SysLocale.FarEast && FHandle) SetWindowIme(FHandle, int(FImeMode), FImeName);
}

void TWinControl::ResetIme() {
  if (SysLocale.FarEast && FHandle) SetWindowIme(FHandle, int(imDontCare), Screen->GetDefaultIme());
}

}  // namespace plumb
