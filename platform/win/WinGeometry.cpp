// Window geometry: frames, client areas, what of a window is visible, placement, z-order and
// point mapping.
//
// Map: frame and client rectangles | visible regions and hit testing | SetWindowPos and
// friends | enabling | point mapping
#include <algorithm>

#include "win/WinSystem.h"

namespace plumb {
namespace win {

// ---- Frame and client rectangles -------------------------------------------------------------
TRect NCInsets(const TWnd* W) {
  Integer B = 0;
  if (W->Style & WS_BORDER) B += 1;
  if (W->ExStyle & WS_EX_CLIENTEDGE) B += 2;
  TRect I{B, B, B, B};
  if (HasBar(W, SB_VERT)) I.Right += GetSystemMetrics(SM_CXVSCROLL);
  if (HasBar(W, SB_HORZ)) I.Bottom += GetSystemMetrics(SM_CYHSCROLL);
  return I;
}

TRect ClientRect(const TWnd* W) {
  TRect I = NCInsets(W);
  return TRect{0, 0, std::max(0, W->Rect.Width() - I.Left - I.Right),
               std::max(0, W->Rect.Height() - I.Top - I.Bottom)};
}

TRect ClientRectInParent(const TWnd* W) {
  TRect I = NCInsets(W);
  TRect C = ClientRect(W);
  OffsetRect(C, W->Rect.Left + I.Left, W->Rect.Top + I.Top);
  return C;
}

TRect WindowRectInSurface(const TWnd* W) {
  if (!W->Parent) return TRect{0, 0, W->Rect.Width(), W->Rect.Height()};
  TPoint P = ClientOriginInSurface(W->Parent);
  return Bounds(P.X + W->Rect.Left, P.Y + W->Rect.Top, W->Rect.Width(), W->Rect.Height());
}

TPoint ClientOriginInSurface(const TWnd* W) {
  TRect R = WindowRectInSurface(W);
  TRect I = NCInsets(W);
  return TPoint{R.Left + I.Left, R.Top + I.Top};
}

TPoint ClientOriginOnScreen(const TWnd* W) {
  const TWnd* Top = W;
  while (Top->Parent) Top = Top->Parent;
  TPoint P = ClientOriginInSurface(W);
  return TPoint{P.X + Top->Rect.Left, P.Y + Top->Rect.Top};
}

bool IsVisible(const TWnd* W) {
  for (; W; W = W->Parent)
    if (!(W->Style & WS_VISIBLE)) return false;
  return true;
}

bool IsEnabled(const TWnd* W) {
  for (; W; W = W->Parent)
    if (W->Style & WS_DISABLED) return false;
  return true;
}

// ---- Visible regions and hit testing ---------------------------------------------------------
TRegion VisibleRegion(const TWnd* W, bool ClientOnly) {
  if (!IsVisible(W)) return TRegion();
  TRect R = WindowRectInSurface(W);
  if (ClientOnly) {
    R = ClientRect(W);
    TPoint O = ClientOriginInSurface(W);
    OffsetRect(R, O.X, O.Y);
  }
  TRegion Rgn(R);
  for (const TWnd* C = W; C->Parent; C = C->Parent) {
    const TWnd* P = C->Parent;
    TRect PC = ClientRect(P);
    TPoint O = ClientOriginInSurface(P);
    OffsetRect(PC, O.X, O.Y);
    Rgn.Intersect(PC);
    for (const TWnd* Sib : P->Children) {
      if (Sib == C) break;
      if (Sib->Style & WS_VISIBLE) Rgn.Subtract(WindowRectInSurface(Sib));
    }
  }
  if (ClientOnly)
    for (const TWnd* K : W->Children)
      if (K->Style & WS_VISIBLE) Rgn.Subtract(WindowRectInSurface(K));
  const TWnd* Top = W;
  while (Top->Parent) Top = Top->Parent;
  Rgn.Intersect(TRect{0, 0, Top->Rect.Width(), Top->Rect.Height()});
  return Rgn;
}

TWnd* ChildFromPoint(TWnd* W, TPoint P) {
  for (TWnd* K : W->Children) {
    if (!(K->Style & WS_VISIBLE) || (K->Style & WS_DISABLED) || !PtInRect(K->Rect, P)) continue;
    TRect C = ClientRectInParent(K);
    if (!PtInRect(C, P)) return K;
    return ChildFromPoint(K, TPoint{P.X - C.Left, P.Y - C.Top});
  }
  return W;
}

void SendPosChanged(TWnd* W, const TRect& OldRect, const TRect& OldClient, UINT Flags) {
  TRect NewClient = ClientRectInParent(W);
  UINT F = Flags & ~UINT(SWP_NOMOVE | SWP_NOSIZE | SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE);
  if (NewClient.Width() == OldClient.Width() && NewClient.Height() == OldClient.Height())
    F |= SWP_NOCLIENTSIZE;
  if (NewClient.Left == OldClient.Left && NewClient.Top == OldClient.Top) F |= SWP_NOCLIENTMOVE;
  if (W->Rect.Left == OldRect.Left && W->Rect.Top == OldRect.Top) F |= SWP_NOMOVE;
  if (W->Rect.Width() == OldRect.Width() && W->Rect.Height() == OldRect.Height()) F |= SWP_NOSIZE;
  WINDOWPOS WP{W->Handle, 0, W->Rect.Left, W->Rect.Top, W->Rect.Width(), W->Rect.Height(), F};
  CallProc(W, WM_WINDOWPOSCHANGED, 0, LPARAM(&WP));
}

namespace {

std::vector<TWnd*>& Siblings(TWnd* W) {
  return W->Parent ? W->Parent->Children : Sys().TopLevels;
}

// Puts W in its place among its siblings; true when the order changed.
bool Reorder(TWnd* W, HWND After) {
  auto& L = Siblings(W);
  auto Old = std::find(L.begin(), L.end(), W) - L.begin();
  L.erase(L.begin() + Old);
  bool Top = !W->Parent;
  if (Top && After == HWND_TOPMOST) W->ExStyle |= WS_EX_TOPMOST;
  if (Top && After == HWND_NOTOPMOST) W->ExStyle &= ~DWORD(WS_EX_TOPMOST);
  size_t Pos = 0;
  TWnd* Sib = (After > HWND_BOTTOM && After < HWND_NOTOPMOST) ? Find(After) : nullptr;
  if (After == HWND_BOTTOM) {
    Pos = L.size();
  } else if (Sib && Sib != W && std::find(L.begin(), L.end(), Sib) != L.end()) {
    Pos = size_t(std::find(L.begin(), L.end(), Sib) - L.begin()) + 1;
  }
  if (Top && !(W->ExStyle & WS_EX_TOPMOST))  // plain windows stay below the top-most ones
    while (Pos < L.size() && (L[Pos]->ExStyle & WS_EX_TOPMOST)) ++Pos;
  if (Top && (W->ExStyle & WS_EX_TOPMOST))
    while (Pos > 0 && !(L[Pos - 1]->ExStyle & WS_EX_TOPMOST)) --Pos;
  L.insert(L.begin() + std::ptrdiff_t(Pos), W);
  return std::ptrdiff_t(Pos) != Old;
}

}  // namespace
}  // namespace win

using namespace win;

// ---- Placement -------------------------------------------------------------------------------
bool SetWindowPos(HWND Wnd, HWND InsertAfter, Integer X, Integer Y, Integer CX, Integer CY,
                  UINT Flags) {
  TWnd* W = Find(Wnd);
  if (!W) return false;
  TDispatchScope Scope;
  bool WasShown = W->Style & WS_VISIBLE;
  TRect OldArea = IsVisible(W) ? WindowRectInSurface(W) : TRect{};
  TRect OldRect = W->Rect, OldClient = ClientRectInParent(W);
  if (!(Flags & SWP_NOMOVE)) OffsetRect(W->Rect, X - W->Rect.Left, Y - W->Rect.Top);
  if (!(Flags & SWP_NOSIZE)) {
    W->Rect.Right = W->Rect.Left + std::max(CX, 0);
    W->Rect.Bottom = W->Rect.Top + std::max(CY, 0);
  }
  bool ZChanged = !(Flags & SWP_NOZORDER) && Reorder(W, InsertAfter);
  if (Flags & SWP_SHOWWINDOW) W->Style |= WS_VISIBLE;
  if (Flags & SWP_HIDEWINDOW) W->Style &= ~DWORD(WS_VISIBLE);
  bool Shown = W->Style & WS_VISIBLE;
  bool Sized = W->Rect.Width() != OldRect.Width() || W->Rect.Height() != OldRect.Height();
  bool Changed = Sized || W->Rect.Left != OldRect.Left || W->Rect.Top != OldRect.Top || ZChanged ||
                 Shown != WasShown || (Flags & SWP_FRAMECHANGED);
  if (!W->Parent && Sized) W->Surface->Resize(W->Rect.Width(), W->Rect.Height(), 0xFF000000);
  if (Changed && !(Flags & SWP_NOREDRAW)) {
    if (!W->Parent) {
      if (IsVisible(W)) InvalidateWholeWindow(W);
    } else {
      TRect NewArea = IsVisible(W) ? WindowRectInSurface(W) : TRect{}, U;
      UnionRect(U, OldArea, NewArea);
      InvalidateSurfaceArea(Root(W), U);
    }
  }
  bool TopLevel = !W->Parent;
  if (TopLevel && WasShown && !Shown && Sys().Active == Wnd) PickNewActiveWindow(W);
  if (Changed) SendPosChanged(W, OldRect, OldClient, Flags);
  if (TopLevel && !WasShown && Shown && !(Flags & SWP_NOACTIVATE) && (W = Find(Wnd)) &&
      IsActivatable(W))
    SetActiveWindow(Wnd);
  if (TopLevel && Changed && Sys().Host) Sys().Host->TopLevelChanged(Wnd);
  return true;
}

bool MoveWindow(HWND Wnd, Integer X, Integer Y, Integer Width, Integer Height, bool Repaint) {
  return SetWindowPos(Wnd, 0, X, Y, Width, Height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (Repaint ? 0u : UINT(SWP_NOREDRAW)));
}

bool ShowWindow(HWND Wnd, int CmdShow) {
  TWnd* W = Find(Wnd);
  if (!W) return false;
  bool Was = W->Style & WS_VISIBLE;
  UINT Keep = SWP_NOMOVE | SWP_NOSIZE;
  switch (CmdShow) {
    case SW_HIDE:
      if (Was)
        SetWindowPos(Wnd, 0, 0, 0, 0, 0, Keep | SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
      SetWindowPos(Wnd, 0, 0, 0, 0, 0, Keep | SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    default:
      if (W->Parent) {
        SetWindowPos(Wnd, 0, 0, 0, 0, 0, Keep | SWP_SHOWWINDOW | SWP_NOZORDER);
      } else {
        SetWindowPos(Wnd, HWND_TOP, 0, 0, 0, 0, Keep | SWP_SHOWWINDOW);
        if (Find(Wnd) && IsActivatable(Find(Wnd))) SetActiveWindow(Wnd);
      }
  }
  return Was;
}

bool GetWindowRect(HWND Wnd, TRect& R) {
  TWnd* W = Find(Wnd);
  if (!W) return false;
  R = WindowRectInSurface(W);
  TWnd* Top = Root(W);
  OffsetRect(R, Top->Rect.Left, Top->Rect.Top);
  return true;
}

bool GetClientRect(HWND Wnd, TRect& R) {
  TWnd* W = Find(Wnd);
  if (!W) return false;
  R = ClientRect(W);
  return true;
}

bool IsWindowVisible(HWND Wnd) {
  TWnd* W = Find(Wnd);
  return W && IsVisible(W);
}

HWND WindowFromPoint(TPoint P) {
  for (TWnd* T : Sys().TopLevels) {
    if (!(T->Style & WS_VISIBLE) || (T->Style & WS_DISABLED) || !PtInRect(T->Rect, P)) continue;
    TRect C = ClientRectInParent(T);
    if (!PtInRect(C, P)) return T->Handle;
    return ChildFromPoint(T, TPoint{P.X - C.Left, P.Y - C.Top})->Handle;
  }
  return 0;
}

// ---- Enabling --------------------------------------------------------------------------------
bool IsWindowEnabled(HWND Wnd) {
  TWnd* W = Find(Wnd);
  return W && !(W->Style & WS_DISABLED);
}

bool EnableWindow(HWND Wnd, bool Enable) {
  TWnd* W = Find(Wnd);
  if (!W) return false;
  bool WasDisabled = W->Style & WS_DISABLED;
  if (WasDisabled == !Enable) return WasDisabled;
  if (Enable) {
    W->Style &= ~DWORD(WS_DISABLED);
  } else {
    W->Style |= WS_DISABLED;
    CancelModesOf(W);
    if (!(W = Find(Wnd))) return WasDisabled;
  }
  CallProc(W, WM_ENABLE, Enable ? 1 : 0, 0);
  return WasDisabled;
}

// ---- Point mapping ---------------------------------------------------------------------------
int MapWindowPoints(HWND From, HWND To, TPoint* Points, UINT Count) {
  TWnd* F = From ? Find(From) : nullptr;
  TWnd* T = To ? Find(To) : nullptr;
  if ((From && !F) || (To && !T)) return 0;
  TPoint A = F ? ClientOriginOnScreen(F) : TPoint{};
  TPoint B = T ? ClientOriginOnScreen(T) : TPoint{};
  Integer DX = A.X - B.X, DY = A.Y - B.Y;
  for (UINT I = 0; I < Count; ++I) {
    Points[I].X += DX;
    Points[I].Y += DY;
  }
  return int(uint32_t(uint16_t(DX)) | (uint32_t(uint16_t(DY)) << 16));
}

int MapWindowPoints(HWND From, HWND To, TRect& R) {
  TPoint P[2] = {{R.Left, R.Top}, {R.Right, R.Bottom}};
  int Result = MapWindowPoints(From, To, P, 2);
  R = TRect{P[0].X, P[0].Y, P[1].X, P[1].Y};
  return Result;
}

bool ClientToScreen(HWND Wnd, TPoint& P) {
  if (!IsWindow(Wnd)) return false;
  MapWindowPoints(Wnd, 0, &P, 1);
  return true;
}

bool ScreenToClient(HWND Wnd, TPoint& P) {
  if (!IsWindow(Wnd)) return false;
  MapWindowPoints(0, Wnd, &P, 1);
  return true;
}

}  // namespace plumb
