// The designer as a user drives it on the headless desktop, with the PlumbGrid package loaded
// from its file: the palette, choosing a field name for a column from the inspector's list,
// design-time edits of the grid's tree and title column, refused values, and the program
// itself writing its picture and the form stream.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "DefaultForm.h"
#include "DesignerWindow.h"
#include "Snapshot.h"
#include "backends/headless/Headless.h"
#include "core/Filer.h"
#include "design/Packages.h"
#include "design/Palette.h"

namespace plumb::test {
namespace {

using designer::TDesignerWindow;
using designer::TObjectInspector;
using designer::TOneRowGrid;

std::string ReadFile(const std::string& Path) {
  std::ifstream F(Path, std::ios::binary);
  std::stringstream S;
  S << F.rdbuf();
  return S.str();
}

class DesignerTest : public ::testing::Test {
 protected:
  THeadlessDesktop D{designer::WindowWidth, designer::WindowHeight};
  std::string Dir = "/tmp/plumb_designer_test_" + std::to_string(getpid());
  const TPackage* Package = nullptr;
  TDesignerWindow* W = nullptr;

  void SetUp() override {
    std::filesystem::create_directories(Dir);
    Package = LoadPackage(PLUMB_GRID_PACKAGE);
    W = new TDesignerWindow(nullptr);
    W->Show();
    W->Open(designer::DefaultFormStream(PLUMB_SAMPLE_DB), Dir + "/form.json");
    D.RunUntilIdle();
  }
  void TearDown() override {
    delete W;  // the package's instances go before the package
    UnloadPackage(Package);
    std::filesystem::remove_all(Dir);
  }

  TPlumbGrid* Grid() {
    return static_cast<TPlumbGrid*>(W->GetSurface()->GetForm()->FindComponent("Grid"));
  }
  TColumn* Column(const char* Title) { return Grid()->GetColumns()->GetColumn(Variant(Title)); }
  TObjectInspector* Inspector() { return W->GetInspector(); }
  TPlumbGridInplaceEdit* InspectorEditor() {
    return static_cast<TPlumbGridInplaceEdit*>(Inspector()->GetInplaceEditor());
  }
  // A press in the middle of a cell of a record grid.
  void ClickCell(TPlumbGrid* G, Integer Col, Integer Row, bool Twice = false) {
    TRect R = G->CellRect(Col, Row);
    if (Twice)
      D.DoubleClickAt(G, R.Left + 30, (R.Top + R.Bottom) / 2);
    else
      D.ClickAt(G, R.Left + 30, (R.Top + R.Bottom) / 2);
  }
  // Puts the inspector on the property at Path, the editor open on its value.
  void GoToProperty(const std::string& Path) {
    Integer Row = Inspector()->ShowPath(Path);
    ASSERT_GE(Row, 0) << Path;
    ClickCell(Inspector(), 1, Row);
    ASSERT_EQ(Inspector()->GetRow(), Row);
    ASSERT_NE(InspectorEditor(), nullptr);
  }
  void TypeValue(const std::string& Path, const std::string& Text) {
    GoToProperty(Path);
    InspectorEditor()->SelectAll();
    D.TypeText(Text);
    D.KeyStroke(VK_RETURN);
  }
  // Every row of the inspector, open or under a closed one, shows what its property editor
  // reads now.
  void ExpectRowsShowTheirValues() {
    TPlumbGridColumns* Rows = Inspector()->GetColumns();
    for (Integer R = 0; R < Rows->Count(); ++R)
      EXPECT_EQ(Rows->GetColumn(R)->GetText(), Inspector()->EditorOf(R)->GetValue())
          << Rows->GetColumn(R)->GetTitle();
  }
  TPoint Middle(TPlumbGrid* G, Integer Col, Integer Row) {
    TRect R = G->CellRect(Col, Row);
    return TPoint{R.Left + 30, (R.Top + R.Bottom) / 2};
  }
  nlohmann::json SavedColumns() {
    nlohmann::json Form = nlohmann::json::parse(ReadFile(W->GetFileName()));
    for (const auto& C : Form["components"])
      if (C["name"] == "Grid") return C["properties"]["Columns"];
    return {};
  }
};

TEST_F(DesignerTest, PackageFromItsFile_PaletteShowsGridsWithTheImage) {
  const TPackage* Loaded = FindPackage("PlumbGrid");
  ASSERT_EQ(Loaded, Package);
  EXPECT_EQ(Loaded->GetFileName(), std::filesystem::canonical(PLUMB_GRID_PACKAGE).string());

  designer::TPaletteBar* Palette = W->GetPalette();
  const TPalettePage* Page = FindPalettePage("Grids");
  ASSERT_NE(Page, nullptr);
  ASSERT_EQ(Page->Items.size(), 1u);
  EXPECT_STREQ(Page->Items[0].ComponentClass->Name, "TPlumbGrid");
  // The package's own image, pixel for pixel, in the middle of the page's first button.
  const TSurface& Image = Page->Items[0].Image.Pixels;
  ASSERT_EQ(Image.Width(), 24);
  TRect Button = Palette->ButtonRect(0);
  TPoint At = Palette->ClientToScreen(
      TPoint{Button.Left + (Button.Width() - 24) / 2, Button.Top + (Button.Height() - 24) / 2});
  for (int Y = 0; Y < 24; ++Y)
    for (int X = 0; X < 24; ++X)
      ASSERT_EQ(D.ScreenPixel(At.X + X, At.Y + Y), Image.Pixel(X, Y)) << X << "," << Y;

  // Armed from the palette, a press on the form places a grid there, designed and selected.
  Grid()->SetAlign(alNone);
  Grid()->SetHeight(200);
  D.ClickAt(Palette, Button.Left + 5, Button.Top + 5);
  TForm* Form = W->GetSurface()->GetForm();
  D.ClickAt(Form, 20, 260);
  auto* Placed = dynamic_cast<TPlumbGrid*>(Form->FindComponent("PlumbGrid1"));
  ASSERT_NE(Placed, nullptr);
  EXPECT_TRUE(Placed->IsDesigning());
  EXPECT_EQ(Placed->GetParent(), Form);
  EXPECT_EQ(Placed->GetTop(), 260);
  EXPECT_EQ(W->GetSurface()->GetSelection(), Placed);
  EXPECT_EQ(W->GetPalette()->GetArmed(), nullptr);
}

// The road: a column chosen on the form, a field name chosen from the inspector's
// drop-down, the grid's row bound to that field at once, the form marked modified, Ctrl+S.
TEST_F(DesignerTest, FieldNameChosenFromTheDropDown_RowRebindsRepaintsAndIsSaved) {
  TColumn* Name = Column("Name");
  ClickCell(Grid(), 0, Name->GetIndex());
  EXPECT_EQ(W->GetSurface()->GetSelection(), Name);
  ASSERT_EQ(Inspector()->GetInspected(), Name);
  EXPECT_FALSE(W->GetSurface()->IsModified());

  GoToProperty("FieldName");
  D.KeyStroke(VK_DOWN, {ssAlt});
  ASSERT_TRUE(InspectorEditor()->GetListShown());
  // The customers' fields, sorted as the editor's attributes ask.
  TDataSet* Customers =
      static_cast<TDataSet*>(W->GetSurface()->GetForm()->FindComponent("Customers"));
  std::vector<std::string> Fields;
  for (Integer I = 0; I < Customers->GetFieldCount(); ++I)
    Fields.push_back(Customers->GetField(I)->GetFieldName());
  std::sort(Fields.begin(), Fields.end());
  EXPECT_EQ(InspectorEditor()->GetPickListBox()->GetItems()->ToVector(), Fields);

  WinRecord().RecordTexts = true;
  WinRecord().Clear();
  D.TypeText("e");  // the list's search: the first name that begins with it
  D.KeyStroke(VK_RETURN);
  EXPECT_FALSE(InspectorEditor()->GetListShown());
  EXPECT_EQ(Name->GetFieldName(), "email");
  ExpectRowsShowTheirValues();
  ASSERT_EQ(Name->GetField(), Customers->FindField("email"));
  // The value cell of the row was drawn again, with the e-mail address.
  std::string Email = Customers->FieldByName("email")->GetAsString();
  TRect Cell = Grid()->CellRect(1, Name->GetIndex());
  const auto& Drawn = WinRecord().Texts[Grid()->GetHandle()];
  EXPECT_TRUE(std::any_of(Drawn.begin(), Drawn.end(), [&](const TTextOutRecord& T) {
    return T.Text == Email && PtInRect(Cell, T.Pos);
  })) << Email;
  WinRecord().RecordTexts = false;
  EXPECT_TRUE(W->GetSurface()->IsModified());
  EXPECT_EQ(Inspector()->EditorOf(Inspector()->GetRow())->GetValue(), "email");

  D.KeyStroke('S', {ssCtrl});
  EXPECT_FALSE(W->GetSurface()->IsModified());
  EXPECT_EQ(SavedColumns()[Name->GetIndex()]["FieldName"], "email");
  // Read back into a form of its own, the stream comes out the same.
  std::string Saved = ReadFile(W->GetFileName());
  auto* Copy = new TForm(nullptr);
  Copy->SetDesigning(true);
  TReader(Saved).ReadRootComponent(Copy);
  EXPECT_EQ(TWriter().WriteRootComponent(Copy) + "\n", Saved);
  Copy->Free();
}

// Collapsing by a double click, moving a column by dragging its row and by Ctrl+Up, and
// dragging the title line: all at design time, all marking the form, all in the saved stream,
// which a program reading it at run time finds in force.
TEST_F(DesignerTest, DesignTimeEdits_CollapseMoveAndSize_Saved) {
  designer::TDesignSurface* S = W->GetSurface();
  TPlumbGrid* G = Grid();
  const int Rows = G->GetColumns()->Count();
  TColumn* Contact = Column("Contact");
  ClickCell(G, 0, Contact->GetIndex());
  GoToProperty("Expanded");  // the inspector's editor open on the value about to change
  ClickCell(G, 0, Contact->GetIndex(), true);
  EXPECT_FALSE(Contact->GetExpanded());
  EXPECT_EQ(G->GetColumns()->Count(), Rows);  // at design time every row stays
  EXPECT_TRUE(S->IsModified());
  GoToProperty("Title");
  ExpectRowsShowTheirValues();

  TColumn* Age = Column("Age");
  const Integer Balance = Column("Balance")->GetIndex();
  TPoint From = Middle(G, 0, Age->GetIndex()), To = Middle(G, 0, Balance);
  D.MouseDownAt(G, From.X, From.Y);
  D.MouseMoveAt(G, To.X, To.Y);
  D.MouseUpAt(G, To.X, To.Y);
  EXPECT_EQ(Age->GetIndex(), Balance);
  EXPECT_EQ(S->GetSelection(), Age);
  D.KeyStroke(VK_UP, {ssCtrl});
  EXPECT_EQ(Age->GetIndex(), Balance - 1);
  EXPECT_EQ(G->GetRow(), Balance - 1);  // the row frame follows the selected column
  D.KeyStroke(VK_ESCAPE);
  EXPECT_EQ(S->GetSelection(), G);

  // The title line belongs to the grid: it sizes and tells the form's designer, and the
  // selection stays.
  ASSERT_TRUE(W->Save());
  D.MouseDownAt(G, 140, 10);
  D.MouseMoveAt(G, 171, 10);
  D.MouseUpAt(G, 171, 10);
  EXPECT_EQ(S->GetSelection(), G);
  EXPECT_TRUE(S->IsModified());
  ASSERT_TRUE(W->Save());
  nlohmann::json Props =
      nlohmann::json::parse(ReadFile(W->GetFileName()))["components"][4]["properties"];
  EXPECT_EQ(Props["ColWidths"][0], 171);
  EXPECT_EQ(Props["Columns"][Balance - 1]["Title"], "Age");
  EXPECT_FALSE(Props["Columns"][0].contains("Expanded"));

  auto* Running = static_cast<TForm*>(LoadComponentFromString(ReadFile(W->GetFileName())));
  auto* Read = static_cast<TPlumbGrid*>(Running->FindComponent("Grid"));
  EXPECT_EQ(Read->GetColumns()->Count(), Rows - 3);  // Contact's three rows under it
  EXPECT_EQ(Read->GetColumns()->GetColumn(Balance - 4)->GetTitle(), "Age");
  Running->Free();
}

// The object row, nested rows, an item row's button, and values refused or taken at once.
TEST_F(DesignerTest, Inspector_NestedRowsRefusedValuesAndItemRows) {
  // A selection the program makes while the inspector has the focus: the row of the same
  // property stays current, and every row shows its own value.
  ClickCell(Grid(), 0, Column("Name")->GetIndex());
  GoToProperty("ImeMode");  // a column's; the grid's ImeMode row lies elsewhere
  W->GetSurface()->Select(Grid());
  EXPECT_EQ(Inspector()->EditorOf(Inspector()->GetRow())->GetName(), "ImeMode");
  ExpectRowsShowTheirValues();

  TOneRowGrid* Object = W->GetObjectRow();
  EXPECT_EQ(Object->GetLine()->GetText(), "Grid");
  ClickCell(Object, 1, 0);
  D.KeyStroke(VK_DOWN, {ssAlt});
  D.TypeText("Customers");
  D.KeyStroke(VK_RETURN);
  TComponent* Customers = W->GetSurface()->GetForm()->FindComponent("Customers");
  ASSERT_EQ(W->GetSurface()->GetSelection(), Customers);
  EXPECT_EQ(Inspector()->EditorOf(Inspector()->ShowPath("TableName"))->GetValue(), "customers");
  W->GetSurface()->Select(Grid());

  TypeValue("Font/Style/fsBold", "True");
  EXPECT_TRUE(Grid()->GetFont()->GetStyle().Contains(fsBold));
  EXPECT_EQ(Inspector()->EditorOf(Inspector()->ShowPath("Font/Style"))->GetValue(), "[fsBold]");
  W->GetSurface()->SetModified(false);

  TypeValue("RowHeight", "abc");
  EXPECT_NE(W->GetStatus()->GetLine().find("not a valid integer"), std::string::npos)
      << W->GetStatus()->GetLine();
  EXPECT_EQ(Grid()->GetRowHeight(), 18);
  EXPECT_FALSE(W->GetSurface()->IsModified());
  TypeValue("RowHeight", "24");
  EXPECT_EQ(Grid()->GetRowHeight(), 24);
  EXPECT_EQ(Grid()->CellRect(1, 1).Height(), 24);
  EXPECT_TRUE(W->GetSurface()->IsModified());
  ExpectRowsShowTheirValues();

  // The button of a collection item's row selects the column it stands for.
  GoToProperty("Columns/2 - E-mail");
  TRect Button = InspectorEditor()->ButtonRect();
  ASSERT_FALSE(IsRectEmpty(Button));
  D.Advance(1000);  // not a double click with the press that chose the row
  D.ClickAt(InspectorEditor(), Button.Left + 3, Button.Top + 3);
  EXPECT_EQ(W->GetSurface()->GetSelection(), Column("E-mail"));
  EXPECT_EQ(Object->GetLine()->GetText(), "Grid.Columns[2]");
  ExpectRowsShowTheirValues();  // rows built again under the open editor
}

// The program itself, without a display: it loads the package from its file, saves the form it
// opened, and draws the scene of a column chosen with its list of field names dropped down,
// the same picture as the designer makes here.
TEST_F(DesignerTest, TheProgram_SavesTheFormAndDrawsTheDropDown) {
  ASSERT_TRUE(designer::PrepareSnapshotScene(D, W));
  auto* Editor = InspectorEditor();
  ASSERT_TRUE(Editor && Editor->GetListShown());
  EXPECT_EQ(Inspector()->EditorOf(Inspector()->GetRow())->GetName(), "FieldName");
  EXPECT_EQ(W->GetSurface()->GetSelection(), Column("E-mail"));
  std::string Here = Dir + "/here.png", There = Dir + "/there.png", Form = Dir + "/saved.json";
  ASSERT_TRUE(D.Snapshot(Here));

  std::string Command = std::string(PLUMB_DESIGNER_PROGRAM) + " --snapshot " + There + " --save " +
                        Form + " > " + Dir + "/out.txt 2>&1";
  ASSERT_EQ(std::system(Command.c_str()), 0) << ReadFile(Dir + "/out.txt");
  EXPECT_EQ(ReadFile(Form), W->GetSurface()->StreamText() + "\n");
  TSurface Mine, Theirs;
  ASSERT_TRUE(LoadPng(Mine, Here));
  ASSERT_TRUE(LoadPng(Theirs, There));
  ASSERT_EQ(Theirs.Width(), designer::WindowWidth);
  ASSERT_EQ(Theirs.Height(), designer::WindowHeight);
  int Differ = 0;
  for (Integer Y = 0; Y < Mine.Height(); ++Y)
    for (Integer X = 0; X < Mine.Width(); ++X) Differ += Mine.Pixel(X, Y) != Theirs.Pixel(X, Y);
  EXPECT_EQ(Differ, 0);
}

}  // namespace
}  // namespace plumb::test
