#include "passes/CombosDates.hpp"

#include <gtest/gtest.h>

#include <ctime>
#include <memory>

#include "Clock.hpp"
#include "LocalTime.hpp"
#include "MemoryDisk.hpp"
#include "ShiftJis.hpp"

namespace {

// The time of the runs whose output names do not matter.
const FixedClock kAnyTime(1502694845);

const std::string kColon = kZenkakuColon;
const std::string kHeader1 =
    "1 " + kColon + "A " + kColon + "2017/08/14(Mon) 16:15:20.68 ID:abcdefgh";
const std::string kHeader2 =
    "2 " + kColon + "B " + kColon + "2017/08/14(Mon) 16:16:21.00 ID:bcdefghi";

class Probe : public CombosDates {
 public:
  Probe(Disk& disk, const Clock& clock, bool keepLine1 = true, bool overwrite = true) {
    setting({.companion = "",
             .keepLine1 = keepLine1,
             .overwrite = overwrite,
             .disk = &disk,
             .clock = &clock});
  }
  void game(int code, int highest) {
    ASSERT_EQ(gameOfCode(code)->highestBall, highest);
    scanner = std::make_unique<CombinationScanner>(*gameOfCode(code));
  }
  using CombosDates::scanner;
};

// Both normalisers apply the same test; they differ in what they give back
// and in the numbers of their messages.
TEST(CombosDates, BothNormalisersAgreeOnTrickyLines) {
  enum Verdict { kCombination, kCount, kSpan };
  struct Case {
    int loto, highest;
    std::string line, normal;
    Verdict verdict;
  };
  const Case cases[] = {
      {6, 43, "01 05 09 14 22 31", "01 05 09 14 22 31", kCombination},
      {6, 43, "43 07 19 02 33 28", "02 07 19 28 33 43", kCombination},
      {6, 43, "  28 33\t43,02/07  19 !", "02 07 19 28 33 43", kCombination},
      {6, 43, "x01 02 03 04 0506", "01 02 03 04 05 06", kCombination},  // "50" is no number
      {6, 43, "01 05 09 14 22", "", kCount},
      {6, 43, "01 01 05 09 14 22", "", kCount},
      {6, 43, "2017/08/14 01 05 09 14 22 31", "", kCount},  // 20, 17, 08 count too
      {6, 43, "01 02 03 04 05 6", "", kCount},              // one digit is no number
      {6, 43, "1 2 3 4 5 6", "", kCount},
      {6, 43, "0102 03 04 05 06", "", kCount},  // 01, 10, 02: seven numbers
      {6, 43, "123 04 05 06 07", "", kSpan},    // "12" and "23" overlap at offset 0
      {6, 43, "x 234 05 06 07 08", "", kSpan},
      {6, 43, std::string(200, 'x') + "01 02 03 04 05 06", "01 02 03 04 05 06", kCombination},
      {6, 43, std::string(127, 'x') + "123 04 05 06 07", "", kSpan},  // across offset 128
      {6, 43, std::string(126, 'x') + "01 02 03 04 05 06", "01 02 03 04 05 06", kCombination},
      {5, 31, "31 01 12 20 09", "01 09 12 20 31", kCombination},
      {5, 31, "01 05 09 14 32", "", kCount},  // 32 is beyond Miniloto
      {5, 31, "01 05 09 14 31 32 43", "01 05 09 14 31", kCombination},
      {5, 31, "01 05 09 14 22 31", "", kCount},
      {7, 37, "37 01 02 03 04 05 06", "01 02 03 04 05 06 37", kCombination},
      {7, 37, "01 02 03 04 05 06 38", "", kCount},  // 38 is beyond Loto-7
      {7, 37, "43 42 41 40 39 38 07 06 05 04 03 02 01", "01 02 03 04 05 06 07", kCombination},
      {7, 37, "01 02 03 04 05 066", "", kCount},
      {6, 43, "", "", kCount},
  };
  for (const Case& c : cases) {
    CombinationScanner scanner(*gameOfCode(c.loto));
    Failure note;
    EXPECT_EQ(scanner.countMeasureSort(c.line, note), c.normal) << c.line;
    EXPECT_EQ(note.text, c.verdict == kCount  ? "e48: c != loto"
                         : c.verdict == kSpan ? "e49: span < NEIGHBOR"
                                              : "")
        << c.line;
    MemoryDisk disk;
    Probe other(disk, kAnyTime);
    other.game(c.loto, c.highest);
    EXPECT_EQ(other.countBallsMesureSpan(c.line), c.verdict == kCombination) << c.line;
    EXPECT_EQ(other.inquiry(), c.verdict == kCount  ? "e16: c != loto"
                               : c.verdict == kSpan ? "e17: span < NEIGHBOR"
                                                    : "")
        << c.line;
  }
}

TEST(CombosDates, RepeatedCallsStartAfresh) {
  MemoryDisk disk;
  Probe probe(disk, kAnyTime);
  probe.game(6, 43);
  EXPECT_FALSE(probe.countBallsMesureSpan("123 04 05 06 07"));
  EXPECT_TRUE(probe.countBallsMesureSpan("01 02 03 04 05 06"));
  // The pass's own scanner, after the lines above.
  Failure note;
  EXPECT_EQ(probe.scanner->countMeasureSort("43 42 41 40 39 38", note), "38 39 40 41 42 43");
  EXPECT_EQ(probe.scanner->countMeasureSort("01 02 03 04 05 06", note), "01 02 03 04 05 06");
}

TEST(CombosDates, KeepsHeadersAndCombinationLinesOnly) {
  const std::string body = "01 05 09 14 22 31\n01 05 09 14 22\n43 07 19 02 33 28\n";
  const std::string thread = "05 12 19 27 33 41 08 -\r\n01 02 03 04 05 07\nchat\n" + kHeader1 +
                             "\r\n" + body + "2017/08/14 01 05 09 14 22 31\n123 04 05 06 07\n" +
                             kHeader2 + "\nno numbers\n";
  const std::string posts = "01 02 03 04 05 07\n\n" + kHeader1 +
                            "\n01 05 09 14 22 31\n43 07 19 02 33 28\n\n" + kHeader2 + "\n\n";
  struct Case {
    bool keepLine1;
    std::string written;
  };
  const Case cases[] = {
      {true, "05 12 19 27 33 41 08 -\n\n" + posts},
      {false, posts},
  };
  for (const Case& c : cases) {
    MemoryDisk disk;
    disk.files["t.txt"] = thread;
    Probe pass(disk, kAnyTime, c.keepLine1);
    std::string name = "t.txt";
    ASSERT_TRUE(pass.altering(name)) << pass.inquiry();
    EXPECT_EQ(pass.altered(), "who.txt");
    EXPECT_EQ(disk.files["who.txt"], c.written);
    // The last dropped line leaves its reason, which is not reported.
    EXPECT_EQ(pass.inquiry(), "e16: c != loto");
  }
}

TEST(CombosDates, FollowsTheGameOfLine1AndKeepsLongLinesWhole) {
  const std::string longLine = std::string(4000, 'x') + " 01 02 03 04 05 " + std::string(500, 'y');
  struct Case {
    std::string line1, written;
  };
  const Case cases[] = {
      {"01 02 03 04 05 06 -", longLine + "\n01 05 09 14 31 32\n\n"},   // Miniloto
      {"01 02 03 04 05 06 07 ", "01 05 09 14 31 32\n\n"},              // Loto-6
      {"01 02 03 04 05 06 07 08 09 ", "01 02 03 04 05 06 33 38\n\n"},  // Loto-7
  };
  for (const Case& c : cases) {
    MemoryDisk disk;
    disk.files["t.txt"] =
        c.line1 + "\n" + longLine + "\n01 05 09 14 31 32\n01 02 03 04 05 06 33 38\n";
    Probe pass(disk, kAnyTime, false);
    std::string name = "t.txt";
    ASSERT_TRUE(pass.altering(name)) << pass.inquiry();
    EXPECT_EQ(disk.files["who.txt"], c.written) << c.line1;
  }
}

TEST(CombosDates, WritesATemporaryFileUnlessOverwriting) {
  MemoryDisk disk;
  disk.files["t.txt"] = "01 02 03 04 05 06 -\n" + kHeader1 + "\n";
  const std::time_t at = localCalendarTime(2017, 8, 14, 16, 14, 5);
  FixedClock clock(at);
  Probe pass(disk, clock, false, false);
  std::string name = "t.txt";
  ASSERT_TRUE(pass.altering(name));
  EXPECT_EQ(pass.altered(), "who14-5.txt");
  EXPECT_EQ(disk.files["who14-5.txt"], kHeader1 + "\n\n");
  EXPECT_EQ(disk.files.count("who.txt"), 0u);
}

TEST(CombosDates, FailuresWriteNothing) {
  struct Case {
    bool present;
    std::string thread, message;
  };
  const Case cases[] = {
      {false, "", "e12: ifstream in( t.txt )"},
      {true, "", "e15(Line-1): in.getline(c, BUFFER_SIZE )"},
      {true, std::string(384, '0') + "\n", "e15(Line-1): in.getline(c, BUFFER_SIZE )"},
      {true, "01 02 03 04 05 06 07 08 09 10\n01 02 03 04 05 06\n",
       "e13: ADD THE DRAW TO LINE-1 OF WHO.TXT"},
      {true, "01 02 03 04 05\n01 02 03 04 05\n", "e14: TOO FEW GAPS"},
  };
  for (const Case& c : cases) {
    MemoryDisk disk;
    if (c.present) disk.files["t.txt"] = c.thread;
    Probe pass(disk, kAnyTime, true, false);
    std::string name = "t.txt";
    EXPECT_FALSE(pass.altering(name));
    EXPECT_EQ(pass.inquiry(), c.message);
    // Not even serial.txt: no output name was chosen.
    EXPECT_EQ(disk.files.size(), c.present ? 1u : 0u) << c.message;
  }
  MemoryDisk disk;
  disk.files["t.txt"] = "01 02 03 04 05 06 -\n";
  disk.directories.insert("who.txt");
  Probe pass(disk, kAnyTime);
  std::string name = "t.txt";
  EXPECT_FALSE(pass.altering(name));
  EXPECT_EQ(pass.inquiry(), "e1: ofstream saveFile( who.txt )");
}

}  // namespace
