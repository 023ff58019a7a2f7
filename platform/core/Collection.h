#pragma once
// TCollection and TCollectionItem: an owned, ordered list of items of one class, as a
// component publishes it (a grid's columns). Streams store a collection as an array of its
// items' published properties.
//
// An item joins its collection in its constructor and leaves it in its destructor, so
// `new TMyItem(Collection)` and Collection->Add() are the same. Changes reach the
// collection's Update(Item) (nullptr: the whole collection), held back between BeginUpdate
// and EndUpdate, which sends one Update(nullptr).
#include <functional>
#include <string>
#include <vector>

#include "Object.h"
#include "TypeInfo.h"

namespace plumb {

class TCollection;
class TReader;

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
  PLUMB_CLASS(TCollectionItem, TPersistent)
  explicit TCollectionItem(TCollection* ACollection);
  ~TCollectionItem() override;

  TCollection* GetCollection() const { return FCollection; }
  // Moves the item to the end of another collection (nullptr: out of any).
  virtual void SetCollection(TCollection* Value);
  int GetIndex() const;
  // Moves the item to position Value; raises EListError outside 0..Count-1.
  virtual void SetIndex(int Value);
  Integer GetID() const { return FID; }
  virtual std::string GetDisplayName() const { return ClassName(); }
  TPersistent* GetOwner() const override;
  std::string GetNamePath() const override;

 protected:
  // Tells the collection that this item (or, with AllItems, every item) changed.
  void Changed(bool AllItems);

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  Integer FID = 0;
  // Where the item last was: most lookups of an item's position find it there at once.
  mutable int FIndexHint = 0;
};

// The item class of a collection: its class record and how to make one.
struct TCollectionItemClass {
  TClass Class = nullptr;
  TCollectionItem* (*Create)(TCollection* ACollection) = nullptr;
};

// Registers T the first time, so that streams know the items' published properties.
template <class T>
TCollectionItemClass CollectionItemClass() {
  static const bool Registered = (RegisterClass<T>(), true);
  (void)Registered;
  return {T::StaticClass(), [](TCollection* C) -> TCollectionItem* { return new T(C); }};
}

class TCollection : public TPersistent {
  PLUMB_CLASS(TCollection, TPersistent)
  explicit TCollection(TCollectionItemClass AItemClass);
  // A descendant whose items reach back into it while they go should Clear in its own
  // destructor, while it is still whole.
  ~TCollection() override;

  // Add and Clear are not virtual: a descendant may stand its own beside them, and the
  // wholesale operations (Assign, reading a stream) use these.
  TCollectionItem* Add();
  // Adds an item and moves it to Index (through the item's SetIndex).
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  // Runs of items moved in one step (a tree view hiding or showing a branch), each item
  // touched once, with the usual notifications.
  // TakeItems removes Count items from Start, in order, and leaves them in no collection.
  std::vector<TCollectionItem*> TakeItems(int Start, int Count);
  // MoveItems moves Count items from Start to Dest at DestIndex (Dest->Count() for the end).
  void MoveItems(int Start, int Count, TCollection* Dest, int DestIndex);
  // DistributeItems moves the items from Start on, in order, each to the end of the collection
  // Into names for it (given the item's position here), until Into returns nullptr; it
  // returns how many moved.
  using TDistributeFunc = std::function<TCollection*(int Index, TCollectionItem* Item)>;
  int DistributeItems(int Start, const TDistributeFunc& Into);

  int Count() const { return int(FItems.size()); }
  int GetCount() const { return Count(); }
  TCollectionItem* GetItem(int Index) const;
  TCollectionItem* Items(int Index) const { return GetItem(Index); }
  // Copies Value's settings into the item at Index.
  void SetItem(int Index, TCollectionItem* Value);
  TCollectionItem* FindItemID(Integer ID) const;
  TClass GetItemClass() const { return FItemClass.Class; }

  void BeginUpdate() { ++FUpdateCount; }
  virtual void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // Replaces the items with copies of Source's (each made by Add, then the item's Assign).
  void Assign(const TPersistent* Source) override;
  // The owner's name path and the property that publishes this collection.
  std::string GetNamePath() const override;

 protected:
  // Item is the one that changed, or nullptr for the whole collection.
  virtual void Update(TCollectionItem* Item) { (void)Item; }
  // Runs as an item joins (not yet fully constructed), leaves or is about to be deleted.
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action) {
    (void)Item;
    (void)Action;
  }
  void Changed();

 private:
  friend class TCollectionItem;
  friend class TReader;
  void InsertItem(TCollectionItem* Item);
  void Join(TCollectionItem* Item, int Index);
  void RemoveItem(TCollectionItem* Item);
  // A reader that may have to roll back takes the old items out and puts them back.
  std::vector<TCollectionItem*> ExtractAll();
  void RestoreAll(const std::vector<TCollectionItem*>& Items);

  TCollectionItemClass FItemClass;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount = 0;
  Integer FNextID = 0;
};

// A collection that names its owner (the component that publishes it).
class TOwnedCollection : public TCollection {
  PLUMB_CLASS(TOwnedCollection, TCollection)
  TOwnedCollection(TPersistent* AOwner, TCollectionItemClass AItemClass)
      : TCollection(AItemClass), FOwner(AOwner) {}
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
};

}  // namespace plumb
