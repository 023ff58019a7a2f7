#include <gtest/gtest.h>

#include "core/Utf8.h"

using namespace plumb;

TEST(Utf8Test, RoundTripsAllLengths) {
  std::string S = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // a é € 😀
  std::u32string U = Utf8ToU32(S);
  EXPECT_EQ(U, (std::u32string{U'a', 0xE9, 0x20AC, 0x1F600}));
  EXPECT_EQ(U32ToUtf8(U), S);
}

TEST(Utf8Test, InvalidSequencesBecomeReplacementCharacters) {
  EXPECT_EQ(Utf8ToU32("\xFF" "a"), (std::u32string{0xFFFD, U'a'}));
  EXPECT_EQ(Utf8ToU32("\xC3"), (std::u32string{0xFFFD}));           // cut short
  EXPECT_EQ(Utf8ToU32("\xC0\xAF"), (std::u32string{0xFFFD, 0xFFFD}));  // overlong
  EXPECT_EQ(Utf8ToU32("\xED\xA0\x80").front(), char32_t(0xFFFD));    // surrogate
  EXPECT_EQ(U32ToUtf8(std::u32string{0xD800}), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf8Length("\xC3\xA9t\xC3\xA9"), 3u);
}
