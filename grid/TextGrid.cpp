#include "grid/TextGrid.h"

namespace plumb {

std::string TTextGrid::GetTitle(Integer ARow) const {
  return "Row " + std::to_string(ARow + 1);
}

std::string TTextGrid::GetValue(Integer ARow) const {
  auto It = FValues.find(ARow);
  return It != FValues.end() ? It->second : "Value " + std::to_string(ARow + 1);
}

void TTextGrid::SetValue(Integer ARow, const std::string& Value) {
  FValues[ARow] = Value;
  InvalidateRow(ARow);
}

void TTextGrid::DrawCell(Integer ACol, Integer ARow, TRect ARect, TGridDrawState AState) {
  (void)AState;
  TCanvas* Canvas = GetCanvas();
  std::string Text = ACol == 0 ? GetTitle(ARow) : GetValue(ARow);
  HDC DC = Canvas->GetHandle();
  SetTextColor(DC, Canvas->Font()->GetColor());
  SetBkColor(DC, Canvas->Brush()->GetColor());
  ExtTextOut(DC, ARect.Left + TextDX, ARect.Top + TextDY, ETO_CLIPPED | ETO_OPAQUE, &ARect, Text);
}

std::string TTextGrid::GetEditText(Integer ACol, Integer ARow) {
  (void)ACol;
  return GetValue(ARow);
}

void TTextGrid::SetEditText(Integer ACol, Integer ARow, const std::string& Value) {
  (void)ACol;
  if (GetValue(ARow) != Value) FValues[ARow] = Value;
}

}  // namespace plumb
