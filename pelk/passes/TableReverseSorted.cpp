#include "passes/TableReverseSorted.hpp"

#include <algorithm>
#include <cstdlib>

#include "Companions.hpp"

TableReverseSorted::TableReverseSorted() : reverseMark("-1"), nameStem("tab") {}

bool TableReverseSorted::altering(std::string& threadName) {
  LineReader in;
  if (!readThread(threadName, in, 40)) return false;
  if (!readingToProduceArray()) return false;
  std::string line1;
  if (!readLine1(in, line1)) {
    message = line1Message(43);
    return false;
  }
  // A line missing from a short tabulate.txt reads as its default line.
  const std::vector<std::string>& defaults = tabulateTextDefaults();
  if (keepLine1 && itemOr(0, defaults[0]) != line1Mark) {
    output += line1;
    output += newLine;
  }
  if (!settingGame(line1, 41, 42)) return false;
  settingThreeArrays();
  // An empty second line stands for the default extension.
  const std::string& extension = itemOr(1, defaults[1]);
  chooseOutputName(nameStem, extension == emptyMark ? defaults[1] : extension);
  collectingCombos(in);
  uniquingCombos();

  for (const std::string& combination : combos) {
    const int count = std::min(longList(combination, space.c_str(), numbers), loto);
    for (int i = 0; i < count; ++i) {
      if (numbers[i] >= 0 && numbers[i] <= highestBall) ++tally[numbers[i]];
    }
  }
  const int sign = itemOr(2, defaults[2]) == reverseMark ? -1 : 1;
  for (int n = 1; n <= highestBall; ++n) {
    appeared[n] = true;
    order[n] = tally[n] * sign;
  }
  std::sort(order.begin(), order.end());
  // An empty fourth line is an empty separator, not the mark that stands for it.
  const std::string& item3 = itemOr(3, defaults[3]);
  const std::string& separator = item3 == emptyMark ? empty : item3;
  // A fifth line, when not empty, draws a bar after every count above 0.
  const std::string& bar = itemOr(4, emptyMark);
  const int largest = *std::max_element(tally.begin(), tally.end());
  for (int entry : order) {
    const int v = entry * sign;
    for (int n = 1; n <= highestBall; ++n) {
      if (tally[n] == v && appeared[n]) {
        output += twoDigits[n];
        output += separator;
        output += std::to_string(v);
        if (bar != emptyMark && v > 0) {
          output += ' ';
          for (int i = barLength(v, largest); i > 0; --i) output += bar;
        }
        output += newLine;
        appeared[n] = false;
      }
    }
  }
  return openSaveClose(outputName);
}

int TableReverseSorted::barLength(int count, int largest) {
  if (largest <= kLongestBar) return count;
  return std::max(1, static_cast<int>(static_cast<long long>(count) * kLongestBar / largest));
}

int TableReverseSorted::settingThreeArrays() {
  for (int i = 0; i <= highestBall; ++i) {
    tally.push_back(0);
    order.push_back(0);
    place.push_back(absent);
  }
  return highestBall;
}

int TableReverseSorted::longList(const std::string& line, const char* delimiter,
                                 std::vector<long>& numbers) {
  numbers.clear();
  size_t at = line.find_first_not_of(delimiter);
  if (at == std::string::npos) return 0;
  size_t end = line.find_first_of(delimiter, at);
  while (true) {
    const std::string token = line.substr(at, end == std::string::npos ? end : end - at);
    numbers.push_back(std::strtol(token.c_str(), nullptr, 10));
    if (end == std::string::npos) break;
    at = line.find_first_not_of(' ', end + 1);
    if (at == std::string::npos) break;
    end = line.find(' ', at);
  }
  return static_cast<int>(numbers.size());
}
