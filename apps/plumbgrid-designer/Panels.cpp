#include "Panels.h"

namespace designer {

using namespace plumb;

namespace {
constexpr Integer Margin = 16, TitleHeight = 22;
}  // namespace

TPane::TPane(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clBtnFace);
  SetControlStyle(GetControlStyle() + TControlStyle{csAcceptsControls});
}

void TPane::Paint() {
  GetCanvas()->Brush()->SetColor(GetColor());
  GetCanvas()->FillRect(GetClientRect());
}

// ---- The desk --------------------------------------------------------------------------------

TDesk::TDesk(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clAppWorkSpace);
  FArea = new TPane(this);
  FArea->SetParent(this);
  FArea->SetColor(clAppWorkSpace);
  FArea->SetBounds(Margin, Margin + TitleHeight, 100, 100);
}

void TDesk::FitArea(Integer Right, Integer Bottom) {
  FArea->SetBounds(Margin, Margin + TitleHeight, Right, Bottom);
  Invalidate();
}

void TDesk::SetTitle(const std::string& Value) {
  if (Value == FTitle) return;
  FTitle = Value;
  Invalidate();
}

void TDesk::Paint() {
  TCanvas* C = GetCanvas();
  C->Brush()->SetColor(GetColor());
  C->FillRect(GetClientRect());
  TRect Strip{Margin, Margin, Margin + FArea->GetWidth(), Margin + TitleHeight};
  C->Brush()->SetColor(clActiveCaption);
  C->FillRect(Strip);
  C->Font()->Assign(GetFont());
  C->Font()->SetColor(clCaptionText);
  C->Font()->SetStyle(TFontStyles{fsBold});
  C->TextRect(Strip, Strip.Left + 8, Strip.Top + (TitleHeight - C->TextHeight(FTitle)) / 2, FTitle);
}

// ---- The object row -------------------------------------------------------------------------

TOneRowGrid::TOneRowGrid(TComponent* AOwner) : TPlumbGrid(AOwner) {
  SetColor(clWindow);
  SetHeight(GetRowHeight() + 5);
  GetColumns()->Add()->SetText("");
  SetEditorMode(true);
}

void TOneRowGrid::SetValue(const std::string& Value) {
  GetLine()->SetFreeValue(Value);
  Invalidate();
  // An editor showing the old value would write it back when it closes; one being typed in
  // stores its own text when it commits.
  TInplaceEdit* Editor = GetInplaceEditor();
  if (Editor && Editor->Visible() && !Editor->GetModified()) Editor->UpdateContents();
}

}  // namespace designer
