#include "passes/NewLines.hpp"

#include <memory>

#include "DateFollowed.hpp"
#include "Gaps.hpp"
#include "MultiLoto.hpp"

namespace {

/// The axis switch handed to every line splitter: this pass always drops
/// the text before a pick.
constexpr bool kAxis = false;

}  // namespace

bool NewLines::altering(std::string& threadName) {
  ThreadFile thread(disk(), messages::kNewLines);
  if (!opening(thread, threadName) || !thread.readingLine1(message)) return false;
  listingLine1(thread.line1());
  const Game* game = thread.classifying(message);
  if (!game) return false;
  if (!readingToProduceArray()) return false;
  chooseOutputName();
  posts.streaming();

  // One parser at a time: the one for the current line replaces the last.
  std::unique_ptr<Characterizable> parser;
  std::string line;
  while (thread.next(line)) {
    parser.reset();
    parser = std::make_unique<DateFollowed>(line, recogniseOnly);
    if (parser->dateLine() > 0) {
      posts.listing("\n");
      posts.clear(line);
      continue;
    }
    parser.reset();
    if (searchingItemSequence(line))
      parser = std::make_unique<MultiLoto>(line, foundItem, kAxis);
    else
      parser = std::make_unique<Gaps>(line, game->size, kAxis);
    for (std::string piece = parser->lotoLine(); !piece.empty(); piece = parser->lotoLine())
      posts.add(piece);
  }
  posts.listing("\n");
  return openSaveClose(outputName);
}
