// The in-place editor: a masked edit laid over the current cell. It owns no data: text, mask
// and length limit come from the grid, the grid decides which keys may change the text, and
// navigation keys, double clicks and key releases go on to the grid.
#include "grid/uCPlumbGrd.h"

namespace plumb {

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  SetParentCtl3D(false);
  SetCtl3D(false);
  SetTabStop(false);
  SetBorderStyle(bsNone);
}

void TInplaceEdit::CreateParams(TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE;
}

bool TInplaceEdit::EditCanModify() {
  return FOwnerGrid->CanEditModify();
}

void TInplaceEdit::Deselect() {
  SendMessage(GetHandle(), EM_SETSEL, 0x7FFFFFFF, LPARAM(-1));
}

void TInplaceEdit::Invalidate() {
  if (!HandleAllocated()) return;
  HWND Wnd = GetHandle();
  ValidateRect(Wnd, nullptr);
  plumb::InvalidateRect(Wnd, nullptr, true);
  TRect R;
  plumb::GetClientRect(Wnd, R);
  HWND GridWnd = FOwnerGrid->GetHandle();
  MapWindowPoints(Wnd, GridWnd, R);
  ValidateRect(GridWnd, &R);
  plumb::InvalidateRect(GridWnd, &R, false);
}

void TInplaceEdit::Hide() {
  if (!HandleAllocated() || !IsWindowVisible(GetHandle())) return;
  Invalidate();
  bool HadFocus = Focused();
  SetWindowPos(GetHandle(), 0, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOREDRAW);
  if (HadFocus) plumb::SetFocus(FOwnerGrid->GetHandle());
}

bool TInplaceEdit::PosEqual(const TRect& Rect) {
  TRect R;
  GetWindowRect(GetHandle(), R);
  MapWindowPoints(0, FOwnerGrid->GetHandle(), R);
  return EqualRect(Rect, R);
}

void TInplaceEdit::InternalMove(const TRect& Loc, bool Redraw) {
  if (IsRectEmpty(Loc)) {
    Hide();
    return;
  }
  CreateHandle();
  Redraw = Redraw || !IsWindowVisible(GetHandle());
  Invalidate();
  SetWindowPos(GetHandle(), HWND_TOP, Loc.Left, Loc.Top + 1, Loc.Right - Loc.Left - 1,
               Loc.Bottom - Loc.Top - 1, SWP_SHOWWINDOW | SWP_NOREDRAW);
  BoundsChanged();
  if (Redraw) Invalidate();
  if (FOwnerGrid->Focused()) plumb::SetFocus(GetHandle());
}

bool TInplaceEdit::Visible() {
  return HandleAllocated() && IsWindowVisible(GetHandle());
}

void TInplaceEdit::SetFocus() {
  if (Visible()) plumb::SetFocus(GetHandle());
}

void TInplaceEdit::BoundsChanged() {
  TRect R{2, 2, GetWidth() - 2, GetHeight()};
  SendMessage(GetHandle(), EM_SETRECTNP, 0, LPARAM(&R));
  SendMessage(GetHandle(), EM_SCROLLCARET, 0, 0);
}

void TInplaceEdit::UpdateContents() {
  SetText("");
  Integer Col = FOwnerGrid->GetCol(), Row = FOwnerGrid->GetRow();
  SetEditMask(FOwnerGrid->GetEditMask(Col, Row));
  SetText(FOwnerGrid->GetEditText(Col, Row));
  SetMaxLength(FOwnerGrid->GetEditLimit());
}

// ---- Keys ------------------------------------------------------------------------------------

void TInplaceEdit::FireGridKeyDown(Word& Key, TShiftState Shift) {
  if (FOwnerGrid->OnKeyDown) FOwnerGrid->OnKeyDown(FOwnerGrid, Key, Shift);
}

void TInplaceEdit::KeyDown(Word& Key, TShiftState Shift) {
  auto PassToGrid = [&] {
    FOwnerGrid->KeyDown(Key, Shift);
    Key = 0;
  };
  switch (Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
      PassToGrid();
      break;
    case VK_TAB:
      if (!Shift.Contains(ssAlt)) PassToGrid();
      break;
    case VK_ESCAPE:
      Reset();
      break;
    case VK_INSERT:
      if (Shift.Empty())
        PassToGrid();
      else if (Shift == TShiftState{ssShift} && !FOwnerGrid->CanEditModify())
        Key = 0;
      break;
    case VK_F2:
      FireGridKeyDown(Key, Shift);
      if (Key == VK_F2) {
        Deselect();
        return;
      }
      break;
    default:
      break;
  }
  if (Key == VK_DELETE && !FOwnerGrid->CanEditModify()) Key = 0;
  if (Key != 0) {
    FireGridKeyDown(Key, Shift);
    TCustomMaskEdit::KeyDown(Key, Shift);
  }
}

void TInplaceEdit::KeyPress(char32_t& Key) {
  FOwnerGrid->KeyPress(Key);
  if (Key >= 32 && Key <= 255 && !FOwnerGrid->CanEditAcceptKey(Key)) {
    Key = 0;
    MessageBeep(0);
  }
  switch (Key) {
    case 9:
    case 27:
      Key = 0;
      break;
    case 13: {
      DWORD Start = 0, End = 0;
      SendMessage(GetHandle(), EM_GETSEL, WPARAM(&Start), LPARAM(&End));
      if (Start == 0 && End == DWORD(GetTextLen()))
        Deselect();
      else
        SelectAll();
      Key = 0;
      break;
    }
    case 8:
    case 22:
    case 24:
      if (!FOwnerGrid->CanEditModify()) Key = 0;
      break;
    default:
      if (Key >= 32 && Key <= 255 && !FOwnerGrid->CanEditModify()) Key = 0;
      break;
  }
  if (Key != 0) TCustomMaskEdit::KeyPress(Key);
}

void TInplaceEdit::KeyUp(Word& Key, TShiftState Shift) {
  FOwnerGrid->KeyUp(Key, Shift);
}

void TInplaceEdit::DblClick() {
  FOwnerGrid->DblClick();
}

// ---- Messages --------------------------------------------------------------------------------

void TInplaceEdit::WndProc(TMessage& Message) {
  if (Message.Msg == WM_SETFOCUS) {
    TCustomForm* Form = GetParentForm(this);
    if (!Form || Form->SetFocusedControl(FOwnerGrid)) Dispatch(Message);
    return;
  }
  if (Message.Msg == WM_LBUTTONDOWN) {
    // The message clock wraps: subtract unsigned, then read the difference as signed.
    if (Integer(uint32_t(GetMessageTime()) - uint32_t(FLastClickTime)) <
        Integer(GetDoubleClickTime()))
      Message.Msg = WM_LBUTTONDBLCLK;
    FLastClickTime = 0;
  }
  TCustomMaskEdit::WndProc(Message);
}

void TInplaceEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_SHOWINGCHANGED:
      CMShowingChanged(Message);
      break;
    case WM_GETDLGCODE:
      WMGetDlgCode(Message);
      break;
    case WM_PASTE:
      WMPaste(Message);
      break;
    case WM_CUT:
      WMCut(Message);
      break;
    case WM_CLEAR:
      WMClear(Message);
      break;
    default:
      TCustomMaskEdit::Dispatch(Message);
  }
}

void TInplaceEdit::CMShowingChanged(TMessage& Message) {
  (void)Message;  // only InternalMove and Hide show or hide the editor
}

void TInplaceEdit::WMGetDlgCode(TMessage& Message) {
  TCustomMaskEdit::Dispatch(Message);
  if (FOwnerGrid->GetOptions().Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
}

void TInplaceEdit::WMPaste(TMessage& Message) {
  if (EditCanModify()) TCustomMaskEdit::Dispatch(Message);
}

void TInplaceEdit::WMCut(TMessage& Message) {
  if (EditCanModify()) TCustomMaskEdit::Dispatch(Message);
}

void TInplaceEdit::WMClear(TMessage& Message) {
  if (EditCanModify()) DefaultHandler(Message);
}

}  // namespace plumb
