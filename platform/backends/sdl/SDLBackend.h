#pragma once
// The SDL2 backend: the desktop in a real window, with the real keyboard, mouse, text input
// and input-method composition, the system clipboard and system cursors.
//
// The SDL window shows the main top-level window of the desktop at its top-left corner and
// follows it in size and caption; other top-level windows (popups, drop-down lists) appear
// over it where they lie relative to it. Without a main window the SDL window shows the
// desktop from (0, 0). SDL events become the window system's raw input, so hit testing,
// capture, focus and double clicks are decided by our window system, exactly as under the
// headless backend. When the desktop gives the SDL window the keyboard focus or takes it away,
// the window system's active window follows; the input method is told where the focused
// control's caret is, so that its candidate window sits at the text being typed.
#include <bitset>
#include <map>
#include <string>
#include <vector>

#include "win/Desktop.h"

struct SDL_Window;
struct SDL_Cursor;
union SDL_Event;

namespace plumb {

// Whether a real display is there for SDL: DISPLAY or WAYLAND_DISPLAY is set and SDL's video
// starts on a driver that shows windows (not the dummy or the offscreen one).
bool SDLDisplayAvailable();

class TSDLBackend : public TDesktopHost {
 public:
  TSDLBackend() = default;
  ~TSDLBackend() override;
  TSDLBackend(const TSDLBackend&) = delete;
  TSDLBackend& operator=(const TSDLBackend&) = delete;

  // Starts SDL video, makes a window of the given size (shown at the first Present) and a
  // fresh desktop of that size with this backend as its host, on the real clock.
  // False, with GetError telling why, when SDL cannot.
  bool Open(const std::string& Title, Integer Width, Integer Height);
  // Ends the desktop that Open made and closes the window.
  void Close();
  bool IsOpen() const { return FWindow != nullptr; }
  const std::string& GetError() const { return FError; }
  SDL_Window* GetWindow() const { return FWindow; }

  // The top-level window that the SDL window shows and follows. The first ordinary top-level
  // window that is shown becomes the main window unless one was set.
  void SetMainWindow(HWND Wnd);
  HWND GetMainWindow() const { return FMainWnd; }

  // Turns the waiting SDL events into raw input of the window system; returns how many were
  // handled. Input-method events wait in SDL's queue until the window system's queue is
  // empty, so that they reach the window that has the focus by then.
  int PumpEvents();
  // Follows the main window, then copies what changed on the top-level surfaces to the SDL
  // window and presents only those rectangles.
  void Present();
  // The rectangles (window coordinates) that the last Present sent to the screen.
  const std::vector<TRect>& GetPresentedRects() const { return FPresented; }
  // The user closed the window (or the process was asked to end).
  bool QuitRequested() const { return FQuit; }

  // The SDL_SystemCursor shown now, -1 while the cursor is hidden.
  int GetCursorShape() const { return FCursorShape; }
  bool IsComposing() const { return FComposing; }
  // The text-input rectangle last given to SDL (window coordinates): the caret of the control
  // that has the focus, or its client area when it has no caret.
  const TRect& GetTextInputRect() const { return FImeRect; }
  const std::string& GetCompositionText() const { return FComposition; }

  // ---- TDesktopHost ----
  bool WaitForInput(Cardinal TimeoutMs) override;
  void CursorChanged(HCURSOR Cursor) override;
  void Beep(UINT Type) override;
  void TopLevelChanged(HWND Wnd) override;
  bool HasClipboard() const override { return FWindow != nullptr; }
  void SetClipboard(const std::string& Text) override;
  std::string GetClipboard() override;

 private:
  struct TSides {  // the left and right key of one modifier
    bool Left = false, Right = false;
    bool Any() const { return Left || Right; }
  };

  // Events (SDLInput.cpp)
  void HandleEvent(const SDL_Event& E);
  bool MustWaitForQueue(const SDL_Event& E) const;
  void KeyEvent(const SDL_Event& E);
  bool ModifierKey(int32_t Sym, bool Down);
  void SyncModifiers(uint16_t Mod);
  void SetSides(TSides& S, bool Left, bool Right, Word VirtKey);
  char32_t KeyChar(const SDL_Event& E, Word VirtKey) const;
  bool SuppressText() const;
  void TextInput(const SDL_Event& E);
  void TextEditing(const SDL_Event& E);
  void EndComposition();
  void MouseButton(const SDL_Event& E);
  void MouseWheel(const SDL_Event& E);
  void FlushMove();
  void Key(Word VirtKey, bool Down, char32_t Char = 0);
  void ReleaseKeys();
  void SyncTextInput();
  TPoint ToScreen(int X, int Y) const { return TPoint{X + FOrigin.X, Y + FOrigin.Y}; }

  // Window events (SDLBackend.cpp)
  void WindowEvent(const SDL_Event& E);
  void QuitEvent();

  // Showing the desktop (SDLPresent.cpp)
  void FollowMainWindow();
  void TakeDamage();
  void ComposeArea(const TRect& Screen);

  SDL_Window* FWindow = nullptr;
  bool FShown = false;
  std::string FError;
  std::string FTitle;
  bool FQuit = false;

  HWND FMainWnd = 0;
  TPoint FOrigin;                  // screen position of the SDL window's (0, 0)
  std::map<HWND, TRect> FVisible;  // screen rectangles of the shown top-level windows
  std::vector<TRect> FDamage;      // screen coordinates, waiting for Present
  bool FFullDamage = true;
  std::vector<TRect> FPresented;

  TSides FShift, FCtrl, FAlt;
  std::bitset<256> FHeld;  // virtual keys we reported down
  uint32_t FButtons = 0;   // mouse buttons held, bit per TRawButton
  bool FMovePending = false;
  TPoint FMovePos;
  TPoint FPointer;  // screen position of the pointer's last move or press

  bool FTextInput = true;  // SDL's text input is on (the input method may compose)
  HWND FImeFocus = 0;
  TRect FImeRect{-1, -1, -1, -1};
  bool FComposing = false;
  HWND FComposeWnd = 0;
  std::string FComposition;

  std::map<int, SDL_Cursor*> FCursors;
  int FCursorShape = 0;  // SDL_SYSTEM_CURSOR_ARROW
};

}  // namespace plumb
