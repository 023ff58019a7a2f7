#include "PaletteBar.h"

#include "design/Palette.h"

namespace designer {

using namespace plumb;

namespace {

constexpr Integer TabTop = 4, TabHeight = 22, ButtonTop = TabTop + TabHeight + 4;
constexpr Integer ButtonSize = 30, LabelWidth = 96;

}  // namespace

TPaletteBar::TPaletteBar(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clBtnFace);
  SetHeight(ButtonTop + ButtonSize + 6);
}

void TPaletteBar::SetPage(const std::string& Value) {
  FPage = Value;
  Invalidate();
}

void TPaletteBar::SetArmed(TClass Value) {
  if (Value == FArmed) return;
  FArmed = Value;
  Invalidate();
}

void TPaletteBar::SetNote(const std::string& Value) {
  FNote = Value;
  Invalidate();
}

int TPaletteBar::PageIndex() const {
  const auto& Pages = GetPalettePages();
  for (size_t I = 0; I < Pages.size(); ++I)
    if (SameText(Pages[I].Name, FPage)) return int(I);
  return Pages.empty() ? -1 : 0;
}

TRect TPaletteBar::TabRect(int Index) {
  const auto& Pages = GetPalettePages();
  Integer Left = 6;
  for (int I = 0; I < Index && I < int(Pages.size()); ++I)
    Left += GetCanvas()->TextWidth(Pages[size_t(I)].Name) + 20;
  Integer Width = Index < int(Pages.size()) ? GetCanvas()->TextWidth(Pages[size_t(Index)].Name) : 0;
  return TRect{Left, TabTop, Left + Width + 18, TabTop + TabHeight};
}

TRect TPaletteBar::ButtonRect(int Index) {
  Integer Left = 8 + Index * (ButtonSize + LabelWidth);
  return TRect{Left, ButtonTop, Left + ButtonSize, ButtonTop + ButtonSize};
}

void TPaletteBar::Paint() {
  TCanvas* C = GetCanvas();
  C->Font()->Assign(GetFont());
  C->Brush()->SetColor(GetColor());
  C->FillRect(GetClientRect());
  PaintTabs(C);
  PaintButtons(C);
  C->Brush()->SetStyle(bsClear);
  Integer Right = GetClientWidth() - 10 - C->TextWidth(FNote);
  C->TextOut(Right, ButtonTop + (ButtonSize - C->TextHeight(FNote)) / 2, FNote);
  C->Brush()->SetStyle(bsSolid);
  C->Pen()->SetColor(clBtnShadow);
  C->MoveTo(0, GetClientHeight() - 1);
  C->LineTo(GetClientWidth(), GetClientHeight() - 1);
}

// The page shown is a raised tab on the window colour; the others lie flat.
void TPaletteBar::PaintTabs(TCanvas* C) {
  const auto& Pages = GetPalettePages();
  for (int I = 0; I < int(Pages.size()); ++I) {
    TRect R = TabRect(I);
    bool Shown = I == PageIndex();
    C->Brush()->SetColor(Shown ? clWindow : clBtnFace);
    C->FillRect(R);
    TRect Edge = R;
    if (Shown) DrawEdge(C->GetHandle(), Edge, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT);
    C->TextRect(R, R.Left + 9, R.Top + (R.Height() - C->TextHeight(Pages[size_t(I)].Name)) / 2,
                Pages[size_t(I)].Name);
  }
}

void TPaletteBar::PaintButtons(TCanvas* C) {
  int Page = PageIndex();
  if (Page < 0) return;
  const TPalettePage& P = GetPalettePages()[size_t(Page)];
  for (int I = 0; I < int(P.Items.size()); ++I) {
    const TPaletteItem& Item = P.Items[size_t(I)];
    TRect R = ButtonRect(I);
    bool Armed = Item.ComponentClass == FArmed;
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(R);
    TRect Edge = R;
    DrawEdge(C->GetHandle(), Edge, Armed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    Integer Shift = Armed ? 1 : 0;
    if (!Item.Image.Empty())
      C->Draw(R.Left + (ButtonSize - Item.Image.Pixels.Width()) / 2 + Shift,
              R.Top + (ButtonSize - Item.Image.Pixels.Height()) / 2 + Shift, Item.Image.Pixels);
    std::string Name = Item.ComponentClass->Name;
    TRect Label{R.Right + 6, R.Top, R.Right + LabelWidth - 4, R.Bottom};
    C->TextRect(Label, Label.Left, Label.Top + (ButtonSize - C->TextHeight(Name)) / 2, Name);
  }
}

void TPaletteBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const auto& Pages = GetPalettePages();
  for (int I = 0; I < int(Pages.size()); ++I)
    if (PtInRect(TabRect(I), TPoint{X, Y})) return SetPage(Pages[size_t(I)].Name);
  int Page = PageIndex();
  if (Page < 0) return;
  const TPalettePage& P = Pages[size_t(Page)];
  for (int I = 0; I < int(P.Items.size()); ++I) {
    if (!PtInRect(ButtonRect(I), TPoint{X, Y})) continue;
    TClass Class = P.Items[size_t(I)].ComponentClass;
    SetArmed(Class == FArmed ? nullptr : Class);
    if (OnArm) OnArm(FArmed);
  }
}

}  // namespace designer
