// countMeasureSort and countBallsMesureSpan on lines of any bytes, for every
// game and for any highest ball and pick size: the result is empty with e48
// or e49, or the pick's numbers in ascending order, each one present in the
// line; countBallsMesureSpan accepts exactly the same lines.

#include <memory>
#include <string>

#include "Alterable.hpp"
#include "CombinationScanner.hpp"
#include "FuzzInput.hpp"
#include "LineReader.hpp"
#include "MemoryDisk.hpp"
#include "passes/CombosDates.hpp"

namespace {

class Probe : public CombosDates {
 public:
  void game(const Game& game) { scanner = std::make_unique<CombinationScanner>(game); }
  /// Forgets the note of the last line.
  void forgetting() { failing(Failure()); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const uint8_t mode = input.byte();
  const uint8_t free = input.byte();
  static constexpr int kGames[][2] = {{31, 5}, {43, 6}, {37, 7}};
  int highest, pick;
  if (mode < 0xC0) {
    highest = kGames[mode % 3][0];
    pick = kGames[mode % 3][1];
  } else {
    highest = 1 + free % 43;
    pick = (free >> 2) % 12;
  }
  // Any highest ball and pick size: a game of its own.
  const Game game = {"", "", pick, highest, 0, {}, {}, {}};
  MemoryDisk disk;
  Probe pass;
  pass.setting({.companion = "exclude.txt", .disk = &disk});
  pass.game(game);
  CombinationScanner scanner(game);

  const std::string text = input.all();
  LineReader in(text);
  std::string line;
  while (in.next(line)) {
    pass.forgetting();
    const bool accepted = pass.countBallsMesureSpan(line);
    FUZZ_CHECK(accepted || pass.inquiry() == "e16: c != loto" ||
               pass.inquiry() == "e17: span < NEIGHBOR");
    Failure note;
    const std::string sorted = scanner.countMeasureSort(line, note);
    FUZZ_CHECK(accepted == (!sorted.empty() || (pick == 0 && !note)));
    if (sorted.empty()) {
      FUZZ_CHECK(note.text == "e48: c != loto" || note.text == "e49: span < NEIGHBOR" || pick == 0);
      continue;
    }
    FUZZ_CHECK(sorted.size() == static_cast<size_t>(3 * pick - 1));
    int previous = 0;
    for (int k = 0; k < pick; ++k) {
      const std::string token = sorted.substr(3 * k, 2);
      FUZZ_CHECK(k == pick - 1 || sorted[3 * k + 2] == ' ');
      const int number = (token[0] - '0') * 10 + (token[1] - '0');
      FUZZ_CHECK(number > previous && number <= highest);
      FUZZ_CHECK(token[0] == '0' + number / 10 && token[1] == '0' + number % 10);
      FUZZ_CHECK(line.find(token) != std::string::npos);
      previous = number;
    }
  }
  return 0;
}
