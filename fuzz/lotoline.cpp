// The lotoLine loop of Gaps and MultiLoto: a body line cut into pieces until
// the empty piece. Every piece is taken from the front of the text still to
// be cut, only digit-free text before a piece (and a lone space after the
// last one) may be dropped, and the loop ends.

#include <memory>
#include <string>

#include "FuzzInput.hpp"
#include "Gaps.hpp"
#include "MultiLoto.hpp"

namespace {

bool hasDigit(const std::string& text) {
  return text.find_first_of("0123456789") != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const uint8_t mode = input.byte();
  const bool axis = mode & 1;
  std::unique_ptr<Characterizable> cutter;
  std::string line;
  if (mode & 2) {
    const std::string separator = input.text();
    line = input.all();
    cutter = std::make_unique<MultiLoto>(line, separator, axis);
  } else {
    // Game codes as checkLine1 gives them, 3 and 4 included.
    static constexpr int kCodes[] = {5, 6, 7, 3, 4, 0, 5, 6};
    line = input.all();
    cutter = std::make_unique<Gaps>(line, kCodes[(mode >> 2) % 8], axis);
  }

  FUZZ_CHECK(cutter->rebuild() == line);
  std::string before = line;
  for (size_t calls = 0;; ++calls) {
    // Each call that returns a piece shortens the text, so the loop ends.
    FUZZ_CHECK(calls <= line.size() + 1);
    const std::string piece = cutter->lotoLine();
    const std::string after = cutter->rebuild();
    FUZZ_CHECK(cutter->interposed() == after);
    if (piece.empty()) {
      // The empty piece ends the caller's loop: nothing may be left.
      FUZZ_CHECK(before.empty() && after.empty());
      break;
    }
    // A lone space left after the last pick of a line is dropped with it.
    const size_t tail =
        after.empty() && before.size() > piece.size() && before.back() == ' ' &&
                before.compare(before.size() - 1 - piece.size(), piece.size(), piece) == 0
            ? 1
            : 0;
    FUZZ_CHECK(after.size() + piece.size() + tail <= before.size());
    const size_t dropped = before.size() - after.size() - piece.size() - tail;
    FUZZ_CHECK(before.compare(dropped, piece.size(), piece) == 0);
    FUZZ_CHECK(before.compare(dropped + piece.size() + tail, std::string::npos, after) == 0);
    FUZZ_CHECK(!hasDigit(before.substr(0, dropped)));
    before = after;
  }
  return 0;
}
