#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>

#include "core/Exceptions.h"
#include "stream_fixtures.h"

using namespace plumb;
using namespace plumb::fixture;
using Json = nlohmann::ordered_json;

namespace {

struct TFree {
  void operator()(TComponent* C) const { C->Free(); }
};
template <class T>
using TOwned = std::unique_ptr<T, TFree>;

class StreamTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterFixtureClasses(); }

  static TSample* Child(TComponent* Owner, const char* Name) {
    return dynamic_cast<TSample*>(Owner->FindComponent(Name));
  }

  // A form that uses every kind of property, on itself, an owned child and a grandchild.
  static TOwned<TSampleForm> MakeRichForm() {
    TOwned<TSampleForm> F(new TSampleForm(nullptr));
    F->SetName("Form1");
    auto* C = new TSample(F.get());
    C->SetName("Child1");
    auto* Inner = new TSample(C);
    Inner->SetName("Inner");
    F->SetCount(3);
    F->SetLimit(4000000000u);
    F->SetActive(false);
    F->SetShade(shLight);
    F->SetFlags(TFlags{flWide, flDim});
    F->SetCaption("Orders \xE2\x9C\x93");
    F->SetParentHint(false);
    F->SetHint("tip");
    F->SetColor(clRed);
    F->SetBuddy(Inner);
    F->GetLines()->SetText("one\ntwo\n");
    F->GetPen()->SetWidth(3);
    F->GetPen()->SetColor(0x123456);
    F->SetColCount(3);
    F->SetColWidths(1, 100);
    F->OnChange.Assign([](TObject*) {}, "DoChange");
    F->OnCount.Assign([](TObject*, Integer&) {}, "DoCount");
    TStep* S = F->GetSteps()->Add();
    S->SetCaption("first");
    S->SetLevel(2);
    S->SetShade(shDark);
    S->SetTarget(C);
    S->OnPick.Assign([](TObject*) {}, "DoChange");
    F->GetSteps()->Add()->SetCaption("second");
    C->SetBuddy(F.get());
    C->SetCount(1);
    Inner->SetCaption("deep");
    return F;
  }
};

// Compares every published property of A and B through the type information, recursively.
void ExpectSameProperties(const TPersistent* A, const TPersistent* B, const std::string& Path) {
  ASSERT_EQ(A->ClassType(), B->ClassType()) << Path;
  for (const TPropInfo* P : GetPropList(A->ClassType())) {
    std::string Where = Path + "." + P->Name;
    if (P->IsOrdinal()) {
      EXPECT_EQ(P->GetOrd(A), P->GetOrd(B)) << Where;
    } else if (P->Kind == pkString || P->Kind == pkEvent) {
      EXPECT_EQ(P->GetStr(A), P->GetStr(B)) << Where;
    } else if (P->Kind == pkComponent) {
      auto* CA = dynamic_cast<TComponent*>(P->GetObj(A));
      auto* CB = dynamic_cast<TComponent*>(P->GetObj(B));
      EXPECT_EQ(CA ? CA->GetNamePath() : "", CB ? CB->GetNamePath() : "") << Where;
    } else if (auto* LA = dynamic_cast<TStrings*>(P->GetObj(A))) {
      EXPECT_EQ(LA->ToVector(), static_cast<TStrings*>(P->GetObj(B))->ToVector()) << Where;
    } else if (auto* CA = dynamic_cast<TCollection*>(P->GetObj(A))) {
      auto* CB = static_cast<TCollection*>(P->GetObj(B));
      ASSERT_EQ(CA->Count(), CB->Count()) << Where;
      for (int I = 0; I < CA->Count(); ++I)
        ExpectSameProperties(CA->GetItem(I), CB->GetItem(I), Where + "[" + std::to_string(I) + "]");
    } else {
      ExpectSameProperties(static_cast<TPersistent*>(P->GetObj(A)),
                           static_cast<TPersistent*>(P->GetObj(B)), Where);
    }
  }
}

void ExpectSameTree(const TComponent* A, const TComponent* B) {
  ExpectSameProperties(A, B, A->GetName());
  ASSERT_EQ(A->GetComponentCount(), B->GetComponentCount()) << A->GetName();
  for (int I = 0; I < A->GetComponentCount(); ++I) {
    EXPECT_EQ(A->GetComponents(I)->GetName(), B->GetComponents(I)->GetName());
    ExpectSameTree(A->GetComponents(I), B->GetComponents(I));
  }
}

}  // namespace

// ---- Round trips --------------------------------------------------------------------------

TEST_F(StreamTest, RoundTrip_EveryPropertyKind_ReadsBackPropertyByProperty) {
  auto Form = MakeRichForm();
  std::string Text = SaveComponentToString(Form.get());
  TOwned<TComponent> Back(LoadComponentFromString(Text));
  auto* F = dynamic_cast<TSampleForm*>(Back.get());
  ASSERT_NE(F, nullptr);
  ExpectSameTree(Form.get(), F);

  // Spot checks that do not go through the type information.
  EXPECT_EQ(F->GetLimit(), 4000000000u);
  EXPECT_EQ(F->GetFlags(), (TFlags{flWide, flDim}));
  EXPECT_EQ(F->GetCaption(), "Orders \xE2\x9C\x93");
  EXPECT_EQ(F->GetPen()->GetColor(), 0x123456);
  EXPECT_EQ(F->GetColWidths(0), 64);
  EXPECT_EQ(F->GetColWidths(1), 100);
  EXPECT_EQ(F->GetColWidths(2), 64);
  TSample* C = Child(F, "Child1");
  ASSERT_NE(C, nullptr);
  EXPECT_EQ(F->GetBuddy(), Child(C, "Inner"));
  EXPECT_EQ(C->GetBuddy(), F);
  EXPECT_EQ(F->GetSteps()->GetItem(0)->GetTarget(), C);
  EXPECT_EQ(Text, SaveComponentToString(F));
}

TEST_F(StreamTest, RoundTrip_EventsBindToTheNewRootsHandlers) {
  auto Form = MakeRichForm();
  TOwned<TComponent> Back(LoadComponentFromString(SaveComponentToString(Form.get())));
  auto* F = static_cast<TSampleForm*>(Back.get());
  ASSERT_TRUE(F->OnChange.Assigned());
  EXPECT_EQ(F->OnChange.HandlerName(), "DoChange");
  F->OnChange(Child(F, "Child1"));
  F->GetSteps()->GetItem(0)->OnPick(F);
  EXPECT_EQ(F->ChangeCalls, 2);
  EXPECT_EQ(F->LastSender, F);
  Integer N = 1;
  F->OnCount(F, N);
  EXPECT_EQ(N, 11);
}

TEST_F(StreamTest, RoundTrip_ThroughAFile) {
  auto Form = MakeRichForm();
  std::string Path = testing::TempDir() + "stream_test_form.json";
  SaveComponentToFile(Path, Form.get());
  TOwned<TComponent> Back(LoadComponentFromFile(Path));
  ExpectSameTree(Form.get(), Back.get());
  std::remove(Path.c_str());
  EXPECT_THROW(LoadComponentFromFile(Path), EFOpenError);
  EXPECT_THROW(SaveComponentToFile("/nonexistent-dir/x.json", Form.get()), EFOpenError);
}

// ---- What is written ----------------------------------------------------------------------

TEST_F(StreamTest, Write_DefaultsAndEmptyValuesAreLeftOut) {
  TOwned<TSample> S(new TSample(nullptr));
  S->SetName("S");
  S->SetCount(0);  // equal to the default
  Json J = Json::parse(SaveComponentToString(S.get()));
  EXPECT_EQ(J, Json::parse(R"({"class": "TSample", "name": "S"})"));

  // A descendant's own default counts: shDark is the form's, shMedium is not.
  TOwned<TSampleForm> F(new TSampleForm(nullptr));
  EXPECT_FALSE(Json::parse(SaveComponentToString(F.get())).contains("properties"));
  F->SetShade(shMedium);
  F->SetCount(2);
  Json P = Json::parse(SaveComponentToString(F.get()))["properties"];
  EXPECT_EQ(P, Json::parse(R"({"Count": 2, "Shade": "shMedium"})"));
}

TEST_F(StreamTest, Write_ValuesTakeTheirNamedForms) {
  auto Form = MakeRichForm();
  Json P = Json::parse(SaveComponentToString(Form.get()))["properties"];
  EXPECT_EQ(P["Flags"], Json::parse(R"(["flWide", "flDim"])"));
  EXPECT_EQ(P["Color"], "clRed");
  EXPECT_EQ(P["Pen"], Json::parse(R"({"Width": 3, "Color": 1193046})"));
  EXPECT_EQ(P["Buddy"], "Child1.Inner");
  EXPECT_EQ(P["Lines"], Json::parse(R"(["one", "two"])"));
  EXPECT_EQ(P["Steps"][0], Json::parse(R"({"Caption": "first", "Level": 2, "Shade": "shDark",
                            "Target": "Child1", "OnPick": "DoChange"})"));
  EXPECT_EQ(P["Steps"][1], Json::parse(R"({"Caption": "second"})"));
  EXPECT_FALSE(P.contains("Area"));  // read-only
  // Published properties in declaration order, then the defined ones.
  std::vector<std::string> Keys;
  for (auto& [K, V] : P.items()) Keys.push_back(K);
  EXPECT_EQ(Keys,
            (std::vector<std::string>{"Count", "Limit", "Active", "Shade", "Flags", "Caption",
                                      "ParentHint", "Hint", "Color", "Buddy", "Lines", "Pen",
                                      "Steps", "ColCount", "OnChange", "OnCount", "ColWidths"}));
}

TEST_F(StreamTest, Write_StoredTestDecidesWhetherAPropertyIsWritten) {
  TOwned<TSample> S(new TSample(nullptr));
  S->SetHint("ignored while the parent's hint is used");
  EXPECT_FALSE(Json::parse(SaveComponentToString(S.get())).contains("properties"));
  S->SetParentHint(false);
  Json P = Json::parse(SaveComponentToString(S.get()))["properties"];
  EXPECT_EQ(P["Hint"], "ignored while the parent's hint is used");
}

TEST_F(StreamTest, DefinedProperty_ListOfWidthsWrittenOnlyOnceSetAndReadBackExactly) {
  TOwned<TSample> S(new TSample(nullptr));
  S->SetName("Grid");
  EXPECT_FALSE(Json::parse(SaveComponentToString(S.get())).contains("properties"));
  S->SetColWidths(1, 100);
  Json J = Json::parse(SaveComponentToString(S.get()));
  EXPECT_EQ(J["properties"]["ColWidths"], Json::parse("[64, 100]"));

  TOwned<TSample> T(new TSample(nullptr));
  LoadComponentFromString(J.dump(), T.get());
  EXPECT_TRUE(T->HasWidthList());
  EXPECT_EQ(T->GetColWidths(0), 64);
  EXPECT_EQ(T->GetColWidths(1), 100);

  // The count in force when the list is read decides how many integers are read.
  LoadComponentFromString(
      R"({"class": "TSample", "properties": {"ColCount": 4, "ColWidths": [1, 2, 3, 4]}})", T.get());
  EXPECT_EQ(T->GetColWidths(3), 4);
}

// ---- Reading ------------------------------------------------------------------------------

TEST_F(StreamTest, Read_SettersRunInStreamOrderWhileLoadingThenLoadedOncePerComponent) {
  const char* Text = R"({"class": "TSampleForm", "name": "F",
    "properties": {"Caption": "c", "Count": 2, "Buddy": "Kid"},
    "components": [{"class": "TSample", "name": "Kid",
                    "properties": {"Count": 1, "Buddy": "F"}}]})";
  TOwned<TComponent> Root(LoadComponentFromString(Text));
  auto* F = static_cast<TSampleForm*>(Root.get());
  TSample* Kid = Child(F, "Kid");
  EXPECT_EQ(F->Log, (std::vector<std::string>{"Caption*", "Count*", "Loaded"}));
  EXPECT_EQ(Kid->Log, (std::vector<std::string>{"Count*", "Loaded"}));
  // References are fixed up before anyone hears Loaded.
  EXPECT_EQ(F->BuddyAtLoaded, Kid);
  EXPECT_EQ(Kid->BuddyAtLoaded, F);
  EXPECT_FALSE(F->IsLoading());
  EXPECT_FALSE(Kid->IsLoading());
}

TEST_F(StreamTest, Read_IntoAnExistingFormKeepsItsComponentsAndReplacesItems) {
  auto Form = MakeRichForm();
  TSample* C = Child(Form.get(), "Child1");
  LoadComponentFromString(R"({"class": "TSampleForm", "name": "Form1",
    "properties": {"Steps": [{"Caption": "only"}], "Buddy": null},
    "components": [{"class": "TSample", "name": "Child1", "properties": {"Count": 9}}]})",
                          Form.get());
  EXPECT_EQ(Child(Form.get(), "Child1"), C);
  EXPECT_EQ(C->GetCount(), 9);
  EXPECT_EQ(Form->GetBuddy(), nullptr);
  ASSERT_EQ(Form->GetSteps()->Count(), 1);
  EXPECT_EQ(Form->GetSteps()->GetItem(0)->GetCaption(), "only");
  EXPECT_EQ(Form->LoadedCalls, 1);
  EXPECT_EQ(C->LoadedCalls, 1);
}

// ---- Inherited forms ----------------------------------------------------------------------

TEST_F(StreamTest, Inherited_OnlyWhatDiffersFromTheAncestorIsWritten) {
  auto Base = MakeRichForm();
  std::string BaseText = SaveComponentToString(Base.get());
  TOwned<TSampleForm> Derived(new TSampleForm(nullptr));
  LoadComponentFromString(BaseText, Derived.get());
  Derived->SetCaption("Derived");
  Derived->SetBuddy(nullptr);
  Child(Derived.get(), "Child1")->SetCount(5);
  Child(Derived.get(), "Child1")->SetColWidths(0, 10);
  auto* Extra = new TSample(Derived.get());
  Extra->SetName("Extra");

  Json J = Json::parse(SaveComponentToString(Derived.get(), Base.get()));
  EXPECT_EQ(J["properties"], Json::parse(R"({"Caption": "Derived", "Buddy": null})"));
  ASSERT_EQ(J["components"].size(), 2u);
  EXPECT_EQ(J["components"][0],
            Json::parse(R"({"class": "TSample", "name": "Child1", "inherited": true,
                            "properties": {"Count": 5, "ColWidths": [10, 64]}})"));
  EXPECT_EQ(J["components"][1], Json::parse(R"({"class": "TSample", "name": "Extra"})"));

  // Ancestor stream, then the difference, gives the derived form again.
  TOwned<TSampleForm> Again(new TSampleForm(nullptr));
  LoadComponentFromString(BaseText, Again.get());
  LoadComponentFromString(J.dump(), Again.get());
  ExpectSameTree(Derived.get(), Again.get());
}

TEST_F(StreamTest, Inherited_ChangedCollectionReplacesTheAncestorsWhole) {
  auto Base = MakeRichForm();
  TOwned<TSampleForm> Derived(new TSampleForm(nullptr));
  LoadComponentFromString(SaveComponentToString(Base.get()), Derived.get());
  EXPECT_FALSE(
      Json::parse(SaveComponentToString(Derived.get(), Base.get())).contains("properties"));
  Derived->GetSteps()->GetItem(1)->SetLevel(1);
  Json P = Json::parse(SaveComponentToString(Derived.get(), Base.get()))["properties"];
  ASSERT_EQ(P["Steps"].size(), 2u);
  EXPECT_EQ(P["Steps"][0]["Caption"], "first");
  EXPECT_EQ(P["Steps"][1]["Level"], 1);
}

// ---- Bad input ----------------------------------------------------------------------------

namespace {

struct TBadCase {
  const char* Label;
  std::string Stream;
  std::vector<std::string> MessageParts;
  bool OnlyAgainstTheRichForm = false;
};

// Each stream first changes a good deal of the form (caption, lines, items, widths, a new
// child, an existing child, a reference, an event) and only then goes wrong: in the form's
// properties (BadProp), in the innermost component's (BadInner), or in its children.
std::string Spoilt(const std::string& BadProp, const std::string& BadInner = "",
                   const std::string& InnerKids = "") {
  auto More = [](const std::string& S) { return S.empty() ? S : ", " + S; };
  return R"({"class": "TSampleForm", "name": "Form1", "properties": {
      "Caption": "changed", "Lines": ["x"], "Steps": [{"Caption": "new", "Target": "Fresh"}],
      "ColWidths": [5, 6, 7], "Buddy": "Fresh", "OnChange": null, "Pen": {"Width": 9})" +
         More(BadProp) + R"(},
    "components": [{"class": "TSample", "name": "Fresh", "properties": {"Count": 1}},
                   {"class": "TSample", "name": "Child1", "properties": {"Count": 8},
                    "components": [{"class": "TSample", "name": "Inner",
                                    "properties": {"Caption": "moved")" +
         More(BadInner) + R"(}, "components": [)" + InnerKids + "]}]}]}";
}

// A repeated key replaces the earlier value in its place, so BadProp may respecify one.
std::vector<TBadCase> BadCases() {
  return {
      {"not JSON", R"({"class": "TSampleForm", "properties": {"Count": 1,})", {"not valid JSON"}},
      // Found by the fuzzer: the parser reports this overflow with another exception class.
      {"number beyond a double",
       R"({"class": "TSampleForm", "properties": {"Count": 1e999}})",
       {"not valid JSON", "overflow"}},
      {"unknown class",
       Spoilt("", "", R"({"class": "TNoSuch", "name": "Ghost"})"),
       {"Form1.Child1.Inner.Ghost", "TNoSuch", "not registered"}},
      {"unknown property",
       Spoilt(R"("Colour": "clRed")"),
       {"Form1.Colour", "\"clRed\"", "no such property"}},
      {"string for integer", Spoilt(R"("Count": "three")"), {"Form1.Count", "\"three\""}},
      {"float for integer", Spoilt(R"("Count": 1.5)"), {"Form1.Count", "1.5"}},
      {"cardinal out of range", Spoilt(R"("Limit": -1)"), {"Form1.Limit", "-1", "range"}},
      {"integer out of range", Spoilt(R"("Count": 4294967296)"), {"Form1.Count", "4294967296"}},
      {"unknown enum name",
       Spoilt(R"("Shade": "shBright")"),
       {"Form1.Shade", "shBright", "TShade"}},
      {"unknown set element",
       Spoilt(R"("Flags": ["flBold", "flHuge"])"),
       {"Form1.Flags", "flHuge"}},
      {"unknown colour", Spoilt(R"("Color": "clMauve")"), {"Form1.Color", "clMauve"}},
      {"list for string", Spoilt(R"("Hint": ["a"])"), {"Form1.Hint", "[\"a\"]"}},
      {"too many widths",
       Spoilt(R"("ColWidths": [1, 2, 3, 4])"),
       {"Form1.ColWidths", "[1,2,3,4]", "more values"}},
      {"too few widths",
       Spoilt("", R"("ColWidths": [1])"),
       {"Form1.Child1.Inner.ColWidths", "[1]", "fewer values"}},
      {"widths not a list",
       Spoilt("", R"("ColWidths": 64)"),
       {"Form1.Child1.Inner.ColWidths", "64", "expected a list"}},
      {"missing reference",
       Spoilt("", R"("Buddy": "Nobody")"),
       {"Form1.Child1.Inner.Buddy", "\"Nobody\"", "no component"}},
      {"reference to an item's missing target",
       Spoilt(R"("Steps": [{"Caption": "a"}, {"Target": "Nobody"}])"),
       {"Form1.Steps[1].Target", "Nobody"}},
      {"unknown handler", Spoilt(R"("OnCount": "DoNothing")"), {"Form1.OnCount", "DoNothing"}},
      {"handler of another type",
       Spoilt(R"("OnCount": "DoChange")"),
       {"Form1.OnCount", "DoChange", "does not fit"}},
      {"setter refuses",
       Spoilt("", R"("Count": -5)"),
       {"Form1.Child1.Inner.Count", "-5", "must not be negative"}},
      {"bad nested value", Spoilt(R"("Pen": {"Width": "wide"})"), {"Form1.Pen.Width", "wide"}},
      {"bad item value",
       Spoilt(R"("Steps": [{"Caption": "a"}, {"Level": "x"}])"),
       {"Form1.Steps[1].Level", "\"x\""}},
      {"read-only property", Spoilt(R"("Area": 4)"), {"Form1.Area", "read-only"}},
      {"wrong root class", R"({"class": "TStep", "name": "Form1"})", {"TStep"}},
      {"existing child of another class",
       R"({"class": "TSampleForm", "name": "Form1", "properties": {"Caption": "changed"},
           "components": [{"class": "TSampleForm", "name": "Child1"}]})",
       {"Form1.Child1", "TSampleForm"},
       true},
  };
}

}  // namespace

TEST_F(StreamTest, BadInput_FailsNamingTheSpotAndLeavesTheFormAsItWas) {
  auto Form = MakeRichForm();
  // Give the inner component a width list so that rolling back a defined property shows.
  Child(Child(Form.get(), "Child1"), "Inner")->SetColWidths(0, 50);
  std::string Before = SaveComponentToString(Form.get());
  TCollectionItem* FirstStep = Form->GetSteps()->GetItem(0);
  TSample* C = Child(Form.get(), "Child1");
  TSample* Inner = Child(C, "Inner");
  auto Copy = MakeRichForm();
  ASSERT_NO_THROW(LoadComponentFromString(Spoilt(""), Copy.get())) << "the base case is good";

  for (const TBadCase& B : BadCases()) {
    SCOPED_TRACE(B.Label);
    std::string Message;
    try {
      LoadComponentFromString(B.Stream, Form.get());
      ADD_FAILURE() << "no error";
    } catch (const EReadError& E) {
      Message = E.what();
    }
    for (const std::string& Part : B.MessageParts)
      EXPECT_NE(Message.find(Part), std::string::npos) << Message << " lacks " << Part;
    EXPECT_EQ(SaveComponentToString(Form.get()), Before);
    EXPECT_EQ(Form->GetSteps()->GetItem(0), FirstStep);
    EXPECT_EQ(Form->GetComponentCount(), 1);
    EXPECT_EQ(C->GetComponentCount(), 1);
    EXPECT_EQ(Form->GetBuddy(), Inner);
    EXPECT_TRUE(Form->OnChange.Assigned());
    EXPECT_FALSE(Form->IsLoading() || C->IsLoading() || Inner->IsLoading());
    EXPECT_EQ(Inner->GetColWidths(0), 50);
  }
  EXPECT_EQ(Form->LoadedCalls, 0);
}

TEST_F(StreamTest, BadInput_ANewRootIsFreedAndTheErrorStillNamesTheSpot) {
  for (const TBadCase& B : BadCases()) {
    if (B.OnlyAgainstTheRichForm) continue;
    SCOPED_TRACE(B.Label);
    EXPECT_THROW(LoadComponentFromString(B.Stream), EReadError);
  }
  try {
    LoadComponentFromString(
        R"({"class": "TSampleForm", "name": "New", "properties": {"Count": "x"}})");
    FAIL();
  } catch (const EReadError& E) {
    EXPECT_STREQ(E.what(), "Error reading New.Count = \"x\": expected an integer");
  }
}

TEST_F(StreamTest, BadInput_StructureOfTheDocument) {
  const char* Streams[] = {
      "[]",
      R"({"name": "NoClass"})",
      R"({"class": "TSampleForm", "extra": 1})",
      R"({"class": "TSampleForm", "properties": []})",
      R"({"class": "TSampleForm", "components": [{"class": "TSample"}]})",
      R"({"class": "TSampleForm", "components": [{"class": "TSample", "name": "1x"}]})",
      R"({"class": "TSampleForm", "components": [{"class": "TSample", "name": "A"},
                                                 {"class": "TSample", "name": "a"}]})",
      R"({"class": "TSampleForm", "properties": {"Count": 1, "count": 2}})",
      R"({"class": "TSampleForm", "properties": {"Steps": [5]}})",
      R"({"class": "TSampleForm", "components": [{"class": "TSample", "name": "N",
                                                  "inherited": true}]})",
  };
  TOwned<TSampleForm> F(new TSampleForm(nullptr));
  std::string Before = SaveComponentToString(F.get());
  for (const char* S : Streams) {
    SCOPED_TRACE(S);
    EXPECT_THROW(LoadComponentFromString(S, F.get()), EReadError);
    EXPECT_EQ(SaveComponentToString(F.get()), Before);
  }
}

// ---- Type information ---------------------------------------------------------------------

TEST_F(StreamTest, TypeInfo_RedeclaredPropertyKeepsItsPlaceWithTheNewDefault) {
  auto Props = GetPropList(TSampleForm::StaticClass());
  ASSERT_GT(Props.size(), 3u);
  EXPECT_EQ(Props[3]->Name, "Shade");
  EXPECT_EQ(Props[3]->Default, shDark);
  EXPECT_EQ(GetPropInfo(TSample::StaticClass(), "shade")->Default, shMedium);
  EXPECT_EQ(GetClass("tsampleform"), TSampleForm::StaticClass());
  EXPECT_EQ(GetClass("TNoSuch"), nullptr);
  EXPECT_THROW(FindClass("TNoSuch"), EClassNotFound);
  EXPECT_NE(FindMethod(TSampleForm::StaticClass(), "dochange"), nullptr);
  EXPECT_EQ(FindMethod(TSample::StaticClass(), "DoChange"), nullptr);
}
