#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

/// Expands a posted numbers line such as "03 07 11 19 24 28 6to5" into every
/// K-number combination of its first N numbers and writes them, one per line,
/// to a file. The combination logic of the three games lives here once; a
/// `Game` tells what differs (highest number, K, the four labels and the two
/// failure texts). An expander serves one line: construct, `writeFile` once,
/// read `inquiry` on failure.
class Expander {
 public:
  /// A label (the last five bytes of a numbers line) and the count N of
  /// numbers it asks for.
  struct Label {
    std::string_view text;
    int n;
  };

  /// What one game's expander is made of.
  struct Game {
    /// The largest valid number: "01 " to this are balls.
    int highestBall;
    /// K, the numbers in one combination.
    int size;
    /// Compared in this order; the N of the first is the count of tokens validated.
    Label labels[4];
    /// Set when a validated token is no ball (or the line is too short).
    std::string_view wrongBallText;
    /// Set when the last validated token was a ball.
    std::string_view passedText;
  };

  /// Width of a number token: two digits and a blank.
  static constexpr int tokenWidth = 3;
  /// Width of a label.
  static constexpr int labelWidth = 5;

  Expander(const Game& game, const std::string& fileName, const std::string& numberLine);

  /// Validates the first tokens, picks the expansion by the label and writes
  /// the file. True when the file was written; false with `inquiry()` set.
  bool writeFile();
  /// The status text of the last validation.
  std::string inquiry() const { return message; }
  /// True when `s` is none of the tokens "01 " to the highest ball; sets the
  /// message to the wrong-ball text, or to the passed text when `s` is a ball.
  bool wrongBall(const std::string& s);
  /// Writes every `size`-element combination of the first `n` tokens of the
  /// line, in lexicographic order of positions: the writer of the label whose
  /// N is `n`. False with the wrong-ball text when the line is too short to
  /// hold `n` tokens; false with the message unchanged when the file cannot
  /// be written.
  bool writeCombinations(int n);

 private:
  /// Cuts tokens up to number `n` into `token`, without validating them.
  /// False when the line ends before token `n` does.
  bool cutTokens(int n);
  /// The three bytes of token `k` (counted from 1), fewer or none where the
  /// line ends first.
  std::string cutToken(int k) const;

  Game game;
  std::size_t length = 0;
  std::string message;
  std::string fileName;
  std::string numberLine;
  /// Element k is the token at byte 3(k-1); element 0 is empty.
  std::vector<std::string> token;
  std::string label;
};
