#pragma once

#include <ctime>
#include <functional>

/// The current calendar time; tests install a fixed one with ScopedClock.
std::time_t clockNow();

/// `t` as local time.
std::tm localTime(std::time_t t);

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
