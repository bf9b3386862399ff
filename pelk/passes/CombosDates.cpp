#include "passes/CombosDates.hpp"

#include "DateFollowed.hpp"

bool CombosDates::altering(std::string& threadName) {
  ThreadFile thread(messages::kCombosDates);
  const Game* game = openingWithGame(thread, threadName, true);
  if (!game) return false;
  scanner = std::make_unique<CombinationScanner>(*game);
  chooseOutputName();
  posts.streaming();
  std::string line;
  while (thread.next(line)) {
    DateFollowed parser(line, recogniseOnly);
    if (parser.dateLine() > 0) {
      posts.listing("\n");
      posts.clear(line);
    } else if (countBallsMesureSpan(line)) {
      posts.add(line);
    }
    // Any other line is dropped; its e16/e17 text is not reported.
  }
  posts.listing("\n");
  return openSaveClose(outputName);
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
