// GapID's reading of tivor.txt: any bytes, a file that changes or goes away
// between identifiers. Every identifier is " ID:" and eight letters of the
// alphabet; every failure is the empty text with e50 or the empty-file text.

#include <string>

#include "Clock.hpp"
#include "Disk.hpp"
#include "FuzzInput.hpp"
#include "GapID.hpp"
#include "LocalTime.hpp"
#include "MemoryDisk.hpp"

namespace {

constexpr std::string_view kAlphabet =
    "/3bE6KychzJ7gpYo5wFI1GsAPL2TX9Vxj+RHdMeNqZDCvnB8kfWU0SO4uQatriml";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const uint8_t mode = input.byte();
  const int calls = 1 + input.byte() % 32;
  MemoryDisk disk;
  FixedClock clock(std::time_t{1502694920});
  const std::string first = input.text();
  const std::string second = input.all();
  if (!(mode & 1)) disk.files["tivor.txt"] = first;

  GapID ids(disk, clock);
  for (int i = 0; i < calls; ++i) {
    // Halfway, the file may change or disappear.
    if (i == calls / 2 && (mode & 2)) disk.files["tivor.txt"] = second;
    if (i == calls / 2 && (mode & 4)) disk.files.erase("tivor.txt");
    const std::string id = ids.gapID();
    if (id.empty()) {
      FUZZ_CHECK(ids.failure().text == "e50: ifstream in( tivor.txt, ios::binary )" ||
                 ids.failure().text == "tivor.txt holds no numbers");
      continue;
    }
    FUZZ_CHECK(id.size() == 12 && id.compare(0, 4, " ID:") == 0);
    for (size_t k = 4; k < id.size(); ++k)
      FUZZ_CHECK(kAlphabet.find(id[k]) != std::string_view::npos);
  }
  return 0;
}
