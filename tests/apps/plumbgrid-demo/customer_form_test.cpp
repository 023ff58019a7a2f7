// The demo's customer form as a user drives it: a value the table refuses is told in words and
// kept on screen while the table keeps its row; the window's size is followed by the list,
// the grid and the status line; the wheel moves the grid and the list three rows a notch.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "../../platform/data/DataTestSupport.h"
#include "CustomerForm.h"
#include "backends/headless/Headless.h"

namespace plumb::test {

class CustomerFormTest : public ::testing::Test {
 protected:
  THeadlessDesktop D{1024, 768};
  std::string Path = "/tmp/plumb_demo_test_" + std::to_string(getpid()) + ".db";
  demo::TCustomerForm* Form = nullptr;

  void SetUp() override {
    std::filesystem::copy_file(PLUMB_SAMPLE_DB, Path,
                               std::filesystem::copy_options::overwrite_existing);
    Form = new demo::TCustomerForm(nullptr, Path);
    Form->Show();
    D.RunUntilIdle();
  }
  void TearDown() override {
    delete Form;
    std::filesystem::remove(Path);
  }
  std::string Stored(const std::string& Sql) {
    sqlite3* Db = nullptr;
    sqlite3_open(Path.c_str(), &Db);
    sqlite3_stmt* S = nullptr;
    sqlite3_prepare_v2(Db, Sql.c_str(), -1, &S, nullptr);
    std::string R = sqlite3_step(S) == SQLITE_ROW && sqlite3_column_text(S, 0)
                        ? reinterpret_cast<const char*>(sqlite3_column_text(S, 0))
                        : "NULL";
    sqlite3_finalize(S);
    sqlite3_close(Db);
    return R;
  }
  void ChooseCustomer(int Line) {
    demo::TCustomerList* List = Form->GetList();
    List->SetTopIndex(Line);
    TRect R = List->ItemRect(Line);
    D.ClickAt(List, R.Left + 10, R.Top + 2);
  }
  void TypeInto(const char* Row, const std::string& Text) {
    TPlumbGrid* Grid = Form->GetGrid();
    Grid->SetFocus();
    Grid->SetRow(Grid->GetColumns()->GetColumn(Variant(Row))->GetIndex());
    D.KeyStroke(VK_F2);
    Grid->GetInplaceEditor()->SelectAll();
    D.TypeText(Text);
  }
};

// A CHECK refused on Ctrl+S and a UNIQUE refused on moving to another customer.
TEST_F(CustomerFormTest, ARefusedValueIsToldAndKeptWhileTheTableKeepsItsRow) {
  struct TCase {
    const char* Row;
    const char* Value;
    const char* Column;
    bool BySaving;
  };
  for (const TCase& C : {TCase{"Age", "200", "age", true},
                         TCase{"E-mail", "ben.adler@example.com", "email", false}}) {
    SCOPED_TRACE(C.Row);
    ChooseCustomer(2);
    std::string Before = Stored(std::string("SELECT ") + C.Column + " FROM customers WHERE id = 3");
    TypeInto(C.Row, C.Value);
    if (C.BySaving)
      D.KeyStroke('S', {ssCtrl});
    else
      ChooseCustomer(5);
    TDataSet* Customers = Form->GetCustomers();
    EXPECT_EQ(Customers->GetState(), dsEdit);
    EXPECT_EQ(Customers->GetRecNo(), 3);
    EXPECT_EQ(Form->GetList()->GetItemIndex(), 2);
    EXPECT_EQ(Customers->FieldByName(C.Column)->GetAsString(), C.Value);
    EXPECT_EQ(Form->GetGrid()->GetInplaceEditor()->GetText(), C.Value);
    EXPECT_NE(Form->GetStatus()->GetLine().find("constraint"), std::string::npos)
        << Form->GetStatus()->GetLine();
    EXPECT_EQ(Stored(std::string("SELECT ") + C.Column + " FROM customers WHERE id = 3"), Before);
    Form->GetGrid()->SetFocus();
    D.KeyStroke(VK_ESCAPE);  // Escape on the grid drops the record's edits
    EXPECT_EQ(Customers->GetState(), dsBrowse);
  }
  TypeInto("Age", "41");  // a good value is kept, by moving on
  ChooseCustomer(7);
  EXPECT_EQ(Stored("SELECT age FROM customers WHERE id = 3"), "41");
  EXPECT_EQ(Form->GetStatus()->GetLine().find("constraint"), std::string::npos);
}

TEST_F(CustomerFormTest, TheLayoutFollowsTheWindowAndTheWheelMovesThreeRows) {
  Form->SetBounds(0, 0, 900, 620);
  D.RunUntilIdle();
  TRect Client = Form->GetClientRect();
  apps::TStatusLine* Status = Form->GetStatus();
  EXPECT_EQ(Status->GetBoundsRect().Bottom, Client.Bottom);
  EXPECT_EQ(Form->GetGrid()->GetBoundsRect().Right, Client.Right);
  EXPECT_EQ(Form->GetGrid()->GetBoundsRect().Bottom, Status->GetTop());
  EXPECT_EQ(Form->GetList()->GetHeight(), Status->GetTop());
  // The status line is painted where it now lies: its top edge, not a stale strip.
  TPoint Edge = D.ToScreen(Status, 100, 0);
  EXPECT_EQ(D.ScreenPixel(Edge.X, Edge.Y) & 0xFFFFFF, ColorToPixel(clBtnShadow) & 0xFFFFFF);
  demo::TCustomerList* List = Form->GetList();
  D.MouseWheelAt(List, 20, 20, -120);
  EXPECT_EQ(List->GetTopIndex(), 3);
  D.MouseWheelAt(List, 20, 20, 240);
  EXPECT_EQ(List->GetTopIndex(), 0);
  TPlumbGrid* Grid = Form->GetGrid();
  Form->SetBounds(0, 0, 900, 200);  // fewer rows than the grid has
  D.RunUntilIdle();
  for (int I = 0; I < 5; ++I) D.MouseWheelAt(Grid, 100, 20, -120);
  Integer Top = Grid->GetTopRow();
  EXPECT_GT(Top, 0);
  EXPECT_EQ(Top % 3 == 0 || Top + Grid->GetVisibleRowCount() >= Grid->GetColumns()->Count(), true);
  D.MouseWheelAt(Grid, 100, 20, 120 * 10);
  EXPECT_EQ(Grid->GetTopRow(), 0);
}

}  // namespace plumb::test
