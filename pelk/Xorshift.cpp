#include "Xorshift.hpp"

Xorshift::Xorshift(unsigned int count) : warmUp(count) {
  for (std::uint32_t i = 0; i < warmUp; ++i) nextRandom();
}

// 0xF423F (999999 as a bit mask) keeps the clock's count below a million.
Xorshift::Xorshift(const Clock& clock)
    : Xorshift(static_cast<std::uint32_t>(clock.now()) & 0xF423Fu) {}

unsigned int Xorshift::nextRandom() {
  const std::uint32_t t = x ^ (x << 11);
  x = y;
  y = z;
  z = w;
  w = w ^ (w >> 19) ^ t ^ (t >> 8);
  return w;
}
