#pragma once
// Variant: a value of one of a few kinds, as fields and events pass them around.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "Types.h"

namespace plumb {

enum TVarType { varEmpty, varNull, varBoolean, varInteger, varDouble, varString, varBytes };

struct TUnassigned {
  friend bool operator==(TUnassigned, TUnassigned) { return true; }
};
struct TNull {
  friend bool operator==(TNull, TNull) { return true; }
};
using TBytes = std::vector<uint8_t>;

class Variant {
 public:
  Variant() = default;
  Variant(bool V) : FValue(V) {}
  Variant(int V) : FValue(Int64(V)) {}
  Variant(Int64 V) : FValue(V) {}
  Variant(double V) : FValue(V) {}
  Variant(const char* V) : FValue(std::string(V)) {}
  Variant(std::string V) : FValue(std::move(V)) {}
  Variant(TBytes V) : FValue(std::move(V)) {}
  Variant(TNull) : FValue(TNull{}) {}

  static Variant Null() { return Variant(TNull{}); }
  static Variant Unassigned() { return Variant(); }

  TVarType VarType() const { return TVarType(FValue.index()); }
  bool IsEmpty() const { return VarType() == varEmpty; }
  bool IsNull() const { return VarType() == varNull; }
  bool IsNumeric() const { return VarType() == varInteger || VarType() == varDouble; }

  // Unassigned and Null give ""; Booleans "True"/"False"; floats their shortest exact form.
  std::string ToString() const;
  // These raise EVariantError when the value cannot be read as the asked kind.
  Int64 ToInteger() const;
  double ToFloat() const;
  bool ToBoolean() const;
  const TBytes& ToBytes() const;

  // Same kind compares by value; an integer and a float compare as numbers; a string and a
  // number compare when the string reads as that number; Null equals only Null.
  friend bool operator==(const Variant& A, const Variant& B);

 private:
  std::variant<TUnassigned, TNull, bool, Int64, double, std::string, TBytes> FValue;
};

inline const Variant Null = Variant::Null();
inline const Variant Unassigned = Variant::Unassigned();

std::string VarToStr(const Variant& V);
bool VarIsNull(const Variant& V);
// Formats a float the way the system shows numbers: shortest form that reads back exactly.
std::string FloatToStr(double Value);
// Parse helpers shared by Variant and the data layer; false when the text is not a number.
bool TryStrToInt64(const std::string& S, Int64& Value);
bool TryStrToFloat(const std::string& S, double& Value);

}  // namespace plumb
