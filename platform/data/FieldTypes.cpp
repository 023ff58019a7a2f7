#include "FieldTypes.h"

namespace plumb {

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
