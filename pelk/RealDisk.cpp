#include "RealDisk.hpp"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "OS-specific.hpp"

namespace fs = std::filesystem;

bool RealDisk::readFile(const std::string& name, std::string* contents) {
  // The size of anything but a regular file is an error: one look both
  // rejects directories and the like and tells how much to read.
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(name, ec);
  if (ec) return false;
  std::ifstream in(name, std::ios::binary);
  if (!in) return false;
  // Room for the whole file up front, so a thread of many megabytes is not
  // copied as its text grows (filling the text with zeros to read straight
  // into it costs more than the small copies below); a file that grows
  // meanwhile still reads whole.
  std::string text;
  text.reserve(static_cast<size_t>(size));
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) text.append(buffer, in.gcount());
  if (in.bad()) return false;
  *contents = std::move(text);
  return true;
}

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

/// Writes to "<name>.pelk-part"; the commit renames it over the final name,
/// so a failed write leaves the old file as it was. Dropped without a
/// commit, or after a failure, the sibling file is removed.
class PartWriter : public Disk::Writer {
 public:
  explicit PartWriter(std::string partial)
      : partial_(std::move(partial)),
        out_(partial_, std::ios::binary | std::ios::trunc),
        opened_(out_.is_open()) {}
  ~PartWriter() override {
    if (opened_ && !committed_) discard();
  }
  bool opened() const { return opened_; }
  bool append(std::string_view bytes) override {
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return out_.good();
  }
  bool commit(const std::string& name) override {
    out_.close();
    std::error_code ec;
    if (!out_.fail()) fs::rename(partial_, name, ec);
    if (out_.fail() || ec) return false;  // the destructor removes the sibling
    committed_ = true;
    return true;
  }

 private:
  void discard() {
    out_.close();
    std::error_code ec;
    fs::remove(partial_, ec);
  }

  std::string partial_;
  std::ofstream out_;
  const bool opened_;
  bool committed_ = false;
};

}  // namespace

std::unique_ptr<Disk::Reader> RealDisk::openReader(const std::string& name) {
  // As `readFile`: anything but a regular file is refused.
  if (!isRegularFile(name)) return nullptr;
  auto reader = std::make_unique<FileReader>(name);
  if (!reader->opened()) return nullptr;
  return reader;
}

std::unique_ptr<Disk::Writer> RealDisk::openWriter(const std::string& name) {
  // A directory of that name refuses the rename, and the sibling is removed
  // again.
  auto writer = std::make_unique<PartWriter>(name + ".pelk-part");
  if (!writer->opened()) return nullptr;
  return writer;
}

bool RealDisk::writeFile(const std::string& name, const std::string& contents) {
  std::unique_ptr<Writer> writer = openWriter(name);
  return writer && writer->append(contents) && writer->commit(name);
}

bool RealDisk::exists(const std::string& name) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(name, ec));
}

bool RealDisk::isRegularFile(const std::string& name) {
  std::error_code ec;
  return fs::is_regular_file(name, ec);
}

bool RealDisk::removeFile(const std::string& name) {
  std::error_code ec;
  if (!fs::is_regular_file(fs::symlink_status(name, ec))) return false;
  return fs::remove(name, ec);
}

std::vector<std::string> RealDisk::findFiles(const std::string& pattern) {
  return searchDirectory(pattern);
}
