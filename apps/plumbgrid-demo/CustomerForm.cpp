// The customer form: its design, the database it works on, and what it does with keys,
// menus, errors and closing.
#include "CustomerForm.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "apps/common/CustomerParts.h"
#include "controls/StdCtrls.h"
#include "core/Filer.h"

namespace demo {

using namespace plumb;
namespace fs = std::filesystem;

namespace {

fs::path DataFolder() {
  if (const char* Xdg = std::getenv("XDG_DATA_HOME"); Xdg && *Xdg)
    return fs::path(Xdg) / "plumbgrid";
  const char* Home = std::getenv("HOME");
  return fs::path(Home && *Home ? Home : ".") / ".local" / "share" / "plumbgrid";
}

fs::path ProgramFolder() {
  std::error_code Ec;
  fs::path Exe = fs::read_symlink("/proc/self/exe", Ec);
  return Ec ? fs::current_path() : Exe.parent_path();
}

// The form as the designer stores it; the database is the user's and is set when it opens.
const char* const FormDesign = R"json({
  "class": "TForm", "name": "CustomerForm",
  "properties": {"Left": 0, "Top": 0, "Width": 760, "Height": 540},
  "components": [
    {"class": "TSQLiteDataSet", "name": "Countries", "properties": {"TableName": "countries"}},
    {"class": "TSQLiteDataSet", "name": "Customers", "properties": {"TableName": "customers"}},
    {"class": "TSQLiteDataSet", "name": "CustomerNames",
     "properties": {"SQL": "SELECT id, name FROM customers ORDER BY id", "KeyField": "id"}},
    @LOOKUP@
    {"class": "TDataSource", "name": "CustomerSource", "properties": {"DataSet": "Customers"}},
    {"class": "TPlumbGrid", "name": "Grid",
     "properties": {
       "Align": "alClient", "TabOrder": 1, "DataSource": "CustomerSource",
       "ColWidths": [150, 380],
       @COLUMNS@}}
  ]
})json";

}  // namespace

std::string WorkingDatabase(bool Fresh, std::string& Error) {
  std::error_code Ec;
  fs::path Sample = ProgramFolder() / "sample.db";
  fs::path Copy = DataFolder() / "customers.db";
  if (Fresh || !fs::exists(Copy, Ec)) {
    fs::create_directories(Copy.parent_path(), Ec);
    if (!Ec) fs::copy_file(Sample, Copy, fs::copy_options::overwrite_existing, Ec);
    if (Ec) {
      Error = "cannot copy " + Sample.string() + " to " + Copy.string() + ": " + Ec.message();
      return "";
    }
  }
  return Copy.string();
}

// ---- The status line ---------------------------------------------------------------------

void TStatusLink::ActiveChanged() {
  FForm->UpdateStatus();
}

void TStatusLink::DataSetScrolled(Integer Distance) {
  (void)Distance;
  FForm->UpdateStatus();
}

void TStatusLink::RecordChanged(TField* Field) {
  (void)Field;
  FForm->UpdateStatus();
}

void TStatusLink::EditingChanged() {
  FForm->UpdateStatus();
}

void TCustomerForm::UpdateStatus() {
  if (!FStatus || !FCustomers) return;
  std::string Line = "No customer";
  if (FCustomers->GetActive() && FCustomers->GetRecNo() > 0) {
    static const char* const States[] = {"closed",    "browsing",    "editing",
                                         "inserting", "calculating", "opening"};
    Line = "Customer " + std::to_string(FCustomers->GetRecNo()) + " of " +
           std::to_string(FCustomers->GetRecordCount()) + " \xE2\x80\x94 " +
           FCustomers->FieldByName("name")->GetAsString() + " \xC2\xB7 " +
           States[FCustomers->GetState()];
  }
  if (!FLastError.empty()) Line += " \xC2\xB7 " + FLastError;
  FStatus->SetLine(Line);
}

void TCustomerForm::ShowError(const std::string& Message) {
  FLastError = Message;
  UpdateStatus();
}

// ---- Building ------------------------------------------------------------------------------

TCustomerForm::TCustomerForm(TComponent* AOwner, const std::string& DatabasePath) : TForm(AOwner) {
  RegisterClass<TSQLiteDataSet>();
  RegisterClass<TField>();
  RegisterClass<TPlumbGrid>();
  RegisterClass<TForm>();
  LoadComponentFromString(apps::WithCustomerParts(FormDesign), this);
  SetCaption("PlumbGrid \xE2\x80\x94 Customers");
  for (const char* Name : {"Countries", "Customers", "CustomerNames"})
    static_cast<TSQLiteDataSet*>(FindComponent(Name))->SetDatabaseName(DatabasePath);
  FCustomers = static_cast<TSQLiteDataSet*>(FindComponent("Customers"));
  FGrid = static_cast<TPlumbGrid*>(FindComponent("Grid"));
  static_cast<TDataSet*>(FindComponent("Countries"))->Open();
  FCustomers->Open();
  Build();
}

TCustomerForm::~TCustomerForm() {
  Application->OnException = FFormerHandler;
  FStatusLink.reset();
}

void TCustomerForm::Build() {
  FList = new TCustomerList(this);
  FList->SetParent(this);
  FList->SetWidth(200);
  FList->SetAlign(alLeft);
  FList->SetTabOrder(0);
  FStatus = new TStatusLine(this);
  FStatus->SetParent(this);
  FStatus->SetAlign(alBottom);
  auto* Source = static_cast<TDataSource*>(FindComponent("CustomerSource"));
  FList->Bind(Source, static_cast<TDataSet*>(FindComponent("CustomerNames")));
  FStatusLink = std::make_unique<TStatusLink>(this);
  FStatusLink->SetDataSource(Source);
  FCustomers->AfterPost = [this](TDataSet*) { ShowError(""); };
  FGrid->OnEditButtonClick = [this](TObject*, Integer, TField* Field) { ShowFieldWindow(Field); };
  BuildMenu();
  SetKeyPreview(true);
  OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) { FormKeyDown(Key, Shift); };
  FFormerHandler = Application->OnException;
  Application->OnException = [this](TObject*, const Exception& E) { ShowError(E.what()); };
  UpdateStatus();
}

// ---- Row menus -----------------------------------------------------------------------------

void TCustomerForm::BuildMenu() {
  FRowMenu = new TPopupMenu(this);
  auto Add = [this](const char* Caption, std::function<void(TField*)> Action) {
    auto* Item = new TMenuItem(FRowMenu);
    Item->SetCaption(Caption);
    Item->OnClick = [this, Action](TObject*) {
      if (TField* Field = FieldAtMenu()) Action(Field);
    };
    FRowMenu->GetItems()->Add(Item);
  };
  Add("&Copy value", [](TField* Field) { SetClipboardText(Field->GetDisplayText()); });
  Add("C&lear value", [this](TField* Field) {
    try {
      FCustomers->Edit();
      Field->Clear();
    } catch (const Exception& E) {
      ShowError(E.what());
    }
  });
  for (const char* Row : {"Name", "E-mail", "Balance", "Age"})
    FGrid->GetColumns()->GetColumn(Variant(Row))->SetPopupMenu(FRowMenu);
}

// The field of the row the menu was popped up over.
TField* TCustomerForm::FieldAtMenu() {
  TPoint P = FGrid->ScreenToClient(FRowMenu->GetPopupPoint());
  Integer Col = -1, Row = -1;
  FGrid->MouseToCell(P.X, P.Y, Col, Row);
  TPlumbGridColumns* Columns = FGrid->GetColumns();
  return Row >= 0 && Row < Columns->Count() ? Columns->GetColumn(Row)->GetField() : nullptr;
}

// ---- Keys, saving and closing --------------------------------------------------------------

bool TCustomerForm::Save() {
  try {
    FCustomers->CheckBrowseMode();
    return true;
  } catch (const Exception& E) {
    ShowError(E.what());
    return false;
  }
}

void TCustomerForm::CancelEdits() {
  if (IsEditState(FCustomers->GetState())) FCustomers->Cancel();
  ShowError("");
}

void TCustomerForm::FormKeyDown(Word& Key, TShiftState Shift) {
  if (Key == 'S' && Shift == TShiftState{ssCtrl}) {
    Save();
    Key = 0;
  } else if (Key == VK_ESCAPE && Shift.Empty()) {
    TWinControl* Active = GetActiveControl();
    if (Active == FGrid && IsEditState(FCustomers->GetState())) CancelEdits();
  }
}

// Closing posts what is pending; a record the database refuses keeps the form open.
void TCustomerForm::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_CLOSE && !Save()) return;
  TForm::Dispatch(Message);
}

// The ellipsis of a memo or blob row: a small window beside the grid with the memo's lines,
// or what the blob holds. It is the form's and goes with it.
void TCustomerForm::ShowFieldWindow(TField* Field) {
  if (!Field) return;
  auto* Window = static_cast<TForm*>(FindComponent("FieldWindow"));
  if (!Window) {
    Window = new TForm(this);
    Window->SetName("FieldWindow");
    Window->SetBounds(GetLeft() + 400, GetTop() + 80, 320, 200);
    auto* Lines = new TListBox(Window);
    Lines->SetName("Lines");
    Lines->SetParent(Window);
    Lines->SetAlign(alClient);
  }
  auto* Lines = static_cast<TListBox*>(Window->FindComponent("Lines"));
  Lines->Clear();
  Variant Value = Field->GetAsVariant();
  std::string Text = Field->GetDataType() == ftMemo
                         ? Field->GetAsString()
                         : std::to_string(Value.IsNull() ? 0 : Value.ToBytes().size()) + " bytes";
  size_t Start = 0;
  for (size_t End; (End = Text.find('\n', Start)) != std::string::npos; Start = End + 1)
    Lines->GetItems()->Add(Text.substr(Start, End - Start));
  Lines->GetItems()->Add(Text.substr(Start));
  Window->SetCaption(Field->GetDisplayLabel());
  Window->Show();
}

}  // namespace demo
