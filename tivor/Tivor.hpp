#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "Clock.hpp"
#include "GeneratorOptions.hpp"

namespace tivor {

/// One run of the program: scans the command line, then prints the help or
/// draws the numbers into "tivor.txt", "tivor.csv" or standard output.
class Tivor {
 public:
  static constexpr int kErrorCode = 1;

  /// Writes to the two streams; the time seed comes from `clock`.
  Tivor(std::ostream& standardOutput, std::ostream& standardError, const Clock& clock);

  /// Runs with the arguments after the program name; returns the exit
  /// status: 0 after the numbers were written or the help of -h on standard
  /// output, 1 after the help of -V or -VC, a refused
  /// interval or a failed write (each failure with one line on standard
  /// error).
  int running(const std::vector<std::string>& arguments);

 private:
  /// False, with the message written, when the interval cannot be drawn from.
  bool checkingInterval(const GeneratorOptions& options);
  /// Seeds, draws and ends the output on `out`; false when a write failed.
  bool writingNumbers(GeneratorOptions options, std::ostream& out);

  std::ostream& standardOutput_;
  std::ostream& standardError_;
  const Clock& clock_;
};

}  // namespace tivor
