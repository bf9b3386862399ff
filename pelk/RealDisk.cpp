#include "RealDisk.hpp"

#include <fstream>

#include "OS-specific.hpp"
#include "ReplacingFile.hpp"

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

/// Writes text, with the platform's line ends, to a partial file beside the
/// name it was opened for, and renames it over that name on commit (see
/// ReplacingFile). Dropped without a commit, or after a failure, it leaves
/// the old file as it was and no partial file.
class PartWriter : public Disk::Writer {
 public:
  explicit PartWriter(bool text) : file_(kPartialTag, text) {}
  bool open(const std::string& name) { return file_.open(name); }
  bool append(std::string_view bytes) override { return file_.write(bytes); }
  bool finishing() override { return file_.flushing(); }
  /// Commits to the name the writer was opened for, which is `name`.
  bool commit(const std::string& /*name*/) override { return file_.commit(); }

 private:
  replacing::ReplacingFile file_;
};

}  // namespace

bool RealDisk::readFile(const std::string& name, std::string* contents) {
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

std::unique_ptr<Disk::Reader> RealDisk::openReader(const std::string& name) {
  // As `readFile`: anything but a regular file is refused.
  if (!isRegularFile(name)) return nullptr;
  auto reader = std::make_unique<FileReader>(name);
  if (!reader->opened()) return nullptr;
  return reader;
}

std::unique_ptr<Disk::Writer> RealDisk::openWriter(const std::string& name, LineEnds ends) {
  auto writer = std::make_unique<PartWriter>(ends == LineEnds::kPlatform);
  if (!writer->open(name)) return nullptr;
  return writer;
}

bool RealDisk::writeFile(const std::string& name, const std::string& contents) {
  std::unique_ptr<Writer> writer = openWriter(name);
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

void RealDisk::eachFile(const std::string& pattern,
                        const std::function<void(const std::string&)>& each) {
  searchDirectory(pattern, each);
}

void RealDisk::removeAbandonedPartials(const std::string& folder) {
  replacing::removeAbandonedPartials(kPartialTag, folder);
}
