#pragma once
// An SDL backend on SDL's dummy video driver, windows that log what they hear, SDL events
// pushed as a user would make them, and a pump that runs both queues until they are empty.
#include <SDL.h>
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "backends/sdl/SDLBackend.h"

namespace plumb::test {

struct TSeen {
  HWND Wnd;
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  bool ShiftDown;  // GetKeyState(VK_SHIFT) when it was handled
};

class SDLTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A shown window of the logging class (double clicks on); top-level when Parent is 0.
  HWND Make(HWND Parent, TRect R, TColor Color, DWORD ExStyle = 0);
  // Runs SDL's events and the message queue until neither has anything left.
  void Run();

  void PushKey(SDL_Keycode Sym, bool Down, Uint16 Mod = 0);
  void Type(SDL_Keycode Sym, Uint16 Mod = 0);  // down and up
  void PushText(const char* Text);
  void PushEditing(const char* Text);
  void PushButton(bool Down, int X, int Y, Uint8 Clicks = 1);
  void PushMotion(int X, int Y);
  void PushWindowEvent(Uint8 Event, int Data1 = 0, int Data2 = 0);

  // The messages of these numbers, in order.
  std::vector<TSeen> Seen(std::initializer_list<UINT> Msgs) const;
  // The colour of a pixel of the SDL window, as 0xRRGGBB.
  uint32_t ScreenPixel(int X, int Y) const;

  TSDLBackend B;
};

// SDL asks D-Bus for a session bus, which D-Bus may try to launch when a display is named
// (and leak a little doing so); tests have no use for one.
void NoSessionBus();
std::vector<TSeen>& SeenLog();
std::map<HWND, TColor>& WindowColors();

}  // namespace plumb::test
