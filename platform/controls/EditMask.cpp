#include "EditMask.h"

namespace plumb {

namespace {

bool IsDigit(char32_t C) { return C >= U'0' && C <= U'9'; }
// Letters: ASCII letters and everything beyond ASCII that is not a control character.
bool IsLetter(char32_t C) {
  return (C >= U'a' && C <= U'z') || (C >= U'A' && C <= U'Z') || (C >= 0xC0 && C != 0xD7 && C != 0xF7);
}
char32_t ToUpper(char32_t C) { return (C >= U'a' && C <= U'z') ? C - 32 : C; }
char32_t ToLower(char32_t C) { return (C >= U'A' && C <= U'Z') ? C + 32 : C; }

// Splits at ';' that is not escaped with '\'.
std::vector<std::u32string> SplitFields(const std::u32string& Mask) {
  std::vector<std::u32string> Fields(1);
  for (size_t I = 0; I < Mask.size(); ++I) {
    if (Mask[I] == U'\\' && I + 1 < Mask.size()) {
      Fields.back() += Mask[I];
      Fields.back() += Mask[++I];
    } else if (Mask[I] == U';' && Fields.size() < 3) {
      Fields.emplace_back();
    } else {
      Fields.back() += Mask[I];
    }
  }
  return Fields;
}

}  // namespace

TEditMaskFormat::TEditMaskFormat(const std::string& Mask) {
  std::vector<std::u32string> Fields = SplitFields(Utf8ToU32(Mask));
  ParsePositions(Fields[0]);
  if (Fields.size() > 1 && !Fields[1].empty()) FKeepLiterals = Fields[1][0] != U'0';
  if (Fields.size() > 2 && !Fields[2].empty()) FBlank = Fields[2][0];
}

void TEditMaskFormat::ParsePositions(const std::u32string& Field) {
  TCase Case = mcNone;
  for (size_t I = 0; I < Field.size(); ++I) {
    char32_t C = Field[I];
    TPosition P;
    P.Case = Case;
    switch (C) {
      case U'>': Case = mcUpper; continue;
      case U'<': Case = mcLower; continue;
      case U'!': Case = mcNone; continue;
      case U'0': P.Kind = mkDigit; P.Required = true; break;
      case U'9': P.Kind = mkDigit; break;
      case U'L': P.Kind = mkLetter; P.Required = true; break;
      case U'l': P.Kind = mkLetter; break;
      case U'A': P.Kind = mkAlnum; P.Required = true; break;
      case U'a': P.Kind = mkAlnum; break;
      case U'C': P.Kind = mkAny; P.Required = true; break;
      case U'c': P.Kind = mkAny; break;
      case U'\\':
        P.Literal = I + 1 < Field.size() ? Field[++I] : U'\\';
        break;
      default: P.Literal = C; break;
    }
    FPositions.push_back(P);
  }
}

bool TEditMaskFormat::IsLiteral(int Pos) const {
  return Pos >= 0 && Pos < Length() && FPositions[size_t(Pos)].Kind == mkLiteral;
}

bool TEditMaskFormat::IsRequired(int Pos) const {
  return Pos >= 0 && Pos < Length() && FPositions[size_t(Pos)].Required;
}

int TEditMaskFormat::NextEditable(int Pos) const {
  if (Pos < 0) Pos = 0;
  while (Pos < Length() && IsLiteral(Pos)) ++Pos;
  return Pos;
}

int TEditMaskFormat::PrevEditable(int Pos) const {
  if (Pos > Length()) Pos = Length();
  for (int I = Pos - 1; I >= 0; --I)
    if (!IsLiteral(I)) return I;
  return -1;
}

bool TEditMaskFormat::Accepts(int Pos, char32_t Ch, char32_t& Out) const {
  if (Pos < 0 || Pos >= Length() || Ch < 32) return false;
  const TPosition& P = FPositions[size_t(Pos)];
  bool Ok = false;
  switch (P.Kind) {
    case mkLiteral: Ok = false; break;
    case mkDigit: Ok = IsDigit(Ch); break;
    case mkLetter: Ok = IsLetter(Ch); break;
    case mkAlnum: Ok = IsDigit(Ch) || IsLetter(Ch); break;
    case mkAny: Ok = true; break;
  }
  if (!Ok) return false;
  Out = P.Case == mcUpper ? ToUpper(Ch) : P.Case == mcLower ? ToLower(Ch) : Ch;
  return true;
}

std::u32string TEditMaskFormat::EmptyText() const {
  std::u32string S;
  for (const TPosition& P : FPositions) S += P.Kind == mkLiteral ? P.Literal : FBlank;
  return S;
}

bool TEditMaskFormat::PlaceChar(int Pos, char32_t Ch, std::u32string& EditText) const {
  if (Ch == FBlank || Ch == U' ') return true;  // an empty place stays blank
  char32_t Out;
  if (!Accepts(Pos, Ch, Out)) return false;
  EditText[size_t(Pos)] = Out;
  return true;
}

bool TEditMaskFormat::ValueToEditText(const std::u32string& Value, std::u32string& EditText) const {
  EditText = EmptyText();
  bool AllPlaced = true;
  if (FKeepLiterals || Value.size() == size_t(Length())) {
    // Aligned by position; a literal in the value must match the mask's.
    for (int I = 0; I < Length() && I < int(Value.size()); ++I) {
      if (IsLiteral(I)) {
        if (Value[size_t(I)] != EditText[size_t(I)]) AllPlaced = false;
      } else if (!PlaceChar(I, Value[size_t(I)], EditText)) {
        AllPlaced = false;
      }
    }
    return AllPlaced && Value.size() <= size_t(Length());
  }
  int Pos = NextEditable(0);
  for (char32_t Ch : Value) {
    if (Pos >= Length()) return false;
    if (!PlaceChar(Pos, Ch, EditText)) AllPlaced = false;
    Pos = NextEditable(Pos + 1);
  }
  return AllPlaced;
}

std::u32string TEditMaskFormat::EditTextToValue(const std::u32string& EditText) const {
  std::u32string V;
  for (int I = 0; I < Length() && I < int(EditText.size()); ++I) {
    if (IsLiteral(I) && !FKeepLiterals) continue;
    char32_t C = EditText[size_t(I)];
    V += (!IsLiteral(I) && C == FBlank) ? U' ' : C;
  }
  while (!V.empty() && V.back() == U' ') V.pop_back();
  return V;
}

bool TEditMaskFormat::IsComplete(const std::u32string& EditText) const {
  for (int I = 0; I < Length(); ++I)
    if (IsRequired(I) && (I >= int(EditText.size()) || EditText[size_t(I)] == FBlank)) return false;
  return true;
}

}  // namespace plumb
