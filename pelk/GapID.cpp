#include "GapID.hpp"

#include <array>
#include <cstdint>
#include <string_view>

#include "Disk.hpp"
#include "LineReader.hpp"
#include "Messages.hpp"

namespace {

constexpr std::string_view kEmpty;
constexpr std::string_view kIdPrefix = " ID:";
/// The letters for the values 0 to 63; larger values take the last one.
constexpr std::string_view kAlphabet =
    "/3bE6KychzJ7gpYo5wFI1GsAPL2TX9Vxj+RHdMeNqZDCvnB8kfWU0SO4uQatriml";
constexpr int kLettersPerId = 8;

// Value of every two-byte pair, indexed by first byte * 256 + second byte:
// "00" to "99" give 0 to 99, every other pair -1.
const std::array<std::int8_t, 65536>& pairTable() {
  static const std::array<std::int8_t, 65536> table = [] {
    std::array<std::int8_t, 65536> t;
    t.fill(-1);
    for (int tens = 0; tens < 10; ++tens)
      for (int ones = 0; ones < 10; ++ones)
        t[('0' + tens) * 256 + '0' + ones] = static_cast<std::int8_t>(tens * 10 + ones);
    return t;
  }();
  return table;
}

}  // namespace

GapID::GapID(Disk& disk, const Clock& clock)
    : disk(disk), textName("tivor.txt"), generator(std::make_unique<Xorshift>(clock)) {}

int GapID::digitPair(unsigned char first, unsigned char second) {
  return pairTable()[first * 256 + second];
}

bool GapID::readTivorText() {
  // Identifiers come faster than anyone can edit the file: one look serves
  // all that are made within a millisecond of it.
  const auto now = std::chrono::steady_clock::now();
  if (looked && now - lookedAt < kLookStands) return readable;
  looked = true;
  lookedAt = now;
  std::string text;
  readable = disk.readFile(textName, &text);
  if (!readable) {
    failure_ = numberedFailure(messages::kTivorText, "ifstream in( " + textName + ", ios::binary )",
                               textName);
    return false;
  }
  if (parsed && text == parsedText) return true;

  // A token is two bytes; a blank in second place reads as "1" (so "5 " is
  // 51). Tokens that are no two digits are skipped, as is a lone last byte.
  values.clear();
  values.reserve(text.size() / 3);
  LineReader in(text);
  std::string_view line;
  while (in.next(line)) {
    size_t at = 0;
    while (at < line.size()) {
      if (line[at] == ' ') {
        ++at;
        continue;
      }
      if (at + 1 == line.size()) break;
      const unsigned char second = line[at + 1] == ' ' ? '1' : line[at + 1];
      const int value = digitPair(static_cast<unsigned char>(line[at]), second);
      if (value >= 0) values.push_back(value);
      at += 2;
    }
  }
  valueCount = static_cast<int>(values.size());
  parsedText = std::move(text);
  parsed = true;
  return true;
}

std::string GapID::gapID() {
  if (!readTivorText()) return std::string(kEmpty);
  if (valueCount == 0) {
    failure_ = Failure::of(messages::kTivorText, textName + " holds no numbers", textName);
    return std::string(kEmpty);
  }
  const std::uint64_t r = generator->nextRandom();
  const std::uint64_t count = static_cast<std::uint64_t>(valueCount);
  // The upper 32 bits of r * count: a place in 0 .. count - 1.
  const std::uint64_t start = (static_cast<std::uint64_t>(made) + ((r * count) >> 32)) % count;
  std::string id(kIdPrefix);
  for (int k = 0; k < kLettersPerId; ++k) {
    int v = values[(start + k) % count];
    if (v > 63) v = 63;
    id += kAlphabet[v];
  }
  ++made;
  return id;
}
