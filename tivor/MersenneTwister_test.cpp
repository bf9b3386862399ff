#include "MersenneTwister.hpp"

#include <gtest/gtest.h>

#include <random>

namespace tivor {
namespace {

TEST(MersenneTwister, SingleWordSeedingMatchesStandardEngine) {
  for (std::uint32_t seed : {0u, 1u, 5489u, 19650218u, 0xFFFFFFFFu}) {
    MersenneTwister ours;
    ours.seeding(seed);
    std::mt19937 standard(seed);
    for (int k = 0; k < 2000; ++k) ASSERT_EQ(ours.next(), standard()) << seed << " at " << k;
  }
}

TEST(MersenneTwister, UnseededStartsFrom5489) {
  MersenneTwister ours;
  std::mt19937 standard;  // default seed 5489
  for (int k = 0; k < 700; ++k) ASSERT_EQ(ours.next(), standard());
}

TEST(MersenneTwister, KeyArraySeedingGivesReferenceOutputs) {
  const std::uint32_t key[] = {0x123, 0x234, 0x345, 0x456};
  MersenneTwister ours;
  ours.seedingByArray(key);
  for (std::uint32_t want : {1067595299u, 955945823u, 477289528u, 4107218783u, 4228976476u})
    EXPECT_EQ(ours.next(), want);
}

}  // namespace
}  // namespace tivor
