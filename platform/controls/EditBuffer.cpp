// Edit buffer, in three parts: programmatic state, caret and selection moves, user changes.
#include "EditBuffer.h"

#include <algorithm>

namespace plumb {

// ---- Programmatic state ----------------------------------------------------------------------

void TEditBuffer::SetText(const std::string& Value) {
  std::u32string U = Utf8ToU32(Value);
  if (IsMasked()) {
    FMask.ValueToEditText(U, FText);
  } else {
    // A single-line edit keeps the first line.
    size_t Cut = U.find_first_of(U"\r\n");
    if (Cut != std::u32string::npos) U.resize(Cut);
    FText = U;
  }
  FCaret = FAnchor = 0;
  FModified = false;
  FResetText = FText;
}

void TEditBuffer::SetEditMask(const std::string& Value) {
  if (Value == FMaskText) return;
  std::string Old = IsMasked() ? GetValueText() : GetText();
  FMaskText = Value;
  FMask = TEditMaskFormat(Value);
  SetText(Old);
}

std::string TEditBuffer::GetValueText() const {
  return IsMasked() ? U32ToUtf8(FMask.EditTextToValue(FText)) : GetText();
}

void TEditBuffer::SetModified(bool Value) {
  FModified = Value;
  if (!Value) FResetText = FText;
}

bool TEditBuffer::Reset() {
  if (!FModified) return false;
  FText = FResetText;
  FModified = false;
  FCaret = FAnchor = std::min(FCaret, Length());
  return true;
}

std::string TEditBuffer::SelText() const {
  return U32ToUtf8(FText.substr(size_t(SelStart()), size_t(SelLength())));
}

// ---- Caret and selection ---------------------------------------------------------------------

void TEditBuffer::SetSel(int Start, int End) {
  FAnchor = std::clamp(Start, 0, Length());
  FCaret = std::clamp(End, 0, Length());
}

void TEditBuffer::MoveTo(int Pos, bool Extend) {
  FCaret = std::clamp(Pos, 0, Length());
  if (!Extend) FAnchor = FCaret;
}

void TEditBuffer::MoveLeft(bool Extend) {
  // Without Shift a selection collapses to its start instead of moving.
  if (!Extend && SelLength() > 0)
    MoveTo(SelStart(), false);
  else
    MoveTo(FCaret - 1, Extend);
}

void TEditBuffer::MoveRight(bool Extend) {
  if (!Extend && SelLength() > 0)
    MoveTo(SelStart() + SelLength(), false);
  else
    MoveTo(FCaret + 1, Extend);
}

bool TEditBuffer::IsWordChar(char32_t C) {
  return C != U' ' && C != U'\t' && C != U'.' && C != U',' && C != U';' && C != U':' && C != U'-' &&
         C != U'/' && C != U'(' && C != U')';
}

void TEditBuffer::MoveWordLeft(bool Extend) {
  int P = FCaret;
  while (P > 0 && !IsWordChar(FText[size_t(P - 1)])) --P;
  while (P > 0 && IsWordChar(FText[size_t(P - 1)])) --P;
  MoveTo(P, Extend);
}

void TEditBuffer::MoveWordRight(bool Extend) {
  int P = FCaret, N = Length();
  while (P < N && IsWordChar(FText[size_t(P)])) ++P;
  while (P < N && !IsWordChar(FText[size_t(P)])) ++P;
  MoveTo(P, Extend);
}

void TEditBuffer::SelectWordAt(int Pos) {
  int N = Length();
  if (N == 0) return SetSel(0, 0);
  Pos = std::clamp(Pos, 0, N - 1);
  bool Word = IsWordChar(FText[size_t(Pos)]);
  int Start = Pos, End = Pos;
  while (Start > 0 && IsWordChar(FText[size_t(Start - 1)]) == Word) --Start;
  while (End < N && IsWordChar(FText[size_t(End)]) == Word) ++End;
  SetSel(Start, End);
}

// ---- User changes ----------------------------------------------------------------------------

void TEditBuffer::BeginUserChange() {
  if (!FModified) FResetText = FText;
}

TEditResult TEditBuffer::TypeChar(char32_t Ch) {
  if (Ch < 32 || Ch == 127) return erRefused;
  return InsertText(U32ToUtf8(std::u32string(1, Ch)));
}

TEditResult TEditBuffer::InsertText(const std::string& Text) {
  if (FReadOnly) return erRefused;
  std::u32string U = Utf8ToU32(Text);
  size_t Cut = U.find_first_of(U"\r\n");
  if (Cut != std::u32string::npos) U.resize(Cut);
  U.erase(std::remove_if(U.begin(), U.end(), [](char32_t C) { return C < 32 && C != U'\t'; }),
          U.end());
  if (U.empty()) return Text.empty() ? erUnchanged : erRefused;
  return IsMasked() ? MaskedInsert(U) : ReplaceSelection(U);
}

TEditResult TEditBuffer::ReplaceSelection(const std::u32string& Text) {
  std::u32string Insert = Text;
  if (FMaxLength > 0) {
    int Room = FMaxLength - (Length() - SelLength());
    if (Room <= 0 && !Insert.empty()) return erRefused;
    if (int(Insert.size()) > Room) Insert.resize(size_t(Room));
  }
  if (Insert.empty() && SelLength() == 0) return erUnchanged;
  BeginUserChange();
  int Start = SelStart();
  FText.replace(size_t(Start), size_t(SelLength()), Insert);
  FCaret = FAnchor = Start + int(Insert.size());
  FModified = true;
  return erChanged;
}

TEditResult TEditBuffer::MaskedInsert(const std::u32string& Text) {
  std::u32string New = FText;
  for (int I = SelStart(); I < SelStart() + SelLength(); ++I)
    if (!FMask.IsLiteral(I)) New[size_t(I)] = FMask.Blank();
  int Pos = SelStart();
  for (char32_t Ch : Text) {
    // Typing a literal where the mask has that literal just steps over it.
    if (FMask.IsLiteral(Pos) && New[size_t(Pos)] == Ch) {
      ++Pos;
      continue;
    }
    Pos = FMask.NextEditable(Pos);
    char32_t Out;
    if (Pos >= Length() || !FMask.Accepts(Pos, Ch, Out)) return erRefused;
    New[size_t(Pos++)] = Out;
  }
  int Caret = FMask.NextEditable(Pos) < Length() ? FMask.NextEditable(Pos) : Pos;
  return ReplaceMasked(New, Caret);
}

// Typing a literal over itself, or blanking blanks, moves the caret but is no change.
TEditResult TEditBuffer::ReplaceMasked(const std::u32string& New, int Caret) {
  FCaret = FAnchor = Caret;
  if (New == FText) return erUnchanged;
  BeginUserChange();
  FText = New;
  FModified = true;
  return erChanged;
}

TEditResult TEditBuffer::ClearSelection() {
  if (SelLength() == 0) return erUnchanged;
  if (FReadOnly) return erRefused;
  if (!IsMasked()) return ReplaceSelection(U"");
  std::u32string New = FText;
  for (int I = SelStart(); I < SelStart() + SelLength(); ++I)
    if (!FMask.IsLiteral(I)) New[size_t(I)] = FMask.Blank();
  return ReplaceMasked(New, SelStart());
}

TEditResult TEditBuffer::DeleteBack() {
  if (SelLength() > 0) return ClearSelection();
  if (FReadOnly) return erRefused;
  int From = IsMasked() ? FMask.PrevEditable(FCaret) : FCaret - 1;
  if (From < 0) return erUnchanged;
  FAnchor = From;
  return ClearSelection();
}

TEditResult TEditBuffer::DeleteForward() {
  if (SelLength() > 0) return ClearSelection();
  if (FReadOnly) return erRefused;
  int From = IsMasked() ? FMask.NextEditable(FCaret) : FCaret;
  if (From >= Length()) return erUnchanged;
  FCaret = From;
  FAnchor = From + 1;
  return ClearSelection();
}

}  // namespace plumb
