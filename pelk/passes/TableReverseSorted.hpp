#pragma once

#include <string>
#include <string_view>

#include "passes/DistinctCombos.hpp"

/// Tabulates how many distinct combinations posted in the body lines of the
/// thread hold each number of the game ("-t"), most frequent first; each
/// further copy of a combination is announced on standard output and counted
/// once. "tabulate.txt" says whether Line-1 is left out ("-1-"), gives the
/// extension of the output name, the order ("-1": descending, else
/// ascending), the separator between a number and its count and, on an
/// optional fifth line, a bar text repeated after each count above 0.
class TableReverseSorted : public DistinctCombos {
 public:
  TableReverseSorted();
  bool altering(std::string& threadName) override;

  /// How many times the bar text follows a count above 0: the count itself,
  /// or, when the largest count is above `kLongestBar`, the count scaled to
  /// at most `kLongestBar` (rounded down, at least 1).
  static int barLength(int count, int largest);
  static constexpr int kLongestBar = 50;

 private:
  /// A third line that asks for the most frequent numbers first.
  static constexpr std::string_view reverseMark = "-1";
};
