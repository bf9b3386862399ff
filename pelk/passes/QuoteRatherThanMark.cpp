#include "passes/QuoteRatherThanMark.hpp"

#include "ShiftJis.hpp"

bool QuoteRatherThanMark::altering(std::string& threadName) {
  ThreadFile thread(disk(), messages::kQuoteRatherThanMark);
  if (!opening(thread, threadName) || !readingLine1(thread)) return false;
  if (settings.keepLine1) posts.writingLine(thread.line1());
  chooseOutputName();
  std::string line;
  while (thread.next(line)) {
    replaceMARKwithBACK_QUOTE(line);
    posts.writingLine(line);
  }
  return openSaveClose(outputName);
}

std::string QuoteRatherThanMark::replaceMARKwithBACK_QUOTE(std::string& line) {
  if (line.size() > 5 && line[5] == '^' && zenkakuFragment(line, 5) == 0) line[5] = '`';
  return line;
}
