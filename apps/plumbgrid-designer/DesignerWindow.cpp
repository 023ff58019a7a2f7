#include "DesignerWindow.h"

#include <fstream>
#include <sstream>

#include "core/Exceptions.h"
#include "data/DataSource.h"
#include "data/SQLiteDataSet.h"
#include "design/Packages.h"

namespace designer {

using namespace plumb;

namespace {
constexpr Integer SideWidth = 360;
}  // namespace

TDesignerWindow::TDesignerWindow(TComponent* AOwner) : TForm(AOwner) {
  // What form streams name that the platform provides; the grid comes with its package.
  RegisterClass<TForm>();
  RegisterClass<TSQLiteDataSet>();
  RegisterClass<TDataSource>();
  RegisterClass<TField>();
  SetBounds(0, 0, WindowWidth, WindowHeight);
  Build();
}

TDesignerWindow::~TDesignerWindow() {
  Application->OnException = FFormerHandler;
  FSurface.reset();  // the designed form goes while the desk it lies on is still there
}

void TDesignerWindow::Build() {
  FPalette = new TPaletteBar(this);
  FPalette->SetParent(this);
  FPalette->SetAlign(alTop);
  std::string Note;
  for (const TPackage* P : GetPackages())
    if (!P->IsHostPackage()) Note += (Note.empty() ? "" : ", ") + P->GetDescription();
  FPalette->SetNote(Note.empty() ? "No package loaded" : "Packages: " + Note);
  FStatus = new TStatusLine(this);
  FStatus->SetParent(this);
  FStatus->SetAlign(alBottom);
  FDesk = new TDesk(this);
  FDesk->SetParent(this);
  FDesk->SetAlign(alClient);
  FSurface = std::make_unique<TDesignSurface>(FDesk->GetArea());
  BuildSide();
  FSurface->OnSelectionChanged = [this] { SelectionChanged(); };
  FSurface->OnChanged = [this] { FormChanged(); };
  FSurface->OnSaveRequest = [this] { Save(); };
  FPalette->OnArm = [this](TClass Class) {
    FSurface->SetPlacing(Class);
    if (Class) ShowMessage(std::string("Press on the form to place a ") + Class->Name);
  };
  SetKeyPreview(true);
  OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) {
    if (Key == 'S' && Shift == TShiftState{ssCtrl}) {
      Save();
      Key = 0;
    }
  };
  FFormerHandler = Application->OnException;
  Application->OnException = [this](TObject*, const Exception& E) { ShowMessage(E.what()); };
}

void TDesignerWindow::BuildSide() {
  FSide = new TPane(this);
  FSide->SetParent(this);
  FSide->SetWidth(SideWidth);
  FSide->SetAlign(alRight);
  FObjectRow = new TOneRowGrid(this);
  FObjectRow->SetParent(FSide);
  FObjectRow->SetAlign(alTop);
  FObjectRow->SetTitleWidth(130);
  TColumn* Row = FObjectRow->GetLine();
  Row->SetTitle("Object");
  Row->OnValidate = [this](TObject*, Integer, TStrings*, Variant& Value, bool& Accept) {
    Accept = SelectByName(Value.ToString());
  };
  FInspector = new TObjectInspector(this, FSurface.get());
  FInspector->SetParent(FSide);
  FInspector->SetAlign(alClient);
  FInspector->OnMessage = [this](const std::string& Text) { ShowMessage(Text); };
  FInspector->OnSelect = [this](TPersistent* Object) { FSurface->Select(Object); };
}

// ---- Opening and saving ----------------------------------------------------------------------

void TDesignerWindow::Open(const std::string& StreamText, const std::string& FileName) {
  FSurface->Open(StreamText);
  FFileName = FileName;
  FormChanged();
  FSurface->SetModified(false);
  UpdateTitle();
}

void TDesignerWindow::OpenFile(const std::string& FileName) {
  std::ifstream File(FileName, std::ios::binary);
  if (!File) throw EFOpenError("Cannot open file \"" + FileName + "\"");
  std::stringstream Text;
  Text << File.rdbuf();
  Open(Text.str(), FileName);
}

bool TDesignerWindow::Save(const std::string& FileName) {
  CommitInspector();
  std::string Target = FileName.empty() ? FFileName : FileName;
  std::ofstream File(Target, std::ios::binary | std::ios::trunc);
  File << FSurface->StreamText() << "\n";
  File.close();
  if (Target.empty() || !File) {
    ShowMessage("Cannot write the form to \"" + Target + "\"");
    return false;
  }
  FFileName = Target;
  FSurface->SetModified(false);
  UpdateTitle();
  ShowMessage("Saved " + Target);
  return true;
}

// A value typed into the inspector and not committed yet belongs in what is saved.
void TDesignerWindow::CommitInspector() {
  auto* Editor = static_cast<TPlumbGridInplaceEdit*>(FInspector->GetInplaceEditor());
  if (Editor && FInspector->GetEditorMode() && Editor->GetModified()) Editor->CloseList(true);
}

// ---- The parts together ----------------------------------------------------------------------

void TDesignerWindow::SelectionChanged() {
  TPersistent* Selected = FSurface->GetSelection();
  FInspector->Inspect(Selected);
  FillObjectRow();
  FPalette->SetArmed(FSurface->GetPlacing());
  if (Selected) ShowMessage(Selected->GetNamePath() + ": " + Selected->ClassName());
}

void TDesignerWindow::FormChanged() {
  if (TForm* Form = FSurface->GetForm())
    FDesk->FitArea(Form->GetLeft() + Form->GetWidth(), Form->GetTop() + Form->GetHeight());
  FInspector->RefreshValues();
  FillObjectRow();
  UpdateTitle();
}

// The object row names the selection and offers the form and its named components.
void TDesignerWindow::FillObjectRow() {
  TPersistent* Selected = FSurface->GetSelection();
  TStrings* Names = FObjectRow->GetLine()->GetPickList();
  Names->BeginUpdate();
  Names->Clear();
  if (TForm* Form = FSurface->GetForm()) {
    Names->Add(Form->GetName());
    for (int I = 0; I < Form->GetComponentCount(); ++I)
      if (!Form->GetComponents(I)->GetName().empty()) Names->Add(Form->GetComponents(I)->GetName());
  }
  Names->EndUpdate();
  FObjectRow->SetValue(Selected ? Selected->GetNamePath() : std::string());
}

bool TDesignerWindow::SelectByName(const std::string& Name) {
  TForm* Form = FSurface->GetForm();
  if (!Form) return false;
  TComponent* Found = SameText(Form->GetName(), Name) ? Form : Form->FindComponent(Name);
  if (!Found) {
    if (TPersistent* Selected = FSurface->GetSelection();
        Selected && Selected->GetNamePath() == Name)
      return true;  // the selection's own name, a column's path included
    ShowMessage("The form has no component named \"" + Name + "\"");
    return false;
  }
  FSurface->Select(Found);
  return true;
}

void TDesignerWindow::UpdateTitle() {
  bool Modified = FSurface->IsModified();
  std::string File = FFileName.empty() ? std::string("(not saved)") : FFileName;
  SetCaption("PlumbGrid Designer \xE2\x80\x94 " + File + (Modified ? " *" : ""));
  TForm* Form = FSurface->GetForm();
  FDesk->SetTitle(Form ? Form->GetName() + (Modified ? " *" : "") : std::string());
}

void TDesignerWindow::ShowMessage(const std::string& Text) {
  FStatus->SetLine(Text);
}

}  // namespace designer
