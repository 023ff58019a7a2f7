// Bitmaps: reading a BMP file's bytes into a surface, and copying a surface onto a DC.
//
// The file is a 14-byte file header ("BM", size, pixel data offset), an info header (40 bytes
// or one of its longer successors), the colour table (blue, green, red, reserved per entry) and
// the rows, each padded to 4 bytes, the bottom row first unless the height is negative.
#include "gfx/Bitmap.h"

#include <cstdlib>
#include <string>

#include "gfx/Raster.h"

namespace plumb {

namespace {

constexpr size_t FileHeaderSize = 14;
constexpr size_t InfoHeaderSize = 40;
// Far beyond any palette image; keeps a forged header from asking for gigabytes.
constexpr int64_t MaxPixels = 16 * 1024 * 1024;

[[noreturn]] void Invalid(const std::string& Why) {
  throw EInvalidGraphic("Invalid bitmap: " + Why);
}

uint32_t ReadU32(std::span<const uint8_t> B, size_t At) {
  return uint32_t(B[At]) | uint32_t(B[At + 1]) << 8 | uint32_t(B[At + 2]) << 16 |
         uint32_t(B[At + 3]) << 24;
}

uint16_t ReadU16(std::span<const uint8_t> B, size_t At) {
  return uint16_t(B[At] | B[At + 1] << 8);
}

struct THeader {
  TBitmapInfo Info;
  bool TopDown = false;
  size_t TableAt = 0;
  size_t PixelsAt = 0;
  size_t Stride = 0;
};

THeader ReadHeader(std::span<const uint8_t> B) {
  if (B.size() < FileHeaderSize + InfoHeaderSize || B[0] != 'B' || B[1] != 'M')
    Invalid("not a BMP file");
  THeader H;
  uint32_t InfoSize = ReadU32(B, 14);
  int32_t Width = int32_t(ReadU32(B, 18)), Height = int32_t(ReadU32(B, 22));
  H.Info.BitCount = ReadU16(B, 28);
  if (InfoSize < InfoHeaderSize || InfoSize > B.size() - FileHeaderSize)
    Invalid("the info header does not fit");
  if (ReadU16(B, 26) != 1 || ReadU32(B, 30) != 0) Invalid("compressed or multi-plane data");
  if (H.Info.BitCount != 1 && H.Info.BitCount != 4 && H.Info.BitCount != 8)
    Invalid(std::to_string(H.Info.BitCount) + " bits per pixel");
  if (Width <= 0 || Height == 0 || Height == INT32_MIN ||
      int64_t(Width) * std::abs(int64_t(Height)) > MaxPixels)
    Invalid("size " + std::to_string(Width) + " x " + std::to_string(Height));
  H.TopDown = Height < 0;
  H.Info.Width = Width;
  H.Info.Height = H.TopDown ? -Height : Height;
  uint32_t Used = ReadU32(B, 46), Full = 1u << H.Info.BitCount;
  H.Info.ColorCount = Used == 0 ? Full : Used;
  if (H.Info.ColorCount > Full) Invalid("a colour table of " + std::to_string(Used) + " entries");
  H.TableAt = FileHeaderSize + InfoSize;
  H.PixelsAt = ReadU32(B, 10);
  H.Stride = (size_t(Width) * H.Info.BitCount + 31) / 32 * 4;
  if (H.TableAt + size_t(H.Info.ColorCount) * 4 > H.PixelsAt || H.PixelsAt > B.size() ||
      (B.size() - H.PixelsAt) / H.Stride < size_t(H.Info.Height))
    Invalid("the colour table or the pixels do not fit in the file");
  return H;
}

}  // namespace

void ReadBitmap(std::span<const uint8_t> Bytes, TSurface& Surface, TBitmapInfo& Info) {
  THeader H = ReadHeader(Bytes);
  std::vector<uint32_t> Table(H.Info.ColorCount);
  for (size_t I = 0; I < Table.size(); ++I) {
    size_t At = H.TableAt + I * 4;
    Table[I] = 0xFF000000u | uint32_t(Bytes[At + 2]) << 16 | uint32_t(Bytes[At + 1]) << 8 |
               uint32_t(Bytes[At]);
  }
  TSurface Result(H.Info.Width, H.Info.Height);
  const unsigned Bits = H.Info.BitCount, Mask = (1u << Bits) - 1;
  for (Integer Y = 0; Y < H.Info.Height; ++Y) {
    const uint8_t* Row = Bytes.data() + H.PixelsAt + size_t(Y) * H.Stride;
    uint32_t* Out = Result.Row(H.TopDown ? Y : H.Info.Height - 1 - Y);
    for (Integer X = 0; X < H.Info.Width; ++X) {
      size_t Bit = size_t(X) * Bits;
      unsigned Index = (Row[Bit / 8] >> (8 - Bits - Bit % 8)) & Mask;
      if (Index >= Table.size()) Invalid("a pixel outside the colour table");
      Out[X] = Table[Index];
    }
  }
  Surface = std::move(Result);
  Info = H.Info;
}

bool DrawSurface(HDC DC, Integer X, Integer Y, const TSurface& Source) {
  if (!raster::Usable(DC)) return false;
  TRect Target = raster::ToSurface(*DC, Bounds(X, Y, Source.Width(), Source.Height()));
  raster::ForEachClip(*DC, Target, [&](const TRect& Part) {
    for (Integer Row = Part.Top; Row < Part.Bottom; ++Row)
      std::copy_n(Source.Row(Row - Target.Top) + (Part.Left - Target.Left), Part.Width(),
                  DC->Surface->Row(Row) + Part.Left);
  });
  return true;
}

}  // namespace plumb
