#include "Object.h"

#include "Exceptions.h"

namespace plumb {

bool TClassInfo::InheritsFrom(const TClassInfo* Ancestor) const {
  for (const TClassInfo* C = this; C; C = C->Parent)
    if (C == Ancestor) return true;
  return false;
}

TClass TObject::StaticClass() {
  static const TClassInfo Info{"TObject", nullptr};
  return &Info;
}

void TPersistent::Assign(const TPersistent* Source) {
  if (Source) {
    Source->AssignTo(this);
    return;
  }
  AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) const { Dest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* Source) const {
  std::string SourceName = Source ? Source->ClassName() : std::string("nil");
  throw EConvertError("Cannot assign a " + SourceName + " to a " + ClassName());
}

std::string TPersistent::GetNamePath() const { return ClassName(); }

}  // namespace plumb
