#pragma once
// The demo's customer form: the customers in a list on the left, the current customer in a
// record grid on the right (rows grouped into contact, account and notes), and a status line
// that tells which record is shown, whether it is being edited, and the last error in words.
// Moving to another customer or pressing Ctrl+S posts the record; Escape on the grid cancels
// it; closing the form posts what is pending.
#include <memory>
#include <string>

#include "CustomerList.h"
#include "apps/common/StatusLine.h"
#include "controls/Forms.h"
#include "controls/Menus.h"
#include "data/SQLiteDataSet.h"
#include "recordgrid/uPlumbGrid.h"

namespace demo {

using apps::TStatusLine;

constexpr plumb::Integer FormWidth = 760, FormHeight = 540;

// The user's own copy of the sample database, made from the pristine sample (found beside
// the program) when it is missing or when Fresh is set; empty with Error set when it cannot.
std::string WorkingDatabase(bool Fresh, std::string& Error);

class TCustomerForm;

// Keeps the status line in step with the data set.
class TStatusLink : public plumb::TDataLink {
  PLUMB_CLASS(TStatusLink, plumb::TDataLink)
  explicit TStatusLink(TCustomerForm* AForm) : FForm(AForm) {}

 protected:
  void ActiveChanged() override;
  void DataSetScrolled(plumb::Integer Distance) override;
  void RecordChanged(plumb::TField* Field) override;
  void EditingChanged() override;

 private:
  TCustomerForm* FForm;
};

class TCustomerForm : public plumb::TForm {
  PLUMB_CLASS(TCustomerForm, plumb::TForm)
  // Reads the form's design and opens the database at DatabasePath (raises when it cannot).
  TCustomerForm(plumb::TComponent* AOwner, const std::string& DatabasePath);
  ~TCustomerForm() override;

  plumb::TPlumbGrid* GetGrid() const { return FGrid; }
  plumb::TSQLiteDataSet* GetCustomers() const { return FCustomers; }
  TCustomerList* GetList() const { return FList; }
  TStatusLine* GetStatus() const { return FStatus; }
  const std::string& GetLastError() const { return FLastError; }

  // Posts an edited record; false, with the error on the status line, when it is refused.
  bool Save();
  // Drops the record's edits.
  void CancelEdits();
  void UpdateStatus();
  void Dispatch(plumb::TMessage& Message) override;

 private:
  void Build();
  void BuildMenu();
  void FormKeyDown(plumb::Word& Key, plumb::TShiftState Shift);
  void ShowError(const std::string& Message);
  void ShowFieldWindow(plumb::TField* Field);
  plumb::TField* FieldAtMenu();

  plumb::TPlumbGrid* FGrid = nullptr;
  plumb::TSQLiteDataSet* FCustomers = nullptr;
  TCustomerList* FList = nullptr;
  TStatusLine* FStatus = nullptr;
  plumb::TPopupMenu* FRowMenu = nullptr;
  std::unique_ptr<TStatusLink> FStatusLink;
  std::string FLastError;
  plumb::TExceptionEvent FFormerHandler;
};

}  // namespace demo
