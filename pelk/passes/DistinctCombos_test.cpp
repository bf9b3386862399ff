#include "passes/DistinctCombos.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "Clock.hpp"
#include "MemoryDisk.hpp"
#include "passes/TableReverseSorted.hpp"
#include "passes/UniqueCombos.hpp"

namespace {

const FixedClock kAnyTime(1502694845);

// -t and -u open alike, each with its own messages and companion file: a
// thread or companion that cannot be read, a Line-1 that is missing, too
// long or holds no draw fail the pass, print no copy and write nothing.
TEST(DistinctCombos, FailuresWriteNothing) {
  struct Pass {
    std::function<std::unique_ptr<Alterable>()> make;
    std::string companion;
    int open, line1, noDraw, tooFewGaps;
  };
  const Pass passes[] = {
      {[] { return std::make_unique<TableReverseSorted>(); }, "tabulate.txt", 40, 43, 41, 42},
      {[] { return std::make_unique<UniqueCombos>(); }, "unique.txt", 44, 47, 45, 46},
  };
  const std::string loto6 = "05 12 19 27 33 41 08 -\n";
  for (const Pass& p : passes) {
    auto e = [](int n) { return "e" + std::to_string(n); };
    struct Case {
      bool thread, companion;
      std::string text, message;
    };
    const Case cases[] = {
        {false, true, "", e(p.open) + ": ifstream in( t.txt )"},
        {true, false, loto6, "e2: ifstream in( " + p.companion + " )"},
        {true, true, "", e(p.line1) + "(Line-1): in.getline(c, BUFFER_SIZE )"},
        {true, true, std::string(384, '1') + "\n",
         e(p.line1) + "(Line-1): in.getline(c, BUFFER_SIZE )"},
        {true, true, "01 02 03 04 05 06 07 08 09 10\n",
         e(p.noDraw) + ": ADD THE DRAW TO LINE-1 OF WHO.TXT"},
        {true, true, "01 02 03 04 05 06\n01 02 03 04 05 06\n", e(p.tooFewGaps) + ": TOO FEW GAPS"},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.message);
      MemoryDisk disk;
      if (c.thread) disk.files["t.txt"] = c.text;
      if (c.companion) disk.files[p.companion] = "keep\n";
      const auto before = disk.files;
      std::unique_ptr<Alterable> pass = p.make();
      pass->setting({.companion = p.companion,
                     .keepLine1 = true,
                     .overwrite = false,
                     .disk = &disk,
                     .clock = &kAnyTime});
      std::string name = "t.txt";
      testing::internal::CaptureStdout();
      EXPECT_FALSE(pass->altering(name));
      EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
      EXPECT_EQ(pass->inquiry(), c.message);
      EXPECT_EQ(disk.files, before);
    }
  }
}

}  // namespace
