#pragma once
// Bitmaps as BMP files hold them (a device-independent bitmap after its file header), and
// drawing a surface onto a device context. The design environment's palette images are such
// bitmaps, built into the libraries that register components.
#include <cstdint>
#include <span>

#include "core/Exceptions.h"
#include "gfx/Graphics.h"

namespace plumb {

PLUMB_EXCEPTION(EInvalidGraphic, Exception)

// What a bitmap's header says of it.
struct TBitmapInfo {
  Integer Width = 0;
  Integer Height = 0;
  Word BitCount = 0;
  Cardinal ColorCount = 0;  // entries of the colour table
};

// Decodes an uncompressed bitmap with a colour table (1, 4 or 8 bits per pixel), bottom-up or
// top-down, into Surface as opaque pixels. Raises EInvalidGraphic for anything else, for a
// header or pixel data that the bytes do not hold, and for a pixel outside the colour table.
void ReadBitmap(std::span<const uint8_t> Bytes, TSurface& Surface, TBitmapInfo& Info);

// Copies Source with its top-left at logical (X, Y), clipped like every other drawing call.
bool DrawSurface(HDC DC, Integer X, Integer Y, const TSurface& Source);

}  // namespace plumb
