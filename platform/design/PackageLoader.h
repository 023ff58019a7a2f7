#pragma once
// Inside the package loader (Packages.cpp, PackageLoader.cpp); not for users of the loader.
#include <memory>
#include <string>
#include <vector>

#include "design/Packages.h"

namespace plumb {

struct TPackageLoader {
  static TPackageLoader& Instance();

  std::vector<std::unique_ptr<TPackage>> Packages;  // the host's first
  std::string Language;
  bool LanguageSet = false;

  const TPackage* Find(const std::string& Name) const;
  std::string GetLanguage() const;
  const TPackage* Load(const std::string& FileName);
  void Unload(const TPackage* Package);

 private:
  TPackageLoader();
  void AddHostPackage(const std::string& Name, const std::string& Description);
  // The steps of Load; each raises EPackageError with the reason.
  void BindEntryPoints(TPackage& P);
  void ReadDescriptor(TPackage& P);
  void CheckRequirements(const TPackage& P) const;
  void LoadLanguageModule(TPackage& P);
  void RunRegistration(TPackage& P);
  // Takes back what the package did and closes its libraries.
  void Discard(TPackage& P);
};

}  // namespace plumb
