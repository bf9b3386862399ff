#pragma once

// Test helper: a pass set up as the driver sets it up, on a test's disk and
// clock.

#include <ctime>
#include <string>

#include "Alterable.hpp"
#include "Clock.hpp"
#include "Disk.hpp"
#include "LocalTime.hpp"
#include "ShiftJis.hpp"

/// The time of the runs whose output names do not matter.
inline const FixedClock kAnyTime(1502694845);
/// 2017-08-14 16:14:05 local time: output names end in "14-5".
inline std::time_t at14m5s() { return localCalendarTime(2017, 8, 14, 16, 14, 5); }
/// A post header without numbers.
inline const std::string kHeader = std::string("1 ") + kZenkakuColon + "A " + kZenkakuColon +
                                   "2017/08/14(Mon) 16:15:20.68 ID:abcdefgh";

/// The pass `P` with the companion file `companion`, Line-1 kept or not, its
/// output written over "who.txt" or to a temporary name.
template <class P>
class Configured : public P {
 public:
  Configured(Disk& disk, const Clock& clock, const std::string& companion, bool keepLine1,
             bool overwrite) {
    this->setting({.companion = companion,
                   .keepLine1 = keepLine1,
                   .overwrite = overwrite,
                   .disk = &disk,
                   .clock = &clock});
  }
};
