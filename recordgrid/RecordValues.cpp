// A row's value as edit text and back: the text loaded into the editor, the write-through of
// every change of it (putting the data set into edit state on the first change), the row's
// edit mask, and what the editor writes when it commits its text or a lookup choice.
#include "controls/Forms.h"
#include "recordgrid/uPlumbGrid.h"

namespace plumb {

std::string TPlumbGrid::GetEditText(Integer ACol, Integer ARow) {
  std::string Result;
  if (ARow < 0 || ARow >= FColumnList->Count()) return Result;
  TColumn* Column = FColumnList->GetColumn(ARow);
  if (TField* Field = Column->GetField()) {
    TDataSet* DataSet = LinkedDataSet();
    if (DataSet && DataSet->GetActive())
      Result = FieldShowsPlaceholder(Field)
                   ? FieldPlaceholderText(Field)
                   : DataSet->FieldByName(Column->GetFieldName())->GetAsString();
  } else if (!Column->GetFreeValue().IsEmpty()) {
    Result = Column->GetFreeValue().ToString();
  }
  if (Column->OnGetEditText) {
    Variant V = Result;
    Column->OnGetEditText(this, ACol, ARow, Column->GetPickList(), V);
    Result = V.ToString();
  }
  return Result;
}

void TPlumbGrid::SetEditText(Integer ACol, Integer ARow, const std::string& Value) {
  (void)ACol;
  if (ARow < 0 || ARow >= FColumnList->Count()) return;
  TColumn* Column = FColumnList->GetColumn(ARow);
  if (UnchangedText(ARow, Value)) {
    // Back to what was loaded (Escape, a refused value, or simply not changed): the row
    // holds again what it held then, and nothing new is written.
    RestoreLoadedValue(Column);
  } else if (TField* Field = Column->GetField()) {
    TDataSet* DataSet = LinkedDataSet();
    if (DataSet && DataSet->GetActive() && !FieldShowsPlaceholder(Field) &&
        Field->GetAsString() != Value)
      WriteFieldText(Field, Value, false);
  } else if (!Column->GetFreeValue().IsEmpty()) {
    Column->SetFreeValue(Value);
  }
  if (Column->OnSetEditText) {
    FSetEditFailed = true;
    Column->OnSetEditText(this, ARow, Column->GetPickList(), Value);
  }
  FSetEditFailed = false;
}

bool TPlumbGrid::WriteFieldText(TField* Field, const std::string& Text, bool EditAlways) {
  TDataSet* DataSet = LinkedDataSet();
  try {
    // Raised for every write of the grid's, not only the one that starts the edit: a commit
    // lowers it, and the next keystroke must not have the editor reloaded under the user.
    FEditStartedByGrid = true;
    if (EditAlways || !IsEditState(DataSet->GetState())) DataSet->Edit();
    Field->SetAsString(Text);
    return true;
  } catch (const Exception&) {
    if (!IsEditState(DataSet->GetState())) FEditStartedByGrid = false;
    // Every keystroke of a half-typed number or date lands here: the user reads why, the
    // field keeps its last valid value, and the grid goes on as it was.
    if (!Application) throw;
    Application->HandleException(this);
    return false;
  }
}

void TPlumbGrid::UpdateData() {
  if (!EditorShown() || !EditorCellExists() || !FOptionSet.Contains(goEditing)) return;
  auto* Editor = static_cast<TPlumbGridInplaceEdit*>(FEditor);
  TColumn* Column = Editor->EditedColumn();
  TField* Field = Column ? Column->GetField() : nullptr;
  if (!Editor->GetModified() || !Field || Field->GetDataSet() != LinkedDataSet() ||
      FieldShowsPlaceholder(Field))
    return;
  Integer Row = FEditorCell.Y;
  std::string Typed = Editor->GetText();
  Variant V = Typed;
  bool Accept = true;
  if (Column->OnValidate) Column->OnValidate(this, Row, Column->GetPickList(), V, Accept);
  if (!Accept)
    throw EDatabaseError("The value " + QuotedText(Typed) + " is not accepted for " +
                         (Column->GetTitle().empty() ? Field->GetFieldName() : Column->GetTitle()));
  std::string Text = V.ToString();
  if (Text != Typed) {
    Editor->SetText(Text);
    Editor->SetModified(true);
  }
  if (Field->GetAsString() != Text) {
    // The edit may not have started at all: the file was locked while the user typed.
    TDataSet* DataSet = LinkedDataSet();
    FEditStartedByGrid = true;  // the write must not reload the editor under the user
    try {
      if (!IsEditState(DataSet->GetState())) DataSet->Edit();
      Field->SetAsString(Text);
    } catch (...) {
      if (!IsEditState(DataSet->GetState())) FEditStartedByGrid = false;
      throw;
    }
  }
  if (FSetEditFailed && Column->OnSetEditText) {
    Column->OnSetEditText(this, Row, Column->GetPickList(), Text);
    FSetEditFailed = false;
  }
}

void TPlumbGrid::NoteEditorLoaded(const std::string& Text) {
  FSetEditFailed = false;
  FLoaded = false;
  Integer Row = FCurrentCell.Y;
  if (Row < 0 || Row >= FColumnList->Count()) return;
  TColumn* Column = FColumnList->GetColumn(Row);
  FLoadedValue = Variant();
  if (TField* Field = Column->GetField()) {
    TDataSet* DataSet = LinkedDataSet();
    if (DataSet && DataSet->GetActive() && !FieldShowsPlaceholder(Field))
      FLoadedValue = Field->GetAsVariant();
  } else {
    FLoadedValue = Column->GetFreeValue();
  }
  FLoaded = true;
  FLoadedRow = Row;
  FLoadedText = Text;
}

void TPlumbGrid::RestoreLoadedValue(TColumn* Column) {
  if (TField* Field = Column->GetField()) {
    TDataSet* DataSet = LinkedDataSet();
    if (!DataSet || !IsEditState(DataSet->GetState()) || FieldShowsPlaceholder(Field)) return;
    Variant Now = Field->GetAsVariant();
    if (Now.VarType() == FLoadedValue.VarType() && Now == FLoadedValue) return;
    Field->SetAsVariant(FLoadedValue);
  } else if (!Column->GetFreeValue().IsEmpty()) {
    Column->SetFreeValue(FLoadedValue);
  }
}

std::string TPlumbGrid::GetEditMask(Integer ACol, Integer ARow) {
  (void)ACol;
  if (ARow < 0 || ARow >= FColumnList->Count()) return "";
  return FColumnList->GetColumn(ARow)->GetEditMask();
}

}  // namespace plumb

// ---- The editor's commit ---------------------------------------------------------------------
namespace plumb {

void TPlumbGridInplaceEdit::CommitText() {
  TColumn* Column = EditedColumn();
  if (!Column || !EditCanModify()) return;
  TPlumbGrid* G = Grid();
  Variant V = GetText();
  bool Accept = true;
  if (Column->OnValidate) Column->OnValidate(G, G->FEditorCell.Y, Column->GetPickList(), V, Accept);
  if (!Accept) {
    Reset();  // the text goes back, and with it the row's value
    return;
  }
  std::string Text = V.ToString();
  if (Text != GetText()) {
    bool Modified = GetModified();
    SetText(Text);
    SetModified(Modified);
  }
  StoreEditText();
}

void TPlumbGridInplaceEdit::StoreEditText() {
  TPlumbGrid* G = Grid();
  TColumn* Column = EditedColumn();
  if (!Column) return;
  Integer Row = G->FEditorCell.Y;
  std::string Text = GetText();
  if (Column->GetField()) {
    TDataSet* DataSet = G->LinkedDataSet();
    if (DataSet && DataSet->GetActive()) {
      TField* Field = DataSet->FieldByName(Column->GetFieldName());
      if (!FieldShowsPlaceholder(Field)) {
        if (G->UnchangedText(Row, Text)) {
          G->RestoreLoadedValue(Column);
        } else if (Field->GetAsString() != Text) {
          G->WriteFieldText(Field, Text, true);
          G->FEditStartedByGrid = false;
        }
      }
    }
  } else if (!Column->GetFreeValue().IsEmpty()) {
    if (G->UnchangedText(Row, Text))
      G->RestoreLoadedValue(Column);
    else
      Column->SetFreeValue(Text);
  }
  if (Column->OnSetText) Column->OnSetText(G, Row, GetModified(), Column->GetPickList(), Text);
  UpdateContents();
  SelectAll();
}

// False when the key field cannot be written: the text is then committed as any other.
bool TPlumbGridInplaceEdit::ApplyLookupChoice(const Variant& ListValue) {
  TColumn* Column = EditedColumn();
  TField* Lookup = Column ? Column->GetField() : nullptr;
  if (!Lookup || !Lookup->GetDataSet()) return false;
  TDataSet* DataSet = Lookup->GetDataSet();
  TField* Key = DataSet->FieldByName(Lookup->GetKeyFields());
  if (!Key->GetCanModify()) return false;
  TPlumbGrid* G = Grid();
  Variant V = ListValue;
  bool Accept = true;
  if (Column->OnValidate) Column->OnValidate(G, G->FEditorCell.Y, Column->GetPickList(), V, Accept);
  if (!Accept) {
    Reset();
    return true;
  }
  G->FEditStartedByGrid = true;
  DataSet->Edit();
  Key->SetAsVariant(V);
  UpdateContents();
  SelectAll();
  return true;
}

}  // namespace plumb
