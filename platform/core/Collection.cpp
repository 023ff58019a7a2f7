#include "Collection.h"

#include <algorithm>

#include "Exceptions.h"
#include "TypeInfo.h"

namespace plumb {

namespace {
[[noreturn]] void IndexError(int Index) {
  throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}
}  // namespace

// ---- TCollectionItem -----------------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* ACollection) {
  if (ACollection) ACollection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
  if (FCollection) FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value) {
  if (FCollection == Value) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

int TCollectionItem::GetIndex() const {
  if (!FCollection) return -1;
  const auto& L = FCollection->FItems;
  if (FIndexHint >= 0 && FIndexHint < int(L.size()) && L[size_t(FIndexHint)] == this)
    return FIndexHint;
  FIndexHint = int(std::find(L.begin(), L.end(), this) - L.begin());
  return FIndexHint;
}

void TCollectionItem::SetIndex(int Value) {
  int Cur = GetIndex();
  if (Cur < 0 || Cur == Value) return;
  auto& L = FCollection->FItems;
  if (Value < 0 || Value >= int(L.size())) IndexError(Value);
  L.erase(L.begin() + Cur);
  L.insert(L.begin() + Value, this);
  Changed(true);
}

TPersistent* TCollectionItem::GetOwner() const {
  return FCollection;
}

std::string TCollectionItem::GetNamePath() const {
  if (!FCollection) return ClassName();
  return FCollection->GetNamePath() + "[" + std::to_string(GetIndex()) + "]";
}

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

// ---- TCollection ---------------------------------------------------------------------------

TCollection::TCollection(TCollectionItemClass AItemClass) : FItemClass(AItemClass) {}

TCollection::~TCollection() {
  // No Update calls from a collection that is going away.
  FUpdateCount = 1;
  Clear();
}

TCollectionItem* TCollection::Add() {
  return FItemClass.Create(this);
}

TCollectionItem* TCollection::Insert(int Index) {
  TCollectionItem* Item = Add();
  Item->SetIndex(Index);
  return Item;
}

void TCollection::Delete(int Index) {
  TCollectionItem* Item = GetItem(Index);
  Notify(Item, cnDeleting);
  delete Item;
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  while (!FItems.empty()) delete FItems.back();
  EndUpdate();
}

TCollectionItem* TCollection::GetItem(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  return FItems[size_t(Index)];
}

void TCollection::SetItem(int Index, TCollectionItem* Value) {
  GetItem(Index)->Assign(Value);
}

TCollectionItem* TCollection::FindItemID(Integer ID) const {
  for (TCollectionItem* Item : FItems)
    if (Item->FID == ID) return Item;
  return nullptr;
}

void TCollection::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Assign(const TPersistent* Source) {
  if (!Source || !Source->Is<TCollection>()) {
    TPersistent::Assign(Source);
    return;
  }
  auto* S = static_cast<const TCollection*>(Source);
  if (S == this) return;
  BeginUpdate();
  try {
    Clear();
    for (TCollectionItem* Item : S->FItems) Add()->Assign(Item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TCollection::GetNamePath() const {
  TPersistent* Owner = GetOwner();
  if (!Owner) return ClassName();
  for (const TPropInfo* P : GetPropList(Owner->ClassType()))
    if (P->Kind == pkCollection && P->GetObj(Owner) == this)
      return Owner->GetNamePath() + "." + P->Name;
  return Owner->GetNamePath();
}

void TCollection::InsertItem(TCollectionItem* Item) {
  Item->FIndexHint = int(FItems.size());
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  Notify(Item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  Notify(Item, cnExtracting);
  int Index = Item->GetIndex();
  if (Index < Count()) FItems.erase(FItems.begin() + Index);
  Item->FCollection = nullptr;
  Changed();
}

std::vector<TCollectionItem*> TCollection::TakeItems(int Start, int Count) {
  if (Count <= 0) return {};
  if (Start < 0 || Start + Count > int(FItems.size())) IndexError(Start + Count - 1);
  auto First = FItems.begin() + Start, Last = First + Count;
  std::vector<TCollectionItem*> Run(First, Last);
  for (TCollectionItem* Item : Run) Notify(Item, cnExtracting);
  FItems.erase(First, Last);
  for (TCollectionItem* Item : Run) Item->FCollection = nullptr;
  Changed();
  return Run;
}

void TCollection::PlaceItems(int Index, const std::vector<TCollectionItem*>& Items) {
  if (Index < 0 || Index > int(FItems.size())) IndexError(Index);
  FItems.insert(FItems.begin() + Index, Items.begin(), Items.end());
  for (TCollectionItem* Item : Items) {
    Item->FCollection = this;
    Item->FID = FNextID++;
    Notify(Item, cnAdded);
  }
  Changed();
}

std::vector<TCollectionItem*> TCollection::ExtractAll() {
  BeginUpdate();
  std::vector<TCollectionItem*> Items = FItems;
  for (TCollectionItem* Item : Items) RemoveItem(Item);
  EndUpdate();
  return Items;
}

void TCollection::RestoreAll(const std::vector<TCollectionItem*>& Items) {
  BeginUpdate();
  for (TCollectionItem* Item : Items) {
    FItems.push_back(Item);
    Item->FCollection = this;
    Notify(Item, cnAdded);
  }
  EndUpdate();
}

}  // namespace plumb
