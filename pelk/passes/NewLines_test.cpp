#include "passes/NewLines.hpp"

#include <gtest/gtest.h>

#include "Clock.hpp"
#include "MemoryDisk.hpp"
#include "ShiftJis.hpp"

namespace {

// The time of the runs whose output names do not matter.
const FixedClock kAnyTime(1502694845);

const std::string kColon = kZenkakuColon;
const std::string kHeader =
    "1 " + kColon + "Name " + kColon + "2017/08/14(Mon) 16:15:20.68 ID:abcdefgh";

class Splitter : public NewLines {
 public:
  Splitter(Disk& disk, const Clock& clock, std::string companion = "separate.txt",
           bool keepLine1 = true) {
    setting({.companion = companion,
             .keepLine1 = keepLine1,
             .overwrite = true,
             .disk = &disk,
             .clock = &clock});
  }
};

TEST(NewLines, SplitsBodyLinesGroupByGroup) {
  MemoryDisk disk;
  disk.files["separate.txt"] = "/\n|\n";
  disk.files["t.txt"] = "05 12 19 27 33 41 08 -\n01 02 03 04 05 06 01 02 03 04 05 06\n" + kHeader +
                        "\nA 01 02 03|04 05 06/07 08\n\n";
  std::string name = "t.txt";
  Splitter pass(disk, kAnyTime);
  ASSERT_TRUE(pass.altering(name)) << pass.inquiry();
  EXPECT_EQ(pass.altered(), "who.txt");
  EXPECT_EQ(disk.files["who.txt"],
            "05 12 19 27 33 41 08 -\n\n01 02 03 04 05 06 \n01 02 03 04 05 06\n\n" + kHeader +
                "\n01 02 03|04 05 06/\n07 08\n\n");
}

TEST(NewLines, MissingSeparatorFileIsReported) {
  MemoryDisk disk;
  disk.files["t.txt"] = "05 12 19 27 33 41 08 -\n01/02\n";
  std::string name = "t.txt";
  Splitter pass(disk, kAnyTime, "sep.txt");
  EXPECT_FALSE(pass.altering(name));
  EXPECT_EQ(pass.inquiry(), "e2: ifstream in( sep.txt )");
  EXPECT_EQ(disk.files.count("who.txt"), 0u);
}

}  // namespace
