#pragma once
// Forms, the application and the screen.
//
// A form is a top-level window control that keeps track of which of its controls is active
// (ActiveControl) and which holds the focus, runs OnExit/OnEnter when the focus moves between
// them, and moves the focus with Tab and Shift+Tab. The application runs the message loop and
// receives the exceptions that handlers let through; the screen knows the cursors, the desktop
// size and which form is active.
#include <exception>
#include <vector>

#include "controls/Controls.h"
#include "core/Exceptions.h"

namespace plumb {

// What a form designer offers a form being designed.
class TDesigner {
 public:
  virtual ~TDesigner() = default;
  // True when the designer takes the message instead of the control. For mouse messages a
  // designer asks the control first with CM_DESIGNHITTEST; a non-zero answer leaves the
  // message to the control.
  virtual bool IsDesignMsg(TControl* Sender, TMessage& Message) = 0;
  // The form was changed and needs saving.
  virtual void Modified() = 0;
  virtual void Notification(TComponent* AComponent, TOperation Operation) = 0;
};

class TCustomForm : public TWinControl {
  PLUMB_CLASS(TCustomForm, TWinControl)
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  TWinControl* GetActiveControl() const { return FActiveControl; }
  // Raises EInvalidOperation for a control that is not on this form or cannot take the focus.
  void SetActiveControl(TWinControl* Control);
  // Called as a control receives the focus: moves ActiveControl there and runs the exit and
  // enter handlers between the old control and the new. False when one of them moved the
  // focus elsewhere.
  bool SetFocusedControl(TWinControl* Control);
  void FocusControl(TWinControl* Control);
  void DefocusControl(TWinControl* Control, bool Removing);
  bool GetActive() const { return FActive; }
  TDesigner* GetDesigner() const { return FDesigner; }
  void SetDesigner(TDesigner* Value) { FDesigner = Value; }
  bool GetKeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  const std::string& GetCaption() const { return FText; }
  void SetCaption(const std::string& Value) { SetText(Value); }

  void SetFocus() override;
  bool CanFocus() override { return FVisible && FEnabled; }
  void Close();
  void SendCancelMode(TControl* Sender);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void SetActive(bool Value);
  void SetWindowFocus();
  void WMActivate(TMessage& Message);
  void CMActivate(TMessage& Message);
  void CMDeactivate(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void CMShowingChanged(TMessage& Message);
  void WMClose(TMessage& Message);

 private:
  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  TDesigner* FDesigner = nullptr;
  bool FActive = false;
  bool FKeyPreview = false;
  int FFocusCount = 0;

  friend class TWinControl;
};

class TForm : public TCustomForm {
  PLUMB_CLASS(TForm, TCustomForm)
  using TCustomForm::TCustomForm;
};

// The form a control is on (its top-most parent, when that is a form), or nullptr.
TCustomForm* GetParentForm(const TControl* Control);
// As GetParentForm, but raises EInvalidOperation when the control is on no form.
TCustomForm* ValidParentForm(const TControl* Control);

using TExceptionEvent = TEvent<void(TObject* Sender, const Exception& E)>;

class TApplication : public TComponent {
  PLUMB_CLASS(TApplication, TComponent)
  explicit TApplication(TComponent* AOwner);

  // Runs the message loop until Terminate or WM_QUIT.
  void Run();
  // Handles every message that is waiting, then returns.
  void ProcessMessages();
  // Handles one message; false when none was waiting.
  bool ProcessMessage();
  // Waits for a message (or for the next timer); false when none can ever come.
  bool HandleMessage();
  void Terminate();
  bool GetTerminated() const { return FTerminated; }
  void SetTerminated(bool Value) { FTerminated = Value; }
  TCustomForm* GetMainForm() const { return FMainForm; }
  void SetMainForm(TCustomForm* Value) { FMainForm = Value; }

  // Call from inside a catch block: hands the exception being handled to OnException, or
  // when that is not assigned shows it (ShowException).
  void HandleException(TObject* Sender);
  virtual void ShowException(const Exception& E);
  // Sends a key message to its control as CN_KEYDOWN (etc.) first; true when the control or
  // its form used it, and it must not be dispatched.
  bool IsKeyMsg(MSG& Msg);

  TExceptionEvent OnException;

 private:
  bool FTerminated = false;
  TCustomForm* FMainForm = nullptr;
};

class TScreen : public TComponent {
  PLUMB_CLASS(TScreen, TComponent)
  explicit TScreen(TComponent* AOwner);

  HCURSOR GetCursors(TCursor Index) const;
  // A cursor other than crDefault overrides every control's cursor.
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  Integer GetWidth() const;
  Integer GetHeight() const;
  const TImeName& GetDefaultIme() const { return FDefaultIme; }
  void SetDefaultIme(const TImeName& Value) { FDefaultIme = Value; }
  TCustomForm* GetActiveCustomForm() const { return FActiveCustomForm; }
  TCustomForm* GetActiveForm() const { return FActiveCustomForm; }
  TWinControl* GetActiveControl() const { return FActiveControl; }
  int GetCustomFormCount() const { return int(FForms.size()); }
  TCustomForm* GetCustomForms(int Index) const { return FForms.at(size_t(Index)); }

 private:
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);

  TCursor FCursor = crDefault;
  TImeName FDefaultIme;
  TCustomForm* FActiveCustomForm = nullptr;
  TCustomForm* FFocusedForm = nullptr;
  TWinControl* FActiveControl = nullptr;
  std::vector<TCustomForm*> FForms;

  friend class TCustomForm;
};

extern TApplication* Application;
extern TScreen* Screen;

}  // namespace plumb
