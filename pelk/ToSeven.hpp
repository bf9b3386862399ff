#pragma once

#include <string>

#include "Expander.hpp"

/// Expands a Loto-7 numbers line (numbers 1 to 37) labelled "8to7", "9to7", "10to7", "11to7" into
/// all its 7-number combinations and writes them to a file.
class ToSeven {
 public:
  /// The Loto-7 configuration of the expander.
  static const Expander::Game game;

  ToSeven(const std::string& fileName, const std::string& numberLine);

  /// True when the expansion was written; false with `inquiry()` set.
  bool writeFile();
  std::string inquiry() const;
  /// True when `s` is none of "01 " to "37 ".
  bool wrongBall(const std::string& s);

  /// The writers of the four labels: all 7-number combinations of the first N tokens.
  bool file8to7();
  bool file9to7();
  bool file10to7();
  bool file11to7();

 private:
  Expander expander;
};
