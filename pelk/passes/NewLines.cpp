#include "passes/NewLines.hpp"

#include <memory>

#include "DateFollowed.hpp"
#include "Gaps.hpp"
#include "MultiLoto.hpp"

NewLines::NewLines() : axis(false) { header = empty; }

bool NewLines::altering(std::string& threadName) {
  LineReader in;
  if (!readThread(threadName, in, 29)) return false;
  std::string line;
  if (!readLine1(in, line)) {
    message = line1Message(32);
    return false;
  }
  listingLine1(line);
  if (!settingGame(line, 30, 31)) return false;
  if (!readingToProduceArray()) return false;
  chooseOutputName();

  // One parser at a time: the one for the current line replaces the last.
  std::unique_ptr<Characterizable> parser;
  while (in.next(line)) {
    parser.reset();
    parser = std::make_unique<DateFollowed>(line, recogniseOnly);
    if (parser->dateLine() > 0) {
      listing(newLine);
      clear(line);
      continue;
    }
    parser.reset();
    if (searchingItemSequence(line))
      parser = std::make_unique<MultiLoto>(line, foundItem, axis);
    else
      parser = std::make_unique<Gaps>(line, loto, axis);
    for (std::string piece = parser->lotoLine(); !piece.empty(); piece = parser->lotoLine())
      add(piece);
  }
  listing(newLine);
  return openSaveClose(outputName);
}
