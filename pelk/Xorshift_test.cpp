#include "Xorshift.hpp"

#include <gtest/gtest.h>

#include "Clock.hpp"

namespace {

// The first outputs of xor128 from its standard starting state.
constexpr unsigned int kStream[] = {3701687786u, 458299110u, 2500872618u, 3633119408u, 516391518u};

TEST(Xorshift, WarmUpDiscardsThatManyOutputsOfTheStandardStream) {
  for (unsigned int warmUp = 1; warmUp < 4; ++warmUp) {
    Xorshift generator(warmUp);
    for (unsigned int i = warmUp; i < 5; ++i) EXPECT_EQ(generator.nextRandom(), kStream[i]) << i;
  }
}

TEST(Xorshift, ClockGivesTheWarmUpMaskedWith0xF423F) {
  struct Case {
    std::time_t now;
    unsigned int warmUp;
  };
  const Case cases[] = {
      {3, 3},
      {1000000, 999936},  // 0xF4240 & 0xF423F: a mask, not a remainder
      {0x100000, 0},      // no bit of the mask set: nothing is discarded
      {0x7FFFFFFF, 0xF423F},
  };
  for (const Case& c : cases) {
    FixedClock clock(c.now);
    Xorshift fromClock(clock);
    unsigned int expected = kStream[0];
    if (c.warmUp > 0) {
      Xorshift reference(c.warmUp);
      expected = reference.nextRandom();
    }
    EXPECT_EQ(fromClock.nextRandom(), expected) << c.now;
  }
}

}  // namespace
