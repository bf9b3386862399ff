#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace tivor {

/// The MT19937 generator (32-bit output) with both of its initialisations:
/// by one word and by a key array.
class MersenneTwister {
 public:
  /// Single-word initialisation.
  void seeding(std::uint32_t s);
  /// Initialisation by a key array (the one tivor uses, with four words).
  void seedingByArray(std::span<const std::uint32_t> key);
  /// The next 32-bit output; an unseeded generator first seeds with 5489.
  std::uint32_t next();

 private:
  static constexpr int N = 624;
  static constexpr int M = 397;

  void twisting();

  std::array<std::uint32_t, N> state_{};
  int index_ = N + 1;  // N + 1: not seeded yet
};

}  // namespace tivor
