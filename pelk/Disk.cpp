#include "Disk.hpp"

namespace {

/// Gathers the bytes in memory and hands them to `writeFile` on commit.
class GatheringWriter : public Disk::Writer {
 public:
  GatheringWriter(Disk& disk, Disk::Links links) : disk_(disk), links_(links) {}
  bool append(std::string_view bytes) override {
    bytes_ += bytes;
    return true;
  }
  bool commit(const std::string& name) override { return disk_.writeFile(name, bytes_, links_); }

 private:
  Disk& disk_;
  Disk::Links links_;
  std::string bytes_;
};

/// Hands out a text read whole.
class WholeReader : public Disk::Reader {
 public:
  explicit WholeReader(std::string text) : text_(std::move(text)) {}
  size_t read(char* buffer, size_t size) override {
    const size_t n = text_.copy(buffer, size, at_);
    at_ += n;
    return n;
  }
  bool failed() const override { return false; }

 private:
  std::string text_;
  size_t at_ = 0;
};

}  // namespace

std::unique_ptr<Disk::Reader> Disk::openReader(const std::string& name, Links links) {
  std::string text;
  if (!readFile(name, &text, links)) return nullptr;
  return std::make_unique<WholeReader>(std::move(text));
}

std::unique_ptr<Disk::Writer> Disk::openWriter(const std::string& /*name*/, LineEnds /*ends*/,
                                               Links links) {
  return std::make_unique<GatheringWriter>(*this, links);
}
