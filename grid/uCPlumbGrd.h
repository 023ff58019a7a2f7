#pragma once
// The generic grid: TCustomPlumbGrid owns the grid mechanics (cell geometry, painting, the
// current cell and selection, scrolling, keyboard, mouse, sizing of the title column) and the
// in-place editor TInplaceEdit. It holds no cell data: a descendant draws the cells and
// supplies and stores the edited text.
//
// Implementation files, by concern:
//   GridCore.cpp        construction, Reset/Initialize, the plain setters, the window style
//   GridExtents.cpp     column widths, tab stops, count changes, the "ColWidths" stream data
//   GridGeometry.cpp    layouts for the current client size, cells to pixels and back
//   GridPaint.cpp       the paint cycle, grid lines, focus border, invalidation
//   GridNavigation.cpp  current cell, anchor and top-left moves, pixel scrolling
//   GridScroll.cpp      the scroll bar, the mouse wheel and the column fitting
//   GridKeyboard.cpp    keys and characters
//   GridMouse.cpp       clicks, column sizing, focus, size, font and cancel messages
//   GridEditor.cpp      the grid's side of in-place editing
//   InplaceEdit.cpp     the editor control
#include <functional>

#include "controls/Controls.h"
#include "controls/Forms.h"
#include "controls/MaskEdit.h"
#include "core/Filer.h"
#include "grid/ExtentList.h"
#include "grid/GridTypes.h"
#include "grid/Layout.h"

namespace plumb {

class TCustomPlumbGrid;

enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

using TSelectCellEvent = TEvent<void(TObject* Sender, Integer Col, Integer Row, bool& CanSelect)>;
using TDrawCellEvent =
    TEvent<void(TObject* Sender, Integer Col, Integer Row, TRect Rect, TGridDrawState State)>;

// ---- TInplaceEdit ----------------------------------------------------------------------------
class TInplaceEdit : public TCustomMaskEdit {
  PLUMB_CLASS(TInplaceEdit, TCustomMaskEdit)
  explicit TInplaceEdit(TComponent* AOwner);

  void SetGrid(TCustomPlumbGrid* Value) { FOwnerGrid = Value; }
  TCustomPlumbGrid* GetGrid() const { return FOwnerGrid; }
  // Caret at the end of the text, nothing selected.
  void Deselect();
  // Repaints the editor and the part of the grid under it.
  void Invalidate() override;
  void Hide();
  bool PosEqual(const TRect& Rect);
  void InternalMove(const TRect& Loc, bool Redraw);
  void UpdateLoc(const TRect& Loc) { InternalMove(Loc, false); }
  void Move(const TRect& Loc) { InternalMove(Loc, true); }
  bool Visible();
  void SetFocus() override;
  virtual void UpdateContents();
  virtual void BoundsChanged();

  // Message time of the last left press on the grid; a click on the editor soon after it
  // becomes a double click.
  Integer FLastClickTime = 0;

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DblClick() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  bool EditCanModify() override;

 private:
  void CMShowingChanged(TMessage& Message);
  void WMGetDlgCode(TMessage& Message);
  void WMPaste(TMessage& Message);
  void WMCut(TMessage& Message);
  void WMClear(TMessage& Message);
  void FireGridKeyDown(Word& Key, TShiftState Shift);

  TCustomPlumbGrid* FOwnerGrid = nullptr;
};

// ---- TCustomPlumbGrid ------------------------------------------------------------------------
// A host may move the current cell, the scroll position and the selection, and open or close
// the editor; everything else belongs to descendants, which publish what they allow with `using`
// (the record grid must keep its one row per column item, so it cannot let a host change the
// counts or the fixed rows).
class TCustomPlumbGrid : public TCustomControl {
  PLUMB_CLASS(TCustomPlumbGrid, TCustomControl)
  // The editor is part of this unit and drives the grid's key, edit-text and option queries.
  friend class TInplaceEdit;

  explicit TCustomPlumbGrid(TComponent* AOwner);
  ~TCustomPlumbGrid() override;

  Integer GetCol() const { return FCurrentCell.X; }
  void SetCol(Integer Value);
  Integer GetRow() const { return FCurrentCell.Y; }
  void SetRow(Integer Value);
  Integer GetLeftCol() const { return FTopLeftCell.X; }
  void SetLeftCol(Integer Value);
  Integer GetTopRow() const { return FTopLeftCell.Y; }
  void SetTopRow(Integer Value);
  TCellRange GetSelection() const;
  void SetSelection(const TCellRange& Value);
  TInplaceEdit* GetInplaceEditor() const { return FEditor; }

  void ShowEditor();
  void HideEditor();
  void ShowEditorChar(char32_t Ch);
  bool GetEditorMode() const { return FEditorActive; }
  void SetEditorMode(bool Value);
  void Invalidate() override;

 protected:
  // ---- Geometry ----
  TCellCoord MouseCoord(Integer X, Integer Y);
  TRect CellRect(Integer ACol, Integer ARow);
  TRect BoxRect(Integer FromCol, Integer FromRow, Integer ToCol, Integer ToRow);

  // ---- Properties ----
  TBorderStyle GetBorderStyle() const { return FBorder; }
  void SetBorderStyle(TBorderStyle Value);
  Integer GetColCount() const { return FNumCols; }
  void SetColCount(Integer Value);
  Integer GetColWidths(Integer Index) const;
  void SetColWidths(Integer Index, Integer Value);
  Integer GetDefaultColWidth() const { return FStdColWidth; }
  void SetDefaultColWidth(Integer Value);
  TColor GetFixedColor() const { return FFixedCellColor; }
  void SetFixedColor(TColor Value);
  Integer GetFixedCols() const { return FNumFixedCols; }
  void SetFixedCols(Integer Value);
  Integer GetFixedRows() const { return FNumFixedRows; }
  void SetFixedRows(Integer Value);
  TFocusBorder GetFocusBorder() const { return FFocusBorderKind; }
  void SetFocusBorder(TFocusBorder Value);
  Integer GetGridHeight();
  Integer GetGridWidth();
  Integer GetGridLineWidth() const { return FLineWidth; }
  void SetGridLineWidth(Integer Value);
  TGridOptions GetOptions() const { return FOptionSet; }
  void SetOptions(TGridOptions Value);
  Integer GetRowCount() const { return FNumRows; }
  void SetRowCount(Integer Value);
  Integer GetRowHeight() const { return FUniformRowHeight; }
  void SetDefaultRowHeight(Integer Value);
  Integer GetRowHeights(Integer Index) const;
  TScrollStyle GetScrollBars() const { return FScrollBarKind; }
  void SetScrollBars(TScrollStyle Value);
  bool GetTabStops(Integer Index) const;
  void SetTabStops(Integer Index, bool Value);
  Integer GetVisibleColCount();
  Integer GetVisibleRowCount();
  TGridState GetGridState() const { return FState; }
  Integer GetHorzPixelScroll() const { return FHorzPixelScroll; }

  // ---- Repainting ----
  void InvalidateRow(Integer ARow);
  void InvalidateRect(const TCellRange& ARange);
  virtual void InvalidateData();

  // ---- Overridable operations (first group) ----
  virtual void ColEnter() {}
  virtual void ColExit() {}
  virtual void UpdateEdit();
  virtual void Reset();
  virtual TInplaceEdit* CreateEditor();
  virtual bool CanEditShow();
  virtual void DrawCell(Integer ACol, Integer ARow, TRect ARect, TGridDrawState AState) = 0;
  virtual bool SelectCell(Integer ACol, Integer ARow);

  // ---- Overridable operations (second group) ----
  virtual bool CanEditAcceptKey(char32_t Key);
  virtual bool CanGridAcceptKey(Word Key, TShiftState Shift);
  virtual bool CanEditModify();
  virtual std::string GetEditText(Integer ACol, Integer ARow);
  virtual void SetEditText(Integer ACol, Integer ARow, const std::string& Value);
  virtual std::string GetEditMask(Integer ACol, Integer ARow);
  virtual Integer GetEditLimit();
  virtual void SizeChanged(Integer OldColCount, Integer OldRowCount);
  virtual void TopLeftChanged();
  virtual void TimedScroll(TGridScrollDirection Direction);
  virtual void ColWidthsChanged();

  // Public in the platform classes, which still call them through the base.
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void DblClick() override { TCustomControl::DblClick(); }
  void Dispatch(TMessage& Message) override;
  void DefineProperties(TFiler* Filer) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // ---- Layout, navigation, scrolling, focus and editor management ----
  bool IsActiveControl();
  void CalcFixedInfo(TGridLayout& Layout) const;
  void CalcDrawInfoXY(TGridLayout& Layout, Integer ViewWidth, Integer ViewHeight) const;
  void CalcDrawInfo(TGridLayout& Layout);
  TCellCoord CalcCoordFromPoint(Integer X, Integer Y, const TGridLayout& Layout) const;
  TCellCoord CalcMaxTopLeft(const TCellCoord& Coord, const TGridLayout& Layout) const;
  void GridRectToScreenRect(const TCellRange& ARange, TRect& ARect, bool WithLines);
  void FocusCell(Integer ACol, Integer ARow, bool MoveAnchor);
  void MoveCurrent(Integer ACol, Integer ARow, bool MoveAnchor, bool Show);
  void MoveAnchor(const TCellCoord& NewAnchor);
  void MoveTopLeft(Integer ALeft, Integer ATop);
  TCellCoord ClampTopLeft(TCellCoord Value);
  void ClampInView(const TCellCoord& Coord);
  void ScrollData(Integer DX, Integer DY);
  void ScrollDataInfo(Integer DX, Integer DY, const TGridLayout& Layout);
  void UpdateScrollRange();
  void UpdateScrollPos();
  void ModifyScrollBar(int ScrollBar, int ScrollCode, int Pos);
  void HideEdit();
  void UpdateText();
  // Puts an editor that was shown before a change back over the current cell, holding that
  // cell's text, or hides it when it may no longer show.
  void RealignEditor(bool WasShown);
  bool EditorShown();
  bool EditorCellExists() const;
  void UpdateDesigner();
  bool Sizing(Integer X, Integer Y);
  Integer ClickColumn() const;
  void Initialize();

  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void DoExit() override;
  void DrawFocus(TCanvas* Canvas, const TRect& FrameRect);
  void RowHeightsChanged();
  void ChangeSize(Integer NewColCount, Integer NewRowCount);
  virtual void ResizeCol(Integer Index, Integer OldSize, Integer NewSize);
  void SelectionMoved(const TCellRange& OldSel);
  void TopLeftMoved(const TCellCoord& OldTopLeft);
  void CalcSizingState(Integer X, Integer Y, TGridState& State, Integer& SizingPos,
                       Integer& SizingOfs, const TGridLayout& Layout);
  void DrawSizingLine(const TGridLayout& Layout);
  void ReadColWidths(TReader* Reader);
  void RestoreColWidths(const ExtentList& Old);
  void WriteColWidths(TWriter* Writer);

  // Message handlers.
  void WMGetDlgCode(TMessage& Message);
  void WMChar(TMessage& Message);
  void WMCommand(TMessage& Message);
  void WMVScroll(TMessage& Message);
  void WMHScroll(TMessage& Message);
  void WMMouseWheel(TMessage& Message);
  void WMSetCursor(TMessage& Message);
  void WMNCHitTest(TMessage& Message);
  void WMLButtonDown(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMSize(TMessage& Message);
  void CMWantSpecialKey(TMessage& Message);
  void CMDesignHitTest(TMessage& Message);
  void CMCancelMode(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMCtl3DChanged(TMessage& Message);

  // Fields, in declaration order.
  TCellCoord FAnchorCell;
  TBorderStyle FBorder = bsSingle;
  bool FEditModifyAllowed = true;
  Integer FNumCols = 2;
  ExtentList FColWidthList;
  ExtentList FTabStopList;
  TCellCoord FCurrentCell;
  Integer FStdColWidth = 64;
  Integer FUniformRowHeight = 18;
  Integer FNumFixedCols = 1;
  Integer FNumFixedRows = 0;
  TColor FFixedCellColor = clBtnFace;
  Integer FLineWidth = 1;
  TGridOptions FOptionSet;
  Integer FNumRows = 1;
  TScrollStyle FScrollBarKind = ssVertical;
  TCellCoord FTopLeftCell;
  Integer FSizeLinePos = 0;
  Integer FSizeGrabOffset = 0;
  TPoint FHitPoint;
  TInplaceEdit* FEditor = nullptr;
  TCellCoord FEditorCell{-1, -1};
  Integer FHorzPixelScroll = 0;
  bool FEditorActive = false;
  TFocusBorder FFocusBorderKind = fbEtched;
  TGridState FState = gsNormal;

 private:
  void PaintLines(const TGridLayout& L);
  void PaintGridLines(const TGridLayout& L, const TRect& Bounds, Integer FirstCol, Integer FirstRow,
                      bool RowLines, bool ColLines, TColor OnColor, TColor OffColor,
                      struct TStrokeBuffer& Strokes);
  void PaintAxisLines(const TAxisLayout& Axis, bool Horizontal, const TRect& Bounds,
                      Integer FirstCell, TColor Color, struct TStrokeBuffer& Strokes);
  void PaintCellBlock(const TGridLayout& L, Integer FirstCol, Integer FirstRow, Integer Left,
                      Integer Top, Integer Right, Integer Bottom, TColor FillColor,
                      TGridDrawState BaseState, const TCellRange& SelRange);
  void PaintCell(const TGridLayout& L, Integer ACol, Integer ARow, const TRect& Box,
                 TColor FillColor, TGridDrawState BaseState, const TCellRange& SelRange);
  void PaintRowFrame(const TCellRange& SelRange);
  void ApplyCountChange();
  void RepaintAfterCountChange(const TGridLayout& OldLayout);
  void LoadEditor();
  void ScrollByPixels(int ScrollCode, int Pos, const TGridLayout& L);
  TGetExtentsFunc ColExtents() const;
  TGetExtentsFunc RowExtents() const;
  static Integer ColWidthOf(const void* Grid, Integer Index);
  static Integer RowHeightOf(const void* Grid, Integer Index);

  // Set for each paint: edge flags of 3-D fixed cells, and whether the grid is active.
  UINT FTrailingEdges = 0;
  UINT FLeadingEdges = 0;
  bool FPaintActive = false;
  Integer FWheelPending = 0;  // a smooth wheel's turn not yet made into rows
};

}  // namespace plumb
