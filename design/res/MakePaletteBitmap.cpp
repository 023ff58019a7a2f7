// Draws the package's palette image and writes it as a BMP file: 24 x 24 pixels, 8 bits per
// pixel with a 256-entry colour table (the 16 standard colours, a 6 x 6 x 6 colour cube and
// 24 greys). The picture is a small record grid: a grey title column and a white value column,
// four rows, the second one current.
//   plumb_make_palette_bitmap <out.bmp> [plain]     (plain: one colour, for tests)
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int Size = 24;
enum : uint8_t { Black = 0, Navy = 4, Silver = 7, Grey = 8, White = 15 };

using TPicture = std::array<std::array<uint8_t, Size>, Size>;  // [y][x], top row first

std::array<uint32_t, 256> ColourTable() {  // 0x00RRGGBB
  std::array<uint32_t, 256> T{};
  const uint32_t Standard[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                 0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  for (int I = 0; I < 16; ++I) T[I] = Standard[I];
  for (int I = 0; I < 216; ++I)
    T[16 + I] = uint32_t(I / 36 * 51) << 16 | uint32_t(I / 6 % 6 * 51) << 8 | uint32_t(I % 6 * 51);
  for (int I = 0; I < 24; ++I) T[232 + I] = uint32_t(8 + 10 * I) * 0x010101u;
  return T;
}

void Fill(TPicture& P, int X1, int Y1, int X2, int Y2, uint8_t C) {  // inclusive
  for (int Y = Y1; Y <= Y2; ++Y)
    for (int X = X1; X <= X2; ++X) P[Y][X] = C;
}

TPicture DrawGrid() {
  TPicture P;
  Fill(P, 0, 0, Size - 1, Size - 1, Silver);
  Fill(P, 2, 3, 21, 19, Black);   // frame
  Fill(P, 3, 4, 9, 18, Silver);   // title column
  Fill(P, 10, 4, 10, 18, Grey);   // the line between the columns
  Fill(P, 11, 4, 20, 18, White);  // value column
  const int ValueEnd[4] = {17, 19, 16, 18};
  for (int Row = 0; Row < 4; ++Row) {
    int Top = 4 + Row * 4;
    if (Row < 3) Fill(P, 3, Top + 3, 20, Top + 3, Grey);  // row line
    bool Current = Row == 1;
    if (Current) Fill(P, 11, Top, 20, Top + 2, Navy);
    Fill(P, 4, Top + 1, 7, Top + 1, Black);                                 // title
    Fill(P, 12, Top + 1, ValueEnd[Row], Top + 1, Current ? White : Black);  // value
  }
  return P;
}

void Put16(std::vector<uint8_t>& B, uint32_t V) {
  B.push_back(uint8_t(V));
  B.push_back(uint8_t(V >> 8));
}
void Put32(std::vector<uint8_t>& B, uint32_t V) {
  Put16(B, V & 0xFFFF);
  Put16(B, V >> 16);
}

std::vector<uint8_t> Encode(const TPicture& P) {
  const uint32_t TableBytes = 256 * 4, Offset = 14 + 40 + TableBytes,
                 Stride = Size;  // 24: 4-aligned
  std::vector<uint8_t> B{'B', 'M'};
  Put32(B, Offset + Stride * Size);
  Put32(B, 0);
  Put32(B, Offset);
  for (uint32_t V : {40u, uint32_t(Size), uint32_t(Size)}) Put32(B, V);
  Put16(B, 1);  // planes
  Put16(B, 8);  // bits per pixel
  for (uint32_t V : {0u, Stride * Size, 2835u, 2835u, 256u, 0u}) Put32(B, V);
  for (uint32_t C : ColourTable()) Put32(B, C);  // blue, green, red, 0 in the file
  for (int Y = Size - 1; Y >= 0; --Y) B.insert(B.end(), P[Y].begin(), P[Y].end());
  return B;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <out.bmp> [plain]\n", argv[0]);
    return 2;
  }
  TPicture Picture = DrawGrid();
  if (argc > 2 && std::strcmp(argv[2], "plain") == 0) Fill(Picture, 0, 0, Size - 1, Size - 1, Navy);
  std::vector<uint8_t> Bytes = Encode(Picture);
  std::FILE* F = std::fopen(argv[1], "wb");
  if (!F || std::fwrite(Bytes.data(), 1, Bytes.size(), F) != Bytes.size() || std::fclose(F) != 0) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
