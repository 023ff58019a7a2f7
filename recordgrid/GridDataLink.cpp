// The grid follows its data set: opening and closing and moving to another record repaint the
// grid and reload the editor; a changed field repaints the rows bound to it. While the grid
// itself is writing the user's text into the record, the editor is left alone.
#include "recordgrid/uPlumbGrid.h"

namespace plumb {

void TGridDataLink::ActiveChanged() {
  FLinkedGrid->FEditStartedByGrid = false;  // opened or closed: no edit of the grid's is under way
  // Columns bound to fields of a data set the grid no longer shows bind afresh.
  TDataSet* DataSet = GetDataSet();
  FLinkedGrid->ForEachColumn([DataSet](TColumn* C) {
    if (C->FBoundField && C->FBoundField->GetDataSet() != DataSet) C->SetField(nullptr);
  });
  FLinkedGrid->UpdateEdit();
  FLinkedGrid->Invalidate();
}

void TGridDataLink::DataSetScrolled(Integer Distance) {
  (void)Distance;
  FLinkedGrid->FEditStartedByGrid = false;
  FLinkedGrid->UpdateEdit();
  FLinkedGrid->Invalidate();
}

void TGridDataLink::RecordChanged(TField* Field) {
  TPlumbGrid* Grid = FLinkedGrid;
  TDataSet* DataSet = GetDataSet();
  // Back to browsing, or a whole new record inserted: no edit of the grid's is under way.
  if (DataSet && (DataSet->GetState() == dsBrowse || (!Field && DataSet->GetState() == dsInsert)))
    Grid->FEditStartedByGrid = false;
  if (!Field) {
    Grid->Invalidate();
    if (!Grid->FEditStartedByGrid) Grid->UpdateEdit();
    return;
  }
  if (Grid->FEditStartedByGrid) return;
  TPlumbGridColumns* Columns = Grid->GetColumns();
  for (int I = 0; I < Columns->Count(); ++I) {
    if (Columns->GetColumn(I)->GetField() != Field) continue;
    Grid->InvalidateRow(I);
    if (I == Grid->FEditorCell.Y) Grid->UpdateEdit();
  }
}

void TGridDataLink::UpdateData() {
  FLinkedGrid->UpdateData();
}

}  // namespace plumb
