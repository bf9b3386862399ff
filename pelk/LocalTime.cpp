#include "LocalTime.hpp"

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
