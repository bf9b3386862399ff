#include "RunLock.hpp"

#include <algorithm>
#include <chrono>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

#include "Messages.hpp"

namespace {

/// The failure of a run that waited `wait` in vain: the wait in seconds, or
/// in milliseconds when it is no whole number of seconds.
Failure busy(std::chrono::milliseconds wait) {
  const std::string waited = wait.count() % 1000 == 0
                                 ? std::to_string(wait.count() / 1000) + " seconds"
                                 : std::to_string(wait.count()) + " milliseconds";
  return numberedFailure(
      messages::kLockBusy,
      std::string(RunLock::kFileName) + " is held by another run; gave up after " + waited,
      RunLock::kFileName);
}

Failure unlockable() {
  return numberedFailure(messages::kLockUnavailable,
                         std::string(RunLock::kFileName) + " cannot be locked", RunLock::kFileName);
}

enum class Attempt { taken, busy, failed };

#ifdef _WIN32

HANDLE handleOf(std::intptr_t file) { return reinterpret_cast<HANDLE>(file); }

/// Opens the lock file, creating it; -1 with `readOnly` set when the
/// directory may not be written.
std::intptr_t openLockFile(bool& readOnly) {
  constexpr DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  HANDLE file = CreateFileA(RunLock::kFileName, GENERIC_READ | GENERIC_WRITE, share, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    // An existing lock file that may not be written still takes a lock.
    file = CreateFileA(RunLock::kFileName, GENERIC_READ, share, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    // A directory of that name is refused with the same error.
    const DWORD found = GetFileAttributesA(RunLock::kFileName);
    readOnly = file == INVALID_HANDLE_VALUE &&
               (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT) &&
               (found == INVALID_FILE_ATTRIBUTES || !(found & FILE_ATTRIBUTE_DIRECTORY));
  }
  return file == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(file);
}

Attempt tryLocking(std::intptr_t file) {
  OVERLAPPED from = {};
  if (LockFileEx(handleOf(file), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                 &from))
    return Attempt::taken;
  const DWORD error = GetLastError();
  return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? Attempt::busy
                                                                    : Attempt::failed;
}

void closeLockFile(std::intptr_t file) { CloseHandle(handleOf(file)); }

#else

/// Opens the lock file, creating it; -1 with `readOnly` set when the
/// directory may not be written. Never through a link, and only a regular
/// file.
std::intptr_t openLockFile(bool& readOnly) {
  int fd = open(RunLock::kFileName, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) {
    const int error = errno;
    // An existing lock file that may not be written still takes a lock.
    fd = open(RunLock::kFileName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    readOnly = fd < 0 && (error == EROFS || error == EACCES || error == EPERM);
  }
  struct stat status;
  if (fd >= 0 && (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))) {
    close(fd);
    fd = -1;
  }
  return fd;
}

Attempt tryLocking(std::intptr_t file) {
  while (true) {
    if (flock(static_cast<int>(file), LOCK_EX | LOCK_NB) == 0) return Attempt::taken;
    if (errno == EINTR) continue;
    return errno == EWOULDBLOCK ? Attempt::busy : Attempt::failed;
  }
}

void closeLockFile(std::intptr_t file) { close(static_cast<int>(file)); }

#endif

}  // namespace

RunLock::~RunLock() {
  if (file_ != -1) closeLockFile(file_);
}

bool RunLock::taking(std::chrono::milliseconds wait) {
  bool readOnly = false;
  file_ = openLockFile(readOnly);
  if (file_ == -1) {
    if (readOnly) return true;
    failure_ = unlockable();
    return false;
  }
  // Asked again and again, at first often: a run usually takes a few
  // milliseconds, and the one waiting should follow soon after.
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + wait;
  std::chrono::milliseconds pause(1);
  while (true) {
    switch (tryLocking(file_)) {
      case Attempt::taken:
        return true;
      case Attempt::failed:
        failure_ = unlockable();
        return false;
      case Attempt::busy:
        break;
    }
    if (Clock::now() >= deadline) {
      failure_ = busy(wait);
      return false;
    }
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(50));
  }
}
