#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "Characterizable.hpp"
#include "ShiftJis.hpp"

/// Cuts a body line of lottery picks run together into one pick per piece.
/// A pick is as many space-separated numbers as the game draws; a pick ends
/// where the number after it is smaller than its last one or above the
/// game's highest ball. `lotoLine()` returns the pieces one by one, then the
/// empty text. Text before a piece's first digit is dropped, unless the axis
/// switch is on and the rest of the line holds the axis mark.
class Gaps : public Characterizable {
 public:
  /// `gameCode` is the Line-1 code: 5 Miniloto, 6 Loto-6, 7 Loto-7.
  Gaps(const std::string& line, int gameCode, bool axis);

  int dateLine() override;
  /// The text still to be cut.
  std::string interposed() override;
  /// The next piece; empty when nothing is left. Every call that returns a
  /// piece shortens the text still to be cut.
  std::string lotoLine() override;
  /// The text still to be cut.
  std::string rebuild() override;

 private:
  static constexpr std::string_view space = " ";
  static constexpr std::string_view axisMark = kAxisMark;
  static constexpr std::string_view quickPick = "QP";
  static constexpr std::size_t npos = std::string_view::npos;

  /// True when the axis switch is on and the text still to be cut holds the mark.
  bool axisAhead() const;
  /// Returns the first `length` bytes of the remaining text as the piece and
  /// keeps the rest.
  const std::string& cut(std::size_t length);
  /// Returns the whole remaining text as the piece.
  const std::string& takeAll();

  std::size_t pickEnd = 0;
  int highestBall = 0;
  std::size_t lastStart = 0;
  std::size_t spaceBeforeLast = 0;
  int spacesToWalk = 0;
  std::size_t nextStart = 0;
  std::size_t found = 0;
  std::string_view lastNumber;
  std::string_view nextNumber;
  /// Start of the last axis mark of `line`, or npos.
  std::size_t lastAxis = npos;
  /// The text still to be cut: always a suffix of `line`.
  std::string_view remaining;
};

/// The number in the first two bytes of `text`: 0 when `text` does not start
/// with a digit, otherwise its one or two leading digits.
int twoDigitValue(std::string_view text);
