#include "MemDataSet.h"

#include <algorithm>

namespace plumb {

PLUMB_REGISTER_CLASS(TMemDataSet);

TMemDataSet::TMemDataSet(TComponent* AOwner) : TDataSet(AOwner) {}

TMemDataSet::~TMemDataSet() {
  Close();
}

void TMemDataSet::AddFieldDef(const std::string& Name, TFieldType Type, bool Required) {
  CheckInactive();
  for (const TFieldDef& D : FDefs)
    if (SameText(D.Name, Name)) Error("Duplicate field name '" + Name + "'");
  FDefs.push_back(TFieldDef{Name, Type, Required});
  for (TRecordValues& Row : FRows) Row.push_back(Null);
}

void TMemDataSet::ClearFieldDefs() {
  CheckInactive();
  FDefs.clear();
  FRows.clear();
}

void TMemDataSet::EmptyDataSet() {
  if (GetActive()) Cancel();
  FRows.clear();
  InvalidateLookupIndex();
  Resync(0);
}

void TMemDataSet::InternalOpen() {
  SetFieldDefs(FDefs);
}

void TMemDataSet::ReadRecord(Integer Index, TRecordValues& Values) {
  Values = FRows[size_t(Index)];
}

void TMemDataSet::CheckWrite() {
  if (FFailNext.empty()) return;
  std::string Message;
  Message.swap(FFailNext);
  throw EDatabaseError(Message);
}

void TMemDataSet::WriteRecord(Integer Index, bool Inserting, TRecordValues& Values,
                              const std::vector<bool>& Changed) {
  (void)Changed;
  CheckWrite();
  for (size_t I = 0; I < FDefs.size(); ++I) {
    if (FDefs[I].DataType != ftAutoInc) continue;
    if (Values[I].IsNull()) Values[I] = Variant(++FLastAutoInc);
    FLastAutoInc = std::max(FLastAutoInc, Values[I].ToInteger());
  }
  if (Inserting)
    FRows.insert(FRows.begin() + Index, Values);
  else
    FRows[size_t(Index)] = Values;
}

void TMemDataSet::InternalDelete(Integer Index) {
  CheckWrite();
  FRows.erase(FRows.begin() + Index);
}

}  // namespace plumb
