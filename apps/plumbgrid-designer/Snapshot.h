#pragma once
// The scene the designer draws without a display: a column of the designed grid chosen with
// the mouse, the inspector on its FieldName row with the list of field names dropped down.
#include "DesignerWindow.h"
#include "backends/headless/Headless.h"

namespace designer {

// False when the form holds no record grid with a bound column to show.
bool PrepareSnapshotScene(plumb::THeadlessDesktop& Desktop, TDesignerWindow* Window);

}  // namespace designer
