#pragma once

// The clock seam of pelk and tivor, a header each of them compiles (they
// share no library): `main` makes a `SystemClock` and hands it to what reads
// the time; tests hand in a `FixedClock`.

#include <ctime>

/// Where a run reads the calendar time.
class Clock {
 public:
  virtual ~Clock() = default;
  /// The current calendar time.
  virtual std::time_t now() const = 0;
};

/// The system's clock.
class SystemClock : public Clock {
 public:
  std::time_t now() const override { return std::time(nullptr); }
};

/// A clock that stands still at the time it is given, until it is set again.
class FixedClock : public Clock {
 public:
  explicit FixedClock(std::time_t at) : at_(at) {}
  std::time_t now() const override { return at_; }
  void set(std::time_t at) { at_ = at; }

 private:
  std::time_t at_;
};
