#include "passes/UniqueCombos.hpp"

#include "Companions.hpp"

UniqueCombos::UniqueCombos() : DistinctCombos(messages::kUniqueCombos, "unq", kUniqueDefaults) {}

bool UniqueCombos::altering(std::string& threadName) {
  std::vector<CombinationKey> combos;
  if (!collecting(threadName, combos)) return false;
  std::string text;
  for (const CombinationKey& combination : combos) {
    text.clear();
    combination.appendText(text);
    posts.writingLine(text);
  }
  return openSaveClose(outputName);
}
