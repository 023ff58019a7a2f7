// TPlumbGrid: construction and the properties, the rows that follow the visible columns,
// tree rows toggled by a double click, per-row popup menus, and the removal notifications
// that keep no column pointing at a freed menu, field or data source.
#include "controls/Forms.h"
#include "recordgrid/uPlumbGrid.h"

namespace plumb {

TPlumbGrid::TPlumbGrid(TComponent* AOwner) : TCustomPlumbGrid(AOwner) {
  FColumnList.reset(CreateColumns());
  FGridLink = std::make_unique<TGridDataLink>(this);
  FTitleColor = FValueColor = GetFont()->GetColor();
  FSavedImeName = GetImeName();
  FSavedImeMode = GetImeMode();
}

TPlumbGrid::~TPlumbGrid() {
  // The columns go without giving up their rows one by one: nothing of the grid's moves,
  // and no host hook runs, while it is being taken apart.
  ++FRowsChangeDepth;
  FEditorWasShown = false;
  FStreamColumns.reset();
  FColumnList.reset();
  FGridLink.reset();
}

TPlumbGridColumns* TPlumbGrid::CreateColumns() {
  return new TPlumbGridColumns(this, CollectionItemClass<TColumn>(), true);
}

void TPlumbGrid::SyncRowCount() {
  if (FColumnList) SetRowCount(FColumnList->Count());
}

void TPlumbGrid::BeginRowsChange() {
  if (FRowsChangeDepth++ > 0) return;
  FEditorWasShown = EditorShown();
  if (!FEditorWasShown) return;
  try {
    HideEdit();  // the text goes to its own column while that column still sits at its row
  } catch (...) {
    --FRowsChangeDepth;
    throw;
  }
}

void TPlumbGrid::EndRowsChange() {
  if (--FRowsChangeDepth > 0) return;
  if (FEditorWasShown) {
    FEditorWasShown = false;
    UpdateEdit();  // over whichever column sits at the current row now
  }
}

void TPlumbGrid::Reset() {
  WithRowsChange([this] {
    FColumnList.reset();  // detached first: the old columns give up no rows
    FColumnList.reset(CreateColumns());
    SetRowCount(0);
    TCustomPlumbGrid::Reset();
  });
  Invalidate();
}

void TPlumbGrid::Loaded() {
  TCustomPlumbGrid::Loaded();
  // From the last column back: a collapse only takes columns after the one collapsed.
  for (int N = FColumnList->Count() - 1; N >= 0; --N) {
    TColumn* Column = FColumnList->GetColumn(N);
    if (Column->FIsExpanded) continue;
    Column->FIsExpanded = true;
    Column->SetExpanded(false);
  }
}

// ---- Properties ------------------------------------------------------------------------------

TPlumbGridColumns* TPlumbGrid::GetStreamColumns() {
  auto Hides = [](TColumn* C) { return C->FHiddenChildren->Count() > 0; };
  bool AnyHidden = false;
  for (int I = 0; I < FColumnList->Count() && !AnyHidden; ++I)
    AnyHidden = Hides(FColumnList->GetColumn(I));
  if (IsLoading() || !AnyHidden) return FColumnList.get();
  FStreamColumns = std::make_unique<TPlumbGridColumns>(this, CollectionItemClass<TColumn>(), false);
  std::vector<TColumn*> Pending;
  for (int I = 0; I < FColumnList->Count(); ++I) {
    Pending.push_back(FColumnList->GetColumn(I));
    while (!Pending.empty()) {
      TColumn* C = Pending.back();
      Pending.pop_back();
      FStreamColumns->Add()->CopyAll(C);
      for (int J = C->FHiddenChildren->Count() - 1; J >= 0; --J)
        Pending.push_back(C->FHiddenChildren->GetColumn(J));
    }
  }
  return FStreamColumns.get();
}

void TPlumbGrid::SetPlumbGridColumns(TPlumbGridColumns* Value) {
  WithRowsChange([&] {
    FColumnList->Assign(Value);
    SyncRowCount();
  });
}

TDataSource* TPlumbGrid::GetDataSource() const {
  return FGridLink->GetDataSource();
}

void TPlumbGrid::SetDataSource(TDataSource* Value) {
  if (Value == FGridLink->GetDataSource()) return;
  FGridLink->SetDataSource(Value);
  if (Value) Value->FreeNotification(this);
}

void TPlumbGrid::SetTitleTextColor(TColor Value) {
  FTitleColor = Value;
  Invalidate();
}

void TPlumbGrid::SetDataTextColor(TColor Value) {
  FValueColor = Value;
  Invalidate();
}

void TPlumbGrid::Refresh() {
  UpdateEdit();
  Invalidate();
}

void TPlumbGrid::RefreshData() {
  UpdateEdit();
  InvalidateData();
}

TRect TPlumbGrid::CellRect(Integer ACol, Integer ARow) {
  return TCustomPlumbGrid::CellRect(ACol, ARow);
}

void TPlumbGrid::MouseToCell(Integer X, Integer Y, Integer& ACol, Integer& ARow) {
  TCellCoord C = MouseCoord(X, Y);
  ACol = C.X;
  ARow = C.Y;
}

// ---- Hooks -----------------------------------------------------------------------------------

void TPlumbGrid::TopLeftChanged() {
  TCustomPlumbGrid::TopLeftChanged();
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TPlumbGrid::ColEnter() {
  UpdateIme();
  if (OnColEnter) OnColEnter(this);
}

void TPlumbGrid::ColExit() {
  if (OnColExit) OnColExit(this);
}

void TPlumbGrid::DblClick() {
  if (FCurrentCell.Y < 0 || FCurrentCell.Y >= FColumnList->Count()) return;
  TColumn* Column = FColumnList->GetColumn(FCurrentCell.Y);
  if (Column->FHasChildren) Column->SetExpanded(!Column->FIsExpanded);
}

TInplaceEdit* TPlumbGrid::CreateEditor() {
  return new TPlumbGridInplaceEdit(this);
}

// ---- Row menus -------------------------------------------------------------------------------

// A row whose column has its own menu shows that menu, and only that one: the control's own
// menu, which the default handling would pop up for the same click, stays closed.
void TPlumbGrid::DefaultHandler(TMessage& Message) {
  if (Message.Msg == WM_RBUTTONUP) {
    Integer X = int16_t(Message.LParamLo()), Y = int16_t(Message.LParamHi());
    TCellCoord Cell = MouseCoord(X, Y);
    TColumn* Column =
        Cell.Y >= 0 && Cell.Y < FColumnList->Count() ? FColumnList->GetColumn(Cell.Y) : nullptr;
    TPopupMenu* Menu = Column ? Column->FRowMenu : nullptr;
    if (Menu && Menu->GetAutoPopup()) {
      SendCancelMode(this);
      Menu->SetPopupComponent(this);
      TPoint P = ClientToScreen(TPoint{X, Y});
      Menu->Popup(P.X, P.Y);
      Message.Result = 1;
      return;
    }
  }
  TCustomPlumbGrid::DefaultHandler(Message);
}

// ---- Removal notifications -------------------------------------------------------------------

// Every column, hidden children at any depth included, without recursion.
void TPlumbGrid::ForEachColumn(const std::function<void(TColumn*)>& Visit) {
  std::vector<TPlumbGridColumns*> Pending{FColumnList.get()};
  while (!Pending.empty()) {
    TPlumbGridColumns* C = Pending.back();
    Pending.pop_back();
    for (int I = 0; I < C->Count(); ++I) {
      TColumn* Column = C->GetColumn(I);
      Visit(Column);
      if (Column->FHiddenChildren->Count() > 0) Pending.push_back(Column->FHiddenChildren.get());
    }
  }
}

void TPlumbGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomPlumbGrid::Notification(AComponent, Operation);
  if (Operation != opRemove || !FColumnList) return;
  // Compared by identity: a component that is deleted outright is no longer of its class
  // when its removal is heard.
  bool EditorOnIt = false;
  ForEachColumn([&](TColumn* C) {
    if (C->FRowMenu && static_cast<TComponent*>(C->FRowMenu) == AComponent)
      C->SetPopupMenu(nullptr);
    if (C->FBoundField && static_cast<TComponent*>(C->FBoundField) == AComponent) {
      EditorOnIt = EditorOnIt || (C->InGridColumns() && C->GetIndex() == FEditorCell.Y);
      C->SetField(nullptr);
    }
  });
  if (FGridLink && AComponent == GetDataSource()) SetDataSource(nullptr);
  if (EditorOnIt) UpdateEdit();  // the editor's text came from the field that went
}

// ---- Messages --------------------------------------------------------------------------------

void TPlumbGrid::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_IME_STARTCOMPOSITION:
      WMIMEStartComp(Message);
      break;
    case WM_SETFOCUS:
      WMSetFocus(Message);
      break;
    case WM_KILLFOCUS:
      WMKillFocus(Message);
      break;
    default:
      TCustomPlumbGrid::Dispatch(Message);
  }
}

// ---- Published properties --------------------------------------------------------------------

void TPlumbGrid::DescribeProperties(TPropertyList<TPlumbGrid>& P) {
  P.ObjectProp("Columns", &TPlumbGrid::GetStreamColumns, &TPlumbGrid::SetPlumbGridColumns);
  P.ComponentProp("DataSource", &TPlumbGrid::GetDataSource, &TPlumbGrid::SetDataSource);
  P.ColorProp("TitleTextColor", &TPlumbGrid::GetTitleTextColor, &TPlumbGrid::SetTitleTextColor);
  P.ColorProp("DataTextColor", &TPlumbGrid::GetDataTextColor, &TPlumbGrid::SetDataTextColor);
  P.ColorProp("Color", &TPlumbGrid::GetColor, &TPlumbGrid::SetColor).Default(clBtnFace);
  P.IntegerProp("FixedRows", &TPlumbGrid::GetFixedRows, &TPlumbGrid::SetFixedRows).Default(0);
  P.EnumProp("FocusBorder", &TPlumbGrid::GetFocusBorder, &TPlumbGrid::SetFocusBorder,
             FocusBorderInfo)
      .Default(fbEtched);
  P.EnumProp("BorderStyle", &TPlumbGrid::GetBorderStyle, &TPlumbGrid::SetBorderStyle,
             BorderStyleInfo)
      .Default(bsSingle);
  P.IntegerProp("RowHeight", &TPlumbGrid::GetRowHeight, &TPlumbGrid::SetDefaultRowHeight)
      .Default(18);
  P.ColorProp("FixedColor", &TPlumbGrid::GetFixedColor, &TPlumbGrid::SetFixedColor)
      .Default(clBtnFace);
  P.SetProp("Options", &TPlumbGrid::GetOptions, &TPlumbGrid::SetOptions, GridOptionInfo)
      .Default(TGridOptions::FromStored(366));
  P.EnumProp("ImeMode", &TPlumbGrid::GetImeMode, &TPlumbGrid::SetImeMode, ImeModeInfo)
      .Default(imDontCare);
  P.StringProp("ImeName", &TPlumbGrid::GetImeName, &TPlumbGrid::SetImeName);
  P.EnumProp("Align", &TPlumbGrid::GetAlign, &TPlumbGrid::SetAlign, AlignInfo).Default(alNone);
  P.BooleanProp("Ctl3D", &TPlumbGrid::GetCtl3D, &TPlumbGrid::SetCtl3D)
      .Stored(&TPlumbGrid::IsCtl3DStored);
  P.IntegerProp("DragCursor", &TPlumbGrid::GetDragCursor, &TPlumbGrid::SetDragCursor)
      .Default(crDrag);
  P.EnumProp("DragMode", &TPlumbGrid::GetDragMode, &TPlumbGrid::SetDragMode, DragModeInfo)
      .Default(dmManual);
  P.BooleanProp("Enabled", &TPlumbGrid::GetEnabled, &TPlumbGrid::SetEnabled).Default(true);
  P.ObjectProp("Font", &TPlumbGrid::GetFont, &TPlumbGrid::SetFont);
  P.IntegerProp("GridLineWidth", &TPlumbGrid::GetGridLineWidth, &TPlumbGrid::SetGridLineWidth)
      .Default(1);
  P.BooleanProp("ParentColor", &TPlumbGrid::GetParentColor, &TPlumbGrid::SetParentColor)
      .Default(false);
  P.BooleanProp("ParentCtl3D", &TPlumbGrid::GetParentCtl3D, &TPlumbGrid::SetParentCtl3D)
      .Default(true);
  P.BooleanProp("ParentFont", &TPlumbGrid::GetParentFont, &TPlumbGrid::SetParentFont).Default(true);
  P.BooleanProp("ParentShowHint", &TPlumbGrid::GetParentShowHint, &TPlumbGrid::SetParentShowHint)
      .Default(true);
  P.ComponentProp("PopupMenu", &TPlumbGrid::GetPopupMenu, &TPlumbGrid::SetPopupMenu);
  P.BooleanProp("ShowHint", &TPlumbGrid::GetShowHint, &TPlumbGrid::SetShowHint)
      .Stored(&TPlumbGrid::IsShowHintStored);
  P.IntegerProp("TabOrder", &TPlumbGrid::GetTabOrder, &TPlumbGrid::SetTabOrder).Default(-1);
  P.BooleanProp("TabStop", &TPlumbGrid::GetTabStop, &TPlumbGrid::SetTabStop).Default(true);
  P.BooleanProp("Visible", &TPlumbGrid::GetVisible, &TPlumbGrid::SetVisible).Default(true);
  P.IntegerProp("VisibleRowCount", &TPlumbGrid::GetVisibleRowCount, nullptr);
  P.EventProp("OnClick", &TPlumbGrid::OnClick);
  P.EventProp("OnDblClick", &TPlumbGrid::OnDblClick);
  P.EventProp("OnDragDrop", &TPlumbGrid::OnDragDrop);
  P.EventProp("OnDragOver", &TPlumbGrid::OnDragOver);
  P.EventProp("OnEndDrag", &TPlumbGrid::OnEndDrag);
  P.EventProp("OnEnter", &TPlumbGrid::OnEnter);
  P.EventProp("OnExit", &TPlumbGrid::OnExit);
  P.EventProp("OnKeyDown", &TPlumbGrid::OnKeyDown);
  P.EventProp("OnKeyPress", &TPlumbGrid::OnKeyPress);
  P.EventProp("OnKeyUp", &TPlumbGrid::OnKeyUp);
  P.EventProp("OnMouseDown", &TPlumbGrid::OnMouseDown);
  P.EventProp("OnMouseMove", &TPlumbGrid::OnMouseMove);
  P.EventProp("OnMouseUp", &TPlumbGrid::OnMouseUp);
  P.EventProp("OnStartDrag", &TPlumbGrid::OnStartDrag);
  P.EventProp("OnTopLeftChanged", &TPlumbGrid::OnTopLeftChanged);
  P.EventProp("OnColEnter", &TPlumbGrid::OnColEnter);
  P.EventProp("OnColExit", &TPlumbGrid::OnColExit);
  P.EventProp("OnEditButtonClick", &TPlumbGrid::OnEditButtonClick);
  P.BooleanProp("ReadOnly", &TPlumbGrid::GetReadOnly, &TPlumbGrid::SetReadOnly).Default(false);
}

PLUMB_REGISTER_CLASS(TPlumbGrid);

}  // namespace plumb
