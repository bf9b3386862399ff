#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "Clock.hpp"
#include "Disk.hpp"
#include "Failure.hpp"
#include "Xorshift.hpp"

/// Makes post IDs such as " ID:3bE6Kych" for generated post headers: eight
/// letters of a 64-letter alphabet chosen by eight consecutive numbers of
/// tivor.txt, starting at a place the generator picks.
class GapID {
 public:
  /// Reads tivor.txt on `disk`; the generator's start comes from `clock`.
  GapID(Disk& disk, const Clock& clock);

  /// How long one look at tivor.txt stands: within this time after a look
  /// the file is not read again.
  static constexpr std::chrono::milliseconds kLookStands{1};

  /// Reads the numbers of tivor.txt into `values`. The file is read afresh
  /// unless it was read less than `kLookStands` ago; it is parsed again only
  /// when its bytes differ from the last ones parsed. False, with the reason
  /// in `failure()`, when the file cannot be read.
  bool readTivorText();
  /// A new identifier, or the empty text with the reason in `failure()`
  /// when tivor.txt is missing or holds no numbers.
  std::string gapID();
  const Failure& failure() const { return failure_; }

 private:
  /// The two bytes of a number token as its value 0 to 99, or -1.
  static int digitPair(unsigned char first, unsigned char second);

  Disk& disk;
  std::string textName;
  std::vector<int> values;
  int made = 0;
  int valueCount = 0;
  Failure failure_;
  std::unique_ptr<Xorshift> generator;

  /// The last look at tivor.txt: when (on the steady clock, as it measures
  /// real time even where tests fix the program's clock), whether it could
  /// be read, and the bytes that `values` were parsed from.
  bool looked = false;
  std::chrono::steady_clock::time_point lookedAt;
  bool readable = false;
  bool parsed = false;
  std::string parsedText;
};
