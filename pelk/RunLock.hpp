#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "Failure.hpp"

/// Runs of pelk in one directory take turns. A run holds an advisory lock on
/// the file "pelk.lock" of the working directory from its start to its end
/// (flock; LockFileEx on Windows), so that the companion checks, the cleanup,
/// "serial.txt", "remove_e.txt" and the output of two runs never interleave.
/// The file itself is created once and stays; nothing is written into it.
class RunLock {
 public:
  /// The lock file, in the working directory.
  static constexpr char kFileName[] = "pelk.lock";

  RunLock() = default;
  /// Lets the lock go.
  ~RunLock();
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;

  /// Waits until the lock is held, at most `wait`. True when it is held, and
  /// also when the lock file can be neither made nor opened because the
  /// directory may not be written (the run can then change nothing here to
  /// guard). False, with the failure in `failure()`, when another run held
  /// it all that time (e58, naming the wait) or the file cannot be locked
  /// (e59).
  bool taking(std::chrono::milliseconds wait);
  const Failure& failure() const { return failure_; }

 private:
  /// The open lock file: a descriptor, or on Windows a handle; -1 for none.
  std::intptr_t file_ = -1;
  Failure failure_;
};
