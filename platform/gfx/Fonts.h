#pragma once
// Font faces and their glyph caches (internal to the canvas).
//
// A TFontFace is one font file at one pixel size. Its glyphs are rendered once, on first use,
// with FreeType's light hinting and kept for the life of the program; the code points below
// 256 are found through a table, the others through a hash map. FaceFor maps a TFont (name,
// height, bold, italic) to its face and never fails: what cannot be found or read falls back
// to the default font. Like the rest of the canvas, it is used from the GUI thread only.
#include <array>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/Utf8.h"
#include "gfx/Graphics.h"

struct FT_FaceRec_;  // FreeType's face, kept out of our headers

namespace plumb::text {

struct TGlyph {
  Integer Left = 0;  // bitmap position relative to the pen point on the baseline
  Integer Top = 0;   // rows above the baseline
  Integer Width = 0;
  Integer Height = 0;
  Integer Advance = 0;
  std::vector<uint8_t> Coverage;  // Width * Height, row by row
};

struct TFaceSource {
  std::string Path;
  bool SynthBold = false;
  bool SynthItalic = false;
};

class TFontFace {
 public:
  TFontFace(const TFaceSource& Source, Integer Height);
  ~TFontFace();
  TFontFace(const TFontFace&) = delete;
  TFontFace& operator=(const TFontFace&) = delete;

  bool Loaded() const { return FFace != nullptr; }
  Integer Ascent() const { return FAscent; }
  Integer Descent() const { return FDescent; }
  Integer LineHeight() const { return FAscent + FDescent; }
  Integer AveCharWidth() { return Glyph(U'x').Advance; }
  const TGlyph& Glyph(char32_t C) {
    if (C < FLatin.size() && FLatin[C]) return *FLatin[C];
    return LoadGlyph(C);
  }

 private:
  const TGlyph& LoadGlyph(char32_t C);
  void Render(TGlyph& G, char32_t C);
  FT_FaceRec_* FFace = nullptr;
  TFaceSource FSource;
  Integer FAscent = 0;
  Integer FDescent = 0;
  std::deque<TGlyph> FGlyphs;  // stable addresses for the two indexes below
  std::array<const TGlyph*, 256> FLatin{};
  std::unordered_map<char32_t, const TGlyph*> FOthers;
};

// The face for a font; the last one asked for is remembered, so repeated text in one font
// costs a comparison.
TFontFace& FaceFor(const TFont& Font);

// The default font's files, found by their fixed paths.
extern const char* const DefaultFontPath;

using ::plumb::NextCodePoint;

}  // namespace plumb::text
