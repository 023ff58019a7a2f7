#include <gtest/gtest.h>

#include "core/Set.h"

using namespace plumb;

namespace {
enum TOpt { o0, o1, o2, o3, o4, o5, o6, o7, o8, o9 };
using TOpts = TSet<TOpt, uint16_t>;
}  // namespace

TEST(SetTest, StoredValueIsBitPerOrdinal) {
  TOpts S{o1, o2, o3, o5, o6, o8};
  EXPECT_EQ(S.Stored(), 366);
  TOpts Back = TOpts::FromStored(366);
  EXPECT_EQ(Back, S);
  EXPECT_TRUE(Back.Contains(o8));
  EXPECT_FALSE(Back.Contains(o0));
  EXPECT_FALSE(Back.Contains(o4));
}

TEST(SetTest, OperatorsFollowSetAlgebra) {
  TOpts A{o0, o1, o2}, B{o1, o2, o3};
  EXPECT_EQ(A + B, (TOpts{o0, o1, o2, o3}));
  EXPECT_EQ(A - B, (TOpts{o0}));
  EXPECT_EQ(A * B, (TOpts{o1, o2}));
  EXPECT_TRUE((TOpts{o1}) <= A);
  EXPECT_FALSE(B <= A);
  EXPECT_TRUE(TOpts{}.Empty());
  EXPECT_EQ((A - o0).Stored(), (TOpts{o1, o2}).Stored());
}
