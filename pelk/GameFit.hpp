#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Games.hpp"
#include "Wording.hpp"

// Line-1 alone tells a pass its game, and a draw typed short (a Loto-6 draw
// without its bonus number has the length of a Miniloto draw) sends the pass
// to work on the wrong game in silence. `GameFit` looks at the body lines as
// the pass reads them and tells, at the end, whether the thread's picks fit
// the game Line-1 was read as; the driver then adds "pelk: " lines to a
// successful run. The run itself, its output and its status stay as they are.

/// Lines of one kind that do not fit the game: how many, and the first.
struct MisfitLines {
  long count = 0;
  /// The number of the first such line (Line-1 is 1), and its bytes as read.
  long lineNumber = 0;
  std::string line;
};

/// Why the thread's picks do not fit the game Line-1 was read as.
struct GameMisfit {
  /// The game Line-1 was read as, and Line-1.
  const Game* read = nullptr;
  std::string line1;
  /// The game whose pick length the most lines have, where those lines
  /// outnumber the lines of `read`'s length; else nullptr.
  const Game* otherLength = nullptr;
  /// The lines of `otherLength`'s pick length (count 0 without it).
  MisfitLines lengthLines;
  /// The pick lines holding a number above `read`'s highest ball (and no
  /// higher than any game's), when they count as a misfit; else count 0.
  MisfitLines aboveLines;
};

/// Watches the body lines of a thread for picks that do not fit `game`.
///
/// A pick line is a line of five, six or seven numbers of two digits, one
/// blank apart, blanks or tabs allowed before and after, and nothing else:
/// "01 05 09 14 22 31", as posters and tivor write picks. (A pick after a
/// word, "本命 01 05 ...", or spaced otherwise, is not counted: most picks
/// stand alone, and the test stays a few compares a line, for every line of
/// threads of a million lines.)
///
/// The thread does not fit its game when either holds:
/// - the pick lines of another game's length number at least `kFewest` and
///   outnumber those of the game's own length;
/// - at least `kFewest` pick lines, and more than one in `kAboveShare` of all
///   pick lines, hold a number above the game's highest ball that is a ball
///   of some game (up to 43): a Miniloto thread holds no 35, many picks of a
///   Loto-6 thread do. A Loto-6 thread has nothing above its highest.
/// A few stray lines, a typo or a pick pasted from another thread, say
/// nothing.
class GameFit {
 public:
  /// Fewest lines that count as a misfit.
  static constexpr long kFewest = 3;
  /// Numbers above the highest ball count when more than one pick line in
  /// this many holds one.
  static constexpr long kAboveShare = 10;

  GameFit(const Game& game, std::string_view line1) : game_(game), line1_(line1) {}

  /// Looks at the body line `line`, line number `lineNumber` of the thread.
  void observing(std::string_view line, long lineNumber) {
    // Most lines are chat or post headers: a pick line has room for five
    // numbers and begins with two digits and a blank, or with a blank. Every
    // line of a long thread comes here: the rest is looked at out of line.
    if (line.size() >= kShortestPick * 3 - 1 &&
        ((isDigit(line[0]) && isDigit(line[1]) && isBlank(line[2])) || isBlank(line[0])))
      looking(line, lineNumber);
  }
  /// What does not fit, once every line has been looked at; nothing when the
  /// thread fits its game.
  std::optional<GameMisfit> misfit() const;

 private:
  static constexpr std::size_t kShortestPick = 5;
  static constexpr std::size_t kLongestPick = 7;
  static constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }
  static constexpr bool isBlank(char c) { return c == ' ' || c == '\t'; }

  /// `observing` past its first test.
  void looking(std::string_view line, long lineNumber);
  /// Notes `line` in `lines`: counted, kept when it is the first.
  static void noting(MisfitLines& lines, std::string_view line, long lineNumber);

  const Game& game_;
  std::string line1_;
  /// The pick lines by their count of numbers, 5 to 7 (index count - 5).
  MisfitLines byLength_[3];
  /// The pick lines holding a number above the highest ball.
  MisfitLines above_;
};

/// The "pelk: " lines that tell a successful run over `thread` that its picks
/// do not fit the game of its Line-1: the game Line-1 was read as, what does
/// not fit (a count, one line and its number), what to check. In `language`,
/// as CP932 text with the thread's bytes as read, as the driver shows a
/// run's other lines (`RunEncoding::forDisplay`).
std::vector<std::string> gameMisfitHint(const GameMisfit& misfit, const std::string& thread,
                                        Language language);
