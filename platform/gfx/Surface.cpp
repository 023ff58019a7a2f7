// ARGB32 surfaces and their PNG files (libpng's simplified API reads and writes the
// B,G,R,A byte order of our pixels as it is).
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "gfx/Graphics.h"

namespace plumb {

TSurface::TSurface(Integer AWidth, Integer AHeight, uint32_t Fill) {
  Resize(AWidth, AHeight, Fill);
}

void TSurface::Resize(Integer AWidth, Integer AHeight, uint32_t Fill) {
  AWidth = std::max<Integer>(AWidth, 0);
  AHeight = std::max<Integer>(AHeight, 0);
  if (AWidth == 0 || AHeight == 0) AWidth = AHeight = 0;
  std::vector<uint32_t> Pixels(size_t(AWidth) * size_t(AHeight), Fill);
  Integer KeepW = std::min(AWidth, FWidth), KeepH = std::min(AHeight, FHeight);
  for (Integer Y = 0; Y < KeepH; ++Y)
    std::copy_n(Row(Y), KeepW, Pixels.data() + size_t(Y) * size_t(AWidth));
  FPixels.swap(Pixels);
  FWidth = AWidth;
  FHeight = AHeight;
  FRowStart.resize(size_t(AHeight));
  for (Integer Y = 0; Y < AHeight; ++Y) FRowStart[size_t(Y)] = size_t(Y) * size_t(AWidth);
  FRowsInOrder = true;
}

void TSurface::PutRowsInOrder() const {
  if (FRowsInOrder) return;
  std::vector<uint32_t> Pixels(FPixels.size());
  for (Integer Y = 0; Y < FHeight; ++Y) {
    size_t InOrder = size_t(Y) * size_t(FWidth);
    std::copy_n(FPixels.data() + FRowStart[size_t(Y)], FWidth, Pixels.data() + InOrder);
    FRowStart[size_t(Y)] = InOrder;
  }
  FPixels.swap(Pixels);
  FRowsInOrder = true;
}

uint32_t* TSurface::Pixels() {
  PutRowsInOrder();
  return FPixels.data();
}

const uint32_t* TSurface::Pixels() const {
  PutRowsInOrder();
  return FPixels.data();
}

void TSurface::RotateRows(Integer Top, Integer Bottom, Integer DY) {
  Top = std::max<Integer>(Top, 0);
  Bottom = std::min(Bottom, FHeight);
  Integer N = Bottom - Top;
  if (N <= 1) return;
  DY %= N;
  if (DY < 0) DY += N;
  if (DY == 0) return;
  auto First = FRowStart.begin() + Top;
  std::rotate(First, First + (N - DY), First + N);
  FRowsInOrder = false;
}

uint32_t TSurface::Pixel(Integer X, Integer Y) const {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return 0;
  return Row(Y)[X];
}

void TSurface::SetPixel(Integer X, Integer Y, uint32_t Value) {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
  Row(Y)[X] = Value;
}

bool SavePng(const TSurface& Surface, const std::string& Path, const TRect* Area) {
  TRect R = Surface.BoundsRect();
  if (Area && !IntersectRect(R, R, *Area)) return false;
  if (IsRectEmpty(R)) return false;
  png_image Image;
  std::memset(&Image, 0, sizeof Image);
  Image.version = PNG_IMAGE_VERSION;
  Image.width = png_uint_32(R.Width());
  Image.height = png_uint_32(R.Height());
  Image.format = PNG_FORMAT_BGRA;
  const uint32_t* First = Surface.Pixels() + size_t(R.Top) * size_t(Surface.Width()) + R.Left;
  png_int_32 Stride = png_int_32(Surface.Width());  // in components of one pixel
  bool Ok = png_image_write_to_file(&Image, Path.c_str(), 0, First, Stride * 4, nullptr) != 0;
  png_image_free(&Image);
  if (!Ok) std::remove(Path.c_str());
  return Ok;
}

bool LoadPng(TSurface& Surface, const std::string& Path) {
  png_image Image;
  std::memset(&Image, 0, sizeof Image);
  Image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&Image, Path.c_str())) return false;
  Image.format = PNG_FORMAT_BGRA;
  // A damaged or hostile header must not make us reserve gigabytes.
  if (uint64_t(Image.width) * Image.height > (uint64_t(1) << 28)) {
    png_image_free(&Image);
    return false;
  }
  TSurface Loaded(Integer(Image.width), Integer(Image.height), 0);
  if (Loaded.Width() == 0 || !png_image_finish_read(&Image, nullptr, Loaded.Pixels(), 0, nullptr)) {
    png_image_free(&Image);
    return false;
  }
  Surface = std::move(Loaded);
  return true;
}

}  // namespace plumb
