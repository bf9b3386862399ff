#include "passes/Prizes.hpp"

#include <memory>

#include "CombinationKey.hpp"
#include "CombinationScanner.hpp"
#include "DateFollowed.hpp"
#include "Expander.hpp"
#include "FirstNumber.hpp"
#include "ShiftJis.hpp"

namespace {

// Every label holds this; a line without it carries none.
constexpr std::string_view kLabelCore = "to";
constexpr std::string_view kTierSeparator = " | ";

/// The number of the two digits at `at` of `text`, or 0 when they are none
/// of 1 to the highest ball of `game`.
int numberAt(std::string_view text, std::size_t at, const Game& game) {
  if (at + 2 > text.size() || !isDigit(text[at]) || !isDigit(text[at + 1])) return 0;
  const int number = (text[at] - '0') * 10 + (text[at + 1] - '0');
  return number <= game.highestBall ? number : 0;
}

}  // namespace

int Draw::bonusCount(const Game& game) {
  return static_cast<int>((game.line1Length + 1) / Expander::tokenWidth) - game.size;
}

bool Draw::reading(const Game& game, std::string_view line1) {
  game_ = &game;
  main_ = bonus_ = 0;
  const int tokens = game.size + bonusCount(game);
  for (int i = 0; i < tokens; ++i) {
    const std::size_t at = static_cast<std::size_t>(i) * Expander::tokenWidth;
    const int number = numberAt(line1, at, game);
    // The byte after the last token may be anything ("-" or the line's end).
    const bool separated = i + 1 == tokens || (at + 2 < line1.size() && line1[at + 2] == ' ');
    const uint64_t bit = uint64_t{1} << number;
    if (number == 0 || !separated || ((main_ | bonus_) & bit)) return false;
    (i < game.size ? main_ : bonus_) |= bit;
  }
  return true;
}

namespace {

/// The bits set in `bits`, counted in a few instructions: std::popcount
/// becomes a library call where the processor's own count may be missing
/// (the baseline x86-64 has none), and every pick of a thread is counted.
int bitsSet(uint64_t bits) {
  bits -= (bits >> 1) & 0x5555555555555555u;
  bits = (bits & 0x3333333333333333u) + ((bits >> 2) & 0x3333333333333333u);
  bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
  return static_cast<int>((bits * 0x0101010101010101u) >> 56);
}

}  // namespace

int Draw::tier(uint64_t pick) const {
  const int main = bitsSet(pick & main_);
  const int bonus = bitsSet(pick & bonus_);
  const std::span<const PrizeTier> tiers = game_->tiers;
  for (std::size_t i = 0; i < tiers.size(); ++i)
    if (main == tiers[i].main && bonus >= tiers[i].bonus) return static_cast<int>(i);
  return -1;
}

bool Prizes::altering(std::string& threadName) {
  ThreadFile thread(disk(), messages::kPrizes);
  game = openingWithGame(thread, threadName, false);
  if (!game) return false;
  if (!draw.reading(*game, thread.line1())) return failing(thread.noDraw());
  std::vector<std::string> separators;
  if (!readingCompanionLines(separators)) return false;
  reader = std::make_unique<PickPieces>(separators);
  counts.assign(game->tiers.size(), 0);
  if (settings.keepLine1) {
    posts.writingLine(thread.line1());
    posts.writingLine("");
  }
  // Labelled lines are told as "-c" tells them: by the first label of the
  // games' table that occurs in the line.
  for (const Game& each : kGames)
    for (const Label& label : each.labels) items.emplace_back(label.word());
  scanner = std::make_unique<CombinationScanner>(*game);
  chooseOutputName();
  std::string line;
  while (thread.next(line)) {
    DateFollowed parser(line, recogniseOnly);
    if (parser.dateLine() > 0) {
      endingPost();
      header = line;
    } else if (!checkingLine(thread, line)) {
      return false;
    }
  }
  endingPost();
  const std::span<const PrizeTier> tiers = game->tiers;
  for (std::size_t i = 0; i < tiers.size(); ++i) {
    std::string text(tiers[i].name);
    text += kTierSeparator;
    text += std::to_string(counts[i]);
    posts.writingLine(text);
  }
  return openSaveClose(outputName);
}

bool Prizes::checkingLine(const ThreadFile& thread, std::string_view line) {
  // Most lines are plain ASCII without a separator: read as they stand.
  if (!reader->mayDiffer(line)) return checkingWhole(thread, line, line);
  reader->reading(line);
  // A pick written with separators between its numbers ("05/12/19/27/33/41")
  // has no piece that is a pick: the whole line is read then.
  if (reader->pieces().size() > 1 && !labelled(reader->text()) && checkingPieces()) return true;
  return checkingWhole(thread, line, reader->text());
}

bool Prizes::labelled(std::string_view line) {
  return line.find(kLabelCore) != std::string_view::npos && searchingItemSequence(line);
}

bool Prizes::checkingPieces() {
  bool found = false;
  for (std::string_view piece : reader->pieces()) {
    if (scanner->measuring(piece) != CombinationScanner::Verdict::kCombination) continue;
    found = true;
    const uint64_t pick = scanner->mask();
    const int tier = draw.tier(pick);
    if (tier >= 0) winning(pick, tier);
  }
  return found;
}

bool Prizes::checkingWhole(const ThreadFile& thread, std::string_view posted,
                           std::string_view line) {
  if (labelled(line)) {
    if (gameOfLabel(foundItem) != game) return true;
    Expander expander(disk(), *game, std::string(), std::string(numbersPart(line)));
    const bool expanded = expander.expanding([&](uint64_t pick) {
      const int tier = draw.tier(pick);
      if (tier >= 0) winning(pick, tier);
    });
    return expanded || failingAt(thread, posted, expander.failure());
  }
  if (scanner->measuring(line) != CombinationScanner::Verdict::kCombination) return true;
  const uint64_t pick = scanner->mask();
  const int tier = draw.tier(pick);
  if (tier >= 0) winning(pick, tier);
  return true;
}

void Prizes::winning(uint64_t pick, int tier) {
  if (!won) {
    if (!header.empty()) posts.writingLine(header);
    won = true;
  }
  CombinationKey key;
  CombinationKey::fromMask(pick, key);
  std::string text = key.text();
  text += kTierSeparator;
  text += game->tiers[tier].name;
  posts.writingLine(text);
  ++counts[tier];
}

void Prizes::endingPost() {
  if (won) posts.writingLine("");
  won = false;
}
