#pragma once

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>

#include "Characterizable.hpp"
#include "Clock.hpp"
#include "Disk.hpp"
#include "GapID.hpp"

/// Turns one sample post header into an endless run of consecutive ones: each
/// `rebuild()` gives the next header, its post number one higher and its time
/// 25 seconds later, with a freshly generated ID after every seventh header.
class Consecutive : public Characterizable {
 public:
  /// The IDs come from tivor.txt on `disk`, the date and time from `clock`.
  Consecutive(const std::string& line, Disk& disk, const Clock& clock);

  /// Takes the sample apart: the byte position of its two-digit year when it
  /// is a date line, 9 for a line in the vemo form (taken as is), 0 otherwise.
  int dateLine() override;
  /// The next header; the line unchanged when it was not taken apart.
  std::string rebuild() override;
  /// The same without a copy, for a caller that makes headers by the
  /// million: valid until the next call.
  const std::string& rebuilding();
  /// The line.
  std::string interposed() override;
  /// No pieces here: the empty text.
  std::string lotoLine() override;

  /// The time 25 seconds after `time`, as HH:MM:SS; the time of day wraps at
  /// midnight.
  std::string resTime();

 private:
  /// Brings `today` up to the clock's current second.
  void watchClock();

  const Clock& clock;
  std::unique_ptr<GapID> gapId;
  std::int32_t headerCount = 0;
  /// The ID part, beginning with its blank (" ID:..."), or eleven blanks.
  std::string id;
  /// The post number of the latest header.
  std::string number;
  /// The time of the latest header.
  std::string time;
  /// What stands between the number and the time of every header: " ：",
  /// the name, " ：", the date, the weekday and a blank; made by `dateLine`,
  /// so that a header costs a few copies (a long run makes a million).
  std::string middle;

  /// The local date and time of the clock's second `seenSecond`, and whether
  /// that day's clock runs evenly from 00:00:00 to 23:59:59 (no change of
  /// UTC offset), so that a time of day plus 25 seconds is plain arithmetic.
  std::time_t seenSecond = -1;
  std::tm today{};
  int todayKey = -1;
  bool evenDay = false;
};
