// The window records: the handle table, window classes, creation and destruction, the tree,
// window longs and text.
//
// Map: state and handles | classes | create | destroy | tree (parent, ancestors) | longs, text
#include "win/WinSystem.h"

#include <algorithm>
#include <chrono>

namespace plumb {
namespace win {

namespace {
// Never freed by static destruction: a window destroyed at exit must still find no system
// rather than a dead one.
TWinSystem* GSystem = nullptr;
// Handles stay unique across desktops, so a handle kept from an old desktop finds nothing.
HWND GNextHandle = 0x10010;

void InsertTopLevel(TWnd* W) {
  auto& L = Sys().TopLevels;
  auto It = L.begin();
  if (!(W->ExStyle & WS_EX_TOPMOST))
    while (It != L.end() && ((*It)->ExStyle & WS_EX_TOPMOST)) ++It;
  L.insert(It, W);
}

void Unlink(TWnd* W) {
  auto& L = W->Parent ? W->Parent->Children : Sys().TopLevels;
  L.erase(std::remove(L.begin(), L.end(), W), L.end());
  W->Parent = nullptr;
}

void PurgeQueue(HWND H) {
  auto& Q = Sys().Queue;
  Q.erase(
      std::remove_if(Q.begin(), Q.end(),
                     [H](const TQueueEntry& E) { return E.Kind == ekPosted && E.Msg.hwnd == H; }),
      Q.end());
  auto& T = Sys().Timers;
  T.erase(std::remove_if(T.begin(), T.end(), [H](const TTimer& X) { return X.Wnd == H && H; }),
          T.end());
}

void DestroyTree(TWnd* W) {
  HWND H = W->Handle;
  W->Destroying = true;
  CallProc(W, WM_DESTROY, 0, 0);
  std::vector<TWnd*> Kids = W->Children;
  for (TWnd* K : Kids)
    if (Find(K->Handle)) DestroyTree(K);
  if (!Find(H)) return;
  CallProc(W, WM_NCDESTROY, 0, 0);
  Unlink(W);
  for (TWnd* K : W->Children) K->Parent = nullptr;
  W->Children.clear();
  PurgeQueue(H);
  auto& S = Sys();
  auto It = S.Windows.find(H);
  if (It == S.Windows.end()) return;
  S.Graveyard.push_back(std::move(It->second));
  S.Windows.erase(It);
}

}  // namespace

TWinSystem& Sys() {
  if (!GSystem) GSystem = new TWinSystem();
  return *GSystem;
}

TWnd* Find(HWND Wnd) {
  if (!Wnd || !GSystem) return nullptr;
  auto It = GSystem->Windows.find(Wnd);
  return It == GSystem->Windows.end() ? nullptr : It->second.get();
}

DWORD Now() {
  auto& S = Sys();
  if (!S.RealClock) return S.ManualTime;
  auto Ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now().time_since_epoch())
                .count();
  return DWORD(S.ManualTime + DWORD(Ms - S.RealStart));
}

TDispatchScope::~TDispatchScope() {
  auto& S = Sys();
  if (--S.DispatchDepth == 0) S.Graveyard.clear();
}

LRESULT CallProc(TWnd* W, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TDispatchScope Scope;
  WNDPROC Proc = W->Proc;
  HWND H = W->Handle;
  return Proc ? Proc(H, Msg, WParam, LParam) : DefWindowProc(H, Msg, WParam, LParam);
}

TWnd* Root(TWnd* W) {
  while (W && W->Parent) W = W->Parent;
  return W;
}

bool IsAncestorOrSelf(const TWnd* Ancestor, const TWnd* W) {
  for (; W; W = W->Parent)
    if (W == Ancestor) return true;
  return false;
}

}  // namespace win

using namespace win;

void InitDesktop(Integer Width, Integer Height, TDesktopHost* Host) {
  ShutdownDesktop();
  auto& S = Sys();
  S.DesktopSize = TPoint{std::max(Width, 1), std::max(Height, 1)};
  S.Host = Host;
  S.CursorPos = TPoint{S.DesktopSize.X / 2, S.DesktopSize.Y / 2};
}

void ShutdownDesktop() {
  // No messages here: the objects behind the windows may be gone already.
  delete GSystem;
  GSystem = nullptr;
}

TPoint GetDesktopSize() {
  return Sys().DesktopSize;
}

// ---- Classes ---------------------------------------------------------------------------------
ATOM RegisterClass(const WNDCLASS& WndClass) {
  if (WndClass.lpszClassName.empty()) return 0;
  auto& C = Sys().Classes;
  C[WndClass.lpszClassName] = WndClass;
  return ATOM(C.size());
}

bool UnregisterClass(const std::string& ClassName) {
  return Sys().Classes.erase(ClassName) > 0;
}

bool GetClassInfo(const std::string& ClassName, WNDCLASS& WndClass) {
  auto& C = Sys().Classes;
  auto It = C.find(ClassName);
  if (It == C.end()) return false;
  WndClass = It->second;
  return true;
}

// ---- Creation and destruction ----------------------------------------------------------------
HWND CreateWindowEx(DWORD ExStyle, const std::string& ClassName, const std::string& WindowName,
                    DWORD Style, Integer X, Integer Y, Integer Width, Integer Height, HWND Parent,
                    void* lpParam) {
  auto& S = Sys();
  auto Cls = S.Classes.find(ClassName);
  if (Cls == S.Classes.end()) return 0;
  TWnd* P = Parent ? Find(Parent) : nullptr;
  if (Parent && !P) return 0;
  if ((Style & WS_CHILD) && !P) return 0;
  if (!(Style & WS_CHILD)) P = nullptr;  // an owner: we keep no owner relation

  auto Owned = std::make_unique<TWnd>();
  TWnd* W = Owned.get();
  HWND H = W->Handle = GNextHandle++;
  W->Class = Cls->second;
  W->Proc = W->Class.lpfnWndProc;
  W->Style = Style & ~DWORD(WS_VISIBLE);
  W->ExStyle = ExStyle;
  W->Rect = Bounds(X, Y, std::max(Width, 0), std::max(Height, 0));
  S.Windows[H] = std::move(Owned);
  if (P) {
    W->Parent = P;
    P->Children.insert(P->Children.begin(), W);
  } else {
    InsertTopLevel(W);
    W->Surface = std::make_unique<TSurface>(W->Rect.Width(), W->Rect.Height(), 0xFF000000);
  }

  CREATESTRUCT CS{lpParam, Parent, X, Y, Width, Height, Style, ExStyle, WindowName, ClassName};
  if (!CallProc(W, WM_NCCREATE, 0, LPARAM(&CS)) || !Find(H)) {
    DestroyWindow(H);
    return 0;
  }
  if (CallProc(W, WM_CREATE, 0, LPARAM(&CS)) == -1 || !Find(H)) {
    DestroyWindow(H);
    return 0;
  }
  SendPosChanged(W, TRect{}, TRect{-1, -1, -1, -1}, SWP_NOZORDER | SWP_NOACTIVATE);
  if ((Style & WS_VISIBLE) && Find(H)) ShowWindow(H, SW_SHOW);
  return Find(H) ? H : 0;
}

bool DestroyWindow(HWND Wnd) {
  TWnd* W = Find(Wnd);
  if (!W || W->Destroying) return false;
  TDispatchScope Scope;
  bool WasActive = IsAncestorOrSelf(W, Find(Sys().Active));
  if (IsVisible(W))
    SetWindowPos(Wnd, 0, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!(W = Find(Wnd))) return true;
  ForgetWindowInput(W);
  if (!(W = Find(Wnd))) return true;
  TWnd* Top = W->Parent ? nullptr : W;
  DestroyTree(W);
  auto& S = Sys();
  if (WasActive && S.Active == Wnd) {
    S.Active = 0;
    PickNewActiveWindow(nullptr);
  }
  if (Top && S.Host) S.Host->TopLevelChanged(Wnd);
  return true;
}

bool IsWindow(HWND Wnd) {
  return Find(Wnd) != nullptr;
}

// ---- The tree --------------------------------------------------------------------------------
bool IsChild(HWND Parent, HWND Wnd) {
  TWnd* P = Find(Parent);
  TWnd* W = Find(Wnd);
  return P && W && W != P && IsAncestorOrSelf(P, W);
}

HWND GetParent(HWND Wnd) {
  TWnd* W = Find(Wnd);
  return W && W->Parent ? W->Parent->Handle : 0;
}

HWND GetAncestor(HWND Wnd, UINT Flags) {
  TWnd* W = Find(Wnd);
  if (!W) return 0;
  if (Flags == GA_PARENT) return W->Parent ? W->Parent->Handle : 0;
  return Root(W)->Handle;
}

HWND SetParent(HWND Wnd, HWND NewParent) {
  TWnd* W = Find(Wnd);
  TWnd* NP = NewParent ? Find(NewParent) : nullptr;
  if (!W || (NewParent && !NP) || (NP && IsAncestorOrSelf(W, NP))) return 0;
  HWND Old = W->Parent ? W->Parent->Handle : 0;
  bool Visible = IsVisible(W);
  if (Visible) {
    TWnd* OldTop = Root(W);
    TRect Area = WindowRectInSurface(W);
    W->Style &= ~DWORD(WS_VISIBLE);
    InvalidateSurfaceArea(OldTop, Area);
    W->Style |= WS_VISIBLE;
  }
  Unlink(W);
  if (NP) {
    W->Parent = NP;
    NP->Children.insert(NP->Children.begin(), W);
    W->Surface.reset();
    W->Dirty.clear();
  } else {
    InsertTopLevel(W);
    W->Surface = std::make_unique<TSurface>(W->Rect.Width(), W->Rect.Height(), 0xFF000000);
  }
  if (IsVisible(W)) InvalidateWholeWindow(W);
  auto& S = Sys();
  if (S.Host && !NP) S.Host->TopLevelChanged(Wnd);
  return Old;
}

// ---- Window longs and text -------------------------------------------------------------------
LONG_PTR GetWindowLongPtr(HWND Wnd, int Index) {
  TWnd* W = Find(Wnd);
  if (!W) return 0;
  switch (Index) {
    case GWL_STYLE:
      return LONG_PTR(W->Style);
    case GWL_EXSTYLE:
      return LONG_PTR(W->ExStyle);
    case GWLP_USERDATA:
      return W->UserData;
    case GWLP_WNDPROC:
      return LONG_PTR(W->Proc);
    case GWLP_ID:
      return W->Id;
    default:
      return 0;
  }
}

LONG_PTR SetWindowLongPtr(HWND Wnd, int Index, LONG_PTR Value) {
  TWnd* W = Find(Wnd);
  if (!W) return 0;
  LONG_PTR Old = GetWindowLongPtr(Wnd, Index);
  switch (Index) {
    // Visibility changes only through ShowWindow/SetWindowPos, which repaint.
    case GWL_STYLE:
      W->Style = (DWORD(Value) & ~DWORD(WS_VISIBLE)) | (W->Style & WS_VISIBLE);
      break;
    case GWL_EXSTYLE:
      W->ExStyle = DWORD(Value);
      break;
    case GWLP_USERDATA:
      W->UserData = Value;
      break;
    case GWLP_WNDPROC:
      W->Proc = reinterpret_cast<WNDPROC>(Value);
      break;
    case GWLP_ID:
      W->Id = Value;
      break;
    default:
      return 0;
  }
  return Old;
}

bool SetWindowText(HWND Wnd, const std::string& Text) {
  return IsWindow(Wnd) && SendMessage(Wnd, WM_SETTEXT, 0, LPARAM(Text.c_str())) != 0;
}

std::string GetWindowText(HWND Wnd) {
  std::string Text;
  if (IsWindow(Wnd)) SendMessage(Wnd, WM_GETTEXT, 0, LPARAM(&Text));
  return Text;
}

}  // namespace plumb
