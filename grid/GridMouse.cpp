// The mouse: clicks select rows or open the editor, double clicks are passed on, and the
// line right of the title column can be dragged to resize the two columns against each
// other, at run time and in the designer. Also the grid's reaction to focus, size, font,
// 3-D and cancel messages.
#include <algorithm>

#include "grid/uCPlumbGrd.h"

namespace plumb {

void TCustomPlumbGrid::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  HideEdit();
  if (!IsDesigning() && (CanFocus() || !GetParentForm(this))) {
    SetFocus();
    if (!IsActiveControl()) {
      SetMouseCapture(false);
      return;
    }
  }
  if (Button == mbLeft && Shift.Contains(ssDouble)) {
    DblClick();
  } else if (Button == mbLeft) {
    TGridLayout L;
    CalcDrawInfo(L);
    CalcSizingState(X, Y, FState, FSizeLinePos, FSizeGrabOffset, L);
    if (FState == gsColSizing) {
      DrawSizingLine(L);
      return;
    }
    TCellCoord Cell = CalcCoordFromPoint(X, Y, L);
    if (Cell.Y >= FNumFixedRows && FOptionSet.Contains(goEditing)) {
      if (Cell.Y == FCurrentCell.Y)
        ShowEditor();
      else
        FocusCell(ClickColumn(), Cell.Y, !Shift.Contains(ssShift));
    }
  }
  try {
    TCustomControl::MouseDown(Button, Shift, X, Y);
  } catch (...) {
    // A failing OnMouseDown handler must not leave the press half handled.
  }
}

// A click selects the value column, column 1; on a grid of other shape the nearest column
// that exists and is not fixed.
Integer TCustomPlumbGrid::ClickColumn() const {
  return std::max(std::min<Integer>(1, FNumCols - 1), FNumFixedCols);
}

void TCustomPlumbGrid::CalcSizingState(Integer X, Integer Y, TGridState& State, Integer& SizingPos,
                                       Integer& SizingOfs, const TGridLayout& Layout) {
  (void)Y;
  State = gsNormal;
  // The drag sizes column 0 against column 1; a grid of one column has nothing to share.
  if (!FOptionSet.Contains(goColSizing) || FNumCols < 2) return;
  Integer E = GetColWidths(0), LW = Layout.Cols.LineWidth;
  Integer Zone = LW >= 7 ? LW : 7;
  Integer Ofs = LW >= 7 ? 0 : (7 - LW) / 2;
  if (X >= E - Ofs && X <= E - Ofs + Zone) {
    State = gsColSizing;
    SizingPos = E;
    SizingOfs = E - X;
  }
}

bool TCustomPlumbGrid::Sizing(Integer X, Integer Y) {
  if (FState != gsNormal) return true;
  TGridLayout L;
  CalcDrawInfo(L);
  TGridState State;
  Integer Pos = 0, Ofs = 0;
  CalcSizingState(X, Y, State, Pos, Ofs, L);
  return State != gsNormal;
}

void TCustomPlumbGrid::DrawSizingLine(const TGridLayout& Layout) {
  TCanvas* Canvas = GetCanvas();
  TPen* Pen = Canvas->Pen();
  TPen Saved;
  Saved.Assign(Pen);
  Pen->SetStyle(psDot);
  Pen->SetMode(pmXor);
  Pen->SetWidth(1);
  Canvas->MoveTo(FSizeLinePos, 0);
  Canvas->LineTo(FSizeLinePos, Layout.Rows.CellsEnd);
  Pen->Assign(&Saved);
}

void TCustomPlumbGrid::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TGridLayout L;
  CalcDrawInfo(L);
  if (FState == gsColSizing) {
    DrawSizingLine(L);
    FSizeLinePos = X + FSizeGrabOffset;
    DrawSizingLine(L);
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomPlumbGrid::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  struct TBackToNormal {
    TGridState& State;
    ~TBackToNormal() { State = gsNormal; }
  } Restore{FState};
  if (FState == gsColSizing) {
    TGridLayout L;
    CalcDrawInfo(L);
    DrawSizingLine(L);
    Integer N = FSizeLinePos;
    if (N > 1) {
      Integer Total = GetColWidths(1) + GetColWidths(0);
      // Without the column fitting nothing else bounds the drag: keep column 1 at 0 or more.
      if (N > Total && Total >= 0) N = Total;
      SetColWidths(1, Total - N);
      SetColWidths(0, N);
      UpdateDesigner();
    }
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

// ---- Messages --------------------------------------------------------------------------------

void TCustomPlumbGrid::CMDesignHitTest(TMessage& Message) {
  Message.Result = Sizing(int16_t(Message.LParamLo()), int16_t(Message.LParamHi())) ? -1 : 0;
}

void TCustomPlumbGrid::WMNCHitTest(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  TPoint P{int16_t(Message.LParamLo()), int16_t(Message.LParamHi())};
  FHitPoint = ScreenToClient(P);
}

void TCustomPlumbGrid::WMSetCursor(TMessage& Message) {
  if (Word(Message.LParamLo()) == HTCLIENT) {
    TGridState State = FState;
    if (State == gsNormal) {
      TGridLayout L;
      CalcDrawInfo(L);
      Integer Pos = 0, Ofs = 0;
      CalcSizingState(FHitPoint.X, FHitPoint.Y, State, Pos, Ofs, L);
    }
    if (State == gsColSizing) {
      plumb::SetCursor(Screen->GetCursors(crHSplit));
      Message.Result = 1;
      return;
    }
  }
  TCustomControl::Dispatch(Message);
}

void TCustomPlumbGrid::WMLButtonDown(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  if (FEditor) FEditor->FLastClickTime = GetMessageTime();
}

void TCustomPlumbGrid::WMSetFocus(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  if (FEditor && FEditor->HandleAllocated() && HWND(Message.WParam) == FEditor->GetHandle()) return;
  InvalidateRect(GetSelection());
  UpdateEdit();
}

void TCustomPlumbGrid::WMKillFocus(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  InvalidateRect(GetSelection());
  if (FEditor && !(FEditor->HandleAllocated() && HWND(Message.WParam) == FEditor->GetHandle()))
    HideEdit();
}

void TCustomPlumbGrid::DoExit() {
  TCustomControl::DoExit();
  if (!FOptionSet.Contains(goAlwaysShowEditor)) HideEditor();
}

void TCustomPlumbGrid::WMSize(TMessage& Message) {
  bool WasShown = EditorShown();
  TCustomControl::Dispatch(Message);
  UpdateScrollRange();
  RealignEditor(WasShown);  // its cell may have left the view
}

void TCustomPlumbGrid::CMCancelMode(TMessage& Message) {
  if (FEditor) FEditor->WndProc(Message);
  TCustomControl::Dispatch(Message);
}

void TCustomPlumbGrid::CMFontChanged(TMessage& Message) {
  if (FEditor) FEditor->SetFont(GetFont());
  TCustomControl::Dispatch(Message);
}

void TCustomPlumbGrid::CMCtl3DChanged(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  RecreateWnd();
}

// ---- One dispatch point for every message the grid handles -----------------------------------

void TCustomPlumbGrid::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      WMGetDlgCode(Message);
      break;
    case WM_CHAR:
      WMChar(Message);
      break;
    case WM_COMMAND:
      WMCommand(Message);
      break;
    case WM_VSCROLL:
      WMVScroll(Message);
      break;
    case WM_HSCROLL:
      WMHScroll(Message);
      break;
    case WM_MOUSEWHEEL:
      WMMouseWheel(Message);
      break;
    case WM_SETCURSOR:
      WMSetCursor(Message);
      break;
    case WM_NCHITTEST:
      WMNCHitTest(Message);
      break;
    case WM_LBUTTONDOWN:
      WMLButtonDown(Message);
      break;
    case WM_SETFOCUS:
      WMSetFocus(Message);
      break;
    case WM_KILLFOCUS:
      WMKillFocus(Message);
      break;
    case WM_SIZE:
      WMSize(Message);
      break;
    case CM_WANTSPECIALKEY:
      CMWantSpecialKey(Message);
      break;
    case CM_DESIGNHITTEST:
      CMDesignHitTest(Message);
      break;
    case CM_CANCELMODE:
      CMCancelMode(Message);
      break;
    case CM_FONTCHANGED:
      CMFontChanged(Message);
      break;
    case CM_CTL3DCHANGED:
      CMCtl3DChanged(Message);
      break;
    default:
      TCustomControl::Dispatch(Message);
  }
}

}  // namespace plumb
