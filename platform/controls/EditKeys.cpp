// The edit's keys: one table for the keys the edit acts on at WM_KEYDOWN, one for the
// characters it acts on at WM_CHAR, each row naming a small action. Shift held with a caret
// move extends the selection; Ctrl moves by words.
#include "controls/StdCtrls.h"

namespace plumb {

namespace {
enum TShiftNeed : int8_t { snAny, snNone, snHeld };
}

bool TCustomEdit::EditKeyDown(Word Key) {
  struct TRow {
    Word Key;
    bool Ctrl;
    TShiftNeed Shift;
    void (TCustomEdit::*Action)(bool Extend);
  };
  static const TRow Table[] = {
      {VK_LEFT, false, snAny, &TCustomEdit::KeyLeft},
      {VK_LEFT, true, snAny, &TCustomEdit::KeyWordLeft},
      {VK_RIGHT, false, snAny, &TCustomEdit::KeyRight},
      {VK_RIGHT, true, snAny, &TCustomEdit::KeyWordRight},
      {VK_HOME, false, snAny, &TCustomEdit::KeyHome},
      {VK_HOME, true, snAny, &TCustomEdit::KeyHome},
      {VK_END, false, snAny, &TCustomEdit::KeyEnd},
      {VK_END, true, snAny, &TCustomEdit::KeyEnd},
      {VK_DELETE, false, snNone, &TCustomEdit::KeyDelete},
      {VK_DELETE, false, snHeld, &TCustomEdit::KeyCut},
      {VK_INSERT, false, snHeld, &TCustomEdit::KeyPaste},
      {VK_INSERT, true, snNone, &TCustomEdit::KeyCopy},
  };
  bool Shift = GetKeyState(VK_SHIFT) < 0, Ctrl = GetKeyState(VK_CONTROL) < 0;
  for (const TRow& R : Table)
    if (R.Key == Key && R.Ctrl == Ctrl && (R.Shift == snAny || (R.Shift == snHeld) == Shift)) {
      (this->*R.Action)(Shift);
      return true;
    }
  return false;
}

bool TCustomEdit::EditChar(char32_t Ch) {
  struct TRow {
    char32_t Ch;
    void (TCustomEdit::*Action)(bool);
  };
  static const TRow Table[] = {
      {1, &TCustomEdit::KeySelectAll},                                // Ctrl+A
      {3, &TCustomEdit::KeyCopy},                                     // Ctrl+C
      {8, &TCustomEdit::KeyBackspace}, {22, &TCustomEdit::KeyPaste},  // Ctrl+V
      {24, &TCustomEdit::KeyCut},                                     // Ctrl+X
  };
  for (const TRow& R : Table)
    if (R.Ch == Ch) {
      (this->*R.Action)(false);
      return true;
    }
  // Enter, Tab, Escape and the other control characters are not text.
  if (Ch < 32 || Ch == 127) return false;
  if (CanUserModify()) UserEdit(FBuffer.TypeChar(Ch));
  return true;
}

// ---- Actions ---------------------------------------------------------------------------------
void TCustomEdit::KeyLeft(bool Extend) {
  FBuffer.MoveLeft(Extend);
  CaretMoved();
}

void TCustomEdit::KeyRight(bool Extend) {
  FBuffer.MoveRight(Extend);
  CaretMoved();
}

void TCustomEdit::KeyWordLeft(bool Extend) {
  FBuffer.MoveWordLeft(Extend);
  CaretMoved();
}

void TCustomEdit::KeyWordRight(bool Extend) {
  FBuffer.MoveWordRight(Extend);
  CaretMoved();
}

void TCustomEdit::KeyHome(bool Extend) {
  FBuffer.MoveHome(Extend);
  CaretMoved();
}

void TCustomEdit::KeyEnd(bool Extend) {
  FBuffer.MoveEnd(Extend);
  CaretMoved();
}

void TCustomEdit::KeyDelete(bool) {
  if (CanUserModify()) UserEdit(FBuffer.DeleteForward());
}

void TCustomEdit::KeyBackspace(bool) {
  if (CanUserModify()) UserEdit(FBuffer.DeleteBack());
}

void TCustomEdit::KeyCut(bool) {
  DoCut();
}

void TCustomEdit::KeyCopy(bool) {
  DoCopy();
}

void TCustomEdit::KeyPaste(bool) {
  DoPaste();
}

void TCustomEdit::KeySelectAll(bool) {
  SelectAll();
}

}  // namespace plumb
