#include <gtest/gtest.h>

#include <memory>

#include "core/Filer.h"
#include "core/TypeInfo.h"
#include "gfx/Graphics.h"

using namespace plumb;

namespace {

class TPainted : public TComponent {
  PLUMB_CLASS(TPainted, TComponent)
  explicit TPainted(TComponent* AOwner) : TComponent(AOwner), FFont(new TFont) {}
  TColor GetShade() const { return FShade; }
  void SetShade(TColor Value) { FShade = Value; }
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  static void DescribeProperties(TPropertyList<TPainted>& P) {
    P.ColorProp("Shade", &TPainted::GetShade, &TPainted::SetShade).Default(clWindow);
    P.ObjectProp("Font", &TPainted::GetFont, &TPainted::SetFont);
  }

 private:
  TColor FShade = clWindow;
  std::unique_ptr<TFont> FFont;
};

}  // namespace

TEST(FontStreamTest, ColoursByNameAndFontsRoundTrip) {
  RegisterClass<TPainted>();
  TPainted Source(nullptr);
  Source.SetName("Painted1");
  Source.SetShade(clBtnFace);
  Source.GetFont()->SetColor(clRed);
  Source.GetFont()->SetSize(12);
  Source.GetFont()->SetStyle(TFontStyles{fsBold, fsItalic});
  std::string Text = SaveComponentToString(&Source);
  EXPECT_NE(Text.find("\"clBtnFace\""), std::string::npos) << Text;
  EXPECT_NE(Text.find("\"clRed\""), std::string::npos) << Text;
  EXPECT_NE(Text.find("\"fsBold\""), std::string::npos) << Text;

  TPainted Copy(nullptr);
  LoadComponentFromString(Text, &Copy);
  EXPECT_EQ(Copy.GetShade(), clBtnFace);
  EXPECT_TRUE(Copy.GetFont()->Equals(*Source.GetFont()));

  TPainted Plain(nullptr);  // defaults are not written
  std::string PlainText = SaveComponentToString(&Plain);
  EXPECT_EQ(PlainText.find("Shade"), std::string::npos) << PlainText;
  EXPECT_EQ(PlainText.find("Height"), std::string::npos) << PlainText;
}
