#include "passes/TableReverseSorted.hpp"

#include <algorithm>
#include <cstdlib>

#include "CombinationScanner.hpp"
#include "Companions.hpp"

TableReverseSorted::TableReverseSorted() : nameStem("tab") {}

bool TableReverseSorted::altering(std::string& threadName) {
  ThreadFile thread(disk(), messages::kTableReverseSorted);
  if (!opening(thread, threadName)) return false;
  if (!readingToProduceArray()) return false;
  if (!thread.readingLine1(message)) return false;
  // A line missing from a short tabulate.txt reads as its default line.
  const std::vector<std::string>& defaults = tabulateTextDefaults();
  if (settings.keepLine1 && itemOr(0, defaults[0]) != line1Mark) posts.writingLine(thread.line1());
  const Game* game = thread.classifying(message);
  if (!game) return false;
  const int highestBall = game->highestBall;
  // An empty second line stands for the default extension.
  const std::string& extension = itemOr(1, defaults[1]);
  chooseOutputName(nameStem, extension == emptyMark ? defaults[1] : extension);
  CombinationScanner scanner(*game);
  std::vector<CombinationKey> combos;
  scanner.collectingCombos(thread, combos, message);
  // A thread cut short (a read that failed, more characters CP932 lacks
  // than a run can take) is refused before a repeated combination is
  // printed.
  if (thread.failed()) {
    message = thread.failure();
    return false;
  }
  uniquingCombos(combos);

  // Per number 0 to the highest ball: the combinations that hold it.
  std::vector<int> tally(highestBall + 1, 0);
  for (const CombinationKey& combination : combos) {
    const int count = std::min(combination.count(), game->size);
    for (int i = 0; i < count; ++i) ++tally[combination.number(i)];
  }
  // The counts in the order of the table (number 0 counts 0), each number
  // listed at the first entry of its count.
  const int sign = itemOr(2, defaults[2]) == reverseMark ? -1 : 1;
  std::vector<int> order(highestBall + 1, 0);
  std::vector<bool> waiting(highestBall + 1, true);
  for (int n = 1; n <= highestBall; ++n) order[n] = tally[n] * sign;
  std::sort(order.begin(), order.end());
  // An empty fourth line is an empty separator, not the mark that stands for it.
  const std::string& item3 = itemOr(3, defaults[3]);
  const std::string separator = item3 == emptyMark ? std::string() : item3;
  // A fifth line, when not empty, draws a bar after every count above 0.
  static const std::string noBar;
  const std::string& bar = items.size() > 4 && items[4] != emptyMark ? items[4] : noBar;
  const int largest = *std::max_element(tally.begin(), tally.end());
  for (int entry : order) {
    const int v = entry * sign;
    for (int n = 1; n <= highestBall; ++n) {
      if (tally[n] == v && waiting[n]) {
        const char digits[] = {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
        posts.writing(std::string_view(digits, 2));
        posts.writing(separator);
        posts.writing(std::to_string(v));
        if (!bar.empty() && v > 0) {
          posts.writing(" ");
          for (int i = barLength(v, largest); i > 0; --i) posts.writing(bar);
        }
        posts.writing("\n");
        waiting[n] = false;
      }
    }
  }
  return openSaveClose(outputName);
}

int TableReverseSorted::barLength(int count, int largest) {
  if (largest <= kLongestBar) return count;
  return std::max(1, static_cast<int>(static_cast<long long>(count) * kLongestBar / largest));
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
