#include "passes/Combo.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "Clock.hpp"
#include "LocalTime.hpp"
#include "MemoryDisk.hpp"
#include "ShiftJis.hpp"

namespace {

// The time of the runs whose output names do not matter.
const FixedClock kAnyTime(1502694845);

const std::string kColon = kZenkakuColon;
const std::string kLoto6Line1 = "05 12 19 27 33 41 08 - draw 1834";
const std::string kHeader1 =
    "1 " + kColon + "Lucky Cat " + kColon + "2017/08/14(Mon) 16:15:20.68 ID:AbCdEfGh";
const std::string kHeader2 =
    "2 " + kColon + "Night Owl " + kColon + "2017/08/14(Mon) 16:20:01.05 ID:QwErTyUi";

// The seven 6-number combinations of "01 05 09 14 22 31 38".
const std::string kSevenToSix =
    "01 05 09 14 22 31 \n01 05 09 14 22 38 \n01 05 09 14 31 38 \n01 05 09 22 31 38 \n"
    "01 05 14 22 31 38 \n01 09 14 22 31 38 \n05 09 14 22 31 38 \n";
// The six 5-number combinations of "03 07 11 19 24 28".
const std::string kSixToFive =
    "03 07 11 19 24 \n03 07 11 19 28 \n03 07 11 24 28 \n03 07 19 24 28 \n"
    "03 11 19 24 28 \n07 11 19 24 28 \n";

// 14 minutes 5 seconds past some hour, whatever the local time zone.
std::time_t at1405() { return localCalendarTime(2017, 8, 14, 16, 14, 5); }

class Pass : public Combo {
 public:
  Pass(Disk& disk, const Clock& clock, bool keepLine1 = true, bool serial = false,
       bool overwrite = false) {
    setting({.companion = "",
             .keepLine1 = keepLine1,
             .serial = serial,
             .overwrite = overwrite,
             .disk = &disk,
             .clock = &clock});
  }
  const std::vector<std::string>& labels() const { return items; }
  const std::string& body() const { return posts.group(); }
  void add(const std::string& line) { posts.add(line); }
};

// A working directory holding the thread "t.txt" and serial.txt at 11, at 14:05.
class ComboRun : public ::testing::Test {
 protected:
  void SetUp() override { disk.files["serial.txt"] = "11\n"; }

  bool run(Pass& pass, const std::string& thread) {
    disk.files["t.txt"] = thread;
    std::string name = "t.txt";
    return pass.altering(name);
  }
  std::vector<std::string> cmbNames() {
    std::vector<std::string> found;
    for (const auto& [name, bytes] : disk.files)
      if (name.compare(0, 3, "cmb") == 0) found.push_back(name);
    return found;
  }

  MemoryDisk disk;
  FixedClock clock{at1405()};
};

TEST(Combo, FirstNumberTrimmed) {
  struct Case {
    std::string line, expected;
  };
  const Case cases[] = {
      {"my pick: 01 05 09 14 22 31 38 43 8to6", "01 05 09 14 22 31 38 43 8to6"},
      {"8to6 01 05 09 14 22 31 38 43", "8to6 01 05 09 14 22 31 38 43"},
      {"01 02 03 04 05 06 07 7to6   ", "01 02 03 04 05 06 07 7to6"},
      {"01 02 03 04 05 06 07 7to6" + std::string(kZenkakuSpace),
       "01 02 03 04 05 06 07 7to6" + std::string(kZenkakuSpace)},
      {"01 02 7to6\t ", "01 02 7to6\t"},
      {"I like 9to5 jobs", "9to5 jobs"},
      {"no digits  ", ""},
      {"7  ", "7"},
      {"", ""},
  };
  MemoryDisk disk;
  Pass pass(disk, kAnyTime);
  for (const Case& c : cases) EXPECT_EQ(pass.firstNumberTrimmed(c.line), c.expected) << c.line;
}

TEST(Combo, LabelsAreSearchedInGameOrder) {
  MemoryDisk disk;
  Pass pass(disk, kAnyTime);
  pass.produceArrays();
  EXPECT_EQ(pass.labels(),
            (std::vector<std::string>{"6to5", "7to5", "8to5", "9to5", "7to6", "8to6", "9to6",
                                      "10to6", "8to7", "9to7", "10to7", "11to7"}));
  EXPECT_EQ(pass.labels().size(), 12u);
}

TEST_F(ComboRun, ExpandsEveryCombinationLineInPlace) {
  const std::string thread =
      kLoto6Line1 + "\n" + kHeader1 + "\nhello\n" + "my pick: 01 05 09 14 22 31 38 7to6  \r\n" +
      "03 07 11 19 24 28 6to5\n" + "bye\n" + kHeader2 + "\n" + "02 07 19 28 33 43\n";
  Pass pass(disk, clock);
  ASSERT_TRUE(run(pass, thread)) << pass.inquiry();
  EXPECT_EQ(pass.altered(), "who14-5.txt");
  EXPECT_EQ(disk.files["who14-5.txt"], kLoto6Line1 + "\n\n" + kHeader1 + "\nhello\n" + kSevenToSix +
                                           kSixToFive + "bye\n" + kHeader2 +
                                           "\n02 07 19 28 33 43\n");
  // One expansion file per combination line, each with a fresh serial number.
  EXPECT_EQ(cmbNames(), (std::vector<std::string>{"cmb12-14-5.txt", "cmb13-14-5.txt"}));
  EXPECT_EQ(disk.files["cmb12-14-5.txt"], kSevenToSix);
  EXPECT_EQ(disk.files["cmb13-14-5.txt"], kSixToFive);
  EXPECT_EQ(disk.files["serial.txt"], "13\n");
  EXPECT_EQ(disk.files["t.txt"], thread);
}

TEST_F(ComboRun, WithoutCombinationLinesOnlyRegroups) {
  const std::string body = kHeader1 + "\nhello\n01 02 03 04 05 06\n" + kHeader2 + "\nx\n";
  Pass keep(disk, clock);
  ASSERT_TRUE(run(keep, kLoto6Line1 + "\npre\n" + body));
  EXPECT_EQ(disk.files["who14-5.txt"], kLoto6Line1 + "\n\npre\n" + body);
  // Gone, as the next run's cleanup deletes it: the name is free again.
  disk.files.erase("who14-5.txt");
  Pass drop(disk, clock, false);
  ASSERT_TRUE(run(drop, kLoto6Line1 + "\n" + body));
  EXPECT_EQ(disk.files["who14-5.txt"], body);
  EXPECT_TRUE(cmbNames().empty());
  EXPECT_EQ(disk.files["serial.txt"], "11\n");
}

TEST_F(ComboRun, SerialAndOverwriteNaming) {
  const std::string thread = kLoto6Line1 + "\n01 05 09 14 22 31 38 7to6\n";
  Pass serial(disk, clock, false, true);
  ASSERT_TRUE(run(serial, thread));
  EXPECT_EQ(serial.altered(), "who12-14-5.txt");
  EXPECT_EQ(cmbNames(), std::vector<std::string>{"cmb13-14-5.txt"});
  EXPECT_EQ(disk.files["serial.txt"], "13\n");

  disk.files.erase("serial.txt");
  Pass overwrite(disk, clock, false, false, true);
  ASSERT_TRUE(run(overwrite, thread));
  EXPECT_EQ(overwrite.altered(), "who.txt");
  EXPECT_EQ(disk.files["who.txt"], kSevenToSix);
  EXPECT_EQ(disk.files["cmb1-14-5.txt"], kSevenToSix);
  EXPECT_EQ(disk.files["serial.txt"], "1\n");
}

TEST_F(ComboRun, GameOfLine1DoesNotRestrictTheExpansion) {
  // Loto-7 and Miniloto draws with a Loto-6 label, a Loto-7 thread with "11to7".
  const std::string loto7 = "01 02 03 04 05 06 07 08 09 -";
  const std::string miniloto = "01 02 03 04 05 06 -";
  for (const std::string& line1 : {loto7, miniloto}) {
    Pass pass(disk, clock, false);
    ASSERT_TRUE(run(pass, line1 + "\n01 05 09 14 22 31 38 7to6\n")) << pass.inquiry();
    EXPECT_EQ(disk.files[pass.altered()], kSevenToSix);
  }
  Pass eleven(disk, clock, false);
  ASSERT_TRUE(run(eleven, loto7 + "\n01 02 03 04 05 06 07 08 09 10 11 11to7\n"));
  const std::string& out = disk.files[eleven.altered()];
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 330);
  EXPECT_EQ(out.substr(0, 22), "01 02 03 04 05 06 07 \n");
  EXPECT_EQ(out.substr(out.size() - 22), "05 06 07 08 09 10 11 \n");
}

TEST_F(ComboRun, LongLinesAreProcessedWhole) {
  const std::string longText(500, 'x');
  const std::string thread =
      kLoto6Line1 + "\n" + longText + "\n" + longText + " 01 05 09 14 22 31 38 7to6\n";
  Pass pass(disk, clock, false);
  ASSERT_TRUE(run(pass, thread)) << pass.inquiry();
  EXPECT_EQ(disk.files["who14-5.txt"], longText + "\n" + kSevenToSix);
}

TEST_F(ComboRun, FailuresWriteNoOutput) {
  struct Case {
    std::string name, thread, message;
  };
  const std::string ok = "01 05 09 14 22 31 38 7to6\n";
  const std::string l6 = kLoto6Line1 + "\n" + ok;
  const Case cases[] = {
      {"empty thread", "", "e11(Line-1): in.getline(c, BUFFER_SIZE )"},
      {"long Line-1", std::string(384, '1') + "\n", "e11(Line-1): in.getline(c, BUFFER_SIZE )"},
      {"no draw", "01 02 03 04 05 06 07 08 09 10\n" + ok, "e9: ADD THE DRAW TO LINE-1 OF WHO.TXT"},
      {"five blanks", "01 02 03 04 05 06\n" + ok, "e10: TOO FEW GAPS"},
      {"label in running text", l6 + "I like 9to5 jobs\n", "e51: wrongBall()"},
      {"two labels", l6 + "01 02 03 04 05 06 07 7to5 8to6\n", "e52: s == ball[i]"},
      {"38 in Loto-7", l6 + "01 02 03 04 05 06 07 38 8to7\n", "e53: wrongBall()"},
      {"Loto-7 label mismatch", l6 + "01 02 03 04 05 06 07 08 8to7x\n", "e54: s == ball[i]"},
      {"label first", l6 + "8to6 01 05 09 14 22 31 38 43\n", "e55: wrongBall()"},
      {"bare label", l6 + "7to6\n", "e55: wrongBall()"},
      {"too short for its label", l6 + "01 02 03 04 05 06 07 10to6\n", "e55: wrongBall()"},
      {"trailing zenkaku blank", l6 + "01 02 03 04 05 06 07 7to6" + kZenkakuSpace + "\n",
       "e56: s == ball[i]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (bool overwrite : {false, true}) {
      disk.files.clear();
      disk.files["serial.txt"] = "11\n";
      disk.files["who.txt"] = "old";
      Pass pass(disk, clock, true, false, overwrite);
      EXPECT_FALSE(run(pass, c.thread));
      EXPECT_EQ(pass.inquiry(), c.message);
      EXPECT_EQ(disk.files.count("who14-5.txt"), 0u);
      EXPECT_EQ(disk.files["who.txt"], "old");
      EXPECT_EQ(disk.files["t.txt"], c.thread);
      // Only the good line before the failing one left its expansion file.
      const bool expandedFirst = c.thread.compare(0, l6.size(), l6) == 0;
      EXPECT_EQ(disk.files.count("cmb12-14-5.txt"), expandedFirst ? 1u : 0u);
      EXPECT_EQ(disk.files.count("cmb13-14-5.txt"), 0u);
      // The failing line's name took a serial number too.
      EXPECT_EQ(disk.files["serial.txt"], expandedFirst ? "13\n" : "11\n");
    }
  }
}

// An expansion file is never written over what has its name: the next
// serial number is taken, and serial.txt counts the names passed by, whether
// the line is expanded or fails.
TEST_F(ComboRun, TakenExpansionNamesArePassedBy) {
  disk.files["cmb12-14-5.txt"] = "mine";
  disk.directories.insert("cmb13-14-5.txt");
  Pass expanded(disk, clock, false);
  ASSERT_TRUE(run(expanded, kLoto6Line1 + "\n01 05 09 14 22 31 38 7to6\n")) << expanded.inquiry();
  EXPECT_EQ(disk.files["who14-5.txt"], kSevenToSix);
  EXPECT_EQ(disk.files["cmb12-14-5.txt"], "mine");
  EXPECT_EQ(disk.files["cmb14-14-5.txt"], kSevenToSix);
  EXPECT_EQ(disk.files["serial.txt"], "14\n");

  disk.files.erase("who14-5.txt");
  disk.files["cmb15-14-5.txt"] = "mine";
  Pass failed(disk, clock, false);
  EXPECT_FALSE(run(failed, kLoto6Line1 + "\n01 05 09 14 22 31 99 7to6\n"));
  EXPECT_EQ(failed.inquiry(), "e55: wrongBall()");
  EXPECT_EQ(disk.files["cmb15-14-5.txt"], "mine");
  EXPECT_EQ(disk.files.count("cmb16-14-5.txt"), 0u);
  EXPECT_EQ(disk.files["serial.txt"], "16\n");
}

TEST_F(ComboRun, FileFailures) {
  Pass missing(disk, clock);
  std::string name = "absent.txt";
  EXPECT_FALSE(missing.altering(name));
  EXPECT_EQ(missing.inquiry(), "e8: ifstream in( absent.txt )");

  const std::string thread = kLoto6Line1 + "\n01 05 09 14 22 31 38 7to6\n";
  // The expansion file cannot be written: the expander's last validation text.
  disk.unwritable.insert("cmb12-14-5.txt");
  Pass unwritable(disk, clock);
  EXPECT_FALSE(run(unwritable, thread));
  EXPECT_EQ(unwritable.inquiry(), "e56: s == ball[i]");
  EXPECT_EQ(disk.files.count("who14-5.txt"), 0u);

  disk.unwritable = {"who14-5.txt"};
  Pass output(disk, clock);
  EXPECT_FALSE(run(output, thread));
  EXPECT_EQ(output.inquiry(), "e1: ofstream saveFile( who14-5.txt )");
}

// A disk whose expansion files vanish as soon as they are written.
class LosingDisk : public MemoryDisk {
 public:
  bool readFile(const std::string& name, std::string* contents,
                Links links = Links::kFollowed) override {
    if (name.compare(0, 3, "cmb") == 0) return false;
    return MemoryDisk::readFile(name, contents, links);
  }
};

TEST(Combo, UnreadableExpansionFile) {
  LosingDisk disk;
  disk.files["serial.txt"] = "11\n";
  disk.files["t.txt"] = kLoto6Line1 + "\n01 05 09 14 22 31 38 7to6\n";
  FixedClock clock(at1405());
  Pass pass(disk, clock);
  std::string name = "t.txt";
  EXPECT_FALSE(pass.altering(name));
  EXPECT_EQ(pass.inquiry(), "e5: ifstream in( cmb12-14-5.txt )");
  EXPECT_EQ(disk.files.count("who14-5.txt"), 0u);
}

TEST(Combo, AcquireFromFileReadsLinesWhole) {
  MemoryDisk disk;
  disk.files["a.txt"] = "01 02 \r\n03 04 \n05";
  Pass pass(disk, kAnyTime, false, false, true);
  pass.add("x");
  ASSERT_TRUE(pass.acquireFromFile("a.txt"));
  EXPECT_EQ(pass.body(), "x\n01 02 \n03 04 \n05\n");
}

// Counts reads and writes by file name.
class CountingDisk : public MemoryDisk {
 public:
  bool readFile(const std::string& name, std::string* contents,
                Links links = Links::kFollowed) override {
    ++reads[name];
    return MemoryDisk::readFile(name, contents, links);
  }
  bool writeFile(const std::string& name, const std::string& contents,
                 Links links = Links::kFollowed) override {
    ++writes[name];
    return MemoryDisk::writeFile(name, contents, links);
  }
  std::map<std::string, int> reads, writes;
};

TEST(Combo, EachCombinationLineCostsOneWriteAndOneRead) {
  CountingDisk disk;
  disk.files["serial.txt"] = "11\n";
  std::string thread = kLoto6Line1 + "\n";
  for (int i = 0; i < 3; ++i) thread += "01 05 09 14 22 31 38 7to6\n";
  disk.files["t.txt"] = thread;
  FixedClock clock(at1405());
  Pass pass(disk, clock);
  std::string name = "t.txt";
  ASSERT_TRUE(pass.altering(name));
  EXPECT_EQ(disk.files["serial.txt"], "14\n");
  EXPECT_EQ(disk.reads["serial.txt"], 1);
  EXPECT_EQ(disk.writes["serial.txt"], 1);
  for (const char* cmb : {"cmb12-14-5.txt", "cmb13-14-5.txt", "cmb14-14-5.txt"}) {
    EXPECT_EQ(disk.writes[cmb], 1) << cmb;
    EXPECT_EQ(disk.reads[cmb], 1) << cmb;
  }
  EXPECT_EQ(disk.reads["t.txt"], 1);
  EXPECT_EQ(disk.writes["who14-5.txt"], 1);
}

}  // namespace
