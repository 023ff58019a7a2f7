#include "Utf8.h"

namespace plumb {

std::u32string Utf8ToU32(const std::string& S) {
  std::u32string R;
  size_t I = 0, N = S.size();
  while (I < N) {
    unsigned char C = (unsigned char)S[I];
    int Len = C < 0x80 ? 1 : (C >> 5) == 6 ? 2 : (C >> 4) == 14 ? 3 : (C >> 3) == 30 ? 4 : 0;
    char32_t Cp = Len == 1 ? C : Len == 2 ? (C & 0x1F) : Len == 3 ? (C & 0x0F) : (C & 0x07);
    bool Ok = Len > 0 && I + size_t(Len) <= N;
    for (int K = 1; Ok && K < Len; ++K) {
      unsigned char D = (unsigned char)S[I + size_t(K)];
      if ((D & 0xC0) != 0x80) Ok = false;
      Cp = (Cp << 6) | (D & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    static const char32_t MinOf[] = {0, 0, 0x80, 0x800, 0x10000};
    if (Ok && (Cp < MinOf[Len] || (Cp >= 0xD800 && Cp <= 0xDFFF) || Cp > 0x10FFFF)) Ok = false;
    R += Ok ? Cp : char32_t(0xFFFD);
    I += Ok ? size_t(Len) : 1;
  }
  return R;
}

std::string U32ToUtf8(const std::u32string& S) {
  std::string R;
  for (char32_t C : S) {
    if (C > 0x10FFFF || (C >= 0xD800 && C <= 0xDFFF)) C = 0xFFFD;
    if (C < 0x80) {
      R += char(C);
    } else if (C < 0x800) {
      R += char(0xC0 | (C >> 6));
      R += char(0x80 | (C & 0x3F));
    } else if (C < 0x10000) {
      R += char(0xE0 | (C >> 12));
      R += char(0x80 | ((C >> 6) & 0x3F));
      R += char(0x80 | (C & 0x3F));
    } else {
      R += char(0xF0 | (C >> 18));
      R += char(0x80 | ((C >> 12) & 0x3F));
      R += char(0x80 | ((C >> 6) & 0x3F));
      R += char(0x80 | (C & 0x3F));
    }
  }
  return R;
}

}  // namespace plumb

namespace plumb {

size_t Utf8Length(const std::string& S) { return Utf8ToU32(S).size(); }

}  // namespace plumb
