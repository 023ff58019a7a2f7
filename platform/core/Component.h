#pragma once
// TComponent: ownership, names, component state and removal notifications.
//
// An owner frees the components it owns when it is destroyed. Any component may ask another
// for a free notification; when either goes away the other hears Notification(.., opRemove)
// and must drop its reference. Free components with Free() (or delete): Free() sends the
// removal notifications while the object is still whole, so a receiver can still ask what
// class it was.
#include <string>
#include <vector>

#include "Object.h"
#include "Set.h"

namespace plumb {

enum TComponentStateItem {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  PLUMB_CLASS(TComponent, TPersistent)
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  // Sends the removal notifications, frees the owned components and the object itself.
  void Free();

  TComponent* GetOwner() const override { return FOwner; }
  TComponent* Owner() const { return FOwner; }

  const std::string& GetName() const { return FName; }
  // Raises EComponentError for a name that is not an identifier or that a sibling holds.
  virtual void SetName(const std::string& NewName);

  int GetComponentCount() const { return int(FComponents.size()); }
  TComponent* GetComponents(int Index) const;
  int GetComponentIndex() const;
  TComponent* FindComponent(const std::string& AName) const;
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();

  TComponentState GetComponentState() const { return FComponentState; }
  bool IsDesigning() const { return FComponentState.Contains(csDesigning); }
  bool IsLoading() const { return FComponentState.Contains(csLoading); }
  // Marks this component and everything it owns as living in the designer.
  void SetDesigning(bool Value, bool SetChildren = true);
  void SetLoading(bool Value);
  virtual void Updating() { FComponentState.Include(csUpdating); }
  virtual void Updated() { FComponentState.Exclude(csUpdating); }

  // Asks AComponent to notify this component when it is freed (and the other way round).
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Called after the component has been read from a stream.
  virtual void Loaded();
  // A stream read this component as a child of Value; a control takes it as its parent.
  virtual void SetParentComponent(TComponent* Value) { (void)Value; }
  // Hears that AComponent was inserted into or removed from the tree, or is being freed.
  virtual void Notification(TComponent* AComponent, TOperation Operation);

  Integer GetTag() const { return FTag; }
  void SetTag(Integer Value) { FTag = Value; }
  std::string GetNamePath() const override;

 protected:
  // Sets csDestroying and tells every interested component that this one goes away.
  virtual void Destroying();
  void SetComponentState(TComponentState Value) { FComponentState = Value; }
  TComponentState& ComponentStateRef() { return FComponentState; }

 private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);
  void SendRemoveNotifications();
  void ValidateRename(TComponent* AComponent, const std::string& CurName,
                      const std::string& NewName) const;

  TComponent* FOwner = nullptr;
  std::string FName;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  TComponentState FComponentState;
  Integer FTag = 0;
  bool FRemovalSent = false;
};

bool IsValidIdent(const std::string& Ident);

}  // namespace plumb
