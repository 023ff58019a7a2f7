// Reading bitmaps (BMP bytes with a colour table) and drawing surfaces onto a DC.
#include "gfx/Bitmap.h"

#include <gtest/gtest.h>

#include "GfxTestUtil.h"

namespace plumb {
namespace {

constexpr uint32_t Red = 0xFFFF0000u, Green = 0xFF00FF00u, Blue = 0xFF0000FFu, Grey = 0xFF808080u;

void Put(std::vector<uint8_t>& B, size_t At, uint32_t V, int Bytes = 4) {
  for (int I = 0; I < Bytes; ++I) B[At + size_t(I)] = uint8_t(V >> (8 * I));
}

// A BMP file of Rows (top row first, one colour index per pixel) with the given colours.
std::vector<uint8_t> MakeBmp(int Bits, const std::vector<uint32_t>& Colours,
                             const std::vector<std::vector<int>>& Rows, bool TopDown = false) {
  const int W = int(Rows[0].size()), H = int(Rows.size());
  const size_t Stride = (size_t(W) * size_t(Bits) + 31) / 32 * 4;
  const size_t Offset = 54 + Colours.size() * 4;
  std::vector<uint8_t> B(Offset + Stride * size_t(H));
  B[0] = 'B';
  B[1] = 'M';
  Put(B, 2, uint32_t(B.size()));
  Put(B, 10, uint32_t(Offset));
  Put(B, 14, 40);
  Put(B, 18, uint32_t(W));
  Put(B, 22, uint32_t(TopDown ? -H : H));
  Put(B, 26, 1, 2);
  Put(B, 28, uint32_t(Bits), 2);
  Put(B, 46, uint32_t(Colours.size()));
  for (size_t I = 0; I < Colours.size(); ++I) Put(B, 54 + I * 4, Colours[I] & 0xFFFFFF);
  for (int Y = 0; Y < H; ++Y) {
    uint8_t* Row = B.data() + Offset + size_t(TopDown ? Y : H - 1 - Y) * Stride;
    for (int X = 0; X < W; ++X) {
      size_t Bit = size_t(X) * size_t(Bits);
      Row[Bit / 8] |= uint8_t(Rows[size_t(Y)][size_t(X)] << (8 - Bits - int(Bit % 8)));
    }
  }
  return B;
}

void ExpectPixels(const TSurface& S, const std::vector<uint32_t>& Colours,
                  const std::vector<std::vector<int>>& Rows) {
  ASSERT_EQ(S.Height(), int(Rows.size()));
  ASSERT_EQ(S.Width(), int(Rows[0].size()));
  for (size_t Y = 0; Y < Rows.size(); ++Y)
    for (size_t X = 0; X < Rows[Y].size(); ++X)
      EXPECT_EQ(S.Pixel(int(X), int(Y)), Colours[size_t(Rows[Y][X])]) << X << "," << Y;
}

TEST(Bitmap, ReadsIndexedPixelsOfEveryDepthInBothRowOrders) {
  const std::vector<uint32_t> Colours{Red, Green, Blue, Grey};
  struct TCase {
    int Bits;
    bool TopDown;
    std::vector<std::vector<int>> Rows;
  };
  const TCase Cases[] = {
      {8, false, {{0, 1, 2}, {3, 2, 1}}},  // rows padded to 4
      {8, true, {{0, 1, 2, 3, 0}, {1, 1, 1, 1, 1}}},
      {4, false, {{0, 1, 2, 3, 0}, {3, 3, 0, 0, 1}, {2, 2, 2, 2, 2}}},        // half bytes
      {1, true, {{0, 1, 1, 0, 1, 0, 0, 1, 1}, {1, 0, 0, 1, 0, 1, 1, 0, 0}}},  // across a byte
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Bits) + (C.TopDown ? " bits, top-down" : " bits"));
    std::vector<uint32_t> Table(Colours.begin(), Colours.begin() + (C.Bits == 1 ? 2 : 4));
    TSurface S;
    TBitmapInfo Info;
    ReadBitmap(MakeBmp(C.Bits, Table, C.Rows, C.TopDown), S, Info);
    EXPECT_EQ(Info.BitCount, C.Bits);
    EXPECT_EQ(Info.ColorCount, Table.size());
    EXPECT_EQ(Info.Height, int(C.Rows.size()));
    ExpectPixels(S, Table, C.Rows);
  }
}

TEST(Bitmap, MalformedBytes_RaiseAndLeaveTheSurfaceAlone) {
  const std::vector<uint8_t> Good = MakeBmp(8, {Red, Green}, {{0, 1}, {1, 0}});
  using TEdit = std::function<void(std::vector<uint8_t>&)>;
  const std::pair<const char*, TEdit> Cases[] = {
      {"empty", [](auto& B) { B.clear(); }},
      {"not BM", [](auto& B) { B[1] = 'X'; }},
      {"header cut", [](auto& B) { B.resize(50); }},
      {"pixels cut", [](auto& B) { B.pop_back(); }},
      {"short info header", [](auto& B) { Put(B, 14, 12); }},
      {"info header past the end", [](auto& B) { Put(B, 14, 4000); }},
      {"two planes", [](auto& B) { Put(B, 26, 2, 2); }},
      {"compressed", [](auto& B) { Put(B, 30, 1); }},
      {"24 bits", [](auto& B) { Put(B, 28, 24, 2); }},
      {"no width", [](auto& B) { Put(B, 18, 0); }},
      {"no height", [](auto& B) { Put(B, 22, 0); }},
      {"most negative height", [](auto& B) { Put(B, 22, 0x80000000u); }},
      {"huge", [](auto& B) { Put(B, 18, 100000), Put(B, 22, 100000); }},
      {"more colours than 8 bits", [](auto& B) { Put(B, 46, 257); }},
      {"pixels over the table", [](auto& B) { Put(B, 10, 55); }},
      {"pixels past the end", [](auto& B) { Put(B, 10, uint32_t(B.size()) + 1); }},
      {"index beyond the table", [](auto& B) { B[B.size() - 4] = 7; }},
  };
  for (const auto& [Title, Edit] : Cases) {
    SCOPED_TRACE(Title);
    std::vector<uint8_t> Bytes = Good;
    Edit(Bytes);
    TSurface S(1, 1, Blue);
    TBitmapInfo Info;
    EXPECT_THROW(ReadBitmap(Bytes, S, Info), EInvalidGraphic);
    EXPECT_EQ(S.Width(), 1);
    EXPECT_EQ(S.Pixel(0, 0), Blue);
  }
}

TEST(Bitmap, DrawSurface_ClipsToTheSurfaceTheRegionAndTheOrigin) {
  TSurface Image(3, 3);
  test::FillPattern(Image);
  test::TPaintBox Box(6, 5, Grey);
  Box.DC.Origin = TPoint{1, 0};
  ExcludeClipRect(&Box.DC, 2, 0, 3, 5);  // logical column 2: surface column 3
  EXPECT_TRUE(DrawSurface(&Box.DC, -2, 3, Image));
  EXPECT_TRUE(DrawSurface(&Box.DC, 3, -1, Image));
  for (Integer Y = 0; Y < 5; ++Y)
    for (Integer X = 0; X < 6; ++X) {
      uint32_t Expected = Grey;
      if (X < 2 && Y >= 3) Expected = Image.Pixel(X + 1, Y - 3);  // left part cut off
      if (X >= 4 && Y < 2) Expected = Image.Pixel(X - 4, Y + 1);  // top row cut off
      if (X == 3) Expected = Grey;                                // excluded
      EXPECT_EQ(Box.At(X, Y), Expected) << X << "," << Y;
    }
  EXPECT_FALSE(DrawSurface(nullptr, 0, 0, Image));
}

}  // namespace
}  // namespace plumb
