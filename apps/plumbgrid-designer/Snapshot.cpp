#include "Snapshot.h"

namespace designer {

using namespace plumb;

namespace {

TPlumbGrid* FirstGrid(TForm* Form) {
  for (int I = 0; Form && I < Form->GetComponentCount(); ++I)
    if (auto* Grid = dynamic_cast<TPlumbGrid*>(Form->GetComponents(I))) return Grid;
  return nullptr;
}

// The second bound column, else the first: a row inside a group shows the tree best.
TColumn* BoundColumn(TPlumbGrid* Grid) {
  TColumn* Found = nullptr;
  int Bound = 0;
  for (int I = 0; I < Grid->GetColumns()->Count(); ++I) {
    TColumn* C = Grid->GetColumns()->GetColumn(I);
    if (C->GetFieldName().empty()) continue;
    Found = C;
    if (++Bound == 2) break;
  }
  return Found;
}

}  // namespace

bool PrepareSnapshotScene(THeadlessDesktop& Desktop, TDesignerWindow* Window) {
  TPlumbGrid* Grid = FirstGrid(Window->GetSurface()->GetForm());
  TColumn* Column = Grid ? BoundColumn(Grid) : nullptr;
  if (!Column) return false;
  TRect Title = Grid->CellRect(0, Column->GetIndex());
  Desktop.ClickAt(Grid, Title.Left + 30, (Title.Top + Title.Bottom) / 2);
  TObjectInspector* Inspector = Window->GetInspector();
  Integer Row = Inspector->ShowPath("FieldName");
  if (Row < 0) return false;
  TRect Value = Inspector->CellRect(1, Row);
  Desktop.ClickAt(Inspector, Value.Left + 20, (Value.Top + Value.Bottom) / 2);
  Desktop.KeyStroke(VK_DOWN, {ssAlt});
  Desktop.RunUntilIdle();
  return true;
}

}  // namespace designer
