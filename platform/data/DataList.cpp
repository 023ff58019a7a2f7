// TPopupDataList and the link through which it hears its list data set.
//
// Map: the link | life and the popup window | properties and the key value | reading the rows
//
// The rows are read by walking the data set's cursor from the first record to the last and
// putting it back where it was, so calculated and lookup fields show as they would in a grid.
// A data set in edit or insert state is not walked (moving would post or cancel the record);
// its rows are read when the post or cancel announces itself.
#include "DataList.h"

#include <algorithm>

#include "DataSet.h"

namespace plumb {

// ---- The link --------------------------------------------------------------------------------
void TListSourceLink::ActiveChanged() {
  FList->ReadRows();
}

void TListSourceLink::DataSetChanged() {
  FList->ReadRows();
}

// ---- Life and the popup window ---------------------------------------------------------------
TPopupDataList::TPopupDataList(TComponent* AOwner)
    : TCustomListBox(AOwner), FListLink(std::make_unique<TListSourceLink>(this)) {
  FTabStop = false;
  UpdateHeight();
}

TPopupDataList::~TPopupDataList() {
  // Detach quietly: the rows of a list that goes need no reading.
  FListLink.reset();
}

void TPopupDataList::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WindowClass.style = CS_SAVEBITS;
}

// Made as a child of its parent control, then lifted out of it so that it can hang below the
// edge of the form; it draws as focused although the keyboard stays with the one who shows it.
void TPopupDataList::CreateWnd() {
  inherited::CreateWnd();
  ::plumb::SetParent(FHandle, 0);
  CallWindowProc(FDefWndProc, FHandle, WM_SETFOCUS, 0, 0);
}

void TPopupDataList::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && FListLink && AComponent == GetListSource()) SetListSource(nullptr);
}

void TPopupDataList::Dispatch(TMessage& Message) {
  inherited::Dispatch(Message);
  if (Message.Msg == CM_FONTCHANGED) UpdateHeight();
}

// ---- Properties and the key value --------------------------------------------------------------
void TPopupDataList::SetRowCount(int Value) {
  FRowCount = std::max(1, Value);
  UpdateHeight();
}

void TPopupDataList::SetKeyFieldName(const std::string& Value) {
  if (Value == FKeyFieldName) return;
  FKeyFieldName = Value;
  ReadRows();
}

void TPopupDataList::SetListFieldName(const std::string& Value) {
  if (Value == FListFieldName) return;
  FListFieldName = Value;
  ReadRows();
}

void TPopupDataList::SetListSource(TDataSource* Value) {
  TDataSource* Old = GetListSource();
  if (Value == Old) return;
  if (Old) RemoveFreeNotification(Old);
  bool WasActive = FListLink->GetActive();
  FListLink->SetDataSource(Value);
  if (Value) FreeNotification(Value);
  // A change of activity has read the rows already.
  if (FListLink->GetActive() == WasActive) ReadRows();
}

void TPopupDataList::SetKeyValue(const Variant& Value) {
  FKeyValue = Value;
  SetItemIndex(IndexOfKey(Value));
}

Variant TPopupDataList::GetKeyValue() const {
  int I = GetItemIndex();
  return I >= 0 && size_t(I) < FKeys.size() ? FKeys[size_t(I)] : Null;
}

// A row the user chose is the key to keep when the rows are read again.
void TPopupDataList::Click() {
  if (GetItemIndex() >= 0) FKeyValue = GetKeyValue();
  inherited::Click();
}

// ---- Reading the rows ------------------------------------------------------------------------
void TPopupDataList::ReadRows() {
  if (FReading) return;
  TDataSet* DS = FListLink->GetActive() ? FListLink->GetDataSet() : nullptr;
  if (DS && DS->GetState() != dsBrowse) return;
  Variant Wanted = GetItemIndex() >= 0 ? GetKeyValue() : FKeyValue;
  TStringList Texts;
  std::vector<Variant> Keys;
  if (DS) CollectRows(*DS, Texts, Keys);
  FKeys = std::move(Keys);
  GetItems()->Assign(&Texts);
  FKeyValue = Wanted;
  SetItemIndex(IndexOfKey(Wanted));
  UpdateHeight();
}

// False, with nothing collected, when either field is missing.
bool TPopupDataList::CollectRows(TDataSet& DataSet, TStringList& Texts,
                                 std::vector<Variant>& Keys) {
  TField* Key = DataSet.FindField(FKeyFieldName);
  TField* Shown = FListFieldName.empty() ? Key : DataSet.FindField(FListFieldName);
  if (!Key || !Shown) return false;
  FKeyType = Key->GetDataType();
  // The walk scrolls the data set, which comes back here through the link.
  FReading = true;
  struct TGuard {
    bool& Flag;
    ~TGuard() { Flag = false; }
  } Guard{FReading};
  Integer Current = DataSet.GetRecNo();
  for (DataSet.First(); !DataSet.GetEof(); DataSet.Next()) {
    Keys.push_back(Key->GetAsVariant());
    Texts.Add(Shown->GetDisplayText());
  }
  if (Current > 0) DataSet.SetRecNo(Current);
  return true;
}

// Keys compare in the key field's own type, so that 7 finds the integer key 7 and "007" does
// not find the text key "7".
int TPopupDataList::IndexOfKey(const Variant& Value) const {
  if (Value.IsNull() || Value.IsEmpty() || FKeys.empty()) return -1;
  Variant Key;
  try {
    Key = TField::ConvertValue(FKeyType, Value, FKeyFieldName);
  } catch (const Exception&) {
    return -1;
  }
  auto It = std::find(FKeys.begin(), FKeys.end(), Key);
  return It == FKeys.end() ? -1 : int(It - FKeys.begin());
}

void TPopupDataList::UpdateHeight() {
  SetClientHeight(std::clamp(GetCount(), 1, FRowCount) * GetItemHeight());
}

}  // namespace plumb
