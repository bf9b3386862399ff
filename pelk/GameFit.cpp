#include "GameFit.hpp"

#include "Conversions.hpp"
#include "Hints.hpp"
#include "ShiftJis.hpp"

namespace {

constexpr std::size_t kShortestPick = 5;
constexpr std::size_t kLongestPick = 7;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

/// The wording of the game's name.
const Wording& nameOf(const Game& game) {
  switch (game.size) {
    case 5:
      return wordings::kGameFitMiniloto;
    case 6:
      return wordings::kGameFitLoto6;
    default:
      return wordings::kGameFitLoto7;
  }
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

/// One hint line: `wording` in `language`, its first fills (`texts`, UTF-8)
/// made before it becomes CP932 and the fills after them (`bytes`, CP932 as
/// read from the thread) after, so that the thread's bytes pass unchanged.
std::string hintLine(const Wording& wording, Language language,
                     std::initializer_list<std::string_view> texts,
                     std::initializer_list<std::string_view> bytes) {
  // The fills of the second round keep their numbers: the first round fills
  // the first ones and leaves "{N}" of the others as it is.
  const std::string utf8 = worded(wording, language, texts);
  UserArea area;
  ToCp932 toCp932(area);
  std::string cp932;
  toCp932.converting(utf8, cp932);
  toCp932.finishing(cp932);
  std::vector<std::string_view> fills(texts.size());
  fills.insert(fills.end(), bytes.begin(), bytes.end());
  std::string line = "pelk: ";
  // `filled` would take a trail byte for a "{": the second round walks the
  // CP932 text by its characters.
  for (std::size_t at = 0; at < cp932.size();) {
    const std::size_t width = characterWidth(cp932, at);
    if (width == 1 && cp932[at] == '{' && at + 2 < cp932.size() && cp932[at + 2] == '}' &&
        cp932[at + 1] >= '1' && cp932[at + 1] <= '9') {
      const std::size_t n = static_cast<std::size_t>(cp932[at + 1] - '1');
      if (n < fills.size() && n >= texts.size()) {
        line += fills[n];
        at += 3;
        continue;
      }
    }
    line.append(cp932, at, width);
    at += width;
  }
  return line;
}

}  // namespace

void GameFit::noting(MisfitLines& lines, std::string_view line, long lineNumber) {
  if (lines.count++ == 0) {
    lines.lineNumber = lineNumber;
    lines.line = line;
  }
}

void GameFit::observing(std::string_view line, long lineNumber) {
  // Most body lines are chat, headers or picks after a word: the first byte
  // that is no digit or blank ends the look.
  const char* at = line.data();
  const char* const end = at + line.size();
  while (at < end && isBlank(*at)) ++at;
  std::size_t numbers = 0;
  int highest = 0;
  while (at < end) {
    if (end - at < 2 || !isDigit(at[0]) || !isDigit(at[1])) return;
    const int number = (at[0] - '0') * 10 + (at[1] - '0');
    if (number > highest) highest = number;
    if (++numbers > kLongestPick) return;
    at += 2;
    if (at < end && !isBlank(*at)) return;
    while (at < end && isBlank(*at)) ++at;
  }
  if (numbers < kShortestPick) return;
  noting(byLength_[numbers - kShortestPick], line, lineNumber);
  if (highest > game_.highestBall && highest <= kHighestBallOfAll) noting(above_, line, lineNumber);
}

std::optional<GameMisfit> GameFit::misfit() const {
  GameMisfit misfit;
  misfit.read = &game_;
  misfit.line1 = line1_;
  const long own = byLength_[game_.size - kShortestPick].count;
  long picks = 0;
  for (const Game& game : kGames) {
    const MisfitLines& lines = byLength_[game.size - kShortestPick];
    picks += lines.count;
    if (game.size == game_.size || lines.count < kFewest || lines.count <= own) continue;
    if (!misfit.otherLength || lines.count > misfit.lengthLines.count) {
      misfit.otherLength = &game;
      misfit.lengthLines = lines;
    }
  }
  if (above_.count >= kFewest && above_.count * kAboveShare > picks) misfit.aboveLines = above_;
  if (!misfit.otherLength && misfit.aboveLines.count == 0) return std::nullopt;
  return misfit;
}

std::vector<std::string> gameMisfitHint(const GameMisfit& misfit, const std::string& thread,
                                        Language language) {
  const Game& read = *misfit.read;
  const std::string readName = worded(nameOf(read), language);
  std::vector<std::string> lines;
  lines.push_back(hintLine(wordings::kGameFitReadAs, language, {readName},
                           {thread, quoted(shortened(misfit.line1))}));
  if (const Game* other = misfit.otherLength) {
    const MisfitLines& found = misfit.lengthLines;
    lines.push_back(hintLine(wordings::kGameFitLength, language,
                             {std::to_string(found.count), std::to_string(other->size),
                              worded(nameOf(*other), language), std::to_string(found.lineNumber)},
                             {quoted(shortened(found.line))}));
  }
  if (const MisfitLines& found = misfit.aboveLines; found.count > 0) {
    lines.push_back(hintLine(wordings::kGameFitAbove, language,
                             {std::to_string(found.count), std::to_string(read.highestBall),
                              readName, std::to_string(found.lineNumber)},
                             {quoted(shortened(found.line))}));
  }
  if (const Game* other = misfit.otherLength) {
    // Line-1 holds the main numbers and the bonus numbers, three bytes each.
    const std::size_t bonusNumbers = (other->line1Length + 1) / 3 - other->size;
    const Wording& bonus =
        bonusNumbers == 1 ? wordings::kGameFitBonusNumber : wordings::kGameFitBonusNumbers;
    lines.push_back(hintLine(
        wordings::kGameFitCheckGame, language,
        {worded(nameOf(*other), language), worded(bonus, language), quoted(other->line1Example)},
        {}));
  } else {
    lines.push_back(hintLine(wordings::kGameFitCheck, language, {}, {}));
  }
  return lines;
}
