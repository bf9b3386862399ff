#include "RealDisk.hpp"

#include <fstream>

#include "OS-specific.hpp"
#include "ReplacingFile.hpp"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace {

/// Reads an open file; a failed read ends it and is remembered.
class FileReader : public Disk::Reader {
 public:
  explicit FileReader(const std::string& name) : in_(name, std::ios::binary) {}
  bool opened() const { return in_.is_open(); }
  size_t read(char* buffer, size_t size) override {
    if (failed_ || !in_.is_open()) return 0;
    in_.read(buffer, static_cast<std::streamsize>(size));
    if (in_.bad()) {
      failed_ = true;
      return 0;
    }
    const size_t n = static_cast<size_t>(in_.gcount());
    // The end of the file lets it go at once, so that it is closed before
    // the output may be renamed over it.
    if (n == 0) in_.close();
    return n;
  }
  bool failed() const override { return failed_; }

 private:
  std::ifstream in_;
  bool failed_ = false;
};

#ifndef _WIN32
/// Reads a file opened by its own name: a link there is never followed.
class NameReader : public Disk::Reader {
 public:
  /// Opens `name` as itself: a link, or anything but a regular file, leaves
  /// it unopened.
  explicit NameReader(const std::string& name) {
    // O_NONBLOCK: a fifo planted at the name does not hold the open.
    const int fd = ::open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    struct stat status;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
      close(fd);
      return;
    }
    fd_ = fd;
  }
  ~NameReader() override { closing(); }
  NameReader(const NameReader&) = delete;
  NameReader& operator=(const NameReader&) = delete;
  bool opened() const { return fd_ >= 0; }
  size_t read(char* buffer, size_t size) override {
    if (failed_ || fd_ < 0) return 0;
    ssize_t n;
    while ((n = ::read(fd_, buffer, size)) < 0 && errno == EINTR) {
    }
    if (n < 0) {
      failed_ = true;
      closing();
      return 0;
    }
    // Let go at the end, as FileReader does.
    if (n == 0) closing();
    return static_cast<size_t>(n);
  }
  bool failed() const override { return failed_; }

 private:
  void closing() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }
  int fd_ = -1;
  bool failed_ = false;
};
#endif

/// The reader of the name itself, never of what a link there leads to;
/// nullptr when it is no regular file.
std::unique_ptr<Disk::Reader> nameReader(const std::string& name) {
#ifdef _WIN32
  // A link is a reparse point; its name is refused, as is a directory.
  const DWORD found = GetFileAttributesA(name.c_str());
  if (found == INVALID_FILE_ATTRIBUTES ||
      (found & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT)))
    return nullptr;
  auto reader = std::make_unique<FileReader>(name);
#else
  auto reader = std::make_unique<NameReader>(name);
#endif
  if (!reader->opened()) return nullptr;
  return reader;
}

/// Writes text, with the platform's line ends, to a partial file beside the
/// name it was opened for, and renames it over that name on commit (see
/// ReplacingFile). Dropped without a commit, or after a failure, it leaves
/// the old file as it was and no partial file.
class PartWriter : public Disk::Writer {
 public:
  explicit PartWriter(bool text) : file_(kPartialTag, text) {}
  bool open(const std::string& name, bool followLinks) { return file_.open(name, followLinks); }
  bool append(std::string_view bytes) override { return file_.write(bytes); }
  bool finishing() override { return file_.flushing(); }
  /// Commits to the name the writer was opened for, which is `name`.
  bool commit(const std::string& /*name*/) override { return file_.commit(); }

 private:
  replacing::ReplacingFile file_;
};

#ifndef _WIN32
/// Reads the file `name` as itself, as a `NameReader` does, in as few calls
/// as a small file allows: opened, its size taken, read in one call that
/// asks for a byte more than that size, closed. A read that stops short
/// at exactly that size has met the end; any other (the file grew or shrank
/// meanwhile) is followed by more until a read gives nothing.
bool readingByName(const std::string& name, std::string* contents) {
  const int fd = ::open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat status;
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(fd);
    return false;
  }
  const std::size_t size = static_cast<std::size_t>(status.st_size);
  std::string text(size + 1, '\0');
  std::size_t got = 0;
  bool ended = false;
  bool failed = false;
  while (!ended) {
    if (got == text.size()) text.resize(text.size() * 2);
    const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      failed = true;
      break;
    }
    got += static_cast<std::size_t>(n);
    // The text is always longer than `size`: a read that ends there stopped short.
    ended = n == 0 || got == size;
  }
  close(fd);
  if (failed) return false;
  text.resize(got);
  *contents = std::move(text);
  return true;
}
#endif

}  // namespace

bool RealDisk::readFile(const std::string& name, std::string* contents, Links links) {
  if (links == Links::kNotFollowed) {
#ifndef _WIN32
    return readingByName(name, contents);
#else
    std::unique_ptr<Reader> reader = nameReader(name);
    if (!reader) return false;
    std::string text;
    char buffer[1 << 16];
    while (const size_t n = reader->read(buffer, sizeof buffer)) text.append(buffer, n);
    if (reader->failed()) return false;
    *contents = std::move(text);
    return true;
#endif
  }
  if (!isRegularFile(name)) return false;
  std::ifstream in(name, std::ios::binary);
  if (!in) return false;
  std::string text;
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) text.append(buffer, in.gcount());
  if (in.bad()) return false;
  *contents = std::move(text);
  return true;
}

std::unique_ptr<Disk::Reader> RealDisk::openReader(const std::string& name, Links links) {
  if (links == Links::kNotFollowed) return nameReader(name);
  // As `readFile`: anything but a regular file is refused.
  if (!isRegularFile(name)) return nullptr;
  auto reader = std::make_unique<FileReader>(name);
  if (!reader->opened()) return nullptr;
  return reader;
}

std::unique_ptr<Disk::Writer> RealDisk::openWriter(const std::string& name, LineEnds ends,
                                                   Links links) {
  auto writer = std::make_unique<PartWriter>(ends == LineEnds::kPlatform);
  if (!writer->open(name, links == Links::kFollowed)) return nullptr;
  return writer;
}

bool RealDisk::writeFile(const std::string& name, const std::string& contents, Links links) {
  std::unique_ptr<Writer> writer = openWriter(name, LineEnds::kPlatform, links);
  return writer && writer->append(contents) && writer->commit(name);
}

Disk::Creation RealDisk::creatingFile(const std::string& name, const std::string& contents) {
  switch (replacing::creatingNew(name, contents, true)) {
    case replacing::Creation::kCreated:
      return Creation::kNew;
    case replacing::Creation::kExists:
      return Creation::kTaken;
    case replacing::Creation::kFailed:
      break;
  }
  return Creation::kFailed;
}

bool RealDisk::exists(const std::string& name) { return nameExists(name); }

bool RealDisk::isRegularFile(const std::string& name) { return isRegularFileName(name); }

Disk::Kind RealDisk::kindOf(const std::string& name) {
  switch (fileKindOf(name)) {
    case FileKind::kNone:
      return Kind::kNone;
    case FileKind::kRegular:
      return Kind::kRegular;
    case FileKind::kDirectory:
      return Kind::kDirectory;
    case FileKind::kSpecial:
      break;
  }
  return Kind::kSpecial;
}

bool RealDisk::sameFile(const std::string& a, const std::string& b) { return sameFileOf(a, b); }

bool RealDisk::removeFile(const std::string& name) { return deleteRegularFile(name); }

bool RealDisk::renameFile(const std::string& from, const std::string& to) {
  return renameRegularFile(from, to);
}

bool RealDisk::makeDirectory(const std::string& name) { return makeDirectoryName(name); }

void RealDisk::sharingAs(const std::string& like, const std::string& name) {
  sharingModeOf(like, name);
}

void RealDisk::eachFile(const std::string& pattern,
                        const std::function<void(const std::string&)>& each) {
  searchDirectory(pattern, each);
}

void RealDisk::removeAbandonedPartials(const std::string& folder) {
  replacing::removeAbandonedPartials(kPartialTag, folder);
}
