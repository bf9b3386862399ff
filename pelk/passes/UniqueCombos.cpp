#include "passes/UniqueCombos.hpp"

#include "CombinationScanner.hpp"
#include "Companions.hpp"

UniqueCombos::UniqueCombos() : nameStem("unq") {}

bool UniqueCombos::altering(std::string& threadName) {
  ThreadFile thread(disk(), messages::kUniqueCombos);
  if (!opening(thread, threadName)) return false;
  if (!readingToProduceArray()) return false;
  if (!thread.readingLine1(message)) return false;
  // A line missing from a short unique.txt reads as its default line.
  const std::vector<std::string>& defaults = uniqueTextDefaults();
  if (settings.keepLine1 && itemOr(0, defaults[0]) != line1Mark) posts.writingLine(thread.line1());
  const Game* game = thread.classifying(message);
  if (!game) return false;
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
  std::string text;
  for (const CombinationKey& combination : combos) {
    text.clear();
    combination.appendText(text);
    posts.writingLine(text);
  }
  return openSaveClose(outputName);
}
