#include "LocalTime.hpp"

#include <utility>

namespace {

std::function<std::time_t()>& installed() {
  static std::function<std::time_t()> now;
  return now;
}

}  // namespace

std::time_t clockNow() { return installed() ? installed()() : std::time(nullptr); }

std::tm localTime(std::time_t t) {
  std::tm result{};
#ifdef _WIN32
  localtime_s(&result, &t);
#else
  localtime_r(&t, &result);
#endif
  return result;
}

std::time_t localCalendarTime(std::tm when) {
  when.tm_isdst = -1;
  return std::mktime(&when);
}

std::time_t localCalendarTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm when{};
  when.tm_year = year - 1900;
  when.tm_mon = month - 1;
  when.tm_mday = day;
  when.tm_hour = hour;
  when.tm_min = minute;
  when.tm_sec = second;
  return localCalendarTime(when);
}

ScopedClock::ScopedClock(std::function<std::time_t()> now) : previous_(std::move(installed())) {
  installed() = std::move(now);
}

ScopedClock::~ScopedClock() { installed() = std::move(previous_); }
