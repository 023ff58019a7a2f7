// The PlumbGrid package: its units, its registration with the design environment and the
// entry points the package loader calls.
#include "design/FieldNameProperty.h"
#include "design/PackageInfo.h"
#include "design/Palette.h"
#include "recordgrid/uPlumbGrid.h"

namespace plumb {

namespace {

// Streams and the designer create these by class name.
void InitPlumbGridUnit() {
  RegisterClass<TPlumbGrid>();
  RegisterClass<TColumn>();
}

void Register() {
  RegisterComponents("Grids", {TPlumbGrid::StaticClass()});
  RegisterPropertyEditor(TypeInfoOf(pkString), TColumn::StaticClass(), "FieldName",
                         PropertyEditorClass<TPlumbFieldNameProperty>());
}

const char* const Requires[] = {"PlumbRtl", "PlumbDb", nullptr};

const TPackageUnitInfo Units[] = {
    {"uCPlumbGrd", nullptr, nullptr, nullptr},
    {"uPlumbGrid", &InitPlumbGridUnit, nullptr, &Register},
};

const TPackageInfoTable PackageInfo = {PackageInfoVersion, "PlumbGrid", "Plumb Grid",
                                       Requires,           Units,       uint32_t(std::size(Units))};

}  // namespace

}  // namespace plumb

extern "C" {

const TPackageInfoTable* GetPackageInfoTable() {
  return &plumb::PackageInfo;
}
void Initialize() {
  plumb::InitializePackage(&plumb::PackageInfo);
}
void Finalize() {
  plumb::FinalizePackage(&plumb::PackageInfo);
}
}
