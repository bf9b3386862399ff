#include "Disk.hpp"

#include "RealDisk.hpp"

namespace {

Disk* installed = nullptr;

}  // namespace

Disk& currentDisk() {
  static RealDisk real;
  return installed ? *installed : real;
}

ScopedDisk::ScopedDisk(Disk* disk) : previous_(installed) { installed = disk; }

ScopedDisk::~ScopedDisk() { installed = previous_; }
