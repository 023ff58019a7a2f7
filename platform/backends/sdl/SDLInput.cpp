// SDL input becomes the window system's raw input.
//
// Map: key table | typed characters | event switch | keys and modifiers | text and composition |
// mouse and wheel | input-method state
//
// A keystroke: SDL_KEYDOWN gives InjectKey with the virtual key; the window system makes
// WM_KEYDOWN (WM_SYSKEYDOWN with Alt) when the queue is read. Printable characters come only
// from SDL_TEXTINPUT (InjectChar, one WM_CHAR per code point), which also brings composed
// characters that had no key of their own. Keys that SDL gives no text for (Enter, Tab,
// Backspace, Escape, Ctrl+letter, Alt+key) carry their character in InjectKey, so that
// TranslateMessage puts WM_CHAR or WM_SYSCHAR right behind their key-down.
#include <SDL.h>

#include <cmath>
#include <cstring>

#include "backends/sdl/SDLBackend.h"
#include "core/Utf8.h"

namespace plumb {

namespace {

// The punctuation keys, by their place on a US keyboard as Win32 numbers them.
enum : Word {
  VK_OEM_1 = 0xBA,
  VK_OEM_PLUS = 0xBB,
  VK_OEM_COMMA = 0xBC,
  VK_OEM_MINUS = 0xBD,
  VK_OEM_PERIOD = 0xBE,
  VK_OEM_2 = 0xBF,
  VK_OEM_3 = 0xC0,
  VK_OEM_4 = 0xDB,
  VK_OEM_5 = 0xDC,
  VK_OEM_6 = 0xDD,
  VK_OEM_7 = 0xDE,
  VK_OEM_102 = 0xE2
};

// The input-method modes of the class library that matter here.
constexpr int ImeDisable = 0;
constexpr int ImeDontCare = 3;

// ---- Key table -------------------------------------------------------------------------------
struct TKeyName {
  SDL_Keycode Sym;
  Word VirtKey;
};
constexpr TKeyName NamedKeys[] = {
    {SDLK_BACKSPACE, VK_BACK},
    {SDLK_TAB, VK_TAB},
    {SDLK_RETURN, VK_RETURN},
    {SDLK_KP_ENTER, VK_RETURN},
    {SDLK_ESCAPE, VK_ESCAPE},
    {SDLK_SPACE, VK_SPACE},
    {SDLK_PAGEUP, VK_PRIOR},
    {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_END, VK_END},
    {SDLK_HOME, VK_HOME},
    {SDLK_LEFT, VK_LEFT},
    {SDLK_UP, VK_UP},
    {SDLK_RIGHT, VK_RIGHT},
    {SDLK_DOWN, VK_DOWN},
    {SDLK_INSERT, VK_INSERT},
    {SDLK_DELETE, VK_DELETE},
    {SDLK_PAUSE, VK_PAUSE},
    {SDLK_CAPSLOCK, VK_CAPITAL},
    {SDLK_NUMLOCKCLEAR, VK_NUMLOCK},
    {SDLK_SCROLLLOCK, VK_SCROLL},
    {SDLK_PRINTSCREEN, VK_SNAPSHOT},
    {SDLK_APPLICATION, VK_APPS},
    {SDLK_LGUI, VK_LWIN},
    {SDLK_RGUI, VK_RWIN},
    {SDLK_HELP, VK_HELP},
    {SDLK_KP_PLUS, VK_ADD},
    {SDLK_KP_MINUS, VK_SUBTRACT},
    {SDLK_KP_MULTIPLY, VK_MULTIPLY},
    {SDLK_KP_DIVIDE, VK_DIVIDE},
};
// Keypad keys: with Num Lock on they are digits, with it off they move the caret.
struct TPadKey {
  SDL_Keycode Sym;
  Word Digit, Move;
  char Char;
};
constexpr TPadKey PadKeys[] = {
    {SDLK_KP_0, VK_NUMPAD0 + 0, VK_INSERT, '0'},  {SDLK_KP_1, VK_NUMPAD0 + 1, VK_END, '1'},
    {SDLK_KP_2, VK_NUMPAD0 + 2, VK_DOWN, '2'},    {SDLK_KP_3, VK_NUMPAD0 + 3, VK_NEXT, '3'},
    {SDLK_KP_4, VK_NUMPAD0 + 4, VK_LEFT, '4'},    {SDLK_KP_5, VK_NUMPAD0 + 5, VK_CLEAR, '5'},
    {SDLK_KP_6, VK_NUMPAD0 + 6, VK_RIGHT, '6'},   {SDLK_KP_7, VK_NUMPAD0 + 7, VK_HOME, '7'},
    {SDLK_KP_8, VK_NUMPAD0 + 8, VK_UP, '8'},      {SDLK_KP_9, VK_NUMPAD0 + 9, VK_PRIOR, '9'},
    {SDLK_KP_PERIOD, VK_DECIMAL, VK_DELETE, '.'},
};
struct TPlaceKey {
  SDL_Scancode Code;
  Word VirtKey;
};
constexpr TPlaceKey PlaceKeys[] = {
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1},   {SDL_SCANCODE_EQUALS, VK_OEM_PLUS},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA},   {SDL_SCANCODE_MINUS, VK_OEM_MINUS},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD}, {SDL_SCANCODE_SLASH, VK_OEM_2},
    {SDL_SCANCODE_GRAVE, VK_OEM_3},       {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5},   {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7},  {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102},
};

// Letters and digits go by the layout's character, as Win32's do; punctuation by its place.
Word VirtKeyOf(const SDL_Keysym& K) {
  if (K.sym >= SDLK_a && K.sym <= SDLK_z) return Word('A' + (K.sym - SDLK_a));
  if (K.sym >= SDLK_0 && K.sym <= SDLK_9) return Word(K.sym);
  if (K.sym >= SDLK_F1 && K.sym <= SDLK_F12) return Word(VK_F1 + (K.sym - SDLK_F1));
  for (const TKeyName& N : NamedKeys)
    if (N.Sym == K.sym) return N.VirtKey;
  for (const TPadKey& P : PadKeys)
    if (P.Sym == K.sym) return (K.mod & KMOD_NUM) ? P.Digit : P.Move;
  for (const TPlaceKey& P : PlaceKeys)
    if (P.Code == K.scancode) return P.VirtKey;
  return 0;
}

// ---- Typed characters ------------------------------------------------------------------------
// What a key types by itself, for when SDL's text input is off: its character, shifted as on
// a US keyboard (the input method is off then, so there is little else it could be).
char32_t TypedChar(const SDL_Keysym& K, bool Shift) {
  if (K.sym >= SDLK_a && K.sym <= SDLK_z) {
    bool Upper = Shift != bool(K.mod & KMOD_CAPS);
    return char32_t(Upper ? K.sym - 'a' + 'A' : K.sym);
  }
  for (const TPadKey& P : PadKeys)
    if (P.Sym == K.sym) return (K.mod & KMOD_NUM) ? char32_t(P.Char) : 0;
  if (K.sym == SDLK_KP_PLUS) return U'+';
  if (K.sym == SDLK_KP_MINUS) return U'-';
  if (K.sym == SDLK_KP_MULTIPLY) return U'*';
  if (K.sym == SDLK_KP_DIVIDE) return U'/';
  if (K.sym < 0x20 || K.sym > 0x7E) return 0;
  static const char Plain[] = "1234567890-=[]\\;',./`";
  static const char Shifted[] = "!@#$%^&*()_+{}|:\"<>?~";
  if (Shift)
    if (const char* P = std::strchr(Plain, char(K.sym))) return char32_t(Shifted[P - Plain]);
  return char32_t(K.sym);
}

}  // namespace

// ---- Event switch ----------------------------------------------------------------------------
void TSDLBackend::HandleEvent(const SDL_Event& E) {
  if (E.type != SDL_MOUSEMOTION) FlushMove();
  switch (E.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      KeyEvent(E);
      break;
    case SDL_TEXTINPUT:
      TextInput(E);
      break;
    case SDL_TEXTEDITING:
      TextEditing(E);
      break;
    case SDL_MOUSEMOTION:  // only the last of a run of moves matters
      FMovePending = true;
      FMovePos = FPointer = ToScreen(E.motion.x, E.motion.y);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      MouseButton(E);
      break;
    case SDL_MOUSEWHEEL:
      MouseWheel(E);
      break;
    case SDL_WINDOWEVENT:
      WindowEvent(E);
      break;
    case SDL_QUIT:
      QuitEvent();
      break;
    default:
      break;
  }
}

// Composition messages are posted to the focus, which input still in the queue may move.
bool TSDLBackend::MustWaitForQueue(const SDL_Event& E) const {
  return E.type == SDL_TEXTEDITING || (E.type == SDL_TEXTINPUT && FComposing);
}

// ---- Keys and modifiers ----------------------------------------------------------------------
void TSDLBackend::Key(Word VirtKey, bool Down, char32_t Char) {
  FHeld[VirtKey & 0xFF] = Down;
  InjectKey(VirtKey, Down, Char);
}

void TSDLBackend::KeyEvent(const SDL_Event& E) {
  const SDL_Keysym& K = E.key.keysym;
  bool Down = E.type == SDL_KEYDOWN;
  if (ModifierKey(K.sym, Down)) return;
  SyncModifiers(K.mod);
  if (Word VK = VirtKeyOf(K)) Key(VK, Down, Down ? KeyChar(E, VK) : 0);
}

// Both keys of a modifier are one virtual key to the window system: it goes up when the
// second one is released.
bool TSDLBackend::ModifierKey(int32_t Sym, bool Down) {
  TSides* S = nullptr;
  Word VK = 0;
  bool Left = Sym == SDLK_LSHIFT || Sym == SDLK_LCTRL || Sym == SDLK_LALT;
  if (Sym == SDLK_LSHIFT || Sym == SDLK_RSHIFT) S = &FShift, VK = VK_SHIFT;
  if (Sym == SDLK_LCTRL || Sym == SDLK_RCTRL) S = &FCtrl, VK = VK_CONTROL;
  if (Sym == SDLK_LALT || Sym == SDLK_RALT) S = &FAlt, VK = VK_MENU;
  if (!S) return false;
  (Left ? S->Left : S->Right) = Down;
  if (Down || !S->Any()) Key(VK, Down);
  return true;
}

void TSDLBackend::SetSides(TSides& S, bool Left, bool Right, Word VirtKey) {
  bool Was = S.Any();
  S.Left = Left;
  S.Right = Right;
  if (Was != S.Any()) Key(VirtKey, S.Any());
}

// A modifier pressed or released while another window had the keyboard shows only in the
// modifier state of the next key.
void TSDLBackend::SyncModifiers(uint16_t Mod) {
  SetSides(FShift, Mod & KMOD_LSHIFT, Mod & KMOD_RSHIFT, VK_SHIFT);
  SetSides(FCtrl, Mod & KMOD_LCTRL, Mod & KMOD_RCTRL, VK_CONTROL);
  SetSides(FAlt, Mod & KMOD_LALT, Mod & KMOD_RALT, VK_MENU);
}

void TSDLBackend::ReleaseKeys() {
  FShift = FCtrl = FAlt = TSides{};
  for (int VK = 0; VK < 256; ++VK)
    if (FHeld[VK]) Key(Word(VK), false);
}

char32_t TSDLBackend::KeyChar(const SDL_Event& E, Word VirtKey) const {
  bool Ctrl = FCtrl.Any(), Alt = FAlt.Any();
  if (Ctrl && !Alt) {
    if (VirtKey >= 'A' && VirtKey <= 'Z') return char32_t(VirtKey - 'A' + 1);
    return VirtKey == VK_RETURN ? U'\n' : VirtKey == VK_BACK ? U'\x7f' : 0;
  }
  if (Ctrl) return 0;  // Ctrl+Alt is AltGr: its characters come as text
  switch (VirtKey) {
    case VK_RETURN:
      return U'\r';
    case VK_TAB:
      return U'\t';
    case VK_BACK:
      return U'\b';
    case VK_ESCAPE:
      return U'\x1b';
    default:
      break;
  }
  if (FAlt.Left || (!Alt && !FTextInput)) return TypedChar(E.key.keysym, FShift.Any());
  return 0;
}

// Win32 types nothing for Ctrl+key, and Alt+key is a menu character (WM_SYSCHAR, made from the
// key), while SDL may still send text for them. The right Alt alone is taken as AltGr.
bool TSDLBackend::SuppressText() const {
  return (FCtrl.Any() && !FAlt.Any()) || (FAlt.Left && !FCtrl.Any());
}

// ---- Text and composition --------------------------------------------------------------------
void TSDLBackend::TextInput(const SDL_Event& E) {
  bool Composed = FComposing;
  if (FComposing) EndComposition();
  if (!Composed && SuppressText()) return;
  const char* P = E.text.text;
  const char* End = P + std::strlen(P);
  while (P < End) InjectChar(NextCodePoint(P, End));
}

void TSDLBackend::TextEditing(const SDL_Event& E) {
  std::string Text = E.edit.text;
  if (!Text.empty() && !FComposing) {
    FComposing = true;
    FComposeWnd = GetFocus() ? GetFocus() : GetActiveWindow();
    if (FComposeWnd) PostMessage(FComposeWnd, WM_IME_STARTCOMPOSITION, 0, 0);
  } else if (Text.empty() && FComposing) {
    EndComposition();
  }
  FComposition = Text;
}

void TSDLBackend::EndComposition() {
  FComposing = false;
  FComposition.clear();
  if (IsWindow(FComposeWnd)) PostMessage(FComposeWnd, WM_IME_ENDCOMPOSITION, 0, 0);
  FComposeWnd = 0;
}

// ---- Mouse -----------------------------------------------------------------------------------
void TSDLBackend::MouseButton(const SDL_Event& E) {
  TRawButton B;
  switch (E.button.button) {
    case SDL_BUTTON_LEFT:
      B = rbLeft;
      break;
    case SDL_BUTTON_RIGHT:
      B = rbRight;
      break;
    case SDL_BUTTON_MIDDLE:
      B = rbMiddle;
      break;
    default:
      return;
  }
  bool Down = E.type == SDL_MOUSEBUTTONDOWN;
  uint32_t Before = FButtons, Bit = 1u << B;
  FButtons = Down ? FButtons | Bit : FButtons & ~Bit;
  // While a button is held the pointer stays ours, so a drag that leaves the window still
  // reaches the window that captured it. SDL's click count is ignored: our window system
  // decides double clicks from the presses and the clock, as it does headless.
  if (!Before != !FButtons) SDL_CaptureMouse(FButtons ? SDL_TRUE : SDL_FALSE);
  FPointer = ToScreen(E.button.x, E.button.y);
  InjectMouseButton(B, Down, FPointer);
}

// A notch is WHEEL_DELTA; smooth wheels and touchpads report parts of one. The direction is
// the desktop's, natural scrolling included.
void TSDLBackend::MouseWheel(const SDL_Event& E) {
  float Notches = E.wheel.preciseY != 0 ? E.wheel.preciseY : float(E.wheel.y);
  auto Delta = Integer(std::lround(Notches * float(WHEEL_DELTA)));
  if (Delta == 0) return;
#if SDL_VERSION_ATLEAST(2, 26, 0)
  FPointer = ToScreen(E.wheel.mouseX, E.wheel.mouseY);
#endif
  InjectMouseWheel(Delta, FPointer);
}

void TSDLBackend::FlushMove() {
  if (!FMovePending) return;
  FMovePending = false;
  InjectMouseMove(FMovePos);
}

// ---- Input-method state ----------------------------------------------------------------------
// SDL can switch text input (and with it the input method) on and off and place the
// candidate window; that is as much of a window's input-method mode as it can express. The
// place follows the focused control's caret, checked whenever the queue runs dry.
void TSDLBackend::SyncTextInput() {
  HWND Focus = GetFocus();
  int Mode = ImeDontCare;
  std::string Name;
  if (Focus) GetWindowIme(Focus, Mode, Name);
  if (Focus != FImeFocus) {
    FImeFocus = Focus;
    FImeRect = TRect{-1, -1, -1, -1};
    if (FComposing) {  // what was being composed was meant for the old window: drop it
      EndComposition();
      SDL_StopTextInput();
    }
  }
  bool Want = Mode != ImeDisable;
  if (Want != bool(SDL_IsTextInputActive())) Want ? SDL_StartTextInput() : SDL_StopTextInput();
  FTextInput = Want;
  if (!Want || !Focus) return;
  TRect Caret;
  if (!GetImeCompositionWindow(Focus, Caret) && !GetClientRect(Focus, Caret)) return;
  TPoint P{Caret.Left, Caret.Top};
  if (!ClientToScreen(Focus, P)) return;
  TRect R = Bounds(P.X - FOrigin.X, P.Y - FOrigin.Y, Caret.Width(), Caret.Height());
  if (R == FImeRect) return;
  FImeRect = R;
  SDL_Rect Rect{R.Left, R.Top, R.Width(), R.Height()};
  SDL_SetTextInputRect(&Rect);
}

}  // namespace plumb
