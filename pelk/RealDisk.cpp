#include "RealDisk.hpp"

#include <fstream>

#include "OS-specific.hpp"

namespace {

// Writes the text with every LF turned into the platform's line end.
void writeLines(std::ostream& out, std::string_view text) {
  if constexpr (sizeof kPlatformLineEnd == 2) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return;
  }
  size_t from = 0;
  for (size_t lf; (lf = text.find('\n', from)) != std::string_view::npos; from = lf + 1) {
    out.write(text.data() + from, static_cast<std::streamsize>(lf - from));
    out.write(kPlatformLineEnd, sizeof kPlatformLineEnd - 1);
  }
  out.write(text.data() + from, static_cast<std::streamsize>(text.size() - from));
}

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
/// commit, or after a failure, the sibling file is deleted.
class PartWriter : public Disk::Writer {
 public:
  explicit PartWriter(std::string partial)
      : partial_(std::move(partial)),
        out_(partial_, std::ios::binary | std::ios::trunc),
        opened_(out_.is_open()) {}
  ~PartWriter() override {
    if (opened_ && !committed_) {
      out_.close();
      deleteRegularFile(partial_);
    }
  }
  bool opened() const { return opened_; }
  bool append(std::string_view bytes) override {
    writeLines(out_, bytes);
    return out_.good();
  }
  bool commit(const std::string& name) override {
    out_.close();
    // On failure the destructor deletes the sibling.
    if (out_.fail() || !renameReplacing(partial_, name)) return false;
    committed_ = true;
    return true;
  }

 private:
  std::string partial_;
  std::ofstream out_;
  const bool opened_;
  bool committed_ = false;
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

std::unique_ptr<Disk::Writer> RealDisk::openWriter(const std::string& name) {
  if (isDirectoryName(name)) return nullptr;
  auto writer = std::make_unique<PartWriter>(name + ".pelk-part");
  if (!writer->opened()) return nullptr;
  return writer;
}

bool RealDisk::writeFile(const std::string& name, const std::string& contents) {
  std::unique_ptr<Writer> writer = openWriter(name);
  return writer && writer->append(contents) && writer->commit(name);
}

bool RealDisk::exists(const std::string& name) { return nameExists(name); }

bool RealDisk::isRegularFile(const std::string& name) { return isRegularFileName(name); }

bool RealDisk::removeFile(const std::string& name) { return deleteRegularFile(name); }

std::vector<std::string> RealDisk::findFiles(const std::string& pattern) {
  return searchDirectory(pattern);
}
