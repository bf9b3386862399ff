#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "Failure.hpp"

/// Runs of pelk in one directory take turns. A run holds an advisory lock on
/// the file "pelk.lock" of the working directory from its start to its end
/// (flock; LockFileEx on Windows), so that the companion checks, the cleanup,
/// "serial.txt", "remove_e.txt" and the output of two runs never interleave.
/// A thread that lies in another directory (a link into a synced folder)
/// is written there: the run then holds that directory's lock too. The file
/// itself is created once, for every user who may write the directory to
/// lock, and stays; nothing is written into it.
class RunLock {
 public:
  /// The lock file, in the working directory.
  static constexpr char kFileName[] = "pelk.lock";

  RunLock() = default;
  /// Lets the locks go.
  ~RunLock();
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;

  /// Waits until the lock of the working directory is held, at most `wait`.
  /// True when it is held, and also when the lock file can be neither made
  /// nor opened in a directory this user may not write (the run can then
  /// change nothing here to guard). False, with the failure in `failure()`,
  /// when another run held it all that time (e58, naming the wait), or when
  /// it cannot be locked (e59): a lock file another user made that this one
  /// may not open, a directory, a link, a FIFO or anything else at its name,
  /// or a file system that cannot lock. Opening never blocks.
  bool taking(std::chrono::milliseconds wait);
  /// Also takes the lock of the directory in which the file `thread` lies
  /// once its links are followed, when that is another directory than the
  /// working one, on the same terms and with the same wait. The two locks
  /// are taken in the order of their directories' canonical paths, letting
  /// the first go and taking it again when need be, so that two runs that
  /// want both never wait on each other. True when there is nothing more to
  /// take (a thread that does not exist: the pass says so).
  bool covering(const std::string& thread, std::chrono::milliseconds wait);
  const Failure& failure() const { return failure_; }

 private:
  /// One lock: the directory of its file ("" for the working directory) and
  /// the open file, a descriptor or on Windows a handle; -1 for none.
  struct Held {
    std::string directory;
    std::intptr_t file = -1;
  };
  bool taking(Held& lock, std::chrono::milliseconds wait);
  static void lettingGo(Held& lock);

  Held own_;
  Held thread_;
  Failure failure_;
};
