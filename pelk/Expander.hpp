#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Disk.hpp"
#include "Failure.hpp"
#include "Games.hpp"

/// Expands a posted numbers line such as "03 07 11 19 24 28 6to5" into every
/// K-number combination of its first N numbers, one per line, into a file or
/// a text. Its game (`ToFive`, `ToSix`, `ToSeven`) tells the highest number,
/// K, the four labels and the two failure texts. An expander serves one
/// line: construct, `writeFile` (or `expanding`) once, read `failure` when
/// it fails.
///
/// A line is expanded only when each of the N numbers its label asks for is
/// a number of the game, none of them twice; otherwise it fails with the
/// game's wrong-ball text.
class Expander {
 public:
  /// Width of a number token: two digits and a blank.
  static constexpr int tokenWidth = 3;
  /// Width of a label.
  static constexpr int labelWidth = 5;

  /// Expands `numberLine` of `game`; `writeFile` writes `fileName` on `disk`.
  Expander(Disk& disk, const Game& game, const std::string& fileName,
           const std::string& numberLine);

  /// Validates the first tokens, picks the expansion by the label and writes
  /// the file. True when the file was written; false with `failure()` set.
  bool writeFile();
  /// The same, and where something already has the file's name, the file
  /// is written under the name `nextName` gives instead, until one is free
  /// (`name()` tells which).
  bool writeFile(const std::function<std::string()>& nextName);
  /// The name of the file, the one written after a successful `writeFile`.
  const std::string& name() const { return fileName; }
  /// The same into `text` (appended) instead of the file.
  bool expanding(std::string& text);
  /// The same as bit masks of the numbers (bit b for the number b), each
  /// handed to `each` in the order the file lists them: no text written
  /// and read again.
  bool expanding(const std::function<void(uint64_t)>& each);
  /// The outcome of the last validation: the game's wrong-ball message, or
  /// its passed message when the last token checked was a ball. After a
  /// failed `writeFile` or `expanding`, its reason says what is wrong with
  /// the line in plain words, such as "99 is no Loto-6 number (01-43)".
  Failure failure() const;
  /// True when `s` is none of the tokens "01 " to the highest ball; sets the
  /// failure to the wrong-ball message, or to the passed one when `s` is a ball.
  bool wrongBall(const std::string& s);
  /// Writes every `size`-element combination of the first `n` tokens of the
  /// line, in lexicographic order of positions: the writer of the label whose
  /// N is `n`. False with the wrong-ball text when the line is too short to
  /// hold `n` tokens; false with the failure unchanged when the file cannot
  /// be written.
  bool writeCombinations(int n, const std::function<std::string()>& nextName = {});
  /// The same into `text` (appended).
  bool combinations(int n, std::string& text);

 private:
  /// Validates the first tokens and finds the label, then validates every
  /// token the label asks for and that none stands twice: the label's N, or
  /// 0 with the failure and its reason set.
  int labelled();
  /// The outcome is the game's wrong-ball message.
  void noBall();
  /// The reason token `k` is no number of the game, the label asking for `n`
  /// numbers (0 when the line carries no label of the game).
  Phrase tokenFault(int k, int n) const;
  /// Cuts tokens up to number `n` into `token`, without validating them.
  /// False when the line ends before token `n` does.
  bool cutTokens(int n);
  /// The three bytes of token `k` (counted from 1), fewer or none where the
  /// line ends first.
  std::string cutToken(int k) const;

  Disk& disk;
  const Game& game;
  std::size_t length = 0;
  /// The message number of the last validation, and what is wrong with the line.
  int outcome_ = 0;
  Phrase reason_;
  std::string fileName;
  std::string numberLine;
  /// Element k is the token at byte 3(k-1); element 0 is empty.
  std::vector<std::string> token;
  std::string label;
};

/// The expander's three configurations, named by the size of the
/// combinations they write.
inline constexpr const Game& ToFive = kGames[0];
inline constexpr const Game& ToSix = kGames[1];
inline constexpr const Game& ToSeven = kGames[2];
