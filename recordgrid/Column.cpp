// TColumn: one row of the record grid. Sections: lifecycle; field binding and the names that
// follow it; assigned values and their defaults; the other settings; free value, mask and
// button; Assign.
#include "recordgrid/uPlumbGrid.h"

namespace plumb {

// ---- Lifecycle -------------------------------------------------------------------------------

TColumn::TColumn(TCollection* Collection) : TCollectionItem(Collection) {
  if (Screen) FImeNameValue = Screen->GetDefaultIme();
  TPlumbGrid* Grid = GetGrid();
  FHiddenChildren =
      std::make_unique<TPlumbGridColumns>(Grid, CollectionItemClass<TColumn>(), false);
  if (InGridColumns()) Grid->SyncRowCount();
}

TColumn::~TColumn() {
  FreeHiddenChildren();
  TPlumbGrid* Grid = InGridColumns() ? GetGrid() : nullptr;
  if (!Grid) return;  // a hidden child, or a column on its own: no row to give up
  // A destructor cannot pass an error on; the text was written with each keystroke already.
  try {
    Grid->BeginRowsChange();
    SetCollection(nullptr);  // the row goes now, so the count below is the new one
    Grid->SyncRowCount();
    Grid->EndRowsChange();
  } catch (...) {
    if (Application) Application->HandleException(Grid);
  }
}

// Hidden children can nest as deep as the tree: they are taken out level by level and freed
// one at a time, so that freeing a deep tree does not recurse once per level.
void TColumn::FreeHiddenChildren() {
  if (!FHiddenChildren || FHiddenChildren->Count() == 0) return;
  std::vector<TCollectionItem*> Doomed = FHiddenChildren->TakeItems(0, FHiddenChildren->Count());
  for (size_t I = 0; I < Doomed.size(); ++I) {
    TPlumbGridColumns* Below = static_cast<TColumn*>(Doomed[I])->FHiddenChildren.get();
    std::vector<TCollectionItem*> More = Below->TakeItems(0, Below->Count());
    Doomed.insert(Doomed.end(), More.begin(), More.end());
  }
  for (TCollectionItem* Item : Doomed) delete Item;
}

TPlumbGridColumns* TColumn::Owning() const {
  TCollection* C = GetCollection();
  return C && C->Is<TPlumbGridColumns>() ? static_cast<TPlumbGridColumns*>(C) : nullptr;
}

TPlumbGrid* TColumn::GetGrid() const {
  TPlumbGridColumns* C = Owning();
  return C ? C->GetGrid() : nullptr;
}

bool TColumn::InGridColumns() const {
  TPlumbGridColumns* C = Owning();
  return C && C->GetGrid() && C->GetGrid()->GetColumns() == C;
}

void TColumn::RepaintRow() {
  if (InGridColumns()) GetGrid()->InvalidateRow(GetIndex());
}

// A host that rebinds the column, or changes how it is edited, under the open editor: the
// editor takes the row's new text and settings, so that what the user types next goes where
// the row now shows it, and nothing goes into a row that no longer takes it.
void TColumn::EditorFollows() {
  TPlumbGrid* Grid = InGridColumns() ? GetGrid() : nullptr;
  if (Grid && Grid->EditorShown() && Grid->FEditorCell.Y == GetIndex()) Grid->UpdateEdit();
}

std::string TColumn::GetDisplayName() const {
  if (!FCaptionText.empty()) return FCaptionText;
  if (!FSourceName.empty()) return FSourceName;
  return "Column";
}

// ---- Field binding ---------------------------------------------------------------------------

TField* TColumn::GetField() {
  if (!FBoundField && !FSourceName.empty()) {
    TPlumbGrid* Grid = GetGrid();
    TDataSet* DataSet = Grid ? Grid->LinkedDataSet() : nullptr;
    if (DataSet && DataSet->GetActive()) SetField(DataSet->FindField(FSourceName));
  }
  return FBoundField;
}

// Title and IDCode go along with a renamed field when they were the old name (in any letter
// case) or empty; an IDCode also when it was the title.
void TColumn::FollowName(const std::string& OldName, const std::string& NewName) {
  std::string Code = UpperCase(FIdentCode), Old = UpperCase(OldName);
  if (Code == Old || Code == UpperCase(FCaptionText) || FIdentCode.empty()) FIdentCode = NewName;
  if (UpperCase(FCaptionText) == Old || FCaptionText.empty()) FCaptionText = NewName;
}

void TColumn::SetField(TField* Value) {
  if (Value == FBoundField) return;
  FBoundField = Value;
  if (Value && FSourceName != Value->GetFieldName()) {
    FollowName(FSourceName, Value->GetFieldName());
    FSourceName = Value->GetFieldName();
  }
  // The grid hears of the field's end wherever the field is owned, and drops the binding.
  TPlumbGrid* Grid = GetGrid();
  if (Value && Grid) Value->FreeNotification(Grid);
  Changed(false);
  RepaintRow();
}

void TColumn::SetFieldName(const std::string& Value) {
  TField* NewField = nullptr;
  TPlumbGrid* Grid = GetGrid();
  TDataSet* DataSet = Grid ? Grid->LinkedDataSet() : nullptr;
  if (DataSet && !Grid->IsLoading()) NewField = DataSet->FindField(Value);
  if (Value != FSourceName && !Value.empty()) FollowName(FSourceName, Value);
  FSourceName = Value;
  SetField(NewField);
  if (NewField) FFreeValue = Variant();
  RepaintRow();
  Changed(false);
  EditorFollows();
}

void TColumn::SetTitle(const std::string& Value) {
  if (Value == FCaptionText) return;
  if (UpperCase(FIdentCode) == UpperCase(FCaptionText)) FIdentCode = Value;
  FCaptionText = Value;
}

// ---- Assigned values -------------------------------------------------------------------------

TAlignment TColumn::DefaultAlignment() {
  TField* F = GetField();
  return F ? F->GetAlignment() : taLeftJustify;
}

TAlignment TColumn::GetAlignment() {
  return FAssignedSet.Contains(cvAlignment) ? FAlignValue : DefaultAlignment();
}

bool TColumn::IsAlignmentStored() {
  return FAssignedSet.Contains(cvAlignment) && FAlignValue != DefaultAlignment();
}

void TColumn::SetAlignment(TAlignment Value) {
  if (FAssignedSet.Contains(cvAlignment) && Value == FAlignValue) return;
  FAlignValue = Value;
  FAssignedSet.Include(cvAlignment);
  RepaintRow();
  Changed(false);
}

bool TColumn::DefaultReadOnly() {
  TPlumbGrid* Grid = GetGrid();
  if (Grid && Grid->GetReadOnly()) return true;
  TField* F = GetField();
  return F && F->GetReadOnly();
}

bool TColumn::GetReadOnly() {
  return FAssignedSet.Contains(cvReadOnly) ? FReadOnlyValue : DefaultReadOnly();
}

bool TColumn::IsReadOnlyStored() {
  return FAssignedSet.Contains(cvReadOnly) && FReadOnlyValue != DefaultReadOnly();
}

void TColumn::SetReadOnly(bool Value) {
  if (FAssignedSet.Contains(cvReadOnly) && Value == FReadOnlyValue) return;
  FReadOnlyValue = Value;
  FAssignedSet.Include(cvReadOnly);
  Changed(false);
  EditorFollows();
}

TImeMode TColumn::DefaultImeMode() const {
  TPlumbGrid* Grid = GetGrid();
  return Grid ? Grid->GetImeMode() : FImeModeValue;
}

TImeMode TColumn::GetImeMode() const {
  return FAssignedSet.Contains(cvImeMode) ? FImeModeValue : DefaultImeMode();
}

bool TColumn::IsImeModeStored() const {
  return FAssignedSet.Contains(cvImeMode) && FImeModeValue != DefaultImeMode();
}

// Unlike alignment and read-only, a mode or name equal to the default stays unassigned.
void TColumn::SetImeMode(TImeMode Value) {
  if (FAssignedSet.Contains(cvImeMode) || Value != DefaultImeMode()) {
    FImeModeValue = Value;
    FAssignedSet.Include(cvImeMode);
  }
  Changed(false);
}

TImeName TColumn::DefaultImeName() const {
  TPlumbGrid* Grid = GetGrid();
  return Grid ? Grid->GetImeName() : FImeNameValue;
}

TImeName TColumn::GetImeName() const {
  return FAssignedSet.Contains(cvImeName) ? FImeNameValue : DefaultImeName();
}

bool TColumn::IsImeNameStored() const {
  return FAssignedSet.Contains(cvImeName) && FImeNameValue != DefaultImeName();
}

void TColumn::SetImeName(const TImeName& Value) {
  if (FAssignedSet.Contains(cvImeName) || Value != DefaultImeName()) {
    FImeNameValue = Value;
    FAssignedSet.Include(cvImeName);
  }
  Changed(false);
}

// ---- Other settings --------------------------------------------------------------------------

TStrings* TColumn::GetPickList() {
  if (!FPickItems) FPickItems = std::make_unique<TStringList>();
  return FPickItems.get();
}

void TColumn::SetPickList(const TStrings* Value) {
  if (!Value)
    FPickItems.reset();
  else
    GetPickList()->Assign(Value);
  EditorFollows();
}

void TColumn::SetButtonStyle(TColumnButtonStyle Value) {
  if (Value == FButtonKind) return;
  FButtonKind = Value;
  RepaintRow();
  Changed(false);
  EditorFollows();
}

void TColumn::SetPopupMenu(TPopupMenu* Value) {
  FRowMenu = Value;
  TPlumbGrid* Grid = GetGrid();
  if (Value && Grid) Value->FreeNotification(Grid);
}

void TColumn::Refresh() {
  RepaintRow();
}

// ---- Free value, mask and button -------------------------------------------------------------

std::string TColumn::GetText() const {
  return FFreeValue.ToString();
}

void TColumn::SetText(const std::string& Value) {
  FFreeValue = Value;
  RepaintRow();
  // A column with a free value shows no field. A stream holds both settings of a column that
  // has both (a field name no data set has yet), and reading it gives that column back.
  TPlumbGrid* Grid = GetGrid();
  if (!Grid || !Grid->IsLoading()) SetFieldName("");
}

std::string TColumn::GetEditMask() {
  std::string Mask = FOwnMask;
  if (!Mask.empty()) return Mask;
  if (TField* F = GetField()) Mask = F->GetEditMask();
  TPlumbGrid* Grid = GetGrid();
  if (Mask.empty() && OnGetEditMask) OnGetEditMask(Grid, Grid ? Grid->FEditorCell.Y : -1, Mask);
  return Mask;
}

void TColumn::EditButtonClick() {
  TPlumbGrid* Grid = GetGrid();
  if (OnEditButtonClick) {
    OnEditButtonClick(Grid);
    return;
  }
  if (Grid && Grid->OnEditButtonClick) Grid->OnEditButtonClick(Grid, GetIndex(), GetField());
}

// ---- Assign ----------------------------------------------------------------------------------

void TColumn::Assign(const TPersistent* Source) {
  auto* S = dynamic_cast<const TColumn*>(Source);
  if (!S) {
    TCollectionItem::Assign(Source);
    return;
  }
  TCollection* C = GetCollection();
  if (C) C->BeginUpdate();
  try {
    SetFieldName(S->FSourceName);
    if (S->FAssignedSet.Contains(cvAlignment)) SetAlignment(S->FAlignValue);
    if (S->FAssignedSet.Contains(cvReadOnly)) SetReadOnly(S->FReadOnlyValue);
    if (S->FAssignedSet.Contains(cvImeMode)) SetImeMode(S->FImeModeValue);
    if (S->FAssignedSet.Contains(cvImeName)) SetImeName(S->FImeNameValue);
    SetTitle(S->FCaptionText);
    FListRowCount = S->FListRowCount;
    SetButtonStyle(S->FButtonKind);
    SetPickList(const_cast<TColumn*>(S)->GetPickList());
    SetPopupMenu(S->FRowMenu);
  } catch (...) {
    if (C) C->EndUpdate();
    throw;
  }
  if (C) C->EndUpdate();
}

void TColumn::CopyAll(const TColumn* S) {
  FSourceName = S->FSourceName;
  FCaptionText = S->FCaptionText;
  FFreeValue = S->FFreeValue;
  if (S->FPickItems) GetPickList()->Assign(S->FPickItems.get());
  SetPopupMenu(S->FRowMenu);
  FListRowCount = S->FListRowCount;
  FButtonKind = S->FButtonKind;
  FOwnMask = S->FOwnMask;
  FAlignValue = S->FAlignValue;
  FReadOnlyValue = S->FReadOnlyValue;
  FAssignedSet = S->FAssignedSet;
  FImeModeValue = S->FImeModeValue;
  FImeNameValue = S->FImeNameValue;
  FLevel = S->FLevel;
  FIsExpanded = S->FIsExpanded;
  FIdentCode = S->FIdentCode;
  OnEditButtonClick = S->OnEditButtonClick;
  OnGetEditMask = S->OnGetEditMask;
  OnGetEditText = S->OnGetEditText;
  OnGetText = S->OnGetText;
  OnSetEditText = S->OnSetEditText;
  OnSetText = S->OnSetText;
  OnValidate = S->OnValidate;
}

// ---- Published properties --------------------------------------------------------------------

void TColumn::DescribeProperties(TPropertyList<TColumn>& P) {
  P.ObjectProp("PickList", &TColumn::GetPickList, &TColumn::SetPickList);
  P.StringProp("FieldName", &TColumn::GetFieldName, &TColumn::SetFieldName);
  // Reading FieldName makes an empty Title and IDCode follow it, so a column whose own are
  // empty stores them as such.
  P.StringProp("Title", &TColumn::GetTitle, &TColumn::SetTitle)
      .Stored(&TColumn::IsTitleStored)
      .StoredWhenEmpty();
  P.EnumProp("Alignment", &TColumn::GetAlignment, &TColumn::SetAlignment, AlignmentInfo)
      .NoDefault()
      .Stored(&TColumn::IsAlignmentStored);
  P.EnumProp("ButtonStyle", &TColumn::GetButtonStyle, &TColumn::SetButtonStyle,
             ColumnButtonStyleInfo)
      .Default(cbsAuto);
  P.CardinalProp("DropDownRows", &TColumn::GetDropDownRows, &TColumn::SetDropDownRows).Default(7);
  P.ComponentProp("PopupMenu", &TColumn::GetPopupMenu, &TColumn::SetPopupMenu);
  P.BooleanProp("ReadOnly", &TColumn::GetReadOnly, &TColumn::SetReadOnly)
      .NoDefault()
      .Stored(&TColumn::IsReadOnlyStored);
  P.StringProp("EditMask", &TColumn::GetEditMask, &TColumn::SetEditMask);
  P.EnumProp("ImeMode", &TColumn::GetImeMode, &TColumn::SetImeMode, ImeModeInfo)
      .NoDefault()
      .Stored(&TColumn::IsImeModeStored);
  P.StringProp("ImeName", &TColumn::GetImeName, &TColumn::SetImeName)
      .Stored(&TColumn::IsImeNameStored);
  P.EventProp("OnEditButtonClick", &TColumn::OnEditButtonClick);
  P.EventProp("OnGetEditMask", &TColumn::OnGetEditMask);
  P.EventProp("OnGetEditText", &TColumn::OnGetEditText);
  P.EventProp("OnGetText", &TColumn::OnGetText);
  P.EventProp("OnSetEditText", &TColumn::OnSetEditText);
  P.EventProp("OnSetText", &TColumn::OnSetText);
  P.EventProp("OnValidate", &TColumn::OnValidate);
  P.StringProp("Text", &TColumn::GetText, &TColumn::SetText);
  P.CardinalProp("IndentLevel", &TColumn::GetIndentLevel, &TColumn::SetIndentLevel).Default(0);
  P.BooleanProp("Expanded", &TColumn::GetExpanded, &TColumn::SetExpanded).Default(false);
  P.StringProp("IDCode", &TColumn::GetIDCode, &TColumn::SetIDCode)
      .Stored(&TColumn::IsIDCodeStored)
      .StoredWhenEmpty();
}

}  // namespace plumb
