// Any pass on any thread file and any companion file, in an in-memory
// working directory with a fixed clock, the way the driver runs one: the
// temporary files listed in remove_e.txt go first, then the pass, then the
// new listing. The first byte picks the pass, the second its switches, the
// third the period (and the matrix switch); then come the thread file, the
// companion file, serial.txt, remove_e.txt and tivor.txt.
//
// Whatever the bytes, the pass ends, reports a failure with a numbered
// message, and leaves the thread file as it was unless it was told to
// overwrite it and succeeded.

#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "Alterable.hpp"
#include "Cleanup.hpp"
#include "Clock.hpp"
#include "Disk.hpp"
#include "FuzzInput.hpp"
#include "LocalTime.hpp"
#include "MemoryDisk.hpp"
#include "passes/PassList.hpp"

namespace {

/// Each pass once, in the order of the pass list: the first byte of an
/// input picks one.
std::vector<const PassOption*> passes() {
  std::vector<const PassOption*> found;
  for (const PassOption& row : passList())
    if (!row.alias) found.push_back(&row);
  return found;
}

/// A working directory whose writes start failing from a given one on, as
/// a file system that fills up.
class FillingDisk : public MemoryDisk {
 public:
  bool writeFile(const std::string& name, const std::string& contents,
                 Links links = Links::kFollowed) override {
    if (writes++ >= failFrom) return false;
    return MemoryDisk::writeFile(name, contents, links);
  }
  int writes = 0;
  int failFrom = 1 << 30;
};

/// "e<digits>" then ":" or "(": the shape of every failure message.
bool numbered(const std::string& message) {
  size_t at = 1;
  if (message.empty() || message[0] != 'e') return false;
  while (at < message.size() && std::isdigit(static_cast<unsigned char>(message[at]))) ++at;
  return at > 1 && at < message.size() && (message[at] == ':' || message[at] == '(');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  static const std::vector<const PassOption*> kPasses = passes();
  const PassOption& entry = *kPasses[input.byte() % kPasses.size()];
  const uint8_t switches = input.byte();
  const bool keepLine1 = !(switches & 1);
  const bool serial = switches & 2;
  const bool overwrite = switches & 4;
  const bool threadIsWho = switches & 8;
  const bool companionMissing = switches & 16;
  // 0: every write works; otherwise writes fail from number (n - 1) on.
  const int failing = switches >> 5;
  const uint8_t periodByte = input.byte();
  const bool matrix = periodByte & 0x80;
  const int period = (periodByte & 0x7F) - 1;

  FillingDisk disk;
  FixedClock clock(std::time_t{1502694920});
  std::string threadName = threadIsWho ? "who.txt" : "thread.txt";
  // The companion file name the driver sets for the pass.
  std::string companion = entry.companion ? entry.companion : "exclude.txt";
  const std::string thread = input.text();
  disk.files[threadName] = thread;
  const std::string companionText = input.text();
  if (!companionMissing) disk.files[companion] = companionText;
  if (const std::string text = input.text(); !text.empty()) disk.files["serial.txt"] = text;
  if (const std::string text = input.text(); !text.empty()) disk.files["remove_e.txt"] = text;
  if (const std::string text = input.text(); !text.empty()) disk.files["tivor.txt"] = text;

  removeTemporaryFiles(disk);
  // Neither the thread file nor the companion file is a temporary file.
  FUZZ_CHECK(disk.files.count(threadName) && disk.files[threadName] == thread);
  FUZZ_CHECK(companionMissing || disk.files.count(companion));

  std::unique_ptr<Alterable> pass = entry.make();
  if (failing) disk.failFrom = failing - 1;
  pass->setting({.companion = companion,
                 .period = period,
                 .keepLine1 = keepLine1,
                 .matrix = matrix,
                 .serial = serial,
                 .overwrite = overwrite,
                 .disk = &disk,
                 .clock = &clock});
  const bool done = pass->altering(threadName);
  if (done) {
    FUZZ_CHECK(!pass->altered().empty() && disk.files.count(pass->altered()));
    if (pass->altered() != threadName) FUZZ_CHECK(disk.files[threadName] == thread);
  } else {
    FUZZ_CHECK(numbered(pass->inquiry()));
    FUZZ_CHECK(disk.files.count(threadName) && disk.files[threadName] == thread);
  }
  createRemoveErrorText(disk);
  return 0;
}
