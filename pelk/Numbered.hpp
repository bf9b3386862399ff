#pragma once

#include <string>

/// Splits a command-line argument such as "-m30" into its option part ("-m")
/// and the decimal number at its end (30).
class Numbered {
 public:
  explicit Numbered(const char* argument);

  /// The argument up to its final digits.
  std::string parameter() const { return head; }
  /// The value of the final digits; 0 when there are none or they do not
  /// fit an int (see readable()).
  int number() const;
  /// True when the final digits are present and fit an int.
  bool readable() const;

 private:
  std::string reversed;
  int length = 0;
  int headLength = 0;
  int digitCount = 0;
  std::string head;
  std::string digits;
};
