#include "CustomerList.h"

#include "controls/Forms.h"
#include "data/DataSet.h"

namespace demo {

using namespace plumb;

void TCustomerListLink::ActiveChanged() {
  FList->Fill();
}

void TCustomerListLink::DataSetScrolled(Integer Distance) {
  (void)Distance;
  FList->FollowRecord();
}

// A whole-record change may be a post, an insert or a delete: the lines are read again when
// their number changed, else only the current one follows its name.
void TCustomerListLink::RecordChanged(TField* Field) {
  TDataSet* Customers = GetDataSet();
  if (!Customers || !Customers->GetActive()) return;
  if (!Field && Customers->GetRecordCount() != FList->GetCount()) {
    FList->Fill();
    return;
  }
  if (!Field || SameText(Field->GetFieldName(), "name")) FList->ShowName();
  FList->FollowRecord();
}

TCustomerList::TCustomerList(TComponent* AOwner)
    : TCustomListBox(AOwner), FLink(std::make_unique<TCustomerListLink>(this)) {}

TCustomerList::~TCustomerList() {
  FLink.reset();
}

void TCustomerList::Bind(TDataSource* Customers, TDataSet* Names) {
  FNames = Names;
  FLink->SetDataSource(Customers);
  Fill();
}

void TCustomerList::Fill() {
  TStringList Lines;
  if (FNames && FLink->GetActive()) {
    FNames->Close();  // read again: rows may have come or gone
    FNames->Open();
    for (FNames->First(); !FNames->GetEof(); FNames->Next())
      Lines.Add(FNames->FieldByName("name")->GetAsString());
  }
  GetItems()->Assign(&Lines);
  FollowRecord();
}

void TCustomerList::FollowRecord() {
  TDataSet* Customers = FLink->GetDataSet();
  SetItemIndex(Customers && Customers->GetActive() ? Customers->GetRecNo() - 1 : -1);
}

void TCustomerList::ShowName() {
  TDataSet* Customers = FLink->GetDataSet();
  int Line = Customers ? Customers->GetRecNo() - 1 : -1;
  if (Line < 0 || Line >= GetCount()) return;
  std::string Name = Customers->FieldByName("name")->GetAsString();
  if (GetItems()->Get(Line) != Name) GetItems()->Put(Line, Name);
}

// The user chose a line: that customer becomes current. Leaving a record posts it; when the
// database refuses, the record stays, the selection goes back and the error is told.
void TCustomerList::Click() {
  TDataSet* Customers = FLink->GetDataSet();
  if (Customers && Customers->GetActive() && GetItemIndex() >= 0 &&
      GetItemIndex() + 1 != Customers->GetRecNo()) {
    try {
      Customers->SetRecNo(GetItemIndex() + 1);
    } catch (const Exception&) {
      FollowRecord();
      if (Application) Application->HandleException(this);
    }
  }
  TCustomListBox::Click();
}

}  // namespace demo
