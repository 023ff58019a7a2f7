#include "StatusLine.h"

namespace apps {

using namespace plumb;

TStatusLine::TStatusLine(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clBtnFace);
  SetHeight(22);
}

void TStatusLine::SetLine(const std::string& Value) {
  if (Value == FLine) return;
  FLine = Value;
  Invalidate();
}

void TStatusLine::Paint() {
  TCanvas* C = GetCanvas();
  TRect R = GetClientRect();
  C->Brush()->SetColor(GetColor());
  C->Font()->Assign(GetFont());
  C->TextRect(R, 6, (R.Height() - C->TextHeight(FLine)) / 2, FLine);
  C->Pen()->SetColor(clBtnShadow);
  C->MoveTo(0, 0);
  C->LineTo(R.Right, 0);
}

}  // namespace apps
