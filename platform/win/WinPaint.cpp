// Painting: update regions, WM_PAINT with BeginPaint/EndPaint, device contexts on the
// backing surfaces, ScrollWindowEx on real pixels, the window frame, and what backends read.
//
// Map: update regions | paint messages and DCs | ScrollWindowEx | frames | surfaces for backends
//
// Every top-level window owns an ARGB32 surface; its child windows draw into it at their
// place, each clipped to what of it is visible, so a parent never paints over its children.
#include <algorithm>
#include <cstring>

#include "win/WinSystem.h"

namespace plumb {
namespace win {

void AddUpdate(TWnd* W, const TRegion& R, bool Erase) {
  if (R.IsEmpty()) return;
  W->Update.Union(R);
  if (Erase) W->Erase = true;
}

namespace {

void InvalidateTree(TWnd* W, const TRect& Area) {
  if (!(W->Style & WS_VISIBLE)) return;
  TRegion Client = VisibleRegion(W, true);
  Client.Intersect(Area);
  if (!Client.IsEmpty()) {
    TPoint O = ClientOriginInSurface(W);
    Client.Offset(-O.X, -O.Y);
    AddUpdate(W, Client, true);
  }
  TRect I = NCInsets(W);
  if (I.Left || I.Top || I.Right || I.Bottom) {
    TRegion Frame = VisibleRegion(W, false);
    TRect C = ClientRect(W);
    TPoint O = ClientOriginInSurface(W);
    OffsetRect(C, O.X, O.Y);
    Frame.Subtract(C);
    if (Frame.Intersects(Area)) W->NCDirty = true;
  }
  for (TWnd* K : W->Children) InvalidateTree(K, Area);
}

size_t Area(const TRegion& R) {
  size_t N = 0;
  for (const TRect& X : R.Rects()) N += size_t(X.Width()) * size_t(X.Height());
  return N;
}

// A vertical move of nearly whole rows: reorder the surface's row table, which moves every row
// of the band for nothing, and put back what was not to move (the rest of those rows outside
// Dest). False, with nothing done, when copying Dest would be cheaper.
bool MoveRowsByRotation(TSurface& S, const TRegion& Dest, Integer DY) {
  TRect B = Dest.Bounds();
  Integer Top = std::min(B.Top, B.Top - DY), Bottom = std::max(B.Bottom, B.Bottom - DY);
  TRegion Keep(TRect{0, Top, S.Width(), Bottom});
  Keep.Subtract(Dest);
  size_t KeepArea = Area(Keep);
  if (KeepArea * 3 > Area(Dest)) return false;  // saved and put back: twice the traffic
  std::vector<uint32_t> Saved(KeepArea);
  uint32_t* P = Saved.data();
  for (const TRect& R : Keep.Rects())
    for (Integer Y = R.Top; Y < R.Bottom; ++Y, P += R.Width())
      std::memcpy(P, S.Row(Y) + R.Left, size_t(R.Width()) * sizeof(uint32_t));
  S.RotateRows(Top, Bottom, DY);
  P = Saved.data();
  for (const TRect& R : Keep.Rects())
    for (Integer Y = R.Top; Y < R.Bottom; ++Y, P += R.Width())
      std::memcpy(S.Row(Y) + R.Left, P, size_t(R.Width()) * sizeof(uint32_t));
  return true;
}

// Moves the pixels that land on Dest (surface coordinates) from where they were, Dest - (DX, DY).
// Rows and runs are visited in the order that never reads a pixel already overwritten.
void MovePixels(TSurface& S, const TRegion& Dest, Integer DX, Integer DY) {
  if (Dest.IsEmpty()) return;
  const size_t Px = sizeof(uint32_t);
  if (DX == 0 && DY != 0 && MoveRowsByRotation(S, Dest, DY)) return;
  if (Dest.Rects().size() == 1) {  // the usual case: one band
    const TRect& R = Dest.Rects()[0];
    for (Integer Step = 0; Step < R.Height(); ++Step) {
      Integer Y = DY > 0 ? R.Bottom - 1 - Step : R.Top + Step;
      std::memmove(S.Row(Y) + R.Left, S.Row(Y - DY) + R.Left - DX, size_t(R.Width()) * Px);
    }
    return;
  }
  TRect B = Dest.Bounds();
  std::vector<const TRect*> Runs;
  for (Integer Step = 0; Step < B.Height(); ++Step) {
    Integer Y = DY > 0 ? B.Bottom - 1 - Step : B.Top + Step;
    Runs.clear();
    for (const TRect& R : Dest.Rects())
      if (Y >= R.Top && Y < R.Bottom) Runs.push_back(&R);
    std::sort(Runs.begin(), Runs.end(), [DX](const TRect* A, const TRect* C) {
      return DX > 0 ? A->Left > C->Left : A->Left < C->Left;
    });
    uint32_t* Dst = S.Row(Y);
    const uint32_t* Src = S.Row(Y - DY);
    for (const TRect* R : Runs)
      std::memmove(Dst + R->Left, Src + R->Left - DX, size_t(R->Width()) * Px);
  }
}

}  // namespace

// ---- Update regions --------------------------------------------------------------------------
void InvalidateSurfaceArea(TWnd* Top, const TRect& Area) {
  if (Top && !IsRectEmpty(Area)) InvalidateTree(Top, Area);
}

void InvalidateWholeWindow(TWnd* W) {
  InvalidateSurfaceArea(Root(W), WindowRectInSurface(W));
}

void AddDirty(TWnd* W, const TRect& R) {
  TWnd* Top = Root(W);
  if (!Top || !Top->Surface || IsRectEmpty(R)) return;
  TRect C;
  if (!IntersectRect(C, R, Top->Surface->BoundsRect())) return;
  auto& D = Top->Dirty;
  D.push_back(C);
  if (D.size() > 64) {  // a backend only needs to know roughly where
    TRect U = D[0];
    for (const TRect& X : D) UnionRect(U, U, X);
    D.assign(1, U);
  }
}

TWnd* FindPaintWindowIn(TWnd* W) {
  if (!(W->Style & WS_VISIBLE)) return nullptr;
  if (!W->Update.IsEmpty() || W->NCDirty) return W;
  for (TWnd* K : W->Children)
    if (TWnd* P = FindPaintWindowIn(K)) return P;
  return nullptr;
}

TWnd* FindPaintWindow() {
  for (TWnd* T : Sys().TopLevels)
    if (TWnd* P = FindPaintWindowIn(T)) return P;
  return nullptr;
}

void SendPaint(TWnd* W) {
  HWND H = W->Handle;
  unsigned Before = W->Validations;
  CallProc(W, WM_PAINT, 0, 0);
  if ((W = Find(H)) && W->Validations == Before) W->Update.Clear();
}

// ---- Device contexts -------------------------------------------------------------------------
HDC NewDC(TWnd* W, bool ClientOnly) {
  auto DC = std::make_unique<TDeviceContext>();
  InitDC(*DC, Root(W)->Surface.get());
  if (ClientOnly) {
    DC->Origin = ClientOriginInSurface(W);
  } else {
    TRect R = WindowRectInSurface(W);
    DC->Origin = TPoint{R.Left, R.Top};
  }
  DC->Clip = VisibleRegion(W, ClientOnly);
  if (TWinRecord& Rec = Sys().Record; Rec.Enabled && Rec.RecordTexts)
    DC->TextLog = &Rec.Texts[W->Handle];
  HDC H = DC.get();
  Sys().DCs.push_back(std::move(DC));
  return H;
}

void FreeDC(HDC DC) {
  auto& L = Sys().DCs;
  auto It = std::find_if(L.begin(), L.end(), [DC](const auto& P) { return P.get() == DC; });
  if (It != L.end()) L.erase(It);
}

namespace {
bool OwnsDC(HDC DC) {
  auto& L = Sys().DCs;
  return std::any_of(L.begin(), L.end(), [DC](const auto& P) { return P.get() == DC; });
}
}  // namespace

// ---- The frame -------------------------------------------------------------------------------
void DrawNonClient(TWnd* W) {
  TRect I = NCInsets(W);
  if (!(I.Left || I.Top || I.Right || I.Bottom)) return;
  HDC DC = NewDC(W, false);
  TRect C = ClientRect(W);
  OffsetRect(C, I.Left + DC->Origin.X, I.Top + DC->Origin.Y);
  DC->Clip.Subtract(C);
  TRect R{0, 0, W->Rect.Width(), W->Rect.Height()};
  if (W->Style & WS_BORDER) {
    FillRect(DC, TRect{R.Left, R.Top, R.Right, R.Top + 1}, clWindowFrame);
    FillRect(DC, TRect{R.Left, R.Bottom - 1, R.Right, R.Bottom}, clWindowFrame);
    FillRect(DC, TRect{R.Left, R.Top, R.Left + 1, R.Bottom}, clWindowFrame);
    FillRect(DC, TRect{R.Right - 1, R.Top, R.Right, R.Bottom}, clWindowFrame);
    InflateRect(R, -1, -1);
  }
  if (W->ExStyle & WS_EX_CLIENTEDGE) DrawEdge(DC, R, EDGE_SUNKEN, BF_RECT);
  if (HasBar(W, SB_VERT)) DrawBar(W, SB_VERT, DC);
  if (HasBar(W, SB_HORZ)) DrawBar(W, SB_HORZ, DC);
  if (HasBar(W, SB_VERT) && HasBar(W, SB_HORZ)) {
    TRect V = BarRect(W, SB_VERT), H = BarRect(W, SB_HORZ);
    FillRect(DC, TRect{V.Left, H.Top, V.Right, H.Bottom}, clBtnFace);
  }
  AddDirty(W, DC->Clip.Bounds());
  FreeDC(DC);
}

}  // namespace win

using namespace win;

// ---- Invalidation ----------------------------------------------------------------------------
bool InvalidateRect(HWND Wnd, const TRect* R, bool Erase) {
  TWnd* W = Find(Wnd);
  if (!W) return false;
  auto& Rec = Sys().Record;
  if (Rec.Enabled) Rec.Invalidates.push_back({Wnd, R ? *R : TRect{}, R == nullptr, Erase, false});
  TRect C = ClientRect(W), X;
  if (R && !IntersectRect(X, *R, C)) return true;
  AddUpdate(W, TRegion(R ? X : C), Erase);
  return true;
}

bool ValidateRect(HWND Wnd, const TRect* R) {
  TWnd* W = Find(Wnd);
  if (!W) return false;
  auto& Rec = Sys().Record;
  if (Rec.Enabled) Rec.Invalidates.push_back({Wnd, R ? *R : TRect{}, R == nullptr, false, true});
  ++W->Validations;
  if (R)
    W->Update.Subtract(*R);
  else
    W->Update.Clear();
  if (W->Update.IsEmpty()) W->Erase = false;
  return true;
}

bool GetUpdateRect(HWND Wnd, TRect* R, bool Erase) {
  (void)Erase;
  TWnd* W = Find(Wnd);
  if (!W) return false;
  if (R) *R = W->Update.Bounds();
  return !W->Update.IsEmpty();
}

bool UpdateWindow(HWND Wnd) {
  TWnd* W = Find(Wnd);
  if (!W) return false;
  if (!IsVisible(W)) return true;
  if (!W->Update.IsEmpty()) {
    SendPaint(W);
  } else if (W->NCDirty) {
    W->NCDirty = false;
    CallProc(W, WM_NCPAINT, 1, 0);
  }
  return true;
}

// ---- Paint messages and DCs ------------------------------------------------------------------
HDC BeginPaint(HWND Wnd, PAINTSTRUCT& PS) {
  TWnd* W = Find(Wnd);
  PS = PAINTSTRUCT{};
  if (!W) return nullptr;
  if (W->NCDirty) {
    W->NCDirty = false;
    CallProc(W, WM_NCPAINT, 1, 0);
    if (!(W = Find(Wnd))) return nullptr;
  }
  ++W->Validations;
  TRegion Area = std::move(W->Update);
  W->Update.Clear();
  bool Erase = W->Erase;
  W->Erase = false;
  HDC DC = NewDC(W, true);
  Area.Offset(DC->Origin.X, DC->Origin.Y);
  DC->Clip.Intersect(Area);
  PS.hdc = DC;
  TRect B = DC->Clip.Bounds();
  OffsetRect(B, -DC->Origin.X, -DC->Origin.Y);
  PS.rcPaint = DC->Clip.IsEmpty() ? TRect{} : B;
  if (Erase) PS.fErase = CallProc(W, WM_ERASEBKGND, WPARAM(DC), 0) == 0;
  return DC;
}

bool EndPaint(HWND Wnd, const PAINTSTRUCT& PS) {
  if (!PS.hdc || !OwnsDC(PS.hdc)) return false;
  if (TWnd* W = Find(Wnd)) AddDirty(W, PS.hdc->Clip.Bounds());
  FreeDC(PS.hdc);
  return true;
}

HDC GetDC(HWND Wnd) {
  TWnd* W = Find(Wnd);
  return W ? NewDC(W, true) : nullptr;
}

int ReleaseDC(HWND Wnd, HDC DC) {
  if (!DC || !OwnsDC(DC)) return 0;
  if (TWnd* W = Find(Wnd)) AddDirty(W, DC->Clip.Bounds());
  FreeDC(DC);
  return 1;
}

// ---- ScrollWindowEx --------------------------------------------------------------------------
int ScrollWindowEx(HWND Wnd, Integer DX, Integer DY, const TRect* Scroll, const TRect* Clip,
                   TRegion* UpdateRgn, TRect* UpdateRect, UINT Flags) {
  TWnd* W = Find(Wnd);
  if (!W) return RGN_ERROR;
  auto& Rec = Sys().Record;
  if (Rec.Enabled)
    Rec.ScrollWindows.push_back({Wnd, DX, DY, Scroll ? *Scroll : TRect{}, Clip ? *Clip : TRect{},
                                 Scroll != nullptr, Clip != nullptr, Flags});
  TRect C = ClientRect(W), S = C, K = C, Area;
  if (Scroll) IntersectRect(S, *Scroll, C);
  if (Clip) IntersectRect(K, *Clip, C);
  IntersectRect(Area, S, K);
  TPoint O = ClientOriginInSurface(W);
  TRegion Visible = VisibleRegion(W, true);
  Visible.Offset(-O.X, -O.Y);
  // Pixels can move only from where the window is seen to where it is seen.
  TRegion Moved = Visible;
  Moved.Intersect(S);
  Moved.Offset(DX, DY);
  Moved.Intersect(K);
  Moved.Intersect(Visible);
  if (DX || DY) {
    TRegion Dest = Moved;
    Dest.Offset(O.X, O.Y);
    MovePixels(*Root(W)->Surface, Dest, DX, DY);
    TRect D = Area;
    OffsetRect(D, O.X, O.Y);
    AddDirty(W, D);
  }
  // Pending invalid parts inside the scrolled area travel with their pixels.
  TRegion Inside = W->Update;
  Inside.Intersect(S);
  if (!Inside.IsEmpty() && (DX || DY)) {
    W->Update.Subtract(Area);
    Inside.Offset(DX, DY);
    Inside.Intersect(K);
    W->Update.Union(Inside);
  }
  TRegion Uncovered(Area);
  if (DX || DY)
    Uncovered.Subtract(Moved);
  else
    Uncovered.Clear();
  if (Flags & SW_INVALIDATE) AddUpdate(W, Uncovered, Flags & SW_ERASE);
  if (UpdateRgn) *UpdateRgn = Uncovered;
  if (UpdateRect) *UpdateRect = Uncovered.Bounds();
  if (Uncovered.IsEmpty()) return NULLREGION;
  return Uncovered.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// ---- Surfaces for backends -------------------------------------------------------------------
std::vector<HWND> GetTopLevelWindows() {
  std::vector<HWND> L;
  auto& T = Sys().TopLevels;
  for (auto It = T.rbegin(); It != T.rend(); ++It)
    if ((*It)->Style & WS_VISIBLE) L.push_back((*It)->Handle);
  return L;
}

const TSurface* GetWindowSurface(HWND TopLevel) {
  TWnd* W = Find(TopLevel);
  return W && !W->Parent ? W->Surface.get() : nullptr;
}

bool TakeDirtyRects(HWND TopLevel, std::vector<TRect>& Rects) {
  TWnd* W = Find(TopLevel);
  if (!W || W->Parent) return false;
  Rects = std::move(W->Dirty);
  W->Dirty.clear();
  return true;
}

namespace {
void Blit(TSurface& Dst, Integer X, Integer Y, const TSurface& Src, const TRect& From) {
  TRect Target = Bounds(X, Y, From.Width(), From.Height()), Cut;
  if (!IntersectRect(Cut, Target, Dst.BoundsRect())) return;
  for (Integer Row = Cut.Top; Row < Cut.Bottom; ++Row) {
    const uint32_t* S = Src.Row(From.Top + Row - Y) + From.Left + Cut.Left - X;
    std::memcpy(Dst.Row(Row) + Cut.Left, S, size_t(Cut.Width()) * sizeof(uint32_t));
  }
}
}  // namespace

void ComposeDesktop(TSurface& Out) {
  TPoint Size = Sys().DesktopSize;
  Out = TSurface(Size.X, Size.Y, ColorToPixel(clBackground));
  for (HWND H : GetTopLevelWindows()) {
    TWnd* W = Find(H);
    Blit(Out, W->Rect.Left, W->Rect.Top, *W->Surface, W->Surface->BoundsRect());
  }
}

bool CaptureWindow(HWND Wnd, TSurface& Out) {
  TWnd* W = Find(Wnd);
  if (!W) return false;
  TSurface& S = *Root(W)->Surface;
  TRect R;
  if (!IntersectRect(R, WindowRectInSurface(W), S.BoundsRect())) R = TRect{};
  Out = TSurface(R.Width(), R.Height());
  Blit(Out, 0, 0, S, R);
  return true;
}

}  // namespace plumb
