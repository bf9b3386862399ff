#include "MersenneTwister.hpp"

#include <algorithm>

namespace tivor {

namespace {

constexpr std::uint32_t kMatrix = 0x9908B0DFu;
constexpr std::uint32_t kUpperMask = 0x80000000u;
constexpr std::uint32_t kLowerMask = 0x7FFFFFFFu;

}  // namespace

void MersenneTwister::seeding(std::uint32_t s) {
  state_[0] = s;
  for (int i = 1; i < N; ++i) {
    const std::uint32_t previous = state_[i - 1];
    state_[i] = 1812433253u * (previous ^ (previous >> 30)) + static_cast<std::uint32_t>(i);
  }
  index_ = N;
}

void MersenneTwister::seedingByArray(std::span<const std::uint32_t> key) {
  seeding(19650218u);
  const int length = static_cast<int>(key.size());
  int i = 1;
  int j = 0;
  for (int k = std::max(N, length); k > 0; --k) {
    const std::uint32_t previous = state_[i - 1];
    state_[i] = (state_[i] ^ ((previous ^ (previous >> 30)) * 1664525u)) + key[j] +
                static_cast<std::uint32_t>(j);
    ++i;
    ++j;
    if (i >= N) {
      state_[0] = state_[N - 1];
      i = 1;
    }
    if (j >= length) j = 0;
  }
  for (int k = N - 1; k > 0; --k) {
    const std::uint32_t previous = state_[i - 1];
    state_[i] =
        (state_[i] ^ ((previous ^ (previous >> 30)) * 1566083941u)) - static_cast<std::uint32_t>(i);
    ++i;
    if (i >= N) {
      state_[0] = state_[N - 1];
      i = 1;
    }
  }
  state_[0] = 0x80000000u;
  index_ = N;
}

void MersenneTwister::twisting() {
  for (int k = 0; k < N; ++k) {
    const std::uint32_t y = (state_[k] & kUpperMask) | (state_[(k + 1) % N] & kLowerMask);
    state_[k] = state_[(k + M) % N] ^ (y >> 1) ^ ((y & 1u) ? kMatrix : 0u);
  }
  index_ = 0;
}

std::uint32_t MersenneTwister::next() {
  if (index_ > N) seeding(5489u);
  if (index_ == N) twisting();
  std::uint32_t y = state_[index_++];
  y ^= y >> 11;
  y ^= (y << 7) & 0x9D2C5680u;
  y ^= (y << 15) & 0xEFC60000u;
  y ^= y >> 18;
  return y;
}

}  // namespace tivor
