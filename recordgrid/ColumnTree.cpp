// The column tree: indent levels, collapsing and expanding, moves and the design-time
// relayout.
//
// Collapsing at run time moves the run of descendants that follows a column out of the
// grid's collection into hidden-children collections: an expanded descendant with children of
// its own is collapsed on the way and keeps those. The whole run is taken in one step and
// handed out with an explicit stack, so a parent of a hundred thousand descendants, or a tree
// a hundred thousand levels deep, costs one pass and no deep recursion.
#include "recordgrid/uPlumbGrid.h"

namespace plumb {

namespace {

TColumn* ItemAt(TCollection* C, int Index) {
  return static_cast<TColumn*>(C->GetItem(Index));
}

}  // namespace

// ---- Indent level ----------------------------------------------------------------------------

void TColumn::SetIndentLevel(Cardinal Value) {
  TCollection* C = GetCollection();
  int I = GetIndex();
  if (I == 0) {
    Value = 0;
  } else if (I > 0) {
    Cardinal Before = ItemAt(C, I - 1)->FLevel;
    if (Value > Before + 1) Value = Before + 1;
  }
  if (Value == FLevel) return;
  FLevel = Value;
  if (Value > 0) {
    for (int J = I - 1; J >= 0; --J)
      if (ItemAt(C, J)->FLevel < Value) {
        ItemAt(C, J)->FHasChildren = true;
        break;
      }
  } else if (I >= 0) {
    if (I > 0) ItemAt(C, I - 1)->FHasChildren = false;
    FHasChildren = I + 1 < C->Count() && ItemAt(C, I + 1)->FLevel > 0;
  }
  if (TPlumbGrid* Grid = GetGrid()) Grid->Invalidate();
}

// ---- Collapse and expand ---------------------------------------------------------------------

void TColumn::SetExpanded(bool Value) {
  if (Value == FIsExpanded) return;
  TPlumbGrid* Grid = GetGrid();
  bool Designing = Grid && Grid->IsDesigning();
  auto Change = [&] {
    FIsExpanded = Value;
    if (Value)
      ExpandAtRunTime();
    else if (Designing)
      CollapseAtDesignTime();
    else
      CollapseAtRunTime();
    TreeChanged();
  };
  if (Grid && InGridColumns())
    Grid->WithRowsChange(Change);
  else
    Change();
}

void TColumn::TreeChanged() {
  if (TPlumbGrid* Grid = GetGrid()) {
    Grid->SyncRowCount();
    Grid->Invalidate();
  }
}

void TColumn::ExpandAtRunTime() {
  TCollection* C = GetCollection();
  if (!C || FHiddenChildren->Count() == 0) return;
  std::vector<TCollectionItem*> Run = FHiddenChildren->TakeItems(0, FHiddenChildren->Count());
  C->BeginUpdate();
  C->PlaceItems(GetIndex() + 1, Run);
  C->EndUpdate();
}

// What one collapse does, column by column: each column after this one at a greater level goes
// into the hidden children of the nearest collapsing column above it. A column that is
// expanded and followed by a column more than one level below the collapsing one collapses
// too, and takes the columns below it.
void TColumn::CollapseAtRunTime() {
  TCollection* C = GetCollection();
  if (!C) return;
  int P = GetIndex(), End = P + 1, N = C->Count();
  while (End < N && ItemAt(C, End)->FLevel > FLevel) ++End;
  if (End == P + 1) return;
  C->BeginUpdate();
  std::vector<TCollectionItem*> Run = C->TakeItems(P + 1, End - P - 1);
  struct TFrame {
    TColumn* Column;
    std::vector<TCollectionItem*> Hidden;
  };
  std::vector<TFrame> Stack{{this, {}}};
  auto Close = [&Stack] {
    TFrame& Top = Stack.back();
    TPlumbGridColumns* Into = Top.Column->FHiddenChildren.get();
    Into->PlaceItems(Into->Count(), Top.Hidden);
    Stack.pop_back();
  };
  for (size_t I = 0; I < Run.size(); ++I) {
    auto* X = static_cast<TColumn*>(Run[I]);
    while (X->FLevel <= Stack.back().Column->FLevel) Close();
    TColumn* Collapsing = Stack.back().Column;
    Stack.back().Hidden.push_back(X);
    auto* Next = I + 1 < Run.size() ? static_cast<TColumn*>(Run[I + 1]) : nullptr;
    if (X->FIsExpanded && Next && Next->FLevel > Collapsing->FLevel + 1) {
      X->FIsExpanded = false;
      Stack.push_back({X, {}});
    }
  }
  while (!Stack.empty()) Close();
  C->EndUpdate();
}

// At design time every row stays; the descendants with children only lose their Expanded.
void TColumn::CollapseAtDesignTime() {
  TCollection* C = GetCollection();
  if (!C) return;
  for (int I = GetIndex() + 1; I < C->Count() && ItemAt(C, I)->FLevel > FLevel; ++I) {
    TColumn* X = ItemAt(C, I);
    if (X->FHasChildren) X->FIsExpanded = false;
  }
}

// ---- Moves and relayout ----------------------------------------------------------------------

void TColumn::SetIndex(int Value) {
  TPlumbGrid* Grid = GetGrid();
  auto Move = [&] {
    TCollectionItem::SetIndex(Value);
    if (Grid && Grid->IsDesigning() && InGridColumns()) {
      if (Value == 0 && FLevel > 0) SetIndentLevel(0);
      ItemAt(GetCollection(), 0)->SetParentAndLevel();
    }
    if (Grid) Grid->Invalidate();
  };
  if (Grid && InGridColumns())
    Grid->WithRowsChange(Move);
  else
    Move();
}

// Walks the run of columns from this one: every column deeper than the level above it plus
// one is lifted, and a column has children exactly when the next one is deeper. The levels
// of the runs being walked are kept on a stack instead of the call stack.
Integer TColumn::SetParentAndLevel() {
  TCollection* C = GetCollection();
  if (!C) return -1;
  C->BeginUpdate();
  std::vector<Cardinal> Levels{FLevel};
  int I = GetIndex();
  while (I < C->Count()) {
    TColumn* X = ItemAt(C, I);
    X->FHasChildren = false;
    Cardinal Top = Levels.back();
    if (X->FLevel > Top) {
      if (X->FLevel > Top + 1) X->SetIndentLevel(Top + 1);
      ItemAt(C, I - 1)->FHasChildren = true;
      Levels.push_back(X->FLevel);  // X's own run starts with X itself
      ++I;
    } else if (X->FLevel == Top) {
      ++I;
    } else {
      Levels.pop_back();  // the run ends here; the one around it goes on from this column
      if (Levels.empty()) break;
    }
  }
  C->EndUpdate();
  return I;
}

}  // namespace plumb
