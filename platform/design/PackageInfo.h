#pragma once
// What a package exports to the loader (see Packages.h): plain C, so that the loader finds it
// with dlsym and its layout does not depend on the compiler's C++ choices.
//
// A package is a shared library that exports, with C linkage:
//   void Initialize();                         runs its units' initialisation
//   void Finalize();                           runs their finalisation, last unit first
//   const TPackageInfoTable* GetPackageInfoTable();
// and, when it has resources (palette images, named by the class name in capitals),
//   const unsigned char* GetPackageResource(const char* Name, size_t* Size);
// which returns nullptr for a name it does not hold. plumb_add_package (CMake) builds one.
#include <cstddef>
#include <cstdint>

extern "C" {

// One unit of a package. Every member but Name may be null.
struct TPackageUnitInfo {
  const char* Name;
  void (*Init)();      // at load, in table order
  void (*Finit)();     // at unload, in reverse order
  void (*Register)();  // in a design environment, after every unit is initialised
};

enum : uint32_t { PackageInfoVersion = 1 };

struct TPackageInfoTable {
  uint32_t Version;  // PackageInfoVersion
  const char* Name;
  const char* Description;
  const char* const* Requires;  // package names, ending with nullptr
  const TPackageUnitInfo* Units;
  uint32_t UnitCount;
};

using TPackageProc = void (*)();
using TGetPackageInfoTableFunc = const TPackageInfoTable* (*)();
using TGetPackageResourceFunc = const unsigned char* (*)(const char* Name, size_t* Size);
}

namespace plumb {

// What a package's Initialize and Finalize hand their table to. Initialisation that fails
// finalises the units already initialised, last first, and raises again.
void InitializePackage(const TPackageInfoTable* Table);
void FinalizePackage(const TPackageInfoTable* Table);

}  // namespace plumb
