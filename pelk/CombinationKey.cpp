#include "CombinationKey.hpp"

#include <bit>

bool CombinationKey::fromMask(uint64_t mask, CombinationKey& key) {
  if ((mask & 1) != 0 || std::popcount(mask) > kMaxNumbers) return false;
  uint64_t bits = 0;
  int place = kMaxNumbers - 1;
  for (; mask != 0; mask &= mask - 1, --place)
    bits |= static_cast<uint64_t>(std::countr_zero(mask)) << (6 * place);
  key = CombinationKey(bits);
  return true;
}

bool CombinationKey::fromText(std::string_view text, CombinationKey& key) {
  // "NN", then " NN" for each further number.
  if (text.size() % 3 != 2 || text.size() > 3 * kMaxNumbers - 1) return false;
  uint64_t bits = 0;
  int previous = 0;
  int place = kMaxNumbers - 1;
  for (size_t at = 0; at < text.size(); at += 3, --place) {
    if (at > 0 && text[at - 1] != ' ') return false;
    const char tens = text[at], units = text[at + 1];
    if (tens < '0' || tens > '9' || units < '0' || units > '9') return false;
    const int number = (tens - '0') * 10 + (units - '0');
    if (number <= previous || number > kHighestNumber) return false;
    bits |= static_cast<uint64_t>(number) << (6 * place);
    previous = number;
  }
  key = CombinationKey(bits);
  return true;
}

int CombinationKey::count() const {
  int n = 0;
  while (n < kMaxNumbers && number(n) != 0) ++n;
  return n;
}

uint64_t CombinationKey::mask() const {
  uint64_t mask = 0;
  for (int i = 0; i < kMaxNumbers && number(i) != 0; ++i) mask |= uint64_t{1} << number(i);
  return mask;
}

std::string CombinationKey::text() const {
  std::string out;
  appendText(out);
  return out;
}

void CombinationKey::appendText(std::string& out) const {
  for (int i = 0; i < kMaxNumbers && number(i) != 0; ++i) {
    if (i > 0) out += ' ';
    out += static_cast<char>('0' + number(i) / 10);
    out += static_cast<char>('0' + number(i) % 10);
  }
}
