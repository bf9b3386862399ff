#include "GameFit.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "Conversions.hpp"
#include "Hints.hpp"
#include "ShiftJis.hpp"

namespace {

/// The wording of the game's name.
const Wording& nameOf(const Game& game) {
  switch (game.size) {
    case 5:
      return wordings::kGameMiniloto;
    case 6:
      return wordings::kGameLoto6;
    default:
      return wordings::kGameLoto7;
  }
}

/// Eight bytes of a line, as they stand in memory.
using Word = std::uint64_t;

Word loaded(const char* at) {
  Word word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

/// A word made of `bytes` in the order of memory, as `loaded` makes it.
constexpr Word wordOf(unsigned char b0, unsigned char b1, unsigned char b2, unsigned char b3,
                      unsigned char b4, unsigned char b5, unsigned char b6, unsigned char b7) {
  return std::bit_cast<Word>(std::array<unsigned char, 8>{b0, b1, b2, b3, b4, b5, b6, b7});
}

// Eight bytes from an offset that is a multiple of three in a pick line: "dd dd dd".
constexpr Word kBlankPlaces = wordOf(0, 0, 0xFF, 0, 0, 0xFF, 0, 0);
constexpr Word kBlanks = wordOf(0, 0, ' ', 0, 0, ' ', 0, 0);
constexpr Word kDigitPlaces = wordOf(0xFF, 0xFF, 0, 0xFF, 0xFF, 0, 0xFF, 0xFF);
constexpr Word kDigitHighBits = wordOf(0x80, 0x80, 0, 0x80, 0x80, 0, 0x80, 0x80);
constexpr Word kZeros = 0x3030303030303030u;
constexpr Word kAboveNine = 0x7676767676767676u;

/// True when `word` reads "dd dd dd" (d a digit). A byte minus '0' above 9
/// sets its high bit once 0x76 is added; a carry out of a byte may spoil the
/// next, but only where the word is refused already.
constexpr bool numbersWord(Word word) {
  const Word offsets = (word ^ kZeros) & kDigitPlaces;
  return (word & kBlankPlaces) == kBlanks &&
         (((offsets + kAboveNine) | offsets) & kDigitHighBits) == 0;
}

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

void GameFit::looking(std::string_view line, long lineNumber) {
  std::size_t first = 0;
  std::size_t last = line.size();
  if (isBlank(line[first]) || isBlank(line[last - 1])) {
    while (first < last && isBlank(line[first])) ++first;
    while (last > first && isBlank(line[last - 1])) --last;
  }
  // Five to seven numbers one blank apart: 14, 17 or 20 bytes, which three
  // words of eight bytes at multiples of three cover.
  const std::size_t size = last - first;
  if (size < kShortestPick * 3 - 1 || size > kLongestPick * 3 - 1 || size % 3 != 2) return;
  const char* const at = line.data() + first;
  if (!numbersWord(loaded(at)) || !numbersWord(loaded(at + 6)) ||
      !numbersWord(loaded(at + size - 8)))
    return;
  noting(byLength_[(size + 1) / 3 - kShortestPick], line, lineNumber);
  // Nothing is above the highest ball of the game of the highest: most
  // threads are of Loto-6, and their picks need no second look.
  if (game_.highestBall >= kHighestBallOfAll) return;
  // Numbers of two digits compare as their two bytes do.
  unsigned highest = 0;
  for (std::size_t i = 0; i < size; i += 3)
    highest = std::max(highest, static_cast<unsigned>(static_cast<unsigned char>(at[i]) << 8 |
                                                      static_cast<unsigned char>(at[i + 1])));
  const int number =
      static_cast<int>((highest >> 8) - '0') * 10 + static_cast<int>((highest & 0xFF) - '0');
  if (number > game_.highestBall && number <= kHighestBallOfAll) noting(above_, line, lineNumber);
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
  lines.push_back(
      hintLine(wordings::kGameFitReadAs, language, {readName}, {thread, shortened(misfit.line1)}));
  if (const Game* other = misfit.otherLength) {
    const MisfitLines& found = misfit.lengthLines;
    lines.push_back(hintLine(wordings::kGameFitLength, language,
                             {std::to_string(found.count), std::to_string(other->size),
                              worded(nameOf(*other), language), std::to_string(found.lineNumber)},
                             {shortened(found.line)}));
  }
  if (const MisfitLines& found = misfit.aboveLines; found.count > 0) {
    lines.push_back(hintLine(wordings::kGameFitAbove, language,
                             {std::to_string(found.count), std::to_string(read.highestBall),
                              readName, std::to_string(found.lineNumber)},
                             {shortened(found.line)}));
  }
  if (const Game* other = misfit.otherLength) {
    // Line-1 holds the main numbers and the bonus numbers, three bytes each.
    const std::size_t bonusNumbers = (other->line1Length + 1) / 3 - other->size;
    const Wording& bonus =
        bonusNumbers == 1 ? wordings::kGameFitBonusNumber : wordings::kGameFitBonusNumbers;
    lines.push_back(hintLine(wordings::kGameFitCheckGame, language,
                             {worded(nameOf(*other), language), worded(bonus, language),
                              std::string(other->line1Example)},
                             {}));
  } else {
    lines.push_back(hintLine(wordings::kGameFitCheck, language, {}, {}));
  }
  return lines;
}
