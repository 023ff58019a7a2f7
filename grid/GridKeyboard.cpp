// Keys and characters. A key press computes a new current cell and a new top-left cell from
// the tables below, clamps both and applies them through MoveTopLeft and FocusCell. The grid
// moves by rows: Left and Right act as Up and Down; only Tab and Ctrl+arrows change columns.
#include <algorithm>

#include "grid/uCPlumbGrd.h"

namespace plumb {

namespace {

struct TKeyMove {
  TCellCoord Cur;
  TCellCoord TopLeft;
};

void Clamp(Integer& V, Integer Lo, Integer Hi) {
  // The upper bound is tested first, so Hi wins when the bounds cross.
  if (V > Hi)
    V = Hi;
  else if (V < Lo)
    V = Lo;
}

}  // namespace

void TCustomPlumbGrid::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (!CanGridAcceptKey(Key, Shift)) Key = 0;
  TKeyMove M{FCurrentCell, FTopLeftCell};
  TGridLayout L;
  CalcDrawInfo(L);
  Integer PageWidth = std::max(L.Cols.LastWholeCell - FTopLeftCell.X, 1);
  Integer PageHeight = std::max(L.Rows.LastWholeCell - FTopLeftCell.Y, 1);
  bool Ctrl = Shift.Contains(ssCtrl);
  if (Ctrl) {
    switch (Key) {
      case VK_PRIOR:
        M.Cur.Y = FTopLeftCell.Y;
        break;
      case VK_NEXT:
        M.Cur.Y = L.Rows.LastWholeCell;
        break;
      case VK_HOME:
        M.Cur = TCellCoord{FNumFixedCols, FNumFixedRows};
        break;
      case VK_END:
        M.Cur = TCellCoord{FNumCols - 1, FNumRows - 1};
        break;
      case VK_LEFT:
        M.Cur.X -= PageWidth;
        M.TopLeft.X -= PageWidth;
        break;
      case VK_RIGHT:
        M.Cur.X += PageWidth;
        M.TopLeft.X += PageWidth;
        break;
      case VK_UP:
        --M.TopLeft.Y;
        break;
      case VK_DOWN:
        ++M.TopLeft.Y;
        break;
      default:
        break;
    }
  } else {
    switch (Key) {
      case VK_UP:
      case VK_LEFT:
        --M.Cur.Y;
        break;
      case VK_DOWN:
      case VK_RIGHT:
        ++M.Cur.Y;
        break;
      case VK_PRIOR:
        M.Cur.Y -= PageHeight;
        M.TopLeft.Y -= PageHeight;
        break;
      case VK_NEXT:
        M.Cur.Y += PageHeight;
        M.TopLeft.Y += PageHeight;
        break;
      case VK_HOME:
        M.Cur.Y = FNumFixedRows;
        break;
      case VK_END:
        M.Cur.Y = FNumRows - 1;
        break;
      case VK_TAB:
        if (!Shift.Contains(ssAlt)) {
          bool Backward = Shift.Contains(ssShift);
          do {
            if (Backward) {
              if (--M.Cur.X < FNumFixedCols) {
                M.Cur.X = FNumCols - 1;
                if (--M.Cur.Y < FNumFixedRows) M.Cur.Y = FNumRows - 1;
              }
            } else if (++M.Cur.X >= FNumCols) {
              M.Cur.X = FNumFixedCols;
              if (++M.Cur.Y >= FNumRows) M.Cur.Y = FNumFixedRows;
            }
          } while (!GetTabStops(M.Cur.X) && M.Cur.X != FCurrentCell.X);
        }
        break;
      case VK_F2:
        SetEditorMode(true);
        break;
      default:
        break;
    }
  }
  TCellCoord Max = CalcMaxTopLeft(TCellCoord{FNumCols - 1, FNumRows - 1}, L);
  Clamp(M.TopLeft.X, FNumFixedCols, Max.X);
  Clamp(M.TopLeft.Y, FNumFixedRows, Max.Y);
  if (!(M.TopLeft == FTopLeftCell)) MoveTopLeft(M.TopLeft.X, M.TopLeft.Y);
  Clamp(M.Cur.X, FNumFixedCols, FNumCols - 1);
  Clamp(M.Cur.Y, FNumFixedRows, FNumRows - 1);
  if (!(M.Cur == FCurrentCell)) {
    // Shift+Tab moves the anchor along; Shift with anything else extends the selection.
    bool Extends = Shift.Contains(ssShift) && !(Key == VK_TAB && !Ctrl);
    FocusCell(M.Cur.X, M.Cur.Y, !Extends);
  }
}

void TCustomPlumbGrid::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  if (!FOptionSet.Contains(goAlwaysShowEditor) && Key == U'\r') {
    if (FEditorActive)
      HideEditor();
    else
      ShowEditor();
    Key = 0;
  }
}

void TCustomPlumbGrid::WMChar(TMessage& Message) {
  Word Code = Word(Message.WParam & 0xFFFF);
  bool Typing = Code == 8 || (Code >= 32 && Code <= 255) || Message.WParam > 255;
  if (FOptionSet.Contains(goEditing) && Typing) {
    ShowEditorChar(char32_t(Message.WParam));
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomPlumbGrid::WMGetDlgCode(TMessage& Message) {
  Message.Result = DLGC_WANTARROWS;
  if (FOptionSet.Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
  if (FOptionSet.Contains(goEditing)) Message.Result |= DLGC_WANTCHARS;
}

void TCustomPlumbGrid::CMWantSpecialKey(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  if (FOptionSet.Contains(goEditing) && (Message.WParam & 0xFF) == 13) Message.Result = 1;
}

}  // namespace plumb
