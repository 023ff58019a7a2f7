// TCanvas: the object face of a DC. Pen, brush and font are selected into the DC lazily, when
// a drawing call or a caller asking for the handle needs them.
#include "gfx/Bitmap.h"
#include "gfx/Graphics.h"

namespace plumb {

TCanvas::TCanvas()
    : FPen(std::make_unique<TPen>()),
      FBrush(std::make_unique<TBrush>()),
      FFont(std::make_unique<TFont>()) {
  FPen->OnChange = [this](TObject*) { FState &= uint8_t(~csPenValid); };
  FBrush->OnChange = [this](TObject*) { FState &= uint8_t(~csBrushValid); };
  FFont->OnChange = [this](TObject*) { FState &= uint8_t(~csFontValid); };
}

TCanvas::TCanvas(TSurface* Surface) : TCanvas() {
  FOwnDC = std::make_unique<TDeviceContext>();
  InitDC(*FOwnDC, Surface);
  FHandle = FOwnDC.get();
}

TCanvas::~TCanvas() = default;

HDC TCanvas::GetHandle() {
  RequiredState();
  return FHandle;
}

void TCanvas::SetHandle(HDC Value) {
  FHandle = Value;
  FState = 0;
}

void TCanvas::RequiredState() {
  if (!FHandle) return;
  if (!(FState & csPenValid)) {
    FHandle->Pen = FPen->GetHandle();
    FHandle->PenMode = FPen->GetMode();
    FHandle->PenStyle = FPen->GetStyle();
  }
  if (!(FState & csBrushValid)) {
    FHandle->BrushColor = FBrush->GetColor();
    FHandle->BrushClear = FBrush->GetStyle() == bsClear;
    FHandle->BkColor = FBrush->GetColor();
  }
  if (!(FState & csFontValid)) {
    FHandle->Font.Assign(FFont.get());
    FHandle->TextColor = FFont->GetColor();
  }
  FState = csPenValid | csBrushValid | csFontValid;
}

TPoint TCanvas::GetPenPos() const {
  return FHandle ? FHandle->PenPos : TPoint{};
}

void TCanvas::SetPenPos(TPoint Value) {
  MoveTo(Value.X, Value.Y);
}

void TCanvas::FillRect(const TRect& R) {
  RequiredState();
  if (FBrush->GetStyle() != bsClear) ::plumb::FillRect(FHandle, R, FBrush->GetColor());
}

void TCanvas::FrameRect(const TRect& R) {
  RequiredState();
  if (IsRectEmpty(R)) return;
  TColor C = FBrush->GetColor();
  ::plumb::FillRect(FHandle, TRect{R.Left, R.Top, R.Right, R.Top + 1}, C);
  ::plumb::FillRect(FHandle, TRect{R.Left, R.Bottom - 1, R.Right, R.Bottom}, C);
  ::plumb::FillRect(FHandle, TRect{R.Left, R.Top + 1, R.Left + 1, R.Bottom - 1}, C);
  ::plumb::FillRect(FHandle, TRect{R.Right - 1, R.Top + 1, R.Right, R.Bottom - 1}, C);
}

void TCanvas::Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  RequiredState();
  if (X2 <= X1 || Y2 <= Y1) return;
  if (FBrush->GetStyle() != bsClear)
    ::plumb::FillRect(FHandle, TRect{X1, Y1, X2, Y2}, FBrush->GetColor());
  TPoint Outline[5] = {{X1, Y1}, {X2 - 1, Y1}, {X2 - 1, Y2 - 1}, {X1, Y2 - 1}, {X1, Y1}};
  ::plumb::Polyline(FHandle, Outline, 5);
}

void TCanvas::MoveTo(Integer X, Integer Y) {
  RequiredState();
  MoveToEx(FHandle, X, Y);
}

void TCanvas::LineTo(Integer X, Integer Y) {
  RequiredState();
  ::plumb::LineTo(FHandle, X, Y);
}

void TCanvas::Polyline(const std::vector<TPoint>& Points) {
  RequiredState();
  ::plumb::Polyline(FHandle, Points.data(), int(Points.size()));
}

void TCanvas::TextOut(Integer X, Integer Y, const std::string& Text) {
  RequiredState();
  TPoint Size = TextExtent(Text);
  TRect R = Bounds(X, Y, Size.X, Size.Y);
  UINT Options = FBrush->GetStyle() == bsClear ? 0u : UINT(ETO_OPAQUE);
  ExtTextOut(FHandle, X, Y, Options, &R, Text);
  MoveToEx(FHandle, X + Size.X, Y);
}

void TCanvas::TextRect(const TRect& R, Integer X, Integer Y, const std::string& Text) {
  RequiredState();
  UINT Options = ETO_CLIPPED | (FBrush->GetStyle() == bsClear ? 0u : UINT(ETO_OPAQUE));
  ExtTextOut(FHandle, X, Y, Options, &R, Text);
}

Integer TCanvas::TextWidth(const std::string& Text) {
  return TextExtent(Text).X;
}

Integer TCanvas::TextHeight(const std::string& Text) {
  return TextExtent(Text).Y;
}

TPoint TCanvas::TextExtent(const std::string& Text) {
  return FontTextExtent(*FFont, Text);
}

void TCanvas::Draw(Integer X, Integer Y, const TSurface& Graphic) {
  DrawSurface(FHandle, X, Y, Graphic);
}

}  // namespace plumb
