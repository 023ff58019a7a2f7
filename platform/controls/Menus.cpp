// Menu items and the popup menu; the window the menu shows in is in MenuWindow.cpp.
#include "controls/Menus.h"

#include "core/Exceptions.h"

namespace plumb {

// ---- TMenuItem -------------------------------------------------------------------------------
TMenuItem::~TMenuItem() {
  Clear();
  if (FParent) FParent->Remove(this);
}

std::string TMenuItem::DisplayCaption(size_t* AccelPos) const {
  std::string S;
  if (AccelPos) *AccelPos = std::string::npos;
  for (size_t I = 0; I < FCaption.size(); ++I) {
    if (FCaption[I] == '&' && I + 1 < FCaption.size()) {
      ++I;
      if (FCaption[I] != '&' && AccelPos && *AccelPos == std::string::npos) *AccelPos = S.size();
    }
    S += FCaption[I];
  }
  return S;
}

char32_t TMenuItem::Accelerator() const {
  size_t Pos;
  std::string S = DisplayCaption(&Pos);
  if (Pos == std::string::npos) return 0;
  char C = S[Pos];
  return char32_t(C >= 'a' && C <= 'z' ? C - 'a' + 'A' : C);
}

TMenuItem* TMenuItem::GetItems(int Index) const {
  if (Index < 0 || Index >= GetCount())
    throw EListError("Menu index out of bounds (" + std::to_string(Index) + ")");
  return FItems[size_t(Index)];
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item || Item == this) return;
  if (Index < 0 || Index > GetCount())
    throw EListError("Menu index out of bounds (" + std::to_string(Index) + ")");
  for (TMenuItem* P = this; P; P = P->FParent)
    if (P == Item) throw EInvalidOperation("A menu item cannot hold itself");
  if (Item->FParent) {
    if (Item->FParent == this && IndexOf(Item) < Index) --Index;
    Item->FParent->Remove(Item);
  }
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
}

void TMenuItem::Delete(int Index) {
  TMenuItem* Item = GetItems(Index);
  FItems.erase(FItems.begin() + Index);
  Item->FParent = nullptr;
}

void TMenuItem::Remove(TMenuItem* Item) {
  int I = IndexOf(Item);
  if (I >= 0) Delete(I);
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  for (size_t I = 0; I < FItems.size(); ++I)
    if (FItems[I] == Item) return int(I);
  return -1;
}

void TMenuItem::Clear() {
  while (!FItems.empty()) FItems.back()->Free();  // each one leaves the list itself
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

// ---- TPopupMenu ------------------------------------------------------------------------------
TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(this)) {}

void TPopupMenu::SetPopupComponent(TComponent* Value) {
  if (FPopupComponent == Value) return;
  if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
  FPopupComponent = Value;
  if (Value) Value->FreeNotification(this);
}

void TPopupMenu::Popup(Integer X, Integer Y) {
  FPopupPoint = TPoint{X, Y};
  if (OnPopup) OnPopup(this);
  bool Any = false;
  for (int I = 0; FItems && I < FItems->GetCount(); ++I)
    Any = Any || FItems->GetItems(I)->GetVisible();
  if (!Any) return;
  if (!FWindow) FWindow = new TPopupMenuWindow(this);
  FWindow->ShowAt(X, Y);
}

void TPopupMenu::CloseMenu() {
  if (FWindow) FWindow->CloseUp();
}

bool TPopupMenu::GetShowing() const {
  return FWindow && FWindow->GetShowing();
}

HWND TPopupMenu::GetWindowHandle() const {
  return FWindow && FWindow->HandleAllocated() ? FWindow->GetHandle() : 0;
}

bool TPopupMenu::GetMenuItemRect(int Index, TRect& R) const {
  if (!GetShowing()) return false;
  R = FWindow->ItemRect(Index);
  if (IsRectEmpty(R)) return false;
  TPoint O = FWindow->ClientToScreen(TPoint{0, 0});
  OffsetRect(R, O.X, O.Y);
  return true;
}

// A choice arrives after the menu has closed; the items may have changed meanwhile.
void TPopupMenu::ItemChosen(int Index) {
  if (!FItems || Index < 0 || Index >= FItems->GetCount()) return;
  TMenuItem* Item = FItems->GetItems(Index);
  if (Item->GetVisible() && Item->GetEnabled() && !Item->IsLine()) Item->Click();
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPopupComponent) FPopupComponent = nullptr;
  if (AComponent == FWindow) FWindow = nullptr;
  if (AComponent == FItems) FItems = nullptr;
}

}  // namespace plumb
