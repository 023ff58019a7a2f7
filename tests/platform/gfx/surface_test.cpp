#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "GfxTestUtil.h"

namespace plumb {
namespace {

using test::FillPattern;

std::string TempPath(const std::string& Name) {
  return testing::TempDir() + "/plumb-gfx-" + Name;
}

TEST(Surface, ResizeKeepsWhatFitsAndFillsTheRest) {
  TSurface S(3, 2, 0xFF000001u);
  S.SetPixel(2, 1, 0xFF00FF00u);
  S.Resize(4, 3, 0xFFFFFFFFu);
  EXPECT_EQ(S.Pixel(2, 1), 0xFF00FF00u);
  EXPECT_EQ(S.Pixel(0, 0), 0xFF000001u);
  EXPECT_EQ(S.Pixel(3, 0), 0xFFFFFFFFu);
  EXPECT_EQ(S.Pixel(0, 2), 0xFFFFFFFFu);
  S.SetPixel(-1, 0, 1);
  S.SetPixel(4, 0, 1);
  EXPECT_EQ(S.Pixel(-1, 0), 0u);
  EXPECT_EQ(S.Pixel(0, 3), 0u);
  S.Resize(-5, 10);
  EXPECT_EQ(S.Width(), 0);
  EXPECT_EQ(S.Height(), 0);
}

TEST(Surface, PngRoundTripKeepsEveryPixelAndAreaSavesAPart) {
  TSurface S(37, 21);
  FillPattern(S);
  S.SetPixel(0, 0, 0x80123456u);  // alpha survives too
  const std::string Path = TempPath("roundtrip.png");
  ASSERT_TRUE(SavePng(S, Path));
  TSurface Back;
  ASSERT_TRUE(LoadPng(Back, Path));
  ASSERT_EQ(Back.Width(), 37);
  ASSERT_EQ(Back.Height(), 21);
  EXPECT_TRUE(std::equal(S.Pixels(), S.Pixels() + 37 * 21, Back.Pixels()));
  TRect Area = Rect(5, 4, 50, 9);  // reaches past the right edge: clipped to the surface
  ASSERT_TRUE(SavePng(S, Path, &Area));
  ASSERT_TRUE(LoadPng(Back, Path));
  ASSERT_EQ(Back.Width(), 32);
  ASSERT_EQ(Back.Height(), 5);
  EXPECT_EQ(Back.Pixel(0, 0), S.Pixel(5, 4));
  EXPECT_EQ(Back.Pixel(31, 4), S.Pixel(36, 8));
  std::filesystem::remove(Path);
}

TEST(Surface, PngFailuresLeaveNoFileAndNoChange) {
  TSurface Empty, S(4, 4, 0xFF00FF00u);
  const std::string Path = TempPath("empty.png");
  std::filesystem::remove(Path);
  EXPECT_FALSE(SavePng(Empty, Path));
  EXPECT_FALSE(std::filesystem::exists(Path));
  EXPECT_FALSE(SavePng(S, "/no/such/dir/x.png"));
  TRect Outside = Rect(10, 10, 20, 20);
  EXPECT_FALSE(SavePng(S, Path, &Outside));
  EXPECT_FALSE(std::filesystem::exists(Path));
  std::ofstream(Path) << "not a png";
  EXPECT_FALSE(LoadPng(S, Path));
  EXPECT_FALSE(LoadPng(S, "/no/such/file.png"));
  EXPECT_EQ(S.Width(), 4);
  EXPECT_EQ(S.Pixel(3, 3), 0xFF00FF00u);
  std::filesystem::remove(Path);
}

// Scrolling reorders rows instead of moving them; every other use must still see the pixels
// where they belong, contiguous when asked for all of them.
TEST(Surface, RotatedRowsReadWriteCopyResizeAndSaveInTheirNewPlaces) {
  TSurface S(5, 6);
  for (Integer Y = 0; Y < 6; ++Y)
    for (Integer X = 0; X < 5; ++X) S.SetPixel(X, Y, 0xFF000000u | uint32_t(Y * 16 + X));
  auto RowOf = [](const TSurface& T, Integer Y) { return Integer(T.Pixel(0, Y) & 0xFF) / 16; };
  S.RotateRows(1, 5, -1);  // content moves up inside 1..4; row 1 wraps to 4
  EXPECT_EQ(RowOf(S, 0), 0);
  EXPECT_EQ(RowOf(S, 1), 2);
  EXPECT_EQ(RowOf(S, 3), 4);
  EXPECT_EQ(RowOf(S, 4), 1);
  EXPECT_EQ(RowOf(S, 5), 5);
  S.RotateRows(0, 6, 8);  // more than the band: wraps; content moves down by 2
  EXPECT_EQ(RowOf(S, 0), 1);
  EXPECT_EQ(RowOf(S, 2), 0);
  EXPECT_EQ(S.Pixel(4, 3), 0xFF000000u | 0x24u);
  S.SetPixel(2, 3, 0xFFABCDEFu);
  TSurface Copy = S;
  S.SetPixel(2, 3, 0xFF000001u);  // the copy has rows of its own
  EXPECT_EQ(Copy.Pixel(2, 3), 0xFFABCDEFu);
  const uint32_t* All = Copy.Pixels();
  EXPECT_EQ(All[3 * 5 + 2], 0xFFABCDEFu);
  EXPECT_EQ(All[0] & 0xFF, 0x10u);
  EXPECT_EQ(Copy.Pixel(2, 3), 0xFFABCDEFu);  // still right after the rows went back in order
  const std::string Path = TempPath("rotated.png");
  ASSERT_TRUE(SavePng(S, Path));
  TSurface Back;
  ASSERT_TRUE(LoadPng(Back, Path));
  for (Integer Y = 0; Y < 6; ++Y) EXPECT_EQ(Back.Pixel(1, Y), S.Pixel(1, Y)) << Y;
  std::filesystem::remove(Path);
  S.RotateRows(0, 6, 1);
  S.Resize(3, 7, 0xFFFFFFFFu);
  EXPECT_EQ(RowOf(S, 0), 4);
  EXPECT_EQ(RowOf(S, 1), 1);
  EXPECT_EQ(S.Pixel(0, 6), 0xFFFFFFFFu);
  S.RotateRows(-3, 99, 0);  // out of range and no move: nothing happens
  S.RotateRows(4, 5, 1);    // a band of one row cannot rotate
  EXPECT_EQ(RowOf(S, 4), 2);
}

TEST(Surface, ZeroSizedSurfaceAcceptsEveryCallAndDrawsNothing) {
  TSurface S;
  TDeviceContext DC;
  InitDC(DC, &S);
  TRect R = Rect(0, 0, 10, 10);
  TPoint P[2] = {{0, 0}, {5, 5}};
  DWORD N = 2;
  EXPECT_TRUE(FillRect(&DC, R, clRed));
  EXPECT_TRUE(Polyline(&DC, P, 2));
  EXPECT_TRUE(PolyPolyline(&DC, P, &N, 1));
  EXPECT_TRUE(DrawEdge(&DC, R, EDGE_RAISED, BF_RECT | BF_MIDDLE));
  EXPECT_TRUE(DrawFrameControl(&DC, R, DFC_SCROLL, DFCS_SCROLLCOMBOBOX));
  EXPECT_TRUE(PatBlt(&DC, 0, 0, 5, 5, BLACKNESS));
  EXPECT_FALSE(RectVisible(&DC, R));
  EXPECT_EQ(S.Pixels(), S.Pixels());  // still empty, nothing written anywhere
  EXPECT_EQ(S.Width() * S.Height(), 0);
}

}  // namespace
}  // namespace plumb
