#pragma once

#include <ctime>
#include <functional>

/// The current calendar time; tests install a fixed one with ScopedClock.
std::time_t clockNow();

/// `t` as local time.
std::tm localTime(std::time_t t);

/// The calendar time of the local date and time of day in `when`, whatever
/// its tm_isdst says: the time zone decides whether daylight saving applies.
std::time_t localCalendarTime(std::tm when);
/// The same for a date (month 1 to 12) and a time of day.
std::time_t localCalendarTime(int year, int month, int day, int hour, int minute = 0,
                              int second = 0);

/// Puts `now` in place of the system clock for the lifetime of this object.
class ScopedClock {
 public:
  explicit ScopedClock(std::function<std::time_t()> now);
  ~ScopedClock();
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

 private:
  std::function<std::time_t()> previous_;
};
