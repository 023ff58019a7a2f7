// TPlumbGridColumns: the grid's rows (never empty: a placeholder column stands in for none)
// and, per column, its hidden children. Columns are found by row or by identification code.
#include "recordgrid/uPlumbGrid.h"

namespace plumb {

TPlumbGridColumns::TPlumbGridColumns(TPlumbGrid* AGrid, TCollectionItemClass AItemClass,
                                     bool AddPlaceholder)
    : TCollection(AItemClass), FHostGrid(AGrid) {
  if (AddPlaceholder) Add();
  FPlaceholderPending = true;
}

TPlumbGridColumns::~TPlumbGridColumns() {
  // Columns reach back into their collection while they go.
  TCollection::Clear();
}

TPersistent* TPlumbGridColumns::GetOwner() const {
  return FHostGrid;
}

void TPlumbGridColumns::Notify(TCollectionItem* Item, TCollectionNotification Action) {
  // A column that joins some other way (a copied collection, a stream, a collapse) means the
  // first item may no longer be a placeholder to hand out.
  if (Action == cnAdded) FPlaceholderPending = false;
  // Columns appended change nothing before them; anything else may change the last parent.
  if (Action != cnAdded || Item->GetIndex() != Count() - 1) FParentMemo = {};
  TCollection::Notify(Item, Action);
}

TColumn* TPlumbGridColumns::Add() {
  // An empty collection has no placeholder to hand out, whatever the flag says.
  if (FPlaceholderPending && Count() > 0) {
    FPlaceholderPending = false;
    return GetColumn(0);
  }
  return static_cast<TColumn*>(TCollection::Add());
}

void TPlumbGridColumns::EndUpdate() {
  TCollection::EndUpdate();
  if (UpdateCount() == 0 && Count() == 0 && FHostGrid && FHostGrid->GetColumns() == this) Clear();
}

void TPlumbGridColumns::Clear() {
  auto Renew = [this] {
    FPlaceholderPending = false;
    TCollection::Clear();
    Add();
    FPlaceholderPending = true;
  };
  if (FHostGrid && FHostGrid->GetColumns() == this)
    FHostGrid->WithRowsChange(Renew);
  else
    Renew();
}

void TPlumbGridColumns::Delete(const Variant& Index) {
  TColumn* Column = GetColumn(Index);
  if (!Column) return;
  auto Remove = [&] {
    delete Column;
    if (Count() == 0) Clear();
  };
  if (FHostGrid && FHostGrid->GetColumns() == this)
    FHostGrid->WithRowsChange(Remove);
  else
    Remove();
}

TColumn* TPlumbGridColumns::GetColumn(Integer Index) const {
  if (Index < 0) return nullptr;
  return static_cast<TColumn*>(GetItem(Index));
}

TColumn* TPlumbGridColumns::GetColumn(const Variant& Index) const {
  if (Index.VarType() == varString) return GetColByID(Index);
  Int64 Position = Index.ToInteger();
  if (Position < 0) return nullptr;
  if (Position > Int64(INT32_MAX)) Position = INT32_MAX;  // past any count: the list says so
  return GetColumn(Integer(Position));
}

void TPlumbGridColumns::SetColumn(const Variant& Index, TColumn* Value) {
  // A code that no column has, like a negative position, finds nothing to take the settings.
  if (TColumn* Column = GetColumn(Index)) Column->Assign(Value);
}

TColumn* TPlumbGridColumns::GetColByID(const Variant& ID) const {
  std::string Key = UpperCase(ID.ToString());
  TColumn* Result = nullptr;
  for (int I = 0; I < Count(); ++I) {
    TColumn* Column = GetColumn(I);
    if (UpperCase(Column->GetIDCode()) == Key) return Column;
    TPlumbGridColumns* Hidden = Column->GetHiddenChildren();
    for (int J = 0; J < Hidden->Count(); ++J)
      if (UpperCase(Hidden->GetColumn(J)->GetIDCode()) == Key) {
        Result = Hidden->GetColumn(J);
        break;
      }
  }
  return Result;
}

}  // namespace plumb
