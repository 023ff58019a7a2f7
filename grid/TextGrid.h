#pragma once
// TTextGrid: the smallest useful grid. It shows a title per row in the fixed column and an
// editable text per row in the data column; rows that were never edited show a text made
// from their number, so a grid of a million rows costs nothing until it is edited.
#include <string>
#include <unordered_map>

#include "grid/uCPlumbGrd.h"

namespace plumb {

class TTextGrid : public TCustomPlumbGrid {
  PLUMB_CLASS(TTextGrid, TCustomPlumbGrid)
  explicit TTextGrid(TComponent* AOwner) : TCustomPlumbGrid(AOwner) {}

  std::string GetTitle(Integer ARow) const;
  std::string GetValue(Integer ARow) const;
  void SetValue(Integer ARow, const std::string& Value);
  // Gap between a cell's left and top edges and its text.
  static constexpr Integer TextDX = 2, TextDY = 2;

  // What the demo and the benchmarks set up and measure.
  using TCustomPlumbGrid::CellRect;
  using TCustomPlumbGrid::MouseCoord;
  using TCustomPlumbGrid::SetColWidths;
  using TCustomPlumbGrid::SetEditorMode;
  using TCustomPlumbGrid::SetRowCount;

 protected:
  void DrawCell(Integer ACol, Integer ARow, TRect ARect, TGridDrawState AState) override;
  std::string GetEditText(Integer ACol, Integer ARow) override;
  void SetEditText(Integer ACol, Integer ARow, const std::string& Value) override;

 private:
  std::unordered_map<Integer, std::string> FValues;
};

}  // namespace plumb
