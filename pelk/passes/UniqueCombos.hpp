#pragma once

#include <string>
#include <string_view>

#include "passes/DistinctCombos.hpp"

/// Lists every combination posted in the body lines of the thread once, in
/// its normal form and in sorted order ("-u"); each further copy of a
/// combination is announced on standard output. "unique.txt" says whether
/// Line-1 is left out ("-1-" on its first line) and gives the extension of
/// the output name (its second line).
class UniqueCombos : public DistinctCombos {
 public:
  UniqueCombos();
  bool altering(std::string& threadName) override;
};
