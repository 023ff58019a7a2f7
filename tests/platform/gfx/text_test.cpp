#include <gtest/gtest.h>

#include <fstream>

#include "GfxTestUtil.h"

namespace plumb {
namespace {

using test::TPaintBox;
constexpr uint32_t White = 0xFFFFFFFFu;

std::vector<uint32_t> PixelsOf(const TSurface& S) {
  return std::vector<uint32_t>(S.Pixels(), S.Pixels() + size_t(S.Width()) * size_t(S.Height()));
}

TEST(Text, MeasuredWidthIsExactlyTheDrawnAdvance) {
  TPaintBox Whole(300, 30), Split(300, 30);
  const std::string A = "Fixed width? Wavy", B = "lines: 0123 \xC3\xA9t\xC3\xA9";
  ExtTextOut(&Whole.DC, 4, 2, 0, nullptr, A + B);
  ExtTextOut(&Split.DC, 4, 2, 0, nullptr, A);
  ExtTextOut(&Split.DC, 4 + GetTextExtent(&Split.DC, A).X, 2, 0, nullptr, B);
  EXPECT_EQ(PixelsOf(Whole.Surface), PixelsOf(Split.Surface));
  EXPECT_EQ(GetTextExtent(&Whole.DC, A + B).X,
            GetTextExtent(&Whole.DC, A).X + GetTextExtent(&Whole.DC, B).X);
}

TEST(Text, RightAlignedTextEndsWhereTheCallerPutIt) {
  TPaintBox B(200, 30);
  for (const std::string S : {"H", "1234", "Name"}) {
    B.Surface.Resize(0, 0);
    B.Surface.Resize(200, 30, White);
    InitDC(B.DC, &B.Surface);
    Integer Right = 150;
    ExtTextOut(&B.DC, Right - GetTextExtent(&B.DC, S).X, 5, 0, nullptr, S);
    TRect Ink = B.InkBounds(White);
    EXPECT_LE(Ink.Right, Right) << S;
    EXPECT_GE(Ink.Right, Right - 2) << S;  // only the glyph's own side bearing in between
  }
}

TEST(Text, YIsTheTopOfTheLine) {
  TPaintBox B(100, 60);
  ExtTextOut(&B.DC, 3, 20, 0, nullptr, "Hg\xC3\x89");
  TRect Ink = B.InkBounds(White);
  TTextMetric TM;
  ASSERT_TRUE(GetTextMetrics(&B.DC, TM));
  EXPECT_GE(Ink.Top, 20);
  EXPECT_LE(Ink.Bottom, 20 + TM.tmHeight);
  EXPECT_GT(Ink.Bottom, 20 + TM.tmAscent);  // the descender of g
  EXPECT_EQ(TM.tmHeight, GetTextExtent(&B.DC, "x").Y);
  EXPECT_EQ(TM.tmHeight, TM.tmAscent + TM.tmDescent);
}

TEST(Text, OpaqueClippedText_FillsItsRectangleAndNeverPaintsOutside) {
  TPaintBox B(120, 40, 0xFF102030u);
  B.DC.BkColor = clYellow;
  B.DC.TextColor = clNavy;
  TRect Cell = Rect(20, 10, 70, 22);  // lower than the line and narrower than the text
  std::vector<TTextOutRecord> Log;
  B.DC.TextLog = &Log;
  ASSERT_TRUE(
      ExtTextOut(&B.DC, 12, 8, ETO_CLIPPED | ETO_OPAQUE, &Cell, "Wide text that overflows"));
  EXPECT_EQ(B.Count([&](Integer X, Integer Y, uint32_t P) {
    return !PtInRect(Cell, Point(X, Y)) && P != 0xFF102030u;
  }),
            0);
  int Bg = B.CountColor(0xFFFFFF00u, Cell), Ink = 50 * 12 - Bg;
  EXPECT_GT(Bg, 300);
  EXPECT_GT(Ink, 30);  // the text is really there
  ASSERT_EQ(Log.size(), 1u);
  EXPECT_EQ(Log[0].Text, "Wide text that overflows");
  EXPECT_EQ(Log[0].Pos, Point(12, 8));
  EXPECT_EQ(Log[0].Rect, Cell);
  EXPECT_EQ(Log[0].Options, UINT(ETO_CLIPPED | ETO_OPAQUE));
  EXPECT_EQ(Log[0].Color, clNavy);
}

TEST(Text, InvalidUtf8DrawsReplacementCharacters) {
  TPaintBox B(10, 10);
  auto W = [&](const std::string& S) { return GetTextExtent(&B.DC, S).X; };
  const Integer Fffd = W("\xEF\xBF\xBD");
  ASSERT_GT(Fffd, 0);
  EXPECT_EQ(W("\xFF"), Fffd);
  EXPECT_EQ(W("\xC0\x80"), 2 * Fffd);      // overlong: both bytes are bad
  EXPECT_EQ(W("\xED\xA0\x80"), 3 * Fffd);  // a surrogate
  EXPECT_EQ(W("\xE2\x82"
              "A"),
            Fffd + W("A"));                      // truncated, then a good character
  EXPECT_EQ(W("A\xF0\x9F\x98"), W("A") + Fffd);  // truncated at the end
  EXPECT_EQ(W("\xE2\x82\xAC"), W("\xE2\x82\xAC"));
  EXPECT_NE(W("\xE2\x82\xAC"), 0);
}

TEST(Text, FontsThatCannotBeFoundOrReadFallBackToTheDefault) {
  TFont Default, Missing, Garbage;
  Missing.SetName("No Such Font Family 42");
  const std::string Junk = testing::TempDir() + "/not-a-font.ttf";
  std::ofstream(Junk) << "this is not a font";
  Garbage.SetName(Junk);
  const std::string S = "The quick brown fox";
  EXPECT_EQ(FontTextExtent(Missing, S), FontTextExtent(Default, S));
  EXPECT_EQ(FontTextExtent(Garbage, S), FontTextExtent(Default, S));
  Missing.SetName("/no/such/dir/font.ttf");
  EXPECT_EQ(FontTextExtent(Missing, S), FontTextExtent(Default, S));
}

TEST(Text, OtherFamiliesAreFoundByName) {
#ifndef PLUMB_HAVE_FONTCONFIG
  GTEST_SKIP() << "built without fontconfig: every name gives the default font";
#endif
  TFont Mono;
  Mono.SetName("DejaVu Sans Mono");  // installed with the default font
  EXPECT_EQ(FontTextExtent(Mono, "iiii").X, FontTextExtent(Mono, "MMMM").X);
  EXPECT_NE(FontTextExtent(TFont(), "iiii").X, FontTextExtent(TFont(), "MMMM").X);
}

TEST(Text, SizeBoldAndItalicChangeTheText) {
  TFont Regular, Big, Bold, Italic;
  EXPECT_EQ(Regular.GetSize(), 9);
  Big.SetSize(14);
  EXPECT_EQ(Big.GetHeight(), -19);
  Bold.SetStyle(TFontStyles{fsBold});
  Italic.SetStyle(TFontStyles{fsItalic});
  const std::string S = "Record grid";
  EXPECT_GT(FontTextExtent(Big, S).X, FontTextExtent(Regular, S).X);
  EXPECT_GT(FontTextExtent(Big, S).Y, FontTextExtent(Regular, S).Y);
  EXPECT_GT(FontTextExtent(Bold, S).X, FontTextExtent(Regular, S).X);
  TPaintBox Upright(120, 20), Slanted(120, 20);
  Upright.DC.Font.Assign(&Regular);
  Slanted.DC.Font.Assign(&Italic);
  ExtTextOut(&Upright.DC, 2, 2, 0, nullptr, S);
  ExtTextOut(&Slanted.DC, 2, 2, 0, nullptr, S);
  EXPECT_NE(PixelsOf(Upright.Surface), PixelsOf(Slanted.Surface));
  EXPECT_GT(Slanted.CountColor(White), 0);
}

TEST(Text, AFontFileWithoutStyledSiblingsIsSlantedAndEmboldened) {
  // A font named by its file has no bold or oblique file to switch to: both are synthesised.
  TFont Plain, Bold, Slanted;
  for (TFont* F : {&Plain, &Bold, &Slanted})
    F->SetName("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
  Bold.SetStyle(TFontStyles{fsBold});
  Slanted.SetStyle(TFontStyles{fsItalic});
  const std::string S = "Synthetic styles";
  EXPECT_EQ(FontTextExtent(Plain, S), FontTextExtent(TFont(), S));
  EXPECT_GT(FontTextExtent(Bold, S).X, FontTextExtent(Plain, S).X);
  EXPECT_EQ(FontTextExtent(Slanted, S).X, FontTextExtent(Plain, S).X);  // slant keeps advances
  TPaintBox Upright(140, 20), Oblique(140, 20);
  Upright.DC.Font.Assign(&Plain);
  Oblique.DC.Font.Assign(&Slanted);
  ExtTextOut(&Upright.DC, 2, 2, 0, nullptr, S);
  ExtTextOut(&Oblique.DC, 2, 2, 0, nullptr, S);
  EXPECT_NE(PixelsOf(Upright.Surface), PixelsOf(Oblique.Surface));
  EXPECT_NEAR(Oblique.CountColor(White), Upright.CountColor(White), 300);
}

TEST(Text, DegenerateCallsDrawNothingAndDoNotFail) {
  TPaintBox B(40, 20);
  TRect Inverted = Rect(30, 15, 5, 2);
  EXPECT_TRUE(ExtTextOut(&B.DC, 5, 2, ETO_CLIPPED | ETO_OPAQUE, &Inverted, "abc"));
  EXPECT_TRUE(ExtTextOut(&B.DC, 5, 2, 0, nullptr, ""));
  EXPECT_EQ(B.CountColor(White), 800);
  EXPECT_FALSE(ExtTextOut(nullptr, 0, 0, 0, nullptr, "abc"));
  EXPECT_EQ(GetTextExtent(nullptr, "abc"), TPoint{});
  TSurface Empty;
  TDeviceContext DC;
  InitDC(DC, &Empty);
  EXPECT_TRUE(ExtTextOut(&DC, 0, 0, 0, nullptr, "abc"));
  EXPECT_GT(GetTextExtent(&DC, "abc").X, 0);
}

}  // namespace
}  // namespace plumb
