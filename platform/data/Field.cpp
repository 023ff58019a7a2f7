#include "Field.h"

#include <cstdio>

#include "DataSet.h"

namespace plumb {

namespace {

bool RightAlignedByDefault(TFieldType Type) {
  return IsIntegerType(Type) || IsFloatType(Type);
}

}  // namespace

inline constexpr const char* FieldTypeNames[] = {
    "ftUnknown", "ftString",     "ftSmallint", "ftInteger",     "ftWord",    "ftBoolean",
    "ftFloat",   "ftCurrency",   "ftBCD",      "ftDate",        "ftTime",    "ftDateTime",
    "ftBytes",   "ftVarBytes",   "ftAutoInc",  "ftBlob",        "ftMemo",    "ftGraphic",
    "ftFmtMemo", "ftParadoxOle", "ftDBaseOle", "ftTypedBinary", "ftLargeint"};
inline constexpr TEnumInfo FieldTypeInfo{"TFieldType", FieldTypeNames};
inline constexpr const char* FieldKindNames[] = {"fkData", "fkCalculated", "fkLookup"};
inline constexpr TEnumInfo FieldKindInfo{"TFieldKind", FieldKindNames};

void TField::DescribeProperties(TPropertyList<TField>& P) {
  P.StringProp("FieldName", &TField::GetFieldName, &TField::SetFieldName);
  P.EnumProp("DataType", &TField::GetDataType, &TField::SetDataType, FieldTypeInfo)
      .Default(ftString);
  P.EnumProp("FieldKind", &TField::GetFieldKind, &TField::SetFieldKind, FieldKindInfo)
      .Default(fkData);
  P.StringProp("DisplayLabel", &TField::FDisplayLabel, &TField::SetDisplayLabel);
  P.EnumProp("Alignment", &TField::GetAlignment, &TField::SetAlignment, AlignmentInfo)
      .NoDefault()
      .Stored(&TField::IsAlignmentStored);
  P.BooleanProp("ReadOnly", &TField::GetReadOnly, &TField::SetReadOnly).Default(false);
  P.BooleanProp("Required", &TField::GetRequired, &TField::SetRequired).Default(false);
  P.StringProp("EditMask", &TField::GetEditMask, &TField::SetEditMask);
  P.StringProp("KeyFields", &TField::GetKeyFields, &TField::SetKeyFields);
  P.ComponentProp("LookupDataSet", &TField::GetLookupDataSet, &TField::SetLookupDataSet);
  P.StringProp("LookupKeyFields", &TField::GetLookupKeyFields, &TField::SetLookupKeyFields);
  P.StringProp("LookupResultField", &TField::GetLookupResultField, &TField::SetLookupResultField);
  P.ComponentProp("DataSet", &TField::GetDataSet, &TField::SetDataSet);
  P.EventProp("OnValidate", &TField::OnValidate);
  P.EventProp("OnChange", &TField::OnChange);
  P.EventProp("OnGetText", &TField::OnGetText);
}
PLUMB_REGISTER_CLASS(TField);

bool TField::IsAlignmentStored() const {
  return FAlignment != (RightAlignedByDefault(FDataType) ? taRightJustify : taLeftJustify);
}

TField::TField(TComponent* AOwner, TFieldType AType) : TComponent(AOwner), FDataType(AType) {
  FAlignment = RightAlignedByDefault(AType) ? taRightJustify : taLeftJustify;
}

TField::~TField() {
  if (FDataSet) FDataSet->RemoveField(this);
}

void TField::Destroying() {
  // Leave the data set while still whole, so that it never lists a half-destroyed field.
  if (FDataSet) FDataSet->RemoveField(this);
  inherited::Destroying();
}

void TField::CheckDataSet() const {
  if (!FDataSet) throw EDatabaseError("Field '" + FFieldName + "' has no dataset");
}

void TField::SetDataSet(TDataSet* ADataSet) {
  if (ADataSet == FDataSet) return;
  if (FDataSet) FDataSet->CheckInactive();
  if (ADataSet) {
    ADataSet->CheckInactive();
    if (!FFieldName.empty() && ADataSet->FindField(FFieldName))
      throw EDatabaseError("Duplicate field name '" + FFieldName + "'");
  }
  if (FDataSet) FDataSet->RemoveField(this);
  if (ADataSet) ADataSet->AddField(this);
}

void TField::SetFieldName(const std::string& Value) {
  if (Value == FFieldName) return;
  if (FDataSet) {
    FDataSet->CheckInactive();
    TField* Other = FDataSet->FindField(Value);
    if (Other && Other != this) throw EDatabaseError("Duplicate field name '" + Value + "'");
  }
  FFieldName = Value;
}

void TField::SetDataType(TFieldType Value) {
  if (FDataSet) FDataSet->CheckInactive();
  FDataType = Value;
  FAlignment = RightAlignedByDefault(Value) ? taRightJustify : taLeftJustify;
}

void TField::SetFieldKind(TFieldKind Value) {
  if (FDataSet) FDataSet->CheckInactive();
  FFieldKind = Value;
}

Integer TField::GetIndex() const {
  if (!FDataSet) return -1;
  for (Integer I = 0; I < FDataSet->GetFieldCount(); ++I)
    if (FDataSet->GetField(I) == this) return I;
  return -1;
}

void TField::SetLookupDataSet(TDataSet* Value) {
  if (Value == FLookupDataSet) return;
  if (FLookupDataSet) RemoveFreeNotification(FLookupDataSet);
  FLookupDataSet = Value;
  if (Value) FreeNotification(Value);
}

void TField::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FLookupDataSet) FLookupDataSet = nullptr;
}

bool TField::GetCanModify() const {
  if (FReadOnly || !FDataSet || !FDataSet->GetCanModify()) return false;
  if (FFieldKind == fkData) return true;
  if (FFieldKind == fkCalculated) return false;
  try {
    for (TField* Key : KeyFieldList())
      if (!Key->GetCanModify()) return false;
  } catch (const EDatabaseError&) {
    return false;
  }
  return FLookupDataSet != nullptr;
}

Variant TField::GetAsVariant() const {
  if (!FDataSet) return Null;
  return FDataSet->GetFieldValue(this);
}

void TField::SetAsVariant(const Variant& Value) {
  CheckDataSet();
  if (FFieldKind == fkLookup) {
    SetLookupValue(Value);
    return;
  }
  FDataSet->SetFieldValue(this, ConvertValue(FDataType, Value, FFieldName));
}

std::string TField::GetAsString() const {
  return ValueToText(FDataType, GetAsVariant());
}

void TField::SetAsString(const std::string& Value) {
  SetAsVariant(Variant(Value));
}

std::string TField::GetDisplayText() const {
  std::string Text;
  if (OnGetText) {
    OnGetText(const_cast<TField*>(this), Text, true);
    return Text;
  }
  Variant V = GetAsVariant();
  if (FDataType == ftCurrency && V.IsNumeric()) {
    char Buf[64];
    std::snprintf(Buf, sizeof Buf, "%.2f", V.ToFloat());
    return Buf;
  }
  return ValueToText(FDataType, V);
}

bool TField::DisplaysStoredText() const {
  return FFieldKind == fkData && !OnGetText && FDataType != ftCurrency;
}

// --- Lookup fields ---

std::vector<TField*> TField::KeyFieldList() const {
  CheckDataSet();
  return FDataSet->GetFieldList(FKeyFields);
}

Variant TField::LookupValue() const {
  if (!FDataSet || !FLookupDataSet || !FLookupDataSet->GetActive()) return Null;
  std::vector<Variant> Keys;
  for (TField* Key : KeyFieldList()) {
    Keys.push_back(Key->GetAsVariant());
    if (Keys.back().IsNull()) return Null;
  }
  return FLookupDataSet->Lookup(FLookupKeyFields, Keys, FLookupResultField);
}

// Writing a lookup field writes its key fields: the row whose result equals Value supplies
// them. A value with no such row is refused rather than guessed.
void TField::SetLookupValue(const Variant& Value) {
  std::vector<TField*> Keys = KeyFieldList();
  std::vector<std::string> LookupKeys = SplitFieldNames(FLookupKeyFields);
  if (LookupKeys.size() != Keys.size())
    throw EDatabaseError("Lookup field '" + FFieldName + "' has mismatched key fields");
  std::vector<Variant> KeyValues(Keys.size(), Null);
  if (!Value.IsNull() && !Value.IsEmpty()) {
    if (!FLookupDataSet || !FLookupDataSet->GetActive())
      throw EDatabaseError("Lookup field '" + FFieldName + "' has no open lookup dataset");
    for (size_t I = 0; I < Keys.size(); ++I) {
      KeyValues[I] = FLookupDataSet->Lookup(FLookupResultField, {Value}, LookupKeys[I]);
      if (KeyValues[I].IsNull())
        throw EConvertError(QuotedText(Value.ToString()) + " is not a valid value for field '" +
                            FFieldName + "'");
    }
  }
  for (size_t I = 0; I < Keys.size(); ++I) Keys[I]->SetAsVariant(KeyValues[I]);
}

}  // namespace plumb
