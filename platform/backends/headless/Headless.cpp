#include "backends/headless/Headless.h"

#include "controls/Forms.h"
#include "core/Utf8.h"

namespace plumb {

THeadlessDesktop::THeadlessDesktop(Integer Width, Integer Height) {
  InitDesktop(Width, Height, this);
  WinRecord().Enabled = true;
  Application->SetTerminated(false);
}

THeadlessDesktop::~THeadlessDesktop() {
  ShutdownDesktop();
}

void THeadlessDesktop::Beep(UINT) {
  ++FBeeps;
}

// ---- Pointer ---------------------------------------------------------------------------------
namespace {
TRawButton Raw(TMouseButton B) {
  return B == mbLeft ? rbLeft : B == mbRight ? rbRight : rbMiddle;
}
}  // namespace

void THeadlessDesktop::Modifiers(TShiftState Shift, bool Down) {
  if (Shift.Contains(ssShift)) InjectKey(VK_SHIFT, Down);
  if (Shift.Contains(ssCtrl)) InjectKey(VK_CONTROL, Down);
  if (Shift.Contains(ssAlt)) InjectKey(VK_MENU, Down);
}

void THeadlessDesktop::MouseMove(TPoint Screen) {
  InjectMouseMove(Screen);
  RunUntilIdle();
}

void THeadlessDesktop::MouseDown(TPoint Screen, TMouseButton Button, TShiftState Shift) {
  Modifiers(Shift, true);
  InjectMouseMove(Screen);
  InjectMouseButton(Raw(Button), true, Screen);
  Modifiers(Shift, false);
  RunUntilIdle();
}

void THeadlessDesktop::MouseUp(TPoint Screen, TMouseButton Button, TShiftState Shift) {
  Modifiers(Shift, true);
  InjectMouseMove(Screen);
  InjectMouseButton(Raw(Button), false, Screen);
  Modifiers(Shift, false);
  RunUntilIdle();
}

void THeadlessDesktop::Click(TPoint Screen, TMouseButton Button, TShiftState Shift) {
  MouseDown(Screen, Button, Shift);
  MouseUp(Screen, Button, Shift);
}

void THeadlessDesktop::DoubleClick(TPoint Screen) {
  Click(Screen);
  Click(Screen);
}

void THeadlessDesktop::MouseWheel(TPoint Screen, Integer Delta) {
  InjectMouseWheel(Delta, Screen);
  RunUntilIdle();
}

TPoint THeadlessDesktop::ToScreen(TWinControl* Control, Integer X, Integer Y) {
  TPoint P{X, Y};
  ClientToScreen(Control->GetHandle(), P);
  return P;
}

void THeadlessDesktop::MouseMoveAt(TWinControl* Control, Integer X, Integer Y) {
  MouseMove(ToScreen(Control, X, Y));
}

void THeadlessDesktop::MouseDownAt(TWinControl* Control, Integer X, Integer Y, TMouseButton Button,
                                   TShiftState Shift) {
  MouseDown(ToScreen(Control, X, Y), Button, Shift);
}

void THeadlessDesktop::MouseUpAt(TWinControl* Control, Integer X, Integer Y, TMouseButton Button,
                                 TShiftState Shift) {
  MouseUp(ToScreen(Control, X, Y), Button, Shift);
}

void THeadlessDesktop::ClickAt(TWinControl* Control, Integer X, Integer Y, TMouseButton Button,
                               TShiftState Shift) {
  Click(ToScreen(Control, X, Y), Button, Shift);
}

void THeadlessDesktop::DoubleClickAt(TWinControl* Control, Integer X, Integer Y) {
  DoubleClick(ToScreen(Control, X, Y));
}

void THeadlessDesktop::MouseWheelAt(TWinControl* Control, Integer X, Integer Y, Integer Delta) {
  MouseWheel(ToScreen(Control, X, Y), Delta);
}

// ---- Keyboard --------------------------------------------------------------------------------
char32_t THeadlessDesktop::CharOfKey(Word Key, TShiftState Shift) {
  bool Ctrl = Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
  bool Up = Shift.Contains(ssShift);
  if (Ctrl) {
    if (Key >= 'A' && Key <= 'Z') return char32_t(Key - 'A' + 1);
    if (Key == VK_RETURN) return U'\n';
    if (Key == VK_BACK) return char32_t(127);
    return 0;
  }
  if (Key >= 'A' && Key <= 'Z') return char32_t(Up ? Key : Key - 'A' + 'a');
  if (Key >= '0' && Key <= '9') return Up ? char32_t(U")!@#$%^&*("[Key - '0']) : char32_t(Key);
  if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD0 + 9) return char32_t('0' + Key - VK_NUMPAD0);
  switch (Key) {
    case VK_SPACE:
      return U' ';
    case VK_RETURN:
      return U'\r';
    case VK_TAB:
      return U'\t';
    case VK_ESCAPE:
      return char32_t(27);
    case VK_BACK:
      return char32_t(8);
    default:
      return 0;
  }
}

void THeadlessDesktop::KeyDown(Word Key, TShiftState Shift) {
  Modifiers(Shift, true);
  InjectKey(Key, true, CharOfKey(Key, Shift));
  RunUntilIdle();
}

void THeadlessDesktop::KeyUp(Word Key, TShiftState Shift) {
  InjectKey(Key, false);
  Modifiers(Shift, false);
  RunUntilIdle();
}

void THeadlessDesktop::KeyStroke(Word Key, TShiftState Shift) {
  Modifiers(Shift, true);
  InjectKey(Key, true, CharOfKey(Key, Shift));
  InjectKey(Key, false);
  Modifiers(Shift, false);
  RunUntilIdle();
}

void THeadlessDesktop::TypeText(const std::string& Utf8) {
  for (char32_t C : Utf8ToU32(Utf8)) {
    if (C >= 'a' && C <= 'z')
      KeyStroke(Word(C - 'a' + 'A'));
    else if ((C >= 'A' && C <= 'Z'))
      KeyStroke(Word(C), {ssShift});
    else if ((C >= '0' && C <= '9') || C == ' ')
      KeyStroke(C == ' ' ? Word(VK_SPACE) : Word(C));
    else
      InjectChar(C);
  }
  RunUntilIdle();
}

// ---- Time and the queue ----------------------------------------------------------------------
void THeadlessDesktop::RunUntilIdle() {
  // A handler that keeps posting or invalidating would spin for ever; stop somewhere.
  for (int Guard = 0; Guard < 1000000; ++Guard)
    if (!Application->ProcessMessage()) return;
}

void THeadlessDesktop::Advance(Cardinal Ms) {
  AdvanceClock(Ms);
  RunUntilIdle();
}

// ---- Pictures --------------------------------------------------------------------------------
bool THeadlessDesktop::Snapshot(const std::string& PngPath) {
  RunUntilIdle();
  TSurface S;
  ComposeDesktop(S);
  return SavePng(S, PngPath);
}

bool THeadlessDesktop::SnapshotWindow(HWND Wnd, const std::string& PngPath) {
  RunUntilIdle();
  TSurface S;
  return CaptureWindow(Wnd, S) && SavePng(S, PngPath);
}

uint32_t THeadlessDesktop::ScreenPixel(Integer X, Integer Y) {
  TSurface S;
  ComposeDesktop(S);
  return S.Pixel(X, Y);
}

}  // namespace plumb
