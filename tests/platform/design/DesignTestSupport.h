#pragma once
// What the design-environment tests compare before and after something that must leave the
// environment as it was: the class registry, the palette, the property editors and the
// packages. Also a designer that counts Modified calls and a scratch folder for copies of
// packages.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/TypeInfo.h"
#include "design/Packages.h"
#include "design/Palette.h"
#include "design/PropEdits.h"

namespace plumb::test {

struct TEnvironment {
  std::vector<std::string> Classes;   // name@record, sorted
  std::vector<std::string> Palette;   // page/class
  std::vector<std::string> Editors;   // editor for class.property
  std::vector<std::string> Packages;  // name
};

inline TEnvironment Environment() {
  TEnvironment E;
  for (TClass C : GetRegisteredClasses())
    E.Classes.push_back(std::string(C->Name) + "@" + std::to_string(uintptr_t(C)));
  std::sort(E.Classes.begin(), E.Classes.end());
  for (const TPalettePage& Page : GetPalettePages())
    for (const TPaletteItem& Item : Page.Items)
      E.Palette.push_back(Page.Name + "/" + Item.ComponentClass->Name);
  for (const TPropertyEditorRegistration& R : GetPropertyEditorRegistrations())
    E.Editors.push_back(std::string(R.EditorClass.Class->Name) + " for " +
                        (R.ComponentClass ? R.ComponentClass->Name : "*") + "." + R.PropertyName);
  for (const TPackage* P : GetPackages()) E.Packages.push_back(P->GetName());
  return E;
}

inline void ExpectSameEnvironment(const TEnvironment& Before, const TEnvironment& After) {
  EXPECT_EQ(Before.Classes, After.Classes);
  EXPECT_EQ(Before.Palette, After.Palette);
  EXPECT_EQ(Before.Editors, After.Editors);
  EXPECT_EQ(Before.Packages, After.Packages);
}

// Loading File raises EPackageError whose message holds each of Expected, and the
// environment is as it was; the library is not left in the process either.
inline void ExpectRefused(const std::string& File, const std::vector<std::string>& Expected) {
  SCOPED_TRACE(File);
  TEnvironment Before = Environment();
  try {
    LoadPackage(File);
    ADD_FAILURE() << "loaded";
  } catch (const EPackageError& E) {
    for (const std::string& Part : Expected)
      EXPECT_NE(std::string(E.what()).find(Part), std::string::npos) << E.what();
  }
  ExpectSameEnvironment(Before, Environment());
}

// True while the library File is in the process.
inline bool LibraryInProcess(const std::string& File) {
  void* Handle = dlopen(File.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (Handle) dlclose(Handle);
  return Handle != nullptr;
}

class TCountingDesigner : public TFormDesigner {
 public:
  explicit TCountingDesigner(TComponent* ARoot) : Root(ARoot) {}
  TComponent* GetRoot() override { return Root; }
  void Modified() override { ++ModifiedCount; }
  TComponent* Root;
  int ModifiedCount = 0;
};

// A folder of its own for one test, removed with it.
class TScratchDir {
 public:
  TScratchDir() {
    char Template[] = "/tmp/plumb-design-XXXXXX";
    Path = mkdtemp(Template) ? Template : "";
  }
  ~TScratchDir() {
    std::error_code Ignored;
    if (!Path.empty()) std::filesystem::remove_all(Path, Ignored);
  }
  std::string Copy(const std::string& File, const std::string& Name) const {
    std::filesystem::copy_file(File, Path + "/" + Name);
    return Path + "/" + Name;
  }
  std::string Path;
};

}  // namespace plumb::test
