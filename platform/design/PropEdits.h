#pragma once
// Property editors: how the object inspector shows, lists and changes one published property
// of the selection.
//
// An editor is made for one property name across the selected objects (each with its own
// TPropInfo). Registering an editor ties it to a property type, optionally narrowed to a
// component class (descendants included) and a property name; the inspector takes the most
// specific registration that matches, else the default editor of the property's kind:
//
//   RegisterPropertyEditor(TypeInfoOf(pkString), TColumn::StaticClass(), "FieldName",
//                          PropertyEditorClass<TMyFieldNameProperty>());
//
// Inspector flow: GetComponentProperties(Selection, ...) hands out one initialised editor per
// property the selection shares; the inspector shows GetName and GetValue, reads GetAttributes
// to decide on a drop-down (GetValues), nested rows (GetProperties) or a button (Edit), and
// writes with SetValue.
//
// Implementation files: PropEdits.cpp (the base and the value editors), PropEditObjects.cpp
// (sets, owned objects, collections, references, events), PropEditRegistry.cpp (registration,
// lookup and the inspector's enumeration).
#include <memory>
#include <string>
#include <vector>

#include "core/TypeInfo.h"
#include "design/DesignIntf.h"

namespace plumb {

class TPropertyEditor;
using TGetPropProc = std::function<void(std::unique_ptr<TPropertyEditor> Editor)>;

// An editor class: its class record and how to make one (see PropertyEditorClass below).
struct TPropertyEditorClass {
  TClass Class = nullptr;
  TPropertyEditor* (*Create)() = nullptr;
};

// One selected object and its description of the edited property.
struct TInstProp {
  TPersistent* Instance = nullptr;
  const TPropInfo* PropInfo = nullptr;
};

class TPropertyEditor : public TObject {
  PLUMB_CLASS(TPropertyEditor, TObject)
  // The operations an inspector calls; every editor keeps them in this order.
  virtual void Activate() {}
  // True when every selected object holds the first one's value.
  virtual bool AllEqual();
  // Without a dialog: steps a value list to the value after the current one.
  virtual void Edit();
  virtual TPropertyAttributes GetAttributes();
  virtual Integer GetEditLimit() { return 255; }
  virtual std::string GetName();
  virtual void GetProperties(const TGetPropProc& Proc) { (void)Proc; }
  // The first selected object's value as text.
  virtual std::string GetValue() { return "(unknown)"; }
  virtual void GetValues(const TGetStrProc& Proc) { (void)Proc; }
  virtual void Initialize() {}
  // Sets the value of every selected object; raises EPropertyError for text that is no value.
  virtual void SetValue(const std::string& Value);

  TFormDesigner* GetDesigner() const { return FDesigner; }
  int GetPropCount() const { return int(FPropList.size()); }
  // The selected object at Index; index 0 is the first selected.
  TPersistent* GetComponent(int Index) const;
  const TPropInfo* GetPropInfo() const {
    return FPropList.empty() ? nullptr : FPropList[0].PropInfo;
  }

 protected:
  TPropertyEditor() = default;
  Int64 GetOrdValueAt(int Index) const;
  Int64 GetOrdValue() const { return GetOrdValueAt(0); }
  void SetOrdValue(Int64 Value);
  std::string GetStrValueAt(int Index) const;
  std::string GetStrValue() const { return GetStrValueAt(0); }
  void SetStrValue(const std::string& Value);
  TObject* GetObjValueAt(int Index) const;
  TObject* GetObjValue() const { return GetObjValueAt(0); }
  void SetObjValue(TObject* Value);
  // The attributes plus paReadOnly when the property has no setter.
  TPropertyAttributes WithReadOnly(TPropertyAttributes Attributes) const;
  const TInstProp& Entry(int Index) const;
  // Tells the designer, when there is one, that the form changed.
  void Modified();

 private:
  friend std::unique_ptr<TPropertyEditor> CreatePropertyEditor(TPropertyEditorClass,
                                                               std::vector<TInstProp>,
                                                               TFormDesigner*);
  TFormDesigner* FDesigner = nullptr;
  std::vector<TInstProp> FPropList;
};

// ---- The default editors of the property kinds -------------------------------------------------
class TOrdinalProperty : public TPropertyEditor {
  PLUMB_CLASS(TOrdinalProperty, TPropertyEditor)
  bool AllEqual() override;
  Integer GetEditLimit() override { return 63; }
};

class TIntegerProperty : public TOrdinalProperty {
  PLUMB_CLASS(TIntegerProperty, TOrdinalProperty)
  TPropertyAttributes GetAttributes() override;
  std::string GetValue() override;
  // A whole number within the property's range.
  void SetValue(const std::string& Value) override;
};

// Colours by name ("clBtnFace"), else as $00BBGGRR; the names are offered as a list.
class TColorProperty : public TIntegerProperty {
  PLUMB_CLASS(TColorProperty, TIntegerProperty)
  TPropertyAttributes GetAttributes() override;
  std::string GetValue() override;
  void GetValues(const TGetStrProc& Proc) override;
  void SetValue(const std::string& Value) override;
};

// Enumerations and booleans, by value name.
class TEnumProperty : public TOrdinalProperty {
  PLUMB_CLASS(TEnumProperty, TOrdinalProperty)
  TPropertyAttributes GetAttributes() override;
  std::string GetValue() override;
  void GetValues(const TGetStrProc& Proc) override;
  void SetValue(const std::string& Value) override;

 protected:
  const TEnumInfo& Names() const;
};

// Shown as "[a,b]"; each element is a nested True/False row.
class TSetProperty : public TOrdinalProperty {
  PLUMB_CLASS(TSetProperty, TOrdinalProperty)
  TPropertyAttributes GetAttributes() override;
  void GetProperties(const TGetPropProc& Proc) override;
  std::string GetValue() override;
};

class TStringProperty : public TPropertyEditor {
  PLUMB_CLASS(TStringProperty, TPropertyEditor)
  bool AllEqual() override;
  TPropertyAttributes GetAttributes() override;
  Integer GetEditLimit() override { return 255; }
  std::string GetValue() override;
  void SetValue(const std::string& Value) override;
};

// An owned object (a font, a string list): its own properties are the nested rows.
class TClassProperty : public TPropertyEditor {
  PLUMB_CLASS(TClassProperty, TPropertyEditor)
  TPropertyAttributes GetAttributes() override;
  void GetProperties(const TGetPropProc& Proc) override;
  std::string GetValue() override;
};

// A collection: one nested row per item, whose own rows are the item's properties.
class TCollectionProperty : public TClassProperty {
  PLUMB_CLASS(TCollectionProperty, TClassProperty)
  void GetProperties(const TGetPropProc& Proc) override;
};

// A reference to another component of the form, by name.
class TComponentProperty : public TPropertyEditor {
  PLUMB_CLASS(TComponentProperty, TPropertyEditor)
  TPropertyAttributes GetAttributes() override;
  Integer GetEditLimit() override { return 127; }
  std::string GetValue() override;
  // The named components of the root (and the root) that the property accepts.
  void GetValues(const TGetStrProc& Proc) override;
  void SetValue(const std::string& Value) override;
};

// An event, by handler name: a method of the root's class with the event's signature.
class TMethodProperty : public TPropertyEditor {
  PLUMB_CLASS(TMethodProperty, TPropertyEditor)
  bool AllEqual() override;
  TPropertyAttributes GetAttributes() override;
  std::string GetValue() override;
  void SetValue(const std::string& Value) override;
};

// ---- Registration
// --------------------------------------------------------------------------------
template <class T>
TPropertyEditorClass PropertyEditorClass() {
  static_assert(std::is_base_of_v<TPropertyEditor, T>);
  return {T::StaticClass(), []() -> TPropertyEditor* { return new T; }};
}

// What an editor is registered for: a property kind, narrowed when given to one enumeration
// (by type name) or to one class of object and its descendants.
struct TPropertyType {
  TPropKind Kind = pkInteger;
  const TEnumInfo* EnumType = nullptr;
  TClass ObjClass = nullptr;
};
inline TPropertyType TypeInfoOf(TPropKind Kind, const TEnumInfo* EnumType = nullptr) {
  return {Kind, EnumType, nullptr};
}
// Any object property (owned or referenced) of ObjClass or a descendant.
inline TPropertyType TypeInfoOf(TClass ObjClass) {
  return {pkPersistent, nullptr, ObjClass};
}

// ComponentClass nullptr: any class; PropertyName empty: any name.
void RegisterPropertyEditor(const TPropertyType& PropertyType, TClass ComponentClass,
                            const std::string& PropertyName, TPropertyEditorClass EditorClass);

struct TPropertyEditorRegistration {
  TPropertyType PropertyType;
  TClass ComponentClass = nullptr;
  std::string PropertyName;
  TPropertyEditorClass EditorClass;
  const TPackage* Owner = nullptr;
};
const std::vector<TPropertyEditorRegistration>& GetPropertyEditorRegistrations();
// Removes what Owner registered (a package being unloaded).
void UnregisterPropertyEditors(const TPackage* Owner);

// The editor for Prop of ComponentClass. Among the matching registrations the nearest
// component class wins, then one that names the property, then the narrower type, then the
// later registration; without one, the default editor of the property's kind.
TPropertyEditorClass GetEditorClass(const TPropInfo* Prop, TClass ComponentClass);
TPropertyEditorClass DefaultEditorClass(TPropKind Kind);

// Makes an editor over Entries and initialises it.
std::unique_ptr<TPropertyEditor> CreatePropertyEditor(TPropertyEditorClass EditorClass,
                                                      std::vector<TInstProp> Entries,
                                                      TFormDesigner* Designer);

// One initialised editor per published property of the first selected object that every
// other selected object has too, with the same kind and editor class; with several objects
// selected, only editors that allow it (paMultiSelect). Declaration order, ancestors first.
void GetComponentProperties(const TDesignerSelections& Selection, TFormDesigner* Designer,
                            const TGetPropProc& Proc);

}  // namespace plumb
