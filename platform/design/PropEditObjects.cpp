// The editors of structured values: sets (one nested row per element), owned objects and
// collections (their properties, or their items, as nested rows), references to components
// and events.
#include <algorithm>

#include "core/Collection.h"
#include "design/PropEdits.h"

namespace plumb {

namespace {

// One element of a set, shown as True or False.
class TSetElementProperty : public TPropertyEditor {
  PLUMB_CLASS(TSetElementProperty, TPropertyEditor)
  int FElement = 0;

  bool AllEqual() override {
    for (int I = 1; I < GetPropCount(); ++I)
      if (Has(I) != Has(0)) return false;
    return true;
  }
  TPropertyAttributes GetAttributes() override {
    return WithReadOnly({paMultiSelect, paValueList, paSortList});
  }
  std::string GetName() override { return GetPropInfo()->EnumType->NameOf(FElement); }
  std::string GetValue() override { return Has(0) ? "True" : "False"; }
  void GetValues(const TGetStrProc& Proc) override {
    Proc("False");
    Proc("True");
  }
  void SetValue(const std::string& Value) override {
    bool On = SameText(Value, "True");
    if (!On && !SameText(Value, "False"))
      throw EPropertyError("Invalid property value: '" + Value + "'");
    for (int I = 0; I < GetPropCount(); ++I) {
      const TInstProp& E = Entry(I);
      Int64 Bits = E.PropInfo->GetOrd(E.Instance);
      Bits = On ? Bits | (Int64(1) << FElement) : Bits & ~(Int64(1) << FElement);
      if (!E.PropInfo->SetOrd)
        throw EPropertyError("Property " + E.PropInfo->Name + " is read-only");
      E.PropInfo->SetOrd(E.Instance, Bits);
    }
    Modified();
  }

 private:
  bool Has(int Index) { return (GetOrdValueAt(Index) >> FElement) & 1; }
};

// One item of a collection: its properties are the nested rows.
class TCollectionItemProperty : public TPropertyEditor {
  PLUMB_CLASS(TCollectionItemProperty, TPropertyEditor)
  TPropertyAttributes GetAttributes() override { return {paSubProperties, paReadOnly}; }
  std::string GetName() override {
    auto* Item = static_cast<TCollectionItem*>(GetComponent(0));
    return IntToStr(Item->GetIndex()) + " - " + Item->GetDisplayName();
  }
  std::string GetValue() override { return "(" + GetComponent(0)->ClassName() + ")"; }
  void GetProperties(const TGetPropProc& Proc) override {
    GetComponentProperties({GetComponent(0)}, GetDesigner(), Proc);
  }
};

}  // namespace

// ---- Sets ------------------------------------------------------------------------------------

TPropertyAttributes TSetProperty::GetAttributes() {
  return {paMultiSelect, paSubProperties, paReadOnly, paRevertable};
}

void TSetProperty::GetProperties(const TGetPropProc& Proc) {
  const TPropInfo* P = GetPropInfo();
  int Bits = 0;
  for (Int64 Max = P->MaxValue; Max > 0 && Bits < 63; Max >>= 1) ++Bits;
  int Count = std::min(P->EnumType->Count(), Bits);
  for (int Element = 0; Element < Count; ++Element) {
    std::vector<TInstProp> Entries;
    for (int I = 0; I < GetPropCount(); ++I) Entries.push_back(Entry(I));
    auto Editor = CreatePropertyEditor(PropertyEditorClass<TSetElementProperty>(),
                                       std::move(Entries), GetDesigner());
    static_cast<TSetElementProperty*>(Editor.get())->FElement = Element;
    Proc(std::move(Editor));
  }
}

std::string TSetProperty::GetValue() {
  const TEnumInfo* Names = GetPropInfo()->EnumType;
  Int64 Bits = GetOrdValue();
  std::string Text;
  for (int Element = 0; Element < Names->Count() && Element < 63; ++Element)
    if ((Bits >> Element) & 1)
      Text += (Text.empty() ? "" : ",") + std::string(Names->NameOf(Element));
  return "[" + Text + "]";
}

// ---- Owned objects ---------------------------------------------------------------------------

TPropertyAttributes TClassProperty::GetAttributes() {
  return {paMultiSelect, paSubProperties, paReadOnly};
}

void TClassProperty::GetProperties(const TGetPropProc& Proc) {
  TDesignerSelections Objects;
  for (int I = 0; I < GetPropCount(); ++I)
    if (auto* Object = dynamic_cast<TPersistent*>(GetObjValueAt(I))) Objects.push_back(Object);
  if (Objects.size() == size_t(GetPropCount()))
    GetComponentProperties(Objects, GetDesigner(), Proc);
}

std::string TClassProperty::GetValue() {
  TObject* Object = GetObjValue();
  return "(" + (Object ? Object->ClassName() : std::string(GetPropInfo()->ObjClass->Name)) + ")";
}

void TCollectionProperty::GetProperties(const TGetPropProc& Proc) {
  // Items of several collections do not line up: only one selected object shows them.
  auto* Collection = dynamic_cast<TCollection*>(GetObjValue());
  if (GetPropCount() != 1 || !Collection) return;
  for (int I = 0; I < Collection->Count(); ++I)
    Proc(CreatePropertyEditor(PropertyEditorClass<TCollectionItemProperty>(),
                              {{Collection->GetItem(I), nullptr}}, GetDesigner()));
}

// ---- References ------------------------------------------------------------------------------

TPropertyAttributes TComponentProperty::GetAttributes() {
  return WithReadOnly({paMultiSelect, paValueList, paSortList, paRevertable});
}

std::string TComponentProperty::GetValue() {
  auto* Component = dynamic_cast<TComponent*>(GetObjValue());
  return Component ? Component->GetName() : std::string();
}

void TComponentProperty::GetValues(const TGetStrProc& Proc) {
  TComponent* Root = GetDesigner() ? GetDesigner()->GetRoot() : nullptr;
  if (!Root) return;
  TClass Wanted = GetPropInfo()->ObjClass;
  if (Root->InheritsFrom(Wanted) && !Root->GetName().empty()) Proc(Root->GetName());
  for (int I = 0; I < Root->GetComponentCount(); ++I) {
    TComponent* C = Root->GetComponents(I);
    if (C->InheritsFrom(Wanted) && !C->GetName().empty()) Proc(C->GetName());
  }
}

void TComponentProperty::SetValue(const std::string& Value) {
  if (Value.empty()) return SetObjValue(nullptr);
  TComponent* Root = GetDesigner() ? GetDesigner()->GetRoot() : nullptr;
  TComponent* Found = nullptr;
  if (Root) Found = SameText(Root->GetName(), Value) ? Root : Root->FindComponent(Value);
  if (!Found || !Found->InheritsFrom(GetPropInfo()->ObjClass))
    throw EPropertyError("Invalid property value: no " +
                         std::string(GetPropInfo()->ObjClass->Name) + " named '" + Value + "'");
  SetObjValue(Found);
}

// ---- Events ----------------------------------------------------------------------------------

bool TMethodProperty::AllEqual() {
  for (int I = 1; I < GetPropCount(); ++I)
    if (GetStrValueAt(I) != GetStrValue()) return false;
  return true;
}

TPropertyAttributes TMethodProperty::GetAttributes() {
  return WithReadOnly({paMultiSelect, paRevertable});
}

std::string TMethodProperty::GetValue() {
  return GetStrValue();
}

void TMethodProperty::SetValue(const std::string& Value) {
  TComponent* Root = GetDesigner() ? GetDesigner()->GetRoot() : nullptr;
  const TMethodInfo* Method = nullptr;
  if (!Value.empty()) {
    Method = Root ? FindMethod(Root->ClassType(), Value) : nullptr;
    if (!Method || *Method->Signature != *GetPropInfo()->EventSignature)
      throw EPropertyError("The form has no method " + Value + " of the type of " + GetName());
  }
  for (int I = 0; I < GetPropCount(); ++I) {
    const TInstProp& E = Entry(I);
    if (!E.PropInfo->SetEvent) throw EPropertyError("Property " + GetName() + " is read-only");
    E.PropInfo->SetEvent(E.Instance, Method ? Method->Bind(Root) : std::any(),
                         Method ? Method->Name : std::string());
  }
  Modified();
}

}  // namespace plumb
