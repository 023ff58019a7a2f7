#include "Strings.h"

#include "Exceptions.h"

namespace plumb {

void TStrings::CheckIndex(int Index, int Limit) const {
  if (Index < 0 || Index > Limit)
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

void TStrings::Put(int Index, const std::string& S) {
  BeginUpdate();
  Delete(Index);
  Insert(Index, S);
  EndUpdate();
}

int TStrings::Add(const std::string& S) {
  int Index = GetCount();
  Insert(Index, S);
  return Index;
}

void TStrings::AddStrings(const TStrings* Source) {
  if (!Source) return;
  BeginUpdate();
  for (int I = 0; I < Source->GetCount(); ++I) Add(Source->Get(I));
  EndUpdate();
}

int TStrings::IndexOf(const std::string& S) const {
  for (int I = 0; I < GetCount(); ++I)
    if (SameText(Get(I), S)) return I;
  return -1;
}

std::string TStrings::GetText() const {
  std::string R;
  for (int I = 0; I < GetCount(); ++I) R += Get(I) + "\n";
  return R;
}

void TStrings::SetText(const std::string& Value) {
  BeginUpdate();
  Clear();
  size_t P = 0;
  while (P < Value.size()) {
    size_t E = Value.find_first_of("\r\n", P);
    if (E == std::string::npos) E = Value.size();
    Add(Value.substr(P, E - P));
    if (E < Value.size() && Value[E] == '\r' && E + 1 < Value.size() && Value[E + 1] == '\n') ++E;
    P = E + 1;
  }
  EndUpdate();
}

std::vector<std::string> TStrings::ToVector() const {
  std::vector<std::string> R;
  for (int I = 0; I < GetCount(); ++I) R.push_back(Get(I));
  return R;
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::Assign(const TPersistent* Source) {
  if (Source && Source->Is<TStrings>()) {
    auto* S = static_cast<const TStrings*>(Source);
    if (S == this) return;
    BeginUpdate();
    Clear();
    AddStrings(S);
    EndUpdate();
    return;
  }
  TPersistent::Assign(Source);
}

bool TStrings::Equals(const TStrings* Other) const {
  if (!Other || Other->GetCount() != GetCount()) return false;
  for (int I = 0; I < GetCount(); ++I)
    if (Get(I) != Other->Get(I)) return false;
  return true;
}

const std::string& TStringList::Ref(int Index) const {
  CheckIndex(Index, GetCount() - 1);
  return FList[size_t(Index)];
}

std::string TStringList::Get(int Index) const {
  CheckIndex(Index, GetCount() - 1);
  return FList[size_t(Index)];
}

void TStringList::Put(int Index, const std::string& S) {
  CheckIndex(Index, GetCount() - 1);
  Changing();
  FList[size_t(Index)] = S;
  Changed();
}

void TStringList::Insert(int Index, const std::string& S) {
  CheckIndex(Index, GetCount());
  Changing();
  FList.insert(FList.begin() + Index, S);
  Changed();
}

void TStringList::Delete(int Index) {
  CheckIndex(Index, GetCount() - 1);
  Changing();
  FList.erase(FList.begin() + Index);
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  FList.clear();
  Changed();
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating)
    Changing();
  else
    Changed();
}

void TStringList::Changing() {
  if (!TStrings::Updating() && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
  if (!TStrings::Updating() && OnChange) OnChange(this);
}

}  // namespace plumb
