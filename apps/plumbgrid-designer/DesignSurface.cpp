// The form designer. Sections: the form (open, stream, discard); selection; the designer
// interface; mouse on the form; keys on the form.
//
// A mouse message for a control of the form comes here first (TControl::WndProc asks the
// form's designer). Unless the control claims the point with CM_DESIGNHITTEST (the record
// grid's sizing line), the message is the designer's: the control never sees it.
#include "DesignSurface.h"

#include "core/Filer.h"

namespace designer {

using namespace plumb;

namespace {

struct TFree {
  void operator()(TComponent* C) const { C->Free(); }
};

bool IsMouseMessage(UINT Msg) {
  return Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST;
}

bool IsKeyMessage(UINT Msg) {
  return Msg >= WM_KEYFIRST && Msg <= WM_KEYLAST;
}

// "PlumbGrid1": the class name without its T and the first number no component holds.
std::string UniqueName(TComponent* Root, TClass Class) {
  std::string Base = Class->Name;
  if (Base.size() > 1 && Base[0] == 'T') Base.erase(0, 1);
  for (int N = 1;; ++N) {
    std::string Name = Base + std::to_string(N);
    if (!Root->FindComponent(Name)) return Name;
  }
}

}  // namespace

TDesignSurface::TDesignSurface(TWinControl* Host) : FHost(Host) {}

TDesignSurface::~TDesignSurface() {
  Discard();
}

// ---- The form --------------------------------------------------------------------------------

void TDesignSurface::Open(const std::string& StreamText) {
  std::unique_ptr<TForm, TFree> Form(new TForm(nullptr));
  Form->SetDesigning(true);  // every component the stream creates is designed too
  TReader(StreamText).ReadRootComponent(Form.get());
  Discard();
  FForm.reset(Form.release());
  FForm->SetDesigner(this);
  FForm->SetParentWindow(FHost->GetHandle());
  FForm->Show();
  FModified = false;
  Select(FForm.get());
}

std::string TDesignSurface::StreamText() {
  return FForm ? TWriter().WriteRootComponent(FForm.get()) : std::string();
}

void TDesignSurface::Discard() {
  if (!FForm) return;
  if (GetCapture()) ReleaseCapture();
  FSelection = nullptr;
  FDragColumn = nullptr;
  FDragGrid = nullptr;
  FForm->SetDesigner(nullptr);
  FForm.release()->Free();
}

// ---- Selection -------------------------------------------------------------------------------

void TDesignSurface::Select(TPersistent* Object) {
  if (auto* Column = dynamic_cast<TColumn*>(Object)) {
    // The row frame of the designed grid shows which column the inspector edits.
    if (TPlumbGrid* Grid = Column->GetGrid(); Grid && Grid->GetColumns() == Column->GetCollection())
      Grid->SetRow(Column->GetIndex());
  }
  FSelection = Object;
  if (OnSelectionChanged) OnSelectionChanged();
}

TPersistent* TDesignSurface::ParentOf(TPersistent* Object) const {
  if (auto* Column = dynamic_cast<TColumn*>(Object)) return Column->GetGrid();
  if (auto* Control = dynamic_cast<TControl*>(Object); Control && Control != FForm.get())
    return Control->GetParent() ? static_cast<TPersistent*>(Control->GetParent()) : FForm.get();
  return FForm.get();
}

TColumn* TDesignSurface::SelectedColumn() const {
  auto* Column = dynamic_cast<TColumn*>(FSelection);
  TPlumbGrid* Grid = Column ? Column->GetGrid() : nullptr;
  return Grid && Grid->GetColumns() == Column->GetCollection() ? Column : nullptr;
}

void TDesignSurface::MoveColumn(TColumn* Column, int Index) {
  if (Index < 0 || Index >= Column->GetCollection()->Count() || Index == Column->GetIndex()) return;
  Column->SetIndex(Index);
  Modified();
  Select(Column);
}

void TDesignSurface::SetColumnExpanded(TColumn* Column, bool Expanded) {
  if (!Column->GetHasChildren() || Column->GetExpanded() == Expanded) return;
  Column->SetExpanded(Expanded);
  Modified();
}

// ---- The designer interface ------------------------------------------------------------------

bool TDesignSurface::IsDesignMsg(TControl* Sender, TMessage& Message) {
  if (IsMouseMessage(Message.Msg)) return MouseMessage(Sender, Message);
  if (IsKeyMessage(Message.Msg)) return KeyMessage(Message);
  return false;
}

void TDesignSurface::Modified() {
  FModified = true;
  if (OnChanged) OnChanged();
}

void TDesignSurface::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation != opRemove) return;
  if (FDragGrid == AComponent) {
    FDragGrid = nullptr;
    FDragColumn = nullptr;
  }
  auto* Column = dynamic_cast<TColumn*>(FSelection);
  bool Gone = FSelection == AComponent || (Column && Column->GetGrid() == AComponent);
  if (Gone) Select(AComponent == FForm.get() ? nullptr : FForm.get());
}

// ---- Mouse on the form -----------------------------------------------------------------------

bool TDesignSurface::MouseMessage(TControl* Sender, TMessage& Message) {
  if (!FDragColumn && Sender->Perform(CM_DESIGNHITTEST, Message.WParam, Message.LParam) != 0)
    return false;
  Integer X = GET_X_LPARAM(Message.LParam), Y = GET_Y_LPARAM(Message.LParam);
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      Press(Sender, X, Y);
      break;
    case WM_LBUTTONDBLCLK:
      DoubleClick(Sender, X, Y);
      break;
    case WM_MOUSEMOVE:
      if (FDragColumn) DragTo(X, Y);
      break;
    case WM_LBUTTONUP:
      Release();
      break;
    default:
      break;
  }
  return true;
}

TColumn* TDesignSurface::RowColumn(TPlumbGrid* Grid, Integer X, Integer Y) const {
  Integer Col = -1, Row = -1;
  Grid->MouseToCell(X, Y, Col, Row);
  TPlumbGridColumns* Columns = Grid->GetColumns();
  return Row >= 0 && Row < Columns->Count() ? Columns->GetColumn(Row) : nullptr;
}

void TDesignSurface::Press(TControl* Sender, Integer X, Integer Y) {
  if (FForm && FForm->HandleAllocated()) plumb::SetFocus(FForm->GetHandle());
  if (FPlacing) return Place(Sender, X, Y);
  auto* Grid = dynamic_cast<TPlumbGrid*>(Sender);
  TColumn* Column = Grid ? RowColumn(Grid, X, Y) : nullptr;
  if (!Column) return Select(Sender);
  FDragGrid = Grid;
  FDragColumn = Column;
  FDropRow = Column->GetIndex();
  SetCapture(Grid->GetHandle());
  Select(Column);
}

// The row frame follows the pointer to show where the column would go.
void TDesignSurface::DragTo(Integer X, Integer Y) {
  if (!FDragGrid) return;
  TColumn* Over = RowColumn(FDragGrid, X, Y);
  if (!Over) return;
  FDropRow = Over->GetIndex();
  FDragGrid->SetRow(FDropRow);
}

void TDesignSurface::Release() {
  if (GetCapture()) ReleaseCapture();
  TColumn* Column = FDragColumn;
  FDragColumn = nullptr;
  FDragGrid = nullptr;
  if (Column && FDropRow != Column->GetIndex())
    MoveColumn(Column, FDropRow);
  else if (Column)
    Select(Column);  // the frame goes back to the column if the drag left it elsewhere
}

void TDesignSurface::DoubleClick(TControl* Sender, Integer X, Integer Y) {
  auto* Grid = dynamic_cast<TPlumbGrid*>(Sender);
  if (TColumn* Column = Grid ? RowColumn(Grid, X, Y) : nullptr)
    SetColumnExpanded(Column, !Column->GetExpanded());
}

// A palette class placed where the form was pressed, in the control pressed when that takes
// controls, else on the form.
void TDesignSurface::Place(TControl* Sender, Integer X, Integer Y) {
  TClass Class = FPlacing;
  FPlacing = nullptr;
  TComponent* Component = CreateComponent(Class, FForm.get());
  Component->SetName(UniqueName(FForm.get(), Class));
  if (auto* Control = dynamic_cast<TControl*>(Component)) {
    auto* Into = dynamic_cast<TWinControl*>(Sender);
    if (!Into || !Into->GetControlStyle().Contains(csAcceptsControls)) {
      TPoint P = FForm->ScreenToClient(Sender->ClientToScreen(TPoint{X, Y}));
      Into = FForm.get();
      X = P.X;
      Y = P.Y;
    }
    Control->SetParent(Into);
    Control->SetBounds(X, Y, 260, 180);
  }
  Modified();
  Select(Component);
}

// ---- Keys on the form ------------------------------------------------------------------------

bool TDesignSurface::KeyMessage(TMessage& Message) {
  if (Message.Msg != WM_KEYDOWN) return true;
  Word Key = Word(Message.WParam);
  TShiftState Shift = KeyDataToShiftState(Message.LParam);
  bool Ctrl = Shift.Contains(ssCtrl);
  if (Key == 'S' && Ctrl) {
    if (OnSaveRequest) OnSaveRequest();
  } else if (Key == VK_ESCAPE) {
    FPlacing = nullptr;  // selecting again tells the palette too
    Select(FSelection ? ParentOf(FSelection) : FForm.get());
  } else if (TColumn* Column = SelectedColumn()) {
    ColumnKey(Column, Key, Ctrl);
  }
  return true;
}

void TDesignSurface::ColumnKey(TColumn* Column, Word Key, bool Ctrl) {
  int Index = Column->GetIndex();
  TPlumbGridColumns* Columns = Column->GetGrid()->GetColumns();
  int Step = Key == VK_UP ? -1 : Key == VK_DOWN ? 1 : 0;
  if (Step && Ctrl)
    MoveColumn(Column, Index + Step);
  else if (Step && Index + Step >= 0 && Index + Step < Columns->Count())
    Select(Columns->GetColumn(Index + Step));
  else if (Key == VK_LEFT || Key == VK_RIGHT)
    SetColumnExpanded(Column, Key == VK_RIGHT);
}

}  // namespace designer
