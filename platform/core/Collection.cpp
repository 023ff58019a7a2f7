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
  for (TCollectionItem* Item : Run) {
    Notify(Item, cnExtracting);
    Item->FCollection = nullptr;
  }
  FItems.erase(First, Last);
  Changed();
  return Run;
}

// An item leaving one collection for the end of (or a place in) another, with the header
// written once.
void TCollection::Join(TCollectionItem* Item, int Index) {
  Item->FCollection = this;
  Item->FID = FNextID++;
  Item->FIndexHint = Index;
  Notify(Item, cnAdded);
}

void TCollection::MoveItems(int Start, int Count, TCollection* Dest, int DestIndex) {
  if (Count <= 0) return;
  if (Start < 0 || Start + Count > int(FItems.size())) IndexError(Start + Count - 1);
  if (Dest == this || DestIndex < 0 || DestIndex > Dest->Count()) IndexError(DestIndex);
  auto First = FItems.begin() + Start, Last = First + Count;
  Dest->FItems.insert(Dest->FItems.begin() + DestIndex, First, Last);
  for (auto It = First; It != Last; ++It) {
    Notify(*It, cnExtracting);
    Dest->Join(*It, DestIndex++);
  }
  FItems.erase(First, Last);
  Changed();
  Dest->Changed();
}

int TCollection::DistributeItems(int Start, const TDistributeFunc& Into) {
  if (Start < 0 || Start > int(FItems.size())) IndexError(Start);
  std::vector<TCollection*> Touched;
  int End = Start;
  for (; End < int(FItems.size()); ++End) {
    TCollectionItem* Item = FItems[size_t(End)];
    TCollection* Dest = Into(End, Item);
    if (!Dest) break;
    if (Dest == this) IndexError(End);
    Notify(Item, cnExtracting);
    Dest->FItems.push_back(Item);
    Dest->Join(Item, Dest->Count() - 1);
    if (Touched.empty() || Touched.back() != Dest) Touched.push_back(Dest);
  }
  FItems.erase(FItems.begin() + Start, FItems.begin() + End);
  Changed();
  for (TCollection* Dest : Touched) Dest->Changed();
  return End - Start;
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
