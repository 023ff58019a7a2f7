#pragma once
// The standard controls: the single-line edit (TCustomEdit, TEdit) and the list box
// (TCustomListBox, TListBox), with the edit and list-box messages they answer.
//
// As with the system's own controls, what a control does by itself (caret, selection,
// clipboard, scrolling, choosing items) lives in the window procedure of its window class.
// The control's handlers and events (KeyDown, KeyPress, OnKeyDown, MouseDown, ...) run first;
// whatever they leave goes on through DefaultHandler to that procedure. A descendant that
// zeroes a key or swallows WM_PASTE thereby keeps the control from acting on it, and one that
// wants the control's own painting calls PaintWindow.
#include <memory>
#include <string>
#include <vector>

#include "controls/Controls.h"
#include "controls/EditBuffer.h"
#include "core/Strings.h"

namespace plumb {

// ---- Edit and list-box messages ---------------------------------------------------------------
enum : UINT {
  EM_GETSEL = 0x00B0,  // wParam, lParam: DWORD* for start and end (may be 0)
  EM_SETSEL = 0x00B1,  // start -1 drops the selection; end -1 is the end of the text
  EM_GETRECT = 0x00B2,
  EM_SETRECT = 0x00B3,    // lParam: const TRect* (0 restores the default), repaints
  EM_SETRECTNP = 0x00B4,  // the same without repainting
  EM_SCROLLCARET = 0x00B7,
  EM_GETMODIFY = 0x00B8,
  EM_SETMODIFY = 0x00B9,
  EM_LIMITTEXT = 0x00C5,  // wParam 0: no limit
  EM_SETREADONLY = 0x00CF,
  EM_GETLIMITTEXT = 0x00D5,

  LB_SETCURSEL = 0x0186,
  LB_GETCURSEL = 0x0188,
  LB_GETTEXT = 0x0189,  // lParam: std::string* receiving the item
  LB_GETCOUNT = 0x018B,
  LB_SELECTSTRING = 0x018C,  // wParam: index before the search; lParam: const char* prefix
  LB_GETTOPINDEX = 0x018E,
  LB_FINDSTRING = 0x018F,  // as LB_SELECTSTRING without selecting
  LB_SETTOPINDEX = 0x0197,
  LB_GETITEMRECT = 0x0198,  // lParam: TRect*
  LB_SETITEMHEIGHT = 0x01A0,
  LB_GETITEMHEIGHT = 0x01A1
};
enum : int { LB_ERR = -1 };

// ---- TCustomEdit
// --------------------------------------------------------------------------------- A single-line
// edit. Text, caret and selection are held by a TEditBuffer; positions count characters. Every
// change the user makes reaches the parent as WM_COMMAND with EN_CHANGE; changes the program makes
// (SetText, a new mask) do not.
class TCustomEdit : public TWinControl {
  PLUMB_CLASS(TCustomEdit, TWinControl)
  explicit TCustomEdit(TComponent* AOwner);
  ~TCustomEdit() override;

  // The text as shown, blanks and literals of a mask included.
  std::string GetText() const override { return FBuffer.GetText(); }
  // A programmatic change: Modified is cleared, the parent hears nothing, OnChange runs.
  void SetText(const std::string& Value);
  // Length of the shown text in characters, the unit of the selection positions.
  int GetTextLen() const { return FBuffer.Length(); }

  // Negative means no limit but reads back as it was given (the grid marks read-only
  // cells with -1); 0 is no limit as well.
  int GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  bool GetReadOnly() const { return FBuffer.GetReadOnly(); }
  void SetReadOnly(bool Value);
  bool GetModified() const { return FBuffer.GetModified(); }
  void SetModified(bool Value) { FBuffer.SetModified(Value); }
  bool GetAutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);

  int GetSelStart() const { return FBuffer.SelStart(); }
  void SetSelStart(int Value);
  int GetSelLength() const { return FBuffer.SelLength(); }
  void SetSelLength(int Value);
  std::string GetSelText() const { return FBuffer.SelText(); }
  void SelectAll();
  void Clear() { SetText(""); }
  // The clipboard operations a user can ask for; each one sends its message.
  void ClearSelection();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();

  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void PaintWindow(HDC DC) override;
  void DoEnter() override;
  virtual void Change();
  // Asked before every modification the user tries; a descendant refuses through it.
  virtual bool EditCanModify() { return true; }
  // After the program replaced the text: FText follows, the caret shows, the edit repaints
  // and OnChange runs when the text is another.
  void TextSet(bool Changed);
  // What follows a user's edit: a beep when the buffer refused it (a mask, the length
  // limit); after a change the caret is scrolled into view, the edit repainted and the
  // parent told with EN_CHANGE.
  void UserEdit(TEditResult Result);
  TEditBuffer& Buffer() { return FBuffer; }
  const TEditBuffer& Buffer() const { return FBuffer; }

 private:
  // The window procedure of the edit class, and its parts (Edit.cpp).
  static LRESULT EditWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  bool EditMessage(TMessage& M);
  bool EditControlMessage(TMessage& M);
  bool EditMouse(TMessage& M);
  void EditClipboard(UINT Msg);
  void EditSetSel(Integer Start, Integer End);
  bool TakeFocus();
  void Redraw();
  // User changes: the permission test, and what follows a change (Edit.cpp).
  bool CanUserModify();
  void CaretMoved();
  void NotifyChange();
  // Keys and characters: one table each, small actions (EditKeys.cpp).
  bool EditKeyDown(Word Key);
  bool EditChar(char32_t Ch);
  void KeyLeft(bool Extend);
  void KeyRight(bool Extend);
  void KeyWordLeft(bool Extend);
  void KeyWordRight(bool Extend);
  void KeyHome(bool Extend);
  void KeyEnd(bool Extend);
  void KeyDelete(bool);
  void KeyBackspace(bool);
  void KeyCut(bool);
  void KeyCopy(bool);
  void KeyPaste(bool);
  void KeySelectAll(bool);
  void DoCut();
  void DoCopy();
  void DoPaste();
  void DoClear();
  // Measuring, scrolling and painting (EditPaint.cpp).
  TRect FormatRect();
  void Measure();
  Integer CharX(int Pos) const { return FCharX[size_t(Pos)]; }
  // The caret position nearest to a client x, or (not Nearest) the character under it.
  int PosFromX(Integer X, bool Nearest = true);
  bool ScrollCaret();
  void UpdateImeCaret();
  void PaintEdit(HDC DC);
  void PaintText(TCanvas& C, const TRect& R, int From, int To, bool Selected);

  TEditBuffer FBuffer;
  int FMaxLength = 0;
  bool FAutoSelect = true;
  bool FHideSelection = true;
  TBorderStyle FBorderStyle = bsSingle;
  bool FMouseSelecting = false;
  TRect FFormatRect;
  bool FHasFormatRect = false;
  Integer FScrollX = 0;
  // Per-character advances of the text last measured, and their running sums.
  std::u32string FMeasured;
  std::vector<Integer> FWidths;
  std::vector<Integer> FCharX{0};
  Integer FLineHeight = 0;
  bool FFontValid = false;
  std::unique_ptr<TCanvas> FPaintCanvas;
};

class TEdit : public TCustomEdit {
  PLUMB_CLASS(TEdit, TCustomEdit)
  using TCustomEdit::TCustomEdit;
};

// ---- TCustomListBox
// ------------------------------------------------------------------------------ A single-selection
// list of strings with its own vertical scroll bar. The selection is drawn in clHighlight. A user's
// change of the selection runs Click; a double click DblClick.
class TCustomListBox : public TWinControl {
  PLUMB_CLASS(TCustomListBox, TWinControl)
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;

  TStrings* GetItems() const;
  void SetItems(const TStrings* Value) { GetItems()->Assign(Value); }
  // -1 when nothing is selected; setting an index out of range selects nothing.
  int GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  // A row is never lower than a line of the font: a smaller value is raised to it.
  int GetItemHeight() const;
  void SetItemHeight(int Value);
  // Whole rows only: the control's height shrinks to a whole number of rows.
  bool GetIntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool Value);
  int GetTopIndex() const { return FTopIndex; }
  void SetTopIndex(int Value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  // The canvas, in the list's font (for measuring items).
  TCanvas* GetCanvas();
  int GetCount() const { return GetItems()->Count(); }
  void Clear() { GetItems()->Clear(); }
  // The item at a client point; with Existing, -1 below the last item, else the count.
  int ItemAtPos(TPoint Pos, bool Existing);
  TRect ItemRect(int Index);
  // Rows that fit the client area whole (at least one).
  int VisibleRows();

  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void PaintWindow(HDC DC) override;
  // A list dropped down under an edit: a bordered top-level tool window above the others that
  // is never activated, lifted out of its parent once made, and drawn as focused while the
  // edit that shows it keeps the keyboard.
  static void DropDownParams(TCreateParams& Params);
  void LiftAsDropDown();
  // The vertical scroll bar's range (0 to Max) and position, given as the list box's own: the
  // top rows there can be and the top row. A descendant that holds a window of a longer list
  // turns them into the window's place in the whole.
  virtual void ScrollBarExtent(int& Max, int& Pos) {
    (void)Max;
    (void)Pos;
  }
  void UpdateScrollBar();

 private:
  static LRESULT ListWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  bool ListMessage(TMessage& M);
  bool ListControlMessage(TMessage& M);
  bool ListMouse(TMessage& M);
  bool ListKeyDown(Word Key);
  void ListChar(char32_t Ch);
  void ListScroll(int Code, int Pos);
  int FindPrefix(int Start, const std::string& Prefix) const;
  void SelectByUser(int Index);
  void MakeVisible(int Index);
  void InvalidateItem(int Index);
  void ItemsChanged();
  void RowsChanged();
  void PaintList(HDC DC);
  void PaintFocus(TCanvas& C, const TRect& R);

  std::unique_ptr<TStringList> FItems;
  std::unique_ptr<TControlCanvas> FCanvas;
  int FItemIndex = -1;
  int FTopIndex = 0;
  int FItemHeight = 0;
  bool FIntegralHeight = false;
  TBorderStyle FBorderStyle = bsSingle;
  bool FFocusLook = false;
  bool FTracking = false;
  Integer FWheelPending = 0;  // a smooth wheel's turn not yet made into rows
};

class TListBox : public TCustomListBox {
  PLUMB_CLASS(TListBox, TCustomListBox)
  using TCustomListBox::TCustomListBox;
};

}  // namespace plumb
