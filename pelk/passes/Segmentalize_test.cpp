#include "passes/Segmentalize.hpp"

#include <gtest/gtest.h>

#include "LocalTime.hpp"
#include "MemoryDisk.hpp"
#include "ShiftJis.hpp"

namespace {

const std::string kColon = kZenkakuColon;

std::string header(int number, const std::string& time) {
  return std::to_string(number) + " " + kColon + "Q " + kColon + "2017/08/14(Mon) " + time +
         " ID:abcdefgh";
}

std::time_t noon() { return localCalendarTime(2017, 8, 14, 12); }

class Segments : public Segmentalize {
 public:
  Segments(Disk& disk, const Clock& clock, int period, bool matrix, bool keepLine1 = true) {
    setting({.companion = "segmen.txt",
             .period = period,
             .keepLine1 = keepLine1,
             .matrix = matrix,
             .overwrite = true,
             .disk = &disk,
             .clock = &clock});
  }
};

class SegmentalizeTest : public ::testing::Test {
 protected:
  SegmentalizeTest() : clock(noon()) {
    disk.files["segmen.txt"] = header(256, "16:15:20.68") + "\n";
    disk.files["tivor.txt"] = "12 12 12 12 12 12 12 12 \n";
  }
  std::string run(Segments& pass) {
    std::string name = "t.txt";
    EXPECT_TRUE(pass.altering(name)) << pass.inquiry();
    EXPECT_EQ(pass.altered(), "who.txt");
    return disk.files["who.txt"];
  }
  MemoryDisk disk;
  FixedClock clock;
};

TEST_F(SegmentalizeTest, AHeaderAfterEveryNLines) {
  disk.files["t.txt"] = "L1\na\nb\nc\nd\ne\nf\ng\n";
  const std::string h1 = header(257, "16:15:45"), h2 = header(258, "16:16:10");
  Segments three(disk, clock, 3, false);
  EXPECT_EQ(run(three), "L1\n" + header(256, "16:15:20.68") + "\na\nb\nc\n\n" + h1 +
                            "\nd\ne\nf\n\n" + h2 + "\ng\n");
  // Without Line-1 neither it nor the sample header is written.
  Segments dropped(disk, clock, 3, false, false);
  EXPECT_EQ(run(dropped), "a\nb\nc\n\n" + h1 + "\nd\ne\nf\n\n" + h2 + "\ng\n");
  // A thread of a whole number of segments ends with a header.
  disk.files["t.txt"] = "L1\na\nb\nc\n";
  Segments whole(disk, clock, 3, false, false);
  EXPECT_EQ(run(whole), "a\nb\nc\n\n" + h1 + "\n");
}

TEST_F(SegmentalizeTest, LeadingLineEndsAreCutUnlessThereIsNothingElse) {
  struct Case {
    std::string thread;
    bool keepLine1;
    std::string expected;
  };
  const std::string sample = header(256, "16:15:20.68");
  const Case cases[] = {
      {"\nbody\n", true, sample + "\nbody\n"}, {"L1\n\n\nbody\n", false, "body\n"},
      {"L1\n\n\n", false, "\n\n\n"},           {"L1\n", false, "\n"},
      {"L1", true, "L1\n" + sample + "\n"},
  };
  for (const Case& c : cases) {
    disk.files["t.txt"] = c.thread;
    Segments pass(disk, clock, 30, false, c.keepLine1);
    EXPECT_EQ(run(pass), c.expected) << c.thread;
  }
}

TEST_F(SegmentalizeTest, PeriodsBelowOneActAsOne) {
  disk.files["t.txt"] = "L1\na\nb\n";
  const std::string expected =
      "a\n\n" + header(257, "16:15:45") + "\nb\n\n" + header(258, "16:16:10") + "\n";
  for (int period : {1, 0, -5}) {
    Segments pass(disk, clock, period, false, false);
    EXPECT_EQ(run(pass), expected) << period;
  }
  for (int period : {0, -1}) {
    disk.files["t.txt"] = "L1\n01\n16\n26\n";
    Segments pass(disk, clock, period, true, false);
    EXPECT_EQ(run(pass), "01\n16\n26\n\n" + header(257, "16:15:45") + "\n") << period;
  }
}

TEST_F(SegmentalizeTest, MatrixWaitsForTheEndOfAMatrix) {
  // Two lines, then a matrix broken by a line in no row, then a whole one.
  disk.files["t.txt"] = "L1\nx\ny\n01 a\n16 b\nno digit\n02 c\n17 d\n28 e\nz\n";
  Segments pass(disk, clock, 2, true, false);
  EXPECT_EQ(run(pass),
            "x\ny\n01 a\n16 b\nno digit\n02 c\n17 d\n28 e\n\n" + header(257, "16:15:45") + "\nz\n");
}

TEST_F(SegmentalizeTest, IntegrityOfDataFollowsTheRows) {
  struct Step {
    std::string line;
    bool complete;
  };
  // Each line's first number (the sentinel "41" stands behind the line) is
  // looked up in the row the state names; a miss goes back to row 0.
  const Step steps[] = {
      {"01 02 03", false},                 // row 0
      {"16", false},                       // row 1
      {"26 27", true},                     // row 2: a whole matrix
      {"a 5 x", false},                    // "5 " lies in row 0
      {"x7 y", false},                     // "7 " in row 1
      {"x0 y", true},                      // "0 " in row 2
      {"03", false},       {"03", false},  // row 1 expected: back to row 0
      {"16", false},                       // tried against row 0 only
      {"line", false},     {"04", false}, {"20", false},  {"41", false}, {"05", false},
      {"19", false},       {"30", true},  {"ab5", false},  // "54" with the sentinel: in no row
  };
  Segments pass(disk, clock, 30, true);
  for (const Step& step : steps)
    EXPECT_EQ(pass.integrity_of_data(step.line), step.complete) << step.line;
}

TEST_F(SegmentalizeTest, HeaderLinesInTheThreadAreOrdinaryLines) {
  disk.files["t.txt"] = "L1\n" + header(1, "10:00:00") + "\nbody\n";
  Segments pass(disk, clock, 2, false, false);
  EXPECT_EQ(run(pass), header(1, "10:00:00") + "\nbody\n\n" + header(257, "16:15:45") + "\n");
}

TEST_F(SegmentalizeTest, FailuresAndTheirMessages) {
  struct Case {
    const char* segmen;  // nullptr: no such file
    const char* thread;  // nullptr: no such file
    std::string message;
  };
  const std::string sample = header(256, "16:15:20.68") + "\n";
  const std::string longSample = header(256, "16:15:20.68" + std::string(380, ' ')) + "\n";
  const Case cases[] = {
      {nullptr, "L1\n", "e35: ifstream segment_text( segmen.txt )"},
      {"", "L1\n", "e37: segment_text.getline(c, BUFFER_SIZE )"},
      {longSample.c_str(), "L1\n", "e37: segment_text.getline(c, BUFFER_SIZE )"},
      {"no header\n", nullptr, "e36(lineType): no header"},
      {"\n", "L1\n", "e36(lineType): "},
      {sample.c_str(), nullptr, "e38: ifstream in( t.txt )"},
      {sample.c_str(), "", "e39(Line-1): in.getline(c, BUFFER_SIZE )"},
  };
  for (const Case& c : cases) {
    disk.files.erase("segmen.txt");
    disk.files.erase("t.txt");
    if (c.segmen) disk.files["segmen.txt"] = c.segmen;
    if (c.thread) disk.files["t.txt"] = c.thread;
    Segments pass(disk, clock, 30, false);
    std::string name = "t.txt";
    EXPECT_FALSE(pass.altering(name));
    EXPECT_EQ(pass.inquiry(), c.message);
    EXPECT_EQ(disk.files.count("who.txt"), 0u) << c.message;
  }
}

}  // namespace
