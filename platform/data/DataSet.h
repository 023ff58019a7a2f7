#pragma once
// TDataSet: a cursor over the records of some storage, with the current record in a buffer,
// the states browse/edit/insert, and notifications to its data sources.
//
// Descendants supply the storage (TMemDataSet, TSQLiteDataSet) through a handful of protected
// operations: open and describe the columns, count, read, write and delete records by
// position. Everything a user of a data set sees — navigation, the state machine, field
// values, what the data links hear and in which order — lives here, so every storage behaves
// alike.
#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>
#include <unordered_map>
#include <vector>

#include "Field.h"
#include "FieldTypes.h"
#include "core/Component.h"
#include "core/Events.h"
#include "core/TypeInfo.h"
#include "core/Variant.h"

namespace plumb {

class TDataSource;

struct TFieldDef {
  std::string Name;
  TFieldType DataType = ftUnknown;
  bool Required = false;
};

using TRecordValues = std::vector<Variant>;
using TDataSetNotifyEvent = TEvent<void(TDataSet* DataSet)>;

class TDataSet : public TComponent {
  PLUMB_CLASS(TDataSet, TComponent)
  explicit TDataSet(TComponent* AOwner);
  ~TDataSet() override;

  // --- Opening and closing ---
  bool GetActive() const { return FState != dsInactive; }
  void SetActive(bool Value);
  // Raises EDatabaseError (and stays closed) when the storage cannot be opened or a
  // persistent field names no column or has another type.
  void Open();
  // Discards an unposted edit.
  void Close();
  TDataSetState GetState() const { return FState; }
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  // Open, not read-only, and the storage takes writes.
  bool GetCanModify() const;

  // --- Fields ---
  Integer GetFieldCount() const { return Integer(FFields.size()); }
  TField* GetField(Integer Index) const;
  // Letter case is ignored; nil when there is no such field.
  TField* FindField(const std::string& FieldName) const;
  // As FindField, but raises EDatabaseError naming the field when it is missing.
  TField* FieldByName(const std::string& FieldName) const;
  // The fields named in a ';'-separated list, in that order.
  std::vector<TField*> GetFieldList(const std::string& FieldNames) const;
  const std::vector<TFieldDef>& GetFieldDefs() const { return FFieldDefs; }

  // --- Navigation ---
  // Every operation that raises leaves the data set as it was: the current record and its
  // values, the record count, the state, and what the links heard.
  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  // Moves Distance records (less at either end) and returns how far it moved. Leaving an
  // edited record posts it first.
  Integer MoveBy(Integer Distance);
  // 1-based number of the current record; 0 when there is none.
  Integer GetRecNo() const;
  void SetRecNo(Integer Value);
  Integer GetRecordCount() const;
  bool GetBof() const { return FBof; }
  bool GetEof() const { return FEof; }
  bool IsEmpty() const { return GetRecordCount() == 0 && FState != dsInsert; }
  // Makes the record whose KeyFields equal KeyValues current; false (and no move) when none
  // does. Several key fields take a value each; text compares exactly, letter case included.
  bool Locate(const std::string& KeyFields, const std::vector<Variant>& KeyValues);
  bool Locate(const std::string& KeyFields, const Variant& KeyValue) {
    return Locate(KeyFields, std::vector<Variant>{KeyValue});
  }
  // ResultField of the record whose KeyFields equal KeyValues, without moving; Null when no
  // record matches.
  Variant Lookup(const std::string& KeyFields, const std::vector<Variant>& KeyValues,
                 const std::string& ResultField);
  // The first record after position After (0-based; -1 starts at the first record), going
  // round to the first record and ending with After itself, whose Field's text (AsString)
  // begins with Prefix, ASCII letter case ignored; -1 when none. Looks at the stored records
  // without moving the cursor, so the links hear nothing and an unposted edit is not seen.
  // Field must be a column of this data set.
  Integer FindPrefix(TField* Field, const std::string& Prefix, Integer After);

  // --- Editing ---
  // Puts the current record, read afresh, into edit state; on an empty data set inserts a
  // record instead. Raises EDatabaseError on a closed or read-only data set and when the
  // record is no longer stored.
  void Edit();
  void Insert();
  void Append();
  // Writes the edited record. When the storage refuses, raises EDatabaseError and the record
  // stays in edit state with the user's values. Once the storage has taken the record the
  // post is done; an error of OnCalcFields after that still reaches the caller. The links
  // are asked for pending values first (UpdateData), also in browse state, where one may
  // start the edit; without an edit under way nothing is written.
  void Post();
  // Back to the record as it was when editing began.
  void Cancel();
  // Deletes the current record; the next one (or the prior one at the end) becomes current.
  void Delete();
  // Posts an edited record (an insert nobody touched is cancelled instead).
  void CheckBrowseMode();
  bool GetModified() const { return FModified; }
  // Appends a record with these values for the first fields, in field order, and posts it.
  void AppendRecord(std::initializer_list<Variant> Values);

  TDataSetNotifyEvent BeforePost;
  TDataSetNotifyEvent AfterPost;
  TDataSetNotifyEvent AfterScroll;
  TDataSetNotifyEvent OnNewRecord;
  TDataSetNotifyEvent OnCalcFields;

  static void DescribeProperties(TPropertyList<TDataSet>& P);
  // A data set read from a stream with Active set opens here, once its fields are in place.
  void Loaded() override;

 protected:
  // --- What a storage supplies ---
  // Opens the storage and describes its columns with SetFieldDefs; raises on failure.
  virtual void InternalOpen() = 0;
  virtual void InternalClose() = 0;
  virtual Integer GetStoredCount() const = 0;
  // Reads record Index (0-based) into Values, one entry per field definition. A storage may
  // leave large values Unassigned; ReadValue supplies them when a field asks.
  virtual void ReadRecord(Integer Index, TRecordValues& Values) = 0;
  // Column Column of record Index.
  virtual Variant ReadValue(Integer Index, Integer Column);
  // Stores Values as record Index, or as a new record placed at Index when Inserting, and
  // leaves in Values the record as stored (generated keys, defaults, what the storage made of
  // each value). Raises EDatabaseError, with the storage unchanged, when refused or when the
  // storage did not take the record.
  virtual void WriteRecord(Integer Index, bool Inserting, TRecordValues& Values,
                           const std::vector<bool>& Changed) = 0;
  // Raises EDatabaseError, with the storage unchanged, when the record was not deleted.
  virtual void InternalDelete(Integer Index) = 0;
  // Reads record Index afresh for editing; raises EDatabaseError when it is no longer stored.
  virtual void InternalEdit(Integer Index, TRecordValues& Values) { ReadRecord(Index, Values); }
  // The first record whose Columns hold Values (already in the columns' types, Null for
  // none), or -1. The default looks in an index of the records built on first use.
  virtual Integer FindRecord(const std::vector<Integer>& Columns, const TRecordValues& Values);
  // Records From .. To - 1 searched in order for FindPrefix: the first whose Column's text
  // begins with Prefix, or -1. The default reads record after record.
  virtual Integer FindPrefixRecord(Integer Column, const std::string& Prefix, Integer From,
                                   Integer To);
  virtual bool StorageWritable() const { return true; }

  void SetFieldDefs(std::vector<TFieldDef> Defs) { FFieldDefs = std::move(Defs); }
  void CheckActive() const;
  void CheckInactive() const;
  [[noreturn]] void Error(const std::string& Message) const;
  void Destroying() override;
  // Forgets cached lookup positions; storages call it when their rows change behind us.
  void InvalidateLookupIndex() { FLookupIndex.clear(); }
  // After the stored rows changed wholesale: makes record Index current (clamped to the
  // records there are), reloads it in browse state and tells the links. Raises, changing
  // nothing, when the record cannot be read.
  void Resync(Integer Index);

 private:
  friend class TField;
  friend class TDataSource;

  // Fields and buffers (DataSetFields.cpp)
  void AddField(TField* Field);
  void RemoveField(TField* Field);
  void BindFields();
  void CreateDefaultFields();
  Variant GetFieldValue(const TField* Field) const;
  void SetFieldValue(TField* Field, const Variant& Value);
  void NotifyFieldChanged(TField* Field);
  void CheckRequiredFields() const;
  void ClearBuffer();
  void CalculateFields();
  // Record Index (none when -1) into Row; raises with nothing changed.
  void FetchRecord(Integer Index, TRecordValues& Row);
  // Makes Row the buffer of record Index. When OnCalcFields raises, the previous record comes
  // back and the error goes on.
  void ShowRecord(Integer Index, TRecordValues& Row);
  // As ShowRecord after a change the storage has made: nothing is undone, and an error of
  // OnCalcFields is handed back for the caller to raise once the data set has moved on.
  std::exception_ptr SettleRecord(Integer Index, TRecordValues& Row);
  // The buffer as Cancel brings it back; large values read on demand are read again.
  void SaveForCancel();

  // Notifications
  void DataEvent(TDataEvent Event, intptr_t Info);
  void SetState(TDataSetState Value);
  void AddDataSource(TDataSource* Source);
  void RemoveDataSource(TDataSource* Source);
  void DetachAll();

  // Lookups (DataSetFields.cpp)
  Integer FindRecordIndex(const std::vector<TField*>& Keys, const std::vector<Variant>& Values);
  // Raises, changing nothing, when the record cannot be read.
  void MoveTo(Integer Index, bool AtBof, bool AtEof);
  void BeginInsert(bool AtEnd);

  std::vector<TFieldDef> FFieldDefs;
  std::vector<TField*> FFields;
  std::vector<TDataSource*> FDataSources;
  TDataSetState FState = dsInactive;
  bool FReadOnly = false;
  bool FStreamedActive = false;
  bool FModified = false;
  bool FBof = true;
  bool FEof = true;
  Integer FCurrent = -1;      // 0-based current record, -1 when there is none
  Integer FInsertIndex = -1;  // where an inserted record goes
  // The current record as the user sees it. A large value the storage left Unassigned is read
  // when a field first asks for it, which may happen in a const getter.
  mutable TRecordValues FBuffer;
  mutable std::vector<bool> FFetched;  // read on demand since the record was loaded
  TRecordValues FScratch;              // the next record, read before it replaces FBuffer
  TRecordValues FSaved;                // what Cancel brings back
  std::vector<bool> FChanged;
  // Position of each key text, per key-field list; built on first lookup.
  std::unordered_map<std::string, std::unordered_map<std::string, Integer>> FLookupIndex;
};

}  // namespace plumb
