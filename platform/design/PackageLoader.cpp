// Loading and unloading packages.
//
//   Load:   canonical path, not loaded yet -> dlopen -> entry points -> descriptor (name not
//           loaded yet, required packages there) -> language module -> Initialize -> each
//           unit's Register.   Any failure -> Discard -> EPackageError.
//   Unload: nothing requires it -> Finalize -> Discard.
//   Discard: palette entries, property editors, the classes the library's code registered,
//           the language module, the library.
#include "design/PackageLoader.h"

#include <dlfcn.h>
#include <link.h>

#include <filesystem>

#include "core/TypeInfo.h"
#include "design/Palette.h"
#include "design/PropEdits.h"

namespace plumb {

namespace {

std::string LastDlError() {
  const char* E = dlerror();
  return E ? E : "unknown error";
}

// Where the library Handle is mapped; nullptr when that cannot be told.
const void* ModuleBase(void* Handle) {
  link_map* Map = nullptr;
  Dl_info Module;
  if (dlinfo(Handle, RTLD_DI_LINKMAP, &Map) != 0 || !Map || !dladdr(Map->l_ld, &Module))
    return nullptr;
  return Module.dli_fbase;
}

bool InModule(const void* Address, const void* Base) {
  Dl_info Of;
  return Base && Address && dladdr(Address, &Of) && Of.dli_fbase == Base;
}

// Forgets every class whose record the code of the library Handle made: the records hold
// pointers into the library.
void UnregisterModuleClasses(void* Handle) {
  const void* Base = ModuleBase(Handle);
  for (TClass Class : GetRegisteredClasses())
    if (InModule(GetClassModule(Class), Base)) UnregisterClass(Class);
}

// The library's own export Name: dlsym would also find one of the libraries it needs.
template <class F>
F Symbol(void* Handle, const char* Name) {
  void* Address = dlsym(Handle, Name);
  return InModule(Address, ModuleBase(Handle)) ? reinterpret_cast<F>(Address) : nullptr;
}

// Registrations made from here on belong to Owner, until the scope ends.
class TOwnerScope {
 public:
  explicit TOwnerScope(const TPackage* Owner) : FSaved(GetRegistrationOwner()) {
    SetRegistrationOwner(Owner);
  }
  ~TOwnerScope() { SetRegistrationOwner(FSaved); }

 private:
  const TPackage* FSaved;
};

}  // namespace

const TPackage* TPackageLoader::Load(const std::string& FileName) {
  std::error_code Error;
  std::filesystem::path Path = std::filesystem::canonical(FileName, Error);
  if (Error) throw EPackageError("Cannot load package " + FileName + ": " + Error.message());
  for (const auto& Loaded : Packages)
    if (Loaded->FFileName == Path.string())
      throw EPackageError("Cannot load package " + FileName + ": package " + Loaded->FName +
                          " is already loaded from it");
  std::unique_ptr<TPackage> P(new TPackage);
  P->FFileName = Path.string();
  std::string Failure;
  {
    TOwnerScope Scope(P.get());  // static initialisers may register too
    P->FHandle = dlopen(P->FFileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!P->FHandle) throw EPackageError("Cannot load package " + FileName + ": " + LastDlError());
    try {
      BindEntryPoints(*P);
      ReadDescriptor(*P);
      CheckRequirements(*P);
      LoadLanguageModule(*P);
      RunRegistration(*P);
    } catch (const std::exception& E) {
      Failure = E.what();  // copied: the exception may live in the library about to go
    } catch (...) {
      Failure = "it raised something that is no exception";
    }
  }
  if (!Failure.empty()) {
    Discard(*P);
    throw EPackageError("Cannot load package " + FileName + ": " + Failure);
  }
  Packages.push_back(std::move(P));
  return Packages.back().get();
}

void TPackageLoader::BindEntryPoints(TPackage& P) {
  P.FInitialize = Symbol<TPackageProc>(P.FHandle, "Initialize");
  P.FFinalize = Symbol<TPackageProc>(P.FHandle, "Finalize");
  auto Table = Symbol<TGetPackageInfoTableFunc>(P.FHandle, "GetPackageInfoTable");
  for (auto [Found, Name] :
       {std::pair{bool(P.FInitialize), "Initialize"}, std::pair{bool(P.FFinalize), "Finalize"},
        std::pair{bool(Table), "GetPackageInfoTable"}})
    if (!Found) throw EPackageError(std::string("it is no package: it exports no ") + Name);
  P.FResources = Symbol<TGetPackageResourceFunc>(P.FHandle, "GetPackageResource");
  P.FTable = Table();
  if (!P.FTable || P.FTable->Version != PackageInfoVersion)
    throw EPackageError("its package table is missing or of another version");
}

void TPackageLoader::ReadDescriptor(TPackage& P) {
  const TPackageInfoTable& T = *P.FTable;
  if (!T.Name || !*T.Name || (T.UnitCount > 0 && !T.Units))
    throw EPackageError("its package table has no name or no units");
  P.FName = T.Name;
  P.FDescription = T.Description ? T.Description : "";
  for (const char* const* R = T.Requires; R && *R; ++R) P.FRequires.emplace_back(*R);
  for (uint32_t I = 0; I < T.UnitCount; ++I)
    P.FContains.emplace_back(T.Units[I].Name ? T.Units[I].Name : "");
}

void TPackageLoader::CheckRequirements(const TPackage& P) const {
  if (const TPackage* Same = Find(P.FName))
    throw EPackageError("package " + Same->FName + " is already loaded" +
                        (Same->IsHostPackage() ? "" : " from " + Same->FFileName));
  for (const std::string& Name : P.FRequires)
    if (!Find(Name)) throw EPackageError("it requires package " + Name + ", which is not loaded");
}

void TPackageLoader::LoadLanguageModule(TPackage& P) {
  std::string Lang = GetLanguage();
  if (Lang.empty()) return;
  std::filesystem::path Module = std::filesystem::path(P.FFileName).replace_extension(Lang);
  if (!std::filesystem::is_regular_file(Module)) return;
  P.FLanguageHandle = dlopen(Module.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!P.FLanguageHandle)
    throw EPackageError("its language module " + Module.string() + ": " + LastDlError());
  P.FLanguageResources = Symbol<TGetPackageResourceFunc>(P.FLanguageHandle, "GetPackageResource");
  if (!P.FLanguageResources)
    throw EPackageError("its language module " + Module.string() +
                        " exports no GetPackageResource");
  P.FLanguageModule = Module.string();
}

void TPackageLoader::RunRegistration(TPackage& P) {
  P.FInitialize();
  P.FInitialized = true;
  for (uint32_t I = 0; I < P.FTable->UnitCount; ++I) {
    const TPackageUnitInfo& Unit = P.FTable->Units[I];
    if (!Unit.Register) continue;
    try {
      Unit.Register();
    } catch (const std::exception& E) {
      throw EPackageError("Register of unit " + P.FContains[I] + " failed: " + E.what());
    }
  }
}

void TPackageLoader::Discard(TPackage& P) {
  if (P.FInitialized) {
    P.FInitialized = false;
    try {
      TOwnerScope Scope(&P);
      P.FFinalize();
    } catch (...) {
      // Discarding a package that failed to load: the load's own error is the one to report.
    }
  }
  UnregisterComponents(&P);
  UnregisterPropertyEditors(&P);
  if (P.FHandle) UnregisterModuleClasses(P.FHandle);
  if (P.FLanguageHandle) dlclose(P.FLanguageHandle);
  if (P.FHandle) dlclose(P.FHandle);
  P.FLanguageHandle = P.FHandle = nullptr;
}

void TPackageLoader::Unload(const TPackage* Package) {
  auto It = std::find_if(Packages.begin(), Packages.end(),
                         [Package](const auto& P) { return P.get() == Package; });
  if (It == Packages.end() || Package->IsHostPackage())
    throw EPackageError("Cannot unload package " + (Package ? Package->FName : "nil") +
                        ": it is not a loaded package");
  for (const auto& Other : Packages)
    for (const std::string& Name : Other->FRequires)
      if (SameText(Name, Package->FName))
        throw EPackageError("Cannot unload package " + Package->FName + ": package " +
                            Other->FName + " requires it");
  std::string Failure;
  try {
    TOwnerScope Scope(Package);
    (*It)->FInitialized = false;
    (*It)->FFinalize();
  } catch (const std::exception& E) {
    Failure = E.what();
  } catch (...) {
    Failure = "it raised something that is no exception";
  }
  Discard(**It);
  std::string Name = Package->FName;
  Packages.erase(It);
  if (!Failure.empty())
    throw EPackageError("Package " + Name +
                        " was unloaded, but its finalization failed: " + Failure);
}

const TPackage* LoadPackage(const std::string& FileName) {
  return TPackageLoader::Instance().Load(FileName);
}

void UnloadPackage(const TPackage* Package) {
  TPackageLoader::Instance().Unload(Package);
}

}  // namespace plumb
