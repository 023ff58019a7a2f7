#pragma once
// UTF-8 to code points and back. Invalid sequences (bad bytes, overlong forms, surrogates,
// values past U+10FFFF) decode to U+FFFD.
#include <string>

namespace plumb {

// Decodes one code point at P (advancing P); invalid or truncated sequences give U+FFFD and
// skip the bytes that could not start a longer valid sequence.
char32_t NextCodePoint(const char*& P, const char* End);
std::u32string Utf8ToU32(const std::string& S);
std::string U32ToUtf8(const std::u32string& S);
// Number of characters (code points, bad bytes counting one each).
size_t Utf8Length(const std::string& S);

}  // namespace plumb
