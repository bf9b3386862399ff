#pragma once

#include <string>

#include "Expander.hpp"

/// Expands a Miniloto numbers line (numbers 1 to 31) labelled "6to5", "7to5", "8to5", "9to5" into
/// all its 5-number combinations and writes them to a file.
class ToFive {
 public:
  /// The Miniloto configuration of the expander.
  static const Expander::Game game;

  ToFive(const std::string& fileName, const std::string& numberLine);

  /// True when the expansion was written; false with `inquiry()` set.
  bool writeFile();
  std::string inquiry() const;
  /// True when `s` is none of "01 " to "31 ".
  bool wrongBall(const std::string& s);

  /// The writers of the four labels: all 5-number combinations of the first N tokens.
  bool file6to5();
  bool file7to5();
  bool file8to5();
  bool file9to5();

 private:
  Expander expander;
};
