#pragma once
// The component palette: a tab per page of the design environment's palette and, under the
// chosen page, a button per component class with the image its package gave it. A press on
// a button arms the class (the next press on the form places one); a second press disarms it.
#include <functional>
#include <string>

#include "controls/Controls.h"

namespace designer {

class TPaletteBar : public plumb::TCustomControl {
  PLUMB_CLASS(TPaletteBar, plumb::TCustomControl)
  explicit TPaletteBar(plumb::TComponent* AOwner);

  // The page shown, by name; the first page when it names none.
  const std::string& GetPage() const { return FPage; }
  void SetPage(const std::string& Value);
  plumb::TClass GetArmed() const { return FArmed; }
  void SetArmed(plumb::TClass Value);
  // Client rectangles of a page's tab and of a button of the page shown.
  plumb::TRect TabRect(int Index);
  plumb::TRect ButtonRect(int Index);
  // What the bar says at its right end (the packages loaded).
  void SetNote(const std::string& Value);

  std::function<void(plumb::TClass Class)> OnArm;

 protected:
  void Paint() override;
  void MouseDown(plumb::TMouseButton Button, plumb::TShiftState Shift, plumb::Integer X,
                 plumb::Integer Y) override;

 private:
  int PageIndex() const;
  void PaintTabs(plumb::TCanvas* C);
  void PaintButtons(plumb::TCanvas* C);

  std::string FPage;
  std::string FNote;
  plumb::TClass FArmed = nullptr;
};

}  // namespace designer
