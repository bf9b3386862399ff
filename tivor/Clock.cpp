#include "Clock.hpp"

#include <utility>

namespace tivor {

namespace {

std::function<std::time_t()>& installed() {
  static std::function<std::time_t()> now = [] { return std::time(nullptr); };
  return now;
}

}  // namespace

std::time_t clockNow() { return installed()(); }

ScopedClock::ScopedClock(std::function<std::time_t()> now) : previous_(std::move(installed())) {
  installed() = std::move(now);
}

ScopedClock::~ScopedClock() { installed() = std::move(previous_); }

}  // namespace tivor
