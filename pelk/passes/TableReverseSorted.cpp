#include "passes/TableReverseSorted.hpp"

#include <algorithm>

#include "CombinationScanner.hpp"
#include "Companions.hpp"

TableReverseSorted::TableReverseSorted()
    : DistinctCombos(messages::kTableReverseSorted, "tab", kTabulateDefaults) {}

bool TableReverseSorted::altering(std::string& threadName) {
  std::vector<CombinationKey> combos;
  const Game* game = collecting(threadName, combos);
  if (!game) return false;
  const int highestBall = game->highestBall;

  // Per number 0 to the highest ball: the combinations that hold it.
  std::vector<int> tally(highestBall + 1, 0);
  for (const CombinationKey& combination : combos) {
    const int count = std::min(combination.count(), game->size);
    for (int i = 0; i < count; ++i) ++tally[combination.number(i)];
  }
  // The counts in the order of the table (number 0 counts 0), each number
  // listed at the first entry of its count.
  const int sign = item(2) == reverseMark ? -1 : 1;
  std::vector<int> order(highestBall + 1, 0);
  std::vector<bool> waiting(highestBall + 1, true);
  for (int n = 1; n <= highestBall; ++n) order[n] = tally[n] * sign;
  std::sort(order.begin(), order.end());
  // An empty fourth line is an empty separator, not the mark that stands for it.
  const std::string_view item3 = item(3);
  const std::string separator = item3 == emptyMark ? std::string() : std::string(item3);
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
