#include "passes/CombosDates.hpp"

#include "DateFollowed.hpp"

bool CombosDates::altering(std::string& threadName) {
  ThreadFile thread(disk(), messages::kCombosDates);
  const Game* game = openingWithGame(thread, threadName, true);
  if (!game) return false;
  scanner = std::make_unique<CombinationScanner>(*game);
  // A line that is no combination is dropped; its e16/e17 text is not reported.
  return streamingPosts(thread, "\n", [&](const std::string& line) {
    if (countBallsMesureSpan(line)) posts.add(line);
    return true;
  });
}

bool CombosDates::countBallsMesureSpan(const std::string& line) {
  switch (scanner->measuring(line)) {
    case CombinationScanner::Verdict::kCount:
      return failing(numberedFailure(messages::kCombosDatesCount, messages::kNotCombination));
    case CombinationScanner::Verdict::kSpan:
      return failing(numberedFailure(messages::kCombosDatesSpan, messages::kNumbersTooClose));
    case CombinationScanner::Verdict::kCombination:
      break;
  }
  return true;
}
