#pragma once

// Test helpers shared by the tests of the two pick splitters.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Characterizable.hpp"

namespace pieces {

inline const std::string kDigits = "0123456789";

/// Calls lotoLine() until it returns the empty text (or far more often than
/// any line can need, which fails the caller's size check).
inline std::vector<std::string> allPieces(Characterizable& parser, size_t limit) {
  std::vector<std::string> found;
  for (std::string piece = parser.lotoLine(); !piece.empty(); piece = parser.lotoLine()) {
    found.push_back(piece);
    if (found.size() > limit) break;
  }
  return found;
}

/// What may stay behind the last piece.
enum class Tail {
  /// Nothing: the pieces reach the end of the line.
  kNone,
  /// Text without digits.
  kDigitFree,
};

/// The pieces, joined, give back the line except for digit-free text dropped
/// before a piece, and after the last as `tail` allows.
inline void expectNoLoss(const std::string& line, const std::vector<std::string>& found,
                         Tail tail) {
  size_t at = 0;
  for (const std::string& piece : found) {
    size_t start = at;
    if (line.compare(at, piece.size(), piece) != 0) start = line.find_first_of(kDigits, at);
    ASSERT_NE(start, std::string::npos) << line;
    ASSERT_EQ(line.compare(start, piece.size(), piece), 0) << line << " | " << piece;
    at = start + piece.size();
  }
  if (tail == Tail::kNone)
    EXPECT_EQ(at, line.size()) << line;
  else
    EXPECT_EQ(line.find_first_of(kDigits, at), std::string::npos) << line;
}

}  // namespace pieces
