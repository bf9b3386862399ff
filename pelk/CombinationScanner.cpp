#include "CombinationScanner.hpp"

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <utility>

#include "DateFollowed.hpp"
#include "Messages.hpp"
#include "ThreadFile.hpp"

CombinationScanner::CombinationScanner(const Game& game) : game_(game) {}

int CombinationScanner::placingNumbers(std::string_view line) {
  std::fill(std::begin(appeared), std::end(appeared), false);
  // One walk over the line finds the first occurrence of every two-digit
  // text "01" to the highest ball, as a search for each of them would, at a
  // fraction of the cost.
  const unsigned highest = static_cast<unsigned>(game_.highestBall);
  int count = 0;
  for (size_t i = 0; i + 1 < line.size(); ++i) {
    const unsigned tens = static_cast<unsigned char>(line[i]) - '0';
    if (tens > 9) continue;
    const unsigned units = static_cast<unsigned char>(line[i + 1]) - '0';
    if (units > 9) continue;
    const unsigned j = tens * 10 + units;
    if (j == 0 || j > highest || appeared[j]) continue;
    appeared[j] = true;
    place[j] = static_cast<int>(i);
    ++count;
  }
  return count;
}

bool CombinationScanner::measuringSpan() const {
  // The places found, in ascending order: a line names few numbers, so they
  // are sorted as they are gathered. Two whose starts are less than
  // NEIGHBOR bytes apart overlap, as "12" and "23" in "123"; a number at
  // the start of the line has nothing before it to overlap.
  int found[kHighestBallOfAll + 1];
  int count = 0;
  for (int j = 1; j <= game_.highestBall; ++j) {
    if (!appeared[j]) continue;
    const int c = place[j];
    int k = count++;
    for (; k > 0 && found[k - 1] > c; --k) found[k] = found[k - 1];
    found[k] = c;
  }
  for (int k = 0; k < count; ++k) {
    const int before = k > 0 ? found[k - 1] : -1;
    if (found[k] != 0 && found[k] - before < NEIGHBOR) return false;
  }
  return true;
}

CombinationScanner::Verdict CombinationScanner::measuring(std::string_view line) {
  if (placingNumbers(line) != game_.size) return Verdict::kCount;
  if (!measuringSpan()) return Verdict::kSpan;
  return Verdict::kCombination;
}

std::string CombinationScanner::normalForm() const {
  std::string text;
  for (int j = 1; j <= game_.highestBall; ++j) {
    if (!appeared[j]) continue;
    if (!text.empty()) text += ' ';
    text += static_cast<char>('0' + j / 10);
    text += static_cast<char>('0' + j % 10);
  }
  return text;
}

std::string CombinationScanner::countMeasureSort(std::string_view line, Failure& note) {
  switch (measuring(line)) {
    case Verdict::kCount:
      note = numberedFailure(messages::kCount, messages::kNotCombination);
      return std::string();
    case Verdict::kSpan:
      note = numberedFailure(messages::kSpan, messages::kNumbersTooClose);
      return std::string();
    case Verdict::kCombination:
      break;
  }
  return normalForm();
}

CombinationKey CombinationScanner::key() const {
  uint64_t mask = 0;
  for (int j = 1; j <= game_.highestBall; ++j)
    if (appeared[j]) mask |= uint64_t{1} << j;
  CombinationKey combination;
  CombinationKey::fromMask(mask, combination);
  return combination;
}

void CombinationScanner::collectingCombos(ThreadFile& thread, std::vector<CombinationKey>& combos) {
  std::string line;
  while (thread.next(line)) {
    DateFollowed parser(line, true);
    if (parser.dateLine() <= 0 && measuring(line) == Verdict::kCombination) combos.push_back(key());
  }
}

namespace {

/// The digits of a combination in normal form ("01 05 09 14 22 31", at most
/// seven numbers) read as one decimal number, or false when `text` is not
/// of that form. Texts of one length compare as these numbers do.
bool normalFormKey(const std::string& text, uint64_t& key) {
  if (text.size() % 3 != 2 || text.size() > 20) return false;
  key = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (i % 3 == 2) {
      if (c != ' ') return false;
    } else {
      if (c < '0' || c > '9') return false;
      key = key * 10 + static_cast<uint64_t>(c - '0');
    }
  }
  return true;
}

/// Sorts combinations that are all in normal form and of one length by
/// their keys, in three counting passes of 16 bits, so that the time grows
/// with their number and no faster; false, with `combos` untouched, when
/// they are not all of that kind or too few to repay the counting tables.
bool sortingByKeys(std::vector<std::string>& combos) {
  // Each pass clears a table of 65536 counts; below this many combinations
  // a comparison sort is faster.
  constexpr size_t kFewest = 4096;
  if (combos.size() < kFewest) return false;
  struct Entry {
    uint64_t key;
    size_t index;
  };
  std::vector<Entry> entries(combos.size());
  for (size_t i = 0; i < combos.size(); ++i) {
    if (combos[i].size() != combos[0].size() || !normalFormKey(combos[i], entries[i].key))
      return false;
    entries[i].index = i;
  }
  // Fourteen decimal digits fit in 48 bits.
  std::vector<Entry> other(entries.size());
  std::vector<size_t> count(size_t{1} << 16);
  for (int shift = 0; shift < 48; shift += 16) {
    std::fill(count.begin(), count.end(), 0);
    for (const Entry& e : entries) ++count[e.key >> shift & 0xFFFF];
    size_t start = 0;
    for (size_t& c : count) start += std::exchange(c, start);
    for (const Entry& e : entries) other[count[e.key >> shift & 0xFFFF]++] = e;
    entries.swap(other);
  }
  std::vector<Entry>().swap(other);
  std::vector<std::string> sorted;
  sorted.reserve(combos.size());
  for (const Entry& e : entries) sorted.push_back(std::move(combos[e.index]));
  combos.swap(sorted);
  return true;
}

}  // namespace

void uniquingCombos(std::vector<std::string>& combos) {
  // Byte order; the normal forms the passes collect take the sort by keys.
  if (!sortingByKeys(combos)) std::sort(combos.begin(), combos.end());
  size_t kept = 0;
  for (size_t i = 0; i < combos.size(); ++i) {
    if (kept > 0 && combos[i] == combos[kept - 1]) {
      std::cout << combos[i] << '\n';
      continue;
    }
    if (kept != i) combos[kept] = std::move(combos[i]);
    ++kept;
  }
  combos.resize(kept);
}

void uniquingCombos(std::vector<CombinationKey>& combos) {
  std::sort(combos.begin(), combos.end());
  size_t kept = 0;
  std::string text;
  for (size_t i = 0; i < combos.size(); ++i) {
    if (kept > 0 && combos[i] == combos[kept - 1]) {
      text.clear();
      combos[i].appendText(text);
      text += '\n';
      std::cout << text;
      continue;
    }
    combos[kept++] = combos[i];
  }
  combos.resize(kept);
}
