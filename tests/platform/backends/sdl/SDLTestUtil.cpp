#include "SDLTestUtil.h"

#include <cstdlib>
#include <cstring>

namespace plumb::test {

std::vector<TSeen>& SeenLog() {
  static std::vector<TSeen> L;
  return L;
}

std::map<HWND, TColor>& WindowColors() {
  static std::map<HWND, TColor> C;
  return C;
}

namespace {

LRESULT SeenWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  SeenLog().push_back({Wnd, Msg, WParam, LParam, GetKeyState(VK_SHIFT) < 0});
  switch (Msg) {
    case WM_LBUTTONDOWN:
      SetFocus(Wnd);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT PS;
      HDC DC = BeginPaint(Wnd, PS);
      TRect C;
      GetClientRect(Wnd, C);
      FillRect(DC, C, WindowColors()[Wnd]);
      EndPaint(Wnd, PS);
      return 0;
    }
    default:
      return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

}  // namespace

void NoSessionBus() {
  setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/plumb-bus", 1);
}

void SDLTest::SetUp() {
  NoSessionBus();
  // Never a real window from a unit test, whatever display the machine has.
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  ASSERT_TRUE(B.Open("plumb test", 320, 240)) << B.GetError();
  SetRealTimeClock(false);
  SeenLog().clear();
  WindowColors().clear();
  WNDCLASS C;
  C.style = CS_DBLCLKS;
  C.lpfnWndProc = SeenWndProc;
  C.hCursor = LoadCursor(0, IDC_ARROW);
  C.lpszClassName = "Seen";
  RegisterClass(C);
}

void SDLTest::TearDown() {
  B.Close();
}

HWND SDLTest::Make(HWND Parent, TRect R, TColor Color, DWORD ExStyle) {
  DWORD Style = WS_VISIBLE | (Parent ? WS_CHILD : WS_POPUP);
  HWND W = CreateWindowEx(ExStyle, "Seen", "window", Style, R.Left, R.Top, R.Width(), R.Height(),
                          Parent);
  WindowColors()[W] = Color;
  return W;
}

void SDLTest::Run() {
  for (int Round = 0; Round < 50; ++Round) {
    int Events = B.PumpEvents();
    bool Any = false;
    MSG M;
    while (PeekMessage(M, 0, 0, 0, PM_REMOVE)) {
      Any = true;
      if (M.message == WM_QUIT) {
        SeenLog().push_back({0, WM_QUIT, M.wParam, 0, false});
        continue;
      }
      TranslateMessage(M);
      DispatchMessage(M);
    }
    if (!Events && !Any) return;
  }
}

void SDLTest::PushKey(SDL_Keycode Sym, bool Down, Uint16 Mod) {
  SDL_Event E{};
  E.type = Down ? SDL_KEYDOWN : SDL_KEYUP;
  E.key.state = Down ? SDL_PRESSED : SDL_RELEASED;
  E.key.keysym.sym = Sym;
  E.key.keysym.scancode = SDL_GetScancodeFromKey(Sym);
  E.key.keysym.mod = Mod;
  SDL_PushEvent(&E);
}

void SDLTest::Type(SDL_Keycode Sym, Uint16 Mod) {
  PushKey(Sym, true, Mod);
  PushKey(Sym, false, Mod);
}

void SDLTest::PushText(const char* Text) {
  SDL_Event E{};
  E.type = SDL_TEXTINPUT;
  std::strncpy(E.text.text, Text, sizeof E.text.text - 1);
  SDL_PushEvent(&E);
}

void SDLTest::PushEditing(const char* Text) {
  SDL_Event E{};
  E.type = SDL_TEXTEDITING;
  std::strncpy(E.edit.text, Text, sizeof E.edit.text - 1);
  SDL_PushEvent(&E);
}

void SDLTest::PushButton(bool Down, int X, int Y, Uint8 Clicks) {
  SDL_Event E{};
  E.type = Down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  E.button.button = SDL_BUTTON_LEFT;
  E.button.state = Down ? SDL_PRESSED : SDL_RELEASED;
  E.button.clicks = Clicks;
  E.button.x = X;
  E.button.y = Y;
  SDL_PushEvent(&E);
}

void SDLTest::PushMotion(int X, int Y) {
  SDL_Event E{};
  E.type = SDL_MOUSEMOTION;
  E.motion.x = X;
  E.motion.y = Y;
  SDL_PushEvent(&E);
}

void SDLTest::PushWindowEvent(Uint8 Event, int Data1, int Data2) {
  SDL_Event E{};
  E.type = SDL_WINDOWEVENT;
  E.window.windowID = SDL_GetWindowID(B.GetWindow());
  E.window.event = Event;
  E.window.data1 = Data1;
  E.window.data2 = Data2;
  SDL_PushEvent(&E);
}

std::vector<TSeen> SDLTest::Seen(std::initializer_list<UINT> Msgs) const {
  std::vector<TSeen> R;
  for (const TSeen& S : SeenLog())
    for (UINT M : Msgs)
      if (S.Msg == M) R.push_back(S);
  return R;
}

uint32_t SDLTest::ScreenPixel(int X, int Y) const {
  SDL_Surface* S = SDL_GetWindowSurface(B.GetWindow());
  if (!S || X < 0 || Y < 0 || X >= S->w || Y >= S->h) return 0xDEADBEEF;
  const auto* Row = static_cast<const uint8_t*>(S->pixels) + Y * S->pitch;
  uint32_t Raw = 0;
  std::memcpy(&Raw, Row + X * S->format->BytesPerPixel, S->format->BytesPerPixel);
  Uint8 R, G, Bl;
  SDL_GetRGB(Raw, S->format, &R, &G, &Bl);
  return (uint32_t(R) << 16) | (uint32_t(G) << 8) | Bl;
}

}  // namespace plumb::test
