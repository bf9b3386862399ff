#pragma once

// A file written in place of another, for pelk and tivor alike. Each program
// compiles its own copy of this header: neither links against the other.
//
// The bytes go to a partial file beside the target, created new under a name
// no other writer has (never through a link), and are renamed over the target
// on commit, so that the target holds the old text or the new one and never
// a part of either. The new file keeps the target's mode and, where the
// process may set it, its owner. A target that is a symbolic link stays one:
// the file it leads to is written (beside that file) instead; or, for a name
// that must not lead elsewhere (a file the program keeps for itself), the
// link is replaced by the new file, which then gets the mode a new file gets
// and this process's owner, and the file it led to is not touched.
//
// Partial files are named "<target>.<process>-<count>.<tag>", for example
// "who.txt.4711-1.pelk-part". While its writer lives, a partial file is held
// (an exclusive flock; on Windows a handle that shares neither reading nor
// writing), so that `removeAbandonedPartials` deletes only those of writers
// that were killed.

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#endif

namespace replacing {

/// True for a name of the partial shape with this tag: one or more bytes,
/// ".", digits, "-", digits, "." and the tag ("who.txt.4711-1.pelk-part").
inline bool isPartialName(std::string_view name, std::string_view tag) {
  const size_t tail = tag.size() + 1;
  if (name.size() <= tail || name.substr(name.size() - tag.size()) != tag ||
      name[name.size() - tail] != '.')
    return false;
  size_t at = name.size() - tail;
  // Backwards: digits, "-", digits, ".", then at least one byte.
  auto digits = [&]() {
    const size_t end = at;
    while (at > 0 && name[at - 1] >= '0' && name[at - 1] <= '9') --at;
    return at < end;
  };
  if (!digits() || at == 0 || name[--at] != '-') return false;
  if (!digits() || at == 0 || name[--at] != '.') return false;
  return at > 0;
}

namespace detail {

/// Partial files made by this process so far: a part of every new name.
inline unsigned long partialCount = 0;

/// The directory part of a name, with its final separator ("" for none).
inline std::string directoryOf(const std::string& name) {
#ifdef _WIN32
  const size_t slash = name.find_last_of("/\\");
#else
  const size_t slash = name.rfind('/');
#endif
  return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

/// The name of the `count`th partial file of this process beside `target`.
inline std::string partialNameFor(const std::string& target, std::string_view tag,
                                  unsigned long count) {
  const std::string directory = directoryOf(target);
  // A long name is cut, so that the partial name stays within what a
  // directory entry holds; the shape is all that matters.
  std::string base = target.substr(directory.size(), 200);
#ifdef _WIN32
  const unsigned long process = GetCurrentProcessId();
#else
  const unsigned long process = static_cast<unsigned long>(getpid());
#endif
  return directory + base + "." + std::to_string(process) + "-" + std::to_string(count) + "." +
         std::string(tag);
}

#ifndef _WIN32
/// The file that `name` leads to: symbolic links followed, a relative link
/// read from the directory of the link. False for a loop of links.
inline bool finalName(const std::string& name, std::string& final) {
  std::string at = name;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat status;
    if (lstat(at.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
      final = at;
      return true;
    }
    char link[PATH_MAX];
    const ssize_t length = readlink(at.c_str(), link, sizeof link);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof link) return false;
    const std::string target(link, static_cast<size_t>(length));
    at = target[0] == '/' ? target : directoryOf(at) + target;
  }
  return false;
}

/// The mode a new file gets: 0666 less the process's umask.
inline mode_t newFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}
#endif

#ifdef _WIN32
/// Appends `bytes` to `out`, every LF as CR LF.
inline void appendWithCrLf(std::string& out, std::string_view bytes) {
  size_t from = 0;
  for (size_t lf; (lf = bytes.find('\n', from)) != std::string_view::npos; from = lf + 1) {
    out.append(bytes.substr(from, lf - from));
    out += "\r\n";
  }
  out.append(bytes.substr(from));
}

/// Writes every byte to `file`; false when a write fails.
inline bool writingAll(HANDLE file, std::string_view bytes) {
  for (size_t done = 0; done < bytes.size();) {
    const DWORD ask = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, ask, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}
#else
/// Writes every byte to `fd`; false when a write fails.
inline bool writingAll(int fd, std::string_view bytes) {
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<size_t>(written);
  }
  return true;
}
#endif

}  // namespace detail

/// One file written in place of another: `open`, `write` any number of
/// times, then `commit`. Dropped without a commit, or after a failure, it
/// leaves the target as it was and no partial file.
class ReplacingFile {
 public:
  /// `tag` ends the names of the partial files. With `text`, every LF is
  /// written as the platform's line end (CR LF on Windows).
  ReplacingFile(std::string_view tag, bool text) : tag_(tag), text_(text) {}
  ~ReplacingFile() { discard(); }
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  /// Opens a new partial file for `target`. False when the target (or the
  /// file its links lead to) is no regular file, may not be written by this
  /// process, or no partial file can be made beside it. Without
  /// `followLinks`, a target that is a link counts as no file: the commit
  /// puts the new file in the link's place.
  bool open(const std::string& target, bool followLinks = true);
  /// Adds bytes; false once a write has failed.
  bool write(std::string_view bytes);
  /// Writes out what is gathered, so that the partial file holds every
  /// byte written; false once a write has failed.
  bool flushing();
  /// Puts the bytes written in place of the target. False when anything
  /// failed; the partial file is then gone and the target as it was.
  bool commit();
  /// Deletes the partial file, if there is one.
  void discard();
  /// The name of the partial file while it is open.
  const std::string& partialName() const { return partial_; }

 private:
  /// What is gathered before a write.
  static constexpr size_t kBuffered = size_t{1} << 16;

  std::string tag_;
  /// Line ends become CR LF (Windows alone).
  [[maybe_unused]] bool text_;
  std::string final_;
  std::string partial_;
  std::string buffer_;
  bool failed_ = false;
  bool existed_ = false;
#ifdef _WIN32
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  DWORD attributes_ = 0;
#else
  int fd_ = -1;
  struct stat target_ = {};
#endif
};

/// Deletes the partial file `name` that a killed writer left: only a regular
/// file (never a link nor a directory) that no living writer holds. False
/// when nothing was deleted.
inline bool removeAbandonedPartial(const std::string& name) {
#ifdef _WIN32
  const DWORD found = GetFileAttributesA(name.c_str());
  if (found == INVALID_FILE_ATTRIBUTES ||
      (found & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT)))
    return false;
  // Opened to be deleted on closing, sharing nothing: a living writer's
  // handle makes the open fail.
  HANDLE file = CreateFileA(name.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                            FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
#else
  const int fd = open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  bool removed = false;
  struct stat opened, named;
  // A living writer holds its flock until it has renamed or deleted the
  // file; the name must still be that of the file locked here.
  if (fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
      lstat(name.c_str(), &named) == 0 && named.st_dev == opened.st_dev &&
      named.st_ino == opened.st_ino)
    removed = unlink(name.c_str()) == 0;
  close(fd);
  return removed;
#endif
}

/// Deletes, in the working directory (or in its `folder`), the partial files
/// with this tag that killed writers left (see `removeAbandonedPartial`).
/// Other names stay, whatever they look like.
inline void removeAbandonedPartials(std::string_view tag, const std::string& folder = {}) {
  const std::string prefix = folder.empty() ? std::string() : folder + "/";
#ifdef _WIN32
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((prefix + "*." + std::string(tag)).c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (isPartialName(entry.cFileName, tag)) removeAbandonedPartial(prefix + entry.cFileName);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
#else
  DIR* directory = opendir(folder.empty() ? "." : folder.c_str());
  if (!directory) return;
  while (const dirent* entry = readdir(directory))
    if (isPartialName(entry->d_name, tag)) removeAbandonedPartial(prefix + entry->d_name);
  closedir(directory);
#endif
}

/// What `creatingNew` did.
enum class Creation { kCreated, kExists, kFailed };

/// Writes `bytes` to a new file `name`, for a name that nothing should have
/// yet (a temporary name of this run): created exclusively, never through a
/// link, with the mode a new file gets, written and closed; no partial file
/// and no rename. With `text`, every LF is written as the platform's line
/// end. `kExists` when something has the name (nothing is written: the
/// caller replaces it as any other file); on a failed write the new file is
/// deleted again.
inline Creation creatingNew(const std::string& name, std::string_view bytes, bool text) {
#ifdef _WIN32
  std::string converted;
  if (text) {
    detail::appendWithCrLf(converted, bytes);
    bytes = converted;
  }
  HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? Creation::kExists
                                                                       : Creation::kFailed;
  }
  bool failed = !detail::writingAll(file, bytes);
  if (!CloseHandle(file)) failed = true;
  if (failed) DeleteFileA(name.c_str());
#else
  (void)text;
  const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return errno == EEXIST ? Creation::kExists : Creation::kFailed;
  bool failed = !detail::writingAll(fd, bytes);
  if (close(fd) != 0) failed = true;
  if (failed) unlink(name.c_str());
#endif
  return failed ? Creation::kFailed : Creation::kCreated;
}

inline bool ReplacingFile::open(const std::string& target, bool followLinks) {
  discard();
  failed_ = false;
  buffer_.clear();
#ifdef _WIN32
  final_ = target;
  attributes_ = GetFileAttributesA(target.c_str());
  existed_ = attributes_ != INVALID_FILE_ATTRIBUTES;
  // A link (a reparse point) is renamed over as a name by MoveFileExA; not
  // followed, nothing of it is kept.
  if (existed_ && !followLinks && (attributes_ & FILE_ATTRIBUTE_REPARSE_POINT) &&
      !(attributes_ & FILE_ATTRIBUTE_DIRECTORY))
    existed_ = false;
  // A directory, a device or a read-only file is not replaced.
  if (existed_ &&
      (attributes_ & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_READONLY)))
    return false;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const std::string name = detail::partialNameFor(final_, tag_, ++detail::partialCount);
    // CREATE_NEW: never an existing name, nor a link of that name. Shared
    // for deletion only, so that the file can be renamed while this handle
    // holds it, and no cleaner (who shares nothing) can open it.
    handle_ = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ != INVALID_HANDLE_VALUE) {
      partial_ = name;
      return true;
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  return false;
#else
  if (!followLinks)
    final_ = target;
  else if (!detail::finalName(target, final_))
    return false;
  existed_ = lstat(final_.c_str(), &target_) == 0;
  // Not followed, a link is a name to be taken over, nothing of it kept.
  if (existed_ && !followLinks && S_ISLNK(target_.st_mode)) existed_ = false;
  if (existed_ &&
      (!S_ISREG(target_.st_mode) || faccessat(AT_FDCWD, final_.c_str(), W_OK, AT_EACCESS) != 0))
    return false;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const std::string name = detail::partialNameFor(final_, tag_, ++detail::partialCount);
    // O_EXCL with O_NOFOLLOW: a new file, never an existing one nor the file
    // a planted link leads to. Mode 0600 until the commit sets the final one.
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    // Held from here; a cleaner that deleted the new file before the lock
    // was taken leaves the name to another file or to none: try again.
    struct stat opened, named;
    if (flock(fd, LOCK_EX) != 0 || fstat(fd, &opened) != 0 || lstat(name.c_str(), &named) != 0 ||
        named.st_dev != opened.st_dev || named.st_ino != opened.st_ino) {
      close(fd);
      continue;
    }
    fd_ = fd;
    partial_ = name;
    return true;
  }
  return false;
#endif
}

inline bool ReplacingFile::write(std::string_view bytes) {
  if (partial_.empty() || failed_) return false;
#ifdef _WIN32
  if (text_)
    detail::appendWithCrLf(buffer_, bytes);
  else
    buffer_.append(bytes);
#else
  if (bytes.size() >= kBuffered) {
    // A large piece goes out as it is, behind what was gathered.
    if (!flushing() || !detail::writingAll(fd_, bytes)) failed_ = true;
    return !failed_;
  }
  buffer_.append(bytes);
#endif
  return buffer_.size() < kBuffered || flushing();
}

inline bool ReplacingFile::flushing() {
  if (partial_.empty()) return false;
#ifdef _WIN32
  if (!failed_ && !detail::writingAll(handle_, buffer_)) failed_ = true;
#else
  if (!failed_ && !detail::writingAll(fd_, buffer_)) failed_ = true;
#endif
  buffer_.clear();
  return !failed_;
}

inline bool ReplacingFile::commit() {
  if (partial_.empty() || failed_ || !flushing()) {
    discard();
    return false;
  }
#ifdef _WIN32
  // Renamed while still held, so that no cleaner takes it on the way.
  if (existed_)
    SetFileAttributesA(partial_.c_str(),
                       attributes_ & (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                      FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
  // A target that another process holds open for a moment (a reader, a
  // virus scanner, another rename over it) refuses the rename: asked again
  // for up to two seconds.
  for (int attempt = 0; !MoveFileExA(partial_.c_str(), final_.c_str(), MOVEFILE_REPLACE_EXISTING);
       ++attempt) {
    const DWORD error = GetLastError();
    if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || attempt == 100) {
      discard();
      return false;
    }
    Sleep(20);
  }
  CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
#else
  if (existed_) {
    // The owner first: changing it may clear the set-ID bits of the mode.
    // A process that may not give the file away keeps at least the group
    // where it can. Neither is a failure: the mode still applies.
    if ((target_.st_uid != geteuid() || target_.st_gid != getegid()) &&
        fchown(fd_, target_.st_uid, target_.st_gid) != 0 &&
        fchown(fd_, static_cast<uid_t>(-1), target_.st_gid) != 0) {
      // The file belongs to this process's user and group.
    }
    fchmod(fd_, target_.st_mode & 07777);
  } else {
    fchmod(fd_, detail::newFileMode());
  }
  // Renamed while still held, so that no cleaner takes it on the way.
  if (rename(partial_.c_str(), final_.c_str()) != 0) {
    discard();
    return false;
  }
  close(fd_);
  fd_ = -1;
#endif
  partial_.clear();
  return true;
}

inline void ReplacingFile::discard() {
#ifdef _WIN32
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  if (!partial_.empty()) DeleteFileA(partial_.c_str());
#else
  // Deleted while still held: a cleaner never meets a half-gone file.
  if (!partial_.empty()) unlink(partial_.c_str());
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
#endif
  partial_.clear();
  buffer_.clear();
}

}  // namespace replacing
