// TCustomEdit: the control, and the window procedure of the edit class.
//
// Map: life and properties | the control's messages (Dispatch) | the edit window procedure
// (text, EM_ messages, mouse, clipboard) | user changes and EN_CHANGE
//
// How a keystroke travels: WM_KEYDOWN reaches TWinControl::WMKeyDown, which runs KeyDown and
// OnKeyDown; a key they leave goes to DefaultHandler, so to EditWndProc and the key table in
// EditKeys.cpp (caret moves, Delete, Shift+Insert, ...). The character follows as WM_CHAR:
// KeyPress and OnKeyPress first, then the character table (typing, Backspace, Ctrl+V, ...).
// A user change goes through UserEdit, which repaints and tells the parent with EN_CHANGE.
// Measuring and painting are in EditPaint.cpp.
#include <algorithm>

#include "controls/Forms.h"
#include "controls/StdCtrls.h"

namespace plumb {

// ---- Life and properties ---------------------------------------------------------------------
TCustomEdit::TCustomEdit(TComponent* AOwner)
    : TWinControl(AOwner), FPaintCanvas(std::make_unique<TCanvas>()) {
  SetBounds(0, 0, 121, 21);
  FTabStop = true;
  FParentColor = false;
  FColor = clWindow;
}

TCustomEdit::~TCustomEdit() = default;

void TCustomEdit::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= ES_LEFT | ES_AUTOHSCROLL;
  if (GetReadOnly()) Params.Style |= ES_READONLY;
  if (FBorderStyle == bsSingle) {
    if (FCtl3D)
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      Params.Style |= WS_BORDER;
  }
  Params.WindowClass.lpfnWndProc = &EditWndProc;
  Params.WindowClass.hCursor = LoadCursor(0, IDC_IBEAM);
}

void TCustomEdit::SetText(const std::string& Value) {
  std::string Old = FBuffer.GetText();
  FBuffer.SetText(Value);
  TextSet(FBuffer.GetText() != Old);
}

void TCustomEdit::TextSet(bool Changed) {
  FText = GetText();
  FScrollX = 0;
  ScrollCaret();
  Redraw();
  if (Changed) Change();
}

void TCustomEdit::SetMaxLength(int Value) {
  FMaxLength = Value;
  FBuffer.SetMaxLength(Value);
}

void TCustomEdit::SetReadOnly(bool Value) {
  FBuffer.SetReadOnly(Value);
  if (!FHandle) return;
  LONG_PTR S = GetWindowLongPtr(FHandle, GWL_STYLE);
  SetWindowLongPtr(FHandle, GWL_STYLE, Value ? (S | ES_READONLY) : (S & ~LONG_PTR(ES_READONLY)));
}

void TCustomEdit::SetHideSelection(bool Value) {
  FHideSelection = Value;
  Redraw();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomEdit::SetSelStart(int Value) {
  FBuffer.SetSel(Value, Value);
  CaretMoved();
}

void TCustomEdit::SetSelLength(int Value) {
  int Start = FBuffer.SelStart();
  FBuffer.SetSel(Start, Start + std::max(0, Value));
  CaretMoved();
}

void TCustomEdit::SelectAll() {
  FBuffer.SelectAll();
  CaretMoved();
}

void TCustomEdit::ClearSelection() {
  SendMessage(GetHandle(), WM_CLEAR, 0, 0);
}
void TCustomEdit::CopyToClipboard() {
  SendMessage(GetHandle(), WM_COPY, 0, 0);
}
void TCustomEdit::CutToClipboard() {
  SendMessage(GetHandle(), WM_CUT, 0, 0);
}
void TCustomEdit::PasteFromClipboard() {
  SendMessage(GetHandle(), WM_PASTE, 0, 0);
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

// Tabbing into an edit selects its text, so that typing replaces it; a click places the
// caret instead, and a multi-line host (the grid's editor) selects for itself.
void TCustomEdit::DoEnter() {
  if (FAutoSelect && !FControlState.Contains(csLButtonDown) && FHandle &&
      !(GetWindowLongPtr(FHandle, GWL_STYLE) & ES_MULTILINE))
    SelectAll();
  inherited::DoEnter();
}

// ---- The control's messages ------------------------------------------------------------------
void TCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;  // the paint covers every pixel
      break;
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == EN_CHANGE) Change();
      break;
    case CM_TEXTCHANGED:
      // TControl::SetText stored FText; without a window the buffer has yet to follow.
      if (FText != GetText()) {
        std::string Old = FBuffer.GetText();
        FBuffer.SetText(FText);
        TextSet(FBuffer.GetText() != Old);
      }
      break;
    case CM_FONTCHANGED:
      FFontValid = false;
      inherited::Dispatch(Message);
      break;
    case CM_CTL3DCHANGED:
      if (FBorderStyle == bsSingle) RecreateWnd();
      inherited::Dispatch(Message);
      break;
    case CM_ENABLEDCHANGED:
      inherited::Dispatch(Message);
      Redraw();
      break;
    default:
      inherited::Dispatch(Message);
  }
}

// The edit's own painting, also for a descendant that paints around it first.
void TCustomEdit::PaintWindow(HDC DC) {
  TMessage M{WM_PAINT, WPARAM(DC), 0, 0};
  DefaultHandler(M);
}

// ---- The edit window procedure ---------------------------------------------------------------
LRESULT TCustomEdit::EditWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* E = dynamic_cast<TCustomEdit*>(FindControl(Wnd));
  TMessage M{Msg, WParam, LParam, 0};
  if (E && E->EditMessage(M)) return M.Result;
  return DefWindowProc(Wnd, Msg, WParam, LParam);
}

bool TCustomEdit::EditMessage(TMessage& M) {
  if (M.Msg >= WM_MOUSEFIRST && M.Msg <= WM_MOUSELAST) return EditMouse(M);
  if (M.Msg >= EM_GETSEL && M.Msg <= EM_GETLIMITTEXT) return EditControlMessage(M);
  switch (M.Msg) {
    case WM_PAINT:
      if (M.WParam) {
        PaintEdit(reinterpret_cast<HDC>(M.WParam));
      } else {
        PAINTSTRUCT PS;
        PaintEdit(BeginPaint(FHandle, PS));
        EndPaint(FHandle, PS);
      }
      return true;
    case WM_KEYDOWN:
      EditKeyDown(Word(M.WParam));
      return true;
    case WM_CHAR:
      EditChar(char32_t(M.WParam));
      return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      FMouseSelecting = false;
      Redraw();
      return true;
    case WM_GETDLGCODE:
      M.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
      // A multi-line edit keeps Enter (and Escape) from the dialog keys.
      if (GetWindowLongPtr(FHandle, GWL_STYLE) & ES_MULTILINE) M.Result |= DLGC_WANTALLKEYS;
      return true;
    case WM_SETTEXT: {
      std::string Old = FBuffer.GetText();
      FBuffer.SetText(M.LParam ? reinterpret_cast<const char*>(M.LParam) : "");
      TextSet(FBuffer.GetText() != Old);
      M.Result = 1;
      return true;
    }
    case WM_GETTEXT:
      if (M.LParam) *reinterpret_cast<std::string*>(M.LParam) = FBuffer.GetText();
      [[fallthrough]];
    case WM_GETTEXTLENGTH:
      M.Result = LRESULT(FBuffer.GetText().size());
      return true;
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR:
      EditClipboard(M.Msg);
      return true;
    case WM_SIZE:
      ScrollCaret();
      return false;
    default:
      return false;
  }
}

bool TCustomEdit::EditControlMessage(TMessage& M) {
  switch (M.Msg) {
    case EM_GETSEL: {
      DWORD Start = DWORD(FBuffer.SelStart()), End = Start + DWORD(FBuffer.SelLength());
      if (M.WParam) *reinterpret_cast<DWORD*>(M.WParam) = Start;
      if (M.LParam) *reinterpret_cast<DWORD*>(M.LParam) = End;
      M.Result = (Start > 0xFFFF || End > 0xFFFF) ? LRESULT(-1) : LRESULT(Start | (End << 16));
      return true;
    }
    case EM_SETSEL:
      EditSetSel(Integer(int32_t(uint32_t(M.WParam))), Integer(int32_t(M.LParam)));
      return true;
    case EM_GETRECT:
      if (M.LParam) *reinterpret_cast<TRect*>(M.LParam) = FormatRect();
      return true;
    case EM_SETRECT:
    case EM_SETRECTNP:
      FHasFormatRect = M.LParam != 0;
      if (M.LParam) FFormatRect = *reinterpret_cast<const TRect*>(M.LParam);
      ScrollCaret();
      if (M.Msg == EM_SETRECT) Redraw();
      return true;
    case EM_SCROLLCARET:
      if (ScrollCaret()) Redraw();
      M.Result = 1;
      return true;
    case EM_GETMODIFY:
      M.Result = FBuffer.GetModified();
      return true;
    case EM_SETMODIFY:
      FBuffer.SetModified(M.WParam != 0);
      return true;
    case EM_LIMITTEXT:
      SetMaxLength(Integer(int32_t(uint32_t(M.WParam))));
      return true;
    case EM_GETLIMITTEXT:
      M.Result = FMaxLength;
      return true;
    case EM_SETREADONLY:
      SetReadOnly(M.WParam != 0);
      M.Result = 1;
      return true;
    default:
      return false;
  }
}

// A start of -1 drops the selection where the caret is; an end of -1 means the end of the
// text, and positions past the end are the end (so 2147483647, -1 puts the caret there).
void TCustomEdit::EditSetSel(Integer Start, Integer End) {
  if (Start < 0)
    FBuffer.MoveTo(FBuffer.Caret(), false);
  else
    FBuffer.SetSel(Start, End < 0 ? FBuffer.Length() : End);
  CaretMoved();
}

bool TCustomEdit::EditMouse(TMessage& M) {
  TPoint P = LParamToPoint(M.LParam);
  switch (M.Msg) {
    case WM_LBUTTONDOWN:
      if (!TakeFocus()) return true;
      FBuffer.MoveTo(PosFromX(P.X), (M.WParam & MK_SHIFT) != 0);
      FMouseSelecting = true;
      CaretMoved();
      return true;
    case WM_LBUTTONDBLCLK:
      if (!TakeFocus()) return true;
      FBuffer.SelectWordAt(PosFromX(P.X, false));
      FMouseSelecting = false;
      CaretMoved();
      return true;
    case WM_MOUSEMOVE:
      if (FMouseSelecting && (M.WParam & MK_LBUTTON)) {
        FBuffer.MoveTo(PosFromX(P.X), true);
        CaretMoved();
      }
      return true;
    case WM_LBUTTONUP:
      FMouseSelecting = false;
      return true;
    default:
      return false;
  }
}

// A press gives the edit the focus; the focus change runs host code (OnEnter, OnExit) that
// may free the edit, so the caller goes on only when it still exists.
bool TCustomEdit::TakeFocus() {
  HWND H = FHandle;
  if (GetFocus() != H) ::plumb::SetFocus(H);
  return FindControl(H) == this;
}

void TCustomEdit::Redraw() {
  if (FHandle) InvalidateRect(FHandle, nullptr, false);
}

void TCustomEdit::EditClipboard(UINT Msg) {
  if (Msg == WM_CUT) DoCut();
  if (Msg == WM_COPY) DoCopy();
  if (Msg == WM_PASTE) DoPaste();
  if (Msg == WM_CLEAR) DoClear();
}

void TCustomEdit::DoCopy() {
  if (FBuffer.SelLength() > 0) SetClipboardText(FBuffer.SelText());
}

void TCustomEdit::DoCut() {
  if (FBuffer.SelLength() == 0 || !CanUserModify()) return;
  SetClipboardText(FBuffer.SelText());
  UserEdit(FBuffer.ClearSelection());
}

void TCustomEdit::DoPaste() {
  std::string T;
  if (!CanUserModify() || !GetClipboardText(T) || T.empty()) return;
  UserEdit(FBuffer.InsertText(T));
}

void TCustomEdit::DoClear() {
  if (FBuffer.SelLength() == 0 || !CanUserModify()) return;
  UserEdit(FBuffer.ClearSelection());
}

// ---- User changes and EN_CHANGE --------------------------------------------------------------
// Read-only text and a descendant's refusal drop the change silently.
bool TCustomEdit::CanUserModify() {
  return !FBuffer.GetReadOnly() && EditCanModify();
}

void TCustomEdit::UserEdit(TEditResult Result) {
  if (Result == erRefused) {
    MessageBeep(0);
    return;
  }
  if (Result == erChanged) FText = GetText();
  CaretMoved();
  if (Result == erChanged) NotifyChange();
}

void TCustomEdit::CaretMoved() {
  ScrollCaret();
  Redraw();
}

// The parent hears of the change last: its handler may do anything, even free this edit.
void TCustomEdit::NotifyChange() {
  if (!FHandle) return;
  HWND Parent = ::plumb::GetParent(FHandle);
  if (!Parent) return;
  WPARAM Id = MAKEWPARAM(int(GetWindowLongPtr(FHandle, GWLP_ID)), EN_CHANGE);
  SendMessage(Parent, WM_COMMAND, Id, LPARAM(FHandle));
}

}  // namespace plumb
