// libFuzzer target for the form-stream reader. Every input is read three times:
//  - into a new root: a stream that reads must write and read back to the same text;
//  - into an existing sample form: a stream that fails must leave the form as it was;
//  - into an existing form with record grids (one without a width list, one with), their
//    column trees, pick lists, menus and handlers: the same promise.
// The existing forms are kept while reads into them fail, so that each failure is checked
// against the form as it was made (and the run stays fast).
// Anything but EReadError escaping, a sanitizer report or a broken promise above is a crash;
// LeakSanitizer reports whatever a failed read leaves behind.
//
// With PLUMB_FUZZ_WRITE_SEEDS=<folder> set, the target first saves its forms there as seeds
// (tests/fuzz/reader_corpus holds them).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "backends/headless/Headless.h"
#include "controls/Forms.h"
#include "core/Exceptions.h"
#include "data/DataSource.h"
#include "recordgrid/uPlumbGrid.h"
#include "stream_fixtures.h"

using namespace plumb;
using namespace plumb::fixture;

namespace {

// A form whose methods streams can bind the grid's and the columns' events to.
class TGridForm : public TForm {
  PLUMB_CLASS(TGridForm, TForm)
  using TForm::TForm;
  void NameText(TObject*, Integer, Integer, TStrings*, Variant&) {}
  void NameSetEdit(TObject*, Integer, TStrings*, const Variant&) {}
  void NameSetText(TObject*, Integer, bool, TStrings*, const Variant&) {}
  void NameValidate(TObject*, Integer, TStrings*, Variant&, bool&) {}
  void NameMask(TObject*, Integer, std::string&) {}
  void RowButton(TObject*) {}
  void GridButton(TObject*, Integer, TField*) {}
  static void DescribeProperties(TPropertyList<TGridForm>& P) {
    P.Method("NameText", &TGridForm::NameText);
    P.Method("NameSetEdit", &TGridForm::NameSetEdit);
    P.Method("NameSetText", &TGridForm::NameSetText);
    P.Method("NameValidate", &TGridForm::NameValidate);
    P.Method("NameMask", &TGridForm::NameMask);
    P.Method("RowButton", &TGridForm::RowButton);
    P.Method("GridButton", &TGridForm::GridButton);
  }
};

void RegisterClasses() {
  RegisterFixtureClasses();
  RegisterClass<TGridForm>();
  RegisterClass<TPlumbGrid>();
  RegisterClass<TPopupMenu>();
  RegisterClass<TDataSource>();
}

// Every component of the sample form has a width list but the innermost one.
TSampleForm* MakeForm() {
  auto* F = new TSampleForm(nullptr);
  F->SetName("Form1");
  auto* C = new TSample(F);
  C->SetName("Child1");
  auto* Inner = new TSample(C);
  Inner->SetName("Inner");
  F->SetCaption("form");
  F->SetBuddy(Inner);
  F->GetLines()->SetText("a\nb\n");
  F->GetSteps()->Add()->SetCaption("step");
  F->GetSteps()->GetItem(0)->SetTarget(C);
  F->OnChange.Assign([](TObject*) {}, "DoChange");
  for (TSample* S : {static_cast<TSample*>(F), C}) S->SetColWidths(0, 40);
  return F;
}

TPlumbGrid* AddGrid(TGridForm* F, const char* Name, TPopupMenu* Menu) {
  auto* G = new TPlumbGrid(F);
  G->SetName(Name);
  G->SetParent(F);
  G->SetBounds(8, 8, 240, 160);
  G->SetPopupMenu(Menu);
  TPlumbGridColumns* Columns = G->GetColumns();
  const std::pair<const char*, Cardinal> Tree[] = {{"", 0},     {"name", 1}, {"email", 1},
                                                   {"city", 2}, {"", 0},     {"age", 1}};
  for (auto [Field, Level] : Tree) {
    TColumn* C = Columns->Add();
    C->SetFieldName(Field);
    C->SetTitle(*Field ? Field : "Group");
    C->SetIndentLevel(Level);
  }
  Columns->GetColumn(0)->SetIDCode("Contact");
  Columns->GetColumn(0)->SetExpanded(true);
  Columns->GetColumn(4)->SetText("free");
  TColumn* Name1 = Columns->GetColumn(1);
  for (const char* S : {"Ann", "Bob", "Cy"}) Name1->GetPickList()->Add(S);
  Name1->SetPopupMenu(Menu);
  Name1->SetButtonStyle(cbsEllipsis);
  Name1->SetDropDownRows(3);
  Name1->SetReadOnly(true);
  Name1->SetEditMask("LLL");
  TGridForm* Form = F;
  Name1->OnGetText.Assign([Form](TObject* S, Integer C, Integer R, TStrings* P,
                                 Variant& V) { Form->NameText(S, C, R, P, V); },
                          "NameText");
  Name1->OnValidate.Assign([Form](TObject* S, Integer R, TStrings* P, Variant& V,
                                  bool& A) { Form->NameValidate(S, R, P, V, A); },
                           "NameValidate");
  Columns->GetColumn(2)->OnEditButtonClick.Assign([Form](TObject* S) { Form->RowButton(S); },
                                                  "RowButton");
  G->OnEditButtonClick.Assign(
      [Form](TObject* S, Integer R, TField* Fd) { Form->GridButton(S, R, Fd); }, "GridButton");
  return G;
}

// Grid1 has no width list and a collapsed group (saved at run time with columns hidden);
// Grid2 has a width list.
TGridForm* MakeGridForm() {
  auto* F = new TGridForm(nullptr);
  F->SetName("GridForm");
  F->SetBounds(0, 0, 520, 400);
  auto* Menu = new TPopupMenu(F);
  Menu->SetName("RowMenu");
  auto* Source = new TDataSource(F);
  Source->SetName("Source1");
  TPlumbGrid* G1 = AddGrid(F, "Grid1", Menu);
  G1->SetDataSource(Source);
  G1->GetColumns()->GetColumn(0)->SetExpanded(false);
  TPlumbGrid* G2 = AddGrid(F, "Grid2", nullptr);
  G2->SetLeft(260);
  G2->SetTitleTextColor(plumb::clRed);
  LoadComponentFromString(R"({"class": "TPlumbGrid", "properties": {"ColWidths": [90, 150]}})", G2);
  return F;
}

void WriteSeeds(const std::string& Folder) {
  auto Save = [&](const std::string& Name, TComponent* C) {
    std::ofstream(Folder + "/" + Name) << SaveComponentToString(C);
    C->Free();
  };
  Save("grid_form.json", MakeGridForm());
  TGridForm* F = MakeGridForm();
  F->FindComponent("Grid1")->Free();  // a form with only the grid that has widths
  Save("grid_widths.json", F);
  Save("sample_form.json", MakeForm());
}

void CheckNewRoot(const std::string& Text) {
  TComponent* C = nullptr;
  try {
    C = LoadComponentFromString(Text);
  } catch (const EReadError&) {
    return;
  }
  std::string Out = SaveComponentToString(C);
  TComponent* D = LoadComponentFromString(Out);
  std::string Again = SaveComponentToString(D);
  if (Again != Out) {
    std::fprintf(stderr, "--- saved:\n%s\n--- read back and saved:\n%s\n", Out.c_str(),
                 Again.c_str());
    abort();
  }
  D->Free();
  C->Free();
}

// A form kept from input to input while reads into it fail: each failure must leave it saving
// exactly what it saved when it was made. A read that succeeds changes it; the next input
// gets a new one.
struct TKeptForm {
  TComponent* (*Make)() = nullptr;
  TComponent* Form = nullptr;
  std::string Before;
  int Count = 0;
};

bool IsParseError(const EReadError& E) {
  return std::string(E.what()).rfind("Error reading form stream: not valid JSON", 0) == 0;
}

void CheckExistingForm(const std::string& Text, TKeptForm& K) {
  if (!K.Form) {
    K.Form = K.Make();
    K.Before = SaveComponentToString(K.Form);
    K.Count = K.Form->GetComponentCount();
  }
  try {
    LoadComponentFromString(Text, K.Form);
  } catch (const EReadError& E) {
    if (IsParseError(E)) return;  // nothing is touched before the text parses
    std::string After = SaveComponentToString(K.Form);
    if (After != K.Before || K.Form->GetComponentCount() != K.Count) {
      std::fprintf(stderr, "%s\n--- before:\n%s\n--- after:\n%s\n", E.what(), K.Before.c_str(),
                   After.c_str());
      abort();
    }
    return;
  }
  K.Form->Free();
  K.Form = nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  RegisterClasses();
  if (const char* Folder = std::getenv("PLUMB_FUZZ_WRITE_SEEDS")) {
    THeadlessDesktop Desktop;
    WriteSeeds(Folder);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  // One window system for the whole run: grids and forms make windows as they are read.
  static THeadlessDesktop* Desktop = new THeadlessDesktop;
  Desktop->Record().Enabled = false;
  std::string Text(reinterpret_cast<const char*>(Data), Size);
  static TKeptForm Sample{[]() -> TComponent* { return MakeForm(); }, nullptr, {}, 0};
  static TKeptForm Grids{[]() -> TComponent* { return MakeGridForm(); }, nullptr, {}, 0};
  CheckNewRoot(Text);
  CheckExistingForm(Text, Sample);
  CheckExistingForm(Text, Grids);
  Desktop->RunUntilIdle();  // what the forms posted before they went
  return 0;
}
