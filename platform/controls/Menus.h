#pragma once
// Menu items and the popup menu.
//
// TPopupMenu is the menu a control pops up on a right click. It knows whether it pops up by
// itself (AutoPopup) and for which component it last did (PopupComponent). Popup shows its
// visible items in a popup window of their own at a screen point. The menu does not take the
// keyboard focus: while it is open it holds the mouse capture, and the keys that the message
// loop hands the capture window first are its own. A choice (a click or Enter on an item, or
// the item's accelerator letter) closes the menu and then runs the item's OnClick; Escape and
// a click outside close it with no choice.
#include <string>
#include <vector>

#include "controls/Controls.h"
#include "core/Component.h"
#include "core/Events.h"

namespace plumb {

class TPopupMenuWindow;

// ---- TMenuItem -------------------------------------------------------------------------------
// An item, and the list of items under it. A parent item frees its items when it goes.
class TMenuItem : public TComponent {
  PLUMB_CLASS(TMenuItem, TComponent)
  explicit TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}
  ~TMenuItem() override;

  // "&" marks the accelerator letter ("&&" is an ampersand); "-" makes a separator line.
  const std::string& GetCaption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }
  bool GetChecked() const { return FChecked; }
  void SetChecked(bool Value) { FChecked = Value; }
  bool IsLine() const { return FCaption == "-"; }
  // The caption as shown, accelerator marks removed; AccelPos receives the byte offset of
  // the accelerator letter in it (npos: none).
  std::string DisplayCaption(size_t* AccelPos = nullptr) const;
  // The accelerator letter, upper case (0: none).
  char32_t Accelerator() const;

  int GetCount() const { return int(FItems.size()); }
  TMenuItem* GetItems(int Index) const;
  TMenuItem* GetParent() const { return FParent; }
  // Adding an item that is under another item moves it here.
  void Add(TMenuItem* Item) { Insert(GetCount(), Item); }
  void Insert(int Index, TMenuItem* Item);
  // Takes the item out of the list without freeing it.
  void Delete(int Index);
  void Remove(TMenuItem* Item);
  int IndexOf(const TMenuItem* Item) const;
  // Frees every item under this one.
  void Clear();

  virtual void Click();

  TNotifyEvent OnClick;

 private:
  std::string FCaption;
  bool FEnabled = true;
  bool FVisible = true;
  bool FChecked = false;
  TMenuItem* FParent = nullptr;
  std::vector<TMenuItem*> FItems;
};

// ---- TPopupMenu ------------------------------------------------------------------------------
class TPopupMenu : public TComponent {
  PLUMB_CLASS(TPopupMenu, TComponent)
  explicit TPopupMenu(TComponent* AOwner);

  // The items the menu shows; the menu owns this root item.
  TMenuItem* GetItems() const { return FItems; }
  bool GetAutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }
  TComponent* GetPopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value);
  // Where the menu last popped up, in screen coordinates.
  TPoint GetPopupPoint() const { return FPopupPoint; }
  // Pops the menu up with its top-left corner at a screen point (moved so that it stays on
  // the screen); OnPopup runs first. A menu with no visible item shows nothing.
  virtual void Popup(Integer X, Integer Y);
  // Closes the menu without a choice.
  void CloseMenu();
  bool GetShowing() const;
  // The popup window (0 before the menu was first shown).
  HWND GetWindowHandle() const;
  // The screen rectangle of an item while the menu shows; false for an item not shown.
  bool GetMenuItemRect(int Index, TRect& R) const;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TNotifyEvent OnPopup;

 private:
  friend class TPopupMenuWindow;
  void ItemChosen(int Index);

  TMenuItem* FItems = nullptr;
  TPopupMenuWindow* FWindow = nullptr;
  bool FAutoPopup = true;
  TComponent* FPopupComponent = nullptr;
  TPoint FPopupPoint;
};

// ---- TPopupMenuWindow ------------------------------------------------------------------------
// The window a popup menu shows in: a top-most popup that is never activated and holds the
// mouse capture while it shows. It lays out the visible items of its menu when shown.
class TPopupMenuWindow : public TCustomControl {
  PLUMB_CLASS(TPopupMenuWindow, TCustomControl)
  TPopupMenuWindow(TPopupMenu* AMenu);

  void ShowAt(Integer X, Integer Y);
  void CloseUp();
  bool GetShowing() const { return FShown; }
  // Client rectangle of an item, or an empty one for an item not laid out.
  TRect ItemRect(int Index) const;
  int GetHighlight() const { return FHighlight; }
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

 private:
  struct TLine {
    int Index;  // in the menu's items
    TRect Rect;
  };
  void Layout();
  int LineAt(TPoint P) const;
  int LineOf(int Index) const;
  bool Choosable(int Line) const;
  void SetHighlight(int Index);
  void MoveHighlight(int Step);
  void Choose(int Index);
  void MenuMouse(TMessage& Message);
  void MenuKey(Word Key);
  void MenuChar(char32_t Ch);
  void PaintItem(const TLine& L);

  TPopupMenu* FMenu;
  std::vector<TLine> FLines;
  int FHighlight = -1;
  bool FShown = false;
};

}  // namespace plumb
