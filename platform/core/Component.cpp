#include "Component.h"

#include <algorithm>

#include "Exceptions.h"

namespace plumb {

bool IsValidIdent(const std::string& Ident) {
  if (Ident.empty()) return false;
  auto Alpha = [](char C) { return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || C == '_'; };
  if (!Alpha(Ident[0])) return false;
  return std::all_of(Ident.begin(), Ident.end(),
                     [&](char C) { return Alpha(C) || (C >= '0' && C <= '9'); });
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  SendRemoveNotifications();
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::Free() {
  SendRemoveNotifications();
  delete this;
}

void TComponent::Destroying() {
  FComponentState.Include(csDestroying);
  for (TComponent* C : FComponents) C->Destroying();
}

void TComponent::SendRemoveNotifications() {
  if (FRemovalSent) return;
  FRemovalSent = true;
  Destroying();
  // A receiver may drop its own link while we walk, so take the links one at a time.
  while (!FFreeNotifies.empty()) {
    TComponent* Other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    auto& Back = Other->FFreeNotifies;
    Back.erase(std::remove(Back.begin(), Back.end(), this), Back.end());
    Other->Notification(this, opRemove);
  }
  // Owned components go first, each while still whole.
  while (!FComponents.empty()) FComponents.back()->Free();
  if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::GetComponents(int Index) const {
  if (Index < 0 || Index >= GetComponentCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FComponents[size_t(Index)];
}

int TComponent::GetComponentIndex() const {
  if (!FOwner) return -1;
  const auto& L = FOwner->FComponents;
  auto It = std::find(L.begin(), L.end(), this);
  return It == L.end() ? -1 : int(It - L.begin());
}

TComponent* TComponent::FindComponent(const std::string& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* C : FComponents)
    if (SameText(C->FName, AName)) return C;
  return nullptr;
}

void TComponent::ValidateRename(TComponent* AComponent, const std::string& CurName,
                                const std::string& NewName) const {
  if (!NewName.empty() && !SameText(CurName, NewName)) {
    TComponent* Other = FindComponent(NewName);
    if (Other && Other != AComponent)
      throw EComponentError("A component named " + NewName + " already exists");
  }
}

void TComponent::SetName(const std::string& NewName) {
  if (FName == NewName) return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError("'" + NewName + "' is not a valid component name");
  if (FOwner) FOwner->ValidateRename(this, FName, NewName);
  FName = NewName;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner == this) return;
  ValidateRename(AComponent, "", AComponent->FName);
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  Insert(AComponent);
  if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent) {
  FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), AComponent),
                    FComponents.end());
  AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) FComponents.back()->Free();
}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
  if (Value)
    FComponentState.Include(csDesigning);
  else
    FComponentState.Exclude(csDesigning);
  if (SetChildren)
    for (TComponent* C : FComponents) C->SetDesigning(Value, true);
}

void TComponent::SetLoading(bool Value) {
  if (Value)
    FComponentState.Include(csLoading);
  else
    FComponentState.Exclude(csLoading);
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  auto Add = [](std::vector<TComponent*>& L, TComponent* C) {
    if (std::find(L.begin(), L.end(), C) == L.end()) L.push_back(C);
  };
  Add(FFreeNotifies, AComponent);
  Add(AComponent->FFreeNotifies, this);
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  RemoveNotification(AComponent);
  AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent),
                      FFreeNotifies.end());
}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  // Copy: a receiver may free or re-parent one of our components while it hears this.
  std::vector<TComponent*> Owned = FComponents;
  for (TComponent* C : Owned)
    if (std::find(FComponents.begin(), FComponents.end(), C) != FComponents.end())
      C->Notification(AComponent, Operation);
}

std::string TComponent::GetNamePath() const { return FName; }

}  // namespace plumb
