#pragma once
// The list of customers beside the record: one line per record of the customers data set,
// in its order, read from a query of its own so that filling the list never moves the record
// the grid shows. Choosing a line makes that record current (posting the one being edited);
// moving the data set moves the selection, and a name being typed shows in its line.
#include <memory>

#include "controls/StdCtrls.h"
#include "data/DataSource.h"

namespace demo {

class TCustomerList;

class TCustomerListLink : public plumb::TDataLink {
  PLUMB_CLASS(TCustomerListLink, plumb::TDataLink)
  explicit TCustomerListLink(TCustomerList* AList) : FList(AList) {}

 protected:
  void ActiveChanged() override;
  void DataSetScrolled(plumb::Integer Distance) override;
  void RecordChanged(plumb::TField* Field) override;

 private:
  TCustomerList* FList;
};

class TCustomerList : public plumb::TCustomListBox {
  PLUMB_CLASS(TCustomerList, plumb::TCustomListBox)
  explicit TCustomerList(plumb::TComponent* AOwner);
  ~TCustomerList() override;

  // The customers, and a query of the same table in the same order giving each line's text.
  void Bind(plumb::TDataSource* Customers, plumb::TDataSet* Names);
  void Click() override;

 private:
  friend class TCustomerListLink;
  void Fill();
  void FollowRecord();
  void ShowName();

  std::unique_ptr<TCustomerListLink> FLink;
  plumb::TDataSet* FNames = nullptr;
};

}  // namespace demo
