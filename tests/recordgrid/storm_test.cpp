// A short storm of fixed seeds; scripts/storm.sh runs long ones.
#include <gtest/gtest.h>

#include "storm/RecordStorm.h"

namespace plumb::test {

TEST(RecordStorm, FixedSeedsKeepTheGridWhole) {
  for (uint64_t Seed : {1u, 2u, 3u, 5u}) EXPECT_EQ(RunRecordStorm(Seed, 800), "");
}

}  // namespace plumb::test
