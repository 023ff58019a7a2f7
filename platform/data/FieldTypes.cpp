#include "FieldTypes.h"

#include <cstdio>

namespace plumb {

namespace {

// Length of the UTF-8 sequence starting at S[I], or 0 when it is not a whole, valid one.
size_t Utf8Length(const std::string& S, size_t I) {
  unsigned char C = static_cast<unsigned char>(S[I]);
  size_t N = C < 0x80 ? 1 : (C >> 5) == 6 ? 2 : (C >> 4) == 14 ? 3 : (C >> 3) == 30 ? 4 : 0;
  if (N == 0 || I + N > S.size()) return 0;
  for (size_t K = 1; K < N; ++K)
    if ((static_cast<unsigned char>(S[I + K]) & 0xC0) != 0x80) return 0;
  return N;
}

}  // namespace

std::string QuotedText(const std::string& Text) {
  constexpr size_t MaxChars = 40;
  std::string R = "'";
  size_t I = 0, Chars = 0;
  for (; I < Text.size() && Chars < MaxChars; ++Chars) {
    unsigned char C = static_cast<unsigned char>(Text[I]);
    size_t N = Utf8Length(Text, I);
    if (N == 0 || C < 0x20 || C == 0x7F) {
      char Buf[8];
      std::snprintf(Buf, sizeof Buf, "\\x%02X", unsigned(C));
      R += Buf;
      ++I;
    } else {
      R.append(Text, I, N);
      I += N;
    }
  }
  return R + (I < Text.size() ? "...'" : "'");
}

const char* FieldTypeName(TFieldType Type) {
  static const char* Names[] = {"Unknown",  "String",      "Smallint", "Integer",  "Word",
                                "Boolean",  "Float",       "Currency", "BCD",      "Date",
                                "Time",     "DateTime",    "Bytes",    "VarBytes", "AutoInc",
                                "Blob",     "Memo",        "Graphic",  "FmtMemo",  "ParadoxOle",
                                "DBaseOle", "TypedBinary", "Largeint"};
  int N = int(Type);
  return N >= 0 && N <= int(ftLargeint) ? Names[N] : "Unknown";
}

bool IsIntegerType(TFieldType Type) {
  switch (Type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
      return true;
    default:
      return false;
  }
}

bool IsFloatType(TFieldType Type) {
  return Type == ftFloat || Type == ftCurrency || Type == ftBCD;
}

bool IsDateTimeType(TFieldType Type) {
  return Type == ftDate || Type == ftTime || Type == ftDateTime;
}

bool IsBinaryType(TFieldType Type) {
  switch (Type) {
    case ftBytes:
    case ftVarBytes:
    case ftBlob:
    case ftGraphic:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
      return true;
    default:
      return false;
  }
}

bool IsTextType(TFieldType Type) {
  return Type == ftString || Type == ftMemo || Type == ftFmtMemo;
}

std::vector<std::string> SplitFieldNames(const std::string& Names) {
  std::vector<std::string> Result;
  size_t Start = 0;
  while (Start <= Names.size()) {
    size_t End = Names.find(';', Start);
    if (End == std::string::npos) End = Names.size();
    std::string Name = Names.substr(Start, End - Start);
    size_t B = Name.find_first_not_of(' '), E = Name.find_last_not_of(' ');
    if (B != std::string::npos) Result.push_back(Name.substr(B, E - B + 1));
    Start = End + 1;
  }
  return Result;
}

}  // namespace plumb
