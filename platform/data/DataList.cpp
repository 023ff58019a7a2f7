// TPopupDataList and the link through which it hears its list data set.
//
// Map: the link | life and the popup window | properties and the key value | the selection |
// reading the window. Keys, the wheel, the scroll bar and typed letters are in
// DataListMoves.cpp.
//
// The list holds the window of records it shows: records FTop .. FTop + FKeys.size() - 1 of the
// FCount there are, their keys in FKeys and their texts in the list box's items. The selected
// record may lie outside the window (the wheel or the scroll bar moved away from it); FSelected
// and FSelectedKey remember it, and ItemIndex marks it while the window holds it.
//
// Records are read by moving the data set's cursor over them and putting it back on the record
// it was on, so calculated and lookup fields show as they would in a grid. What the links of
// the list data set hear from one read: a scroll to the first record read, a scroll of 1 for
// each further one, and a scroll back (the distances add up to nothing); finding a key by
// Locate adds one scroll, to the record found. A data set in edit or insert state is not read
// (moving would post or cancel the record); its rows are read when the post or cancel
// announces itself. A list that is not on screen only notes that its rows are stale.
#include "DataList.h"

#include <algorithm>

#include "DataSet.h"

namespace plumb {

namespace {

// Keeps the list's link deaf while the cursor moves, and puts the cursor back on the record it
// was on: by Restore when the read went well, else on the way out.
class TCursorKeeper {
 public:
  TCursorKeeper(TDataSet& DataSet, bool& Reading)
      : FDataSet(DataSet), FRecNo(DataSet.GetRecNo()), FReading(Reading) {
    FReading = true;
  }
  ~TCursorKeeper() {
    if (!FRestored) try {
        Restore();
      } catch (const Exception&) {
        // The read's own error is the one that goes on.
      }
    FReading = false;
  }
  TCursorKeeper(const TCursorKeeper&) = delete;
  TCursorKeeper& operator=(const TCursorKeeper&) = delete;
  void Restore() {
    FRestored = true;
    if (FRecNo > 0 && FDataSet.GetRecNo() != FRecNo) FDataSet.SetRecNo(FRecNo);
  }

 private:
  TDataSet& FDataSet;
  Integer FRecNo;
  bool& FReading;
  bool FRestored = false;
};

}  // namespace

// ---- The link --------------------------------------------------------------------------------
void TListSourceLink::ActiveChanged() {
  FList->ReadRows(true);
}

void TListSourceLink::DataSetChanged() {
  FList->ReadRows(false);
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
  DropDownParams(Params);
}

// Made as a child of its parent control, then lifted out of it so that it can hang below the
// edge of the form.
void TPopupDataList::CreateWnd() {
  inherited::CreateWnd();
  LiftAsDropDown();
}

void TPopupDataList::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && FListLink && AComponent == GetListSource()) SetListSource(nullptr);
}

bool TPopupDataList::Showing() const {
  return FHandle && IsWindowVisible(FHandle);
}

// ---- Properties and the key value --------------------------------------------------------------
void TPopupDataList::SetRowCount(int Value) {
  FRowCount = std::max(1, Value);
  ReadRows(false);
  UpdateHeight();
}

void TPopupDataList::SetKeyFieldName(const std::string& Value) {
  if (Value == FKeyFieldName) return;
  FKeyFieldName = Value;
  ReadRows(true);
}

void TPopupDataList::SetListFieldName(const std::string& Value) {
  if (Value == FListFieldName) return;
  FListFieldName = Value;
  ReadRows(true);
}

void TPopupDataList::SetListSource(TDataSource* Value) {
  TDataSource* Old = GetListSource();
  if (Value == Old) return;
  if (Old) RemoveFreeNotification(Old);
  bool WasActive = FListLink->GetActive();
  FListLink->SetDataSource(Value);
  if (Value) FreeNotification(Value);
  // A change of activity has read the rows already.
  if (FListLink->GetActive() == WasActive) ReadRows(true);
}

// A key the window holds is only selected; any other is looked for in the data set.
void TPopupDataList::SetKeyValue(const Variant& Value) {
  FKeyValue = Value;
  int I = FStale ? -1 : IndexOfKey(FKeys, Value);
  if (I >= 0) {
    Select(FTop + I, FKeys[size_t(I)]);
    return;
  }
  TDataSet* DS = ReadableDataSet();
  if (!DS) {
    Select(-1, Null);
    return;
  }
  FCount = DS->GetRecordCount();
  ReadAround(*DS, Value);
}

Variant TPopupDataList::GetKeyValue() const {
  int I = GetItemIndex();
  if (I >= 0 && size_t(I) < FKeys.size()) return FKeys[size_t(I)];
  return SelectedRecord() >= 0 ? FSelectedKey : Null;
}

// A row the user chose is the key to keep when the rows are read again.
void TPopupDataList::Click() {
  NoteSelection();
  if (FSelected >= 0) FKeyValue = FSelectedKey;
  inherited::Click();
}

// ---- The selection ---------------------------------------------------------------------------
// ItemIndex is the truth while it marks a row (a click sets it); otherwise the record the
// window has moved away from, if any.
Integer TPopupDataList::SelectedRecord() const {
  int I = GetItemIndex();
  if (I >= 0) return FTop + I;
  return InWindow(FSelected) ? -1 : FSelected;
}

void TPopupDataList::NoteSelection() {
  int I = GetItemIndex();
  if (I >= 0 && size_t(I) < FKeys.size()) {
    FSelected = FTop + I;
    FSelectedKey = FKeys[size_t(I)];
  } else if (InWindow(FSelected)) {
    FSelected = -1;
    FSelectedKey = Null;
  }
}

bool TPopupDataList::InWindow(Integer Rec) const {
  return Rec >= FTop && Rec < FTop + Integer(FKeys.size());
}

// The program's choice (-1: none); no Click.
void TPopupDataList::Select(Integer Rec, const Variant& Key) {
  FSelected = Rec;
  FSelectedKey = Rec >= 0 ? Key : Null;
  SetItemIndex(InWindow(Rec) ? int(Rec - FTop) : -1);
}

// The user's move to record Rec: the window follows it, and Click runs when the choice changed.
void TPopupDataList::SelectByUser(Integer Rec) {
  if (FCount == 0) return;
  Rec = std::clamp(Rec, Integer(0), FCount - 1);
  NoteSelection();
  Integer Old = FSelected, Rows = WindowRows();
  Integer Top = Rec < FTop ? Rec : Rec >= FTop + Rows ? Rec - Rows + 1 : FTop;
  if (!MoveWindow(Top) || !InWindow(Rec)) return;
  Select(Rec, FKeys[size_t(Rec - FTop)]);
  if (Rec != Old) Click();
}

// ---- Reading the window ----------------------------------------------------------------------
TField* TPopupDataList::ShownField(TDataSet& DataSet) const {
  return DataSet.FindField(FListFieldName.empty() ? FKeyFieldName : FListFieldName);
}

// The list data set when its records can be read now: open, browsing, with both fields.
TDataSet* TPopupDataList::ReadableDataSet() const {
  TDataSet* DS = FListLink->GetActive() ? FListLink->GetDataSet() : nullptr;
  if (!DS || FReading || DS->GetState() != dsBrowse) return nullptr;
  return DS->FindField(FKeyFieldName) && ShownField(*DS) ? DS : nullptr;
}

Integer TPopupDataList::WindowRows() const {
  return std::min(Integer(FRowCount), FCount);
}

// After the data set or the fields changed: the window around the wanted key (Around), else
// from the same first record. The wanted key is the selected record's, else the one asked for.
void TPopupDataList::ReadRows(bool Around) {
  if (FReading) return;
  TDataSet* DS = FListLink->GetActive() ? FListLink->GetDataSet() : nullptr;
  if (DS && DS->GetState() != dsBrowse) return;
  NoteSelection();
  if (FSelected >= 0) FKeyValue = FSelectedKey;
  TField* Key = DS ? DS->FindField(FKeyFieldName) : nullptr;
  if (!Key || !ShownField(*DS)) {
    ClearRows();
    return;
  }
  FKeyType = Key->GetDataType();
  FCount = DS->GetRecordCount();
  if (!Showing()) {
    // Rows of another data set or field are none of this one's; those of changed records
    // stay until shown. The height follows the count: a host places the list by it.
    if (Around) DropRows();
    FStale = true;
    UpdateHeight();
    return;
  }
  FStale = true;
  if (Around)
    ReadAround(*DS, FKeyValue);
  else
    ReadAgain(*DS, FKeyValue);
}

// The wanted record in the middle of the window (less so near the ends), or the first rows.
void TPopupDataList::ReadAround(TDataSet& DataSet, const Variant& Wanted) {
  TCursorKeeper Keeper(DataSet, FReading);
  Variant Key;
  Integer Found = LocateKey(DataSet, Wanted, Key), Rows = WindowRows();
  Integer Top = std::clamp(Found - (Rows - 1) / 2, Integer(0), FCount - Rows);
  TRows Read;
  ReadWindow(DataSet, Top, Read);
  Keeper.Restore();
  ShowRows(Top, Read);
  Select(Found, Key);
}

// The same window read afresh, and the wanted key found again.
void TPopupDataList::ReadAgain(TDataSet& DataSet, const Variant& Wanted) {
  TCursorKeeper Keeper(DataSet, FReading);
  Integer Top = std::clamp(FTop, Integer(0), FCount - WindowRows());
  TRows Read;
  ReadWindow(DataSet, Top, Read);
  Variant Key;
  Integer Found = -1;
  if (int I = IndexOfKey(Read.Keys, Wanted); I >= 0) {
    Found = Top + I;
    Key = Read.Keys[size_t(I)];
  } else {
    Found = LocateKey(DataSet, Wanted, Key);
  }
  Keeper.Restore();
  ShowRows(Top, Read);
  Select(Found, Key);
}

// The record whose key is Value, as the data set finds it (the cursor goes there), or -1.
Integer TPopupDataList::LocateKey(TDataSet& DataSet, const Variant& Value, Variant& Key) {
  TField* KeyField = DataSet.FindField(FKeyFieldName);
  if (Value.IsNull() || Value.IsEmpty() || KeyField->GetFieldKind() != fkData) return -1;
  if (!DataSet.Locate(FKeyFieldName, Value)) return -1;
  Key = KeyField->GetAsVariant();
  return DataSet.GetRecNo() - 1;
}

// Shows the records from Top on (kept within the records there are), reading only those that
// come into view; false when the data set cannot be read now.
bool TPopupDataList::MoveWindow(Integer Top) {
  Top = std::clamp(Top, Integer(0), std::max(Integer(0), FCount - WindowRows()));
  if (!FStale && Top == FTop && Integer(FKeys.size()) == WindowRows()) return true;
  TDataSet* DS = ReadableDataSet();
  if (!DS) return false;
  NoteSelection();
  TCursorKeeper Keeper(*DS, FReading);
  TRows Read;
  ReadWindow(*DS, Top, Read);
  Keeper.Restore();
  ShowRows(Top, Read);
  return true;
}

// The window from Top: rows the list holds (unless stale) are kept, the others read.
void TPopupDataList::ReadWindow(TDataSet& DataSet, Integer Top, TRows& Rows) {
  Integer End = Top + WindowRows();
  Integer KeepFrom = std::max(Top, FTop);
  Integer KeepTo = std::min(End, FTop + Integer(FKeys.size()));
  if (FStale || KeepFrom >= KeepTo) {
    ReadRange(DataSet, Top, End - Top, Rows);
    return;
  }
  ReadRange(DataSet, Top, KeepFrom - Top, Rows);
  for (Integer R = KeepFrom; R < KeepTo; ++R) {
    Rows.Texts.push_back(GetItems()->Get(int(R - FTop)));
    Rows.Keys.push_back(FKeys[size_t(R - FTop)]);
  }
  ReadRange(DataSet, KeepTo, End - KeepTo, Rows);
}

// Appends records From .. From + Count - 1, read through the cursor.
void TPopupDataList::ReadRange(TDataSet& DataSet, Integer From, Integer Count, TRows& Rows) {
  TField* Key = DataSet.FindField(FKeyFieldName);
  TField* Shown = ShownField(DataSet);
  for (Integer K = 0; K < Count; ++K) {
    if (K == 0)
      DataSet.SetRecNo(From + 1);
    else
      DataSet.Next();
    Rows.Keys.push_back(Key->GetAsVariant());
    Rows.Texts.push_back(Shown->GetDisplayText());
  }
}

// Record after record from the one after After, going round, up to the first match: one read
// (and one scroll for the links) per record walked, every record when none matches.
Integer TPopupDataList::WalkToPrefix(TDataSet& DataSet, const std::string& Prefix, Integer After) {
  TField* Shown = ShownField(DataSet);
  Integer Count = DataSet.GetRecordCount(), Found = -1;
  TCursorKeeper Keeper(DataSet, FReading);
  for (Integer K = 1; K <= Count && Found < 0; ++K) {
    Integer R = (After + K) % Count;
    DataSet.SetRecNo(R + 1);
    if (StartsText(Prefix, Shown->GetDisplayText())) Found = R;
  }
  Keeper.Restore();
  return Found;
}

// Makes Rows the window from record Top, with the selected record marked when it holds it.
void TPopupDataList::ShowRows(Integer Top, TRows& Rows) {
  SetItemIndex(-1);
  FTop = Top;
  FKeys = std::move(Rows.Keys);
  TStringList Texts;
  for (const std::string& T : Rows.Texts) Texts.Add(T);
  GetItems()->Assign(&Texts);
  FStale = false;
  SetItemIndex(InWindow(FSelected) ? int(FSelected - FTop) : -1);
  UpdateHeight();
}

void TPopupDataList::ClearRows() {
  FCount = 0;
  DropRows();
}

void TPopupDataList::DropRows() {
  TRows None;
  FSelected = -1;
  FSelectedKey = Null;
  ShowRows(0, None);
}

// Keys compare in the key field's own type, so that 7 finds the integer key 7 and "007" does
// not find the text key "7".
int TPopupDataList::IndexOfKey(const std::vector<Variant>& Keys, const Variant& Value) const {
  if (Value.IsNull() || Value.IsEmpty() || Keys.empty()) return -1;
  Variant Key;
  try {
    Key = TField::ConvertValue(FKeyType, Value, FKeyFieldName);
  } catch (const Exception&) {
    return -1;
  }
  auto It = std::find(Keys.begin(), Keys.end(), Key);
  return It == Keys.end() ? -1 : int(It - Keys.begin());
}

void TPopupDataList::UpdateHeight() {
  SetClientHeight(std::clamp(int(WindowRows()), 1, FRowCount) * GetItemHeight());
}

}  // namespace plumb
