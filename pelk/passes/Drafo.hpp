#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "Alterable.hpp"
#include "ItemMatcher.hpp"

/// Normalises the body lines of the thread ("-z"): a built-in table turns
/// full-width digits, letters, spaces and punctuation into single bytes,
/// then every draft-to-formal pair of the companion file (drafo.csv) is
/// applied as a plain substring replacement. Line-1 and post headers are
/// copied unchanged.
class Drafo : public Alterable {
 public:
  Drafo();
  bool altering(std::string& threadName) override;

  /// Reads the pairs of the companion file into `drafts` and `formals`.
  /// False, with the message set, when the file cannot be read.
  bool readingCsvToProduceArrays();
  /// `line` with the built-in table applied character by character.
  std::string checkOneByOne(const std::string& line) const;
  /// Sets `formal` to `line` with every pair applied in file order, each
  /// pair to the output of the ones before it. False when the pairs would
  /// make the line more than `longestGrowth` bytes longer: a companion file
  /// whose pairs feed each other can multiply a line without end.
  bool replaceDraftWithFormal(const std::string& line, std::string& formal) const;

  /// How many bytes the pairs may add to one line. Real pairs add a few
  /// bytes; this leaves room for any of them and keeps memory bounded.
  static constexpr size_t kLongestGrowth = size_t{1} << 20;

 protected:
  /// The first field of each pair, in file order.
  std::vector<std::string> drafts;
  /// The second field of each pair: formal i replaces draft i.
  std::vector<std::string> formals;
  /// Finds the next pair whose draft occurs in a line.
  ItemMatcher draftMatcher;
  /// The built-in table: the byte that replaces each two-byte Shift-JIS
  /// character, indexed by lead byte * 256 + trail byte (0: kept as it is),
  /// so that a character of a long thread costs one look-up.
  std::vector<unsigned char> singleByteOf;
  /// How many bytes the pairs may add to one line (`kLongestGrowth`; tests
  /// lower it to reach the limit with small texts).
  size_t longestGrowth = kLongestGrowth;

 private:
  /// One pair from one line of the companion file; false when the line does
  /// not hold two unescaped commas.
  bool parsingCsvLine(const std::string& line, std::string& draft, std::string& formal) const;
  /// `field` less its first backslash, or `emptyMark` when it is empty.
  std::string csvField(std::string field) const;
};
