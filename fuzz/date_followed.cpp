// DateFollowed on any line: recognition in both modes, then every layout.

#include <memory>
#include <string>

#include "DateFollowed.hpp"
#include "FuzzInput.hpp"

namespace {

using Layout = std::string (DateFollowed::*)();

constexpr Layout kLayouts[] = {&DateFollowed::rebuild, &DateFollowed::interposed,
                               &DateFollowed::lotoLine};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const uint8_t mode = input.byte();
  const std::string line = input.all();

  DateFollowed recogniser(line, true);
  const int y = recogniser.dateLine();
  // Both modes recognise the same lines, and the year lies inside the line
  // (9 marks a line already in the vemo form, whatever its length).
  FUZZ_CHECK(y >= 0);
  FUZZ_CHECK(y == 0 || (y == 9 && line[5] == '^') || static_cast<size_t>(y) + 8 <= line.size());
  // A recognise-only object never rewrites the line.
  FUZZ_CHECK(recogniser.rebuild() == line);

  for (Layout layout : kLayouts) {
    DateFollowed parser(line);
    FUZZ_CHECK(parser.dateLine() == y);
    const std::string first = (parser.*layout)();
    if (y == 0) FUZZ_CHECK(layout == &DateFollowed::lotoLine || first == line);
    // A second recognition of the laid-out line, and a second layout, as a
    // pass may chain them.
    (void)parser.dateLine();
    (void)(parser.*kLayouts[mode % std::size(kLayouts)])();
  }
  return 0;
}
