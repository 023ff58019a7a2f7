#include "TypeInfo.h"

#include <map>
#include <memory>

#include "Exceptions.h"

namespace plumb {

namespace {

struct TRegistry {
  // Records stay where they are once made: property lists hand out pointers into them.
  std::map<TClass, std::unique_ptr<typeinfo_detail::TClassRecord>> Records;
  TColorToIdentFunc ColorToIdent = nullptr;
  TIdentToColorFunc IdentToColor = nullptr;
};

TRegistry& Registry() {
  static TRegistry R;
  return R;
}

const typeinfo_detail::TClassRecord* RecordOf(TClass Class) {
  auto& Records = Registry().Records;
  auto It = Records.find(Class);
  return It == Records.end() ? nullptr : It->second.get();
}

}  // namespace

const char* TEnumInfo::NameOf(Int64 Ordinal) const {
  return Ordinal >= 0 && Ordinal < Count() ? Names[size_t(Ordinal)] : nullptr;
}

int TEnumInfo::ValueOf(const std::string& Ident) const {
  for (int I = 0; I < Count(); ++I)
    if (SameText(Names[size_t(I)], Ident)) return I;
  return -1;
}

typeinfo_detail::TClassRecord* typeinfo_detail::AddClass(TClass Class, TComponentFactory Create,
                                                         const void* Module) {
  auto& Slot = Registry().Records[Class];
  if (Slot) return nullptr;
  Slot = std::make_unique<TClassRecord>();
  Slot->Class = Class;
  Slot->Create = Create;
  Slot->Module = Module;
  return Slot.get();
}

TClass GetClass(const std::string& ClassName) {
  for (const auto& [Class, Record] : Registry().Records)
    if (SameText(Class->Name, ClassName)) return Class;
  return nullptr;
}

TClass FindClass(const std::string& ClassName) {
  TClass C = GetClass(ClassName);
  if (!C) throw EClassNotFound("Class " + ClassName + " not found");
  return C;
}

bool IsClassRegistered(TClass Class) {
  return RecordOf(Class) != nullptr;
}

std::vector<TClass> GetRegisteredClasses() {
  std::vector<TClass> Classes;
  for (const auto& [Class, Record] : Registry().Records) Classes.push_back(Class);
  return Classes;
}

const void* GetClassModule(TClass Class) {
  const auto* R = RecordOf(Class);
  return R ? R->Module : nullptr;
}

void UnregisterClass(TClass Class) {
  Registry().Records.erase(Class);
}

TComponent* CreateComponent(TClass Class, TComponent* AOwner) {
  const auto* R = RecordOf(Class);
  if (!R || !R->Create)
    throw EClassNotFound(std::string("Class ") + (Class ? Class->Name : "nil") +
                         " cannot be created from a stream");
  return R->Create(AOwner);
}

std::vector<const TPropInfo*> GetPropList(TClass Class) {
  std::vector<TClass> Chain;
  for (TClass C = Class; C; C = C->Parent) Chain.insert(Chain.begin(), C);
  std::vector<const TPropInfo*> List;
  for (TClass C : Chain) {
    const auto* R = RecordOf(C);
    if (!R) continue;
    for (const TPropInfo& P : R->Props) {
      bool Replaced = false;
      for (const TPropInfo*& Known : List)
        if (SameText(Known->Name, P.Name)) {
          Known = &P;
          Replaced = true;
        }
      if (!Replaced) List.push_back(&P);
    }
  }
  return List;
}

const TPropInfo* GetPropInfo(TClass Class, const std::string& Name) {
  // The most derived declaration wins, as in GetPropList.
  for (TClass C = Class; C; C = C->Parent) {
    const auto* R = RecordOf(C);
    if (!R) continue;
    for (const TPropInfo& P : R->Props)
      if (SameText(P.Name, Name)) return &P;
  }
  return nullptr;
}

const TMethodInfo* FindMethod(TClass Class, const std::string& Name) {
  for (TClass C = Class; C; C = C->Parent) {
    const auto* R = RecordOf(C);
    if (!R) continue;
    for (const TMethodInfo& M : R->Methods)
      if (SameText(M.Name, Name)) return &M;
  }
  return nullptr;
}

void RegisterColorIdents(TColorToIdentFunc ToIdent, TIdentToColorFunc FromIdent) {
  Registry().ColorToIdent = ToIdent;
  Registry().IdentToColor = FromIdent;
}

bool ColorPropToIdent(int32_t Color, std::string& Ident) {
  auto F = Registry().ColorToIdent;
  return F && F(Color, Ident);
}

bool ColorPropFromIdent(const std::string& Ident, int32_t& Color) {
  auto F = Registry().IdentToColor;
  return F && F(Ident, Color);
}

}  // namespace plumb
