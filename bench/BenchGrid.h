#pragma once
// What the grid benchmarks share: a grid sized so that its client area is exactly the size
// measured, and the yardstick a full paint is compared with, one FillRect of that area.
#include "controls/Controls.h"

namespace plumb::bench {

inline void SetClientSize(TWinControl* Control, Integer Width, Integer Height) {
  Control->HandleNeeded();
  TRect C = Control->GetClientRect();
  Control->SetBounds(Control->GetLeft(), Control->GetTop(),
                     Control->GetWidth() + Width - C.Width(),
                     Control->GetHeight() + Height - C.Height());
}

inline void FillClientArea(TCanvas* Canvas, Integer Width, Integer Height) {
  Canvas->Brush()->SetColor(clWindow);
  Canvas->FillRect(TRect{0, 0, Width, Height});
}

}  // namespace plumb::bench
