// TDataSet: the field list, the record buffer and the lookups.
//
//   Field list     AddField, RemoveField, CreateDefaultFields, BindFields, FindField, ...
//   Buffer         GetFieldValue, SetFieldValue, FetchRecord, ShowRecord, CalculateFields
//   Lookups        Lookup, FindRecordIndex, FindRecord (a key-text index built on first use),
//                  FindPrefix (record after record from a position)
#include <algorithm>

#include "DataSet.h"

namespace plumb {

namespace {

// Data fields may be declared with a kindred type of the column's (Integer for a Largeint
// column, Memo for a text column).
bool Compatible(TFieldType A, TFieldType B) {
  return A == B || (IsIntegerType(A) && IsIntegerType(B)) || (IsFloatType(A) && IsFloatType(B)) ||
         (IsTextType(A) && IsTextType(B)) || (IsBinaryType(A) && IsBinaryType(B));
}

}  // namespace

// --- Field list ---

TField* TDataSet::GetField(Integer Index) const {
  if (Index < 0 || Index >= GetFieldCount())
    throw EListError("Field index out of range (" + std::to_string(Index) + ")");
  return FFields[size_t(Index)];
}

TField* TDataSet::FindField(const std::string& FieldName) const {
  for (TField* F : FFields)
    if (SameText(F->GetFieldName(), FieldName)) return F;
  return nullptr;
}

TField* TDataSet::FieldByName(const std::string& FieldName) const {
  TField* F = FindField(FieldName);
  if (!F) Error("Field '" + FieldName + "' not found");
  return F;
}

std::vector<TField*> TDataSet::GetFieldList(const std::string& FieldNames) const {
  std::vector<TField*> Result;
  for (const std::string& Name : SplitFieldNames(FieldNames)) Result.push_back(FieldByName(Name));
  return Result;
}

void TDataSet::AddField(TField* Field) {
  FFields.push_back(Field);
  Field->FDataSet = this;
}

void TDataSet::RemoveField(TField* Field) {
  FFields.erase(std::remove(FFields.begin(), FFields.end(), Field), FFields.end());
  Field->FDataSet = nullptr;
  Field->FFieldNo = -1;
  InvalidateLookupIndex();
}

// Each column without a data field gets one, owned by the data set. Fields of the data set
// whose column has gone (another table was opened) are freed, with the usual removal
// notifications; fields owned elsewhere are the owner's to fix, and BindFields says so.
void TDataSet::CreateDefaultFields() {
  std::vector<TField*> Stale;
  for (TField* F : FFields) {
    bool Known = std::any_of(FFieldDefs.begin(), FFieldDefs.end(), [&](const TFieldDef& D) {
      return SameText(D.Name, F->GetFieldName()) && Compatible(D.DataType, F->GetDataType());
    });
    if (F->GetOwner() == this && F->GetFieldKind() == fkData && !Known) Stale.push_back(F);
  }
  for (TField* F : Stale) F->Free();
  auto FirstVirtual = std::find_if(FFields.begin(), FFields.end(),
                                   [](TField* F) { return F->GetFieldKind() != fkData; });
  size_t InsertAt = size_t(FirstVirtual - FFields.begin());
  for (const TFieldDef& D : FFieldDefs) {
    TField* F = FindField(D.Name);
    if (F && F->GetFieldKind() == fkData) continue;
    if (F) Error("Field '" + D.Name + "' is both a column and a " + "lookup or calculated field");
    TField* NewField = new TField(this, D.DataType);
    NewField->FFieldName = D.Name;
    NewField->FRequired = D.Required;
    NewField->FDataSet = this;
    FFields.insert(FFields.begin() + std::ptrdiff_t(InsertAt++), NewField);
  }
}

void TDataSet::BindFields() {
  for (TField* F : FFields) {
    F->FFieldNo = -1;
    if (F->GetFieldKind() != fkData) continue;
    auto It = std::find_if(FFieldDefs.begin(), FFieldDefs.end(),
                           [&](const TFieldDef& D) { return SameText(D.Name, F->GetFieldName()); });
    if (It == FFieldDefs.end()) Error("Field '" + F->GetFieldName() + "' not found");
    if (!Compatible(It->DataType, F->GetDataType()))
      Error(std::string("Type mismatch for field '") + F->GetFieldName() + "', expecting: " +
            FieldTypeName(F->GetDataType()) + " actual: " + FieldTypeName(It->DataType));
    F->FFieldNo = Integer(It - FFieldDefs.begin());
  }
}

// --- Buffer ---

Variant TDataSet::GetFieldValue(const TField* Field) const {
  switch (Field->GetFieldKind()) {
    case fkLookup:
      return GetActive() ? Field->LookupValue() : Null;
    case fkCalculated:
      return Field->FCalcValue;
    default:
      if (!GetActive() || Field->FFieldNo < 0 || size_t(Field->FFieldNo) >= FBuffer.size())
        return Null;
      size_t Index = size_t(Field->FFieldNo);
      if (FBuffer[Index].IsEmpty()) {
        // A large value the storage left out of the record: read it now, for this record only.
        FBuffer[Index] =
            FCurrent < 0 ? Null : const_cast<TDataSet*>(this)->ReadValue(FCurrent, Integer(Index));
        FFetched[Index] = true;
      }
      return FBuffer[Index];
  }
}

Variant TDataSet::ReadValue(Integer Index, Integer Column) {
  TRecordValues Row(FFieldDefs.size(), Null);
  ReadRecord(Index, Row);
  return Row[size_t(Column)];
}

void TDataSet::SetFieldValue(TField* Field, const Variant& Value) {
  const std::string& Name = Field->GetFieldName();
  if (Field->GetFieldKind() == fkCalculated) {
    if (FState != dsCalcFields) Error("Field '" + Name + "' cannot be modified");
    Field->FCalcValue = Value;
    return;
  }
  CheckActive();
  if (!IsEditState(FState)) Error("Dataset not in edit or insert mode");
  if (Field->GetReadOnly()) Error("Field '" + Name + "' cannot be modified");
  size_t Index = size_t(Field->FFieldNo);
  Variant Old = FBuffer[Index];
  FBuffer[Index] = Value;
  if (Field->OnValidate) {
    try {
      Field->OnValidate(Field);
    } catch (...) {
      FBuffer[Index] = Old;
      throw;
    }
  }
  FChanged[Index] = true;
  FModified = true;
  CalculateFields();
  NotifyFieldChanged(Field);
  if (Field->OnChange) Field->OnChange(Field);
}

void TDataSet::NotifyFieldChanged(TField* Field) {
  DataEvent(deFieldChange, intptr_t(Field));
  std::vector<TField*> Fields = FFields;
  for (TField* F : Fields) {
    if (F->GetFieldKind() != fkLookup) continue;
    for (const std::string& Key : SplitFieldNames(F->GetKeyFields()))
      if (SameText(Key, Field->GetFieldName())) {
        DataEvent(deFieldChange, intptr_t(F));
        break;
      }
  }
}

void TDataSet::CheckRequiredFields() const {
  for (TField* F : FFields) {
    if (F->GetFieldKind() != fkData || !F->GetRequired() || F->GetDataType() == ftAutoInc) continue;
    // A large value nobody read is as stored, and the storage checks its own columns.
    if (F->FFieldNo >= 0 && FBuffer[size_t(F->FFieldNo)].IsEmpty()) continue;
    if (F->IsNull()) Error("Field '" + F->GetDisplayLabel() + "' must have a value");
  }
}

void TDataSet::ClearBuffer() {
  FBuffer.assign(FFieldDefs.size(), Null);
  FFetched.assign(FFieldDefs.size(), false);
  FChanged.assign(FFieldDefs.size(), false);
  FModified = false;
  CalculateFields();
}

void TDataSet::FetchRecord(Integer Index, TRecordValues& Row) {
  Row.resize(FFieldDefs.size());
  if (Index < 0)
    std::fill(Row.begin(), Row.end(), Null);
  else
    ReadRecord(Index, Row);
}

void TDataSet::ShowRecord(Integer Index, TRecordValues& Row) {
  Integer Previous = FCurrent;
  std::vector<bool> Fetched(FFieldDefs.size(), false);
  FBuffer.swap(Row);
  FFetched.swap(Fetched);
  FCurrent = Index;
  try {
    CalculateFields();
  } catch (...) {
    FBuffer.swap(Row);
    FFetched.swap(Fetched);
    FCurrent = Previous;
    try {
      CalculateFields();
    } catch (...) {
    }
    throw;
  }
  // Row now holds the previous record; large values read for it go at once.
  for (size_t I = 0; I < Fetched.size() && I < Row.size(); ++I)
    if (Fetched[I]) Row[I] = Unassigned;
  FChanged.assign(FFieldDefs.size(), false);
  FModified = false;
}

std::exception_ptr TDataSet::SettleRecord(Integer Index, TRecordValues& Row) {
  FBuffer.swap(Row);
  FFetched.assign(FFieldDefs.size(), false);
  FChanged.assign(FFieldDefs.size(), false);
  FModified = false;
  FSaved.clear();
  FCurrent = Index;
  try {
    CalculateFields();
  } catch (...) {
    return std::current_exception();
  }
  return nullptr;
}

void TDataSet::SaveForCancel() {
  FSaved = FBuffer;
  for (size_t I = 0; I < FSaved.size() && I < FFetched.size(); ++I)
    if (FFetched[I]) FSaved[I] = Unassigned;
}

void TDataSet::CalculateFields() {
  bool Any = false;
  for (TField* F : FFields)
    if (F->GetFieldKind() == fkCalculated) {
      F->FCalcValue = Null;
      Any = true;
    }
  if (!Any || !OnCalcFields) return;
  // The handler writes calculated fields only; the state says so without telling the links.
  TDataSetState Saved = FState;
  FState = dsCalcFields;
  try {
    OnCalcFields(this);
  } catch (...) {
    FState = Saved;
    throw;
  }
  FState = Saved;
}

// --- Lookups ---

Integer TDataSet::FindRecordIndex(const std::vector<TField*>& Keys,
                                  const std::vector<Variant>& Values) {
  if (Keys.size() != Values.size() || Keys.empty())
    Error("The number of key values does not match the key fields");
  std::vector<Integer> Columns;
  TRecordValues Wanted;
  for (size_t I = 0; I < Keys.size(); ++I) {
    if (Keys[I]->FFieldNo < 0) Error("Field '" + Keys[I]->GetFieldName() + "' is not a column");
    Columns.push_back(Keys[I]->FFieldNo);
    // In the key field's own type, so that 7, 7.0 and "7" find the same integer key.
    try {
      Wanted.push_back(TField::ConvertValue(Keys[I]->GetDataType(), Values[I], ""));
    } catch (const Exception&) {
      return -1;  // no record can hold a value its field cannot take
    }
  }
  return FindRecord(Columns, Wanted);
}

Integer TDataSet::FindRecord(const std::vector<Integer>& Columns, const TRecordValues& Values) {
  std::string IndexName, Wanted;
  for (size_t I = 0; I < Columns.size(); ++I) {
    TFieldType Type = FFieldDefs[size_t(Columns[I])].DataType;
    IndexName += std::to_string(Columns[I]) + ";";
    Wanted += TField::ValueToText(Type, Values[I]) + '\x1f';
  }
  auto It = FLookupIndex.find(IndexName);
  if (It == FLookupIndex.end()) {
    // Built aside and kept only when whole: a read that fails half-way leaves no index.
    std::unordered_map<std::string, Integer> Index;
    TRecordValues Row(FFieldDefs.size());
    for (Integer R = 0, N = GetStoredCount(); R < N; ++R) {
      ReadRecord(R, Row);
      std::string Key;
      for (Integer C : Columns) {
        Variant& V = Row[size_t(C)];
        if (V.IsEmpty()) V = ReadValue(R, C);
        Key += TField::ValueToText(FFieldDefs[size_t(C)].DataType, V) + '\x1f';
      }
      Index.try_emplace(Key, R);
    }
    It = FLookupIndex.emplace(IndexName, std::move(Index)).first;
  }
  auto Found = It->second.find(Wanted);
  return Found == It->second.end() ? -1 : Found->second;
}

Integer TDataSet::FindPrefix(TField* Field, const std::string& Prefix, Integer After) {
  CheckActive();
  if (!Field || Field->GetDataSet() != this || Field->FFieldNo < 0)
    Error("Field '" + (Field ? Field->GetFieldName() : std::string()) + "' is not a column");
  Integer Count = GetStoredCount();
  After = std::clamp(After, Integer(-1), Count - 1);
  if (Prefix.empty()) return Count == 0 ? -1 : (After + 1) % Count;  // every text begins so
  Integer Found = FindPrefixRecord(Field->FFieldNo, Prefix, After + 1, Count);
  if (Found < 0 && After >= 0) Found = FindPrefixRecord(Field->FFieldNo, Prefix, 0, After + 1);
  return Found;
}

Integer TDataSet::FindPrefixRecord(Integer Column, const std::string& Prefix, Integer From,
                                   Integer To) {
  TFieldType Type = FFieldDefs[size_t(Column)].DataType;
  TRecordValues Row(FFieldDefs.size());
  for (Integer R = From; R < To; ++R) {
    ReadRecord(R, Row);
    Variant& V = Row[size_t(Column)];
    if (V.IsEmpty()) V = ReadValue(R, Column);
    if (StartsText(Prefix, TField::ValueToText(Type, V))) return R;
  }
  return -1;
}

Variant TDataSet::Lookup(const std::string& KeyFields, const std::vector<Variant>& KeyValues,
                         const std::string& ResultField) {
  if (!GetActive()) return Null;
  std::vector<TField*> Keys = GetFieldList(KeyFields);
  TField* Result = FieldByName(ResultField);
  Integer Index = FindRecordIndex(Keys, KeyValues);
  if (Index < 0) return Null;
  if (Result->GetFieldKind() != fkData) Error("Field '" + ResultField + "' is not a column");
  return ReadValue(Index, Result->FFieldNo);
}

}  // namespace plumb
