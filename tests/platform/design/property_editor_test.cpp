// Property editors as the object inspector uses them: which editor a property gets, what each
// default editor shows and accepts, nested rows, and selections of several objects.
#include <map>

#include "DesignTestSupport.h"
#include "stream_fixtures.h"

namespace plumb::test {
namespace {

using namespace fixture;

// Editor classes that differ only by name, for the lookup rule.
class TEditorA : public TStringProperty {
  PLUMB_CLASS(TEditorA, TStringProperty)
};
class TEditorB : public TStringProperty {
  PLUMB_CLASS(TEditorB, TStringProperty)
};
class TEditorC : public TStringProperty {
  PLUMB_CLASS(TEditorC, TStringProperty)
};
class TShadeEditor : public TEnumProperty {
  PLUMB_CLASS(TShadeEditor, TEnumProperty)
};
class TStringsEditor : public TClassProperty {
  PLUMB_CLASS(TStringsEditor, TClassProperty)
};
// A value list that cannot edit several objects at once.
class TPickOne : public TStringProperty {
  PLUMB_CLASS(TPickOne, TStringProperty)
  TPropertyAttributes GetAttributes() override { return {paValueList}; }
};

class PropertyEditorTest : public ::testing::Test {
 protected:
  TSampleForm* Form = nullptr;
  TSample* First = nullptr;
  TSample* Second = nullptr;
  std::unique_ptr<TCountingDesigner> Designer;

  void SetUp() override {
    RegisterFixtureClasses();
    Form = new TSampleForm(nullptr);
    Form->SetName("Form1");
    First = new TSample(Form);
    First->SetName("First");
    Second = new TSample(Form);
    Second->SetName("Second");
    Designer = std::make_unique<TCountingDesigner>(Form);
  }
  void TearDown() override {
    UnregisterPropertyEditors(nullptr);
    delete Form;
  }

  std::map<std::string, std::unique_ptr<TPropertyEditor>> Editors(TDesignerSelections Selection) {
    std::map<std::string, std::unique_ptr<TPropertyEditor>> M;
    GetComponentProperties(Selection, Designer.get(), [&](std::unique_ptr<TPropertyEditor> E) {
      M[E->GetName()] = std::move(E);
    });
    return M;
  }
  std::string EditorOf(TClass Class, const char* Prop) {
    return GetEditorClass(GetPropInfo(Class, Prop), Class).Class->Name;
  }
};

std::vector<std::string> ValuesOf(TPropertyEditor& E) {
  std::vector<std::string> V;
  E.GetValues([&](const std::string& S) { V.push_back(S); });
  return V;
}

std::map<std::string, std::string> Rows(TPropertyEditor& E) {
  std::map<std::string, std::string> R;
  E.GetProperties(
      [&](std::unique_ptr<TPropertyEditor> Sub) { R[Sub->GetName()] = Sub->GetValue(); });
  return R;
}

TEST_F(PropertyEditorTest, DefaultEditors_ShowAndSetEveryKind) {
  struct TCase {
    const char* Prop;
    const char* Editor;
    const char* Shown;
    const char* Typed;  // nullptr: not set as text
    const char* ShownAfter;
  };
  const TCase Cases[] = {
      {"Count", "TIntegerProperty", "0", " 42 ", "42"},
      {"Limit", "TIntegerProperty", "7", "$10", "16"},
      {"Active", "TEnumProperty", "True", "false", "False"},
      {"Shade", "TEnumProperty", "shMedium", "SHDARK", "shDark"},
      {"Flags", "TSetProperty", "[flBold]", nullptr, nullptr},
      {"Caption", "TStringProperty", "", "Hello", "Hello"},
      {"Color", "TColorProperty", "clSilver", "$00123456", "$00123456"},
      {"Buddy", "TComponentProperty", "", "Second", "Second"},
      {"Lines", "TClassProperty", "(TStringList)", nullptr, nullptr},
      {"Steps", "TCollectionProperty", "(TSteps)", nullptr, nullptr},
      {"OnChange", "TMethodProperty", "", "DoChange", "DoChange"},
  };
  auto E = Editors({First});
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Prop);
    ASSERT_TRUE(E.count(C.Prop));
    TPropertyEditor& Ed = *E[C.Prop];
    EXPECT_EQ(Ed.ClassName(), C.Editor);
    EXPECT_EQ(Ed.GetValue(), C.Shown);
    if (!C.Typed) continue;
    int Before = Designer->ModifiedCount;
    Ed.SetValue(C.Typed);
    EXPECT_EQ(Ed.GetValue(), C.ShownAfter);
    EXPECT_EQ(Designer->ModifiedCount, Before + 1);
  }
  EXPECT_EQ(First->GetBuddy(), Second);
  First->OnChange(First);
  EXPECT_EQ(Form->ChangeCalls, 1);
  E["Color"]->SetValue("clRed");
  EXPECT_EQ(First->GetColor(), 0x0000FF);
}

TEST_F(PropertyEditorTest, TextThatIsNoValue_RaisesAndChangesNothing) {
  const std::pair<const char*, const char*> Cases[] =
      {
          {"Count", "4x"},         {"Count", ""},           {"Count", "99999999999"},
          {"Limit", "-1"},         {"Active", "maybe"},     {"Shade", "shBright"},
          {"Color", "clNoSuch"},   {"Buddy", "Nobody"},     {"Buddy", "Steps"},
          {"OnChange", "Nothing"}, {"OnChange", "DoCount"},  // a method of another type
          {"Area", "3"},                                     // read-only
      };
  auto E = Editors({First});
  for (auto [Prop, Text] : Cases) {
    SCOPED_TRACE(std::string(Prop) + " = '" + Text + "'");
    std::string Shown = E[Prop]->GetValue();
    EXPECT_THROW(E[Prop]->SetValue(Text), EPropertyError);
    EXPECT_EQ(E[Prop]->GetValue(), Shown);
  }
  EXPECT_EQ(Designer->ModifiedCount, 0);
  EXPECT_TRUE(E["Area"]->GetAttributes().Contains(paReadOnly));
  EXPECT_FALSE(E["Count"]->GetAttributes().Contains(paReadOnly));
}

TEST_F(PropertyEditorTest, ValueLists_OfferWhatSetValueTakes) {
  auto E = Editors({First});
  EXPECT_EQ(ValuesOf(*E["Shade"]), (std::vector<std::string>{"shLight", "shMedium", "shDark"}));
  EXPECT_EQ(ValuesOf(*E["Active"]), (std::vector<std::string>{"False", "True"}));
  EXPECT_EQ(ValuesOf(*E["Buddy"]), (std::vector<std::string>{"Form1", "First", "Second"}));
  std::vector<std::string> Colours = ValuesOf(*E["Color"]);
  EXPECT_NE(std::find(Colours.begin(), Colours.end(), "clBtnFace"), Colours.end());
  for (const char* Prop : {"Shade", "Active", "Buddy", "Color"})
    EXPECT_TRUE(E[Prop]->GetAttributes().Contains(paValueList)) << Prop;
  // Edit without a dialog steps through the list, wrapping at its end.
  E["Shade"]->Edit();
  EXPECT_EQ(First->GetShade(), shDark);
  E["Shade"]->Edit();
  EXPECT_EQ(First->GetShade(), shLight);
}

TEST_F(PropertyEditorTest, NestedRows_OfSetsObjectsAndCollections) {
  First->GetSteps()->Add()->SetCaption("Intro");
  First->GetSteps()->Add()->SetCaption("Outro");
  auto E = Editors({First});
  EXPECT_EQ(Rows(*E["Flags"]),
            (std::map<std::string, std::string>{
                {"flBold", "True"}, {"flWide", "False"}, {"flTall", "False"}, {"flDim", "False"}}));
  E["Flags"]->GetProperties([](std::unique_ptr<TPropertyEditor> Sub) {
    if (Sub->GetName() == "flTall") Sub->SetValue("True");
  });
  EXPECT_EQ(E["Flags"]->GetValue(), "[flBold,flTall]");
  EXPECT_EQ(Rows(*E["Pen"]),
            (std::map<std::string, std::string>{{"Width", "1"}, {"Color", "clBlack"}}));

  std::vector<std::string> Items;
  E["Steps"]->GetProperties([&](std::unique_ptr<TPropertyEditor> Item) {
    Items.push_back(Item->GetName() + " " + Item->GetValue());
    EXPECT_TRUE(Item->GetAttributes().Contains(paSubProperties));
    Item->GetProperties([](std::unique_ptr<TPropertyEditor> P) {
      if (P->GetName() == "Caption") P->SetValue(P->GetValue() + "!");
    });
  });
  EXPECT_EQ(Items, (std::vector<std::string>{"0 - TStep (TStep)", "1 - TStep (TStep)"}));
  EXPECT_EQ(First->GetSteps()->GetItem(1)->GetCaption(), "Outro!");
  EXPECT_EQ(Designer->ModifiedCount, 3);
}

TEST_F(PropertyEditorTest, SeveralSelected_SharedPropertiesOnly_AllEqualAndSetOnEach) {
  RegisterPropertyEditor(TypeInfoOf(pkString), TSample::StaticClass(), "Hint",
                         PropertyEditorClass<TPickOne>());
  First->SetCount(3);
  Second->SetCount(3);
  First->SetCaption("a");
  auto E = Editors({First, Second});
  EXPECT_TRUE(E.count("Count") && E.count("Caption"));
  EXPECT_FALSE(E.count("Hint"));  // its editor does not allow several
  EXPECT_TRUE(E["Count"]->AllEqual());
  EXPECT_FALSE(E["Caption"]->AllEqual());
  EXPECT_EQ(E["Caption"]->GetValue(), "a");  // the first one's
  E["Caption"]->SetValue("b");
  EXPECT_EQ(First->GetCaption() + Second->GetCaption(), "bb");
  EXPECT_TRUE(E["Caption"]->AllEqual());
  EXPECT_TRUE(Editors({First}).count("Hint"));

  // A column-like item and a component share only what both publish.
  TStep* Step = First->GetSteps()->Add();
  auto Mixed = Editors({Step, First});
  std::vector<std::string> Names;
  for (auto& [Name, Ed] : Mixed) Names.push_back(Name);
  EXPECT_EQ(Names, (std::vector<std::string>{"Caption", "Shade"}));
}

TEST_F(PropertyEditorTest, Lookup_NearestClassThenNameThenNarrowerTypeThenLaterWins) {
  TClass Sample = TSample::StaticClass(), FormClass = TSampleForm::StaticClass();
  EXPECT_EQ(EditorOf(Sample, "Caption"), "TStringProperty");
  RegisterPropertyEditor(TypeInfoOf(pkString), nullptr, "", PropertyEditorClass<TEditorA>());
  EXPECT_EQ(EditorOf(Sample, "Caption"), "TEditorA");
  RegisterPropertyEditor(TypeInfoOf(pkString), TComponent::StaticClass(), "Caption",
                         PropertyEditorClass<TEditorB>());
  RegisterPropertyEditor(TypeInfoOf(pkString), Sample, "", PropertyEditorClass<TEditorC>());
  RegisterPropertyEditor(TypeInfoOf(pkString), FormClass, "Hint", PropertyEditorClass<TEditorA>());
  struct TCase {
    TClass Class;
    const char* Prop;
    const char* Editor;
  };
  const TCase Cases[] = {
      {Sample, "Caption", "TEditorC"},                // TSample is nearer than TComponent
      {FormClass, "Caption", "TEditorC"},             // and for its descendants
      {TStep::StaticClass(), "Caption", "TEditorA"},  // only the one for any class matches
      {FormClass, "Hint", "TEditorA"},        // the nearest class, and it names the property
      {Sample, "Hint", "TEditorC"},           // a TSample is no TSampleForm
      {Sample, "Count", "TIntegerProperty"},  // no registration for its kind
  };
  for (const TCase& C : Cases) EXPECT_EQ(EditorOf(C.Class, C.Prop), C.Editor) << C.Prop;

  RegisterPropertyEditor(TypeInfoOf(pkString), Sample, "", PropertyEditorClass<TEditorB>());
  EXPECT_EQ(EditorOf(Sample, "Caption"), "TEditorB");  // the later of two equal ones

  RegisterPropertyEditor(TypeInfoOf(pkEnumeration, &ShadeInfo), nullptr, "",
                         PropertyEditorClass<TShadeEditor>());
  RegisterPropertyEditor(TypeInfoOf(pkEnumeration), nullptr, "",
                         PropertyEditorClass<TEnumProperty>());
  EXPECT_EQ(EditorOf(Sample, "Shade"), "TShadeEditor");  // the narrower type
  EXPECT_EQ(EditorOf(Sample, "Active"), "TEnumProperty");

  RegisterPropertyEditor(TypeInfoOf(TStrings::StaticClass()), nullptr, "",
                         PropertyEditorClass<TStringsEditor>());
  RegisterPropertyEditor(TypeInfoOf(TPersistent::StaticClass()), nullptr, "",
                         PropertyEditorClass<TClassProperty>());
  EXPECT_EQ(EditorOf(Sample, "Lines"), "TStringsEditor");
  EXPECT_EQ(EditorOf(Sample, "Pen"), "TClassProperty");
}

}  // namespace
}  // namespace plumb::test
