#include <gtest/gtest.h>

#include "controls/EditMask.h"

using namespace plumb;

TEST(EditMaskTest, EmptyTextShowsLiteralsAndBlanks) {
  TEditMaskFormat M("(000) 000-0000;0;_");
  EXPECT_EQ(U32ToUtf8(M.EmptyText()), "(___) ___-____");
  EXPECT_FALSE(M.KeepLiterals());
  EXPECT_EQ(M.NextEditable(0), 1);
  EXPECT_EQ(M.NextEditable(4), 6);
  EXPECT_EQ(M.PrevEditable(6), 3);
  EXPECT_EQ(M.PrevEditable(1), -1);
}

TEST(EditMaskTest, PositionsAcceptOnlyTheirKindAndConvertCase) {
  TEditMaskFormat M(">LL<ll!a\\0c");
  char32_t Out = 0;
  EXPECT_TRUE(M.Accepts(0, U'x', Out));
  EXPECT_EQ(Out, U'X');
  EXPECT_FALSE(M.Accepts(0, U'1', Out));
  EXPECT_TRUE(M.Accepts(2, U'Q', Out));
  EXPECT_EQ(Out, U'q');
  EXPECT_TRUE(M.Accepts(4, U'7', Out));  // letter or digit, no conversion
  EXPECT_TRUE(M.Accepts(4, U'Z', Out));
  EXPECT_EQ(Out, U'Z');
  EXPECT_FALSE(M.Accepts(4, U'-', Out));
  EXPECT_TRUE(M.IsLiteral(5));  // the escaped 0
  EXPECT_FALSE(M.Accepts(5, U'0', Out));
  EXPECT_TRUE(M.Accepts(6, U'#', Out));
  EXPECT_FALSE(M.Accepts(6, U'\t', Out));
}

TEST(EditMaskTest, ValuesWithAndWithoutLiterals) {
  TEditMaskFormat Drop("(000) 000-0000;0;_");
  std::u32string Edit;
  EXPECT_TRUE(Drop.ValueToEditText(U"5551234567", Edit));
  EXPECT_EQ(U32ToUtf8(Edit), "(555) 123-4567");
  EXPECT_EQ(U32ToUtf8(Drop.EditTextToValue(Edit)), "5551234567");
  EXPECT_TRUE(Drop.IsComplete(Edit));

  TEditMaskFormat Keep("00/00/0000;1;*");
  EXPECT_TRUE(Keep.ValueToEditText(U"12/0", Edit));
  EXPECT_EQ(U32ToUtf8(Edit), "12/0*/****");
  EXPECT_FALSE(Keep.IsComplete(Edit));
  EXPECT_EQ(U32ToUtf8(Keep.EditTextToValue(Edit)), "12/0 /");
}

TEST(EditMaskTest, RefusedCharactersAreReportedAndLeftBlank) {
  TEditMaskFormat M("000;0");
  std::u32string Edit;
  EXPECT_FALSE(M.ValueToEditText(U"1x3", Edit));
  EXPECT_EQ(U32ToUtf8(Edit), "1_3");
  EXPECT_FALSE(M.ValueToEditText(U"12345", Edit));  // more than the mask holds
  TEditMaskFormat Optional("999");
  EXPECT_TRUE(Optional.IsComplete(Optional.EmptyText()));
}
