#pragma once

#include <string>
#include <string_view>

#include "Alterable.hpp"

/// Cuts a long run of lines into posts ("-w" + N, "-m" + N, "-s"): after every
/// N lines it inserts an empty line and a post header. The first header is
/// the first line of the companion file (segmen.txt), the later ones follow
/// it with consecutive post numbers. With the matrix switch the text is read
/// as 3 x 3 matrices, and a header goes in only where a matrix ends.
class Segmentalize : public Alterable {
 public:
  bool altering(std::string& threadName) override;

  /// True when `line` completes a matrix: the third of three lines in a row
  /// whose first numbers lie in rows 0, 1 and 2. Advances `rowState`.
  /// `line` may be CP932 or UTF-8 as saved: a digit is a byte of its own in
  /// both, and the rows are ASCII.
  bool integrity_of_data(std::string_view line);

 private:
  static constexpr int rowCount = 3;
  /// The first numbers each matrix row may start with.
  static constexpr const char* rowNumbers[rowCount] = {"01 02 03 04 05 ", "16 17 18 19 20 ",
                                                       "26 27 28 29 30 "};
  /// Stands for the first number of a line without digits; lies in no row.
  static constexpr const char* sentinel = "41";
  /// The row the next examined line must match.
  int rowState = 0;
};
