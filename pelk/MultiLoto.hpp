#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "Characterizable.hpp"
#include "ShiftJis.hpp"

/// Cuts a body line of lottery picks at a separator text ("/", "|"): each
/// piece ends just after one occurrence of the separator, the last piece is
/// the rest. `lotoLine()` returns the pieces one by one, then the empty
/// text. Text before a piece's first digit is dropped, unless the axis
/// switch is on and the rest of the text holds the axis mark.
class MultiLoto : public Characterizable {
 public:
  /// An empty `separator` never cuts: the whole text is one piece.
  MultiLoto(const std::string& text, const std::string& separator, bool axis);

  int dateLine() override;
  /// The text still to be cut.
  std::string interposed() override;
  /// The next piece; empty when nothing is left. Every call that returns a
  /// piece shortens the text still to be cut.
  std::string lotoLine() override;
  /// The text still to be cut.
  std::string rebuild() override;

 private:
  static constexpr std::string_view axisMark = kAxisMark;
  static constexpr std::size_t npos = std::string_view::npos;

  bool axisAhead() const;

  std::size_t found = 0;
  std::string piece;
  /// The whole text as given.
  std::string text;
  std::string separator;
  /// Start of the last axis mark of `text`, or npos.
  std::size_t lastAxis = npos;
  /// The text still to be cut: always a suffix of `text`.
  std::string_view remaining;
};
