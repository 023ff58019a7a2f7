// Which editor a property gets, and the inspector's enumeration of a selection's properties.
#include <algorithm>
#include <tuple>

#include "design/PropEdits.h"

namespace plumb {

namespace {

std::vector<TPropertyEditorRegistration>& Registrations() {
  static std::vector<TPropertyEditorRegistration> List;
  return List;
}

// How many ancestors a class has: a deeper class is a narrower one.
int Depth(TClass Class) {
  int N = 0;
  for (TClass C = Class; C && C->Parent; C = C->Parent) ++N;
  return N;
}

bool TypeMatches(const TPropertyType& Type, const TPropInfo& Prop) {
  if (Type.ObjClass) return Prop.ObjClass && Prop.ObjClass->InheritsFrom(Type.ObjClass);
  if (Prop.Kind != Type.Kind) return false;
  return !Type.EnumType || (Prop.EnumType && SameText(Prop.EnumType->Name, Type.EnumType->Name));
}

bool Matches(const TPropertyEditorRegistration& R, const TPropInfo& Prop, TClass ComponentClass) {
  if (R.ComponentClass && !(ComponentClass && ComponentClass->InheritsFrom(R.ComponentClass)))
    return false;
  if (!R.PropertyName.empty() && !SameText(R.PropertyName, Prop.Name)) return false;
  return TypeMatches(R.PropertyType, Prop);
}

// Larger is more specific; ties go to the later registration.
std::tuple<int, int, int> Specificity(const TPropertyEditorRegistration& R) {
  const TPropertyType& T = R.PropertyType;
  int TypeRank = T.ObjClass ? 1 + Depth(T.ObjClass) : T.EnumType ? 1 : 0;
  return {R.ComponentClass ? Depth(R.ComponentClass) : -1, R.PropertyName.empty() ? 0 : 1,
          TypeRank};
}

}  // namespace

void RegisterPropertyEditor(const TPropertyType& PropertyType, TClass ComponentClass,
                            const std::string& PropertyName, TPropertyEditorClass EditorClass) {
  if (!EditorClass.Class || !EditorClass.Create)
    throw EPropertyError("RegisterPropertyEditor needs an editor class");
  Registrations().push_back(
      {PropertyType, ComponentClass, PropertyName, EditorClass, GetRegistrationOwner()});
}

const std::vector<TPropertyEditorRegistration>& GetPropertyEditorRegistrations() {
  return Registrations();
}

void UnregisterPropertyEditors(const TPackage* Owner) {
  auto& List = Registrations();
  List.erase(
      std::remove_if(List.begin(), List.end(),
                     [Owner](const TPropertyEditorRegistration& R) { return R.Owner == Owner; }),
      List.end());
}

TPropertyEditorClass DefaultEditorClass(TPropKind Kind) {
  switch (Kind) {
    case pkInteger:
    case pkCardinal:
      return PropertyEditorClass<TIntegerProperty>();
    case pkBoolean:
    case pkEnumeration:
      return PropertyEditorClass<TEnumProperty>();
    case pkSet:
      return PropertyEditorClass<TSetProperty>();
    case pkColor:
      return PropertyEditorClass<TColorProperty>();
    case pkComponent:
      return PropertyEditorClass<TComponentProperty>();
    case pkPersistent:
      return PropertyEditorClass<TClassProperty>();
    case pkCollection:
      return PropertyEditorClass<TCollectionProperty>();
    case pkEvent:
      return PropertyEditorClass<TMethodProperty>();
    case pkString:
      break;
  }
  return PropertyEditorClass<TStringProperty>();
}

TPropertyEditorClass GetEditorClass(const TPropInfo* Prop, TClass ComponentClass) {
  const TPropertyEditorRegistration* Best = nullptr;
  for (const TPropertyEditorRegistration& R : Registrations())
    if (Matches(R, *Prop, ComponentClass) && (!Best || Specificity(R) >= Specificity(*Best)))
      Best = &R;
  return Best ? Best->EditorClass : DefaultEditorClass(Prop->Kind);
}

std::unique_ptr<TPropertyEditor> CreatePropertyEditor(TPropertyEditorClass EditorClass,
                                                      std::vector<TInstProp> Entries,
                                                      TFormDesigner* Designer) {
  std::unique_ptr<TPropertyEditor> Editor(EditorClass.Create());
  Editor->FDesigner = Designer;
  Editor->FPropList = std::move(Entries);
  Editor->Initialize();
  return Editor;
}

void GetComponentProperties(const TDesignerSelections& Selection, TFormDesigner* Designer,
                            const TGetPropProc& Proc) {
  if (Selection.empty()) return;
  TClass First = Selection[0]->ClassType();
  for (const TPropInfo* Prop : GetPropList(First)) {
    TPropertyEditorClass EditorClass = GetEditorClass(Prop, First);
    std::vector<TInstProp> Entries{{Selection[0], Prop}};
    for (size_t I = 1; I < Selection.size() && Entries.size() == I; ++I) {
      TClass Class = Selection[I]->ClassType();
      const TPropInfo* Other = GetPropInfo(Class, Prop->Name);
      if (Other && Other->Kind == Prop->Kind &&
          GetEditorClass(Other, Class).Class == EditorClass.Class)
        Entries.push_back({Selection[I], Other});
    }
    if (Entries.size() != Selection.size()) continue;
    auto Editor = CreatePropertyEditor(EditorClass, std::move(Entries), Designer);
    if (Selection.size() > 1 && !Editor->GetAttributes().Contains(paMultiSelect)) continue;
    Proc(std::move(Editor));
  }
}

}  // namespace plumb
