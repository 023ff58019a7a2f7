// TCustomListBox: the control, and the window procedure of the list-box class.
//
// Map: life and properties | geometry (rows, integral height, the scroll bar) | the control's
// messages | the list window procedure (LB_ messages, keys, mouse) | painting
//
// The items are a TStringList the control owns; any change to it re-clamps the selection and
// the top row and updates the scroll bar. A change of the selection by the user runs Click.
#include <algorithm>

#include "controls/StdCtrls.h"
#include "core/Utf8.h"

namespace plumb {

// ---- Life and properties ---------------------------------------------------------------------
TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner),
      FItems(std::make_unique<TStringList>()),
      FCanvas(std::make_unique<TControlCanvas>()) {
  SetBounds(0, 0, 121, 97);
  FTabStop = true;
  FParentColor = false;
  FColor = clWindow;
  // Clicks and double clicks come from the list itself: a click is a change of selection.
  FControlStyle = {csCaptureMouse, csSetCaption, csDoubleClicks};
  FCanvas->SetControl(this);
  FItems->OnChange = [this](TObject*) { ItemsChanged(); };
}

TCustomListBox::~TCustomListBox() {
  FItems->OnChange = nullptr;
  FCanvas->SetControl(nullptr);
}

TStrings* TCustomListBox::GetItems() const {
  return FItems.get();
}

void TCustomListBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FBorderStyle == bsSingle) {
    if (FCtl3D)
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      Params.Style |= WS_BORDER;
  }
  Params.WindowClass.lpfnWndProc = &ListWndProc;
}

void TCustomListBox::CreateWnd() {
  inherited::CreateWnd();
  UpdateScrollBar();
}

void TCustomListBox::DropDownParams(TCreateParams& Params) {
  Params.Style |= WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WindowClass.style = CS_SAVEBITS;
}

void TCustomListBox::LiftAsDropDown() {
  ::plumb::SetParent(FHandle, 0);
  CallWindowProc(FDefWndProc, FHandle, WM_SETFOCUS, 0, 0);
}

void TCustomListBox::SetItemIndex(int Value) {
  if (Value < 0 || Value >= GetCount()) Value = -1;
  if (Value == FItemIndex) return;
  InvalidateItem(FItemIndex);
  FItemIndex = Value;
  InvalidateItem(Value);
  if (Value >= 0) MakeVisible(Value);
}

int TCustomListBox::GetItemHeight() const {
  return std::max(FItemHeight, FontTextExtent(*GetFont(), "").Y);
}

void TCustomListBox::SetItemHeight(int Value) {
  if (Value <= 0 || Value == FItemHeight) return;
  FItemHeight = Value;
  RowsChanged();
}

void TCustomListBox::SetIntegralHeight(bool Value) {
  if (FIntegralHeight == Value) return;
  FIntegralHeight = Value;
  RowsChanged();
}

void TCustomListBox::SetTopIndex(int Value) {
  Value = std::clamp(Value, 0, std::max(0, GetCount() - VisibleRows()));
  if (Value == FTopIndex) return;
  FTopIndex = Value;
  if (!FHandle) return;
  UpdateScrollBar();
  InvalidateRect(FHandle, nullptr, false);
}

void TCustomListBox::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

TCanvas* TCustomListBox::GetCanvas() {
  FCanvas->NeedHandle();
  FCanvas->Font()->Assign(GetFont());
  return FCanvas.get();
}

// ---- Geometry --------------------------------------------------------------------------------
int TCustomListBox::VisibleRows() {
  return std::max(1, GetClientHeight() / GetItemHeight());
}

TRect TCustomListBox::ItemRect(int Index) {
  int H = GetItemHeight();
  return Bounds(0, (Index - FTopIndex) * H, GetClientWidth(), H);
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) {
  int I = Pos.Y < 0 ? -1 : FTopIndex + Pos.Y / GetItemHeight();
  if (I >= 0 && I < GetCount()) return I;
  return Existing ? -1 : GetCount();
}

void TCustomListBox::InvalidateItem(int Index) {
  if (!FHandle || Index < 0) return;
  TRect R = ItemRect(Index);
  InvalidateRect(FHandle, &R, false);
}

void TCustomListBox::MakeVisible(int Index) {
  if (Index < FTopIndex)
    SetTopIndex(Index);
  else if (Index >= FTopIndex + VisibleRows())
    SetTopIndex(Index - VisibleRows() + 1);
}

// The frame is what the window's styles add around the client area.
void TCustomListBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  AHeight = ClampCoord(AHeight);
  if (FIntegralHeight) {
    TCreateParams P;
    CreateParams(P);
    Integer B = ((P.Style & WS_BORDER) ? 1 : 0) + ((P.ExStyle & WS_EX_CLIENTEDGE) ? 2 : 0);
    Integer H = GetItemHeight();
    AHeight = std::max(1, (AHeight - 2 * B) / H) * H + 2 * B;
  }
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
  UpdateScrollBar();
}

// A bar only when there are more items than rows; its range is the top rows there can be.
void TCustomListBox::UpdateScrollBar() {
  int Max = std::max(0, GetCount() - VisibleRows());
  FTopIndex = std::min(FTopIndex, Max);
  if (!FHandle) return;
  int Pos = FTopIndex;
  ScrollBarExtent(Max, Pos);
  SetScrollRange(FHandle, SB_VERT, 0, Max, true);
  SetScrollPos(FHandle, SB_VERT, Pos, true);
}

void TCustomListBox::RowsChanged() {
  SetBounds(FLeft, FTop, FWidth, FHeight);
  UpdateScrollBar();
  Invalidate();
}

void TCustomListBox::ItemsChanged() {
  if (FItemIndex >= GetCount()) FItemIndex = -1;
  UpdateScrollBar();
  Invalidate();
}

// ---- The control's messages ------------------------------------------------------------------
void TCustomListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;  // the paint covers every pixel
      break;
    case CM_FONTCHANGED:
      inherited::Dispatch(Message);
      RowsChanged();
      break;
    case CM_CTL3DCHANGED:
      if (FBorderStyle == bsSingle) RecreateWnd();
      inherited::Dispatch(Message);
      break;
    default:
      inherited::Dispatch(Message);
  }
}

void TCustomListBox::PaintWindow(HDC DC) {
  TMessage M{WM_PAINT, WPARAM(DC), 0, 0};
  DefaultHandler(M);
}

// ---- The list window procedure ---------------------------------------------------------------
LRESULT TCustomListBox::ListWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* L = dynamic_cast<TCustomListBox*>(FindControl(Wnd));
  TMessage M{Msg, WParam, LParam, 0};
  if (L && L->ListMessage(M)) return M.Result;
  return DefWindowProc(Wnd, Msg, WParam, LParam);
}

bool TCustomListBox::ListMessage(TMessage& M) {
  if (M.Msg >= WM_MOUSEFIRST && M.Msg <= WM_MOUSELAST) return ListMouse(M);
  if (M.Msg >= LB_SETCURSEL && M.Msg <= LB_GETITEMHEIGHT) return ListControlMessage(M);
  switch (M.Msg) {
    case WM_PAINT:
      if (M.WParam) {
        PaintList(reinterpret_cast<HDC>(M.WParam));
      } else {
        PAINTSTRUCT PS;
        PaintList(BeginPaint(FHandle, PS));
        EndPaint(FHandle, PS);
      }
      return true;
    case WM_KEYDOWN:
      ListKeyDown(Word(M.WParam));
      return true;
    case WM_CHAR:
      ListChar(char32_t(M.WParam));
      return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      FFocusLook = M.Msg == WM_SETFOCUS;
      InvalidateItem(FItemIndex);
      return true;
    case WM_GETDLGCODE:
      M.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return true;
    case WM_VSCROLL:
      ListScroll(LOWORD(M.WParam), int16_t(HIWORD(M.WParam)));
      return true;
    case WM_SIZE:
      UpdateScrollBar();
      return false;
    default:
      return false;
  }
}

bool TCustomListBox::ListControlMessage(TMessage& M) {
  int Index = int(int32_t(uint32_t(M.WParam)));
  switch (M.Msg) {
    case LB_GETCOUNT:
      M.Result = GetCount();
      return true;
    case LB_GETCURSEL:
      M.Result = FItemIndex;
      return true;
    case LB_SETCURSEL:
      SetItemIndex(Index);
      M.Result = FItemIndex == Index ? Index : LB_ERR;
      return true;
    case LB_GETTEXT:
      if (Index < 0 || Index >= GetCount()) {
        M.Result = LB_ERR;
      } else {
        std::string S = FItems->Get(Index);
        if (M.LParam) *reinterpret_cast<std::string*>(M.LParam) = S;
        M.Result = LRESULT(S.size());
      }
      return true;
    case LB_SELECTSTRING:
    case LB_FINDSTRING:
      M.Result = FindPrefix(Index, M.LParam ? reinterpret_cast<const char*>(M.LParam) : "");
      if (M.Msg == LB_SELECTSTRING && M.Result != LB_ERR) SetItemIndex(int(M.Result));
      return true;
    case LB_GETTOPINDEX:
      M.Result = FTopIndex;
      return true;
    case LB_SETTOPINDEX:
      SetTopIndex(Index);
      return true;
    case LB_GETITEMRECT:
      if (M.LParam) *reinterpret_cast<TRect*>(M.LParam) = ItemRect(Index);
      M.Result = Index >= 0 && Index < GetCount() ? 1 : LB_ERR;
      return true;
    case LB_GETITEMHEIGHT:
      M.Result = GetItemHeight();
      return true;
    case LB_SETITEMHEIGHT:
      SetItemHeight(int(M.LParam));
      return true;
    default:
      return false;
  }
}

// The first item after Start that begins with Prefix, letter case ignored, going round to
// the top; a Start that is no item's index (-1, 65535) searches from the top.
int TCustomListBox::FindPrefix(int Start, const std::string& Prefix) const {
  int N = GetCount();
  int From = Start >= 0 && Start < N ? Start + 1 : 0;
  // Compared in place, without a copy of each item: a list may hold a hundred thousand.
  auto Upper = [](char C) { return C >= 'a' && C <= 'z' ? char(C - 'a' + 'A') : C; };
  auto Begins = [&](const std::string& S) {
    if (S.size() < Prefix.size()) return false;
    for (size_t J = 0; J < Prefix.size(); ++J)
      if (Upper(S[J]) != Upper(Prefix[J])) return false;
    return true;
  };
  for (int K = 0; K < N; ++K) {
    int I = (From + K) % N;
    if (Begins(FItems->Ref(I))) return I;
  }
  return LB_ERR;
}

void TCustomListBox::SelectByUser(int Index) {
  if (Index == FItemIndex) {
    MakeVisible(Index);
    return;
  }
  SetItemIndex(Index);
  Click();
}

bool TCustomListBox::ListKeyDown(Word Key) {
  int N = GetCount(), Page = VisibleRows() - 1, I = std::max(FItemIndex, 0);
  if (N == 0) return false;
  switch (Key) {
    case VK_UP:
    case VK_LEFT:
      I = FItemIndex < 0 ? 0 : I - 1;
      break;
    case VK_DOWN:
    case VK_RIGHT:
      I = FItemIndex < 0 ? 0 : I + 1;
      break;
    case VK_PRIOR:
      I -= std::max(1, Page);
      break;
    case VK_NEXT:
      I += std::max(1, Page);
      break;
    case VK_HOME:
      I = 0;
      break;
    case VK_END:
      I = N - 1;
      break;
    default:
      return false;
  }
  SelectByUser(std::clamp(I, 0, N - 1));
  return true;
}

// A letter selects the next item that begins with it.
void TCustomListBox::ListChar(char32_t Ch) {
  if (Ch < 32 || Ch == 127) return;
  int I = FindPrefix(FItemIndex, U32ToUtf8(std::u32string(1, Ch)));
  if (I != LB_ERR) SelectByUser(I);
}

void TCustomListBox::ListScroll(int Code, int Pos) {
  int T = FTopIndex, Page = std::max(1, VisibleRows() - 1);
  switch (Code) {
    case SB_LINEUP:
      --T;
      break;
    case SB_LINEDOWN:
      ++T;
      break;
    case SB_PAGEUP:
      T -= Page;
      break;
    case SB_PAGEDOWN:
      T += Page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      T = Pos;
      break;
    case SB_TOP:
      T = 0;
      break;
    case SB_BOTTOM:
      T = GetCount();
      break;
    default:
      return;
  }
  SetTopIndex(T);
}

// A press selects the item under it and the selection follows the pointer while the button
// is held. A list that is a window of its own (dropped down under an edit) leaves the focus
// where it is.
bool TCustomListBox::ListMouse(TMessage& M) {
  TPoint P = LParamToPoint(M.LParam);
  switch (M.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      HWND H = FHandle;
      if (::plumb::GetParent(H) && GetFocus() != H) {
        ::plumb::SetFocus(H);
        if (FindControl(H) != this) return true;
      }
      FTracking = true;
      if (int I = ItemAtPos(P, true); I >= 0) SelectByUser(I);
      if (M.Msg == WM_LBUTTONDBLCLK && FindControl(H) == this) DblClick();
      return true;
    }
    case WM_MOUSEMOVE:
      if (FTracking && (M.WParam & MK_LBUTTON) && GetCount() > 0) {
        int I = P.Y < 0 ? FTopIndex - 1 : std::min(ItemAtPos(P, false), FTopIndex + VisibleRows());
        SelectByUser(std::clamp(I, 0, GetCount() - 1));
      }
      return true;
    case WM_LBUTTONUP:
      FTracking = false;
      return true;
    case WM_MOUSEWHEEL:
      SetTopIndex(FTopIndex - WheelScrollLines(FWheelPending, int16_t(HIWORD(M.WParam))));
      return true;
    default:
      return false;
  }
}

// ---- Painting --------------------------------------------------------------------------------
void TCustomListBox::PaintList(HDC DC) {
  FCanvas->FreeHandle();
  TCanvas& C = *FCanvas;
  C.SetHandle(DC);
  C.Font()->Assign(GetFont());
  TRect Client = GetClientRect();
  int H = GetItemHeight(), Line = C.TextHeight("");
  for (int Row = 0; Row * H < Client.Bottom; ++Row) {
    int I = FTopIndex + Row;
    TRect R = Bounds(0, Row * H, Client.Right, H);
    if (!RectVisible(DC, R)) continue;
    bool Selected = I == FItemIndex;
    C.Brush()->SetStyle(bsSolid);
    C.Brush()->SetColor(Selected ? clHighlight : FEnabled ? FColor : clBtnFace);
    C.FillRect(R);
    if (I >= GetCount()) continue;
    C.Font()->SetColor(Selected ? clHighlightText : FEnabled ? GetFont()->GetColor() : clGrayText);
    C.Brush()->SetStyle(bsClear);
    C.TextRect(R, R.Left + 2, R.Top + (H - Line) / 2, FItems->Get(I));
    if (Selected && FFocusLook) PaintFocus(C, R);
  }
  C.SetHandle(nullptr);
}

// A dotted frame that inverts what is under it, as focus frames do.
void TCustomListBox::PaintFocus(TCanvas& C, const TRect& R) {
  C.Pen()->SetStyle(psDot);
  C.Pen()->SetMode(pmXor);
  C.Pen()->SetColor(clWhite);
  C.Polyline({{R.Left, R.Top},
              {R.Right - 1, R.Top},
              {R.Right - 1, R.Bottom - 1},
              {R.Left, R.Bottom - 1},
              {R.Left, R.Top}});
  C.Pen()->SetMode(pmCopy);
  C.Pen()->SetStyle(psSolid);
}

}  // namespace plumb
