#pragma once
// A headless desktop with a form, a record grid on it bound to an in-memory data set of
// customers, and helpers that build column trees and read back what the grid drew.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backends/headless/Headless.h"
#include "controls/Forms.h"
#include "data/MemDataSet.h"
#include "recordgrid/uPlumbGrid.h"

namespace plumb::test {

// Reaches what the tests check and records the text of every paint.
class TTestGrid : public TPlumbGrid {
  PLUMB_CLASS(TTestGrid, TPlumbGrid)
  explicit TTestGrid(TComponent* AOwner) : TPlumbGrid(AOwner) {}

  std::vector<TTextOutRecord> Drawn;
  using TPlumbGrid::FEditStartedByGrid;
  using TPlumbGrid::GetRowCount;
  using TPlumbGrid::MouseCoord;
  TCellCoord EditorCell() const { return FEditorCell; }
  TColumn* Row(Integer R) const { return GetColumns()->GetColumn(R); }
  // The texts drawn in one column by the last paint, top to bottom.
  std::vector<std::string> Texts(Integer Col) {
    std::vector<std::string> R;
    for (const TTextOutRecord& T : Drawn)
      if (MouseCoord(T.Rect.Left + 1, T.Rect.Top + 1).X == Col) R.push_back(T.Text);
    return R;
  }

 protected:
  void Paint() override {
    Drawn.clear();
    GetCanvas()->GetHandle()->TextLog = &Drawn;
    TPlumbGrid::Paint();
    GetCanvas()->GetHandle()->TextLog = nullptr;
  }
};

struct TColumnPlan {
  std::string FieldName;
  Cardinal Level = 0;
};

class RecordGridTest : public ::testing::Test {
 protected:
  THeadlessDesktop D{1024, 768};
  TForm* Form = nullptr;
  TTestGrid* Grid = nullptr;
  TMemDataSet* Data = nullptr;
  TDataSource* Source = nullptr;

  void SetUp() override {
    Application->OnException = nullptr;
    SysLocale.FarEast = false;
    Form = new TForm(nullptr);
    Form->SetBounds(20, 20, 600, 500);
    Form->Show();
    Data = new TMemDataSet(Form);
    Data->AddFieldDef("Name", ftString);
    Data->AddFieldDef("City", ftString);
    Data->AddFieldDef("Age", ftInteger);
    Data->AddFieldDef("Notes", ftMemo);
    Data->AddFieldDef("Photo", ftBlob);
    Data->Open();
    Data->AppendRecord({"Ann", "Oslo", 31, "first", TBytes{1, 2}});
    Data->AppendRecord({"Bob", "Rome", 45, "second", TBytes{3}});
    Data->AppendRecord({"Cy", "Lima", 27, "third", TBytes{}});
    Data->First();
    Source = new TDataSource(Form);
    Source->SetDataSet(Data);
    Grid = new TTestGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(10, 10, 300, 200);
    D.RunUntilIdle();
  }
  void TearDown() override {
    delete Form;
    SysLocale.FarEast = false;
  }

  // Columns bound to the given fields (titles follow), at the given levels, in order.
  void Build(const std::vector<TColumnPlan>& Plans) {
    for (const TColumnPlan& S : Plans) {
      TColumn* C = Grid->GetColumns()->Add();
      C->SetFieldName(S.FieldName);
      C->SetIndentLevel(S.Level);
    }
  }
  void Bind() {
    Grid->SetDataSource(Source);
    D.RunUntilIdle();
  }
  std::vector<std::string> Titles() {
    std::vector<std::string> R;
    for (int I = 0; I < Grid->GetColumns()->Count(); ++I)
      R.push_back(Grid->GetColumns()->GetColumn(I)->GetTitle());
    return R;
  }
  void Repaint() {
    Grid->Invalidate();
    D.RunUntilIdle();
  }
};

}  // namespace plumb::test
