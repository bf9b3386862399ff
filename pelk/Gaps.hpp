#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "PickSplitter.hpp"

/// Cuts a body line of lottery picks run together into one pick per piece.
/// A pick is as many space-separated numbers as the game draws; a pick ends
/// where the number after it is smaller than its last one or above the
/// game's highest ball. `lotoLine()` returns the pieces one by one, then the
/// empty text. Text before a piece's first digit is dropped, unless the axis
/// switch is on and the rest of the line holds the axis mark.
class Gaps : public PickSplitter {
 public:
  /// `gameCode` is the Line-1 code: 5 Miniloto, 6 Loto-6, 7 Loto-7.
  Gaps(const std::string& line, int gameCode, bool axis);

  /// The next piece; empty when nothing is left. Every call that returns a
  /// piece shortens the text still to be cut.
  std::string lotoLine() override;

 private:
  static constexpr std::string_view space = " ";
  static constexpr std::string_view quickPick = "QP";

  std::size_t pickEnd = 0;
  int highestBall = 0;
  std::size_t lastStart = 0;
  std::size_t spaceBeforeLast = 0;
  int spacesToWalk = 0;
  std::size_t nextStart = 0;
  std::size_t found = 0;
  std::string_view lastNumber;
  std::string_view nextNumber;
};

/// The number in the first two bytes of `text`: 0 when `text` does not start
/// with a digit, otherwise its one or two leading digits.
int twoDigitValue(std::string_view text);
