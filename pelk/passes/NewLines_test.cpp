#include "passes/NewLines.hpp"

#include <gtest/gtest.h>

#include "MemoryDisk.hpp"
#include "ShiftJis.hpp"

namespace {

const std::string kColon = kZenkakuColon;
const std::string kHeader =
    "1 " + kColon + "Name " + kColon + "2017/08/14(Mon) 16:15:20.68 ID:abcdefgh";

class Splitter : public NewLines {
 public:
  explicit Splitter(std::string companion = "separate.txt", bool keepLine1 = true) {
    setting({companion, 30, keepLine1, false, false, true});
  }
};

TEST(NewLines, SplitsBodyLinesGroupByGroup) {
  MemoryDisk disk;
  disk.files["separate.txt"] = "/\n|\n";
  disk.files["t.txt"] = "05 12 19 27 33 41 08 -\n01 02 03 04 05 06 01 02 03 04 05 06\n" + kHeader +
                        "\nA 01 02 03|04 05 06/07 08\n\n";
  ScopedDisk guard(&disk);
  std::string name = "t.txt";
  Splitter pass;
  ASSERT_TRUE(pass.altering(name)) << pass.inquiry();
  EXPECT_EQ(pass.altered(), "who.txt");
  EXPECT_EQ(disk.files["who.txt"],
            "05 12 19 27 33 41 08 -\n\n01 02 03 04 05 06 \n01 02 03 04 05 06\n\n" + kHeader +
                "\n01 02 03|04 05 06/\n07 08\n\n");
}

TEST(NewLines, MissingSeparatorFileIsReported) {
  MemoryDisk disk;
  disk.files["t.txt"] = "05 12 19 27 33 41 08 -\n01/02\n";
  ScopedDisk guard(&disk);
  std::string name = "t.txt";
  Splitter pass("sep.txt");
  EXPECT_FALSE(pass.altering(name));
  EXPECT_EQ(pass.inquiry(), "e2: ifstream in( sep.txt )");
  EXPECT_EQ(disk.files.count("who.txt"), 0u);
}

}  // namespace
