#include "passes/UniqueCombos.hpp"

#include <gtest/gtest.h>

#include <ctime>

#include "Clock.hpp"
#include "LocalTime.hpp"
#include "MemoryDisk.hpp"
#include "ShiftJis.hpp"
#include "passes/PassTesting.hpp"

namespace {

const std::string kColon = kZenkakuColon;
// A header that holds six numbers of the game.
const std::string kNumberedHeader =
    "12 " + kColon + "01 02 03 " + kColon + "2017/08/14(Mon) 16:16:21.00 ID:bcdefghi";
const std::string kLoto6Line1 = "05 12 19 27 33 41 08 -";

struct Unique : Configured<UniqueCombos> {
  Unique(Disk& disk, const Clock& clock, bool keepLine1 = true, bool overwrite = true)
      : Configured(disk, clock, "unique.txt", keepLine1, overwrite) {}
};

TEST(UniqueCombos, WritesEachCombinationOnceAndAnnouncesCopies) {
  MemoryDisk disk;
  disk.files["unique.txt"] = "-1-\n.txt\n";
  disk.files["t.txt"] = kLoto6Line1 + "\n" + kHeader + "\n43 07 19 02 33 28\n" +
                        "02  07 19 28 33 43 !\n01 02 03 04 05\n" + kNumberedHeader + "\r\n" +
                        "1 2 3 4 5 6\n28,33,43,02,07,19\n40 41 42 43 01 02\n123 04 05 06 07\n" +
                        "01 02 03 04 05 06\n" + std::string(3000, 'z') + "41 40 43 42 02 01\n";
  Unique pass(disk, kAnyTime);
  std::string name = "t.txt";
  testing::internal::CaptureStdout();
  ASSERT_TRUE(pass.altering(name)) << pass.inquiry();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "01 02 40 41 42 43\n02 07 19 28 33 43\n02 07 19 28 33 43\n");
  EXPECT_EQ(pass.altered(), "who.txt");
  EXPECT_EQ(disk.files["who.txt"], "01 02 03 04 05 06\n01 02 40 41 42 43\n02 07 19 28 33 43\n");
}

TEST(UniqueCombos, ReadsMissingCompanionLinesAsTheDefaultOnes) {
  struct Case {
    std::string companion;
    bool keepLine1;
    std::string name, written;
  };
  const std::string combination = "01 02 03 04 05 06\n";
  const std::string withLine1 = kLoto6Line1 + "\n" + combination;
  const Case cases[] = {
      {"-1-\n.txt\n", true, "unq14-5.txt", combination},
      {"keep\n.csv\n", true, "unq14-5.csv", withLine1},
      {"keep\n.csv\n", false, "unq14-5.csv", combination},
      {"", true, "unq14-5.txt", combination},  // empty file: both lines as by default
      {"keep\n", true, "unq14-5.txt", withLine1},
      {"-1-\n", true, "unq14-5.txt", combination},
      {"\n\n", true, "unq14-5.txt", withLine1},  // an empty line is no "-1-" and no extension
      {"-1-\r\n.dat\r\nmore\n", true, "unq14-5.dat", combination},
  };
  for (const Case& c : cases) {
    MemoryDisk disk;
    disk.files["unique.txt"] = c.companion;
    disk.files["serial.txt"] = "3\n";
    disk.files["t.txt"] = kLoto6Line1 + "\n06 05 04 03 02 01\n";
    FixedClock clock(at14m5s());
    Unique pass(disk, clock, c.keepLine1, false);
    std::string name = "t.txt";
    ASSERT_TRUE(pass.altering(name)) << pass.inquiry();
    EXPECT_EQ(pass.altered(), c.name) << c.companion;
    EXPECT_EQ(disk.files[c.name], c.written) << c.companion;
    EXPECT_EQ(disk.files["t.txt"], kLoto6Line1 + "\n06 05 04 03 02 01\n");
  }
}

TEST(UniqueCombos, FollowsTheGameOfLine1) {
  struct Case {
    std::string line1, written, copies;
  };
  const std::string miniloto = "01 09 12 20 31\n";
  const Case cases[] = {
      {"01 02 03 04 05 06 -", miniloto, miniloto + miniloto + miniloto},
      {"01 02 03 04 05 06 07 ", "01 09 12 20 31 32\n", ""},
      {"01 02 03 04 05 06 07 08 09 ", "01 09 12 20 31 32 33\n01 09 12 20 31 33 37\n", ""},
  };
  for (const Case& c : cases) {
    MemoryDisk disk;
    disk.files["unique.txt"] = "-1-\n.txt\n";
    disk.files["t.txt"] = c.line1 +
                          "\n31 20 12 09 01 32\n31 20 12 09 01 32 33\n31 20 12 09 01 33 37 38\n" +
                          "31 20 12 09 01\n";
    Unique pass(disk, kAnyTime);
    std::string name = "t.txt";
    testing::internal::CaptureStdout();
    ASSERT_TRUE(pass.altering(name)) << pass.inquiry();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.copies) << c.line1;
    EXPECT_EQ(disk.files["who.txt"], c.written) << c.line1;
  }
}

TEST(UniqueCombos, NoCombinationLeavesLine1OrNothing) {
  for (bool keep : {true, false}) {
    MemoryDisk disk;
    disk.files["unique.txt"] = "keep\n";
    disk.files["t.txt"] = kLoto6Line1 + "\n" + kHeader + "\nchat\n";
    Unique pass(disk, kAnyTime, keep);
    std::string name = "t.txt";
    ASSERT_TRUE(pass.altering(name));
    EXPECT_EQ(disk.files["who.txt"], keep ? kLoto6Line1 + "\n" : "");
  }
}

TEST(UniqueCombos, UnwritableOutputIsReportedAfterTheCopies) {
  MemoryDisk disk;
  disk.files["unique.txt"] = "-1-\n.txt\n";
  disk.files["t.txt"] = kLoto6Line1 + "\n01 02 03 04 05 06\n06 05 04 03 02 01\n";
  disk.unwritable.insert("who.txt");
  Unique pass(disk, kAnyTime);
  std::string name = "t.txt";
  testing::internal::CaptureStdout();
  EXPECT_FALSE(pass.altering(name));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "01 02 03 04 05 06\n");
  EXPECT_EQ(pass.inquiry(), "e1: ofstream saveFile( who.txt )");
}

}  // namespace
