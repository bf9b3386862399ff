#include "Clock.hpp"

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

ScopedClock::ScopedClock(std::function<std::time_t()> now) : previous_(std::move(installed())) {
  installed() = std::move(now);
}

ScopedClock::~ScopedClock() { installed() = std::move(previous_); }
