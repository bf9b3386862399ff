#include "TimeName.hpp"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "Disk.hpp"
#include "LineReader.hpp"
#include "LocalTime.hpp"

namespace {

// The serial number of the run, mirrored in serial.txt.
int sn = 0;
// Live Holds; while there is one, `sn` is newer than serial.txt once `current`.
int holds = 0;
bool current = false;
bool unsaved = false;

void writeSerialNumber(Disk& disk) {
  // A serial.txt that cannot be written keeps the value for this run only.
  // A link planted at the name is replaced, never written through.
  disk.writeFile(kSerialText, std::to_string(sn) + "\n", Disk::Links::kNotFollowed);
}

void saveSerialNumber(Disk& disk) {
  if (holds > 0) {
    current = true;
    unsaved = true;
    return;
  }
  writeSerialNumber(disk);
}

}  // namespace

TimeName::TimeName(Disk& disk, const Clock& clock, const std::string& prefixText,
                   const std::string& extensionText)
    : disk(&disk), clock(&clock), prefix(prefixText), front(prefixText), extension(extensionText) {}

TimeName TimeName::reading(Disk& disk, const Clock& clock, const std::string& prefixText,
                           const std::string& extensionText) {
  TimeName name(disk, clock, prefixText, extensionText);
  name.readSerialNumber();
  return name;
}

std::string TimeName::build(int minute, int second) const {
  return front + std::to_string(minute) + dash + std::to_string(second) + extension;
}

std::string TimeName::temporaryName(bool serial) {
  claimedName(serial);
  return passingTaken();
}

std::string TimeName::claimedName(bool serial) {
  const std::tm now = localTime(clock->now());
  minute = now.tm_min;
  second = now.tm_sec;
  if (serial) setSerialNumber();
  std::string name = build(minute, second);
  while (name == last) {
    setSerialNumber();
    name = build(minute, second);
  }
  last = name;
  return name;
}

std::string TimeName::passingBy() {
  setSerialNumber();
  last = build(minute, second);
  return last;
}

std::string TimeName::passingTaken() {
  // A name that something on the disk already has (the output of a run in the
  // same second, or at the same minute and second of another hour; a
  // directory; a file of the user's) is never written over: it gets the next
  // serial number, until one is free.
  while (disk->exists(last)) passingBy();
  return last;
}

void TimeName::readSerialNumber() {
  if (holds > 0 && current) return;
  std::string text;
  std::string first;
  // A link at the name counts as no serial.txt.
  if (!disk->readFile(kSerialText, &text, Disk::Links::kNotFollowed)) {
    zeroSerialNumber();
    return;
  }
  LineReader in(text);
  if (!in.next(first) || first.size() > kMaxLine1Length) {
    zeroSerialNumber();
    return;
  }
  errno = 0;
  long value = std::strtol(first.c_str(), nullptr, 10);
  // A negative number counts as 0.
  if (value > INT_MAX) value = INT_MAX;
  if (value < 0) value = 0;
  sn = static_cast<int>(value);
  if (holds > 0) current = true;
}

void TimeName::setSerialNumber() {
  // After the largest int comes 1: a name never gets the number it had.
  sn = sn < INT_MAX ? sn + 1 : 1;
  saveSerialNumber(*disk);
  front = prefix + std::to_string(sn) + dash;
}

void TimeName::zeroSerialNumber() {
  sn = 0;
  saveSerialNumber(*disk);
}

TimeName::Hold::Hold(Disk& disk) : disk_(disk) { ++holds; }

TimeName::Hold::~Hold() {
  if (--holds > 0) return;
  if (unsaved) writeSerialNumber(disk_);
  unsaved = false;
  current = false;
}
