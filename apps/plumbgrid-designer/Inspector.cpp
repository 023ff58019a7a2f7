// The object inspector. Sections: building the rows; reading values again; committing;
// opening rows by path.
//
// Road of a value: the user types into a row or picks from its list; the record grid writes
// each keystroke into the row's free value; when the row's editor commits (it loses the focus,
// Enter, a choice from the list, the current row moves on) the row's OnValidate hands the text
// to the property editor's SetValue. A refused text is reported and the row takes its old
// value back; an accepted one is read back as the editor shows it ("clred" becomes "clRed"),
// and every other row is read again, since one property can change others.
#include "Inspector.h"

#include <algorithm>
#include <cctype>

#include "core/Collection.h"

namespace designer {

using namespace plumb;

namespace {

// Selects the object of an item row once the button's click is over: the click runs inside
// the row's own event, and selecting rebuilds the rows.
constexpr UINT CM_SELECTITEM = WM_USER + 0x51;

bool LessText(const std::string& A, const std::string& B) {
  return std::lexicographical_compare(A.begin(), A.end(), B.begin(), B.end(), [](char X, char Y) {
    return std::tolower(static_cast<unsigned char>(X)) <
           std::tolower(static_cast<unsigned char>(Y));
  });
}

std::string ValueOf(TPropertyEditor& Editor) {
  try {
    return Editor.GetValue();
  } catch (const std::exception& E) {
    return std::string("(") + E.what() + ")";
  }
}

// The row of a collection item stands for the item itself rather than for a property of it.
bool IsItemRow(TPropertyEditor& Editor) {
  return !Editor.GetPropInfo() && dynamic_cast<TCollectionItem*>(Editor.GetComponent(0));
}

}  // namespace

TObjectInspector::TObjectInspector(TComponent* AOwner, TFormDesigner* Designer)
    : TPlumbGrid(AOwner), FDesigner(Designer) {
  SetColor(clWindow);
  SetDataTextColor(clNavy);
  SetColWidths(0, 130);
  SetEditorMode(true);  // the current row is always open for typing
  // The grid writes keystrokes into the row; a property takes the text only when it is
  // committed, so Enter and a move to another row commit.
  OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) {
    if (Key == VK_RETURN && Shift.Empty() && GetInplaceEditor()) {
      static_cast<TPlumbGridInplaceEdit*>(GetInplaceEditor())->CloseList(true);
      Key = 0;
    }
  };
  OnColExit = [this](TObject*) {
    auto* Editor = static_cast<TPlumbGridInplaceEdit*>(GetInplaceEditor());
    if (Editor && Editor->GetModified() && GetEditorMode()) Editor->CloseList(true);
  };
}

TObjectInspector::~TObjectInspector() {
  ClearRows();
}

// ---- Building the rows -----------------------------------------------------------------------

void TObjectInspector::Inspect(TPersistent* Object) {
  TRow* Current = RowOf(GetColumns()->GetColumn(GetRow()));
  std::string CurrentPath = Current ? Current->Path : std::string();
  std::set<std::string> Open = OpenPaths();
  // The editor stays closed while the rows change under it, and opens on the new ones after.
  HideEditor();
  ClearRows();
  FInspected = Object;
  if (Object)
    GetComponentProperties({Object}, FDesigner, [this](std::unique_ptr<TPropertyEditor> E) {
      AddRow(std::move(E), nullptr);
    });
  CloseRows(Open);
  Integer Row = ShowPath(CurrentPath);
  SetTopRow(0);
  SetRow(Row >= 0 ? Row : 0);
  SetEditorMode(true);
  Invalidate();
}

void TObjectInspector::ClearRows() {
  GetColumns()->Clear();
  FRows.clear();
}

void TObjectInspector::AddRow(std::unique_ptr<TPropertyEditor> Editor, TRow* Parent) {
  auto Owned = std::make_unique<TRow>();
  TRow* Row = Owned.get();
  Row->Editor = std::move(Editor);
  Row->Parent = Parent;
  Row->Path = (Parent ? Parent->Path + "/" : "") + Row->Editor->GetName();
  Row->Column = GetColumns()->Add();
  Cardinal Level = 0;
  for (TRow* P = Parent; P; P = P->Parent) ++Level;
  Row->Column->SetIndentLevel(Level);
  TPropertyAttributes A = Row->Editor->GetAttributes();
  if (A.Contains(paReadOnly)) Row->Column->SetReadOnly(true);
  if (A.Contains(paDialog) || IsItemRow(*Row->Editor)) Row->Column->SetButtonStyle(cbsEllipsis);
  Row->Column->OnValidate = [this, Row](TObject*, Integer, TStrings*, Variant& Value,
                                        bool& Accept) { Accept = Commit(*Row, Value); };
  Row->Column->OnEditButtonClick = [this, Row](TObject*) { ButtonClick(*Row); };
  DescribeRow(*Row);
  FRows.push_back(std::move(Owned));
  if (A.Contains(paSubProperties))
    Row->Editor->GetProperties(
        [this, Row](std::unique_ptr<TPropertyEditor> Sub) { AddRow(std::move(Sub), Row); });
}

void TObjectInspector::DescribeRow(TRow& Row) {
  std::string Name = Row.Editor->GetName(), Value = ValueOf(*Row.Editor);
  if (Row.Column->GetTitle() != Name) Row.Column->SetTitle(Name);
  if (Row.Column->GetFreeValue().IsEmpty() || Row.Column->GetText() != Value)
    Row.Column->SetFreeValue(Value);
  FillPickList(Row);
}

void TObjectInspector::FillPickList(TRow& Row) {
  TPropertyAttributes A = Row.Editor->GetAttributes();
  if (!A.Contains(paValueList)) return;
  std::vector<std::string> Values;
  Row.Editor->GetValues([&Values](const std::string& S) { Values.push_back(S); });
  if (A.Contains(paSortList)) std::stable_sort(Values.begin(), Values.end(), LessText);
  TStrings* List = Row.Column->GetPickList();
  if (List->ToVector() == Values) return;
  List->BeginUpdate();
  List->Clear();
  for (const std::string& S : Values) List->Add(S);
  List->EndUpdate();
}

// Open nested rows stay open, by path; the others collapse, the last first, so that every row
// still to be visited is where it was.
void TObjectInspector::CloseRows(const std::set<std::string>& Open) {
  for (auto It = FRows.rbegin(); It != FRows.rend(); ++It) {
    TColumn* C = (*It)->Column;
    if (!C->GetHasChildren()) continue;
    C->SetExpanded(true);
    if (!Open.count((*It)->Path)) C->SetExpanded(false);
  }
}

std::set<std::string> TObjectInspector::OpenPaths() const {
  std::set<std::string> Open;
  for (const auto& Row : FRows)
    if (Row->Column->GetHasChildren() && Row->Column->GetExpanded()) Open.insert(Row->Path);
  return Open;
}

TObjectInspector::TRow* TObjectInspector::RowOf(TColumn* Column) const {
  for (const auto& Row : FRows)
    if (Row->Column == Column) return Row.get();
  return nullptr;
}

TPropertyEditor* TObjectInspector::EditorOf(Integer Row) const {
  TPlumbGridColumns* Columns = GetColumns();
  TRow* Found = Row >= 0 && Row < Columns->Count() ? RowOf(Columns->GetColumn(Row)) : nullptr;
  return Found ? Found->Editor.get() : nullptr;
}

// ---- Reading values again --------------------------------------------------------------------

void TObjectInspector::RefreshValues() {
  if (FCommitting) return;  // the commit reads them once the editor is done
  ReadRows();
  // An editor showing the old value would write it back when it closes.
  TInplaceEdit* Editor = GetInplaceEditor();
  if (Editor && EditorShown() && !Editor->GetModified()) Editor->UpdateContents();
}

void TObjectInspector::ReadRows() {
  for (const auto& Row : FRows) DescribeRow(*Row);
  Invalidate();
}

// ---- Committing ------------------------------------------------------------------------------

bool TObjectInspector::Commit(TRow& Row, Variant& Value) {
  std::string Text = Value.ToString();
  if (Text == ValueOf(*Row.Editor)) return true;
  try {
    FCommitting = true;
    Row.Editor->SetValue(Text);
    FCommitting = false;
  } catch (const std::exception& E) {
    FCommitting = false;
    if (OnMessage) OnMessage(E.what());
    return false;
  }
  Value = ValueOf(*Row.Editor);
  ReadRows();  // the commit loads the editor with the row's new value itself
  if (OnMessage) OnMessage("");
  return true;
}

void TObjectInspector::ButtonClick(TRow& Row) {
  if (IsItemRow(*Row.Editor)) {
    PostMessage(GetHandle(), CM_SELECTITEM, 0, LPARAM(Row.Column));
    return;
  }
  try {
    Row.Editor->Edit();
  } catch (const std::exception& E) {
    if (OnMessage) OnMessage(E.what());
  }
  RefreshValues();
}

void TObjectInspector::Dispatch(TMessage& Message) {
  if (Message.Msg != CM_SELECTITEM) return TPlumbGrid::Dispatch(Message);
  // The rows may have been built again since the click: only a row that is still there counts.
  TRow* Row = RowOf(reinterpret_cast<TColumn*>(Message.LParam));
  if (Row && OnSelect) OnSelect(Row->Editor->GetComponent(0));
}

// ---- Opening rows by path --------------------------------------------------------------------

Integer TObjectInspector::ShowPath(const std::string& Path) {
  auto It = std::find_if(FRows.begin(), FRows.end(),
                         [&Path](const auto& Row) { return Row->Path == Path; });
  if (Path.empty() || It == FRows.end()) return -1;
  std::vector<TRow*> Above;
  for (TRow* P = (*It)->Parent; P; P = P->Parent) Above.insert(Above.begin(), P);
  for (TRow* P : Above)
    if (!P->Column->GetExpanded()) P->Column->SetExpanded(true);
  TColumn* Column = (*It)->Column;
  if (Column->GetCollection() != GetColumns()) return -1;
  Integer Row = Column->GetIndex();
  if (Row < GetTopRow() || Row >= GetTopRow() + GetVisibleRowCount()) SetTopRow(Row);
  return Row;
}

}  // namespace designer
