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
  const Game* game = openingWithGame(thread, threadName, true);
  if (!game) return false;
  if (!readingToProduceArray()) return false;
  return streamingPosts(thread, "\n", [&](const std::string& line) {
    std::unique_ptr<Characterizable> parser;
    if (searchingItemSequence(line))
      parser = std::make_unique<MultiLoto>(line, foundItem, kAxis);
    else
      parser = std::make_unique<Gaps>(line, game->size, kAxis);
    for (std::string piece = parser->lotoLine(); !piece.empty(); piece = parser->lotoLine())
      posts.add(piece);
    return true;
  });
}
