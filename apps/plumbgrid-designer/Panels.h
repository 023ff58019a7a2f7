#pragma once
// The plain parts of the designer window: a pane that holds other controls, the desk the
// designed form lies on (with the form's title strip above it), and the status line.
#include <string>

#include "apps/common/StatusLine.h"
#include "controls/Controls.h"
#include "recordgrid/uPlumbGrid.h"

namespace designer {

// A container on the button face.
class TPane : public plumb::TCustomControl {
  PLUMB_CLASS(TPane, plumb::TCustomControl)
  explicit TPane(plumb::TComponent* AOwner);

 protected:
  void Paint() override;
};

// The work space behind the designed form. The form lives in Area, a window at a margin from
// the desk's corner; above it the desk draws a title strip with the form's name, and a
// modified form shows a star.
class TDesk : public plumb::TCustomControl {
  PLUMB_CLASS(TDesk, plumb::TCustomControl)
  explicit TDesk(plumb::TComponent* AOwner);

  plumb::TWinControl* GetArea() const { return FArea; }
  // Sizes the area to hold a form of that extent (its right and bottom edge).
  void FitArea(plumb::Integer Right, plumb::Integer Bottom);
  void SetTitle(const std::string& Value);
  const std::string& GetTitle() const { return FTitle; }

 protected:
  void Paint() override;

 private:
  plumb::TCustomControl* FArea;
  std::string FTitle;
};

// A record grid of one free-value row: the designer's object row.
class TOneRowGrid : public plumb::TPlumbGrid {
  PLUMB_CLASS(TOneRowGrid, plumb::TPlumbGrid)
  explicit TOneRowGrid(plumb::TComponent* AOwner);
  plumb::TColumn* GetLine() const { return GetColumns()->GetColumn(0); }
  void SetTitleWidth(plumb::Integer Width) { SetColWidths(0, Width); }
  // Shows Value in the row, and in its editor unless the user is typing there.
  void SetValue(const std::string& Value);
};

using apps::TStatusLine;

}  // namespace designer
