#pragma once
// TMemDataSet: a data set whose records live in memory. Declare the columns with AddFieldDef
// before opening; the rows survive Close and Open. Used by tests and by the design-time part.
#include <string>
#include <vector>

#include "DataSet.h"

namespace plumb {

class TMemDataSet : public TDataSet {
  PLUMB_CLASS(TMemDataSet, TDataSet)
  explicit TMemDataSet(TComponent* AOwner);
  ~TMemDataSet() override;

  // Raises EDatabaseError while open or for a name already taken.
  void AddFieldDef(const std::string& Name, TFieldType Type, bool Required = false);
  void ClearFieldDefs();
  // Drops every record (the data set may be open).
  void EmptyDataSet();

  // Test hook: the next write or delete is refused with this message, as a database might.
  void FailNextWrite(const std::string& Message) { FFailNext = Message; }

 protected:
  void InternalOpen() override;
  void InternalClose() override {}
  Integer GetStoredCount() const override { return Integer(FRows.size()); }
  void ReadRecord(Integer Index, TRecordValues& Values) override;
  void WriteRecord(Integer Index, bool Inserting, TRecordValues& Values,
                   const std::vector<bool>& Changed) override;
  void InternalDelete(Integer Index) override;

 private:
  void CheckWrite();

  std::vector<TFieldDef> FDefs;
  std::vector<TRecordValues> FRows;
  Int64 FLastAutoInc = 0;
  std::string FFailNext;
};

}  // namespace plumb
