// The SDL backend's life cycle and the desktop host's hooks: opening and closing, waiting for
// input, window events, the cursor and the clipboard.
//
// Map: display check | open, close | waiting and pumping | window events, quit | cursors |
// beep, clipboard
//
// The message loop calls WaitForInput only when nothing is left to do, so that is where the
// painted surfaces are presented, the input method follows the focus, and SDL is waited on.
#include "backends/sdl/SDLBackend.h"

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace plumb {

namespace {
// SDL's helpers (D-Bus among them) are freed only by SDL_Quit; do that once nothing of SDL
// is in use any more.
void QuitVideo() {
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}
}  // namespace

// ---- Display check ---------------------------------------------------------------------------
bool SDLDisplayAvailable() {
  const char* X = std::getenv("DISPLAY");
  const char* Wayland = std::getenv("WAYLAND_DISPLAY");
  if (!(X && *X) && !(Wayland && *Wayland)) return false;
  // A real display keeps the video started: shutting it down and starting it again at once
  // for the window that follows can find the X server not yet ready for a new connection.
  static bool Held = false;
  if (Held) return true;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  const char* Driver = SDL_GetCurrentVideoDriver();
  bool Real = Driver && std::strcmp(Driver, "dummy") != 0 && std::strcmp(Driver, "offscreen") != 0;
  if (Real)
    Held = true;
  else
    QuitVideo();
  return Real;
}

// ---- Open, close -----------------------------------------------------------------------------
TSDLBackend::~TSDLBackend() {
  Close();
}

bool TSDLBackend::Open(const std::string& Title, Integer Width, Integer Height) {
  Close();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    FError = SDL_GetError();
    return false;
  }
  // The click that brings the window to the front is a click like any other; whether it is
  // eaten is for WM_MOUSEACTIVATE to say, not for SDL.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  // The window surface is plain memory shown by the video driver; SDL need not bring up a
  // GL renderer behind it.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // Hidden until the first Present has sized it to the main window: no flash of a black
  // window of the wrong size, and no stale resize events from the window manager.
  FWindow = SDL_CreateWindow(Title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                             std::max(Width, 1), std::max(Height, 1),
                             SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (!FWindow) {
    FError = SDL_GetError();
    QuitVideo();
    return false;
  }
  FTitle = Title;
  FShown = false;
  FQuit = false;
  FFullDamage = true;
  InitDesktop(std::max(Width, 1), std::max(Height, 1), this);
  SetRealTimeClock(true);
  SDL_StartTextInput();
  return true;
}

void TSDLBackend::Close() {
  if (!FWindow) return;
  ShutdownDesktop();
  for (auto& [Shape, Cursor] : FCursors) SDL_FreeCursor(Cursor);
  FCursors.clear();
  SDL_DestroyWindow(FWindow);
  FWindow = nullptr;
  QuitVideo();
  FMainWnd = 0;
  FOrigin = TPoint{};
  FVisible.clear();
  FDamage.clear();
  FPresented.clear();
  FShift = FCtrl = FAlt = TSides{};
  FHeld.reset();
  FButtons = 0;
  FMovePending = false;
  FTextInput = true;
  FComposing = false;
  FComposition.clear();
  FImeFocus = 0;
  FImeRect = TRect{-1, -1, -1, -1};
  FPointer = TPoint{};
  FCursorShape = SDL_SYSTEM_CURSOR_ARROW;
}

void TSDLBackend::SetMainWindow(HWND Wnd) {
  FMainWnd = IsWindow(Wnd) ? Wnd : 0;
  FFullDamage = true;
}

// ---- Waiting and pumping ---------------------------------------------------------------------
bool TSDLBackend::WaitForInput(Cardinal TimeoutMs) {
  if (!FWindow) return false;
  Present();
  SyncTextInput();
  if (PumpEvents() > 0) return true;
  if (TimeoutMs == 0xFFFFFFFFu)
    SDL_WaitEvent(nullptr);
  else
    SDL_WaitEventTimeout(nullptr, int(std::min<Cardinal>(TimeoutMs, 0x7FFFFFFF)));
  PumpEvents();
  return true;
}

int TSDLBackend::PumpEvents() {
  if (!FWindow) return 0;
  SDL_PumpEvents();
  int Count = 0;
  SDL_Event E;
  while (SDL_PeepEvents(&E, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
    if (MustWaitForQueue(E)) {
      FlushMove();
      if (HasPendingMessages()) break;
    }
    SDL_PeepEvents(&E, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
    HandleEvent(E);
    ++Count;
  }
  FlushMove();
  return Count;
}

// ---- Window events, quit ---------------------------------------------------------------------
void TSDLBackend::WindowEvent(const SDL_Event& E) {
  switch (E.window.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_EXPOSED:
      FFullDamage = true;
      break;
    case SDL_WINDOWEVENT_RESIZED: {  // only the user or the window manager sends this one
      FFullDamage = true;
      int W = 0, H = 0;
      SDL_GetWindowSize(FWindow, &W, &H);
      TRect R;
      if (FMainWnd && GetWindowRect(FMainWnd, R) && (R.Width() != W || R.Height() != H))
        SetWindowPos(FMainWnd, 0, 0, 0, W, H, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      InjectActivation(true);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      // Key releases go to whichever window has the focus then; without them a modifier
      // held while leaving would stay down. The deactivation comes after them.
      ReleaseKeys();
      InjectActivation(false);
      break;
    default:
      break;
  }
}

void TSDLBackend::QuitEvent() {
  FQuit = true;
  if (IsWindow(FMainWnd))
    PostMessage(FMainWnd, WM_CLOSE, 0, 0);
  else
    PostQuitMessage(0);
}

// ---- Cursors ---------------------------------------------------------------------------------
namespace {

SDL_SystemCursor ShapeOf(HCURSOR Cursor) {
  switch (Cursor) {
    case IDC_IBEAM:
      return SDL_SYSTEM_CURSOR_IBEAM;
    case IDC_WAIT:
      return SDL_SYSTEM_CURSOR_WAIT;
    case IDC_APPSTARTING:
      return SDL_SYSTEM_CURSOR_WAITARROW;
    case IDC_CROSS:
      return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case IDC_SIZENWSE:
      return SDL_SYSTEM_CURSOR_SIZENWSE;
    case IDC_SIZENESW:
      return SDL_SYSTEM_CURSOR_SIZENESW;
    case IDC_SIZEWE:
    case IDC_HSPLIT:
      return SDL_SYSTEM_CURSOR_SIZEWE;
    case IDC_SIZENS:
    case IDC_VSPLIT:
      return SDL_SYSTEM_CURSOR_SIZENS;
    case IDC_SIZEALL:
      return SDL_SYSTEM_CURSOR_SIZEALL;
    case IDC_NO:
    case IDC_NODROP:
      return SDL_SYSTEM_CURSOR_NO;
    case IDC_HAND:
      return SDL_SYSTEM_CURSOR_HAND;
    default:
      return SDL_SYSTEM_CURSOR_ARROW;
  }
}

}  // namespace

void TSDLBackend::CursorChanged(HCURSOR Cursor) {
  if (!FWindow) return;
  if (!Cursor) {
    SDL_ShowCursor(SDL_DISABLE);
    FCursorShape = -1;
    return;
  }
  SDL_SystemCursor Shape = ShapeOf(Cursor);
  SDL_Cursor*& C = FCursors[Shape];
  if (!C) C = SDL_CreateSystemCursor(Shape);  // null where the driver has no cursors
  if (C) SDL_SetCursor(C);
  SDL_ShowCursor(SDL_ENABLE);
  FCursorShape = Shape;
}

// SDL has no sound of its own for this; the terminal the program runs in, if any, rings.
void TSDLBackend::Beep(UINT Type) {
  (void)Type;
  if (FWindow && isatty(STDERR_FILENO)) std::fputs("\a", stderr);
}

// ---- Clipboard -------------------------------------------------------------------------------
void TSDLBackend::SetClipboard(const std::string& Text) {
  SDL_SetClipboardText(Text.c_str());
}

std::string TSDLBackend::GetClipboard() {
  char* T = SDL_GetClipboardText();
  std::string Text = T ? T : "";
  SDL_free(T);
  return Text;
}

}  // namespace plumb
