#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "CombinationKey.hpp"
#include "Failure.hpp"
#include "Games.hpp"

class ThreadFile;

/// Tells whether a body line holds one combination of a game, and gives its
/// normal form: a line that names exactly as many numbers of the game as a
/// combination has ("01" to the highest ball, each found at its first
/// occurrence, anywhere in the line), no two of them starting less than
/// `NEIGHBOR` bytes apart. The normal form lists them in ascending order,
/// separated by single blanks: «43 07 19 02 33 28» gives «02 07 19 28 33 43».
class CombinationScanner {
 public:
  /// What a line is found to be.
  enum class Verdict {
    /// One combination of the game.
    kCombination,
    /// More or fewer numbers of the game than a combination has.
    kCount,
    /// Two numbers overlap, as "12" and "23" in "123".
    kSpan,
  };

  explicit CombinationScanner(const Game& game);

  const Game& game() const { return game_; }

  /// The verdict on `line`; a combination's numbers are kept for `normalForm`.
  Verdict measuring(std::string_view line);
  /// The normal form of the combination found by the last `measuring`.
  std::string normalForm() const;
  /// The normal form of `line`, or the empty text with "e48: c != loto" or
  /// "e49: span < NEIGHBOR" in `note`.
  std::string countMeasureSort(std::string_view line, Failure& note);
  /// The combination found by the last `measuring`, as a key.
  CombinationKey key() const;
  /// The same as its numbers' bits: bit j for number j.
  uint64_t mask() const { return bits; }
  /// Appends to `combos` the key of every line left in `thread` that is no
  /// post header and holds a combination. Keys rather than texts: a long
  /// thread holds hundreds of thousands.
  void collectingCombos(ThreadFile& thread, std::vector<CombinationKey>& combos);

  /// Smallest allowed distance, in bytes, between the starts of two numbers.
  static constexpr int NEIGHBOR = 2;

 private:
  /// Records in `place` where each number of the game first occurs in `line`
  /// and sets its bit in `bits`; returns how many occur.
  int placingNumbers(std::string_view line);
  /// Tells whether the numbers found all start at least `NEIGHBOR` bytes apart.
  bool measuringSpan() const;

  const Game& game_;
  /// The numbers found in the line measured last: bit j for number j.
  uint64_t bits = 0;
  /// Byte offset of each number's first occurrence in the line.
  int place[kHighestBallOfAll + 1] = {};
};

/// Sorts `combos`, which sort as their normal forms do in byte order, and
/// keeps each combination once; every further copy is announced on
/// standard output as its normal form, one line each.
void uniquingCombos(std::vector<CombinationKey>& combos);
