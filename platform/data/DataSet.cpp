// TDataSet: opening and closing, navigation, the edit state machine and notifications.
//
//   Opening/closing   Open, Close, SetActive, Destroying, DetachAll
//   Navigation        First, Last, MoveBy, SetRecNo, Locate, MoveTo
//   Editing           Edit, Insert/Append, Post, Cancel, Delete, CheckBrowseMode
//   Notifications     SetState, DataEvent, data-source registration
//
// Each operation first does what can fail (read the next record, write to the storage) and
// only then changes the data set and tells the links, so a failure changes nothing. Once the
// storage has taken a write, nothing undoes the operation.
//
// What the links hear, in order:
//   Open            state (ActiveChanged)
//   Close           state (ActiveChanged)
//   Edit            state (EditingChanged), whole record changed
//   Field assigned  field changed, then each lookup field that depends on it
//   Insert, Append  state, data set changed
//   Post, Cancel    state back to browse, data set changed
//   Delete          (state back to browse,) data set changed
//   Scrolling       posts a pending edit first, then scrolled(distance)
// Fields, buffers and lookups are in DataSetFields.cpp.
#include "DataSet.h"

#include <algorithm>

#include "DataSource.h"

namespace plumb {

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner) {}

TDataSet::~TDataSet() {
  DetachAll();
}

void TDataSet::Destroying() {
  inherited::Destroying();
  // Descendants' storage is still whole here (unlike in ~TDataSet), so close properly.
  try {
    Close();
  } catch (const Exception&) {
  }
}

void TDataSet::DetachAll() {
  FState = dsInactive;
  std::vector<TDataSource*> Sources;
  Sources.swap(FDataSources);
  for (TDataSource* S : Sources) {
    S->FDataSet = nullptr;
    S->UpdateLinkStates();
  }
  std::vector<TField*> Fields;
  Fields.swap(FFields);
  for (TField* F : Fields) {
    F->FDataSet = nullptr;
    F->FFieldNo = -1;
  }
}

void TDataSet::Error(const std::string& Message) const {
  throw EDatabaseError(GetName().empty() ? Message : GetName() + ": " + Message);
}

void TDataSet::CheckActive() const {
  if (!GetActive()) Error("Cannot perform this operation on a closed dataset");
}

void TDataSet::CheckInactive() const {
  if (GetActive()) Error("Cannot perform this operation on an open dataset");
}

// --- Opening and closing ---

void TDataSet::DescribeProperties(TPropertyList<TDataSet>& P) {
  P.BooleanProp("ReadOnly", &TDataSet::GetReadOnly, &TDataSet::SetReadOnly).Default(false);
  P.BooleanProp("Active", &TDataSet::GetActive, &TDataSet::SetActive).Default(false);
  P.EventProp("BeforePost", &TDataSet::BeforePost);
  P.EventProp("AfterPost", &TDataSet::AfterPost);
  P.EventProp("AfterScroll", &TDataSet::AfterScroll);
  P.EventProp("OnNewRecord", &TDataSet::OnNewRecord);
  P.EventProp("OnCalcFields", &TDataSet::OnCalcFields);
}

void TDataSet::Loaded() {
  inherited::Loaded();
  if (FStreamedActive) {
    FStreamedActive = false;
    Open();
  }
}

void TDataSet::SetActive(bool Value) {
  if (IsLoading()) {
    FStreamedActive = Value;
    return;
  }
  if (Value)
    Open();
  else
    Close();
}

void TDataSet::Open() {
  if (GetActive()) return;
  FState = dsOpening;
  try {
    InternalOpen();
    CreateDefaultFields();
    BindFields();
    FBuffer.assign(FFieldDefs.size(), Null);
    FCurrent = -1;
    TRecordValues Row;
    Integer First = GetStoredCount() > 0 ? 0 : -1;
    FetchRecord(First, Row);
    ShowRecord(First, Row);
  } catch (...) {
    FState = dsInactive;
    FCurrent = -1;
    try {
      InternalClose();
    } catch (...) {
    }
    throw;
  }
  FBof = true;
  FEof = FCurrent < 0;
  InvalidateLookupIndex();
  FState = dsInactive;
  SetState(dsBrowse);
}

void TDataSet::Close() {
  if (!GetActive()) return;
  SetState(dsInactive);
  InternalClose();
  FCurrent = -1;
  FBuffer.clear();
  FFetched.clear();
  FScratch.clear();
  FSaved.clear();
  FChanged.clear();
  FModified = false;
  FBof = FEof = true;
  InvalidateLookupIndex();
}

void TDataSet::SetReadOnly(bool Value) {
  if (Value == FReadOnly) return;
  if (Value && IsEditState(FState)) Cancel();
  FReadOnly = Value;
}

bool TDataSet::GetCanModify() const {
  return GetActive() && !FReadOnly && StorageWritable();
}

// --- Navigation ---

Integer TDataSet::GetRecordCount() const {
  return GetActive() ? GetStoredCount() : 0;
}

Integer TDataSet::GetRecNo() const {
  if (FState == dsInsert) return FInsertIndex + 1;
  return FCurrent + 1;
}

void TDataSet::MoveTo(Integer Index, bool AtBof, bool AtEof) {
  if (Index == FCurrent) {
    FBof = AtBof;
    FEof = AtEof;
    return;
  }
  Integer Distance = Index - FCurrent;
  FetchRecord(Index, FScratch);
  ShowRecord(Index, FScratch);
  FBof = AtBof;
  FEof = AtEof;
  DataEvent(deDataSetScroll, intptr_t(Distance));
  if (AfterScroll) AfterScroll(this);
}

void TDataSet::First() {
  CheckActive();
  CheckBrowseMode();
  Integer Count = GetStoredCount();
  MoveTo(Count > 0 ? 0 : -1, true, Count == 0);
}

void TDataSet::Last() {
  CheckActive();
  CheckBrowseMode();
  Integer Count = GetStoredCount();
  MoveTo(Count - 1, Count == 0, true);
}

Integer TDataSet::MoveBy(Integer Distance) {
  CheckActive();
  CheckBrowseMode();
  Integer Count = GetStoredCount();
  if (Count == 0) {
    FBof = FEof = true;
    return 0;
  }
  if (Distance == 0) return 0;
  Int64 Target = Int64(FCurrent) + Distance;
  bool AtBof = Target<0, AtEof = Target> Count - 1;
  Target = std::clamp<Int64>(Target, 0, Count - 1);
  Integer Moved = Integer(Target) - FCurrent;
  MoveTo(Integer(Target), AtBof, AtEof);
  return Moved;
}

void TDataSet::SetRecNo(Integer Value) {
  CheckActive();
  CheckBrowseMode();
  Integer Count = GetStoredCount();
  if (Value < 1 || Value > Count) return;
  MoveTo(Value - 1, false, false);
}

bool TDataSet::Locate(const std::string& KeyFields, const std::vector<Variant>& KeyValues) {
  CheckActive();
  CheckBrowseMode();
  Integer Index = FindRecordIndex(GetFieldList(KeyFields), KeyValues);
  if (Index < 0) return false;
  MoveTo(Index, false, false);
  return true;
}

// --- Editing ---

void TDataSet::Edit() {
  CheckActive();
  if (IsEditState(FState)) return;
  if (GetStoredCount() == 0) {
    Insert();
    return;
  }
  if (!GetCanModify()) Error("Cannot modify a read-only dataset");
  FScratch.assign(FFieldDefs.size(), Null);
  InternalEdit(FCurrent, FScratch);
  ShowRecord(FCurrent, FScratch);
  SaveForCancel();
  SetState(dsEdit);
  DataEvent(deRecordChange, 0);
}

void TDataSet::Insert() {
  BeginInsert(false);
}

void TDataSet::Append() {
  BeginInsert(true);
}

void TDataSet::BeginInsert(bool AtEnd) {
  CheckActive();
  CheckBrowseMode();
  if (!GetCanModify()) Error("Cannot modify a read-only dataset");
  FInsertIndex = AtEnd ? GetStoredCount() : std::max(FCurrent, 0);
  SaveForCancel();
  ClearBuffer();
  SetState(dsInsert);
  if (OnNewRecord) OnNewRecord(this);
  // Defaults set by OnNewRecord do not count as the user's change.
  FModified = false;
  DataEvent(deDataSetChange, 0);
}

void TDataSet::Post() {
  CheckActive();
  // Controls hand in what the user typed first, even in browse state: a control whose
  // change could not start the edit (the file was locked) starts it now, or says why not.
  DataEvent(deUpdateRecord, 0);
  if (!IsEditState(FState)) return;
  if (BeforePost) BeforePost(this);
  CheckRequiredFields();
  bool Inserting = FState == dsInsert;
  Integer Index = Inserting ? FInsertIndex : FCurrent;
  // Write a copy: a refused write must leave the user's values exactly as they were.
  TRecordValues Values = FBuffer;
  WriteRecord(Index, Inserting, Values, FChanged);
  // Stored. Values is the record as the storage holds it, so nothing is read back here: a
  // read that failed now would turn a done post into an error and invite a second one.
  InvalidateLookupIndex();
  FBof = FEof = false;
  std::exception_ptr CalcError = SettleRecord(Index, Values);
  SetState(dsBrowse);
  DataEvent(deDataSetChange, 0);
  if (CalcError) std::rethrow_exception(CalcError);
  if (AfterPost) AfterPost(this);
}

void TDataSet::Cancel() {
  if (!IsEditState(FState)) return;
  TRecordValues Row = FSaved;
  if (Row.size() != FFieldDefs.size()) FetchRecord(FCurrent, Row);
  ShowRecord(FCurrent, Row);
  FSaved.clear();
  SetState(dsBrowse);
  DataEvent(deDataSetChange, 0);
}

void TDataSet::Delete() {
  CheckActive();
  if (FState == dsInsert) {
    Cancel();
    return;
  }
  if (GetStoredCount() == 0) Error("Cannot perform this operation on an empty dataset");
  if (!GetCanModify()) Error("Cannot modify a read-only dataset");
  // The record that takes the deleted one's place is read first: once the delete is done,
  // nothing may fail.
  Integer Next = FCurrent + 1 < GetStoredCount() ? FCurrent + 1 : FCurrent - 1;
  TRecordValues Row;
  FetchRecord(Next, Row);
  InternalDelete(FCurrent);
  InvalidateLookupIndex();
  Integer Count = GetStoredCount();
  FBof = FEof = Count == 0;
  std::exception_ptr CalcError = SettleRecord(std::min(Next, FCurrent), Row);
  SetState(dsBrowse);
  DataEvent(deDataSetChange, 0);
  if (CalcError) std::rethrow_exception(CalcError);
}

void TDataSet::Resync(Integer Index) {
  if (!GetActive()) return;
  Integer Count = GetStoredCount();
  Integer Current = Count == 0 ? -1 : std::clamp(Index, 0, Count - 1);
  TRecordValues Row;
  FetchRecord(Current, Row);
  ShowRecord(Current, Row);
  InvalidateLookupIndex();
  FBof = FEof = Count == 0;
  SetState(dsBrowse);
  DataEvent(deDataSetChange, 0);
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  if (FState == dsEdit || (FState == dsInsert && FModified))
    Post();
  else if (FState == dsInsert)
    Cancel();
}

void TDataSet::AppendRecord(std::initializer_list<Variant> Values) {
  Append();
  try {
    Integer I = 0;
    for (const Variant& V : Values) {
      if (I >= GetFieldCount()) break;
      TField* F = FFields[size_t(I++)];
      if (F->GetFieldKind() == fkData) F->SetAsVariant(V);
    }
    Post();
  } catch (...) {
    Cancel();
    throw;
  }
}

// --- Notifications ---

void TDataSet::SetState(TDataSetState Value) {
  if (Value == FState) return;
  FState = Value;
  DataEvent(deUpdateState, 0);
}

void TDataSet::DataEvent(TDataEvent Event, intptr_t Info) {
  // A handler may detach a data source while we walk the list.
  std::vector<TDataSource*> Sources = FDataSources;
  for (TDataSource* S : Sources)
    if (std::find(FDataSources.begin(), FDataSources.end(), S) != FDataSources.end())
      S->DataEvent(Event, Info);
}

void TDataSet::AddDataSource(TDataSource* Source) {
  FDataSources.push_back(Source);
}

void TDataSet::RemoveDataSource(TDataSource* Source) {
  FDataSources.erase(std::remove(FDataSources.begin(), FDataSources.end(), Source),
                     FDataSources.end());
}

}  // namespace plumb
