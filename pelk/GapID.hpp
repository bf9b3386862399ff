#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Disk.hpp"
#include "Xorshift.hpp"

/// Makes post IDs such as " ID:3bE6Kych" for generated post headers: eight
/// letters of a 64-letter alphabet chosen by eight consecutive numbers of
/// tivor.txt, starting at a place the generator picks.
class GapID {
 public:
  GapID();

  /// Reads the numbers of tivor.txt into `values`; the numbers of the last
  /// read are kept while the file is unchanged. False, with the reason in
  /// `message`, when the file cannot be read.
  bool readTivorText();
  /// A new identifier, or the empty text with the reason in `inquiry()`
  /// when tivor.txt is missing or holds no numbers.
  std::string gapID();
  std::string inquiry() const { return message; }

 private:
  /// The two bytes of a number token as its value 0 to 99, or -1.
  static int digitPair(unsigned char first, unsigned char second);

  std::string textName;
  std::vector<int> values;
  int made = 0;
  int valueCount = 0;
  std::string message;
  std::unique_ptr<Xorshift> generator;

  /// tivor.txt as last read, and its stamp taken just before that read.
  bool cached = false;
  std::string cachedText;
  FileStamp cachedStamp;
};
