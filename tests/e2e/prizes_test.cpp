// "-p": every pick of the thread checked against the draw on Line-1.

#include <algorithm>
#include <filesystem>
#include <regex>

#include "E2E.hpp"
#include "Twin.hpp"

namespace {

using Prizes = E2E;

const std::string kHeader1 =
    "1 " + sjis::colon + "A " + sjis::colon + "2017/08/14(Mon) 16:15:20.68 ID:abcdefgh";
const std::string kHeader2 =
    "2 " + sjis::colon + "B " + sjis::colon + "2017/08/14(Mon) 16:16:21.00 ID:ijklmnop";
const std::string kLine1 = "05 12 19 27 33 41 08 -";

// The example of the option's description.
const std::string kThread = kLine1 + "\n" + kHeader1 + "\n41 33 27 19 12 05\n" + kHeader2 +
                            "\n05 12 19 27 33 08\n01 02 03 04 10 11\n";
const std::string kWinners = kHeader1 + "\n05 12 19 27 33 41 | 1st\n\n" + kHeader2 +
                             "\n05 08 12 19 27 33 | 2nd\n\n" +
                             "1st | 1\n2nd | 1\n3rd | 0\n4th | 0\n5th | 0\n";

TEST_F(Prizes, ListsTheWinningPicksOfTheExampleByteForByte) {
  writeDefaultCompanions();
  write("who.txt", kThread);
  Outcome run = pelk({"who.txt", "-p"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::string name = run.out.substr(0, run.out.size() - 1);
  EXPECT_TRUE(std::regex_match(run.out, std::regex("who[0-9]+-[0-9]+\\.txt\n"))) << run.out;
  EXPECT_EQ(read(name), kLine1 + "\n\n" + kWinners);
  EXPECT_EQ(read("who.txt"), kThread);
  EXPECT_NE(read("remove_e.txt").find(name + "\n"), std::string::npos);
}

TEST_F(Prizes, TakesTheSwitchesOfEveryPass) {
  writeDefaultCompanions();
  write("who.txt", kThread);
  Outcome serial = pelk({"who.txt", "-p", "-l", "-1-"});
  ASSERT_EQ(serial.status, 0) << serial.err;
  EXPECT_TRUE(std::regex_match(serial.out, std::regex("who1-[0-9]+-[0-9]+\\.txt\n"))) << serial.out;
  EXPECT_EQ(read(serial.out.substr(0, serial.out.size() - 1)), kWinners);
  Outcome over = pelk({"-p", "-o"});
  ASSERT_EQ(over.status, 0) << over.err;
  EXPECT_EQ(over.out, "who.txt\n");
  EXPECT_EQ(read("who.txt"), kLine1 + "\n\n" + kWinners);
}

TEST_F(Prizes, ElevenNumbersInSevensArePicksWithoutExpansionFiles) {
  writeDefaultCompanions();
  // Loto-7, 02 09 14 21 28 33 37 drawn with 05 and 17. The eleven numbers
  // give 330 picks: the seven drawn (1st), six of them and 05 or 17 (2nd, 14),
  // six and 01 or 03 (3rd, 14), five of them with two of the other four (4th,
  // 126), four with three (5th, 140), three with all four (6th, 35: 05 and 17
  // among them).
  const std::string line1 = "02 09 14 21 28 33 37 05 17 -";
  write("who.txt", line1 + "\n" + "02 09 14 21 28 33 37 05 17 01 03 11to7\n" + kHeader1 +
                       "\n01 03 05 17 02 09 14\n02 09 14 21 28 33 37 7to6\n");
  Outcome run = pelk({"who.txt", "-p", "-1-"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string written = read(run.out.substr(0, run.out.size() - 1));
  EXPECT_EQ(written.rfind("02 09 14 21 28 33 37 | 1st\n02 05 09 14 21 28 33 | 2nd\n", 0), 0u);
  const std::string tail = "\n" + kHeader1 + "\n01 02 03 05 09 14 17 | 6th\n\n" +
                           "1st | 1\n2nd | 14\n3rd | 14\n4th | 126\n5th | 140\n6th | 36\n";
  ASSERT_GE(written.size(), tail.size());
  EXPECT_EQ(written.substr(written.size() - tail.size()), tail);
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 330 + 1 + 3 + 6);
  for (const std::string& name : names()) EXPECT_NE(name.rfind("cmb", 0), 0u) << name;
  // No serial number was taken, as "-c" takes one for each expansion file.
  EXPECT_EQ(read("serial.txt"), "0\n");
}

// Picks as phones type them and several picks on a line, in a Shift-JIS
// thread and in its UTF-8 twin: the same winners, each output in the
// thread's encoding.
TEST_F(Prizes, ReadsFullWidthPicksAndPiecesInBothEncodings) {
  const Twin wideBlank{"\x81\x40", "\xE3\x80\x80"};
  const Twin wideSlash{"\x81\x5E", "\xEF\xBC\x8F"};
  const Twin dot{"\x81\x45", "\xE3\x83\xBB"};  // "・", a separator added below
  const Twin wide05{"\x82\x4F\x82\x54", "\xEF\xBC\x90\xEF\xBC\x95"};
  const Twin wide41{"\x82\x53\x82\x50", "\xEF\xBC\x94\xEF\xBC\x91"};
  const Twin header =
      "1 " + twins::kColon + "A " + twins::kColon + "2017/08/14(Mon) 16:15:20.68 ID:abcdefgh\n";
  const Twin thread = kLine1 + "\n" + header + wide05 + wideBlank + "12 19 27 33" + wideBlank +
                      wide41 + "\n" + twins::kYamada + " 41 33 27 19 12 08" + wideSlash +
                      "01 05 12 19 27 33 | 02 03 04 06 07 09\n" + "05 12 19 27 33 41" + dot +
                      "01 02 05 12 19 27" + dot + twins::kNurupo + "\n";
  const Twin expected = header + "05 12 19 27 33 41 | 1st\n08 12 19 27 33 41 | 2nd\n" +
                        "01 05 12 19 27 33 | 3rd\n05 12 19 27 33 41 | 1st\n" +
                        "01 02 05 12 19 27 | 4th\n\n" +
                        "1st | 2\n2nd | 1\n3rd | 1\n4th | 1\n5th | 0\n";
  writeDefaultCompanions();
  write("separate.txt", "/\n|\n" + dot.sjis + "\n");
  for (const auto& [text, output] :
       {std::pair{thread.sjis, expected.sjis}, std::pair{thread.utf8, expected.utf8}}) {
    write("who.txt", text);
    Outcome run = pelk({"who.txt", "-p", "-1-", "-r-"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(read(run.out.substr(0, run.out.size() - 1)), output);
  }
}

TEST_F(Prizes, FailuresAreReportedAndWriteNothing) {
  struct Case {
    std::string thread, err;
  };
  const std::string body = kHeader1 + "\n05 12 19 27 33 41\n";
  const Case cases[] = {
      {"", "e64(Line-1): in.getline(c, BUFFER_SIZE )\n"},
      {std::string(384, '0') + "\n" + body, "e64(Line-1): in.getline(c, BUFFER_SIZE )\n"},
      {"01 02 03 04 05 06 07 08 09 10\n" + body, "e62: ADD THE DRAW TO LINE-1 OF WHO.TXT\n"},
      {"05 12 19 27 33 41 44 -\n" + body, "e62: ADD THE DRAW TO LINE-1 OF WHO.TXT\n"},
      {"01 02 03 04 05 06\n" + body, "e63: TOO FEW GAPS\n"},
      // A labelled line of the game fails as it fails the expansion pass.
      {kLine1 + "\n" + body + "01 02 03 04 05 44 7to6\n", "e55: wrongBall()\n"},
  };
  writeDefaultCompanions();
  for (const Case& c : cases) {
    expectRefused(c.thread, {"-p"}, c.err);
    EXPECT_FALSE(exists("serial.txt"));
  }
  // The hint names the line at fault, as it does for the expansion pass.
  write("who.txt", kLine1 + "\n" + body + "01 02 03 04 05 44 7to6\n");
  Outcome labelled = pelk({"-p"});
  EXPECT_EQ(labelled.err,
            "e55: wrongBall()\n"
            "pelk: who.txt line 4: \"01 02 03 04 05 44 7to6\": 44 is no Loto-6 number (01-43)\n"
            "pelk: fix or remove the line: a combination line holds N different numbers of one "
            "game, each two digits and one blank, then its label, such as \"01 05 09 14 22 31 38 "
            "7to6\"\n");
  std::filesystem::remove(dir / "who.txt");
  Outcome run = pelk({"-p"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.message, "e61: ifstream in( who.txt )\n");
}

}  // namespace
