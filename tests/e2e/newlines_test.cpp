#include <filesystem>

#include "E2E.hpp"

namespace {

using NewLinesRun = E2E;

const std::string kLoto6 = "05 12 19 27 33 41 08 -";
const std::string kHeader1 =
    "1 " + sjis::colon + "Ann " + sjis::colon + "2017/08/14(Mon) 16:15:20.68 ID:abcdefgh";
const std::string kHeader2 =
    "2 " + sjis::colon + "Bob " + sjis::colon + "2017/08/14(Mon) 16:20:00.00 ID:ijklmnop";

const std::string kThread = kLoto6 + "\r\n" + "first 01 02 03 04 05 06 03 04 05 06 07 08\n" +  //
                            kHeader1 + "\n" +
                            "01 02 03 04 05 06|07 08 09 10 11 12/13 14 15 16 17 18\n"
                            "A: 01 02 03 04 05 06 / B: 07 08 09 10 11 12\n"
                            "\n"
                            "thanks!\n" +
                            kHeader2 + "\n" +
                            "01 02 03 04 05 06 07\n"
                            "01 02 03 04 05 06 44\n"
                            "10 20 30 31 32 33 QP";

// The name printed by a successful run, without its line end.
std::string printedName(const Outcome& run) {
  if (run.out.empty() || run.out.back() != '\n') return "";
  return run.out.substr(0, run.out.size() - 1);
}

TEST_F(NewLinesRun, SplitsEveryBodyLineAndEndsEveryGroupWithAnEmptyLine) {
  writeDefaultCompanions();
  write("who.txt", kThread);
  Outcome run = pelk({"who.txt", "-n"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::string name = printedName(run);
  ASSERT_EQ(name.substr(0, 3), "who");
  EXPECT_EQ(read(name), kLoto6 + "\n" +
                            "\n"
                            "01 02 03 04 05 06 \n"
                            "03 04 05 06 07 08\n"
                            "\n" +
                            kHeader1 + "\n" +
                            "01 02 03 04 05 06|07 08 09 10 11 12/\n"
                            "13 14 15 16 17 18\n"
                            "01 02 03 04 05 06 /\n"
                            "07 08 09 10 11 12\n"
                            "thanks!\n"
                            "\n" +
                            kHeader2 + "\n" +
                            "01 02 03 04 05 06 07\n"
                            "01 02 03 04 05 06 \n"
                            "44\n"
                            "10 20 30 31 32 33 QP\n"
                            "\n");
  EXPECT_EQ(read("who.txt"), kThread);
}

TEST_F(NewLinesRun, SeparatorOrderOfTheCompanionFileDecides) {
  writeDefaultCompanions();
  write("separate.txt", "|\n/\n");
  write("who.txt", kLoto6 + "\n" + kHeader1 + "\n" +
                       "01 02 03 04 05 06|07 08 09 10 11 12/13 14 15 16 17 18\n"
                       "A: 01 02 03 04 05 06 / B: 07 08 09 10 11 12\n");
  Outcome run = pelk({"-n", "-1-"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "who.txt\n");
  // Without Line-1 and without body text before the first header, the
  // output starts with that header.
  EXPECT_EQ(read("who.txt"), kHeader1 + "\n" +
                                 "01 02 03 04 05 06|\n"
                                 "07 08 09 10 11 12/13 14 15 16 17 18\n"
                                 "01 02 03 04 05 06 /\n"
                                 "07 08 09 10 11 12\n"
                                 "\n");
}

TEST_F(NewLinesRun, PickSizeComesFromTheGameOfLine1) {
  writeDefaultCompanions();
  struct Case {
    std::string line1, body, expected;
  };
  const std::string seven = "01 02 03 04 05 06 07 01 02 03 04 05 06 07";
  const std::string five = "01 02 03 04 05 01 02 03 04 05 06";
  const Case cases[] = {
      {"01 02 03 04 05 06 -", seven, seven + "\n"},
      {kLoto6, seven, seven + "\n"},
      {"01 02 03 04 05 06 07 08 09 -", seven, "01 02 03 04 05 06 07 \n01 02 03 04 05 06 07\n"},
      {"01 02 03 04 05 06 -", five, "01 02 03 04 05 \n01 02 03 04 05 06\n"},
      {kLoto6, five, five + "\n"},
  };
  for (const Case& c : cases) {
    write("mine.txt", c.line1 + "\n" + c.body + "\n");
    Outcome run = pelk({"mine.txt", "-n", "-o"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(read("who.txt"), c.line1 + "\n\n" + c.expected + "\n") << c.line1 << " " << c.body;
  }
}

TEST_F(NewLinesRun, BadThreadsStopBeforeAnythingIsWritten) {
  writeDefaultCompanions();
  struct Case {
    std::vector<std::string> args;
    std::string thread, err;
  };
  const Case cases[] = {
      {{"-n"}, "", "e32(Line-1): in.getline(c, BUFFER_SIZE )\n"},
      {{"-n"}, std::string(384, '1') + "\n01/02\n", "e32(Line-1): in.getline(c, BUFFER_SIZE )\n"},
      {{"-n"},
       "01 02 03 04 05 06 07 08 09 10\n01/02\n",
       "e30: ADD THE DRAW TO LINE-1 OF WHO.TXT\n"},
      {{"-n", "-1-"},
       "01 02 03 04 05 06 07 08 09 10\n01/02\n",
       "e30: ADD THE DRAW TO LINE-1 OF WHO.TXT\n"},
      {{"-n"}, "01 02 03 04 05 06\n01/02\n", "e31: TOO FEW GAPS\n"},
  };
  for (const Case& c : cases) expectRefused(c.thread, c.args, c.err);
  Outcome missing = pelk({"nothere.txt", "-n"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.message, "e29: ifstream in( nothere.txt )\n");
}

TEST_F(NewLinesRun, UnreadableSeparatorsAndUnwritableOutputAreReported) {
  writeDefaultCompanions();
  const std::string thread = kLoto6 + "\n01/02\n";
  write("mine.txt", thread);
  std::filesystem::remove(dir / "separate.txt");
  std::filesystem::create_directory(dir / "separate.txt");
  Outcome separators = pelk({"mine.txt", "-n", "-o"});
  EXPECT_EQ(separators.status, 1);
  EXPECT_EQ(separators.out, "");
  EXPECT_EQ(separators.message, "e2: ifstream in( separate.txt )\n");
  EXPECT_FALSE(exists("who.txt"));

  std::filesystem::remove(dir / "separate.txt");
  write("separate.txt", "/\n|\n");
  std::filesystem::create_directory(dir / "who.txt");
  Outcome output = pelk({"mine.txt", "-n", "-o"});
  EXPECT_EQ(output.status, 1);
  EXPECT_EQ(output.out, "");
  EXPECT_EQ(output.message, "e1: ofstream saveFile( who.txt )\n");
  EXPECT_EQ(read("mine.txt"), thread);
}

}  // namespace
