// The generic grid's storm. Sections: the witnessed grid; the world (desktop, form, grid and a
// second control to take the focus); user actions; host actions; the invariants.
#include "GridStorm.h"

#include <algorithm>

#include "../../storm/Storm.h"
#include "backends/headless/Headless.h"
#include "controls/Forms.h"
#include "controls/StdCtrls.h"
#include "grid/TextGrid.h"

namespace plumb::test {
namespace {

std::string CellText(TCellCoord C) {
  return "(" + std::to_string(C.X) + ", " + std::to_string(C.Y) + ")";
}

std::string RectText(const TRect& R) {
  return "(" + std::to_string(R.Left) + ", " + std::to_string(R.Top) + ", " +
         std::to_string(R.Right) + ", " + std::to_string(R.Bottom) + ")";
}

// The text grid with a witness of every load and write of the editor's text: a write must go
// to the cell the editor was loaded from, while the user can see the editor, on a grid that
// allows editing.
class TStormGrid : public TTextGrid {
  PLUMB_CLASS(TStormGrid, TTextGrid)
  explicit TStormGrid(TComponent* AOwner) : TTextGrid(AOwner) {}

  std::string Faults;
  TCellCoord EditorCell() const { return FEditorCell; }

  // What the host actions change and the invariants read.
  using TCustomPlumbGrid::CalcDrawInfo;
  using TCustomPlumbGrid::CalcMaxTopLeft;
  using TCustomPlumbGrid::CanEditShow;
  using TCustomPlumbGrid::GetColCount;
  using TCustomPlumbGrid::GetColWidths;
  using TCustomPlumbGrid::GetFixedCols;
  using TCustomPlumbGrid::GetFixedRows;
  using TCustomPlumbGrid::GetOptions;
  using TCustomPlumbGrid::GetRowCount;
  using TCustomPlumbGrid::GetScrollBars;
  using TCustomPlumbGrid::Reset;
  using TCustomPlumbGrid::SetColCount;
  using TCustomPlumbGrid::SetDefaultColWidth;
  using TCustomPlumbGrid::SetDefaultRowHeight;
  using TCustomPlumbGrid::SetFixedCols;
  using TCustomPlumbGrid::SetFixedRows;
  using TCustomPlumbGrid::SetGridLineWidth;
  using TCustomPlumbGrid::SetOptions;

 protected:
  std::string GetEditText(Integer ACol, Integer ARow) override {
    FLoaded = TCellCoord{ACol, ARow};
    return TTextGrid::GetEditText(ACol, ARow);
  }
  void SetEditText(Integer ACol, Integer ARow, const std::string& Value) override {
    TCellCoord Cell{ACol, ARow};
    if (!(Cell == FLoaded) || !EditorShown() || !GetOptions().Contains(goEditing))
      Faults += "wrote \"" + Value + "\" to " + CellText(Cell) + " while the editor holds " +
                CellText(FLoaded) + (EditorShown() ? "" : ", hidden") + "; ";
    TTextGrid::SetEditText(ACol, ARow, Value);
  }

 private:
  TCellCoord FLoaded{-1, -1};
};

class TGridStorm {
 public:
  explicit TGridStorm(uint64_t Seed) : S(Seed) {
    Application->OnException = [this](TObject*, const Exception& E) {
      Grid->Faults += std::string("a message raised: ") + E.what() + "; ";
    };
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 700, 560);
    Form->Show();
    Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(620, 10, 60, 20);
    Grid = new TStormGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(10, 10, 400, 300);
    Grid->SetRowCount(60);
    Grid->SetFocus();
    D.RunUntilIdle();
    AddUserActions();
    AddHostActions();
  }
  ~TGridStorm() {
    delete Form;
    Application->OnException = nullptr;
  }

  std::string Run(int Steps) {
    return S.Run(Steps, [this] { return Check(); });
  }

 private:
  void AddUserActions();
  void AddHostActions();
  std::string Check();
  std::string CheckState();
  std::string State();
  std::string CheckEditor();
  std::string CheckScrollBar();
  TShiftState RandomShift();
  TPoint RandomPoint();
  template <class F>
  std::string Host(const std::string& What, F Change);

  THeadlessDesktop D{1024, 768};
  TStorm S;
  TForm* Form = nullptr;
  TEdit* Other = nullptr;
  TStormGrid* Grid = nullptr;
};

// ---- User actions ----------------------------------------------------------------------------

TShiftState TGridStorm::RandomShift() {
  TShiftState Shift;
  if (S.Chance(25)) Shift.Include(ssShift);
  if (S.Chance(20)) Shift.Include(ssCtrl);
  if (S.Chance(10)) Shift.Include(ssAlt);
  return Shift;
}

std::string ShiftText(TShiftState Shift) {
  std::string T;
  if (Shift.Contains(ssShift)) T += "Shift+";
  if (Shift.Contains(ssCtrl)) T += "Ctrl+";
  if (Shift.Contains(ssAlt)) T += "Alt+";
  return T;
}

// Mostly inside the grid, now and then just outside it; x often near the sizing line.
TPoint TGridStorm::RandomPoint() {
  TRect C = Grid->GetClientRect();
  Integer X = S.Chance(30) ? Grid->GetColWidths(0) + S.Int(-6, 6) : S.Int(-4, C.Right + 4);
  return TPoint{X, S.Int(-4, C.Bottom + 4)};
}

void TGridStorm::AddUserActions() {
  static const std::vector<Word> Keys{VK_UP,     VK_DOWN,   VK_LEFT,   VK_RIGHT, VK_PRIOR,
                                      VK_NEXT,   VK_HOME,   VK_END,    VK_TAB,   VK_F2,
                                      VK_RETURN, VK_ESCAPE, VK_DELETE, VK_BACK,  VK_INSERT,
                                      'A',       'Q',       '7',       VK_SPACE};
  S.Add(30, [this] {
    Word K = S.Pick(Keys);
    TShiftState Shift = RandomShift();
    D.KeyStroke(K, Shift);
    return "key " + ShiftText(Shift) + std::to_string(K);
  });
  static const std::vector<std::string> Texts{"a",  "Zq 9", "é",  "жук",  "漢字", "😀",
                                              "\t", "\b",   "\r", "\x1b", "\x01", "\x16"};
  S.Add(12, [this] {
    const std::string& T = S.Pick(Texts);
    D.TypeText(T);
    return "type \"" + T + "\"";
  });
  S.Add(12, [this] {
    TPoint P = RandomPoint();
    TMouseButton B = S.Chance(80) ? mbLeft : mbRight;
    TShiftState Shift = S.Chance(20) ? TShiftState{ssShift} : TShiftState{};
    D.ClickAt(Grid, P.X, P.Y, B, Shift);
    return "click " + ShiftText(Shift) + (B == mbLeft ? "left" : "right") + " at (" +
           std::to_string(P.X) + ", " + std::to_string(P.Y) + ")";
  });
  S.Add(4, [this] {
    TPoint P = RandomPoint();
    D.DoubleClickAt(Grid, P.X, P.Y);
    return "double click at (" + std::to_string(P.X) + ", " + std::to_string(P.Y) + ")";
  });
  S.Add(4, [this] {
    TInplaceEdit* E = Grid->GetInplaceEditor();
    if (!E || !E->Visible()) return std::string("no editor to click");
    TPoint P{S.Int(0, E->GetWidth()), S.Int(0, E->GetHeight())};
    D.ClickAt(E, P.X, P.Y);
    return "click on the editor at (" + std::to_string(P.X) + ", " + std::to_string(P.Y) + ")";
  });
  S.Add(5, [this] {
    TPoint From = RandomPoint();
    Integer ToX = S.Int(-30, Grid->GetWidth() + 30);
    D.MouseDownAt(Grid, From.X, From.Y);
    D.MouseMoveAt(Grid, (From.X + ToX) / 2, From.Y);
    D.MouseMoveAt(Grid, ToX, From.Y);
    D.MouseUpAt(Grid, ToX, From.Y);
    return "drag from (" + std::to_string(From.X) + ", " + std::to_string(From.Y) + ") to x " +
           std::to_string(ToX);
  });
  S.Add(6, [this] {
    int Code = S.Int(SB_LINEUP, SB_ENDSCROLL), Pos = S.Int(-5, 132);
    UINT Msg = S.Chance(85) ? WM_VSCROLL : WM_HSCROLL;
    SendMessage(Grid->GetHandle(), Msg, MAKEWPARAM(Code, Word(Pos)), 0);
    D.RunUntilIdle();
    return std::string(Msg == WM_VSCROLL ? "vscroll " : "hscroll ") + std::to_string(Code) +
           " to " + std::to_string(Pos);
  });
  S.Add(4, [this] {
    static const std::vector<int> Deltas{-600, -120, -40, -7, 25, 120, 360};
    TPoint P = RandomPoint();
    int Delta = S.Pick(Deltas);
    D.MouseWheelAt(Grid, P.X, P.Y, Delta);
    return "wheel " + std::to_string(Delta) + " at (" + std::to_string(P.X) + ", " +
           std::to_string(P.Y) + ")";
  });
  S.Add(3, [this] {
    Cardinal Ms = Cardinal(S.Int(0, 900));
    D.Advance(Ms);
    return "wait " + std::to_string(Ms) + " ms";
  });
}

// ---- Host actions ----------------------------------------------------------------------------

// A host change; the grid's own refusals (EInvalidGridOperation) are part of its contract.
template <class F>
std::string TGridStorm::Host(const std::string& What, F Change) {
  std::string Done = What;
  try {
    Change();
  } catch (const EInvalidGridOperation& E) {
    Done += " refused: " + std::string(E.what());
  }
  D.RunUntilIdle();
  return Done;
}

void TGridStorm::AddHostActions() {
  S.Add(4, [this] {
    static const std::vector<int> Tops{5, 60, 2000};
    Integer N = S.Int(0, S.Pick(Tops));
    return Host("RowCount " + std::to_string(N), [&] { Grid->SetRowCount(N); });
  });
  S.Add(2, [this] {
    Integer N = S.Int(0, 4);
    return Host("ColCount " + std::to_string(N), [&] { Grid->SetColCount(N); });
  });
  S.Add(3, [this] {
    Integer N = S.Int(-1, std::min(Grid->GetRowCount(), 4));
    return Host("FixedRows " + std::to_string(N), [&] { Grid->SetFixedRows(N); });
  });
  S.Add(2, [this] {
    Integer N = S.Int(-1, Grid->GetColCount());
    return Host("FixedCols " + std::to_string(N), [&] { Grid->SetFixedCols(N); });
  });
  S.Add(3, [this] {
    Integer I = S.Int(-1, Grid->GetColCount()), W = S.Int(-20, 300);
    return Host("ColWidths[" + std::to_string(I) + "] " + std::to_string(W),
                [&] { Grid->SetColWidths(I, W); });
  });
  S.Add(1, [this] {
    Integer W = S.Int(-10, 200);
    return Host("DefaultColWidth " + std::to_string(W), [&] { Grid->SetDefaultColWidth(W); });
  });
  S.Add(2, [this] {
    Integer H = S.Chance(20) ? S.Int(-5, 0) : S.Int(1, 40);
    return Host("RowHeight " + std::to_string(H), [&] { Grid->SetDefaultRowHeight(H); });
  });
  S.Add(2, [this] {
    Integer W = S.Int(-3, 6);
    return Host("GridLineWidth " + std::to_string(W), [&] { Grid->SetGridLineWidth(W); });
  });
  S.Add(4, [this] {
    TGridOptions O = Grid->GetOptions();
    TGridOption Which = TGridOption(S.Int(goDrawFixed, goThumbTracking));
    O = O.Contains(Which) ? O - Which : O + Which;
    return Host("toggle option " + std::to_string(int(Which)), [&] { Grid->SetOptions(O); });
  });
  S.Add(2, [this] {
    Integer W = S.Int(0, 620), H = S.Int(0, 520);
    return Host("bounds " + std::to_string(W) + " x " + std::to_string(H),
                [&] { Grid->SetBounds(10, 10, W, H); });
  });
  S.Add(3, [this] {
    bool ToGrid = S.Chance(60);
    return Host(ToGrid ? "focus the grid" : "focus the other control", [&] {
      if (ToGrid)
        Grid->SetFocus();
      else
        Other->SetFocus();
    });
  });
  S.Add(3, [this] {
    bool On = S.Chance(60);
    return Host(std::string("EditorMode ") + (On ? "on" : "off"), [&] { Grid->SetEditorMode(On); });
  });
  S.Add(1, [this] { return Host("Reset", [&] { Grid->Reset(); }); });
  S.Add(3, [this] {
    Integer R = S.Int(0, Grid->GetRowCount() - 1);
    return Host("Row " + std::to_string(R), [&] { Grid->SetRow(R); });
  });
  S.Add(2, [this] {
    Integer T = S.Int(Grid->GetFixedRows(), Grid->GetRowCount() - 1);
    return Host("TopRow " + std::to_string(T), [&] { Grid->SetTopRow(T); });
  });
  S.Add(1, [this] {
    Integer R1 = S.Int(-1, Grid->GetRowCount()), R2 = S.Int(-1, Grid->GetRowCount());
    TCellRange Sel{1, std::min(R1, R2), 1, std::max(R1, R2)};
    return Host("Selection rows " + std::to_string(Sel.Top) + " to " + std::to_string(Sel.Bottom),
                [&] { Grid->SetSelection(Sel); });
  });
}

// ---- Invariants ------------------------------------------------------------------------------

std::string TGridStorm::CheckEditor() {
  TInplaceEdit* E = Grid->GetInplaceEditor();
  if (!E || !E->Visible()) return "";
  TCellCoord Cur{Grid->GetCol(), Grid->GetRow()};
  if (!Grid->CanEditShow()) return "the editor shows where it may not";
  if (!(Grid->EditorCell() == Cur))
    return "the editor holds " + CellText(Grid->EditorCell()) + " but the current cell is " +
           CellText(Cur);
  TRect Cell = Grid->CellRect(Cur.X, Cur.Y);
  TRect Want{Cell.Left, Cell.Top + 1, Cell.Right - 1, Cell.Bottom};
  if (IsRectEmpty(Cell) || !(E->GetBoundsRect() == Want))
    return "the editor lies at " + RectText(E->GetBoundsRect()) + ", its cell at " + RectText(Cell);
  if (E->GetText() != Grid->GetValue(Cur.Y))
    return "the editor shows \"" + E->GetText() + "\", its row holds \"" + Grid->GetValue(Cur.Y) +
           "\"";
  return "";
}

std::string TGridStorm::CheckScrollBar() {
  if (!Grid->HandleAllocated() || Grid->GetScrollBars() == ssNone) return "";
  TGridLayout L;
  Grid->CalcDrawInfo(L);
  Integer Fixed = Grid->GetFixedRows();
  Integer MaxTop =
      Grid->CalcMaxTopLeft(TCellCoord{Grid->GetColCount() - 1, Grid->GetRowCount() - 1}, L).Y;
  if (Grid->GetTopRow() > std::max(MaxTop, Fixed))
    return "the top row " + std::to_string(Grid->GetTopRow()) + " is past the last top row " +
           std::to_string(MaxTop);
  int Want = MulDiv(Grid->GetTopRow() - Fixed, 127, MaxTop - Fixed);
  int Pos = GetScrollPos(Grid->GetHandle(), SB_VERT);
  if (MaxTop > Fixed && Pos != Want)
    return "the scroll bar is at " + std::to_string(Pos) + ", the top row wants " +
           std::to_string(Want);
  return "";
}

std::string TGridStorm::State() {
  return " [" + std::to_string(Grid->GetColCount()) + " x " + std::to_string(Grid->GetRowCount()) +
         ", fixed " + std::to_string(Grid->GetFixedCols()) + " x " +
         std::to_string(Grid->GetFixedRows()) + ", current " +
         CellText({Grid->GetCol(), Grid->GetRow()}) + ", top-left " +
         CellText({Grid->GetLeftCol(), Grid->GetTopRow()}) + ", client " +
         std::to_string(Grid->GetClientWidth()) + " x " + std::to_string(Grid->GetClientHeight()) +
         "]";
}

std::string TGridStorm::Check() {
  std::string Fault = CheckState();
  return Fault.empty() ? Fault : Fault + State();
}

std::string TGridStorm::CheckState() {
  if (!Grid->Faults.empty()) return Grid->Faults;
  Integer Cols = Grid->GetColCount(), Rows = Grid->GetRowCount();
  if (Cols < 1 || Rows < 1 || Grid->GetFixedCols() < 0 || Grid->GetFixedCols() >= Cols ||
      Grid->GetFixedRows() < 0 || Grid->GetFixedRows() >= Rows)
    return "counts out of range";
  TCellRange Sel = Grid->GetSelection();
  if (Sel.Left < 0 || Sel.Top < 0 || Sel.Right >= Cols || Sel.Bottom >= Rows)
    return "the current cell or the anchor lies outside the grid";
  if (Grid->GetTopRow() < Grid->GetFixedRows() || Grid->GetTopRow() >= Rows ||
      Grid->GetLeftCol() < Grid->GetFixedCols() || Grid->GetLeftCol() >= Cols)
    return "the top-left cell lies outside the scrolled part";
  std::string Fault = CheckEditor();
  return Fault.empty() ? CheckScrollBar() : Fault;
}

}  // namespace

std::string RunGridStorm(uint64_t Seed, int Steps) {
  TGridStorm Storm(Seed);
  return Storm.Run(Steps);
}

}  // namespace plumb::test
