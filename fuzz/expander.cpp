// The expanders' writeFile on any numbers line, with the output file
// writable or not. A written file holds every K-combination of the first N
// tokens in order; a refusal sets a message and writes nothing.

#include "Expander.hpp"

#include <string>

#include "Disk.hpp"
#include "FuzzInput.hpp"
#include "MemoryDisk.hpp"

namespace {

long long binomial(int n, int k) {
  long long c = 1;
  for (int i = 1; i <= k; ++i) c = c * (n - k + i) / i;
  return c;
}

void expand(const Game& game, const std::string& line, bool writable) {
  MemoryDisk disk;
  const std::string name = "cmb1-2-3.txt";
  if (!writable) disk.unwritable.insert(name);
  Expander expander(disk, game, name, line);
  const bool written = expander.writeFile();
  if (!written) {
    FUZZ_CHECK(disk.files.empty());
    FUZZ_CHECK(expander.failure().number == game.expanderMessages.wrongBall ||
               expander.failure().number == game.expanderMessages.passed);
    return;
  }
  FUZZ_CHECK(writable);
  FUZZ_CHECK(disk.files.size() == 1 && disk.files.count(name));
  const std::string& text = disk.files[name];
  int n = 0;
  for (const Label& label : game.labels)
    if (line.size() >= 5 && line.compare(line.size() - 5, 5, label.text) == 0) n = label.n;
  FUZZ_CHECK(n >= game.size);
  const size_t lineWidth = 3 * game.size + 1;
  FUZZ_CHECK(text.size() == binomial(n, game.size) * lineWidth);
  // The first combination is the first K tokens, the last the last K of N.
  FUZZ_CHECK(text.compare(0, lineWidth - 1, line, 0, lineWidth - 1) == 0);
  FUZZ_CHECK(text.compare(text.size() - lineWidth, lineWidth - 1, line, 3 * (n - game.size),
                          lineWidth - 1) == 0);
  for (size_t at = lineWidth - 1; at < text.size(); at += lineWidth) FUZZ_CHECK(text[at] == '\n');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const uint8_t mode = input.byte();
  const std::string line = input.all();
  const bool writable = !(mode & 4);
  switch (mode % 4) {
    case 0:
    case 3:
      expand(ToFive, line, writable);
      break;
    case 1:
      expand(ToSix, line, writable);
      break;
    case 2:
      expand(ToSeven, line, writable);
      break;
  }
  return 0;
}
