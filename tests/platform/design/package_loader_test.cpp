// The package loader refuses what is not a loadable package with a clear error and leaves the
// environment as it was, including the registrations a package made before it failed.
#include <cstdlib>
#include <fstream>

#include "DesignTestSupport.h"

namespace plumb::test {
namespace {

struct TBadInput {
  const char* Title;
  std::string File;
  std::vector<std::string> Expected;
};

TEST(PackageLoader, BadPackages_RefusedWithTheReason_EnvironmentUnchanged) {
  TScratchDir Dir;
  std::ofstream(Dir.Path + "/notes.so") << "these are notes, not a package\n";
  const TBadInput Inputs[] = {
      {"no file", Dir.Path + "/missing.so", {"Cannot load package", "missing.so"}},
      {"not a library", Dir.Path + "/notes.so", {"Cannot load package", "notes.so"}},
      {"no entry points", NO_ENTRY_PACKAGE, {"exports no Initialize"}},
      {"required package missing",
       BAD_REQUIRES_PACKAGE,
       {"requires package NoSuchPackage", "not loaded"}},
      {"Register raises",
       BAD_REGISTER_PACKAGE,
       {"Register of unit uBadWidget failed", "the widget refuses to register"}},
  };
  for (const TBadInput& Input : Inputs) {
    SCOPED_TRACE(Input.Title);
    ExpectRefused(Input.File, Input.Expected);
    EXPECT_FALSE(LibraryInProcess(Input.File));
  }
  EXPECT_EQ(GetClass("TBadWidget"), nullptr);
  EXPECT_EQ(FindPalettePage("Bad"), nullptr);
}

TEST(PackageLoader, HostPackages_AreThereAndStay) {
  for (const char* Name : {"PlumbRtl", "plumbdb"}) {
    const TPackage* P = FindPackage(Name);
    ASSERT_NE(P, nullptr) << Name;
    EXPECT_TRUE(P->IsHostPackage());
    EXPECT_THROW(UnloadPackage(P), EPackageError);
  }
  EXPECT_THROW(UnloadPackage(nullptr), EPackageError);
}

TEST(PackageLoader, Language_SetOrTakenFromTheEnvironment) {
  struct TCase {
    const char* LcAll;
    const char* LcMessages;
    const char* Lang;
    const char* Expected;
  };
  const TCase Cases[] = {
      {"", "", "de_DE.UTF-8", "DE"}, {"", "pt_BR", "de_DE", "PT"}, {"fr", "pt_BR", "de", "FR"},
      {"", "", "C.UTF-8", ""},       {"", "", "POSIX", ""},        {"", "", "", ""},
  };
  SetPackageLanguage("");
  for (const TCase& C : Cases) {
    setenv("LC_ALL", C.LcAll, 1);
    setenv("LC_MESSAGES", C.LcMessages, 1);
    setenv("LANG", C.Lang, 1);
    EXPECT_EQ(GetPackageLanguage(), C.Expected) << C.LcAll << "|" << C.LcMessages << "|" << C.Lang;
  }
  SetPackageLanguage("nl");
  EXPECT_EQ(GetPackageLanguage(), "NL");
  SetPackageLanguage("");
}

}  // namespace
}  // namespace plumb::test
