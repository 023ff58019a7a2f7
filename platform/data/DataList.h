#pragma once
// TPopupDataList: the drop-down list of a lookup. It shows one row per record of the list data
// set (the list field's text) and keeps each row's key beside it, so that a key value can be
// selected and the selected row's key read back.
//
// It is a list box made into a top-level window that never takes the focus: the control that
// drops it down keeps the keyboard and hands it the keys (WM_KEYDOWN, WM_CHAR) it should act
// on, and places it with SetWindowPos in screen coordinates.
//
// A lookup table may hold a million records, so the list holds only the window of them it
// shows (RowCount records at most): its items, ItemIndex and TopIndex are those of the window.
// Keys, the wheel, the scroll bar and typed letters move through the whole data set, reading
// the records that come into view. A list that is not on screen reads nothing until it is
// shown or given a key value.
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

  // Selects the record whose key equals Value (compared as the key field's type) and shows the
  // rows around it; for Null or a key that no record has, the first rows and no selection. The
  // value is kept: when the rows are read again the record with that key is selected.
  void SetKeyValue(const Variant& Value);
  // The key of the selected record, also when the list has scrolled away from it; Null when
  // none is selected.
  Variant GetKeyValue() const;

  void Click() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void ScrollBarExtent(int& Max, int& Pos) override;

 private:
  friend class TListSourceLink;
  struct TRows {
    std::vector<std::string> Texts;
    std::vector<Variant> Keys;
  };

  // The selection (DataList.cpp)
  Integer SelectedRecord() const;
  void NoteSelection();
  bool InWindow(Integer Rec) const;
  void Select(Integer Rec, const Variant& Key);
  void SelectByUser(Integer Rec);

  // Reading (DataList.cpp)
  TField* ShownField(TDataSet& DataSet) const;
  TDataSet* ReadableDataSet() const;
  Integer WindowRows() const;
  bool Showing() const;
  void ReadRows(bool Around);
  void ReadAround(TDataSet& DataSet, const Variant& Wanted);
  void ReadAgain(TDataSet& DataSet, const Variant& Wanted);
  Integer LocateKey(TDataSet& DataSet, const Variant& Value, Variant& Key);
  bool MoveWindow(Integer Top);
  void ReadWindow(TDataSet& DataSet, Integer Top, TRows& Rows);
  void ReadRange(TDataSet& DataSet, Integer From, Integer Count, TRows& Rows);
  void ShowRows(Integer Top, TRows& Rows);
  void ClearRows();
  void DropRows();
  int IndexOfKey(const std::vector<Variant>& Keys, const Variant& Value) const;
  void UpdateHeight();

  // Moving through the records (DataListMoves.cpp)
  void WMKeyDown(TMessage& Message);
  void WMChar(TMessage& Message);
  void WMMouseWheel(TMessage& Message);
  void WMVScroll(TMessage& Message);
  void WMMouseMove(TMessage& Message);
  void WMWindowPosChanged(TMessage& Message);
  bool MoveByKey(Word Key);
  void ScrollBy(int Code, int Pos);
  Integer LastTop();
  void SearchPrefix(const std::string& Prefix);
  Integer WalkToPrefix(TDataSet& DataSet, const std::string& Prefix, Integer After);

  std::unique_ptr<TListSourceLink> FListLink;
  std::string FKeyFieldName;
  std::string FListFieldName;
  // The window: records FTop .. FTop + FKeys.size() - 1 of the FCount there are.
  Integer FTop = 0;
  Integer FCount = 0;
  std::vector<Variant> FKeys;  // one per item
  TFieldType FKeyType = ftUnknown;
  // The selected record and its key; it may lie outside the window (ItemIndex is then -1).
  Integer FSelected = -1;
  Variant FSelectedKey;
  Variant FKeyValue;  // the key asked for or last chosen
  int FRowCount = 7;
  Integer FWheelPending = 0;  // parts of a notch not yet turned into rows
  bool FReading = false;
  bool FStale = false;  // rows to read when next shown
};

}  // namespace plumb
