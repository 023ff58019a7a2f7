#pragma once
// A headless desktop with a form and a TTextGrid on it whose hooks write to a log, so that
// tests can drive the grid as a user and a host do and read back what happened.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "backends/headless/Headless.h"
#include "controls/Forms.h"
#include "grid/TextGrid.h"

namespace plumb::test {

class TLoggingGrid : public TTextGrid {
  PLUMB_CLASS(TLoggingGrid, TTextGrid)
  explicit TLoggingGrid(TComponent* AOwner) : TTextGrid(AOwner) {}

  std::vector<std::string> Log;
  std::set<Integer> RefusedRows;
  int SizeChanges = 0;
  int Clicks = 0;

  // What the tests drive and read back beyond what a host may.
  using TCustomPlumbGrid::CalcDrawInfoXY;
  using TCustomPlumbGrid::GetBorderStyle;
  using TCustomPlumbGrid::GetColCount;
  using TCustomPlumbGrid::GetColWidths;
  using TCustomPlumbGrid::GetDefaultColWidth;
  using TCustomPlumbGrid::GetEditorMode;
  using TCustomPlumbGrid::GetFixedColor;
  using TCustomPlumbGrid::GetFixedCols;
  using TCustomPlumbGrid::GetFixedRows;
  using TCustomPlumbGrid::GetFocusBorder;
  using TCustomPlumbGrid::GetGridLineWidth;
  using TCustomPlumbGrid::GetGridState;
  using TCustomPlumbGrid::GetHorzPixelScroll;
  using TCustomPlumbGrid::GetOptions;
  using TCustomPlumbGrid::GetRowCount;
  using TCustomPlumbGrid::GetRowHeight;
  using TCustomPlumbGrid::GetScrollBars;
  using TCustomPlumbGrid::GetTabStops;
  using TCustomPlumbGrid::MoveTopLeft;
  using TCustomPlumbGrid::Reset;
  using TCustomPlumbGrid::SetColCount;
  using TCustomPlumbGrid::SetDefaultColWidth;
  using TCustomPlumbGrid::SetDefaultRowHeight;
  using TCustomPlumbGrid::SetFixedColor;
  using TCustomPlumbGrid::SetFixedCols;
  using TCustomPlumbGrid::SetFixedRows;
  using TCustomPlumbGrid::SetFocusBorder;
  using TCustomPlumbGrid::SetGridLineWidth;
  using TCustomPlumbGrid::SetOptions;
  using TCustomPlumbGrid::SetScrollBars;
  using TCustomPlumbGrid::SetTabStops;
  using TCustomPlumbGrid::Sizing;
  using TCustomPlumbGrid::TimedScroll;
  using TCustomPlumbGrid::UpdateEdit;

  std::vector<std::string> Take() {
    std::vector<std::string> R;
    R.swap(Log);
    return R;
  }

 protected:
  void ColEnter() override { Log.push_back("ColEnter " + std::to_string(GetRow())); }
  void ColExit() override { Log.push_back("ColExit " + std::to_string(GetRow())); }
  bool SelectCell(Integer ACol, Integer ARow) override {
    Log.push_back("SelectCell " + std::to_string(ARow));
    (void)ACol;
    return !RefusedRows.count(ARow);
  }
  void TopLeftChanged() override {
    TTextGrid::TopLeftChanged();
    Log.push_back("TopLeftChanged " + std::to_string(GetTopRow()));
  }
  void SizeChanged(Integer OldColCount, Integer OldRowCount) override {
    TTextGrid::SizeChanged(OldColCount, OldRowCount);
    ++SizeChanges;
  }
  void SetEditText(Integer ACol, Integer ARow, const std::string& Value) override {
    Log.push_back("SetEditText " + std::to_string(ARow) + " " + Value);
    TTextGrid::SetEditText(ACol, ARow, Value);
  }
  std::string GetEditText(Integer ACol, Integer ARow) override {
    Log.push_back("GetEditText " + std::to_string(ARow));
    return TTextGrid::GetEditText(ACol, ARow);
  }
  void Click() override {
    ++Clicks;
    TTextGrid::Click();
  }
};

class GridTest : public ::testing::Test {
 protected:
  THeadlessDesktop D{1024, 768};
  TForm* Form = nullptr;
  TLoggingGrid* Grid = nullptr;

  void SetUp() override {
    Application->OnException = nullptr;
    Form = new TForm(nullptr);
    Form->SetBounds(20, 20, 600, 500);
    Form->Show();
    Grid = new TLoggingGrid(Form);
    Grid->SetParent(Form);
    D.RunUntilIdle();
  }
  void TearDown() override { delete Form; }

  // Places the grid with the given client size (border and scroll bar come on top).
  void ClientSize(Integer W, Integer H) {
    Grid->SetBounds(10, 10, 300, 300);
    Grid->HandleNeeded();
    TRect Client = Grid->GetClientRect();
    Integer ExtraW = 300 - Client.Width(), ExtraH = 300 - Client.Height();
    Grid->SetBounds(10, 10, W + ExtraW, H + ExtraH);
    D.RunUntilIdle();
  }
  void Focus() {
    Grid->SetFocus();
    D.RunUntilIdle();
  }
  void Key(Word K, TShiftState Shift = {}) { D.KeyStroke(K, Shift); }
};

}  // namespace plumb::test
