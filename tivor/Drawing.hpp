#pragma once

#include <array>
#include <cstdint>

#include "GeneratorOptions.hpp"
#include "MersenneTwister.hpp"

namespace tivor {

class NumberWriter;

/// Seeds the generator from a seed number and draws the run's numbers, from
/// an interval or as 6-bit values, until the byte budget is spent.
class Drawing {
 public:
  /// Seeds by the key of `seed`, then discards `idling` outputs.
  Drawing(int seed, int idling);

  /// Draws and writes numbers while the writer has written at most
  /// `kilobytes` * 1024 bytes (and its stream is still good): from `low` to
  /// `high`, or in groups of 32 6-bit values when `bitMode`. The interval
  /// must lie within 0 to 99 with `low` <= `high` unless `bitMode`.
  void drawing(const GeneratorOptions& options, NumberWriter& writer);

  /// The four key words of `seed` (1 to 2147483647): the seed raised to ten
  /// digits by adding 1000000000 when below it; key word m is its digits
  /// 4+m to 6+m read as a hexadecimal number. Only the last six digits count.
  static std::array<std::uint32_t, 4> seedingKey(int seed);
  /// `low` plus the upper 32 bits of r * range: r spread evenly over the range.
  static int intervalValue(std::uint32_t r, int low, int range);
  /// The 192 bits of six outputs, the first output's bit 0 first, cut into
  /// 32 values of six bits, each group's first bit lowest.
  static std::array<int, 32> sixBitValues(const std::array<std::uint32_t, 6>& words);

 private:
  MersenneTwister twister_;
};

}  // namespace tivor
