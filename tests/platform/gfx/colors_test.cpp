#include <gtest/gtest.h>

#include "gfx/Graphics.h"

namespace plumb {
namespace {

TEST(Colors, SystemColorsResolveThroughThePalette) {
  for (int I = 0; I < COLOR_ENDCOLORS; ++I)
    EXPECT_EQ(ColorToRGB(SysColor(I)), TColor(GetSysColor(I)));
  EXPECT_EQ(ColorToRGB(clWindow), clWhite);
  EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
  EXPECT_EQ(GetSysColor(-1), 0u);
  EXPECT_EQ(GetSysColor(COLOR_ENDCOLORS), 0u);
}

TEST(Colors, PaletteKeepsTheDistinctionsDrawingReliesOn) {
  // A grid on clBtnFace must not be mistaken for one on clSilver.
  EXPECT_NE(ColorToRGB(clBtnFace), 12632256);
  EXPECT_EQ(ColorToRGB(clSilver), 12632256);
  COLORREF H = GetSysColor(COLOR_HIGHLIGHT);
  EXPECT_GT(GetBValue(H), GetRValue(H) + 100);  // a blue
  EXPECT_NE(GetSysColor(COLOR_HIGHLIGHTTEXT), H);
  EXPECT_NE(GetSysColor(COLOR_CAPTIONTEXT), H);
  // The four edge colours must all differ from each other and from the face.
  std::vector<COLORREF> Edge = {GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_3DLIGHT),
                                GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_3DDKSHADOW),
                                GetSysColor(COLOR_BTNFACE)};
  for (size_t I = 0; I < Edge.size(); ++I)
    for (size_t J = I + 1; J < Edge.size(); ++J) EXPECT_NE(Edge[I], Edge[J]) << I << " " << J;
}

TEST(Colors, PlainColorsPassThroughAndBecomeArgbPixels) {
  EXPECT_EQ(ColorToRGB(clRed), clRed);
  EXPECT_EQ(ColorToRGB(0x123456), 0x123456);
  EXPECT_EQ(ColorToPixel(clRed), 0xFFFF0000u);
  EXPECT_EQ(ColorToPixel(clBlue), 0xFF0000FFu);
  EXPECT_EQ(ColorToPixel(RGB(1, 2, 3)), 0xFF010203u);
}

TEST(Colors, IdentsRoundTripAndIgnoreCase) {
  for (TColor C : {clBlack, clSilver, clWhite, clBtnFace, clHighlight, cl3DDkShadow, clNone}) {
    std::string Name;
    ASSERT_TRUE(ColorToIdent(C, Name));
    TColor Back = 0;
    ASSERT_TRUE(IdentToColor(Name, Back));
    EXPECT_EQ(Back, C) << Name;
  }
  TColor C = 0;
  EXPECT_TRUE(IdentToColor("CLBTNFACE", C));
  EXPECT_EQ(C, clBtnFace);
  std::string Name;
  EXPECT_FALSE(ColorToIdent(0x123456, Name));
  EXPECT_FALSE(IdentToColor("clNoSuchColour", C));
}

}  // namespace
}  // namespace plumb
