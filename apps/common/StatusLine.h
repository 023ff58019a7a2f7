#pragma once
// A status line: one line of text along the bottom of a form, on the button face (the demo's
// and the designer's).
#include <string>

#include "controls/Controls.h"

namespace apps {

class TStatusLine : public plumb::TCustomControl {
  PLUMB_CLASS(TStatusLine, plumb::TCustomControl)
  explicit TStatusLine(plumb::TComponent* AOwner);

  const std::string& GetLine() const { return FLine; }
  void SetLine(const std::string& Value);

 protected:
  void Paint() override;

 private:
  std::string FLine;
};

}  // namespace apps
