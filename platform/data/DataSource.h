#pragma once
// TDataSource names a data set for the controls that show it; TDataLink is how a control
// hears the data set through a data source.
//
// The data set sends each event to its data sources; an enabled source fires its own events
// and hands the event to each of its links, which turn it into the overridable calls below.
// A link is active while its source is enabled and names an open data set.
#include <cstdint>
#include <vector>

#include "FieldTypes.h"
#include "core/Component.h"
#include "core/Events.h"
#include "core/TypeInfo.h"

namespace plumb {

class TDataSet;
class TDataLink;
class TField;

using TDataChangeEvent = TEvent<void(TObject* Sender, TField* Field)>;

class TDataSource : public TComponent {
  PLUMB_CLASS(TDataSource, TComponent)
  explicit TDataSource(TComponent* AOwner);
  ~TDataSource() override;

  TDataSet* GetDataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* ADataSet);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  // When set, a link's Edit puts a browsing data set into edit state.
  bool GetAutoEdit() const { return FAutoEdit; }
  void SetAutoEdit(bool Value) { FAutoEdit = Value; }
  // The data set's state, or dsInactive without one or while disabled.
  TDataSetState GetState() const;
  void Edit();

  TNotifyEvent OnStateChange;
  // Field is nil when the whole record changed or another record became current.
  TDataChangeEvent OnDataChange;

  static void DescribeProperties(TPropertyList<TDataSource>& P);

 private:
  friend class TDataSet;
  friend class TDataLink;
  void DataEvent(TDataEvent Event, intptr_t Info);
  void UpdateLinkStates();
  bool HasLink(const TDataLink* Link) const;
  // Fires OnStateChange when the state differs from the one last reported.
  void StateChanged();

  TDataSet* FDataSet = nullptr;
  std::vector<TDataLink*> FDataLinks;
  bool FEnabled = true;
  bool FAutoEdit = true;
  TDataSetState FReportedState = dsInactive;
};

class TDataLink : public TPersistent {
  PLUMB_CLASS(TDataLink, TPersistent)
  TDataLink() = default;
  ~TDataLink() override;

  TDataSource* GetDataSource() const { return FDataSource; }
  void SetDataSource(TDataSource* ADataSource);
  // Nil without a data source or without a data set.
  TDataSet* GetDataSet() const;
  bool GetActive() const { return FActive; }
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  // Active, not read-only, and the data set is in edit or insert state.
  bool GetEditing() const { return FEditing; }
  // Puts the data set into edit state when the source allows it; returns GetEditing().
  bool Edit();

  // Entry point of every event from the data source.
  virtual void DataEvent(TDataEvent Event, intptr_t Info);

 protected:
  // The data set was opened or closed (or the link was attached to or detached from it).
  virtual void ActiveChanged() {}
  // Another record became current, Distance records away.
  virtual void DataSetScrolled(Integer Distance) {
    (void)Distance;
    DataSetChanged();
  }
  // Several records may have changed: after post, cancel, insert and delete.
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  // One field of the current record changed, or the whole record when Field is nil.
  virtual void RecordChanged(TField* Field) { (void)Field; }
  virtual void EditingChanged() {}
  // Asked to write pending control values into the fields before a post.
  virtual void UpdateData() {}

 private:
  friend class TDataSource;
  void UpdateState();

  TDataSource* FDataSource = nullptr;
  bool FActive = false;
  bool FEditing = false;
  bool FReadOnly = false;
};

}  // namespace plumb
