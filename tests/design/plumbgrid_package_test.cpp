// The PlumbGrid package loaded from its built file, as a design environment loads it: what it
// registers, its palette image, the field-name editor, and that unloading takes it all back.
// The test program does not link the grid: it reaches TPlumbGrid and TColumn only through the
// class registry and their published properties, as a designer does.
#include "DesignTestSupport.h"
#include "backends/headless/Headless.h"
#include "controls/Forms.h"
#include "core/Collection.h"
#include "core/Filer.h"
#include "data/DataSource.h"
#include "data/MemDataSet.h"
#include "gfx/Bitmap.h"

namespace plumb::test {
namespace {

class PlumbGridPackageTest : public ::testing::Test {
 protected:
  THeadlessDesktop D{800, 600};
  TEnvironment Before;
  const TPackage* Package = nullptr;
  TForm* Form = nullptr;

  void SetUp() override {
    RegisterClass<TForm>();
    SetPackageLanguage("XX");  // no module of that language: the package's own resources
    Before = Environment();
    Package = LoadPackage(PLUMB_GRID_PACKAGE);
    Form = new TForm(nullptr);
    Form->SetName("Form1");
  }
  void TearDown() override {
    delete Form;  // the package's instances go before the package
    if (Package) UnloadPackage(Package);
    ExpectSameEnvironment(Before, Environment());
    SetPackageLanguage("");
  }

  TComponent* NewGrid() { return CreateComponent(FindClass("TPlumbGrid"), Form); }
  static TCollection* ColumnsOf(TComponent* Grid) {
    return dynamic_cast<TCollection*>(GetPropInfo(Grid->ClassType(), "Columns")->GetObj(Grid));
  }
  // The grid's first column (a new grid has one).
  static TPersistent* FirstColumn(TComponent* Grid) { return ColumnsOf(Grid)->GetItem(0); }
  static void Bind(TComponent* Grid, TDataSource* Source) {
    GetPropInfo(Grid->ClassType(), "DataSource")->SetObj(Grid, Source);
  }
  TMemDataSet* NewDataSet(const std::vector<std::string>& Fields, bool Open = true) {
    auto* Data = new TMemDataSet(Form);
    for (const std::string& F : Fields) Data->AddFieldDef(F, ftString);
    if (Open) Data->Open();
    return Data;
  }
  TDataSource* NewSource(TDataSet* Data) {
    auto* Source = new TDataSource(Form);
    Source->SetDataSet(Data);
    return Source;
  }
  static std::unique_ptr<TPropertyEditor> FieldNameEditor(TDesignerSelections Selection) {
    std::unique_ptr<TPropertyEditor> Found;
    GetComponentProperties(Selection, nullptr, [&](std::unique_ptr<TPropertyEditor> E) {
      if (E->GetName() == "FieldName") Found = std::move(E);
    });
    return Found;
  }
  static std::vector<std::string> ValuesOf(TPropertyEditor& E) {
    std::vector<std::string> V;
    E.GetValues([&](const std::string& S) { V.push_back(S); });
    return V;
  }
};

TEST_F(PlumbGridPackageTest, Load_DescriptorAndOneRegistrationOfEach) {
  EXPECT_EQ(Package->GetName(), "PlumbGrid");
  EXPECT_EQ(Package->GetDescription(), "Plumb Grid");
  EXPECT_EQ(Package->GetRequires(), (std::vector<std::string>{"PlumbRtl", "PlumbDb"}));
  EXPECT_EQ(Package->GetContains(), (std::vector<std::string>{"uCPlumbGrd", "uPlumbGrid"}));
  EXPECT_EQ(FindPackage("plumbgrid"), Package);

  const TPalettePage* Grids = FindPalettePage("Grids");
  ASSERT_NE(Grids, nullptr);
  ASSERT_EQ(Grids->Items.size(), 1u);
  EXPECT_STREQ(Grids->Items[0].ComponentClass->Name, "TPlumbGrid");
  EXPECT_EQ(Grids->Items[0].Owner, Package);

  std::vector<const TPropertyEditorRegistration*> Mine;
  for (const TPropertyEditorRegistration& R : GetPropertyEditorRegistrations())
    if (R.Owner == Package) Mine.push_back(&R);
  ASSERT_EQ(Mine.size(), 1u);  // Register ran once
  EXPECT_EQ(Mine[0]->PropertyType.Kind, pkString);
  EXPECT_STREQ(Mine[0]->ComponentClass->Name, "TColumn");
  EXPECT_EQ(Mine[0]->PropertyName, "FieldName");
  EXPECT_STREQ(Mine[0]->EditorClass.Class->Name, "TPlumbFieldNameProperty");
}

TEST_F(PlumbGridPackageTest, TPlumbGrid_LivesInTheHostsRegistry_CreatedAndStreamedByName) {
  TComponent* Grid = NewGrid();
  EXPECT_EQ(Grid->ClassName(), "TPlumbGrid");
  EXPECT_TRUE(Grid->InheritsFrom(FindClass("TCustomPlumbGrid")));
  Grid->SetName("Grid1");
  GetPropInfo(FirstColumn(Grid)->ClassType(), "FieldName")->SetStr(FirstColumn(Grid), "City");

  // The host's own reader makes the grid and its column from a form stream.
  std::string Stream = TWriter().WriteRootComponent(Form);
  auto* Copy = new TForm(nullptr);
  TReader(Stream).ReadRootComponent(Copy);
  TComponent* Read = Copy->FindComponent("Grid1");
  ASSERT_NE(Read, nullptr);
  EXPECT_EQ(Read->ClassType(), Grid->ClassType());
  TPersistent* Column = FirstColumn(Read);
  EXPECT_EQ(GetPropInfo(Column->ClassType(), "FieldName")->GetStr(Column), "City");
  delete Copy;
}

TEST_F(PlumbGridPackageTest, PaletteImage_A24x24Bitmap256Colours_DrawnAsATwoColumnGrid) {
  const TPaletteItem* Item = FindPaletteItem(FindClass("TPlumbGrid"));
  ASSERT_NE(Item, nullptr);
  const TBitmapInfo& Info = Item->Image.Info;
  EXPECT_EQ(Info.Width, 24);
  EXPECT_EQ(Info.Height, 24);
  EXPECT_EQ(Info.BitCount, 8);
  EXPECT_EQ(Info.ColorCount, 256u);
  EXPECT_EQ(Package->FindResource("tplumbgrid").size(), 14u + 40u + 256u * 4u + 24u * 24u);

  TSurface Button(40, 40, 0xFFFF00FFu);
  TCanvas(&Button).Draw(8, 8, Item->Image.Pixels);
  auto At = [&](int X, int Y) { return Button.Pixel(8 + X, 8 + Y); };
  for (int Y = 0; Y < 24; ++Y)
    for (int X = 0; X < 24; ++X)
      ASSERT_EQ(At(X, Y), Item->Image.Pixels.Pixel(X, Y)) << X << "," << Y;
  EXPECT_EQ(Button.Pixel(7, 7), 0xFFFF00FFu);
  // A frame round two columns: one line between them, top to bottom, and columns that differ.
  const uint32_t Frame = At(2, 10), Line = At(10, 4), Title = At(9, 4), Value = At(20, 4);
  EXPECT_EQ(At(21, 10), Frame);
  EXPECT_EQ(At(10, 3), Frame);
  for (int Y = 4; Y <= 18; ++Y) EXPECT_EQ(At(10, Y), Line) << Y;
  EXPECT_NE(Title, Value);
  EXPECT_NE(Line, Value);
  EXPECT_NE(Frame, Title);
}

TEST_F(PlumbGridPackageTest, FieldNameEditor_ForTColumnAndDescendants_OnlyItsFieldName) {
  TClass Column = FindClass("TColumn");
  static TClassInfo Descendant{"TMyColumn", nullptr};
  Descendant.Parent = Column;  // a column class of another package
  struct TCase {
    TClass Class;
    const char* Prop;
    const char* Editor;
  };
  const TCase Cases[] = {
      {Column, "FieldName", "TPlumbFieldNameProperty"},
      {&Descendant, "FieldName", "TPlumbFieldNameProperty"},
      {TField::StaticClass(), "FieldName", "TStringProperty"},
      {Column, "Title", "TStringProperty"},
  };
  for (const TCase& C : Cases)
    EXPECT_STREQ(GetEditorClass(GetPropInfo(C.Class, C.Prop), C.Class).Class->Name, C.Editor)
        << C.Class->Name << "." << C.Prop;

  auto Editor = FieldNameEditor({FirstColumn(NewGrid())});
  ASSERT_NE(Editor, nullptr);
  EXPECT_EQ(Editor->ClassName(), "TPlumbFieldNameProperty");
  EXPECT_EQ(Editor->GetAttributes().Stored(), 33);
  // Typing stays possible: the inherited string editing.
  Editor->SetValue("Anything");
  EXPECT_EQ(Editor->GetValue(), "Anything");
}

TEST_F(PlumbGridPackageTest, FieldNameValues_TheFirstColumnsDataSetFieldsInFieldOrder) {
  struct TCase {
    const char* Title;
    std::vector<std::string> Fields;  // empty: no data set
    bool Source;
    bool Open;
    bool FieldFirst;  // a field of the data set selected before the column
    std::vector<std::string> Expected;
  };
  const TCase Cases[] = {
      {"no data source", {}, false, true, false, {}},
      {"a data source without a data set", {}, true, true, false, {}},
      {"a closed data set: no field objects", {"A", "B", "C"}, true, false, false, {}},
      {"fields A, B, C", {"A", "B", "C"}, true, true, false, {"A", "B", "C"}},
      {"field order, not sorted",
       {"Zip", "City", "Age"},
       true,
       true,
       false,
       {"Zip", "City", "Age"}},
      {"another kind selected first", {"A", "B", "C"}, true, true, true, {}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Title);
    TComponent* Grid = NewGrid();
    TMemDataSet* Data = C.Fields.empty() ? nullptr : NewDataSet(C.Fields, C.Open);
    if (C.Source) Bind(Grid, NewSource(Data));
    TPersistent* Column = FirstColumn(Grid);
    auto Editor = FieldNameEditor({Column});
    ASSERT_NE(Editor, nullptr);
    if (C.FieldFirst) {
      TField* Field = Data->GetField(0);
      Editor = CreatePropertyEditor(
          GetEditorClass(GetPropInfo(Column->ClassType(), "FieldName"), Column->ClassType()),
          {{Field, GetPropInfo(Field->ClassType(), "FieldName")}, {Column, Editor->GetPropInfo()}},
          nullptr);
    }
    std::vector<std::string> Values;
    EXPECT_NO_THROW(Values = ValuesOf(*Editor));
    EXPECT_EQ(Values, C.Expected);
  }
}

TEST_F(PlumbGridPackageTest, Unload_TakesBackEverything_AndTheLibraryGoes) {
  UnloadPackage(Package);
  Package = nullptr;
  ExpectSameEnvironment(Before, Environment());
  EXPECT_EQ(GetClass("TPlumbGrid"), nullptr);
  EXPECT_EQ(GetClass("TColumn"), nullptr);
  EXPECT_EQ(FindPalettePage("Grids"), nullptr);
  EXPECT_EQ(FindPackage("PlumbGrid"), nullptr);
  EXPECT_FALSE(LibraryInProcess(PLUMB_GRID_PACKAGE));

  // Loaded again, it registers again: nothing of the first load was left half-done.
  Package = LoadPackage(PLUMB_GRID_PACKAGE);
  TComponent* Grid = NewGrid();
  EXPECT_EQ(FirstColumn(Grid)->ClassName(), "TColumn");
  EXPECT_NE(FieldNameEditor({FirstColumn(Grid)}), nullptr);
  EXPECT_EQ(FindPalettePage("Grids")->Items.size(), 1u);
}

TEST_F(PlumbGridPackageTest, LoadedTwice_ByItsFileOrByACopy_Refused) {
  TScratchDir Dir;
  ExpectRefused(PLUMB_GRID_PACKAGE, {"already loaded"});
  std::string Copy = Dir.Copy(PLUMB_GRID_PACKAGE, "libPlumbGrid.so");
  ExpectRefused(Copy, {"package PlumbGrid is already loaded from"});
  EXPECT_FALSE(LibraryInProcess(Copy));
  EXPECT_NE(NewGrid(), nullptr);  // the loaded one still works
}

TEST_F(PlumbGridPackageTest, LanguageModule_BesideThePackage_LoadedAndFreedWithIt) {
  UnloadPackage(Package);
  Package = nullptr;
  TScratchDir Dir;
  std::string File = Dir.Copy(PLUMB_GRID_PACKAGE, "libPlumbGrid.so");
  std::string Module = Dir.Copy(PLUMB_GRID_LANGUAGE_MODULE, "libPlumbGrid.QQ");
  SetPackageLanguage("qq");
  Package = LoadPackage(File);
  EXPECT_EQ(Package->GetLanguageModule(), Module);
  EXPECT_TRUE(LibraryInProcess(Module));
  // The module's image comes first: one colour all over.
  const TSurface& Image = FindPaletteItem(FindClass("TPlumbGrid"))->Image.Pixels;
  ASSERT_EQ(Image.Width(), 24);
  EXPECT_EQ(Image.Pixel(0, 0), Image.Pixel(10, 10));
  EXPECT_EQ(Image.Pixel(0, 0), Image.Pixel(23, 23));

  UnloadPackage(Package);
  Package = nullptr;
  EXPECT_FALSE(LibraryInProcess(Module));
  EXPECT_FALSE(LibraryInProcess(File));
}

}  // namespace
}  // namespace plumb::test
