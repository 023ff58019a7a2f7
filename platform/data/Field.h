#pragma once
// TField: one column of a data set's current record, read and written in the caller's terms
// (text, number, Boolean, Variant) and converted to and from the field's own type.
//
// A data field reads and writes the data set's record buffer; a lookup field reads its value
// from another data set through its key fields; a calculated field holds a value that the
// data set's OnCalcFields handler assigns. A field is a component: freeing it removes it from
// its data set and tells every component that asked for a free notification.
#include <string>
#include <vector>

#include "DateTime.h"
#include "FieldTypes.h"
#include "core/Alignment.h"
#include "core/Component.h"
#include "core/Events.h"
#include "core/TypeInfo.h"
#include "core/Variant.h"

namespace plumb {

class TDataSet;
class TField;

using TFieldNotifyEvent = TEvent<void(TField* Sender)>;
using TFieldGetTextEvent = TEvent<void(TField* Sender, std::string& Text, bool DisplayText)>;

class TField : public TComponent {
  PLUMB_CLASS(TField, TComponent)
  explicit TField(TComponent* AOwner, TFieldType AType = ftString);
  ~TField() override;

  TDataSet* GetDataSet() const { return FDataSet; }
  // Adds the field to ADataSet's fields (removing it from its former one); raises
  // EDatabaseError while either data set is open.
  void SetDataSet(TDataSet* ADataSet);

  const std::string& GetFieldName() const { return FFieldName; }
  void SetFieldName(const std::string& Value);
  std::string GetDisplayLabel() const { return FDisplayLabel.empty() ? FFieldName : FDisplayLabel; }
  void SetDisplayLabel(const std::string& Value) { FDisplayLabel = Value; }
  TFieldType GetDataType() const { return FDataType; }
  void SetDataType(TFieldType Value);
  TFieldKind GetFieldKind() const { return FFieldKind; }
  void SetFieldKind(TFieldKind Value);
  // 1-based position of the column in the data set's record; 0 for lookup and calculated
  // fields and for a field not bound to a column yet.
  Integer GetFieldNo() const { return FFieldNo + 1; }
  // Position in the data set's field list, -1 without a data set.
  Integer GetIndex() const;

  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value) { FAlignment = Value; }
  // Stored only when it differs from the type's own (numbers right, the rest left).
  bool IsAlignmentStored() const;
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  bool GetRequired() const { return FRequired; }
  void SetRequired(bool Value) { FRequired = Value; }
  const std::string& GetEditMask() const { return FEditMask; }
  void SetEditMask(const std::string& Value) { FEditMask = Value; }
  // The field can take a value now or after Edit: its data set can be modified and neither
  // the field nor (for a lookup field) its key fields are read-only.
  bool GetCanModify() const;

  bool IsNull() const { return GetAsVariant().IsNull(); }
  void Clear() { SetAsVariant(Null); }
  Variant GetAsVariant() const;
  // Converts Value to the field's type; raises EConvertError naming the field and the value
  // when it does not convert, and the field keeps its value.
  void SetAsVariant(const Variant& Value);
  std::string GetAsString() const;
  void SetAsString(const std::string& Value);
  Integer GetAsInteger() const;
  void SetAsInteger(Integer Value) { SetAsVariant(Int64(Value)); }
  Int64 GetAsLargeInt() const;
  void SetAsLargeInt(Int64 Value) { SetAsVariant(Value); }
  double GetAsFloat() const;
  void SetAsFloat(double Value) { SetAsVariant(Value); }
  bool GetAsBoolean() const;
  void SetAsBoolean(bool Value) { SetAsVariant(Value); }
  TDateTime GetAsDateTime() const;
  void SetAsDateTime(TDateTime Value);
  // The text a grid or label shows: OnGetText's when assigned, else AsString, with currency
  // fields at two decimals.
  std::string GetDisplayText() const;
  // The display text is AsString of the stored value (a column, no OnGetText, no currency
  // format), which its data set can search without reading records into the fields.
  bool DisplaysStoredText() const;

  // Lookup fields: the value is LookupResultField of the LookupDataSet row whose
  // LookupKeyFields equal this data set's KeyFields. Field lists are separated by ';'.
  const std::string& GetKeyFields() const { return FKeyFields; }
  void SetKeyFields(const std::string& Value) { FKeyFields = Value; }
  TDataSet* GetLookupDataSet() const { return FLookupDataSet; }
  void SetLookupDataSet(TDataSet* Value);
  const std::string& GetLookupKeyFields() const { return FLookupKeyFields; }
  void SetLookupKeyFields(const std::string& Value) { FLookupKeyFields = Value; }
  const std::string& GetLookupResultField() const { return FLookupResultField; }
  void SetLookupResultField(const std::string& Value) { FLookupResultField = Value; }
  bool GetLookup() const { return FFieldKind == fkLookup; }

  // Called before a new value is stored (a handler may raise to refuse it) and after.
  TFieldNotifyEvent OnValidate;
  TFieldNotifyEvent OnChange;
  TFieldGetTextEvent OnGetText;

  void Notification(TComponent* AComponent, TOperation Operation) override;
  static void DescribeProperties(TPropertyList<TField>& P);

  // Conversions shared with the data sets: the value a Variant becomes in a field of Type
  // (raises EConvertError naming FieldName), and the text of a stored value.
  static Variant ConvertValue(TFieldType Type, const Variant& Value, const std::string& FieldName);
  static std::string ValueToText(TFieldType Type, const Variant& Value);

 protected:
  void Destroying() override;

 private:
  friend class TDataSet;
  Variant LookupValue() const;
  void SetLookupValue(const Variant& Value);
  // The fields of this field's data set named by KeyFields; raises when one is missing.
  std::vector<TField*> KeyFieldList() const;
  void CheckDataSet() const;

  TDataSet* FDataSet = nullptr;
  std::string FFieldName;
  std::string FDisplayLabel;
  TFieldType FDataType;
  TFieldKind FFieldKind = fkData;
  Integer FFieldNo = -1;  // index of the column in the record buffer
  TAlignment FAlignment = taLeftJustify;
  bool FReadOnly = false;
  bool FRequired = false;
  std::string FEditMask;
  std::string FKeyFields;
  TDataSet* FLookupDataSet = nullptr;
  std::string FLookupKeyFields;
  std::string FLookupResultField;
  Variant FCalcValue;
};

}  // namespace plumb
