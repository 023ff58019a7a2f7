#pragma once
// The standard controls on a host control that logs the notifications its children send, so
// that tests see WM_COMMAND/EN_CHANGE exactly as a parent (the grid) does.
#include <utility>

#include "ControlTestUtil.h"
#include "controls/MaskEdit.h"
#include "controls/Menus.h"
#include "controls/StdCtrls.h"

namespace plumb::test {

class StdCtrlsTest : public ControlsTest {
 protected:
  TProbe* Host = nullptr;

  void SetUp() override {
    ControlsTest::SetUp();
    Host = AddProbe(Bounds(0, 0, 390, 290), "Host");
    Host->SetTabStop(false);
    SetClipboardText("");
  }
  template <class T>
  T* Add(TRect R) {
    auto* C = new T(Form);
    C->SetBoundsRect(R);
    C->SetParent(Host);
    D.RunUntilIdle();
    return C;
  }
  // EN_CHANGE notifications the host has heard from a child.
  int Changes(TWinControl* Child) const {
    int N = 0;
    for (const TMessage& M : Host->Of(WM_COMMAND))
      if (HIWORD(M.WParam) == EN_CHANGE && HWND(M.LParam) == Child->GetHandle()) ++N;
    return N;
  }
  // The selection as EM_GETSEL reports it.
  static std::pair<DWORD, DWORD> Sel(TWinControl* C) {
    DWORD S = 0, E = 0;
    SendMessage(C->GetHandle(), EM_GETSEL, WPARAM(&S), LPARAM(&E));
    return {S, E};
  }
  static Integer TextWidth(TControl* C, const std::string& S) {
    return FontTextExtent(*C->GetFont(), S).X;
  }
};

}  // namespace plumb::test
