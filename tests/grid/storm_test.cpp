// A short storm of fixed seeds; scripts/storm.sh runs long ones.
#include <gtest/gtest.h>

#include "storm/GridStorm.h"

namespace plumb::test {

TEST(GridStorm, FixedSeedsKeepTheEditorOnItsCell) {
  for (uint64_t Seed : {1u, 2u, 3u, 5u, 8u, 13u}) EXPECT_EQ(RunGridStorm(Seed, 1500), "");
}

}  // namespace plumb::test
