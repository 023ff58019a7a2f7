// Conversions between what callers hand a field and what the record stores.
//
// The record keeps one Variant per column: text for string and memo types, Int64 for the
// integer kinds, bool, double for floats and for dates and times (a TDateTime), bytes for the
// binary kinds, and Null. A value a storage could not read as the column's type (say the text
// 'soon' in a DATE column) stays as its text, so nothing is lost or invented.
#include <cmath>
#include <limits>

#include "Field.h"
#include "core/Types.h"

namespace plumb {

namespace {

[[noreturn]] void NotValid(const std::string& Text, const char* What, const std::string& Field) {
  throw EConvertError(QuotedText(Text) + " is not a valid " + What + " for field '" + Field + "'");
}

const char* TypeWord(TFieldType Type) {
  if (IsIntegerType(Type)) return "integer value";
  if (IsFloatType(Type)) return "floating point value";
  switch (Type) {
    case ftBoolean:
      return "Boolean value";
    case ftDate:
      return "date";
    case ftTime:
      return "time";
    case ftDateTime:
      return "date and time";
    default:
      return "value";
  }
}

void IntegerRange(TFieldType Type, Int64& Min, Int64& Max) {
  Min = std::numeric_limits<Int64>::min();
  Max = std::numeric_limits<Int64>::max();
  if (Type == ftSmallint) Min = -32768, Max = 32767;
  if (Type == ftWord) Min = 0, Max = 65535;
  if (Type == ftInteger)
    Min = std::numeric_limits<Integer>::min(), Max = std::numeric_limits<Integer>::max();
}

Variant CheckedInteger(TFieldType Type, Int64 V, const std::string& Field) {
  Int64 Min, Max;
  IntegerRange(Type, Min, Max);
  if (V < Min || V > Max)
    throw EConvertError("'" + IntToStr(V) + "' is not a valid value for field '" + Field +
                        "'. The allowed range is " + IntToStr(Min) + " to " + IntToStr(Max));
  return Variant(V);
}

bool TryTextToBoolean(const std::string& S, bool& Value) {
  std::string U = UpperCase(S);
  size_t B = U.find_first_not_of(" \t"), E = U.find_last_not_of(" \t");
  U = B == std::string::npos ? "" : U.substr(B, E - B + 1);
  if (U == "TRUE" || U == "T" || U == "YES" || U == "Y" || U == "1") return Value = true, true;
  if (U == "FALSE" || U == "F" || U == "NO" || U == "N" || U == "0") return Value = false, true;
  return false;
}

Variant TextToValue(TFieldType Type, const std::string& S, const std::string& Field) {
  if (IsTextType(Type) || Type == ftUnknown) return Variant(S);
  if (IsBinaryType(Type)) return Variant(TBytes(S.begin(), S.end()));
  if (S.find_first_not_of(" \t") == std::string::npos) return Null;
  if (IsIntegerType(Type)) {
    Int64 V;
    if (!TryStrToInt64(S, V)) NotValid(S, TypeWord(Type), Field);
    return CheckedInteger(Type, V, Field);
  }
  if (IsFloatType(Type)) {
    double V;
    if (!TryStrToFloat(S, V)) NotValid(S, TypeWord(Type), Field);
    return Variant(V);
  }
  if (Type == ftBoolean) {
    bool V;
    if (!TryTextToBoolean(S, V)) NotValid(S, TypeWord(Type), Field);
    return Variant(V);
  }
  TDateTime V = 0;
  bool Ok = Type == ftDate   ? TryStrToDate(S, V)
            : Type == ftTime ? TryStrToTime(S, V)
                             : TryStrToDateTime(S, V);
  if (!Ok) NotValid(S, TypeWord(Type), Field);
  return Variant(V);
}

Variant NumberToValue(TFieldType Type, const Variant& V, const std::string& Field) {
  if (IsTextType(Type) || Type == ftUnknown) return Variant(V.ToString());
  if (Type == ftBoolean) return Variant(V.ToBoolean());
  if (IsFloatType(Type)) return Variant(V.ToFloat());
  if (IsIntegerType(Type)) {
    if (V.VarType() == varDouble) {
      double D = V.ToFloat();
      if (!std::isfinite(D) || std::fabs(D) > 9.2e18) NotValid(V.ToString(), TypeWord(Type), Field);
      return CheckedInteger(Type, Int64(std::llround(D)), Field);
    }
    return CheckedInteger(Type, V.ToInteger(), Field);
  }
  if (IsDateTimeType(Type) && V.VarType() != varBoolean) {
    double D = V.ToFloat();
    if (Type == ftDate) D = std::floor(D);
    if (Type == ftTime) D -= std::floor(D);
    return Variant(D);
  }
  NotValid(V.ToString(), TypeWord(Type), Field);
}

}  // namespace

Variant TField::ConvertValue(TFieldType Type, const Variant& Value, const std::string& FieldName) {
  switch (Value.VarType()) {
    case varEmpty:
    case varNull:
      return Null;
    case varString:
      return TextToValue(Type, Value.ToString(), FieldName);
    case varBytes:
      if (IsBinaryType(Type) || Type == ftUnknown) return Value;
      if (IsTextType(Type)) return Variant(Value.ToString());
      throw EConvertError("Binary data cannot be stored in field '" + FieldName + "' of type " +
                          FieldTypeName(Type));
    default:
      if (IsBinaryType(Type))
        throw EConvertError(QuotedText(Value.ToString()) + " is not binary data for field '" +
                            FieldName + "'");
      return NumberToValue(Type, Value, FieldName);
  }
}

std::string TField::ValueToText(TFieldType Type, const Variant& Value) {
  if (Value.VarType() == varDouble) {
    double D = Value.ToFloat();
    if (Type == ftDate) return DateToStr(D);
    if (Type == ftTime) return TimeToStr(D);
    if (Type == ftDateTime) return DateTimeToStr(D);
  }
  return Value.ToString();
}

// --- Reading a value as another kind ---

Int64 TField::GetAsLargeInt() const {
  Variant V = GetAsVariant();
  if (V.IsNull()) return 0;
  try {
    return V.ToInteger();
  } catch (const EVariantError&) {
    NotValid(V.ToString(), "integer value", FFieldName);
  }
}

Integer TField::GetAsInteger() const {
  Int64 V = GetAsLargeInt();
  if (V < std::numeric_limits<Integer>::min() || V > std::numeric_limits<Integer>::max())
    throw EConvertError(IntToStr(V) + " of field '" + FFieldName + "' does not fit an Integer");
  return Integer(V);
}

double TField::GetAsFloat() const {
  Variant V = GetAsVariant();
  if (V.IsNull()) return 0;
  try {
    return V.ToFloat();
  } catch (const EVariantError&) {
    NotValid(V.ToString(), "floating point value", FFieldName);
  }
}

bool TField::GetAsBoolean() const {
  Variant V = GetAsVariant();
  if (V.IsNull()) return false;
  bool B;
  if (V.VarType() == varString) {
    if (!TryTextToBoolean(V.ToString(), B)) NotValid(V.ToString(), "Boolean value", FFieldName);
    return B;
  }
  try {
    return V.ToBoolean();
  } catch (const EVariantError&) {
    NotValid(V.ToString(), "Boolean value", FFieldName);
  }
}

TDateTime TField::GetAsDateTime() const {
  Variant V = GetAsVariant();
  if (V.IsNull()) return 0;
  if (V.IsNumeric()) return V.ToFloat();
  TDateTime D;
  std::string S = V.ToString();
  if (TryStrToDateTime(S, D) || TryStrToTime(S, D)) return D;
  NotValid(S, "date and time", FFieldName);
}

void TField::SetAsDateTime(TDateTime Value) {
  if (IsDateTimeType(FDataType) || IsFloatType(FDataType))
    SetAsVariant(Value);
  else
    SetAsString(DateTimeToStr(Value));
}

}  // namespace plumb
