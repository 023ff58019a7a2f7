#pragma once
// The inspector's editor of TColumn.FieldName: a drop-down of the field names of the data set
// that the column's grid shows, which the user may also type over.
#include "design/PropEdits.h"

namespace plumb {

class TPlumbFieldNameProperty : public TStringProperty {
  PLUMB_CLASS(TPlumbFieldNameProperty, TStringProperty)
  // Value list and sorted list, nothing else: no dialog, no editing of several at once.
  TPropertyAttributes GetAttributes() override;
  // The field names, in field order, of the data set of the first selected column's grid;
  // nothing when the first selected object is no column or there is no data set.
  void GetValues(const TGetStrProc& Proc) override;
};

}  // namespace plumb
