#include "passes/DistinctCombos.hpp"

#include "CombinationScanner.hpp"

const Game* DistinctCombos::collecting(const std::string& threadName,
                                       std::vector<CombinationKey>& combos) {
  ThreadFile thread(disk(), messages);
  if (!opening(thread, threadName) || !readingToProduceArray() || !readingLine1(thread))
    return nullptr;
  if (settings.keepLine1 && item(0) != line1Mark) posts.writingLine(thread.line1());
  const Game* game = classifying(thread);
  if (!game) return nullptr;
  // An empty second line stands for the default extension.
  const std::string_view extension = item(1);
  chooseOutputName(nameStem, std::string(extension == emptyMark ? defaults[1] : extension));
  CombinationScanner scanner(*game);
  scanner.collectingCombos(thread, combos);
  if (thread.failed()) {
    failing(thread.failure());
    return nullptr;
  }
  uniquingCombos(combos);
  return game;
}
