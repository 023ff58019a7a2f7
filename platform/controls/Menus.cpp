#include "controls/Menus.h"

namespace plumb {

void TPopupMenu::SetPopupComponent(TComponent* Value) {
  if (FPopupComponent == Value) return;
  if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
  FPopupComponent = Value;
  if (Value) Value->FreeNotification(this);
}

void TPopupMenu::Popup(Integer X, Integer Y) {
  FPopupPoint = TPoint{X, Y};
  if (OnPopup) OnPopup(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
}

}  // namespace plumb
