#pragma once
// TPopupDataList: the drop-down list of a lookup. It shows one row per record of the list data
// set (the list field's text) and keeps each row's key beside it, so that a key value can be
// selected and the selected row's key read back.
//
// It is a list box made into a top-level window that never takes the focus: the control that
// drops it down keeps the keyboard and hands it the keys (WM_KEYDOWN, WM_CHAR) it should act
// on, and places it with SetWindowPos in screen coordinates.
#include <memory>
#include <string>
#include <vector>

#include "DataSource.h"
#include "controls/StdCtrls.h"
#include "core/Variant.h"

namespace plumb {

class TPopupDataList;

// Hears the list data set: the rows are read again when it opens, closes or its records
// change.
class TListSourceLink : public TDataLink {
  PLUMB_CLASS(TListSourceLink, TDataLink)
  explicit TListSourceLink(TPopupDataList* AList) : FList(AList) {}

 protected:
  void ActiveChanged() override;
  void DataSetChanged() override;
  // The list's selection does not follow the data set's cursor, and an unposted edit is not
  // shown until it is posted.
  void DataSetScrolled(Integer) override {}
  void RecordChanged(TField*) override {}

 private:
  TPopupDataList* FList;
};

class TPopupDataList : public TCustomListBox {
  PLUMB_CLASS(TPopupDataList, TCustomListBox)
  explicit TPopupDataList(TComponent* AOwner);
  ~TPopupDataList() override;

  // Rows shown at most; the height follows, and shrinks to the rows there are (one at least).
  int GetRowCount() const { return FRowCount; }
  void SetRowCount(int Value);
  // A field of the list data set holding each row's key.
  const std::string& GetKeyFieldName() const { return FKeyFieldName; }
  void SetKeyFieldName(const std::string& Value);
  // A field of the list data set whose display text each row shows; empty shows the key.
  const std::string& GetListFieldName() const { return FListFieldName; }
  void SetListFieldName(const std::string& Value);
  TDataSource* GetListSource() const { return FListLink->GetDataSource(); }
  void SetListSource(TDataSource* Value);

  // Selects the row whose key equals Value (compared as the key field's type); no row is
  // selected for Null or a key that no row has. The value is kept: when the rows are read
  // again the row with that key is selected.
  void SetKeyValue(const Variant& Value);
  // The key of the selected row; Null when no row is selected.
  Variant GetKeyValue() const;

  void Click() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  friend class TListSourceLink;
  void ReadRows();
  bool CollectRows(TDataSet& DataSet, TStringList& Texts, std::vector<Variant>& Keys);
  int IndexOfKey(const Variant& Value) const;
  void UpdateHeight();

  std::unique_ptr<TListSourceLink> FListLink;
  std::string FKeyFieldName;
  std::string FListFieldName;
  std::vector<Variant> FKeys;  // one per item
  TFieldType FKeyType = ftUnknown;
  Variant FKeyValue;  // the key asked for or last chosen
  int FRowCount = 7;
  bool FReading = false;
};

}  // namespace plumb
