#pragma once
// The headless desktop: a window system with no screen, driven by a test.
//
// Make one per test. It starts a fresh window system with a manual clock and the call record
// switched on; input goes in as a user would make it (pointer presses at screen or client
// points, key strokes with their shift keys, typed text) and every input call runs the queue
// until nothing is left, so the test then reads state, pixels and the record.
#include <string>

#include "controls/Controls.h"
#include "win/Desktop.h"

namespace plumb {

class THeadlessDesktop : public TDesktopHost {
 public:
  explicit THeadlessDesktop(Integer Width = 1024, Integer Height = 768);
  ~THeadlessDesktop() override;
  THeadlessDesktop(const THeadlessDesktop&) = delete;
  THeadlessDesktop& operator=(const THeadlessDesktop&) = delete;

  // ---- Pointer, at screen points ----
  void MouseMove(TPoint Screen);
  void MouseDown(TPoint Screen, TMouseButton Button = mbLeft, TShiftState Shift = {});
  void MouseUp(TPoint Screen, TMouseButton Button = mbLeft, TShiftState Shift = {});
  void Click(TPoint Screen, TMouseButton Button = mbLeft, TShiftState Shift = {});
  void DoubleClick(TPoint Screen);
  // A turn of the wheel, WHEEL_DELTA a notch; positive turns it away from the user (up).
  void MouseWheel(TPoint Screen, Integer Delta);
  // ---- Pointer, at client points of a window control ----
  TPoint ToScreen(TWinControl* Control, Integer X, Integer Y);
  void MouseMoveAt(TWinControl* Control, Integer X, Integer Y);
  void MouseDownAt(TWinControl* Control, Integer X, Integer Y, TMouseButton Button = mbLeft,
                   TShiftState Shift = {});
  void MouseUpAt(TWinControl* Control, Integer X, Integer Y, TMouseButton Button = mbLeft,
                 TShiftState Shift = {});
  void ClickAt(TWinControl* Control, Integer X, Integer Y, TMouseButton Button = mbLeft,
               TShiftState Shift = {});
  void DoubleClickAt(TWinControl* Control, Integer X, Integer Y);
  void MouseWheelAt(TWinControl* Control, Integer X, Integer Y, Integer Delta);

  // ---- Keyboard ----
  // Shift, Ctrl and Alt go down first and up last; the key makes the character it would.
  void KeyStroke(Word Key, TShiftState Shift = {});
  void KeyDown(Word Key, TShiftState Shift = {});
  void KeyUp(Word Key, TShiftState Shift = {});
  // Letters, digits and spaces as key strokes, anything else as text input.
  void TypeText(const std::string& Utf8);
  // The character a key makes with these shift keys (0 for none), on a US keyboard.
  static char32_t CharOfKey(Word Key, TShiftState Shift);

  // ---- Time and the queue ----
  void RunUntilIdle();
  void Advance(Cardinal Ms);

  // ---- Pictures ----
  bool Snapshot(const std::string& PngPath);
  bool SnapshotWindow(HWND Wnd, const std::string& PngPath);
  // A pixel of the desktop as shown now (top-level windows composed).
  uint32_t ScreenPixel(Integer X, Integer Y);

  // ---- What was asked of the window system ----
  TWinRecord& Record() { return WinRecord(); }
  int BeepCount() const { return FBeeps; }
  HCURSOR CurrentCursor() const { return GetCursor(); }

  void Beep(UINT Type) override;

 private:
  void Modifiers(TShiftState Shift, bool Down);
  int FBeeps = 0;
};

}  // namespace plumb
