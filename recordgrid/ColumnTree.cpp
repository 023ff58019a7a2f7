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
  TColumn* Parent = nullptr;
  if (Value > 0) {
    Parent = FindParent(C, I, Value);
    if (Parent) Parent->FHasChildren = true;
  } else if (I >= 0) {
    if (I > 0) ItemAt(C, I - 1)->FHasChildren = false;
    FHasChildren = I + 1 < C->Count() && ItemAt(C, I + 1)->FLevel > 0;
  }
  // Any change of a level can change an answer: only the one just found is kept.
  if (TPlumbGridColumns* Owner = Owning()) Owner->FParentMemo = {this, Value, Parent};
  if (TPlumbGrid* Grid = GetGrid()) Grid->Invalidate();
}

// The nearest column before position I with a level below Value. A column after a sibling at
// the same level has the sibling's parent: the last answer is kept for the next column, so
// that a run of siblings (a stream, say) costs a step each instead of a walk back each.
TColumn* TColumn::FindParent(TCollection* C, int I, Cardinal Value) {
  TPlumbGridColumns* Owner = Owning();
  TColumn* Parent = nullptr;
  TColumn* Before = I > 0 ? ItemAt(C, I - 1) : nullptr;
  if (Owner && Before && Owner->FParentMemo.Searcher == Before &&
      Owner->FParentMemo.Level == Value && Before->FLevel == Value) {
    Parent = Owner->FParentMemo.Parent;
  } else {
    for (int J = I - 1; J >= 0 && !Parent; --J)
      if (ItemAt(C, J)->FLevel < Value) Parent = ItemAt(C, J);
  }
  return Parent;
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
  C->BeginUpdate();
  FHiddenChildren->MoveItems(0, FHiddenChildren->Count(), C, GetIndex() + 1);
  C->EndUpdate();
}

// What one collapse does, column by column: each column after this one at a greater level goes
// into the hidden children of the nearest collapsing column above it. A column that is
// expanded and followed by a column more than one level below the collapsing one collapses
// too, and takes the columns below it.
void TColumn::CollapseAtRunTime() {
  TCollection* C = GetCollection();
  if (!C) return;
  std::vector<TColumn*> Collapsing{this};
  C->BeginUpdate();
  C->DistributeItems(GetIndex() + 1, [&](int I, TCollectionItem* Item) -> TCollection* {
    auto* X = static_cast<TColumn*>(Item);
    if (X->FLevel <= FLevel) return nullptr;  // the run ends
    while (X->FLevel <= Collapsing.back()->FLevel) Collapsing.pop_back();
    TColumn* Into = Collapsing.back();
    TColumn* Next = I + 1 < C->Count() ? ItemAt(C, I + 1) : nullptr;
    if (X->FIsExpanded && Next && Next->FLevel > Into->FLevel + 1) {
      X->FIsExpanded = false;
      Collapsing.push_back(X);
    }
    return Into->FHiddenChildren.get();
  });
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
    if (TPlumbGridColumns* Owner = Owning()) Owner->FParentMemo = {};
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
