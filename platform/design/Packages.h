#pragma once
// The package loader: brings a package (a shared library, see PackageInfo.h) into the design
// environment and takes it out again with everything it registered.
//
// Loading checks that the file is a package, that no package of that file or that name is
// loaded and that every package it requires is there; loads its language resource module when
// one lies beside it; then runs Initialize and each unit's Register, the registrations owned
// by the package. A failure at any step takes back what the package did and raises
// EPackageError: the environment is as it was. Unloading runs Finalize and removes the
// package's palette entries, property editors and registered classes before the library goes.
//
// Layout of the process: a package links nothing of the platform. Its undefined symbols resolve
// against the host program, which links the run-time package PlumbRtl (core, gfx, win,
// controls) and the data package PlumbDb (data) whole and exports them (CMake:
// plumb_package_host), so there is one class registry, one window system, one of everything.
// Those two are the packages the host provides; loaded packages may require them and each
// other. Free every instance of a package's classes before unloading it.
//
// The language resource module of <dir>/<name>.<ext> is <dir>/<name>.<LANG> (libPlumbGrid.DE
// beside libPlumbGrid.so): a shared library that exports GetPackageResource and whose
// resources come before the package's own. LANG is SetPackageLanguage's, or the language of
// the first of LC_ALL, LC_MESSAGES and LANG that is set, in capitals ("de_DE.UTF-8": DE).
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "design/DesignIntf.h"
#include "design/PackageInfo.h"

namespace plumb {

class TPackage {
 public:
  ~TPackage();
  const std::string& GetName() const { return FName; }
  const std::string& GetDescription() const { return FDescription; }
  const std::vector<std::string>& GetRequires() const { return FRequires; }
  // The unit names.
  const std::vector<std::string>& GetContains() const { return FContains; }
  // The library, as a canonical path; empty for the packages of the host.
  const std::string& GetFileName() const { return FFileName; }
  bool IsHostPackage() const { return FFileName.empty(); }
  // The language resource module loaded with the package; empty when there is none.
  const std::string& GetLanguageModule() const { return FLanguageModule; }
  // A resource by name (letter case ignored): the language module's, else the package's own;
  // empty when neither holds it.
  std::span<const uint8_t> FindResource(const std::string& Name) const;

 private:
  friend struct TPackageLoader;
  TPackage() = default;
  std::string FName;
  std::string FDescription;
  std::vector<std::string> FRequires;
  std::vector<std::string> FContains;
  std::string FFileName;
  std::string FLanguageModule;
  void* FHandle = nullptr;
  void* FLanguageHandle = nullptr;
  const TPackageInfoTable* FTable = nullptr;
  TPackageProc FInitialize = nullptr;
  TPackageProc FFinalize = nullptr;
  TGetPackageResourceFunc FResources = nullptr;
  TGetPackageResourceFunc FLanguageResources = nullptr;
  bool FInitialized = false;
};

// Raises EPackageError, naming the file and the reason, and leaves everything as it was.
const TPackage* LoadPackage(const std::string& FileName);
// Raises EPackageError for a package of the host, one that is not loaded, or one that another
// loaded package requires.
void UnloadPackage(const TPackage* Package);
// The host's packages first, then the loaded ones in load order.
std::vector<const TPackage*> GetPackages();
// Letter case ignored; nullptr when no such package is there.
const TPackage* FindPackage(const std::string& Name);

// "DE"; empty: from the environment.
void SetPackageLanguage(const std::string& Language);
std::string GetPackageLanguage();

// The resource Name of the package whose registration is running (see GetRegistrationOwner);
// empty when the host registers.
std::span<const uint8_t> FindRegistrationResource(const std::string& Name);

}  // namespace plumb
