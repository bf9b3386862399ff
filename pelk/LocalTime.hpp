#pragma once

#include <ctime>

// Local time, pure: the time itself comes from the run's Clock (Clock.hpp).

/// `t` as local time.
std::tm localTime(std::time_t t);

/// The calendar time of the local date and time of day in `when`, whatever
/// its tm_isdst says: the time zone decides whether daylight saving applies.
std::time_t localCalendarTime(std::tm when);
/// The same for a date (month 1 to 12) and a time of day.
std::time_t localCalendarTime(int year, int month, int day, int hour, int minute = 0,
                              int second = 0);
