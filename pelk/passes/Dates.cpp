#include "passes/Dates.hpp"

#include "DateFollowed.hpp"

bool Dates::altering(std::string& path) {
  ThreadFile thread(disk(), messages::kDates);
  if (!opening(thread, path) || !readingLine1(thread)) return false;
  if (settings.keepLine1) posts.writingLine(thread.line1());
  chooseOutputName();
  std::string line;
  while (thread.next(line)) {
    DateFollowed header(line, recogniseOnly);
    if (header.dateLine() > 0) posts.writingLine(line);
  }
  return openSaveClose(outputName);
}
