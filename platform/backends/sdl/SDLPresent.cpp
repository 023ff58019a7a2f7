// Showing the desktop in the SDL window: following the main window, collecting what changed,
// composing the top-level surfaces and presenting only the changed rectangles.
//
// Map: top-level changes | following the main window | damage | composing | Present
//
// Damage is kept in screen coordinates: a top-level window's dirty rectangles moved to where
// the window lies, plus the old and new places of windows that moved, appeared or vanished.
// Each damaged rectangle is composed afresh from the background and every top-level window
// over it, bottom-most first, so overlapping popups come out right.
#include <SDL.h>

#include <cstring>

#include "backends/sdl/SDLBackend.h"

namespace plumb {

namespace {

// A window that can be the main one: an ordinary top-level window, not a popup list or tool.
bool IsMainCandidate(HWND Wnd) {
  DWORD Ex = DWORD(GetWindowLongPtr(Wnd, GWL_EXSTYLE));
  return IsWindowVisible(Wnd) && !(Ex & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST));
}

// Drops rectangles that others contain; many small ones become their bounds.
void Simplify(std::vector<TRect>& Rects) {
  std::vector<TRect> Kept;
  for (size_t I = 0; I < Rects.size(); ++I) {
    const TRect& R = Rects[I];
    if (IsRectEmpty(R)) continue;
    bool Inside = false;
    for (size_t J = 0; J < Rects.size() && !Inside; ++J) {
      TRect X;
      Inside = J != I && IntersectRect(X, R, Rects[J]) && X == R && (X != Rects[J] || J < I);
    }
    if (!Inside) Kept.push_back(R);
  }
  if (Kept.size() > 16) {
    TRect U;
    for (const TRect& R : Kept) UnionRect(U, U, R);
    Kept.assign(1, U);
  }
  Rects.swap(Kept);
}

}  // namespace

// ---- Top-level changes -----------------------------------------------------------------------
// Called from inside the window system: only remembers what to redraw.
void TSDLBackend::TopLevelChanged(HWND Wnd) {
  auto It = FVisible.find(Wnd);
  if (It != FVisible.end()) {
    FDamage.push_back(It->second);
    FVisible.erase(It);
  }
  TRect R;
  if (IsWindowVisible(Wnd) && GetWindowRect(Wnd, R)) {
    FVisible[Wnd] = R;
    FDamage.push_back(R);
  }
  if (Wnd == FMainWnd && !IsWindow(Wnd)) FMainWnd = 0;
  if (!FMainWnd && IsWindow(Wnd) && IsMainCandidate(Wnd)) SetMainWindow(Wnd);
}

// ---- Following the main window ---------------------------------------------------------------
void TSDLBackend::FollowMainWindow() {
  if (FMainWnd && !IsWindow(FMainWnd)) FMainWnd = 0;
  TPoint Origin;
  TRect R;
  if (FMainWnd && GetWindowRect(FMainWnd, R)) {
    Origin = TPoint{R.Left, R.Top};
    int W = 0, H = 0;
    SDL_GetWindowSize(FWindow, &W, &H);
    if (R.Width() > 0 && R.Height() > 0 && (W != R.Width() || H != R.Height())) {
      SDL_SetWindowSize(FWindow, R.Width(), R.Height());
      FFullDamage = true;
    }
    std::string Title = GetWindowText(FMainWnd);
    if (!Title.empty() && Title != FTitle) {
      FTitle = Title;
      SDL_SetWindowTitle(FWindow, Title.c_str());
    }
  }
  if (Origin != FOrigin) {
    FOrigin = Origin;
    FFullDamage = true;
  }
  if (!FShown) {
    SDL_ShowWindow(FWindow);
    FShown = true;
    FFullDamage = true;
  }
}

// ---- Damage ----------------------------------------------------------------------------------
void TSDLBackend::TakeDamage() {
  std::vector<TRect> Dirty;
  for (HWND H : GetTopLevelWindows()) {
    TRect WR;
    if (!TakeDirtyRects(H, Dirty) || !GetWindowRect(H, WR)) continue;
    for (TRect D : Dirty) {
      OffsetRect(D, WR.Left, WR.Top);
      FDamage.push_back(D);
    }
  }
}

// ---- Composing -------------------------------------------------------------------------------
// Composes the screen area Screen (inside the view) into the SDL window surface.
void TSDLBackend::ComposeArea(const TRect& Screen) {
  SDL_Surface* Out = SDL_GetWindowSurface(FWindow);
  if (!Out) return;
  TSurface Area(Screen.Width(), Screen.Height(), ColorToPixel(clBackground));
  for (HWND H : GetTopLevelWindows()) {  // bottom-most first
    const TSurface* Src = GetWindowSurface(H);
    TRect WR, Part;
    if (!Src || !GetWindowRect(H, WR)) continue;
    WR.Right = WR.Left + Src->Width();
    WR.Bottom = WR.Top + Src->Height();
    if (!IntersectRect(Part, WR, Screen)) continue;
    for (Integer Y = Part.Top; Y < Part.Bottom; ++Y)
      std::memcpy(Area.Row(Y - Screen.Top) + (Part.Left - Screen.Left),
                  Src->Row(Y - WR.Top) + (Part.Left - WR.Left),
                  size_t(Part.Width()) * sizeof(uint32_t));
  }
  int X = Screen.Left - FOrigin.X, Y = Screen.Top - FOrigin.Y;
  if (SDL_MUSTLOCK(Out) && SDL_LockSurface(Out) != 0) return;
  auto* Dst = static_cast<uint8_t*>(Out->pixels) + Y * Out->pitch + X * Out->format->BytesPerPixel;
  // Our pixels are 0xAARRGGBB words; SDL converts them to whatever the window uses.
  SDL_ConvertPixels(Area.Width(), Area.Height(), SDL_PIXELFORMAT_ARGB8888, Area.Pixels(),
                    Area.Width() * 4, Out->format->format, Dst, Out->pitch);
  if (SDL_MUSTLOCK(Out)) SDL_UnlockSurface(Out);
}

// ---- Present ---------------------------------------------------------------------------------
void TSDLBackend::Present() {
  FPresented.clear();
  if (!FWindow) return;
  FollowMainWindow();
  TakeDamage();
  SDL_Surface* Out = SDL_GetWindowSurface(FWindow);
  if (!Out) {
    FDamage.clear();
    return;
  }
  TRect View = Bounds(FOrigin.X, FOrigin.Y, Out->w, Out->h);
  if (FFullDamage) FDamage.assign(1, View);
  FFullDamage = false;
  Simplify(FDamage);
  std::vector<SDL_Rect> Rects;
  for (const TRect& D : FDamage) {
    TRect R;
    if (!IntersectRect(R, D, View)) continue;
    ComposeArea(R);
    OffsetRect(R, -FOrigin.X, -FOrigin.Y);
    FPresented.push_back(R);
    Rects.push_back(SDL_Rect{R.Left, R.Top, R.Width(), R.Height()});
  }
  FDamage.clear();
  if (!Rects.empty()) SDL_UpdateWindowSurfaceRects(FWindow, Rects.data(), int(Rects.size()));
}

}  // namespace plumb
