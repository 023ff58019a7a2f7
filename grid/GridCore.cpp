// Construction, Reset and Initialize, the setters that only store and repaint, and the
// window's creation parameters.
#include <algorithm>

#include "grid/uCPlumbGrd.h"

namespace plumb {

TCustomPlumbGrid::TCustomPlumbGrid(TComponent* AOwner) : TCustomControl(AOwner) {
  TControlStyle Style{csCaptureMouse, csOpaque, csDoubleClicks};
  if (!NewStyleControls) Style.Include(csFramed);
  SetControlStyle(Style);
  FOptionSet = TGridOptions::FromStored(366);
  SetColor(clBtnFace);
  SetParentColor(false);
  SetTabStop(true);
  SetBounds(GetLeft(), GetTop(), FNumCols * FStdColWidth,
            std::max(FNumRows, 5) * FUniformRowHeight + 2 * (FNumRows - 1));
  Initialize();
}

TCustomPlumbGrid::~TCustomPlumbGrid() {
  if (FEditor) {
    TInplaceEdit* Editor = FEditor;
    FEditor = nullptr;
    Editor->Free();
  }
}

void TCustomPlumbGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  // The editor is owned by the grid and may go first when the grid is freed.
  if (Operation == opRemove && AComponent == FEditor) FEditor = nullptr;
}

void TCustomPlumbGrid::Initialize() {
  bool WasShown = EditorShown();
  FTopLeftCell = TCellCoord{FNumFixedCols, FNumFixedRows};
  ColEnter();
  FCurrentCell = FTopLeftCell;
  ColEnter();
  FAnchorCell = FCurrentCell;
  RealignEditor(WasShown);
}

void TCustomPlumbGrid::Reset() {
  FNumRows = 1;
  // One row leaves no room for a fixed row; the current cell would lie below the grid.
  if (FNumFixedRows > 0) FNumFixedRows = 0;
  FEditorCell = TCellCoord{-1, -1};
  FTopLeftCell = TCellCoord{FNumFixedCols, FNumFixedRows};
  FCurrentCell = FTopLeftCell;
  FAnchorCell = FCurrentCell;
  HideEditor();
  Invalidate();
}

bool TCustomPlumbGrid::SelectCell(Integer ACol, Integer ARow) {
  (void)ACol;
  (void)ARow;
  return true;
}

void TCustomPlumbGrid::SizeChanged(Integer OldColCount, Integer OldRowCount) {
  (void)OldColCount;
  (void)OldRowCount;
}

void TCustomPlumbGrid::Invalidate() {
  TCustomControl::Invalidate();
}

void TCustomPlumbGrid::UpdateDesigner() {
  TComponentState State = GetComponentState();
  if (!State.Contains(csDesigning) || !HandleAllocated() || State.Contains(csUpdating)) return;
  TCustomForm* Form = GetParentForm(this);
  if (Form && Form->GetDesigner()) Form->GetDesigner()->Modified();
}

// ---- Setters ---------------------------------------------------------------------------------

void TCustomPlumbGrid::SetBorderStyle(TBorderStyle Value) {
  if (FBorder == Value) return;
  FBorder = Value;
  RecreateWnd();
}

void TCustomPlumbGrid::SetScrollBars(TScrollStyle Value) {
  if (FScrollBarKind == Value) return;
  FScrollBarKind = Value;
  RecreateWnd();
}

void TCustomPlumbGrid::SetFixedColor(TColor Value) {
  if (FFixedCellColor == Value) return;
  FFixedCellColor = Value;
  Invalidate();
}

void TCustomPlumbGrid::SetGridLineWidth(Integer Value) {
  if (FLineWidth == Value) return;
  bool WasShown = EditorShown();
  FLineWidth = Value;
  Invalidate();
  UpdateScrollRange();      // the rows that fit, and so the last top row, changed
  RealignEditor(WasShown);  // every cell but the first moved
}

void TCustomPlumbGrid::SetFocusBorder(TFocusBorder Value) {
  if (FFocusBorderKind == Value) return;
  FFocusBorderKind = Value;
  Invalidate();
}

void TCustomPlumbGrid::SetOptions(TGridOptions Value) {
  if (FOptionSet == Value) return;
  bool WasShown = EditorShown();
  FOptionSet = Value;
  if (!FEditorActive) {
    if (Value.Contains(goAlwaysShowEditor))
      ShowEditor();
    else
      HideEditor();
  }
  Invalidate();
  // Line options move the cells; without goEditing the editor may no longer show at all.
  UpdateScrollRange();
  RealignEditor(WasShown);
}

void TCustomPlumbGrid::SetFixedCols(Integer Value) {
  if (FNumFixedCols == Value) return;
  if (Value < 0) RaiseGridError(SIndexOutOfRange);
  if (Value >= FNumCols) RaiseGridError(SFixedColTooBig);
  FNumFixedCols = Value;
  Initialize();
  Invalidate();
  UpdateScrollRange();
}

void TCustomPlumbGrid::SetFixedRows(Integer Value) {
  if (FNumFixedRows == Value) return;
  if (Value < 0) RaiseGridError(SIndexOutOfRange);
  if (Value >= FNumRows) RaiseGridError(SFixedRowTooBig);
  FNumFixedRows = Value;
  Initialize();
  Invalidate();
  UpdateScrollRange();  // the range starts at the first scrolled row
}

void TCustomPlumbGrid::SetColCount(Integer Value) {
  if (FNumCols == Value) return;
  if (Value < 1) Value = 1;
  if (Value <= FNumFixedCols) SetFixedCols(Value - 1);
  ChangeSize(Value, FNumRows);
  Invalidate();
}

void TCustomPlumbGrid::SetRowCount(Integer Value) {
  if (FNumRows == Value) return;
  if (Value < 1) Value = 1;
  if (Value <= FNumFixedRows) SetFixedRows(Value - 1);
  ChangeSize(FNumCols, Value);
}

// ---- Window ----------------------------------------------------------------------------------

void TCustomPlumbGrid::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_TABSTOP;
  if (FScrollBarKind == ssVertical || FScrollBarKind == ssBoth) Params.Style |= WS_VSCROLL;
  Params.WindowClass.style = CS_DBLCLKS;
  if (FBorder == bsSingle) {
    if (NewStyleControls && GetCtl3D()) {
      Params.Style &= ~DWORD(WS_BORDER);
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    } else {
      Params.Style |= WS_BORDER;
    }
  }
}

}  // namespace plumb
