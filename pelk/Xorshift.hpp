#pragma once

#include <cstdint>

#include "Clock.hpp"

/// The four-word xorshift generator (xor128) that picks where a generated
/// post ID starts reading the numbers of tivor.txt.
class Xorshift {
 public:
  /// Discards `warmUp` outputs.
  explicit Xorshift(unsigned int warmUp);
  /// Discards a count taken from `clock` (the current second masked with
  /// 0xF423F), so that runs differ.
  explicit Xorshift(const Clock& clock);

  /// The next output.
  unsigned int nextRandom();

 private:
  std::uint32_t warmUp;
  std::uint32_t x = 123456789;
  std::uint32_t y = 362436069;
  std::uint32_t z = 521288629;
  std::uint32_t w = 88675123;
};
