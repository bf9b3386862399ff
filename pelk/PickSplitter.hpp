#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "Characterizable.hpp"

/// What the two cutters of a body line of picks share (`Gaps` cuts by
/// counting numbers, `MultiLoto` at a separator): the text still to be cut,
/// which `lotoLine()` shortens piece by piece, and the rule that a piece
/// starts at its first digit unless the axis switch is on and the rest of
/// the line holds the axis mark.
class PickSplitter : public Characterizable {
 public:
  /// No post header: 0.
  int dateLine() override;
  /// The text still to be cut.
  std::string interposed() override;
  /// The text still to be cut.
  std::string rebuild() override;

 protected:
  PickSplitter(const std::string& text, bool axis);

  /// Drops the text before the first digit, unless the axis mark lies
  /// ahead; false when no digit is left (the rest is then one piece).
  bool startingAtFirstNumber();
  /// Returns the first `length` bytes of the remaining text as the piece and
  /// keeps the rest.
  const std::string& cut(std::size_t length);
  /// Returns the whole remaining text as the piece.
  const std::string& takeAll() { return cut(remaining.size()); }

  static constexpr std::size_t npos = std::string_view::npos;

  /// The piece returned last.
  std::string piece;
  /// The text still to be cut: always a suffix of `line`.
  std::string_view remaining;

 private:
  /// Start of the last axis mark of `line` when the axis switch is on, or npos.
  std::size_t lastAxis = npos;
};
