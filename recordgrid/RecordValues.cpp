// A row's value as edit text and back: the text loaded into the editor, the write-through of
// every change of it (putting the data set into edit state on the first change), and the
// row's edit mask.
#include "recordgrid/uPlumbGrid.h"

namespace plumb {

std::string TPlumbGrid::GetEditText(Integer ACol, Integer ARow) {
  std::string Result;
  if (ARow < 0 || ARow >= FColumnList->Count()) return Result;
  TColumn* Column = FColumnList->GetColumn(ARow);
  if (TField* Field = Column->GetField()) {
    TDataSet* DataSet = LinkedDataSet();
    if (DataSet && DataSet->GetActive())
      Result = FieldShowsPlaceholder(Field)
                   ? FieldPlaceholderText(Field)
                   : DataSet->FieldByName(Column->GetFieldName())->GetAsString();
  } else if (!Column->GetFreeValue().IsEmpty()) {
    Result = Column->GetFreeValue().ToString();
  }
  if (Column->OnGetEditText) {
    Variant V = Result;
    Column->OnGetEditText(this, ACol, ARow, Column->GetPickList(), V);
    Result = V.ToString();
  }
  return Result;
}

void TPlumbGrid::SetEditText(Integer ACol, Integer ARow, const std::string& Value) {
  (void)ACol;
  if (ARow < 0 || ARow >= FColumnList->Count()) return;
  TColumn* Column = FColumnList->GetColumn(ARow);
  if (TField* Field = Column->GetField()) {
    TDataSet* DataSet = LinkedDataSet();
    if (DataSet && DataSet->GetActive() && !FieldShowsPlaceholder(Field) &&
        Field->GetAsString() != Value) {
      if (!IsEditState(DataSet->GetState())) {
        FEditStartedByGrid = true;
        try {
          DataSet->Edit();
        } catch (...) {
          FEditStartedByGrid = false;  // no edit of ours is under way
          throw;
        }
      }
      Field->SetAsString(Value);
    }
  } else if (!Column->GetFreeValue().IsEmpty()) {
    Column->SetFreeValue(Value);
  }
  if (Column->OnSetEditText) Column->OnSetEditText(this, ARow, Column->GetPickList(), Value);
}

std::string TPlumbGrid::GetEditMask(Integer ACol, Integer ARow) {
  (void)ACol;
  if (ARow < 0 || ARow >= FColumnList->Count()) return "";
  return FColumnList->GetColumn(ARow)->GetEditMask();
}

}  // namespace plumb
