#pragma once
// TEditMaskFormat: the edit-mask language of the masked edit control.
//
// A mask is up to three fields separated by ';':  <positions>[;<keep>[;<blank>]]
//
// Positions, one character of the edit text each:
//   0  a digit, required            9  a digit, optional
//   L  a letter, required           l  a letter, optional
//   A  a letter or digit, required  a  a letter or digit, optional
//   C  any character, required      c  any character, optional
//   \x the literal x (use it for any of the mask characters themselves)
//   any other character is a literal: shown in the edit text and passed over by typing
// Case conversion, taking no position of its own:
//   >  upper-case what follows      <  lower-case what follows      !  stop converting
// keep:  1 (default) keeps the literals in the value text, 0 leaves them out.
// blank: the character shown where nothing was typed yet (default '_').
//
// Example: "(000) 000-0000;0;_" shows "(___) ___-____" and has the value "5551234567".
//
// The edit text always has one character per position. The value text is the edit text with
// blanks turned into spaces (and literals dropped when keep is 0), trailing spaces removed.
#include <string>
#include <vector>

#include "core/Utf8.h"

namespace plumb {

class TEditMaskFormat {
 public:
  TEditMaskFormat() = default;
  explicit TEditMaskFormat(const std::string& Mask);

  bool Empty() const { return FPositions.empty(); }
  int Length() const { return int(FPositions.size()); }
  bool KeepLiterals() const { return FKeepLiterals; }
  char32_t Blank() const { return FBlank; }

  bool IsLiteral(int Pos) const;
  bool IsRequired(int Pos) const;
  // The first editable position at or after Pos (Length() when there is none).
  int NextEditable(int Pos) const;
  // The last editable position before Pos (-1 when there is none).
  int PrevEditable(int Pos) const;
  // Whether Ch may stand at Pos; Out receives it after case conversion.
  bool Accepts(int Pos, char32_t Ch, char32_t& Out) const;

  // The edit text with nothing typed: literals and blanks.
  std::u32string EmptyText() const;
  // Places a value (or a whole edit text) into the positions; characters that a position
  // refuses are dropped and the position stays blank. Returns false when any was dropped.
  bool ValueToEditText(const std::u32string& Value, std::u32string& EditText) const;
  std::u32string EditTextToValue(const std::u32string& EditText) const;
  // True when every required position holds a character.
  bool IsComplete(const std::u32string& EditText) const;

 private:
  enum TKind { mkLiteral, mkDigit, mkLetter, mkAlnum, mkAny };
  enum TCase { mcNone, mcUpper, mcLower };
  struct TPosition {
    TKind Kind = mkLiteral;
    bool Required = false;
    TCase Case = mcNone;
    char32_t Literal = 0;
  };
  void ParsePositions(const std::u32string& Field);
  bool PlaceChar(int Pos, char32_t Ch, std::u32string& EditText) const;

  std::vector<TPosition> FPositions;
  bool FKeepLiterals = true;
  char32_t FBlank = U'_';
};

}  // namespace plumb
