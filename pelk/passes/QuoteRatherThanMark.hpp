#pragma once

#include <string>

#include "Alterable.hpp"

/// Copies the thread and turns a caret in the sixth byte of every line after
/// Line-1 into a back quote ("-6"), so that a vemo-form header is no longer
/// taken as one.
class QuoteRatherThanMark : public Alterable {
 public:
  bool altering(std::string& threadName) override;

  /// Replaces a single-byte caret at byte 5 of `line` in place; returns the line.
  std::string replaceMARKwithBACK_QUOTE(std::string& line);
  /// The same for `line`, a line of a UTF-8 thread as saved: the caret at
  /// byte 5 of its CP932 form.
  void replacingInUtf8(std::string& line);
};
