#include "passes/DistinctCombos.hpp"

#include "CombinationScanner.hpp"

const Game* DistinctCombos::collecting(const std::string& threadName,
                                       std::vector<CombinationKey>& combos) {
  opened = std::make_unique<ThreadFile>(disk(), messages);
  ThreadFile& file = *opened;
  if (!opening(file, threadName) || !readingToProduceArray() || !readingLine1(file)) return nullptr;
  if (settings.keepLine1 && item(0) != line1Mark) posts.writingLine(file.line1());
  const Game* game = classifying(file);
  if (!game) return nullptr;
  // An empty second line stands for the default extension.
  const std::string_view extension = item(1);
  chooseOutputName(nameStem, std::string(extension == emptyMark ? defaults[1] : extension));
  CombinationScanner scanner(*game);
  scanner.collectingCombos(file, combos);
  if (file.failed()) {
    failing(file.failure());
    return nullptr;
  }
  uniquingCombos(combos);
  return game;
}
