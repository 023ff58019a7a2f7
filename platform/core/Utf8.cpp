#include "Utf8.h"

namespace plumb {

char32_t NextCodePoint(const char*& P, const char* End) {
  auto Byte = [](const char* Q) { return uint8_t(*Q); };
  uint8_t B0 = Byte(P++);
  if (B0 < 0x80) return B0;
  int Len = B0 >= 0xC2 && B0 <= 0xDF   ? 2
            : B0 >= 0xE0 && B0 <= 0xEF ? 3
            : B0 >= 0xF0 && B0 <= 0xF4 ? 4
                                       : 0;
  if (Len == 0) return 0xFFFD;
  // The second byte's range rules out overlong forms, surrogates and values past U+10FFFF.
  uint8_t Lo = B0 == 0xE0 ? 0xA0 : B0 == 0xF0 ? 0x90 : 0x80;
  uint8_t Hi = B0 == 0xED ? 0x9F : B0 == 0xF4 ? 0x8F : 0xBF;
  char32_t C = B0 & (0xFF >> (Len + 1));
  for (int I = 1; I < Len; ++I) {
    if (P == End) return 0xFFFD;
    uint8_t B = Byte(P);
    if (B < (I == 1 ? Lo : 0x80) || B > (I == 1 ? Hi : 0xBF)) return 0xFFFD;
    C = (C << 6) | (B & 0x3F);
    ++P;
  }
  return C;
}

std::u32string Utf8ToU32(const std::string& S) {
  std::u32string R;
  const char* P = S.data();
  const char* End = P + S.size();
  while (P < End) R += NextCodePoint(P, End);
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
