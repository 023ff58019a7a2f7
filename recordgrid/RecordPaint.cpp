// Title and value cells. The paint cycle has filled the cell; this writes its text with one
// clipped, opaque text output: the title indented by tree level behind its sign, the value
// of the current record (or the free value, or what OnGetText makes of either) aligned per
// column.
#include "recordgrid/uPlumbGrid.h"

namespace plumb {

namespace {

// Two spaces a level, then "- " before an expanded parent, "+" before a collapsed one and two
// spaces before a leaf.
std::string TitleText(const TColumn* Column) {
  std::string Text(size_t(Column->GetIndentLevel()) * 2, ' ');
  if (Column->GetHasChildren())
    Text += Column->GetExpanded() ? "- " : "+";
  else
    Text += "  ";
  return Text + Column->GetTitle();
}

}  // namespace

std::string TPlumbGrid::ValueText(TColumn* Column, Integer ACol, Integer ARow) {
  std::string Text;
  if (TField* Field = Column->GetField()) {
    TDataSet* DataSet = LinkedDataSet();
    if (FieldShowsPlaceholder(Field)) {
      Text = FieldPlaceholderText(Field);
    } else if (DataSet && DataSet->GetActive()) {
      // Looked up by name in the data set shown; a paint never raises for a field it lacks.
      if (TField* Shown = DataSet->FindField(Column->GetFieldName())) Text = Shown->GetAsString();
    }
  } else if (!Column->GetFreeValue().IsEmpty()) {
    Text = Column->GetFreeValue().ToString();
  }
  if (Column->OnGetText) {
    Variant V = Text;
    Column->OnGetText(this, ACol, ARow, Column->GetPickList(), V);
    Text = V.ToString();
  }
  return Text;
}

void TPlumbGrid::DrawCell(Integer ACol, Integer ARow, TRect ARect, TGridDrawState AState) {
  std::string Text;
  TAlignment Alignment = taLeftJustify;
  TColor Colour = ACol == 1 ? FValueColor : FTitleColor;
  if (ARow >= 0 && ARow < FColumnList->Count()) {
    TColumn* Column = FColumnList->GetColumn(ARow);
    if (ACol == 0) {
      Text = TitleText(Column);
    } else {
      Alignment = Column->GetAlignment();
      Text = ValueText(Column, ACol, ARow);
    }
  }
  --ARect.Right;
  WriteCellText(ARect, 2, 2, Text, Alignment, Colour, AState);
}

void TPlumbGrid::WriteCellText(const TRect& ARect, Integer TextDX, Integer TextDY,
                               const std::string& Text, TAlignment Alignment, TColor Colour,
                               TGridDrawState AState) {
  TCanvas* Canvas = GetCanvas();
  TFont* Font = Canvas->Font();
  TColor Saved = Font->GetColor();
  bool Selected = AState.Contains(gdSelected) && FOptionSet.Contains(goDrawFocusSelected);
  Font->SetColor(Selected ? clCaptionText : Colour);
  Integer X = ARect.Left + TextDX;
  if (Alignment == taRightJustify)
    X = ARect.Right - Canvas->TextWidth(Text) - 3;
  else if (Alignment == taCenter)
    X = ARect.Left + (ARect.Right - ARect.Left) / 2 - Canvas->TextWidth(Text) / 2;
  HDC DC = Canvas->GetHandle();
  SetTextColor(DC, Font->GetColor());
  SetBkColor(DC, Canvas->Brush()->GetColor());
  ExtTextOut(DC, X, ARect.Top + TextDY, ETO_CLIPPED | ETO_OPAQUE, &ARect, Text);
  Font->SetColor(Saved);
}

}  // namespace plumb
