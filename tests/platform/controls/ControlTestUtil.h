#pragma once
// A headless desktop with a shown form, and TProbe: a custom control that logs the messages it
// sees, answers WM_GETDLGCODE and CM_WANTSPECIALKEY as told, and paints itself in one colour.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "backends/headless/Headless.h"
#include "controls/Forms.h"

namespace plumb::test {

class TProbe : public TCustomControl {
  PLUMB_CLASS(TProbe, TCustomControl)
  explicit TProbe(TComponent* AOwner) : TCustomControl(AOwner) { SetTabStop(true); }

  UINT DlgCode = 0;
  bool WantEnter = false;
  DWORD ExtraStyle = 0;
  DWORD ExtraExStyle = 0;
  TColor Fill = clWhite;
  std::function<void(TProbe*)> PaintFn;  // instead of the fill
  std::function<bool(TMessage&)> Hook;   // true: handled, no further dispatch
  std::vector<TMessage> Log;
  std::vector<TRect> PaintClips;  // client coordinates

  std::vector<TMessage> Of(UINT Msg) const {
    std::vector<TMessage> R;
    for (const TMessage& M : Log)
      if (M.Msg == Msg) R.push_back(M);
    return R;
  }
  void WndProc(TMessage& Message) override {
    Log.push_back(Message);
    inherited::WndProc(Message);
  }
  void Dispatch(TMessage& Message) override {
    if (Hook && Hook(Message)) return;
    if (Message.Msg == WM_GETDLGCODE) {
      Message.Result = DlgCode;
      return;
    }
    inherited::Dispatch(Message);
    if (Message.Msg == CM_WANTSPECIALKEY && WantEnter && Message.WParam == VK_RETURN)
      Message.Result = 1;
  }
  using TCustomControl::GetCanvas;

 protected:
  void CreateParams(TCreateParams& Params) override {
    inherited::CreateParams(Params);
    Params.Style |= ExtraStyle;
    Params.ExStyle |= ExtraExStyle;
  }
  void Paint() override {
    HDC DC = GetCanvas()->GetHandle();
    TRect B = DC->Clip.Bounds();
    OffsetRect(B, -DC->Origin.X, -DC->Origin.Y);
    PaintClips.push_back(B);
    if (PaintFn) {
      PaintFn(this);
      return;
    }
    GetCanvas()->Brush()->SetColor(Fill);
    GetCanvas()->FillRect(GetClientRect());
  }
};

class ControlsTest : public ::testing::Test {
 protected:
  THeadlessDesktop D{800, 600};
  TForm* Form = nullptr;

  void SetUp() override {
    Application->OnException = nullptr;
    Form = new TForm(nullptr);
    Form->SetBounds(50, 40, 400, 300);
    Form->Show();
    D.RunUntilIdle();
  }
  void TearDown() override {
    delete Form;
    Application->OnException = nullptr;
  }
  TProbe* AddProbe(TRect R, const std::string& Name = {}) {
    auto* P = new TProbe(Form);
    if (!Name.empty()) P->SetName(Name);
    P->SetBoundsRect(R);
    P->SetParent(Form);
    D.RunUntilIdle();
    return P;
  }
};

}  // namespace plumb::test
