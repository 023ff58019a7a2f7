// Reads a window dump (xwd's format, 24 or 32 bits a pixel, as an X server under Xvfb writes
// it), writes it as a PNG to look at, and says whether it shows anything: at least a few
// colours, and not all of them dark. Exits 0 when it does, 1 when the window is blank, 2 when
// the file cannot be read.
//
//   plumb_xwd_check <dump.xwd> <picture.png>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <vector>

#include "gfx/Graphics.h"

namespace {

uint32_t Card32(const std::vector<uint8_t>& B, size_t At) {
  return uint32_t(B[At]) << 24 | uint32_t(B[At + 1]) << 16 | uint32_t(B[At + 2]) << 8 | B[At + 3];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: plumb_xwd_check <dump.xwd> <picture.png>\n";
    return 2;
  }
  std::ifstream In(argv[1], std::ios::binary);
  std::vector<uint8_t> B((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  if (B.size() < 100) return 2;
  uint32_t HeaderSize = Card32(B, 0), Width = Card32(B, 16), Height = Card32(B, 20);
  uint32_t ByteOrder = Card32(B, 28), Bits = Card32(B, 44), Line = Card32(B, 48);
  uint32_t Colours = Card32(B, 76);
  size_t Data = HeaderSize + size_t(Colours) * 12;
  if ((Bits != 32 && Bits != 24) || Width == 0 || Height == 0 ||
      Data + size_t(Line) * Height > B.size())
    return 2;
  plumb::TSurface Picture(plumb::Integer(Width), plumb::Integer(Height), 0xFF000000u);
  std::set<uint32_t> Seen;
  size_t Bright = 0;
  for (uint32_t Y = 0; Y < Height; ++Y)
    for (uint32_t X = 0; X < Width; ++X) {
      const uint8_t* P = &B[Data + size_t(Y) * Line + size_t(X) * (Bits / 8)];
      uint32_t Pixel = ByteOrder == 0 ? uint32_t(P[0]) | uint32_t(P[1]) << 8 | uint32_t(P[2]) << 16
                                      : uint32_t(P[Bits / 8 - 1]) | uint32_t(P[Bits / 8 - 2]) << 8 |
                                            uint32_t(P[Bits / 8 - 3]) << 16;
      Picture.SetPixel(plumb::Integer(X), plumb::Integer(Y), 0xFF000000u | Pixel);
      Seen.insert(Pixel);
      if ((Pixel & 0xFF) + (Pixel >> 8 & 0xFF) + (Pixel >> 16 & 0xFF) > 300) ++Bright;
    }
  plumb::SavePng(Picture, argv[2]);
  std::cout << Width << " x " << Height << ", " << Seen.size() << " colours\n";
  return Seen.size() >= 8 && Bright > size_t(Width) * Height / 4 ? 0 : 1;
}
