// Consecutive: dateLine on any sample line, then many rebuild calls, with
// any tivor.txt (or none) behind the generated IDs and a clock at any second.
// A sample that is no date line comes back unchanged; otherwise each header
// carries the next post number and a well-formed time 25 seconds on.

#include "Consecutive.hpp"

#include <string>

#include "Alterable.hpp"
#include "Disk.hpp"
#include "FuzzInput.hpp"
#include "LocalTime.hpp"
#include "MemoryDisk.hpp"

namespace {

bool wellFormedTime(const std::string& t) {
  auto two = [&](size_t at, int below) {
    return t[at] >= '0' && t[at] <= '9' && t[at + 1] >= '0' && t[at + 1] <= '9' &&
           (t[at] - '0') * 10 + (t[at + 1] - '0') < below;
  };
  return t.size() == 8 && t[2] == ':' && t[5] == ':' && two(0, 24) && two(3, 60) && two(6, 60);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const int calls = input.byte();
  const uint8_t mode = input.byte();
  // Any second of a year, so that the day may change under the headers.
  uint32_t second = 0;
  for (int i = 0; i < 3; ++i) second = second * 256 + input.byte();
  const std::time_t now = std::time_t{1483228800} + second % (366 * 86400);
  MemoryDisk disk;
  FixedClock clock(now);
  const std::string sample = input.text();
  if (!(mode & 1)) disk.files["tivor.txt"] = input.all();

  Consecutive headers(sample, disk, clock);
  const int y = headers.dateLine();
  FUZZ_CHECK(y >= 0);
  // 9 is also the code of a sample in the vemo form, which is taken as is.
  if (y == 0 || (y == 9 && sample[5] == '^')) {
    FUZZ_CHECK(headers.rebuild() == sample);
    return 0;
  }
  std::string previous = sample;
  for (int i = 0; i < calls; ++i) {
    const std::string number = previous.substr(0, previous.find_first_not_of("0123456789"));
    const std::string header = headers.rebuild();
    FUZZ_CHECK(header.compare(0, header.find(' '), std::to_string(stringToInteger(number) + 1)) ==
               0);
    FUZZ_CHECK(wellFormedTime(headers.resTime()));
    previous = header;
  }
  return 0;
}
