// The grid's side of in-place editing: when the editor may show, creating, loading, placing
// and hiding it, and handing every change of the edited text to SetEditText.
//
// A keystroke in the editor: the edit control changes its text and sends WM_COMMAND with
// EN_CHANGE to the grid -> WMCommand -> UpdateText -> SetEditText(editor cell, text). A move
// of the current cell ends in UpdateEdit, which writes the old cell's text back (HideEdit)
// before it loads the new one.
//
// The rule everything here keeps: a visible editor lies on the cell it was loaded from
// (FEditorCell), that cell is the current cell, and only a visible editor on a grid that
// allows editing writes. Whatever moves, removes or re-measures cells under an open editor
// ends in RealignEditor, which puts the editor back on the current cell or hides it.
#include "grid/uCPlumbGrd.h"

namespace plumb {

TInplaceEdit* TCustomPlumbGrid::CreateEditor() {
  return new TInplaceEdit(this);
}

bool TCustomPlumbGrid::CanEditShow() {
  // A grid on its way out (its editor may already be gone) never makes a new one.
  if (GetComponentState().Contains(csDestroying)) return false;
  return FOptionSet.Contains(goEditing) && FEditorActive && !IsDesigning() && HandleAllocated() &&
         (FOptionSet.Contains(goAlwaysShowEditor) || IsActiveControl());
}

bool TCustomPlumbGrid::CanEditAcceptKey(char32_t Key) {
  (void)Key;
  return true;
}

bool TCustomPlumbGrid::CanGridAcceptKey(Word Key, TShiftState Shift) {
  (void)Key;
  (void)Shift;
  return true;
}

bool TCustomPlumbGrid::CanEditModify() {
  return FEditModifyAllowed;
}

std::string TCustomPlumbGrid::GetEditText(Integer ACol, Integer ARow) {
  (void)ACol;
  (void)ARow;
  return "";
}

void TCustomPlumbGrid::SetEditText(Integer ACol, Integer ARow, const std::string& Value) {
  (void)ACol;
  (void)ARow;
  (void)Value;
}

std::string TCustomPlumbGrid::GetEditMask(Integer ACol, Integer ARow) {
  (void)ACol;
  (void)ARow;
  return "";
}

Integer TCustomPlumbGrid::GetEditLimit() {
  return 0;
}

bool TCustomPlumbGrid::IsActiveControl() {
  if (TCustomForm* Form = GetParentForm(this)) return Form->GetActiveControl() == this;
  if (!HandleAllocated()) return false;
  HWND Own = GetHandle();
  for (HWND Wnd = GetFocus(); Wnd && IsWindow(Wnd); Wnd = plumb::GetParent(Wnd))
    if (Wnd == Own) return true;
  return false;
}

void TCustomPlumbGrid::ShowEditor() {
  FEditorActive = true;
  UpdateEdit();
}

void TCustomPlumbGrid::HideEditor() {
  FEditorActive = false;
  HideEdit();
}

void TCustomPlumbGrid::SetEditorMode(bool Value) {
  if (!Value) {
    HideEditor();
    return;
  }
  ShowEditor();
  if (FEditor) FEditor->Deselect();
}

void TCustomPlumbGrid::ShowEditorChar(char32_t Ch) {
  ShowEditor();
  // An editor that did not open keeps the cell it last edited; a key typed into it would be
  // written there, into a row the user may have left.
  if (FEditor && FEditor->Visible()) PostMessage(FEditor->GetHandle(), WM_CHAR, WPARAM(Ch), 0);
}

bool TCustomPlumbGrid::EditorCellExists() const {
  return FEditorCell.X >= 0 && FEditorCell.Y >= 0 && FEditorCell.X < FNumCols &&
         FEditorCell.Y < FNumRows;
}

bool TCustomPlumbGrid::EditorShown() {
  return FEditor && FEditor->Visible();
}

void TCustomPlumbGrid::UpdateText() {
  // A hidden editor holds nothing the user can have typed, only a text its cell may since
  // have lost; writing it back would put an old value where the user never put it.
  if (EditorShown() && FOptionSet.Contains(goEditing) && EditorCellExists())
    SetEditText(FEditorCell.X, FEditorCell.Y, FEditor->GetText());
}

void TCustomPlumbGrid::HideEdit() {
  if (!FEditor) return;
  struct THideAfter {
    TCustomPlumbGrid* Grid;
    ~THideAfter() {
      if (Grid->EditorCellExists()) Grid->InvalidateRow(Grid->FEditorCell.Y);
      if (Grid->FEditor) Grid->FEditor->Hide();
    }
  } Hide{this};
  UpdateText();
}

void TCustomPlumbGrid::RealignEditor(bool WasShown) {
  if (!FEditor || !WasShown) return;
  if (!CanEditShow()) {
    HideEdit();
  } else if (FEditorCell == FCurrentCell) {
    FEditor->UpdateLoc(CellRect(FCurrentCell.X, FCurrentCell.Y));
  } else {
    UpdateEdit();  // writes back to the editor's own cell while it exists, loads the current
  }
}

void TCustomPlumbGrid::WMCommand(TMessage& Message) {
  if (FEditor && FEditor->HandleAllocated() && HWND(Message.LParam) == FEditor->GetHandle() &&
      Message.WParamHi() == EN_CHANGE)
    UpdateText();
}

void TCustomPlumbGrid::LoadEditor() {
  FEditorCell = FCurrentCell;
  FEditor->UpdateContents();
  FEditModifyAllowed = FEditor->GetMaxLength() != -1;
  FEditor->SelectAll();
}

void TCustomPlumbGrid::UpdateEdit() {
  if (!CanEditShow()) return;
  if (!FEditor) {
    FEditor = CreateEditor();
    FEditor->SetGrid(this);
    FEditor->SetParent(this);
    LoadEditor();
  } else if (!(FCurrentCell == FEditorCell)) {
    if (FEditorCell.Y >= 0 && FEditorCell.Y < FNumRows) InvalidateRow(FEditorCell.Y);
    HideEdit();
    LoadEditor();
  }
  LoadEditor();
  if (!CanEditShow()) return;
  FEditor->Move(CellRect(FCurrentCell.X, FCurrentCell.Y));
  TRect Frame;
  GridRectToScreenRect(GetSelection(), Frame, false);
  if (!FOptionSet.Contains(goDrawFixed)) Frame.Left = 0;
  --Frame.Top;
  DrawFocus(GetCanvas(), Frame);
}

}  // namespace plumb
