// The input method follows the current row on Far-East systems: a row whose column has its
// own mode brings its mode and name, other rows the grid's own, and a composition that
// starts on the grid opens the editor with the system's default method.
#include "controls/Forms.h"
#include "recordgrid/uPlumbGrid.h"

namespace plumb {

void TPlumbGrid::SetIme() {
  if (!SysLocale.FarEast) return;
  if (FImeComposing) {
    SetImeName(Screen ? Screen->GetDefaultIme() : TImeName());
    SetImeMode(imDontCare);
    return;
  }
  SetImeName(FSavedImeName);
  SetImeMode(FSavedImeMode);
  Integer Row = FCurrentCell.Y;
  if (!FColumnList || Row < 0 || Row >= FColumnList->Count()) return;
  TColumn* Column = FColumnList->GetColumn(Row);
  if (Column->GetAssignedValues().Contains(cvImeMode)) {
    SetImeName(Column->GetImeName());
    SetImeMode(Column->GetImeMode());
  }
}

void TPlumbGrid::UpdateIme() {
  if (!SysLocale.FarEast) return;
  SetIme();
  if (!FEditor) return;
  TWinControl::SetIme();
  // Typing happens in the editor: its window takes the row's settings too.
  FEditor->SetImeMode(GetImeMode());
  FEditor->SetImeName(GetImeName());
  FEditor->SetIme();
}

void TPlumbGrid::WMIMEStartComp(TMessage& Message) {
  TCustomPlumbGrid::Dispatch(Message);
  FImeComposing = true;
  try {
    ShowEditor();
  } catch (...) {
    FImeComposing = false;
    throw;
  }
  FImeComposing = false;
}

void TPlumbGrid::WMSetFocus(TMessage& Message) {
  SetIme();
  TCustomPlumbGrid::WMSetFocus(Message);
}

void TPlumbGrid::WMKillFocus(TMessage& Message) {
  SetImeName(Screen ? Screen->GetDefaultIme() : TImeName());
  SetImeMode(imDontCare);
  TCustomPlumbGrid::WMKillFocus(Message);
}

}  // namespace plumb
