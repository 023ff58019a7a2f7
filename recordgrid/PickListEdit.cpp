// The record grid's editor with its button. Sections: style per row; button geometry and
// drawing; opening and closing the lists; keys; mouse and button tracking; the messages it
// handles itself. What a closed list or a commit writes into the record is in
// RecordValues.cpp.
//
// A choice from the pick list: the press on the arrow opens the list (OpenList); dragging into
// it hands the press over; the release in the list runs CloseList(true) through the list's
// OnMouseUp (the chosen string becomes the text, then the commit: OnValidate, StoreEditText,
// OnSetText), and once more through the list's own MouseUp, with the list already closed.
#include <algorithm>

#include "controls/Forms.h"
#include "core/Utf8.h"
#include "recordgrid/uPlumbGrid.h"

namespace plumb {

TPlumbGridInplaceEdit::TPlumbGridInplaceEdit(TComponent* AOwner) : TInplaceEdit(AOwner) {
  FLookupDataSource = new TDataSource(this);
  FEditButtonWidth = GetSystemMetrics(SM_CXVSCROLL);
}

TPlumbGrid* TPlumbGridInplaceEdit::Grid() const {
  return static_cast<TPlumbGrid*>(GetGrid());
}

namespace {
TColumn* ColumnAt(TPlumbGrid* Grid, Integer Row) {
  TPlumbGridColumns* C = Grid ? Grid->GetColumns() : nullptr;
  return C && Row >= 0 && Row < C->Count() ? C->GetColumn(Row) : nullptr;
}
}  // namespace

TColumn* TPlumbGridInplaceEdit::EditedColumn() {
  return Grid() ? ColumnAt(Grid(), Grid()->FEditorCell.Y) : nullptr;
}

TColumn* TPlumbGridInplaceEdit::CurrentColumn() {
  return Grid() ? ColumnAt(Grid(), Grid()->GetRow()) : nullptr;
}

// ---- Style per row ---------------------------------------------------------------------------

TEditorStyle TPlumbGridInplaceEdit::StyleFor(TColumn* Column) {
  if (Column->GetButtonStyle() == cbsEllipsis) return edsEllipsis;
  if (Column->GetButtonStyle() == cbsNone) return edsPlain;
  TPlumbGrid* G = Grid();
  TEditorStyle Style = edsPlain;
  TField* Field = Column->GetField();
  if (Field && Field->GetLookup()) {
    TField* Key =
        Field->GetDataSet() ? Field->GetDataSet()->FindField(Field->GetKeyFields()) : nullptr;
    bool OwnReadOnly = Column->GetAssignedValues().Contains(cvReadOnly) && Column->GetReadOnly();
    if (Key && Key->GetCanModify() && !OwnReadOnly && !G->GetReadOnly() &&
        G->FGridLink->GetActive() && !G->FGridLink->GetReadOnly())
      Style = edsLookupList;
  } else if (Field && FieldShowsPlaceholder(Field) && G->OnEditButtonClick) {
    Style = edsEllipsis;
  }
  // A pick list wins over both.
  if (Column->HasPickList() && Column->GetPickList()->Count() > 0 && !Column->GetReadOnly())
    Style = edsPickList;
  return Style;
}

void TPlumbGridInplaceEdit::UpdateContents() {
  TColumn* Column = CurrentColumn();
  if (Column) {
    SetReadOnly(Column->GetReadOnly());
    SetEditorStyle(StyleFor(Column));
  }
  TInplaceEdit::UpdateContents();
  if (Grid()) Grid()->NoteEditorLoaded(GetText());
}

void TPlumbGridInplaceEdit::SetEditorStyle(TEditorStyle Value) {
  if (Value == FEditorStyle) return;
  if (FListShown) CloseList(false);  // the open list belongs to the style that goes
  FEditorStyle = Value;
  auto Prepare = [this](TCustomListBox* List) {
    List->SetVisible(false);
    List->SetParent(this);
    List->OnMouseUp = [this](TObject* S, TMouseButton B, TShiftState Sh, Integer X, Integer Y) {
      ListMouseRelease(S, B, Sh, X, Y);
    };
  };
  if (Value == edsPickList) {
    if (!FPickListBox) {
      FPickListBox = new TPopupListbox(this);
      Prepare(FPickListBox);
      FPickListBox->SetIntegralHeight(true);
      FPickListBox->SetItemHeight(11);
    }
    FCurrentList = FPickListBox;
  } else if (Value == edsLookupList) {
    if (!FLookupListBox) {
      FLookupListBox = new TPopupDataList(this);
      Prepare(FLookupListBox);
    }
    FCurrentList = FLookupListBox;
  } else {
    FCurrentList = nullptr;
  }
  if (TColumn* Column = CurrentColumn()) SetReadOnly(Column->GetReadOnly());
  Repaint();
}

// ---- Button geometry and drawing -------------------------------------------------------------

TRect TPlumbGridInplaceEdit::ButtonRect() {
  if (FEditorStyle == edsPlain) return TRect{};
  return TRect{GetWidth() - FEditButtonWidth, 0, GetWidth(), GetHeight()};
}

void TPlumbGridInplaceEdit::BoundsChanged() {
  TRect R{2, 2, GetWidth() - 2, GetHeight()};
  if (FEditorStyle != edsPlain) R.Right -= FEditButtonWidth;
  SendMessage(GetHandle(), EM_SETRECTNP, 0, LPARAM(&R));
  SendMessage(GetHandle(), EM_SCROLLCARET, 0, 0);
  if (SysLocale.FarEast)
    SetImeCompositionWindow(GetHandle(), TRect{R.Left, R.Top, R.Left + 1, R.Bottom});
}

void TPlumbGridInplaceEdit::PaintWindow(HDC DC) {
  if (FEditorStyle != edsPlain) {
    TRect R = ButtonRect();
    if (FEditorStyle == edsEllipsis) {
      DrawEdge(DC, R, EDGE_RAISED, BF_RECT | BF_MIDDLE | (FButtonDown ? UINT(BF_FLAT) : 0u));
      TRect B = ButtonRect();
      Integer W = std::max(GetHeight() / 8, 1);
      Integer O = (B.Right - B.Left) / 2 - 1 + (FButtonDown ? 1 : 0);
      for (Integer DX : {-2 * W, 0, 2 * W}) PatBlt(DC, B.Left + O + DX, B.Top + O, W, W, BLACKNESS);
    } else {
      UINT State = DFCS_SCROLLCOMBOBOX | (FButtonDown ? UINT(DFCS_PUSHED | DFCS_FLAT) : 0u);
      DrawFrameControl(DC, R, DFC_SCROLL, State);
    }
    TRect B = ButtonRect();
    ExcludeClipRect(DC, B.Left, B.Top, B.Right, B.Bottom);
  }
  TInplaceEdit::PaintWindow(DC);
}

void TPlumbGridInplaceEdit::TrackEditButton(Integer X, Integer Y) {
  bool Down = PtInRect(ButtonRect(), TPoint{X, Y});
  if (Down == FButtonDown) return;
  FButtonDown = Down;
  TRect R = ButtonRect();
  plumb::InvalidateRect(GetHandle(), &R, false);
}

void TPlumbGridInplaceEdit::EndButtonTracking() {
  if (!FButtonTracking) return;
  TrackEditButton(-1, -1);
  FButtonTracking = false;
  SetMouseCapture(false);
}

// ---- Opening and closing the lists -----------------------------------------------------------

void TPlumbGridInplaceEdit::OpenList() {
  TColumn* Column = CurrentColumn();
  if (FListShown || !FCurrentList || !Column) return;
  FCurrentList->SetWidth(GetWidth());
  if (FCurrentList == FLookupListBox)
    ShowLookupList(Column);
  else
    ShowPickList(Column);
  PlaceList();
  FListShown = true;
  Invalidate();
  plumb::SetFocus(GetHandle());
}

void TPlumbGridInplaceEdit::ShowLookupList(TColumn* Column) {
  TField* Field = Column->GetField();
  FLookupListBox->SetColor(GetColor());
  FLookupListBox->SetFont(GetFont());
  FLookupListBox->SetRowCount(int(Column->GetDropDownRows()));
  FLookupDataSource->SetDataSet(Field->GetLookupDataSet());
  FLookupListBox->SetKeyFieldName(Field->GetLookupKeyFields());
  FLookupListBox->SetListFieldName(Field->GetLookupResultField());
  FLookupListBox->SetListSource(FLookupDataSource);
  FLookupListBox->SetKeyValue(
      Field->GetDataSet()->FieldByName(Field->GetKeyFields())->GetAsVariant());
}

void TPlumbGridInplaceEdit::ShowPickList(TColumn* Column) {
  TStrings* Items = Column->GetPickList();
  FPickListBox->SetColor(GetColor());
  FPickListBox->SetFont(GetFont());
  FPickListBox->SetItems(Items);
  int Rows = std::min(Items->Count(), int(Column->GetDropDownRows()));
  FPickListBox->SetHeight(FPickListBox->GetItemHeight() * Rows + 4);
  int Index;
  if (TField* Field = Column->GetField())
    Index = Field->IsNull() ? -1 : Items->IndexOf(Field->GetAsVariant().ToString());
  else
    Index = Items->IndexOf(GetText());
  FPickListBox->SetItemIndex(Index);
  Integer Widest = FPickListBox->GetClientWidth();
  for (int I = 0; I < Items->Count(); ++I)
    Widest = std::max(Widest, FPickListBox->GetCanvas()->TextWidth(Items->Get(I)));
  FPickListBox->SetClientWidth(Widest);
}

// Below the editor, or above it when the list would pass the bottom of the screen.
void TPlumbGridInplaceEdit::PlaceList() {
  TPoint P = ClientToScreen(TPoint{0, 0});
  Integer Top = P.Y + GetHeight();
  if (Top + FCurrentList->GetHeight() > Screen->GetHeight()) Top = P.Y - FCurrentList->GetHeight();
  SetWindowPos(FCurrentList->GetHandle(), HWND_TOP, P.X, Top, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TPlumbGridInplaceEdit::CloseList(bool Accept) {
  if (FListShown && FCurrentList) {
    if (HWND Captured = GetCapture()) SendMessage(Captured, WM_CANCELMODE, 0, 0);
    Variant ListValue;
    bool Chosen = false;
    if (FCurrentList == FLookupListBox) {
      ListValue = FLookupListBox->GetKeyValue();
      Chosen = true;
    } else if (FPickListBox && FPickListBox->GetItemIndex() >= 0) {
      ListValue = FPickListBox->GetItems()->Get(FPickListBox->GetItemIndex());
      Chosen = true;
    }
    SetWindowPos(FCurrentList->GetHandle(), 0, 0, 0, 0, 0,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    FListShown = false;
    if (FLookupListBox) FLookupListBox->SetListSource(nullptr);
    FLookupDataSource->SetDataSet(nullptr);
    Invalidate();
    if (Accept) {
      if (FCurrentList == FLookupListBox) {
        if (ApplyLookupChoice(ListValue)) return;  // the key went in; no text to commit
      } else if (Chosen && EditCanModify()) {
        SetText(ListValue.ToString());
      }
    }
  }
  if (Accept) CommitText();
}

void TPlumbGridInplaceEdit::ListMouseRelease(TObject* Sender, TMouseButton Button,
                                             TShiftState Shift, Integer X, Integer Y) {
  (void)Sender;
  (void)Shift;
  if (Button == mbLeft && FCurrentList)
    CloseList(PtInRect(FCurrentList->GetClientRect(), TPoint{X, Y}));
}

// ---- Keys ------------------------------------------------------------------------------------

void TPlumbGridInplaceEdit::HandleListKeys(Word& Key, TShiftState Shift) {
  bool Alt = Shift.Contains(ssAlt);
  if ((Key == VK_UP || Key == VK_DOWN) && Alt) {
    if (FListShown)
      CloseList(true);
    else
      OpenList();
    Key = 0;
  } else if ((Key == VK_RETURN || Key == VK_ESCAPE) && FListShown && !Alt) {
    CloseList(Key == VK_RETURN);
    Key = 0;
  }
}

void TPlumbGridInplaceEdit::WndProc(TMessage& Message) {
  bool KeyMessage =
      Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN || Message.Msg == WM_CHAR;
  if (KeyMessage && (FEditorStyle == edsPickList || FEditorStyle == edsLookupList)) {
    Word Key = Word(Message.WParam);
    HandleListKeys(Key, KeyDataToShiftState(Message.LParam));
    if (Key != 0 && FListShown) {
      Message.Result =
          SendMessage(FCurrentList->GetHandle(), Message.Msg, Message.WParam, Message.LParam);
      return;
    }
    if (Key == 0) Message.WParam = 0;  // handled here: the edit and the grid see no key
  }
  TInplaceEdit::WndProc(Message);
}

void TPlumbGridInplaceEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (FEditorStyle == edsEllipsis && Key == VK_RETURN && Shift == TShiftState{ssCtrl}) {
    if (TColumn* Column = EditedColumn()) Column->EditButtonClick();
    DropPendingMessage(GetHandle(), WM_CHAR);  // the character Ctrl+Enter makes
    return;
  }
  TInplaceEdit::KeyDown(Key, Shift);
}

void DropPendingMessage(HWND Window, UINT Msg) {
  MSG M;
  if (PeekMessage(M, Window, Msg, Msg, PM_REMOVE) && M.message == WM_QUIT)
    PostQuitMessage(int(M.wParam));
}

// ---- Mouse and button tracking ---------------------------------------------------------------

void TPlumbGridInplaceEdit::MouseDown(TMouseButton Button, TShiftState Shift, Integer X,
                                      Integer Y) {
  if (Button == mbLeft && FEditorStyle != edsPlain && PtInRect(ButtonRect(), TPoint{X, Y})) {
    if (FListShown) {
      CloseList(false);
    } else {
      SetMouseCapture(true);
      FButtonTracking = true;
      TrackEditButton(X, Y);
      if (FCurrentList) OpenList();
    }
  }
  TInplaceEdit::MouseDown(Button, Shift, X, Y);
}

void TPlumbGridInplaceEdit::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (FButtonTracking) {
    TrackEditButton(X, Y);
    if (FListShown) {
      TPoint P = FCurrentList->ScreenToClient(ClientToScreen(TPoint{X, Y}));
      if (PtInRect(FCurrentList->GetClientRect(), P)) {
        EndButtonTracking();
        SendMessage(FCurrentList->GetHandle(), WM_LBUTTONDOWN, 0, MAKELPARAM(P.X, P.Y));
        return;
      }
    }
  }
  TInplaceEdit::MouseMove(Shift, X, Y);
}

void TPlumbGridInplaceEdit::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  bool WasDown = FButtonDown;
  EndButtonTracking();
  if (Button == mbLeft && FEditorStyle == edsEllipsis && WasDown)
    if (TColumn* Column = EditedColumn()) Column->EditButtonClick();
  TInplaceEdit::MouseUp(Button, Shift, X, Y);
}

// ---- Messages --------------------------------------------------------------------------------

void TPlumbGridInplaceEdit::CMCancelMode(TMessage& Message) {
  auto* Sender = reinterpret_cast<TControl*>(Message.LParam);
  if (Sender != this && Sender != FCurrentList) CloseList(false);
}

void TPlumbGridInplaceEdit::WMCancelMode(TMessage& Message) {
  EndButtonTracking();
  TInplaceEdit::Dispatch(Message);
}

void TPlumbGridInplaceEdit::WMKillFocus(TMessage& Message) {
  if (SysLocale.FarEast) {
    SetImeName(Screen ? Screen->GetDefaultIme() : TImeName());
    SetImeMode(imDontCare);
  }
  TInplaceEdit::Dispatch(Message);
  CloseList(GetModified());
}

void TPlumbGridInplaceEdit::WMLButtonDblClk(TMessage& Message) {
  if (FEditorStyle != edsPlain) {
    if (PtInRect(ButtonRect(), LParamToPoint(Message.LParam))) return;
    if (FEditorStyle == edsPickList) CyclePickList();
  }
  TInplaceEdit::Dispatch(Message);
}

// A double click on a pick-list row's text takes the next string (the first after the last)
// and commits it.
void TPlumbGridInplaceEdit::CyclePickList() {
  TColumn* Column = CurrentColumn();
  if (!Column || !Column->HasPickList() || Column->GetPickList()->Count() == 0) return;
  TStrings* Items = Column->GetPickList();
  int I = Items->IndexOf(GetText());
  if (I >= 0) SetText(Items->Get((I + 1) % Items->Count()));
  SetModified(true);
  if (Column->OnSetEditText)
    Column->OnSetEditText(this, Grid()->GetRow(), Items, Variant(GetText()));
  CloseList(true);
}

void TPlumbGridInplaceEdit::WMSetCursor(TMessage& Message) {
  if (FEditorStyle != edsPlain) {
    TPoint P;
    GetCursorPos(P);
    if (PtInRect(ButtonRect(), ScreenToClient(P))) {
      plumb::SetCursor(LoadCursor(0, IDC_ARROW));
      Message.Result = 1;
      return;
    }
  }
  TInplaceEdit::Dispatch(Message);
}

void TPlumbGridInplaceEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_CANCELMODE:
      CMCancelMode(Message);
      break;
    case WM_CANCELMODE:
      WMCancelMode(Message);
      break;
    case WM_KILLFOCUS:
      WMKillFocus(Message);
      break;
    case WM_LBUTTONDBLCLK:
      WMLButtonDblClk(Message);
      break;
    case WM_PAINT:
      PaintHandler(Message);
      break;
    case WM_SETCURSOR:
      WMSetCursor(Message);
      break;
    default:
      TInplaceEdit::Dispatch(Message);
  }
}

// ---- The pick list window --------------------------------------------------------------------

void TPopupListbox::CreateParams(TCreateParams& Params) {
  TCustomListBox::CreateParams(Params);
  DropDownParams(Params);  // never activated: a click in it leaves the focus in the editor
}

void TPopupListbox::CreateWnd() {
  TCustomListBox::CreateWnd();
  LiftAsDropDown();
}

void TPopupListbox::KeyPress(char32_t& Key) {
  if (Key == 8 || Key == 27) {
    FTypedPrefix.clear();
  } else if (Key >= 32 && Key <= 255) {
    DWORD Tick = GetTickCount();
    if (Tick - FLastKeyTick > 2000) FTypedPrefix.clear();
    FLastKeyTick = Tick;
    if (Utf8Length(FTypedPrefix) < 32) FTypedPrefix += U32ToUtf8(std::u32string(1, Key));
    SendMessage(GetHandle(), LB_SELECTSTRING, 0xFFFF, LPARAM(FTypedPrefix.c_str()));
    Key = 0;
  }
  TCustomListBox::KeyPress(Key);
}

void TPopupListbox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomListBox::MouseUp(Button, Shift, X, Y);
  if (auto* Editor = dynamic_cast<TPlumbGridInplaceEdit*>(Owner()))
    Editor->CloseList(X >= 0 && X < GetWidth() && Y >= 0 && Y < GetHeight());
}

}  // namespace plumb
