#pragma once

#include <ctime>
#include <functional>

namespace tivor {

/// The current calendar time, read for the time seed; tests install a fixed
/// one with ScopedClock.
std::time_t clockNow();

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

}  // namespace tivor
