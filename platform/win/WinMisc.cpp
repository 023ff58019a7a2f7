// System metrics, wheel lines, cursors, the beep, the clipboard, input-method settings, the
// system locale and the record that tests read.
#include "win/WinSystem.h"

namespace plumb {

using namespace win;

TSysLocale SysLocale;

int GetSystemMetrics(int Index) {
  switch (Index) {
    case SM_CXSCREEN:
      return Sys().DesktopSize.X;
    case SM_CYSCREEN:
      return Sys().DesktopSize.Y;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
      return 17;
    case SM_CYCAPTION:
      return 20;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG:
      return 4;
    case SM_DBCSENABLED:
      return SysLocale.FarEast ? 1 : 0;
    default:
      return 0;
  }
}

Integer WheelScrollLines(Integer& Pending, Integer Delta) {
  constexpr Integer LinesPerNotch = 3, Step = WHEEL_DELTA / LinesPerNotch;
  if ((Pending < 0 && Delta > 0) || (Pending > 0 && Delta < 0)) Pending = 0;
  Pending += Delta;
  Integer Lines = Pending / Step;
  Pending -= Lines * Step;
  return Lines;
}

// A cursor handle is the number of the cursor; backends map them to their own shapes.
HCURSOR LoadCursor(uintptr_t Instance, uintptr_t CursorName) {
  (void)Instance;
  switch (CursorName) {
    case IDC_ARROW:
    case IDC_IBEAM:
    case IDC_WAIT:
    case IDC_CROSS:
    case IDC_UPARROW:
    case IDC_SIZENWSE:
    case IDC_SIZENESW:
    case IDC_SIZEWE:
    case IDC_SIZENS:
    case IDC_SIZEALL:
    case IDC_NO:
    case IDC_HAND:
    case IDC_APPSTARTING:
    case IDC_HELP:
    case IDC_HSPLIT:
    case IDC_VSPLIT:
    case IDC_DRAG:
    case IDC_NODROP:
      return CursorName;
    default:
      return 0;
  }
}

HCURSOR SetCursor(HCURSOR Cursor) {
  auto& S = Sys();
  HCURSOR Old = S.Cursor;
  S.Cursor = Cursor;
  if (S.Record.Enabled) S.Record.Cursors.push_back(Cursor);
  if (Old != Cursor && S.Host) S.Host->CursorChanged(Cursor);
  return Old;
}

HCURSOR GetCursor() {
  return Sys().Cursor;
}

bool MessageBeep(UINT Type) {
  auto& S = Sys();
  if (S.Record.Enabled) S.Record.Beeps.push_back(Type);
  if (S.Host) S.Host->Beep(Type);
  return true;
}

bool SetClipboardText(const std::string& Text) {
  auto& S = Sys();
  if (S.Host && S.Host->HasClipboard())
    S.Host->SetClipboard(Text);
  else
    S.Clipboard = Text;
  return true;
}

bool GetClipboardText(std::string& Text) {
  auto& S = Sys();
  Text = S.Host && S.Host->HasClipboard() ? S.Host->GetClipboard() : S.Clipboard;
  return true;
}

bool IsClipboardTextAvailable() {
  std::string T;
  GetClipboardText(T);
  return !T.empty();
}

bool SetWindowIme(HWND Wnd, int Mode, const std::string& Name) {
  TWnd* W = Find(Wnd);
  if (!W) return false;
  W->ImeMode = Mode;
  W->ImeName = Name;
  return true;
}

bool GetWindowIme(HWND Wnd, int& Mode, std::string& Name) {
  TWnd* W = Find(Wnd);
  if (!W) return false;
  Mode = W->ImeMode;
  Name = W->ImeName;
  return true;
}

bool SetImeCompositionWindow(HWND Wnd, const TRect& Caret) {
  TWnd* W = Find(Wnd);
  if (!W) return false;
  W->ImeCaret = Caret;
  W->HasImeCaret = true;
  return true;
}

bool GetImeCompositionWindow(HWND Wnd, TRect& Caret) {
  TWnd* W = Find(Wnd);
  if (!W || !W->HasImeCaret) return false;
  Caret = W->ImeCaret;
  return true;
}

void TWinRecord::Clear() {
  ScrollWindows.clear();
  Invalidates.clear();
  ScrollBars.clear();
  Beeps.clear();
  Cursors.clear();
  for (auto& Entry : Texts) Entry.second.clear();
}

TWinRecord& WinRecord() {
  return Sys().Record;
}

}  // namespace plumb
