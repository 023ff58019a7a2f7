// The customer form and the database it works on.
#include "CustomerForm.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

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
  "properties": {"Left": 0, "Top": 0, "Width": 720, "Height": 520},
  "components": [
    {"class": "TSQLiteDataSet", "name": "Countries", "properties": {"TableName": "countries"}},
    {"class": "TSQLiteDataSet", "name": "Customers", "properties": {"TableName": "customers"}},
    {"class": "TField", "name": "CustomersCountry",
     "properties": {"FieldName": "country", "FieldKind": "fkLookup", "KeyFields": "country_id",
                    "LookupDataSet": "Countries", "LookupKeyFields": "id",
                    "LookupResultField": "name", "DataSet": "Customers"}},
    {"class": "TDataSource", "name": "CustomerSource", "properties": {"DataSet": "Customers"}},
    {"class": "TPlumbGrid", "name": "Grid",
     "properties": {
       "Left": 12, "Top": 12, "Width": 696, "Height": 496, "TabOrder": 0,
       "DataSource": "CustomerSource",
       "ColWidths": [150, 546],
       "Columns": [
         {"Title": "Contact", "IDCode": "Contact", "Expanded": true},
         {"FieldName": "name", "Title": "Name", "IndentLevel": 1},
         {"FieldName": "email", "Title": "E-mail", "IndentLevel": 1},
         {"FieldName": "country", "Title": "Country", "IndentLevel": 1},
         {"Title": "Account", "IDCode": "Account", "Expanded": true},
         {"FieldName": "id", "Title": "Customer no.", "IndentLevel": 1},
         {"FieldName": "balance", "Title": "Balance", "IndentLevel": 1},
         {"FieldName": "joined", "Title": "Joined", "IndentLevel": 1},
         {"FieldName": "active", "Title": "Active", "IndentLevel": 1,
          "PickList": ["True", "False"]},
         {"FieldName": "age", "Title": "Age", "IndentLevel": 1},
         {"Title": "Notes", "IDCode": "Notes", "Expanded": true},
         {"FieldName": "notes", "Title": "Remarks", "IndentLevel": 1},
         {"FieldName": "photo", "Title": "Photo", "IndentLevel": 1}
       ]}}
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

// The ellipsis of a memo or blob row: a small window beside the grid with the memo's lines,
// or what the blob holds. It is the customer form's and goes with it.
void ShowFieldWindow(TForm* Owner, TField* Field) {
  if (!Field) return;
  auto* Window = static_cast<TForm*>(Owner->FindComponent("FieldWindow"));
  if (!Window) {
    Window = new TForm(Owner);
    Window->SetName("FieldWindow");
    Window->SetBounds(Owner->GetLeft() + 380, Owner->GetTop() + 60, 320, 200);
    auto* Lines = new TListBox(Window);
    Lines->SetName("Lines");
    Lines->SetParent(Window);
    Lines->SetAlign(alClient);
  }
  auto* Lines = static_cast<TListBox*>(Window->FindComponent("Lines"));
  Lines->Clear();
  std::string Text = Field->GetDataType() == ftMemo
                         ? Field->GetAsString()
                         : std::to_string(Field->GetAsVariant().IsNull()
                                              ? 0
                                              : Field->GetAsVariant().ToBytes().size()) +
                               " bytes";
  size_t Start = 0;
  for (size_t End; (End = Text.find('\n', Start)) != std::string::npos; Start = End + 1)
    Lines->GetItems()->Add(Text.substr(Start, End - Start));
  Lines->GetItems()->Add(Text.substr(Start));
  Window->SetCaption(Field->GetDisplayLabel());
  Window->Show();
}

TForm* MakeCustomerForm(const std::string& DatabasePath) {
  RegisterClass<TForm>();
  RegisterClass<TSQLiteDataSet>();
  RegisterClass<TField>();
  RegisterClass<TPlumbGrid>();
  auto* Form = static_cast<TForm*>(LoadComponentFromString(FormDesign));
  Form->SetCaption("PlumbGrid \xE2\x80\x94 Customers");
  auto* Countries = static_cast<TSQLiteDataSet*>(Form->FindComponent("Countries"));
  auto* Customers = static_cast<TSQLiteDataSet*>(Form->FindComponent("Customers"));
  Countries->SetDatabaseName(DatabasePath);
  Customers->SetDatabaseName(DatabasePath);
  try {
    Countries->Open();
    Customers->Open();
  } catch (...) {
    delete Form;
    throw;
  }
  auto* Grid = static_cast<TPlumbGrid*>(Form->FindComponent("Grid"));
  Grid->OnEditButtonClick = [Form](TObject*, Integer, TField* Field) {
    ShowFieldWindow(Form, Field);
  };
  return Form;
}

}  // namespace demo
