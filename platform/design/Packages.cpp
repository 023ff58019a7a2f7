// The packages there are (the host's and the loaded ones), their resources, the language
// their resource modules are chosen by, who owns the registrations being made, and the unit
// table walk behind a package's Initialize and Finalize.
#include <cctype>
#include <cstdlib>

#include "design/PackageLoader.h"

namespace plumb {

namespace {

const TPackage* CurrentOwner = nullptr;

std::span<const uint8_t> Lookup(TGetPackageResourceFunc Find, const std::string& Name) {
  size_t Size = 0;
  const unsigned char* Data = Find ? Find(Name.c_str(), &Size) : nullptr;
  return Data ? std::span<const uint8_t>(Data, Size) : std::span<const uint8_t>();
}

// "de_DE.UTF-8" gives DE; "C", "POSIX" and anything that is no language code give nothing.
std::string LanguageOf(const char* Locale) {
  std::string Code;
  for (const char* P = Locale; std::isalpha(static_cast<unsigned char>(*P)); ++P) Code += *P;
  if (Code.size() < 2 || Code.size() > 3 || SameText(Code, "POSIX")) return {};
  return UpperCase(Code);
}

}  // namespace

const TPackage* GetRegistrationOwner() {
  return CurrentOwner;
}
void SetRegistrationOwner(const TPackage* Owner) {
  CurrentOwner = Owner;
}

TPackage::~TPackage() = default;

std::span<const uint8_t> TPackage::FindResource(const std::string& Name) const {
  std::string Key = UpperCase(Name);
  std::span<const uint8_t> Found = Lookup(FLanguageResources, Key);
  return Found.empty() ? Lookup(FResources, Key) : Found;
}

TPackageLoader& TPackageLoader::Instance() {
  static TPackageLoader Loader;
  return Loader;
}

TPackageLoader::TPackageLoader() {
  AddHostPackage("PlumbRtl",
                 "Plumb run-time library: objects, streams, graphics, windows, controls");
  AddHostPackage("PlumbDb", "Plumb data access: fields, data sets, data sources");
}

void TPackageLoader::AddHostPackage(const std::string& Name, const std::string& Description) {
  std::unique_ptr<TPackage> P(new TPackage);
  P->FName = Name;
  P->FDescription = Description;
  Packages.push_back(std::move(P));
}

const TPackage* TPackageLoader::Find(const std::string& Name) const {
  for (const auto& P : Packages)
    if (SameText(P->FName, Name)) return P.get();
  return nullptr;
}

std::string TPackageLoader::GetLanguage() const {
  if (LanguageSet) return Language;
  for (const char* Var : {"LC_ALL", "LC_MESSAGES", "LANG"})
    if (const char* Value = std::getenv(Var); Value && *Value) return LanguageOf(Value);
  return {};
}

std::vector<const TPackage*> GetPackages() {
  std::vector<const TPackage*> List;
  for (const auto& P : TPackageLoader::Instance().Packages) List.push_back(P.get());
  return List;
}

const TPackage* FindPackage(const std::string& Name) {
  return TPackageLoader::Instance().Find(Name);
}

void SetPackageLanguage(const std::string& Language) {
  TPackageLoader& L = TPackageLoader::Instance();
  L.Language = UpperCase(Language);
  L.LanguageSet = !Language.empty();
}

std::string GetPackageLanguage() {
  return TPackageLoader::Instance().GetLanguage();
}

std::span<const uint8_t> FindRegistrationResource(const std::string& Name) {
  return CurrentOwner ? CurrentOwner->FindResource(Name) : std::span<const uint8_t>();
}

void InitializePackage(const TPackageInfoTable* Table) {
  uint32_t Done = 0;
  try {
    for (; Done < Table->UnitCount; ++Done)
      if (Table->Units[Done].Init) Table->Units[Done].Init();
  } catch (...) {
    while (Done-- > 0)
      if (Table->Units[Done].Finit) Table->Units[Done].Finit();
    throw;
  }
}

void FinalizePackage(const TPackageInfoTable* Table) {
  for (uint32_t I = Table->UnitCount; I-- > 0;)
    if (Table->Units[I].Finit) Table->Units[I].Finit();
}

}  // namespace plumb
