// A package that fails to load: BAD_REQUIRED names a package that is not there, or, with
// BAD_REGISTER, its Register raises after it registered a palette page and an editor. Its
// component class registers itself as the library loads, so a loader that forgets to take a
// failed package's registrations back leaves a trace behind.
#include "design/PackageInfo.h"
#include "design/Palette.h"
#include "design/PropEdits.h"

namespace plumb {

class TBadWidget : public TComponent {
  PLUMB_CLASS(TBadWidget, TComponent)
  using TComponent::TComponent;
  static void DescribeProperties(TPropertyList<TBadWidget>& P) {
    P.StringProp("Caption", &TBadWidget::FCaption, &TBadWidget::FCaption);
  }
  std::string FCaption;
};

PLUMB_REGISTER_CLASS(TBadWidget);

namespace {

void Register() {
  RegisterComponents("Bad", {TBadWidget::StaticClass()});
  RegisterPropertyEditor(TypeInfoOf(pkString), TBadWidget::StaticClass(), "Caption",
                         PropertyEditorClass<TStringProperty>());
#ifdef BAD_REGISTER
  throw EComponentError("the widget refuses to register");
#endif
}

#ifndef BAD_REQUIRED
#define BAD_REQUIRED "PlumbDb"
#endif
const char* const Requires[] = {"PlumbRtl", BAD_REQUIRED, nullptr};
const TPackageUnitInfo Units[] = {{"uBadWidget", nullptr, nullptr, &Register}};
const TPackageInfoTable PackageInfo = {PackageInfoVersion, BAD_NAME, "Fails to load",
                                       Requires,           Units,    1};

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
