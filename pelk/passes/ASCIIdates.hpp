#pragma once

#include <string>

#include "Alterable.hpp"

/// Reduces the thread to its post headers in single-byte text ("-a", "-da"):
/// body lines are dropped, "posted on" is cut out, kanji weekdays become
/// English names, full-width colons and bars become "|", and every other
/// double-byte or half-width katakana character is removed. Line-1 is kept
/// (converted the same way) unless it is removed.
class ASCIIdates : public Alterable {
 public:
  ASCIIdates() = default;
  bool altering(std::string& path) override;

  /// `line` with every double-byte character replaced by its single-byte
  /// text or dropped, and half-width katakana dropped.
  std::string asciiOnly(const std::string& line) const;
};
