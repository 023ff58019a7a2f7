#pragma once
// TPopupMenu: the menu a control pops up on a right click. It knows whether it pops up by
// itself (AutoPopup) and for which component it last did (PopupComponent); the menu's items
// and how they are shown belong to the menu control.
#include "core/Component.h"
#include "core/Events.h"

namespace plumb {

class TPopupMenu : public TComponent {
  PLUMB_CLASS(TPopupMenu, TComponent)
  explicit TPopupMenu(TComponent* AOwner) : TComponent(AOwner) {}

  bool GetAutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }
  TComponent* GetPopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value);
  // Where the menu last popped up, in screen coordinates.
  TPoint GetPopupPoint() const { return FPopupPoint; }
  // Pops the menu up at a screen point; OnPopup runs first.
  virtual void Popup(Integer X, Integer Y);
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TNotifyEvent OnPopup;

 private:
  bool FAutoPopup = true;
  TComponent* FPopupComponent = nullptr;
  TPoint FPopupPoint;
};

}  // namespace plumb
