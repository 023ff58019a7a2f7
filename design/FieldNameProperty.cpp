#include "design/FieldNameProperty.h"

#include "recordgrid/uPlumbGrid.h"

namespace plumb {

TPropertyAttributes TPlumbFieldNameProperty::GetAttributes() {
  return {paValueList, paSortList};
}

void TPlumbFieldNameProperty::GetValues(const TGetStrProc& Proc) {
  if (GetPropCount() == 0 || !GetComponent(0)->InheritsFrom(TColumn::StaticClass())) return;
  TPlumbGrid* Grid = static_cast<TColumn*>(GetComponent(0))->GetGrid();
  // The grid's data link reads its data set through the data source, as this does.
  TDataSource* Source = Grid ? Grid->GetDataSource() : nullptr;
  TDataSet* DataSet = Source ? Source->GetDataSet() : nullptr;
  if (!DataSet) return;
  const Integer Count = DataSet->GetFieldCount();
  for (Integer I = 0; I < Count; ++I) Proc(DataSet->GetField(I)->GetFieldName());
}

}  // namespace plumb
