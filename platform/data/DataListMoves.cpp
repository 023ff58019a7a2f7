// TPopupDataList: moving through the records of the list data set.
//
// Map: the messages | keys | the wheel and the scroll bar | typed letters
//
// The list box's own window procedure moves within the items it holds. Here the keys, the
// wheel, the scroll bar, a drag past an edge and typed letters move through the whole data set
// instead and never reach it; the control's events (OnKeyDown, OnKeyPress, OnMouseMove) still
// run first. A click lands on a row the window holds and stays the list box's.
#include <algorithm>

#include "DataList.h"
#include "DataSet.h"
#include "core/Utf8.h"

namespace plumb {

namespace {

// Thumb positions travel in 16 bits: a longer list spreads its first rows over this many.
constexpr Integer ThumbRange = 32767;

}  // namespace

// ---- The messages ----------------------------------------------------------------------------
void TPopupDataList::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KEYDOWN:
      WMKeyDown(Message);
      break;
    case WM_CHAR:
      WMChar(Message);
      break;
    case WM_MOUSEWHEEL:
      WMMouseWheel(Message);
      break;
    case WM_VSCROLL:
      WMVScroll(Message);
      break;
    case WM_MOUSEMOVE:
      WMMouseMove(Message);
      break;
    case WM_WINDOWPOSCHANGED:
      WMWindowPosChanged(Message);
      break;
    case CM_FONTCHANGED:
      inherited::Dispatch(Message);
      UpdateHeight();
      break;
    default:
      inherited::Dispatch(Message);
  }
}

void TPopupDataList::WMKeyDown(TMessage& Message) {
  if (!DoKeyDown(Message) && !MoveByKey(Word(Message.WParam))) DefaultHandler(Message);
}

void TPopupDataList::WMChar(TMessage& Message) {
  if (DoKeyPress(Message)) return;
  char32_t Ch = char32_t(Message.WParam);
  if (Ch >= 32 && Ch != 127) SearchPrefix(U32ToUtf8(std::u32string(1, Ch)));
}

void TPopupDataList::WMMouseWheel(TMessage& Message) {
  MoveWindow(FTop - WheelScrollLines(FWheelPending, int16_t(HIWORD(Message.WParam))));
}

void TPopupDataList::WMVScroll(TMessage& Message) {
  ScrollBy(LOWORD(Message.WParam), int16_t(HIWORD(Message.WParam)));
}

// Dragged past the top or bottom edge, the selection goes to the record beyond it.
void TPopupDataList::WMMouseMove(TMessage& Message) {
  TPoint P = LParamToPoint(Message.LParam);
  bool Dragging = (Message.WParam & MK_LBUTTON) && GetCapture() == FHandle;
  Integer Rows = Integer(FKeys.size());
  if (!Dragging || Rows == 0 || (P.Y >= 0 && P.Y < Rows * GetItemHeight())) {
    inherited::Dispatch(Message);
    return;
  }
  SelectByUser(P.Y < 0 ? FTop - 1 : FTop + Rows);
  MouseMove(KeysToShiftState(Message.WParam), P.X, P.Y);
}

// A list shown with stale rows reads them before it paints.
void TPopupDataList::WMWindowPosChanged(TMessage& Message) {
  inherited::Dispatch(Message);
  if (FStale && Showing()) ReadRows(true);
}

// ---- Keys ------------------------------------------------------------------------------------
// As the list box's keys, over the whole data set: a page is the rows shown less one.
bool TPopupDataList::MoveByKey(Word Key) {
  if (FCount == 0) return false;
  Integer Sel = SelectedRecord(), I = std::max(Sel, Integer(0));
  Integer Page = std::max(1, VisibleRows() - 1);
  switch (Key) {
    case VK_UP:
    case VK_LEFT:
      I = Sel < 0 ? 0 : I - 1;
      break;
    case VK_DOWN:
    case VK_RIGHT:
      I = Sel < 0 ? 0 : I + 1;
      break;
    case VK_PRIOR:
      I -= Page;
      break;
    case VK_NEXT:
      I += Page;
      break;
    case VK_HOME:
      I = 0;
      break;
    case VK_END:
      I = FCount - 1;
      break;
    default:
      return false;
  }
  SelectByUser(I);
  return true;
}

// ---- The wheel and the scroll bar ------------------------------------------------------------
void TPopupDataList::ScrollBy(int Code, int Pos) {
  Integer Top = FTop, Page = std::max(1, VisibleRows() - 1);
  switch (Code) {
    case SB_LINEUP:
      --Top;
      break;
    case SB_LINEDOWN:
      ++Top;
      break;
    case SB_PAGEUP:
      Top -= Page;
      break;
    case SB_PAGEDOWN:
      Top += Page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      Top = LastTop() > ThumbRange ? MulDiv(Pos, LastTop(), ThumbRange) : Pos;
      break;
    case SB_TOP:
      Top = 0;
      break;
    case SB_BOTTOM:
      Top = FCount;
      break;
    default:
      return;
  }
  MoveWindow(Top);
}

// The last record that can be the first shown.
Integer TPopupDataList::LastTop() {
  return std::max(Integer(0), FCount - WindowRows());
}

// The bar stands for the whole data set: its range is the first records there can be, its
// position the window's first record (the list box's own top row within the window added).
void TPopupDataList::ScrollBarExtent(int& Max, int& Pos) {
  Integer Last = LastTop(), Top = std::min(FTop + Pos, Last);
  Max = std::min(Last, ThumbRange);
  Pos = Last > ThumbRange ? MulDiv(Top, ThumbRange, Last) : Top;
}

// ---- Typed letters ---------------------------------------------------------------------------
// The first record after the selected one (from the first with none), going round, whose text
// begins with Prefix, letter case ignored. The rows the window holds are looked at first; then
// the data set searches its stored texts without moving the cursor, or, for a text that only a
// record in the fields gives (calculated, lookup, OnGetText, currency), the cursor walks.
void TPopupDataList::SearchPrefix(const std::string& Prefix) {
  TDataSet* DS = ReadableDataSet();
  if (!DS) return;
  NoteSelection();
  Integer After = FSelected;
  for (Integer R = After + 1; InWindow(R); After = R++)
    if (StartsText(Prefix, GetItems()->Get(int(R - FTop)))) {
      SelectByUser(R);
      return;
    }
  TField* Shown = ShownField(*DS);
  Integer Found = Shown->DisplaysStoredText() ? DS->FindPrefix(Shown, Prefix, After)
                                              : WalkToPrefix(*DS, Prefix, After);
  if (Found >= 0) SelectByUser(Found);
}

}  // namespace plumb
