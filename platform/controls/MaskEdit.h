#pragma once
// TCustomMaskEdit: an edit whose text follows an edit mask (the mask language is described in
// EditMask.h). Typing overwrites one position at a time and passes over literals; a character
// that the mask refuses sounds a beep and changes nothing. The edit text is what is shown,
// blanks included; Text is the value the mask makes of it. Whether a value is complete is for
// the host to check (IsComplete): the control never stops the user with a message.
#include <string>

#include "controls/StdCtrls.h"

namespace plumb {

class TCustomMaskEdit : public TCustomEdit {
  PLUMB_CLASS(TCustomMaskEdit, TCustomEdit)
  explicit TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

  const std::string& GetEditMask() const { return Buffer().GetEditMask(); }
  // Keeps what of the current value the new mask can hold; a programmatic change.
  void SetEditMask(const std::string& Value);
  bool IsMasked() const { return Buffer().IsMasked(); }
  std::string GetEditText() const { return Buffer().GetText(); }
  void SetEditText(const std::string& Value) { SetText(Value); }
  // The value: the edit text itself without a mask; with one, blanks become spaces (trailing
  // ones dropped) and literals go unless the mask keeps them.
  std::string GetText() const override { return Buffer().GetValueText(); }
  // Every required position of the mask holds a character.
  bool IsComplete() const;
  // Puts back the text from before the user's modification and clears Modified. The parent
  // hears EN_CHANGE when the text changes, as it heard of the modification being undone.
  virtual void Reset();

  void KeyDown(Word& Key, TShiftState Shift) override;
};

class TMaskEdit : public TCustomMaskEdit {
  PLUMB_CLASS(TMaskEdit, TCustomMaskEdit)
  using TCustomMaskEdit::TCustomMaskEdit;
};

}  // namespace plumb
