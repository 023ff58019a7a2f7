#pragma once
// Basic integer types, points and rectangles, and the small arithmetic helpers
// that every layer uses.
#include <cstdint>
#include <string>

namespace plumb {

using Integer = int32_t;
using Cardinal = uint32_t;
using Word = uint16_t;
using Byte = uint8_t;
using Int64 = int64_t;

struct TPoint {
  Integer X = 0;
  Integer Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Left and Top are inside the rectangle, Right and Bottom just outside it.
struct TRect {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;
  Integer Width() const { return Right - Left; }
  Integer Height() const { return Bottom - Top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(Integer X, Integer Y) { return TPoint{X, Y}; }
inline TRect Rect(Integer Left, Integer Top, Integer Right, Integer Bottom) {
  return TRect{Left, Top, Right, Bottom};
}
inline TRect Bounds(Integer Left, Integer Top, Integer Width, Integer Height) {
  return TRect{Left, Top, Left + Width, Top + Height};
}

bool IsRectEmpty(const TRect& R);
// Sets Dst to the common part of A and B; returns false (and an all-zero Dst) when there is none.
bool IntersectRect(TRect& Dst, const TRect& A, const TRect& B);
// Sets Dst to the smallest rectangle holding A and B; empty rectangles are ignored.
bool UnionRect(TRect& Dst, const TRect& A, const TRect& B);
bool EqualRect(const TRect& A, const TRect& B);
// Left/top edges belong to the rectangle, right/bottom edges do not.
bool PtInRect(const TRect& R, const TPoint& P);
void OffsetRect(TRect& R, Integer DX, Integer DY);
void InflateRect(TRect& R, Integer DX, Integer DY);

// Number * Numerator / Denominator with a 64-bit product, rounded to nearest (halves away
// from zero); -1 when Denominator is 0 or the result does not fit 32 bits.
Integer MulDiv(Integer Number, Integer Numerator, Integer Denominator);

// Only the ASCII letters change; every other byte (including UTF-8 sequences) is kept.
std::string UpperCase(const std::string& S);
std::string LowerCase(const std::string& S);
bool SameText(const std::string& A, const std::string& B);
// Text begins with SubText, ASCII letter case ignored as in SameText.
bool StartsText(const std::string& SubText, const std::string& Text);

std::string IntToStr(Int64 Value);

}  // namespace plumb
