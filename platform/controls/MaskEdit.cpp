// TCustomMaskEdit: the mask itself lives in the edit buffer, so typing, pasting and deleting
// already follow it; here are the mask as a property, the value, and undoing a modification.
#include "controls/MaskEdit.h"

namespace plumb {

void TCustomMaskEdit::SetEditMask(const std::string& Value) {
  if (Value == GetEditMask()) return;
  std::string Old = GetEditText();
  Buffer().SetEditMask(Value);
  TextSet(GetEditText() != Old);
}

bool TCustomMaskEdit::IsComplete() const {
  return !IsMasked() || Buffer().Mask().IsComplete(Buffer().Chars());
}

void TCustomMaskEdit::Reset() {
  std::string Old = GetEditText();
  if (!Buffer().Reset()) return;
  UserEdit(GetEditText() != Old ? erChanged : erUnchanged);
}

// Escape undoes the user's changes of a masked value; OnKeyDown sees the key first and may
// keep it from doing so.
void TCustomMaskEdit::KeyDown(Word& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  if (Key == VK_ESCAPE && Shift.Empty() && IsMasked() && GetModified()) {
    Reset();
    Key = 0;
  }
}

}  // namespace plumb
