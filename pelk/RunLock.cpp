#include "RunLock.hpp"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#endif

#include "Messages.hpp"

namespace {

namespace fs = std::filesystem;

/// The failure of a run that waited `wait` in vain for the lock file
/// `file`: the wait in seconds, or in milliseconds when it is no whole
/// number of seconds.
Failure busy(std::chrono::milliseconds wait, const std::string& file) {
  const std::string waited = wait.count() % 1000 == 0
                                 ? std::to_string(wait.count() / 1000) + " seconds"
                                 : std::to_string(wait.count()) + " milliseconds";
  return numberedFailure(
      messages::kLockBusy,
      std::string(RunLock::kFileName) + " is held by another run; gave up after " + waited, file);
}

/// The failure of a lock file `file` that cannot be locked, and why.
Failure unlockable(const std::string& file, Phrase reason) {
  Failure failure = numberedFailure(messages::kLockUnavailable,
                                    std::string(RunLock::kFileName) + " cannot be locked", file);
  failure.reason = std::move(reason);
  return failure;
}

/// What the hint says of anything at the lock file's name that is not a
/// file to lock, `what` it is.
Phrase movingAway(const Wording& what) { return Phrase(wordings::kReasonMoveAway, {what}); }

/// A lock file opened, or why none was.
struct Opened {
  std::intptr_t file = -1;
  /// None is needed: none can be made in a directory the run may not write.
  bool unneeded = false;
  Phrase reason = {};
};

enum class Attempt { taken, busy, failed };

#ifdef _WIN32

HANDLE handleOf(std::intptr_t file) { return reinterpret_cast<HANDLE>(file); }

/// Opens the lock file `path`, creating it. Nothing there and none may be
/// made: the directory may not be written, and no lock is needed. A file
/// that is there but cannot be opened even for reading fails.
Opened openLockFile(const std::string& path, const std::string&) {
  constexpr DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    // An existing lock file that may not be written still takes a lock.
    file = CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      // A directory of that name is refused with the same error.
      const DWORD found = GetFileAttributesA(path.c_str());
      if (found == INVALID_FILE_ATTRIBUTES &&
          (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT))
        return {.unneeded = true};
      if (found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_DIRECTORY))
        return {.reason = movingAway(wordings::kHintIsDirectory)};
      return {.reason = Phrase(wordings::kReasonMayNotOpenIt)};
    }
  }
  if (GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    return {.reason = movingAway(wordings::kReasonIsNoFile)};
  }
  return {.file = reinterpret_cast<std::intptr_t>(file)};
}

bool sameFile(std::intptr_t one, std::intptr_t other) {
  BY_HANDLE_FILE_INFORMATION a, b;
  return GetFileInformationByHandle(handleOf(one), &a) &&
         GetFileInformationByHandle(handleOf(other), &b) &&
         a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

Attempt tryLocking(std::intptr_t file, Phrase& reason) {
  OVERLAPPED from = {};
  if (LockFileEx(handleOf(file), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                 &from))
    return Attempt::taken;
  const DWORD error = GetLastError();
  if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) return Attempt::busy;
  reason = Phrase(wordings::kReasonCannotLock,
                  {Phrase(wordings::kReasonErrorCode, {std::to_string(error)})});
  return Attempt::failed;
}

void closeLockFile(std::intptr_t file) { CloseHandle(handleOf(file)); }

#else

/// The owner of a file by name, or by number when the system knows none.
Phrase ownerName(uid_t owner) {
  const passwd* entry = getpwuid(owner);
  if (entry) return std::string(entry->pw_name);
  return Phrase(wordings::kReasonUserNumber, {std::to_string(owner)});
}

/// What is at the lock file's name `path` that this run could not open or
/// lock, and what to do about it.
Phrase described(const std::string& path) {
  struct stat status;
  if (lstat(path.c_str(), &status) != 0)
    return Phrase(wordings::kReasonCannotOpen, {std::string(std::strerror(errno))});
  if (S_ISLNK(status.st_mode)) return movingAway(wordings::kReasonIsLink);
  if (S_ISDIR(status.st_mode)) return movingAway(wordings::kHintIsDirectory);
  if (S_ISFIFO(status.st_mode)) return movingAway(wordings::kReasonIsFifo);
  if (!S_ISREG(status.st_mode)) return movingAway(wordings::kReasonIsNoRegularFile);
  char mode[8];
  std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(status.st_mode & 07777));
  return Phrase(wordings::kReasonMayNotOpenOwned,
                {ownerName(status.st_uid), std::string(mode), path});
}

/// True when this user may make files in `directory` ("" for the working
/// directory).
bool mayWrite(const std::string& directory) {
  return faccessat(AT_FDCWD, directory.empty() ? "." : directory.c_str(), W_OK | X_OK,
                   AT_EACCESS) == 0;
}

/// Opens the lock file `path` of `directory`, creating it. Never through a
/// link, never waiting (a FIFO would hold `open` until a writer came), and
/// only a regular file. One that may not be written is opened for reading:
/// flock needs no more. Nothing opened in a directory this user may not
/// write: no lock is needed.
Opened openLockFile(const std::string& path, const std::string& directory) {
  constexpr int kHow = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  int fd = -1;
  // A file deleted between the two opens is made again.
  for (int attempt = 0; fd < 0 && attempt < 3; ++attempt) {
    fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | kHow, 0666);
    if (fd >= 0) {
      // Every user who may write the directory may lock it, whatever the
      // umask of the run that made it.
      fchmod(fd, 0666);
      break;
    }
    if (errno != EEXIST) break;
    fd = open(path.c_str(), O_RDWR | kHow);
    if (fd < 0 && errno != ENOENT && errno != ELOOP) fd = open(path.c_str(), O_RDONLY | kHow);
    if (fd < 0 && errno != ENOENT) break;
  }
  if (fd < 0) {
    if (!mayWrite(directory)) return {.unneeded = true};
    return {.reason = described(path)};
  }
  struct stat status;
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(fd);
    return {.reason = described(path)};
  }
  return {.file = fd};
}

bool sameFile(std::intptr_t one, std::intptr_t other) {
  struct stat a, b;
  return fstat(static_cast<int>(one), &a) == 0 && fstat(static_cast<int>(other), &b) == 0 &&
         a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

Attempt tryLocking(std::intptr_t file, Phrase& reason) {
  while (true) {
    if (flock(static_cast<int>(file), LOCK_EX | LOCK_NB) == 0) return Attempt::taken;
    if (errno == EINTR) continue;
    if (errno == EWOULDBLOCK) return Attempt::busy;
    reason = Phrase(wordings::kReasonCannotLock, {std::string(std::strerror(errno))});
    return Attempt::failed;
  }
}

void closeLockFile(std::intptr_t file) { close(static_cast<int>(file)); }

#endif

}  // namespace

RunLock::~RunLock() {
  lettingGo(thread_);
  lettingGo(own_);
}

void RunLock::lettingGo(Held& lock) {
  if (lock.file != -1) closeLockFile(lock.file);
  lock.file = -1;
}

bool RunLock::taking(std::chrono::milliseconds wait) { return taking(own_, wait); }

bool RunLock::covering(const std::string& thread, std::chrono::milliseconds wait) {
  std::error_code error;
  const fs::path found = fs::canonical(thread, error);
  if (error) return true;
  const fs::path directory = found.parent_path();
  const fs::path here = fs::canonical(fs::current_path(), error);
  if (!error && directory == here) return true;
  thread_.directory = directory.string();
  // The locks in the order of their directories: a run that holds one
  // waits only for a later one.
  if (own_.file == -1 || error || here < directory) return taking(thread_, wait);
  lettingGo(own_);
  return taking(thread_, wait) && taking(own_, wait);
}

bool RunLock::taking(Held& lock, std::chrono::milliseconds wait) {
  const std::string path = lock.directory.empty() ? std::string(kFileName)
                                                  : (fs::path(lock.directory) / kFileName).string();
  Opened opened = openLockFile(path, lock.directory);
  if (opened.file == -1) {
    if (opened.unneeded) return true;
    failure_ = unlockable(path, opened.reason);
    return false;
  }
  lock.file = opened.file;
  // The other directory may reach the same lock file (a bind mount): this
  // run holds it already.
  const Held& other = &lock == &own_ ? thread_ : own_;
  if (other.file != -1 && sameFile(other.file, lock.file)) {
    lettingGo(lock);
    return true;
  }
  // Asked again and again, at first often: a run usually takes a few
  // milliseconds, and the one waiting should follow soon after.
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + wait;
  std::chrono::milliseconds pause(1);
  while (true) {
    Phrase reason;
    switch (tryLocking(lock.file, reason)) {
      case Attempt::taken:
        return true;
      case Attempt::failed:
        failure_ = unlockable(path, reason);
        return false;
      case Attempt::busy:
        break;
    }
    if (Clock::now() >= deadline) {
      failure_ = busy(wait, path);
      return false;
    }
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(50));
  }
}
