#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "PickSplitter.hpp"

/// Cuts a body line of lottery picks at a separator text ("/", "|"): each
/// piece ends just after one occurrence of the separator, the last piece is
/// the rest. `lotoLine()` returns the pieces one by one, then the empty
/// text. Text before a piece's first digit is dropped, unless the axis
/// switch is on and the rest of the text holds the axis mark.
class MultiLoto : public PickSplitter {
 public:
  /// An empty `separator` never cuts: the whole text is one piece.
  MultiLoto(const std::string& text, const std::string& separator, bool axis);

  /// The next piece; empty when nothing is left. Every call that returns a
  /// piece shortens the text still to be cut.
  std::string lotoLine() override;

 private:
  std::size_t found = 0;
  std::string separator;
};
