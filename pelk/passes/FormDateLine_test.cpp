#include "passes/FormDateLine.hpp"

#include <gtest/gtest.h>

#include "Clock.hpp"
#include "DateFollowed.hpp"
#include "MemoryDisk.hpp"
#include "ShiftJis.hpp"

namespace {

const std::string kColon = kZenkakuColon;
const std::string kMonKanji = "\x8C\x8E";

// A header broken over three lines, the last holding the ID.
const std::string kBrokenA = "256 " + kColon + "Name " + kColon;
const std::string kBrokenB = "2017/08/14(" + kMonKanji + ") 16:15:20.68";
const std::string kBrokenL = " ID:xxxxxxxx";
// The three lines united, in the colon layout (the joined line's trailing
// space stays with the ID).
const std::string kUnited =
    "256 " + kColon + "Name " + kColon + "2017/08/14(Mon) 16:15:20.68 ID:xxxxxxxx ";

struct PassRun {
  bool ok = false;
  std::string written;
  std::string message;
};

PassRun runPass(const std::string& thread, bool keepLine1) {
  MemoryDisk disk;
  disk.files["who.txt"] = thread;
  const FixedClock clock(1502694845);
  FormDateLine pass;
  pass.setting({.companion = "exclude.txt",
                .keepLine1 = keepLine1,
                .overwrite = true,
                .disk = &disk,
                .clock = &clock});
  std::string name = "who.txt";
  PassRun run;
  run.ok = pass.altering(name);
  run.written = disk.files["who.txt"];
  run.message = pass.inquiry();
  return run;
}

std::string lines(std::initializer_list<std::string> all) {
  std::string text;
  for (const std::string& line : all) text += line + "\n";
  return text;
}

TEST(FormDateLine, UnitesBrokenHeadersAndCopiesTheRest) {
  struct Case {
    const char* what;
    std::string thread;
    bool keepLine1;
    std::string expected;
  };
  const std::string longLine(5000, 'z');
  const Case cases[] = {
      {"no ID line: two blanks open the first group", lines({"L1", "body a", "body b"}), true,
       lines({"L1", "", " ", " ", "body a", "body b"})},
      {"one line after Line-1", lines({"L1", "only"}), true, lines({"L1", "", " ", " ", "only"})},
      {"nothing after Line-1", lines({"L1"}), true, lines({"L1", "", " ", " "})},
      {"broken header united, its body after two blanks",
       lines({"L1", "x", kBrokenA, kBrokenB, kBrokenL, "p1", "p2"}), false,
       lines({" ", " ", "x", kUnited, " ", " ", "p1", "p2"})},
      {"header completed by the last line", lines({"L1", kBrokenA, kBrokenB, kBrokenL}), false,
       lines({" ", " ", kUnited, " ", " "})},
      {"ID line that unites to no header is copied", lines({"L1", "a", "b", "c ID:x", "d"}), false,
       lines({" ", " ", "a", "b", "c ID:x", "d"})},
      {"ID in an older line does not trigger",
       lines({"L1", kBrokenL + " " + kBrokenA, kBrokenB, "tail"}), false,
       lines({" ", " ", kBrokenL + " " + kBrokenA, kBrokenB, "tail"})},
      {"long body lines pass whole", lines({"L1", longLine, "x"}), false,
       lines({" ", " ", longLine, "x"})},
  };
  for (const Case& c : cases) {
    PassRun run = runPass(c.thread, c.keepLine1);
    EXPECT_TRUE(run.ok) << c.what << ": " << run.message;
    EXPECT_EQ(run.written, c.expected) << c.what;
  }
}

TEST(FormDateLine, OneLineHeaderNeverJoinsTheLinesAbove) {
  // Joined with the two picks above it this header would make a date line
  // that swallows them; it is copied instead.
  const std::string header = "7 " + kColon + "N " + kColon + "2017/08/14 16:15:20 ID:abcdefgh";
  const std::string above1 = "12 34";
  const std::string above2 = "56 ";
  ASSERT_GT(DateFollowed(above1 + above2 + " " + header + " ").dateLine(), 0);
  PassRun run = runPass(lines({"L1", above1, above2, header, "body"}), false);
  EXPECT_TRUE(run.ok);
  EXPECT_EQ(run.written, lines({" ", " ", above1, above2, header, "body"}));
}

TEST(FormDateLine, OnlyTheNewestLineTriggers) {
  // These three lines would unite to a header, but the ID is not in the last.
  const std::string a = "256 " + kColon + "Name ID:xx " + kColon;
  const std::string b = "2017/08/14(" + kMonKanji + ")";
  const std::string l = " 16:15:20.68";
  ASSERT_GT(DateFollowed(a + b + " " + l + " ").dateLine(), 0);
  PassRun run = runPass(lines({"L1", a, b, l}), false);
  EXPECT_EQ(run.written, lines({" ", " ", a, b, l}));
}

}  // namespace
