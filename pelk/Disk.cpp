#include "Disk.hpp"

#include "RealDisk.hpp"

namespace {

Disk* installed = nullptr;

/// Gathers the bytes in memory and hands them to `writeFile` on commit.
class GatheringWriter : public Disk::Writer {
 public:
  explicit GatheringWriter(Disk& disk) : disk_(disk) {}
  bool append(std::string_view bytes) override {
    bytes_ += bytes;
    return true;
  }
  bool commit(const std::string& name) override { return disk_.writeFile(name, bytes_); }

 private:
  Disk& disk_;
  std::string bytes_;
};

}  // namespace

std::unique_ptr<Disk::Writer> Disk::openWriter(const std::string& /*name*/) {
  return std::make_unique<GatheringWriter>(*this);
}

Disk& currentDisk() {
  static RealDisk real;
  return installed ? *installed : real;
}

ScopedDisk::ScopedDisk(Disk* disk) : previous_(installed) { installed = disk; }

ScopedDisk::~ScopedDisk() { installed = previous_; }
