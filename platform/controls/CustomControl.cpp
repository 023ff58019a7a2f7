// TControlCanvas and TCustomControl: a control that paints itself.
#include <algorithm>

#include "controls/Controls.h"

namespace plumb {

namespace {
std::vector<TControlCanvas*>& CanvasesWithDC() {
  static std::vector<TControlCanvas*> L;
  return L;
}
}  // namespace

// ---- TControlCanvas --------------------------------------------------------------------------
TControlCanvas::~TControlCanvas() {
  FreeHandle();
}

void TControlCanvas::SetControl(TWinControl* Value) {
  if (FControl == Value) return;
  FreeHandle();
  FControl = Value;
}

void TControlCanvas::NeedHandle() {
  if (HandleAllocated() || !FControl || !FControl->HandleAllocated()) return;
  FOwnWnd = FControl->GetHandle();
  FOwnDC = GetDC(FOwnWnd);
  if (!FOwnDC) return;
  SetHandle(FOwnDC);
  CanvasesWithDC().push_back(this);
}

void TControlCanvas::FreeHandle() {
  if (!FOwnDC) return;
  SetHandle(nullptr);
  ReleaseDC(FOwnWnd, FOwnDC);
  FOwnDC = nullptr;
  auto& L = CanvasesWithDC();
  L.erase(std::remove(L.begin(), L.end(), this), L.end());
}

void TControlCanvas::FreeDeviceContexts() {
  while (!CanvasesWithDC().empty()) CanvasesWithDC().back()->FreeHandle();
}

// ---- TCustomControl --------------------------------------------------------------------------
TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
  FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl() {
  FCanvas->SetControl(nullptr);
}

TCanvas* TCustomControl::GetCanvas() {
  FCanvas->NeedHandle();
  return FCanvas.get();
}

void TCustomControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT)
    WMPaint(Message);
  else
    inherited::Dispatch(Message);
}

void TCustomControl::WMPaint(TMessage& Message) {
  FControlState.Include(csCustomPaint);
  try {
    TWinControl::WMPaint(Message);
  } catch (...) {
    FControlState.Exclude(csCustomPaint);
    throw;
  }
  FControlState.Exclude(csCustomPaint);
}

// Paint draws through the canvas on the paint's DC, clipped to what needs painting.
void TCustomControl::PaintWindow(HDC DC) {
  FCanvas->FreeHandle();
  FCanvas->SetHandle(DC);
  try {
    Paint();
  } catch (...) {
    FCanvas->SetHandle(nullptr);
    throw;
  }
  FCanvas->SetHandle(nullptr);
}

}  // namespace plumb
