#include "Drawing.hpp"

#include "NumberWriter.hpp"

namespace tivor {

Drawing::Drawing(int seed, int idling) {
  const std::array<std::uint32_t, 4> key = seedingKey(seed);
  twister_.seedingByArray(key);
  for (int k = 0; k < idling; ++k) twister_.next();
}

std::array<std::uint32_t, 4> Drawing::seedingKey(int seed) {
  // The last six of the ten digits are those of seed % 1000000, whether or
  // not 1000000000 was added.
  std::array<std::uint32_t, 6> digit{};
  std::uint32_t rest = static_cast<std::uint32_t>(seed) % 1000000u;
  for (int k = 5; k >= 0; --k, rest /= 10) digit[k] = rest % 10;
  std::array<std::uint32_t, 4> key{};
  for (int m = 0; m < 4; ++m) key[m] = digit[m] * 0x100 + digit[m + 1] * 0x10 + digit[m + 2];
  return key;
}

int Drawing::intervalValue(std::uint32_t r, int low, int range) {
  return low + static_cast<int>((std::uint64_t{r} * static_cast<std::uint64_t>(range)) >> 32);
}

std::array<int, 32> Drawing::sixBitValues(const std::array<std::uint32_t, 6>& words) {
  std::array<int, 32> values{};
  std::uint64_t pending = 0;
  int pendingBits = 0;
  int count = 0;
  for (std::uint32_t word : words) {
    pending |= std::uint64_t{word} << pendingBits;
    pendingBits += 32;
    while (pendingBits >= 6) {
      values[count++] = static_cast<int>(pending & 0x3F);
      pending >>= 6;
      pendingBits -= 6;
    }
  }
  return values;
}

void Drawing::drawing(const GeneratorOptions& options, NumberWriter& writer) {
  const std::int64_t budget = std::int64_t{options.kilobytes} * 1024;
  if (options.bitMode) {
    while (writer.bytes() <= budget && writer.good()) {
      std::array<std::uint32_t, 6> words;
      for (std::uint32_t& word : words) word = twister_.next();
      for (int value : sixBitValues(words)) writer.writing(value);
    }
  } else {
    const int range = options.high - options.low + 1;
    while (writer.bytes() <= budget && writer.good())
      writer.writing(intervalValue(twister_.next(), options.low, range));
  }
  writer.flushing();
}

}  // namespace tivor
