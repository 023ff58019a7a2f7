#pragma once
// TEditBuffer: the text, caret and selection of a single-line edit, and every change a user
// can make to them. The edit control maps keys, mouse and clipboard to these operations and
// paints the result; the buffer knows nothing of windows.
//
// Positions count characters (code points). The caret is one end of the selection, the
// anchor the other; with no selection both are equal. With an edit mask the text always has
// one character per mask position and typing overwrites; without one typing inserts.
#include <string>

#include "EditMask.h"

namespace plumb {

enum TEditResult { erUnchanged, erChanged, erRefused };

class TEditBuffer {
 public:
  // Programmatic changes: none of them counts as a user modification.
  void SetText(const std::string& Value);
  void SetEditMask(const std::string& Value);
  void SetMaxLength(int Value) { FMaxLength = Value < 0 ? 0 : Value; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }

  std::string GetText() const { return U32ToUtf8(FText); }
  const std::u32string& Chars() const { return FText; }
  // With a mask: the value without blanks (and without literals if the mask says so).
  std::string GetValueText() const;
  const std::string& GetEditMask() const { return FMaskText; }
  bool IsMasked() const { return !FMask.Empty(); }
  const TEditMaskFormat& Mask() const { return FMask; }
  int GetMaxLength() const { return FMaxLength; }
  bool GetReadOnly() const { return FReadOnly; }
  int Length() const { return int(FText.size()); }

  bool GetModified() const { return FModified; }
  void SetModified(bool Value);
  // Puts back the text from before the user's modification and clears Modified.
  bool Reset();

  int Caret() const { return FCaret; }
  int Anchor() const { return FAnchor; }
  int SelStart() const { return FCaret < FAnchor ? FCaret : FAnchor; }
  int SelLength() const { return FCaret < FAnchor ? FAnchor - FCaret : FCaret - FAnchor; }
  std::string SelText() const;
  // Selects Start..End with the caret at End; positions are clamped to the text.
  void SetSel(int Start, int End);
  void SelectAll() { SetSel(0, Length()); }
  // Moves the caret; Extend keeps the anchor (Shift held).
  void MoveTo(int Pos, bool Extend);
  void MoveLeft(bool Extend);
  void MoveRight(bool Extend);
  void MoveHome(bool Extend) { MoveTo(0, Extend); }
  void MoveEnd(bool Extend) { MoveTo(Length(), Extend); }
  void MoveWordLeft(bool Extend);
  void MoveWordRight(bool Extend);
  // Selects the word (or run of spaces) at Pos, as a double click does.
  void SelectWordAt(int Pos);

  // User changes. Refused means nothing changed and the user should hear about it.
  TEditResult TypeChar(char32_t Ch);
  // Pasted or inserted text: a single line only (the first line of Text is kept), cut to
  // MaxLength; with a mask the whole text must fit or nothing changes.
  TEditResult InsertText(const std::string& Text);
  TEditResult DeleteBack();
  TEditResult DeleteForward();
  TEditResult ClearSelection();

 private:
  TEditResult ReplaceSelection(const std::u32string& Text);
  TEditResult MaskedInsert(const std::u32string& Text);
  TEditResult ReplaceMasked(const std::u32string& New, int Caret);
  void BeginUserChange();
  static bool IsWordChar(char32_t C);

  std::u32string FText;
  std::u32string FResetText;
  std::string FMaskText;
  TEditMaskFormat FMask;
  int FCaret = 0;
  int FAnchor = 0;
  int FMaxLength = 0;
  bool FReadOnly = false;
  bool FModified = false;
};

}  // namespace plumb
