#pragma once

#include <memory>
#include <string>

#include "Alterable.hpp"
#include "CombinationScanner.hpp"

/// Reduces the thread to its post headers and the body lines that are
/// exactly one combination of the game drawn on Line-1 ("-i"); every post
/// ends with an empty line.
class CombosDates : public Alterable {
 public:
  bool altering(std::string& threadName) override;

  /// True when `line` is one combination of the game; otherwise false with
  /// "e16: c != loto" or "e17: span < NEIGHBOR" in the message.
  bool countBallsMesureSpan(const std::string& line);

 protected:
  /// Looks for the combinations of the game of Line-1.
  std::unique_ptr<CombinationScanner> scanner;
};
