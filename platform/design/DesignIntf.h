#pragma once
// What the object inspector, the property editors and the form designer share: the attribute
// set an editor answers with, the selection being edited, the designer as the editors see it,
// and who owns a registration (the package being loaded, or the host program).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/Component.h"
#include "core/Exceptions.h"
#include "core/Set.h"

namespace plumb {

class TPackage;

PLUMB_EXCEPTION(EPropertyError, Exception)
PLUMB_EXCEPTION(EPackageError, Exception)

// How the inspector shows and edits a property.
enum TPropertyAttribute {
  paValueList,      // GetValues offers values: a drop-down list
  paSubProperties,  // GetProperties gives nested editors: a row that expands
  paDialog,         // Edit opens a dialog: an ellipsis button
  paMultiSelect,    // still shown when several components are selected
  paAutoUpdate,     // SetValue on every change of the text, not only when it is confirmed
  paSortList,       // the inspector sorts the values of the list
  paReadOnly,       // the value cannot be typed
  paRevertable      // the value can be put back to the inherited one
};
using TPropertyAttributes = TSet<TPropertyAttribute, uint16_t>;

using TGetStrProc = std::function<void(const std::string& S)>;

// The objects being edited: components, or persistent objects such as a grid's columns. The
// first one decides what a selection of several offers.
using TDesignerSelections = std::vector<TPersistent*>;

// The form designer as the property editors see it.
class TFormDesigner {
 public:
  virtual ~TFormDesigner() = default;
  // The component whose owned components a reference may name: the form being designed.
  virtual TComponent* GetRoot() = 0;
  // A property of the selection changed: the form needs saving.
  virtual void Modified() = 0;
};

// Registrations made while a package loads belong to it and go when it is unloaded; those
// made at any other time (owner nullptr) belong to the host.
const TPackage* GetRegistrationOwner();
void SetRegistrationOwner(const TPackage* Owner);

}  // namespace plumb
