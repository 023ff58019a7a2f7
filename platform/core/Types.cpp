#include "Types.h"

#include <algorithm>

namespace plumb {

bool IsRectEmpty(const TRect& R) { return R.Right <= R.Left || R.Bottom <= R.Top; }

bool IntersectRect(TRect& Dst, const TRect& A, const TRect& B) {
  TRect R{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
          std::min(A.Bottom, B.Bottom)};
  if (IsRectEmpty(R)) {
    Dst = TRect{};
    return false;
  }
  Dst = R;
  return true;
}

bool UnionRect(TRect& Dst, const TRect& A, const TRect& B) {
  if (IsRectEmpty(A)) {
    Dst = IsRectEmpty(B) ? TRect{} : B;
  } else if (IsRectEmpty(B)) {
    Dst = A;
  } else {
    Dst = TRect{std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
                std::max(A.Bottom, B.Bottom)};
  }
  return !IsRectEmpty(Dst);
}

bool EqualRect(const TRect& A, const TRect& B) { return A == B; }

bool PtInRect(const TRect& R, const TPoint& P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

void OffsetRect(TRect& R, Integer DX, Integer DY) {
  R.Left += DX;
  R.Right += DX;
  R.Top += DY;
  R.Bottom += DY;
}

void InflateRect(TRect& R, Integer DX, Integer DY) {
  R.Left -= DX;
  R.Right += DX;
  R.Top -= DY;
  R.Bottom += DY;
}

Integer MulDiv(Integer Number, Integer Numerator, Integer Denominator) {
  if (Denominator == 0) return -1;
  Int64 Product = Int64(Number) * Int64(Numerator);
  bool Negative = (Product < 0) != (Denominator < 0);
  // Work on magnitudes so that rounding is symmetric around zero.
  uint64_t P = Product < 0 ? uint64_t(-(Product + 1)) + 1 : uint64_t(Product);
  uint64_t D = Denominator < 0 ? uint64_t(-(Int64(Denominator))) : uint64_t(Denominator);
  uint64_t Q = (P + D / 2) / D;
  if (Q > (Negative ? uint64_t(INT32_MAX) + 1 : uint64_t(INT32_MAX))) return -1;
  return Negative ? Integer(-Int64(Q)) : Integer(Q);
}

std::string UpperCase(const std::string& S) {
  std::string R = S;
  for (char& C : R)
    if (C >= 'a' && C <= 'z') C = char(C - 'a' + 'A');
  return R;
}

std::string LowerCase(const std::string& S) {
  std::string R = S;
  for (char& C : R)
    if (C >= 'A' && C <= 'Z') C = char(C - 'A' + 'a');
  return R;
}

bool SameText(const std::string& A, const std::string& B) { return UpperCase(A) == UpperCase(B); }

bool StartsText(const std::string& SubText, const std::string& Text) {
  return Text.size() >= SubText.size() && SameText(Text.substr(0, SubText.size()), SubText);
}

std::string IntToStr(Int64 Value) { return std::to_string(Value); }

}  // namespace plumb
