#pragma once

#include <string>

#include "Alterable.hpp"

/// Reduces the thread to its post headers and the body lines that are
/// exactly one combination of the game drawn on Line-1 ("-i"); every post
/// ends with an empty line.
class CombosDates : public Alterable {
 public:
  CombosDates();
  bool altering(std::string& threadName) override;

  /// True when `line` names exactly `loto` distinct numbers of the game,
  /// no two of them starting less than `NEIGHBOR` bytes apart.
  bool countBallsMesureSpan(const std::string& line);
};
