#pragma once

#include <string>

#include "Expander.hpp"

/// Expands a Loto-6 numbers line (numbers 1 to 43) labelled "7to6", "8to6", "9to6", "10to6" into
/// all its 6-number combinations and writes them to a file.
class ToSix {
 public:
  /// The Loto-6 configuration of the expander.
  static const Expander::Game game;

  ToSix(const std::string& fileName, const std::string& numberLine);

  /// True when the expansion was written; false with `inquiry()` set.
  bool writeFile();
  std::string inquiry() const;
  /// True when `s` is none of "01 " to "43 ".
  bool wrongBall(const std::string& s);

  /// The writers of the four labels: all 6-number combinations of the first N tokens.
  bool file7to6();
  bool file8to6();
  bool file9to6();
  bool file10to6();

 private:
  Expander expander;
};
