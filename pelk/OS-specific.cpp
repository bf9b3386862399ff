#include "OS-specific.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <sys/stat.h>

#include <filesystem>
#include <system_error>
#endif

namespace {

char folded(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

#ifdef _WIN32
// Attributes of a name, or INVALID_FILE_ATTRIBUTES when nothing has it.
DWORD attributes(const std::string& name) { return GetFileAttributesA(name.c_str()); }
#endif

}  // namespace

bool matchesPattern(const std::string& pattern, const std::string& name) {
  // Iterative wildcard match with one backtrack point for the last "*".
  size_t p = 0, n = 0, starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || folded(pattern[p]) == folded(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

#ifdef _WIN32

void searchDirectory(const std::string& pattern,
                     const std::function<void(const std::string&)>& each) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    each(entry.cFileName);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
}

bool nameExists(const std::string& name) { return attributes(name) != INVALID_FILE_ATTRIBUTES; }

bool isRegularFileName(const std::string& name) {
  const DWORD found = attributes(name);
  return found != INVALID_FILE_ATTRIBUTES &&
         !(found & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
}

FileKind fileKindOf(const std::string& name) {
  const DWORD found = attributes(name);
  if (found == INVALID_FILE_ATTRIBUTES) return FileKind::kNone;
  if (found & FILE_ATTRIBUTE_DIRECTORY) return FileKind::kDirectory;
  if (found & FILE_ATTRIBUTE_DEVICE) return FileKind::kSpecial;
  return FileKind::kRegular;
}

bool sameFileOf(const std::string& a, const std::string& b) {
  // Opened for no access at all, sharing everything: only to ask who it is.
  // Backup semantics lets a directory be opened too.
  auto identify = [](const std::string& name, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE file =
        CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool known = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    return known;
  };
  BY_HANDLE_FILE_INFORMATION x;
  BY_HANDLE_FILE_INFORMATION y;
  return identify(a, x) && identify(b, y) && x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
         x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

bool deleteRegularFile(const std::string& name) {
  const DWORD found = attributes(name);
  if (found == INVALID_FILE_ATTRIBUTES ||
      (found & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT)))
    return false;
  return DeleteFileA(name.c_str()) != 0;
}

bool renameRegularFile(const std::string& from, const std::string& to) {
  const DWORD found = attributes(from);
  if (found == INVALID_FILE_ATTRIBUTES ||
      (found & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT)))
    return false;
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool makeDirectoryName(const std::string& name) {
  if (CreateDirectoryA(name.c_str(), nullptr)) return true;
  const DWORD found = attributes(name);
  return found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_DIRECTORY);
}

void sharingModeOf(const std::string&, const std::string&) {}

#else

namespace fs = std::filesystem;

void searchDirectory(const std::string& pattern,
                     const std::function<void(const std::string&)>& each) {
  const size_t slash = pattern.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : pattern.substr(0, slash);
  const std::string leaf = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
  // readdir itself: a directory of hundreds of thousands of expansion files
  // is walked once a pattern, and no path is made of a name that does not match.
  DIR* directory = opendir(folder.c_str());
  if (directory == nullptr) return;
  std::string name;
  while (const dirent* entry = readdir(directory)) {
    name.assign(entry->d_name);
    if (name == "." || name == "..") continue;
    if (matchesPattern(leaf, name)) each(name);
  }
  closedir(directory);
}

bool nameExists(const std::string& name) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(name, ec));
}

bool isRegularFileName(const std::string& name) {
  std::error_code ec;
  return fs::is_regular_file(name, ec);
}

FileKind fileKindOf(const std::string& name) {
  std::error_code ec;
  const fs::file_status status = fs::status(name, ec);
  if (!fs::exists(status)) return FileKind::kNone;
  if (fs::is_regular_file(status)) return FileKind::kRegular;
  if (fs::is_directory(status)) return FileKind::kDirectory;
  return FileKind::kSpecial;
}

bool sameFileOf(const std::string& a, const std::string& b) {
  struct stat x;
  struct stat y;
  return stat(a.c_str(), &x) == 0 && stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev &&
         x.st_ino == y.st_ino;
}

bool deleteRegularFile(const std::string& name) {
  std::error_code ec;
  if (!fs::is_regular_file(fs::symlink_status(name, ec))) return false;
  return fs::remove(name, ec);
}

bool renameRegularFile(const std::string& from, const std::string& to) {
  std::error_code ec;
  if (!fs::is_regular_file(fs::symlink_status(from, ec))) return false;
  fs::rename(from, to, ec);
  return !ec;
}

bool makeDirectoryName(const std::string& name) {
  std::error_code ec;
  // A folder made now is open to whoever may write the directory it lies
  // in, whatever this run's umask: another user's run keeps its texts there
  // too.
  if (fs::create_directory(name, ec)) {
    const fs::path parent = fs::path(name).parent_path();
    const fs::perms shared = fs::status(parent.empty() ? fs::path(".") : parent, ec).permissions();
    if (!ec) fs::permissions(name, shared & fs::perms::mask, ec);
  }
  return fs::is_directory(name, ec);
}

void sharingModeOf(const std::string& like, const std::string& name) {
  std::error_code ec;
  const fs::perms perms = fs::status(like, ec).permissions();
  if (!ec) fs::permissions(name, perms & fs::perms::mask, ec);
}

#endif
