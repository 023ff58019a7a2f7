// Font files and faces.
//
//   TLibrary        the FreeType library and every face opened, freed at exit
//   ResolveFont     font name and style -> file (default files by fixed path, a path as it
//                   is, other names through fontconfig when we were built with it)
//   TFontFace       one file at one pixel size: metrics and the glyph cache
//   FaceFor         TFont -> face, with a one-entry memo in front of the face list
#include "gfx/Fonts.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <memory>

#ifdef PLUMB_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace plumb::text {

const char* const DefaultFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

namespace {

constexpr const char* DefaultFamily = "DejaVu Sans";
constexpr const char* DefaultBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr const char* DefaultOblique = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Oblique.ttf";
constexpr const char* DefaultBoldOblique =
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-BoldOblique.ttf";
constexpr Integer MaxPixelHeight = 1000;

bool Readable(const std::string& Path) {
  struct stat St;
  return !Path.empty() && ::stat(Path.c_str(), &St) == 0 && S_ISREG(St.st_mode) &&
         ::access(Path.c_str(), R_OK) == 0;
}

struct TFontKey {
  std::string Name;
  Integer Height;
  bool Bold, Italic;
  bool operator==(const TFontKey&) const = default;
};

class TLibrary {
 public:
  ~TLibrary() {
    Faces.clear();
    if (Lib) FT_Done_FreeType(Lib);
#ifdef PLUMB_HAVE_FONTCONFIG
    if (FontconfigUsed) FcFini();
#endif
  }
  FT_Library Get() {
    if (!Lib && FT_Init_FreeType(&Lib) != 0) Lib = nullptr;
    return Lib;
  }
  std::vector<std::pair<TFontKey, std::unique_ptr<TFontFace>>> Faces;
  TFontFace* LastFace = nullptr;
  TFontKey LastKey;
  bool FontconfigUsed = false;

 private:
  FT_Library Lib = nullptr;
};

TLibrary& Library() {
  static TLibrary L;
  return L;
}

TFaceSource DefaultSource(bool Bold, bool Italic) {
  const char* Path = Bold ? (Italic ? DefaultBoldOblique : DefaultBold)
                          : (Italic ? DefaultOblique : DefaultFontPath);
  if (Readable(Path)) return TFaceSource{Path, false, false};
  // Debian puts the oblique files in another package; slant the upright ones instead.
  if (Bold && Readable(DefaultBold)) return TFaceSource{DefaultBold, false, Italic};
  return TFaceSource{DefaultFontPath, Bold, Italic};
}

#ifdef PLUMB_HAVE_FONTCONFIG
// Only a font of the family asked for counts; fontconfig's nearest substitute does not.
bool MatchFontconfig(const std::string& Name, bool Bold, bool Italic, TFaceSource& Source) {
  if (!FcInit()) return false;
  Library().FontconfigUsed = true;
  FcPattern* Pat = FcPatternCreate();
  FcPatternAddString(Pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(Name.c_str()));
  FcPatternAddInteger(Pat, FC_WEIGHT, Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(Pat, FC_SLANT, Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, Pat, FcMatchPattern);
  FcDefaultSubstitute(Pat);
  FcResult Result;
  FcPattern* Match = FcFontMatch(nullptr, Pat, &Result);
  FcPatternDestroy(Pat);
  if (!Match) return false;
  FcChar8 *Family = nullptr, *File = nullptr;
  int Weight = FC_WEIGHT_REGULAR, Slant = FC_SLANT_ROMAN;
  bool Found = FcPatternGetString(Match, FC_FAMILY, 0, &Family) == FcResultMatch &&
               FcPatternGetString(Match, FC_FILE, 0, &File) == FcResultMatch &&
               SameText(reinterpret_cast<const char*>(Family), Name);
  if (Found) {
    FcPatternGetInteger(Match, FC_WEIGHT, 0, &Weight);
    FcPatternGetInteger(Match, FC_SLANT, 0, &Slant);
    Source = TFaceSource{reinterpret_cast<const char*>(File), Bold && Weight < FC_WEIGHT_BOLD,
                         Italic && Slant == FC_SLANT_ROMAN};
  }
  FcPatternDestroy(Match);
  return Found;
}
#endif

TFaceSource ResolveFont(const std::string& Name, bool Bold, bool Italic) {
  if (Name.empty() || SameText(Name, DefaultFamily)) return DefaultSource(Bold, Italic);
  if (Name.find('/') != std::string::npos) {
    if (Readable(Name)) return TFaceSource{Name, Bold, Italic};
    return DefaultSource(Bold, Italic);
  }
#ifdef PLUMB_HAVE_FONTCONFIG
  TFaceSource Source;
  if (MatchFontconfig(Name, Bold, Italic, Source) && Readable(Source.Path)) return Source;
#endif
  return DefaultSource(Bold, Italic);
}

// Win32 heights: negative is the character (em) height, positive the cell height.
void SetPixelHeight(FT_Face Face, Integer Height) {
  if (!FT_IS_SCALABLE(Face)) {
    if (Face->num_fixed_sizes > 0) FT_Select_Size(Face, 0);
    return;
  }
  double Em = Height == 0 ? 12 : std::abs(double(Height));
  if (Height > 0 && Face->ascender - Face->descender > 0)
    Em = Height * double(Face->units_per_EM) / double(Face->ascender - Face->descender);
  FT_Set_Pixel_Sizes(Face, 0, FT_UInt(std::clamp<long>(std::lround(Em), 1, MaxPixelHeight)));
}

}  // namespace

TFontFace::TFontFace(const TFaceSource& Source, Integer Height) : FSource(Source) {
  FT_Library Lib = Library().Get();
  FT_Face Face = nullptr;
  if (!Lib || FT_New_Face(Lib, Source.Path.c_str(), 0, &Face) != 0) return;
  FFace = Face;
  SetPixelHeight(Face, Height);
  FAscent = Integer((Face->size->metrics.ascender + 63) >> 6);
  FDescent = Integer((-Face->size->metrics.descender + 63) >> 6);
}

TFontFace::~TFontFace() {
  if (FFace) FT_Done_Face(FFace);
}

const TGlyph& TFontFace::LoadGlyph(char32_t C) {
  if (C >= FLatin.size()) {
    auto It = FOthers.find(C);
    if (It != FOthers.end()) return *It->second;
  }
  TGlyph& G = FGlyphs.emplace_back();
  Render(G, C);
  if (C < FLatin.size())
    FLatin[C] = &G;
  else
    FOthers.emplace(C, &G);
  return G;
}

void TFontFace::Render(TGlyph& G, char32_t C) {
  if (!FFace) return;
  bool Synth = FSource.SynthBold || FSource.SynthItalic;
  FT_UInt Index = FT_Get_Char_Index(FFace, FT_ULong(C));
  FT_Int32 Flags = FT_LOAD_TARGET_LIGHT | (Synth ? FT_LOAD_NO_BITMAP : FT_LOAD_RENDER);
  if (FT_Load_Glyph(FFace, Index, Flags) != 0) return;
  FT_GlyphSlot Slot = FFace->glyph;
  if (FSource.SynthItalic) FT_GlyphSlot_Oblique(Slot);
  if (FSource.SynthBold) FT_GlyphSlot_Embolden(Slot);
  if (Slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(Slot, FT_RENDER_MODE_LIGHT) != 0)
    return;
  const FT_Bitmap& B = Slot->bitmap;
  G.Advance = Integer((Slot->advance.x + 32) >> 6);
  G.Left = Slot->bitmap_left;
  G.Top = Slot->bitmap_top;
  G.Width = Integer(B.width);
  G.Height = Integer(B.rows);
  G.Coverage.resize(size_t(G.Width) * size_t(G.Height));
  for (Integer Y = 0; Y < G.Height; ++Y) {
    const uint8_t* Src = B.buffer + std::ptrdiff_t(Y) * B.pitch;
    uint8_t* Dst = G.Coverage.data() + size_t(Y) * size_t(G.Width);
    for (Integer X = 0; X < G.Width; ++X)
      Dst[X] =
          B.pixel_mode == FT_PIXEL_MODE_MONO ? ((Src[X >> 3] >> (7 - (X & 7))) & 1) * 255 : Src[X];
  }
}

TFontFace& FaceFor(const TFont& Font) {
  TLibrary& L = Library();
  TFontStyles Style = Font.GetStyle();
  TFontKey Key{Font.GetName(), Font.GetHeight(), Style.Contains(fsBold), Style.Contains(fsItalic)};
  if (L.LastFace && L.LastKey == Key) return *L.LastFace;
  TFontFace* Face = nullptr;
  for (auto& [K, F] : L.Faces)
    if (K == Key) Face = F.get();
  if (!Face) {
    auto New = std::make_unique<TFontFace>(ResolveFont(Key.Name, Key.Bold, Key.Italic), Key.Height);
    // A file that FreeType cannot read (not a font, damaged) gives way to the default font.
    if (!New->Loaded())
      New = std::make_unique<TFontFace>(DefaultSource(Key.Bold, Key.Italic), Key.Height);
    Face = New.get();
    L.Faces.emplace_back(Key, std::move(New));
  }
  L.LastFace = Face;
  L.LastKey = std::move(Key);
  return *Face;
}


}  // namespace plumb::text
