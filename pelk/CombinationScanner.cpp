#include "CombinationScanner.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <iostream>

#include "DateFollowed.hpp"
#include "Messages.hpp"
#include "ThreadFile.hpp"

CombinationScanner::CombinationScanner(const Game& game) : game_(game) {}

int CombinationScanner::placingNumbers(std::string_view line) {
  bits = 0;
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
    if (j == 0 || j > highest) continue;
    const uint64_t bit = uint64_t{1} << j;
    if (bits & bit) continue;
    bits |= bit;
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
  for (uint64_t rest = bits; rest != 0; rest &= rest - 1) {
    const int c = place[std::countr_zero(rest)];
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
    if (!(bits & (uint64_t{1} << j))) continue;
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
  CombinationKey combination;
  CombinationKey::fromMask(mask(), combination);
  return combination;
}

void CombinationScanner::collectingCombos(ThreadFile& thread, std::vector<CombinationKey>& combos) {
  std::string line;
  while (thread.next(line)) {
    DateFollowed parser(line, true);
    if (parser.dateLine() <= 0 && measuring(line) == Verdict::kCombination) combos.push_back(key());
  }
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
