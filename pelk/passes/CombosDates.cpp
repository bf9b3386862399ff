#include "passes/CombosDates.hpp"

#include "DateFollowed.hpp"

bool CombosDates::altering(std::string& threadName) {
  ThreadFile thread(disk(), messages::kCombosDates);
  if (!opening(thread, threadName) || !thread.readingLine1(message)) return false;
  listingLine1(thread.line1());
  const Game* game = thread.classifying(message);
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
      message = numbered(messages::kCombosDatesCount, "c != loto");
      return false;
    case CombinationScanner::Verdict::kSpan:
      message = numbered(messages::kCombosDatesSpan, "span < NEIGHBOR");
      return false;
    case CombinationScanner::Verdict::kCombination:
      break;
  }
  return true;
}
