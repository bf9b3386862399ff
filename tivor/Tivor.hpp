#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "Clock.hpp"
#include "GeneratorOptions.hpp"
#include "UserStream.hpp"

namespace tivor {

/// One run of the program: scans the command line, then prints the help or
/// draws the numbers into "tivor.txt", "tivor.csv" or standard output.
class Tivor {
 public:
  static constexpr int kErrorCode = 1;

  /// Writes to the two streams, its own lines in the language they are
  /// read in; the time seed comes from `clock`.
  Tivor(UserStream& standardOutput, UserStream& standardError, const Clock& clock);

  /// Runs with the arguments after the program name; returns the exit
  /// status: 0 after the numbers were written or the help of -h on standard
  /// output, 1 after the help of -V or -VC, a refused
  /// interval or a failed write (each failure with one line on standard
  /// error, in the user's language).
  int running(const std::vector<std::string>& arguments);

 private:
  /// False, with the message written, when the interval cannot be drawn from.
  bool checkingInterval(const GeneratorOptions& options);
  /// Seeds, draws and ends the output on `out`; false when a write failed.
  bool writingNumbers(GeneratorOptions options, std::ostream& out);
  /// Writes "tivor: " and `wording` with its fill on standard error.
  void failing(const Wording& wording, std::string_view fill = {});

  UserStream& standardOutput_;
  UserStream& standardError_;
  const Clock& clock_;
};

}  // namespace tivor
