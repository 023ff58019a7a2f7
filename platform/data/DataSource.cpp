#include "DataSource.h"

#include <algorithm>

#include "DataSet.h"

namespace plumb {

// --- TDataSource ---

void TDataSource::DescribeProperties(TPropertyList<TDataSource>& P) {
  P.BooleanProp("AutoEdit", &TDataSource::GetAutoEdit, &TDataSource::SetAutoEdit).Default(true);
  P.ComponentProp("DataSet", &TDataSource::GetDataSet, &TDataSource::SetDataSet);
  P.BooleanProp("Enabled", &TDataSource::GetEnabled, &TDataSource::SetEnabled).Default(true);
  P.EventProp("OnStateChange", &TDataSource::OnStateChange);
  P.EventProp("OnDataChange", &TDataSource::OnDataChange);
}
PLUMB_REGISTER_CLASS(TDataSource);

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource() {
  if (FDataSet) FDataSet->RemoveDataSource(this);
  FDataSet = nullptr;
  std::vector<TDataLink*> Links;
  Links.swap(FDataLinks);
  for (TDataLink* L : Links) {
    L->FDataSource = nullptr;
    L->UpdateState();
  }
}

void TDataSource::SetDataSet(TDataSet* ADataSet) {
  if (ADataSet == FDataSet) return;
  if (FDataSet) {
    FDataSet->RemoveDataSource(this);
    // Links hear the old data set go before the new one comes, even when both are open.
    FDataSet = nullptr;
    UpdateLinkStates();
  }
  FDataSet = ADataSet;
  if (ADataSet) ADataSet->AddDataSource(this);
  UpdateLinkStates();
}

void TDataSource::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  UpdateLinkStates();
}

TDataSetState TDataSource::GetState() const {
  return FEnabled && FDataSet ? FDataSet->GetState() : dsInactive;
}

void TDataSource::Edit() {
  if (FAutoEdit && GetState() == dsBrowse) FDataSet->Edit();
}

bool TDataSource::HasLink(const TDataLink* Link) const {
  return std::find(FDataLinks.begin(), FDataLinks.end(), Link) != FDataLinks.end();
}

void TDataSource::UpdateLinkStates() {
  std::vector<TDataLink*> Links = FDataLinks;
  for (TDataLink* L : Links)
    if (HasLink(L)) L->UpdateState();
  StateChanged();
}

void TDataSource::StateChanged() {
  TDataSetState State = GetState();
  if (State == FReportedState) return;
  FReportedState = State;
  if (OnStateChange) OnStateChange(this);
}

void TDataSource::DataEvent(TDataEvent Event, intptr_t Info) {
  if (!FEnabled) return;
  // Links may detach themselves (or others) while they hear the event.
  std::vector<TDataLink*> Links = FDataLinks;
  for (TDataLink* L : Links)
    if (HasLink(L)) L->DataEvent(Event, Info);
  if (Event == deUpdateState) {
    StateChanged();
  } else if (Event != deUpdateRecord && OnDataChange) {
    OnDataChange(this, Event == deFieldChange ? reinterpret_cast<TField*>(Info) : nullptr);
  }
}

// --- TDataLink ---

TDataLink::~TDataLink() {
  if (FDataSource) {
    auto& L = FDataSource->FDataLinks;
    L.erase(std::remove(L.begin(), L.end(), this), L.end());
  }
}

void TDataLink::SetDataSource(TDataSource* ADataSource) {
  if (ADataSource == FDataSource) return;
  if (FDataSource) {
    auto& L = FDataSource->FDataLinks;
    L.erase(std::remove(L.begin(), L.end(), this), L.end());
  }
  FDataSource = ADataSource;
  if (ADataSource) ADataSource->FDataLinks.push_back(this);
  UpdateState();
}

TDataSet* TDataLink::GetDataSet() const {
  return FDataSource ? FDataSource->GetDataSet() : nullptr;
}

void TDataLink::SetReadOnly(bool Value) {
  if (Value == FReadOnly) return;
  FReadOnly = Value;
  UpdateState();
}

bool TDataLink::Edit() {
  if (FDataSource && !FReadOnly) FDataSource->Edit();
  return FEditing;
}

void TDataLink::UpdateState() {
  TDataSetState State = FDataSource ? FDataSource->GetState() : dsInactive;
  bool NowActive = State != dsInactive;
  if (NowActive != FActive) {
    FActive = NowActive;
    ActiveChanged();
  }
  bool NowEditing = FActive && !FReadOnly && IsEditState(State);
  if (NowEditing != FEditing) {
    FEditing = NowEditing;
    EditingChanged();
  }
}

void TDataLink::DataEvent(TDataEvent Event, intptr_t Info) {
  if (Event == deUpdateState) {
    UpdateState();
    return;
  }
  if (!FActive) return;
  switch (Event) {
    case deFieldChange:
      RecordChanged(reinterpret_cast<TField*>(Info));
      break;
    case deRecordChange:
      RecordChanged(nullptr);
      break;
    case deDataSetChange:
      DataSetChanged();
      break;
    case deDataSetScroll:
      DataSetScrolled(Integer(Info));
      break;
    case deUpdateRecord:
      UpdateData();
      break;
    default:
      break;
  }
}

}  // namespace plumb
