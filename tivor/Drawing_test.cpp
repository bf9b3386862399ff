#include "Drawing.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "MersenneTwister.hpp"
#include "NumberWriter.hpp"

namespace tivor {
namespace {

using Key = std::array<std::uint32_t, 4>;

TEST(Drawing, KeyIsTheLastSixDigitsReadAsHexadecimal) {
  EXPECT_EQ(Drawing::seedingKey(12345), (Key{0x012, 0x123, 0x234, 0x345}));
  EXPECT_EQ(Drawing::seedingKey(1000012345), (Key{0x012, 0x123, 0x234, 0x345}));
  EXPECT_EQ(Drawing::seedingKey(2147483647), (Key{0x483, 0x836, 0x364, 0x647}));
  EXPECT_EQ(Drawing::seedingKey(999999999), (Key{0x999, 0x999, 0x999, 0x999}));
  EXPECT_EQ(Drawing::seedingKey(1000), (Key{0x001, 0x010, 0x100, 0x000}));
  EXPECT_EQ(Drawing::seedingKey(1000000000), (Key{0, 0, 0, 0}));
}

TEST(Drawing, SeedingUsesTheKeyThenIdles) {
  const Key key = Drawing::seedingKey(12345);
  MersenneTwister reference;
  reference.seedingByArray(key);
  for (int k = 0; k < 400; ++k) reference.next();

  GeneratorOptions options;
  options.kilobytes = 0;  // one number
  std::ostringstream out;
  NumberWriter writer(out, false);
  Drawing(12345, 400).drawing(options, writer);
  char want[4];
  std::snprintf(want, sizeof want, "%02d ", Drawing::intervalValue(reference.next(), 1, 37));
  EXPECT_EQ(out.str(), want);
}

TEST(Drawing, IntervalValueSpreadsEvenly) {
  EXPECT_EQ(Drawing::intervalValue(0, 1, 37), 1);
  EXPECT_EQ(Drawing::intervalValue(0xFFFFFFFFu, 1, 37), 37);
  EXPECT_EQ(Drawing::intervalValue(0x80000000u, 0, 100), 50);
  EXPECT_EQ(Drawing::intervalValue(0x7FFFFFFFu, 0, 100), 49);
  EXPECT_EQ(Drawing::intervalValue(0xFFFFFFFFu, 7, 1), 7);
}

TEST(Drawing, SixBitValuesTakeBitsLowestFirstAcrossWords) {
  std::array<int, 32> want{};
  EXPECT_EQ(Drawing::sixBitValues({0, 0, 0, 0, 0, 0}), want);

  // Bits 0-5 of w1, then bits 30-31 of w1 with bits 0-3 of w2.
  want[0] = 0x3F;
  want[5] = 0x2 | (0x5 << 2);
  want[31] = 0x21;  // bits 186 and 191: bits 26 and 31 of w6
  EXPECT_EQ(Drawing::sixBitValues({0x8000003Fu, 0x5, 0, 0, 0, 0x84000000u}), want);

  std::array<int, 32> ones;
  ones.fill(63);
  EXPECT_EQ(Drawing::sixBitValues({~0u, ~0u, ~0u, ~0u, ~0u, ~0u}), ones);
}

int numbersDrawn(const GeneratorOptions& options, std::string* text = nullptr) {
  std::ostringstream out;
  NumberWriter writer(out, false);
  Drawing(options.seed, options.idling).drawing(options, writer);
  const std::string written = out.str();
  if (text) *text = written;
  return static_cast<int>(std::count(written.begin(), written.end(), ' '));
}

TEST(Drawing, StopsOnceTheBudgetIsPassed) {
  GeneratorOptions options;
  EXPECT_EQ(numbersDrawn(options), 10571);
  options.kilobytes = 0;
  EXPECT_EQ(numbersDrawn(options), 1);
  options.bitMode = true;
  EXPECT_EQ(numbersDrawn(options), 32);
  options.kilobytes = 32;
  EXPECT_EQ(numbersDrawn(options), 10592);
}

TEST(Drawing, NumbersStayInTheirRange) {
  struct Range {
    int low, high;
    bool bitMode;
  };
  for (Range range : {Range{1, 37, false}, Range{5, 20, false}, Range{0, 99, false},
                      Range{42, 42, false}, Range{0, 63, true}}) {
    GeneratorOptions options;
    options.low = range.low;
    options.high = range.high;
    options.bitMode = range.bitMode;
    options.kilobytes = 8;
    std::string text;
    numbersDrawn(options, &text);
    std::istringstream tokens(text);
    int seen = 0, lowest = 100, highest = -1;
    for (int n; tokens >> n; ++seen) {
      lowest = std::min(lowest, n);
      highest = std::max(highest, n);
    }
    EXPECT_GT(seen, 2000);
    EXPECT_EQ(lowest, range.low) << range.low << "-" << range.high;
    EXPECT_EQ(highest, range.high) << range.low << "-" << range.high;
  }
}

}  // namespace
}  // namespace tivor
