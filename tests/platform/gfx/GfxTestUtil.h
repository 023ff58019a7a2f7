#pragma once
// Small helpers for pixel tests: a surface with its own DC, and questions about pixels.
#include <functional>

#include "gfx/Graphics.h"

namespace plumb::test {

// The pixel a colour paints (ColorToPixel itself is checked in colors_test).
inline uint32_t Px(TColor C) {
  return ColorToPixel(C);
}

struct TPaintBox {
  TSurface Surface;
  TDeviceContext DC;
  explicit TPaintBox(Integer W, Integer H, uint32_t Fill = 0xFFFFFFFFu) : Surface(W, H, Fill) {
    InitDC(DC, &Surface);
  }
  uint32_t At(Integer X, Integer Y) const { return Surface.Pixel(X, Y); }
  // Number of pixels in R (whole surface when R is empty) for which Pred holds.
  int Count(const std::function<bool(Integer, Integer, uint32_t)>& Pred, TRect R = {}) const {
    if (IsRectEmpty(R)) R = Surface.BoundsRect();
    int N = 0;
    for (Integer Y = R.Top; Y < R.Bottom; ++Y)
      for (Integer X = R.Left; X < R.Right; ++X) N += Pred(X, Y, At(X, Y)) ? 1 : 0;
    return N;
  }
  int CountColor(uint32_t P, TRect R = {}) const {
    return Count([P](Integer, Integer, uint32_t V) { return V == P; }, R);
  }
  // The smallest rectangle holding every pixel that differs from Background.
  TRect InkBounds(uint32_t Background) const {
    TRect B;
    Count([&](Integer X, Integer Y, uint32_t V) {
      if (V != Background) UnionRect(B, B, TRect{X, Y, X + 1, Y + 1});
      return false;
    });
    return B;
  }
};

inline int CountPixels(const TSurface& S, uint32_t P, TRect R) {
  if (IsRectEmpty(R)) R = S.BoundsRect();
  int N = 0;
  for (Integer Y = R.Top; Y < R.Bottom; ++Y)
    for (Integer X = R.Left; X < R.Right; ++X) N += S.Pixel(X, Y) == P ? 1 : 0;
  return N;
}

// A background where every pixel differs from its neighbours, so that a raster operation
// that goes wrong anywhere shows.
inline void FillPattern(TSurface& S) {
  for (Integer Y = 0; Y < S.Height(); ++Y)
    for (Integer X = 0; X < S.Width(); ++X)
      S.SetPixel(X, Y, 0xFF000000u | uint32_t((X * 37 + Y * 101) * 2654435761u >> 8));
}

}  // namespace plumb::test
