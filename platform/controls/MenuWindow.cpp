// TPopupMenuWindow: the window a popup menu shows in.
//
// Map: showing and closing | layout and highlight | messages (mouse, keys, the choice) |
// painting
//
// While it shows, the window holds the mouse capture, so every pointer message comes here
// (a press outside closes the menu and goes no further), and the message loop offers it the
// keys first as CN_KEYDOWN/CN_CHAR, which it answers with 1 so that the focused control never
// sees them. A choice closes the menu and posts itself as WM_COMMAND: the item's OnClick runs
// from the queue, after every handler of the click or key has returned, so that it may free
// the menu.
#include <algorithm>

#include "controls/Menus.h"

namespace plumb {

namespace {
constexpr Integer Gutter = 22;  // the check mark's column, and as much room after the caption
constexpr Integer ItemPad = 3;
constexpr Integer LineHeight = 8;  // a separator
constexpr Integer Edge = 2;        // empty rows above the first item and below the last
}  // namespace

// ---- Showing and closing ---------------------------------------------------------------------
TPopupMenuWindow::TPopupMenuWindow(TPopupMenu* AMenu) : TCustomControl(AMenu), FMenu(AMenu) {
  FParentColor = false;
  FParentFont = false;
  FColor = clMenu;
}

void TPopupMenuWindow::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER | WS_CLIPSIBLINGS;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WndParent = 0;
  Params.WindowClass.style = CS_SAVEBITS;
}

// The menu opens to the left of or above the point where it would leave the screen.
void TPopupMenuWindow::ShowAt(Integer X, Integer Y) {
  CloseUp();
  Layout();
  Integer W = FLines.empty() ? 0 : FLines.back().Rect.Right + 2;
  Integer H = FLines.empty() ? 0 : FLines.back().Rect.Bottom + Edge + 2;
  if (X + W > GetSystemMetrics(SM_CXSCREEN)) X = std::max(0, X - W);
  if (Y + H > GetSystemMetrics(SM_CYSCREEN)) Y = std::max(0, Y - H);
  SetBounds(X, Y, W, H);
  HWND Wnd = GetHandle();
  SetWindowPos(Wnd, HWND_TOPMOST, X, Y, W, H, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  FHighlight = -1;
  FShown = true;
  SetCapture(Wnd);
  Invalidate();
}

void TPopupMenuWindow::CloseUp() {
  if (!FShown) return;
  FShown = false;  // first: releasing the capture comes back here as WM_CAPTURECHANGED
  FHighlight = -1;
  if (GetCapture() == FHandle) ReleaseCapture();
  SetWindowPos(FHandle, 0, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TPopupMenuWindow::Choose(int Index) {
  CloseUp();
  PostMessage(FHandle, WM_COMMAND, WPARAM(Index), 0);
}

// ---- Layout and highlight --------------------------------------------------------------------
// One line per visible item, all as wide as the widest caption needs.
void TPopupMenuWindow::Layout() {
  FLines.clear();
  TMenuItem* Items = FMenu->GetItems();
  Integer Text = FontTextExtent(*GetFont(), "").Y, Y = Edge, Widest = 0;
  for (int I = 0; Items && I < Items->GetCount(); ++I) {
    TMenuItem* Item = Items->GetItems(I);
    if (!Item->GetVisible()) continue;
    Integer H = Item->IsLine() ? LineHeight : Text + 2 * ItemPad;
    FLines.push_back(TLine{I, TRect{0, Y, 0, Y + H}});
    Y += H;
    if (!Item->IsLine())
      Widest = std::max(Widest, FontTextExtent(*GetFont(), Item->DisplayCaption()).X);
  }
  for (TLine& L : FLines) L.Rect.Right = std::max<Integer>(Widest + 2 * Gutter, 80);
}

TRect TPopupMenuWindow::ItemRect(int Index) const {
  int L = LineOf(Index);
  return L < 0 ? TRect{} : FLines[size_t(L)].Rect;
}

int TPopupMenuWindow::LineAt(TPoint P) const {
  for (size_t L = 0; L < FLines.size(); ++L)
    if (PtInRect(FLines[L].Rect, P)) return int(L);
  return -1;
}

int TPopupMenuWindow::LineOf(int Index) const {
  for (size_t L = 0; L < FLines.size(); ++L)
    if (FLines[L].Index == Index) return int(L);
  return -1;
}

bool TPopupMenuWindow::Choosable(int Line) const {
  TMenuItem* Item = FMenu->GetItems()->GetItems(FLines[size_t(Line)].Index);
  return Item->GetEnabled() && !Item->IsLine();
}

void TPopupMenuWindow::SetHighlight(int Index) {
  if (Index == FHighlight) return;
  for (int I : {FHighlight, Index}) {
    TRect R = ItemRect(I);
    if (!IsRectEmpty(R)) InvalidateRect(FHandle, &R, false);
  }
  FHighlight = Index;
}

// Steps over separators and goes round at either end.
void TPopupMenuWindow::MoveHighlight(int Step) {
  int N = int(FLines.size()), Cur = LineOf(FHighlight);
  for (int K = 1; K <= N; ++K) {
    int L = Cur < 0 ? (Step > 0 ? K - 1 : N - K) : ((Cur + Step * K) % N + N) % N;
    if (!FMenu->GetItems()->GetItems(FLines[size_t(L)].Index)->IsLine()) {
      SetHighlight(FLines[size_t(L)].Index);
      return;
    }
  }
}

// ---- Messages --------------------------------------------------------------------------------
void TPopupMenuWindow::Dispatch(TMessage& Message) {
  UINT Msg = Message.Msg;
  if (Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST) return MenuMouse(Message);
  if (Msg >= UINT(CN_BASE) + WM_KEYFIRST && Msg <= UINT(CN_BASE) + WM_KEYLAST) {
    if (FShown && (Msg == CN_KEYDOWN || Msg == CN_SYSKEYDOWN)) MenuKey(Word(Message.WParam));
    if (FShown && (Msg == CN_CHAR || Msg == CN_SYSCHAR)) MenuChar(char32_t(Message.WParam));
    Message.Result = 1;
    return;
  }
  switch (Msg) {
    case WM_COMMAND:
      FMenu->ItemChosen(int(Message.WParam));
      break;
    case WM_CANCELMODE:
      CloseUp();
      break;
    case WM_CAPTURECHANGED:
      if (HWND(Message.LParam) != FHandle) CloseUp();
      break;
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      break;
    default:
      inherited::Dispatch(Message);
  }
}

// The pointer highlights what it is over; a release on an item chooses it (so a press that
// dragged from elsewhere does too); a press outside closes the menu.
void TPopupMenuWindow::MenuMouse(TMessage& Message) {
  TPoint P = LParamToPoint(Message.LParam);
  int L = LineAt(P);
  bool Item = L >= 0 && !FMenu->GetItems()->GetItems(FLines[size_t(L)].Index)->IsLine();
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
      SetHighlight(Item ? FLines[size_t(L)].Index : -1);
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (!PtInRect(GetClientRect(), P)) CloseUp();
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (Item && Choosable(L)) Choose(FLines[size_t(L)].Index);
      break;
  }
}

void TPopupMenuWindow::MenuKey(Word Key) {
  switch (Key) {
    case VK_UP:
      MoveHighlight(-1);
      break;
    case VK_DOWN:
      MoveHighlight(1);
      break;
    case VK_HOME:
      SetHighlight(-1);
      MoveHighlight(1);
      break;
    case VK_END:
      SetHighlight(-1);
      MoveHighlight(-1);
      break;
    case VK_RETURN:
      if (int L = LineOf(FHighlight); L >= 0 && Choosable(L)) Choose(FHighlight);
      break;
    case VK_ESCAPE:
    case VK_MENU:
    case VK_F10:
      CloseUp();
      break;
    default:
      // No character is made from a key the menu took, so letters are read from the key.
      if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9')) MenuChar(char32_t(Key));
  }
}

// A letter chooses the one item it names (its accelerator, else its first letter); when
// several share it, each press highlights the next of them.
void TPopupMenuWindow::MenuChar(char32_t Ch) {
  if (Ch >= 'a' && Ch <= 'z') Ch = Ch - 'a' + 'A';
  std::vector<int> Match;
  for (size_t L = 0; L < FLines.size(); ++L) {
    TMenuItem* Item = FMenu->GetItems()->GetItems(FLines[L].Index);
    std::string S = Item->DisplayCaption();
    char32_t A = Item->Accelerator();
    if (!A && !S.empty()) A = char32_t(S[0] >= 'a' && S[0] <= 'z' ? S[0] - 'a' + 'A' : S[0]);
    if (A == Ch && Choosable(int(L))) Match.push_back(FLines[L].Index);
  }
  if (Match.size() == 1) return Choose(Match[0]);
  if (Match.empty()) return;
  auto Next = std::upper_bound(Match.begin(), Match.end(), FHighlight);
  SetHighlight(Next == Match.end() ? Match[0] : *Next);
}

// ---- Painting --------------------------------------------------------------------------------
void TPopupMenuWindow::Paint() {
  TCanvas* C = GetCanvas();
  C->Font()->Assign(GetFont());
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(FColor);
  C->FillRect(GetClientRect());
  for (const TLine& L : FLines) PaintItem(L);
}

void TPopupMenuWindow::PaintItem(const TLine& L) {
  TCanvas* C = GetCanvas();
  TMenuItem* Item = FMenu->GetItems()->GetItems(L.Index);
  TRect R = L.Rect;
  if (Item->IsLine()) {
    TRect E{R.Left + 2, R.Top + R.Height() / 2 - 1, R.Right - 2, R.Top + R.Height() / 2 + 1};
    DrawEdge(C->GetHandle(), E, EDGE_ETCHED, BF_TOP);
    return;
  }
  bool Lit = L.Index == FHighlight;
  if (Lit) {
    C->Brush()->SetColor(clHighlight);
    C->FillRect(R);
  }
  TColor Ink = !Item->GetEnabled() ? clGrayText : Lit ? clHighlightText : clMenuText;
  C->Font()->SetColor(Ink);
  C->Brush()->SetStyle(bsClear);
  Integer Y = R.Top + ItemPad;
  if (Item->GetChecked()) C->TextOut(R.Left + 6, Y, "\u2713");
  size_t Accel;
  std::string S = Item->DisplayCaption(&Accel);
  C->TextOut(R.Left + Gutter, Y, S);
  C->Brush()->SetStyle(bsSolid);
  if (Accel == std::string::npos) return;
  TTextMetric TM;
  GetTextMetrics(C->GetHandle(), TM);
  Integer X = R.Left + Gutter + C->TextWidth(S.substr(0, Accel));
  C->Brush()->SetColor(Ink);
  C->FillRect(Bounds(X, Y + TM.tmAscent + 1, C->TextWidth(S.substr(Accel, 1)), 1));
}

}  // namespace plumb
