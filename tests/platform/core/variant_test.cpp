#include <gtest/gtest.h>

#include "core/Exceptions.h"
#include "core/Variant.h"

using namespace plumb;

TEST(VariantTest, ConvertsEveryKindToString) {
  EXPECT_EQ(Variant().ToString(), "");
  EXPECT_EQ(Variant::Null().ToString(), "");
  EXPECT_EQ(Variant(true).ToString(), "True");
  EXPECT_EQ(Variant(false).ToString(), "False");
  EXPECT_EQ(Variant(-42).ToString(), "-42");
  EXPECT_EQ(Variant(Int64(1) << 40).ToString(), "1099511627776");
  EXPECT_EQ(Variant(0.1).ToString(), "0.1");
  EXPECT_EQ(Variant(2.5).ToString(), "2.5");
  EXPECT_EQ(Variant(3.0).ToString(), "3");
  EXPECT_EQ(Variant("abc").ToString(), "abc");
  EXPECT_EQ(Variant(TBytes{'h', 'i'}).ToString(), "hi");
}

TEST(VariantTest, NumericConversionsAndTheirErrors) {
  EXPECT_EQ(Variant(" 12 ").ToInteger(), 12);
  EXPECT_DOUBLE_EQ(Variant("1.5").ToFloat(), 1.5);
  EXPECT_EQ(Variant(2.6).ToInteger(), 3);
  EXPECT_TRUE(Variant("true").ToBoolean());
  EXPECT_FALSE(Variant("0").ToBoolean());
  EXPECT_THROW(Variant("12a").ToInteger(), EVariantError);
  EXPECT_THROW(Variant("").ToFloat(), EVariantError);
  EXPECT_THROW(Variant::Null().ToInteger(), EVariantError);
  EXPECT_THROW(Variant("maybe").ToBoolean(), EVariantError);
  EXPECT_THROW(Variant(1).ToBytes(), EVariantError);
  EXPECT_THROW(Variant("99999999999999999999").ToInteger(), EVariantError);
}

TEST(VariantTest, EqualityAcrossKinds) {
  EXPECT_EQ(Variant(1), Variant(1.0));
  EXPECT_EQ(Variant("1.5"), Variant(1.5));
  EXPECT_EQ(Variant::Null(), Variant::Null());
  EXPECT_EQ(Variant(), Variant());
  EXPECT_NE(Variant::Null(), Variant());
  EXPECT_NE(Variant::Null(), Variant(0));
  EXPECT_NE(Variant(""), Variant::Null());
  EXPECT_NE(Variant("x"), Variant(0));
  EXPECT_EQ(Variant(true), Variant(1));
  EXPECT_EQ(Variant("abc"), Variant("abc"));
  EXPECT_NE(Variant("abc"), Variant("ABC"));
  EXPECT_EQ(Variant(TBytes{1, 2}), Variant(TBytes{1, 2}));
}
