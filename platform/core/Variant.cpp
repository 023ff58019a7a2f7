#include "Variant.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "Exceptions.h"

namespace plumb {

namespace {

std::string Trim(const std::string& S) {
  size_t B = S.find_first_not_of(" \t");
  if (B == std::string::npos) return "";
  size_t E = S.find_last_not_of(" \t");
  return S.substr(B, E - B + 1);
}

const char* KindName(TVarType T) {
  static const char* Names[] = {"Unassigned", "Null",   "Boolean", "Integer",
                                "Double",     "String", "Bytes"};
  return Names[T];
}

[[noreturn]] void CastError(TVarType From, const char* To) {
  throw EVariantError(std::string("Could not convert variant of type (") + KindName(From) +
                      ") into type (" + To + ")");
}

// The C parsers stop at an embedded NUL and skip any leading white space, so the text is
// checked first: only a sign, digits and (for floats) a point and an exponent, to the end.
bool IsNumberText(const std::string& T, bool Float) {
  if (T.empty()) return false;
  for (char C : T)
    if (!((C >= '0' && C <= '9') || C == '+' || C == '-' ||
          (Float && (C == '.' || C == 'e' || C == 'E'))))
      return false;
  return true;
}

}  // namespace

bool TryStrToInt64(const std::string& S, Int64& Value) {
  std::string T = Trim(S);
  if (!IsNumberText(T, false)) return false;
  errno = 0;
  char* End = nullptr;
  long long V = std::strtoll(T.c_str(), &End, 10);
  if (errno == ERANGE || End != T.c_str() + T.size()) return false;
  Value = V;
  return true;
}

bool TryStrToFloat(const std::string& S, double& Value) {
  std::string T = Trim(S);
  if (!IsNumberText(T, true)) return false;
  char* End = nullptr;
  double V = std::strtod(T.c_str(), &End);
  if (End != T.c_str() + T.size() || !std::isfinite(V)) return false;
  Value = V;
  return true;
}

std::string FloatToStr(double Value) {
  char Buf[64];
  for (int Precision = 1; Precision <= 17; ++Precision) {
    std::snprintf(Buf, sizeof Buf, "%.*g", Precision, Value);
    if (std::strtod(Buf, nullptr) == Value) break;
  }
  return Buf;
}

std::string Variant::ToString() const {
  switch (VarType()) {
    case varEmpty:
    case varNull:
      return "";
    case varBoolean:
      return std::get<bool>(FValue) ? "True" : "False";
    case varInteger:
      return std::to_string(std::get<Int64>(FValue));
    case varDouble:
      return FloatToStr(std::get<double>(FValue));
    case varString:
      return std::get<std::string>(FValue);
    case varBytes: {
      const TBytes& B = std::get<TBytes>(FValue);
      return std::string(B.begin(), B.end());
    }
  }
  return "";
}

Int64 Variant::ToInteger() const {
  switch (VarType()) {
    case varEmpty:
      return 0;
    case varBoolean:
      return std::get<bool>(FValue) ? 1 : 0;
    case varInteger:
      return std::get<Int64>(FValue);
    case varDouble: {
      double D = std::get<double>(FValue);
      if (!std::isfinite(D) || std::fabs(D) > 9.2e18) CastError(varDouble, "Int64");
      return Int64(std::llround(D));
    }
    case varString: {
      Int64 V = 0;
      if (!TryStrToInt64(std::get<std::string>(FValue), V)) CastError(varString, "Int64");
      return V;
    }
    default:
      CastError(VarType(), "Int64");
  }
}

double Variant::ToFloat() const {
  switch (VarType()) {
    case varEmpty:
      return 0;
    case varBoolean:
      return std::get<bool>(FValue) ? 1 : 0;
    case varInteger:
      return double(std::get<Int64>(FValue));
    case varDouble:
      return std::get<double>(FValue);
    case varString: {
      double V = 0;
      if (!TryStrToFloat(std::get<std::string>(FValue), V)) CastError(varString, "Double");
      return V;
    }
    default:
      CastError(VarType(), "Double");
  }
}

bool Variant::ToBoolean() const {
  switch (VarType()) {
    case varEmpty:
      return false;
    case varBoolean:
      return std::get<bool>(FValue);
    case varInteger:
      return std::get<Int64>(FValue) != 0;
    case varDouble:
      return std::get<double>(FValue) != 0;
    case varString: {
      std::string S = UpperCase(Trim(std::get<std::string>(FValue)));
      if (S == "TRUE") return true;
      if (S == "FALSE") return false;
      Int64 V = 0;
      if (TryStrToInt64(S, V)) return V != 0;
      CastError(varString, "Boolean");
    }
    default:
      CastError(VarType(), "Boolean");
  }
}

const TBytes& Variant::ToBytes() const {
  if (VarType() != varBytes) CastError(VarType(), "Bytes");
  return std::get<TBytes>(FValue);
}

bool operator==(const Variant& A, const Variant& B) {
  TVarType TA = A.VarType(), TB = B.VarType();
  if (TA == TB) return A.FValue == B.FValue;
  if (TA <= varNull || TB <= varNull) return false;
  if (TA == varBytes || TB == varBytes) return false;
  if (A.IsNumeric() && B.IsNumeric()) return A.ToFloat() == B.ToFloat();
  // Mixed kinds compare by the looser of the two kinds.
  try {
    if (TA == varBoolean || TB == varBoolean) return A.ToBoolean() == B.ToBoolean();
    return A.ToFloat() == B.ToFloat();
  } catch (const EVariantError&) {
    return false;
  }
}

std::string VarToStr(const Variant& V) {
  return V.ToString();
}
bool VarIsNull(const Variant& V) {
  return V.IsNull();
}

}  // namespace plumb
