// The property editor base and the editors of plain values: integers, colours, enumerations
// and strings.
#include "design/PropEdits.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "gfx/Graphics.h"

namespace plumb {

namespace {

inline constexpr const char* BooleanNames[] = {"False", "True"};
inline constexpr TEnumInfo BooleanInfo{"Boolean", BooleanNames};

std::string Trimmed(const std::string& S) {
  size_t First = S.find_first_not_of(" \t"), Last = S.find_last_not_of(" \t");
  return First == std::string::npos ? std::string() : S.substr(First, Last - First + 1);
}

// A whole decimal number, or hexadecimal after '$'; false for anything else.
bool ParseInt(const std::string& Text, Int64& Value) {
  std::string S = Trimmed(Text);
  bool Hex = !S.empty() && S[0] == '$';
  if (Hex) S.erase(0, 1);
  if (S.empty() || S.size() > 20) return false;
  size_t Used = 0;
  try {
    Value = Hex ? Int64(std::stoull(S, &Used, 16)) : Int64(std::stoll(S, &Used, 10));
  } catch (const std::exception&) {
    return false;
  }
  return Used == S.size() && (!Hex || std::isxdigit(static_cast<unsigned char>(S[0])));
}

[[noreturn]] void InvalidValue(const std::string& Value) {
  throw EPropertyError("Invalid property value: '" + Value + "'");
}

}  // namespace

// ---- TPropertyEditor ---------------------------------------------------------------------------

const TInstProp& TPropertyEditor::Entry(int Index) const {
  if (Index < 0 || Index >= GetPropCount())
    throw EPropertyError("No selected object at index " + IntToStr(Index));
  return FPropList[size_t(Index)];
}

TPersistent* TPropertyEditor::GetComponent(int Index) const {
  return Entry(Index).Instance;
}

bool TPropertyEditor::AllEqual() {
  return GetPropCount() <= 1;
}

void TPropertyEditor::Edit() {
  if (!GetAttributes().Contains(paValueList)) return;
  std::vector<std::string> Values;
  GetValues([&](const std::string& S) { Values.push_back(S); });
  if (Values.empty()) return;
  std::string Current = GetValue();
  auto It = std::find_if(Values.begin(), Values.end(),
                         [&](const std::string& V) { return SameText(V, Current); });
  SetValue(It == Values.end() || It + 1 == Values.end() ? Values.front() : *(It + 1));
}

TPropertyAttributes TPropertyEditor::GetAttributes() {
  return WithReadOnly({paMultiSelect, paRevertable});
}

std::string TPropertyEditor::GetName() {
  const TPropInfo* P = GetPropInfo();
  return P ? P->Name : std::string();
}

void TPropertyEditor::SetValue(const std::string& Value) {
  (void)Value;
  throw EPropertyError("Property " + GetName() + " cannot be set as text");
}

Int64 TPropertyEditor::GetOrdValueAt(int Index) const {
  const TInstProp& E = Entry(Index);
  return E.PropInfo->GetOrd(E.Instance);
}

void TPropertyEditor::SetOrdValue(Int64 Value) {
  for (const TInstProp& E : FPropList) {
    if (!E.PropInfo->SetOrd) throw EPropertyError("Property " + E.PropInfo->Name + " is read-only");
    E.PropInfo->SetOrd(E.Instance, Value);
  }
  Modified();
}

std::string TPropertyEditor::GetStrValueAt(int Index) const {
  const TInstProp& E = Entry(Index);
  return E.PropInfo->GetStr(E.Instance);
}

void TPropertyEditor::SetStrValue(const std::string& Value) {
  for (const TInstProp& E : FPropList) {
    if (!E.PropInfo->SetStr) throw EPropertyError("Property " + E.PropInfo->Name + " is read-only");
    E.PropInfo->SetStr(E.Instance, Value);
  }
  Modified();
}

TObject* TPropertyEditor::GetObjValueAt(int Index) const {
  const TInstProp& E = Entry(Index);
  return E.PropInfo->GetObj(E.Instance);
}

void TPropertyEditor::SetObjValue(TObject* Value) {
  for (const TInstProp& E : FPropList) {
    if (!E.PropInfo->SetObj) throw EPropertyError("Property " + E.PropInfo->Name + " is read-only");
    E.PropInfo->SetObj(E.Instance, Value);
  }
  Modified();
}

TPropertyAttributes TPropertyEditor::WithReadOnly(TPropertyAttributes Attributes) const {
  const TPropInfo* P = GetPropInfo();
  if (P && !P->IsWritable()) Attributes.Include(paReadOnly);
  return Attributes;
}

void TPropertyEditor::Modified() {
  if (FDesigner) FDesigner->Modified();
}

// ---- Ordinals --------------------------------------------------------------------------------

bool TOrdinalProperty::AllEqual() {
  for (int I = 1; I < GetPropCount(); ++I)
    if (GetOrdValueAt(I) != GetOrdValue()) return false;
  return true;
}

TPropertyAttributes TIntegerProperty::GetAttributes() {
  return WithReadOnly({paMultiSelect, paRevertable});
}

std::string TIntegerProperty::GetValue() {
  return IntToStr(GetOrdValue());
}

void TIntegerProperty::SetValue(const std::string& Value) {
  Int64 N = 0;
  if (!ParseInt(Value, N)) throw EPropertyError("'" + Value + "' is not a valid integer value");
  const TPropInfo* P = GetPropInfo();
  if (P->MinValue < P->MaxValue && (N < P->MinValue || N > P->MaxValue))
    throw EPropertyError("Value must be between " + IntToStr(P->MinValue) + " and " +
                         IntToStr(P->MaxValue));
  SetOrdValue(N);
}

TPropertyAttributes TColorProperty::GetAttributes() {
  return WithReadOnly({paMultiSelect, paValueList, paRevertable});
}

std::string TColorProperty::GetValue() {
  TColor C = TColor(GetOrdValue());
  std::string Ident;
  if (ColorToIdent(C, Ident)) return Ident;
  char Text[12];
  std::snprintf(Text, sizeof Text, "$%08X", uint32_t(C));
  return Text;
}

void TColorProperty::GetValues(const TGetStrProc& Proc) {
  GetColorValues(Proc);
}

void TColorProperty::SetValue(const std::string& Value) {
  TColor C = 0;
  Int64 N = 0;
  if (IdentToColor(Trimmed(Value), C))
    SetOrdValue(C);
  else if (ParseInt(Value, N) && N >= INT32_MIN && N <= Int64(UINT32_MAX))
    SetOrdValue(TColor(uint32_t(N)));
  else
    InvalidValue(Value);
}

const TEnumInfo& TEnumProperty::Names() const {
  const TPropInfo* P = GetPropInfo();
  return P->EnumType ? *P->EnumType : BooleanInfo;
}

TPropertyAttributes TEnumProperty::GetAttributes() {
  return WithReadOnly({paMultiSelect, paValueList, paSortList, paRevertable});
}

std::string TEnumProperty::GetValue() {
  Int64 N = GetOrdValue();
  const char* Name = Names().NameOf(N);
  return Name ? Name : IntToStr(N);
}

void TEnumProperty::GetValues(const TGetStrProc& Proc) {
  for (const char* Name : Names().Names) Proc(Name);
}

void TEnumProperty::SetValue(const std::string& Value) {
  int N = Names().ValueOf(Trimmed(Value));
  if (N < 0) InvalidValue(Value);
  SetOrdValue(N);
}

// ---- Strings ---------------------------------------------------------------------------------

bool TStringProperty::AllEqual() {
  for (int I = 1; I < GetPropCount(); ++I)
    if (GetStrValueAt(I) != GetStrValue()) return false;
  return true;
}

TPropertyAttributes TStringProperty::GetAttributes() {
  return WithReadOnly({paMultiSelect, paRevertable});
}

std::string TStringProperty::GetValue() {
  return GetStrValue();
}

void TStringProperty::SetValue(const std::string& Value) {
  SetStrValue(Value);
}

}  // namespace plumb
