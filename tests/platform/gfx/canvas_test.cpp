#include <gtest/gtest.h>

#include "GfxTestUtil.h"
#include "core/Exceptions.h"

namespace plumb {
namespace {

using test::FillPattern;
using test::Px;
constexpr uint32_t White = 0xFFFFFFFFu;

TEST(Canvas, TheHandleCarriesFontColourAndBrushAsBackground) {
  TSurface S(100, 30, White);
  TCanvas C(&S);
  std::vector<TTextOutRecord> Log;
  C.Font()->SetColor(clRed);
  C.Brush()->SetColor(clHighlight);
  HDC DC = C.GetHandle();
  DC->TextLog = &Log;
  TRect Cell = Rect(0, 0, 60, 18);
  ExtTextOut(C.GetHandle(), 2, 2, ETO_CLIPPED | ETO_OPAQUE, &Cell, "Value");
  ASSERT_EQ(Log.size(), 1u);
  EXPECT_EQ(Log[0].Color, clRed);
  EXPECT_GT(test::CountPixels(S, Px(clHighlight), Cell), 500);
  // A colour set on the DC lasts until the font itself changes.
  SetTextColor(C.GetHandle(), clGreen);
  ExtTextOut(C.GetHandle(), 2, 2, 0, nullptr, "x");
  C.Font()->SetColor(clBlue);
  ExtTextOut(C.GetHandle(), 2, 2, 0, nullptr, "x");
  EXPECT_EQ(Log[1].Color, clGreen);
  EXPECT_EQ(Log[2].Color, clBlue);
}

TEST(Canvas, SizingLine_SavedPenDottedXorTwiceRestores) {
  TSurface S(60, 80);
  FillPattern(S);
  TSurface Before = S;
  TCanvas C(&S);
  C.Pen()->SetColor(clRed);
  C.Pen()->SetWidth(3);
  TPen Saved;
  Saved.Assign(C.Pen());
  for (int Pass = 0; Pass < 2; ++Pass) {
    C.Pen()->SetStyle(psDot);
    C.Pen()->SetMode(pmXor);
    C.Pen()->SetWidth(1);
    C.Pen()->SetColor(clWhite);
    C.MoveTo(30, 0);
    C.LineTo(30, 70);
    if (Pass == 0) {
      EXPECT_NE(S.Pixel(30, 0), Before.Pixel(30, 0));
    }
    C.Pen()->Assign(&Saved);
  }
  for (Integer Y = 0; Y < 80; ++Y) {
    for (Integer X = 0; X < 60; ++X) {
      ASSERT_EQ(S.Pixel(X, Y), Before.Pixel(X, Y)) << X << "," << Y;
    }
  }
  EXPECT_EQ(C.Pen()->GetWidth(), 3);
  EXPECT_EQ(C.Pen()->GetMode(), pmCopy);
}

TEST(Canvas, PenHandleFromExtCreatePenUntilAPropertyChanges) {
  TPen P;
  P.SetHandle(ExtCreatePen(74240, 3, TLogBrush{BS_SOLID, 0x00C0C0C0}));
  EXPECT_EQ(P.GetWidth(), 3);
  EXPECT_EQ(P.GetColor(), clSilver);
  EXPECT_EQ(P.GetHandle().Style, 74240u);
  P.SetColor(clBlack);  // a property change makes an ordinary pen of the same width
  EXPECT_EQ(P.GetHandle().Style & PS_GEOMETRIC, 0u);
  EXPECT_EQ(P.GetHandle().Width, 3);
  // The canvas's pen handle reaches PolyPolyline on the canvas's DC.
  TSurface S(20, 20, White);
  TCanvas C(&S);
  C.Pen()->SetHandle(ExtCreatePen(74240, 3, TLogBrush{BS_SOLID, 0}));
  TPoint Pts[2] = {{10, 0}, {10, 20}};
  DWORD N = 2;
  PolyPolyline(C.GetHandle(), Pts, &N, 1);
  EXPECT_EQ(S.Pixel(8, 5), White);
  EXPECT_EQ(S.Pixel(9, 5), 0xFF000000u);
  EXPECT_EQ(S.Pixel(11, 19), 0xFF000000u);
  EXPECT_EQ(S.Pixel(12, 5), White);
}

TEST(Canvas, FillsFramesTextOutAndClearBrushes) {
  TSurface S(60, 40, White);
  TCanvas C(&S);
  C.Brush()->SetColor(clBtnFace);
  C.FillRect(Rect(0, 0, 10, 10));
  EXPECT_EQ(test::CountPixels(S, Px(clBtnFace), {}), 100);
  C.Brush()->SetColor(clBlack);
  C.FrameRect(Rect(20, 0, 30, 10));
  EXPECT_EQ(test::CountPixels(S, 0xFF000000u, Rect(20, 0, 30, 10)), 36);
  C.FillRect(Rect(50, 10, 40, 0));  // inverted: nothing
  C.Brush()->SetStyle(bsClear);
  C.FillRect(Rect(40, 0, 50, 10));
  EXPECT_EQ(test::CountPixels(S, White, Rect(40, 0, 50, 10)), 100);
  C.Brush()->SetStyle(bsSolid);
  C.Brush()->SetColor(clYellow);
  C.TextOut(5, 15, "Ab");
  EXPECT_EQ(C.GetPenPos(), Point(5 + C.TextWidth("Ab"), 15));
  EXPECT_EQ(S.Pixel(5, 15), Px(clYellow));  // opaque background behind the text
  C.Rectangle(40, 20, 50, 30);
  EXPECT_EQ(test::CountPixels(S, 0xFF000000u, Rect(40, 20, 50, 30)), 36);
  EXPECT_EQ(test::CountPixels(S, Px(clYellow), Rect(40, 20, 50, 30)), 64);
}

TEST(Canvas, WithoutAHandleNothingIsDrawnButTextIsMeasured) {
  TCanvas C;
  EXPECT_EQ(C.GetHandle(), nullptr);
  C.FillRect(Rect(0, 0, 10, 10));
  C.LineTo(5, 5);
  C.TextOut(0, 0, "abc");
  EXPECT_GT(C.TextWidth("abc"), 0);
  EXPECT_GT(C.TextHeight("abc"), 0);
  TSurface S(10, 10, White);
  TDeviceContext DC;
  InitDC(DC, &S);
  C.SetHandle(&DC);
  C.Brush()->SetColor(clBlack);
  C.FillRect(Rect(0, 0, 2, 2));
  EXPECT_EQ(S.Pixel(1, 1), 0xFF000000u);
  C.SetHandle(nullptr);
  EXPECT_FALSE(C.HandleAllocated());
}

TEST(GdiObjects, AssignCopiesAndNotifiesAndRefusesStrangers) {
  TFont A, B;
  int Changes = 0;
  B.OnChange = [&](TObject*) { ++Changes; };
  A.SetName("DejaVu Sans Mono");
  A.SetSize(12);
  A.SetStyle(TFontStyles{fsBold});
  B.Assign(&A);
  EXPECT_TRUE(B.Equals(A));
  EXPECT_EQ(Changes, 1);
  B.Assign(&A);  // same value: nothing to tell
  EXPECT_EQ(Changes, 1);
  B.SetHeight(B.GetHeight());
  EXPECT_EQ(Changes, 1);
  TBrush Brush;
  EXPECT_THROW(B.Assign(&Brush), EConvertError);
  EXPECT_THROW(Brush.Assign(&A), EConvertError);
}

}  // namespace
}  // namespace plumb
