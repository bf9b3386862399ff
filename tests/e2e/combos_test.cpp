#include <regex>

#include "E2E.hpp"

namespace {

using Combos = E2E;

const std::string kHeader1 =
    "1 " + sjis::colon + "Quiet Heron " + sjis::colon + "2017/08/14(Mon) 16:15:20.68 ID:AbCdEfGh";
const std::string kHeader2 =
    "2 " + sjis::colon + "Calm Lake " + sjis::colon + "2017/08/14(Mon) 16:16:21.00 ID:BcDeFgHi";
const std::string kLine1 = "05 12 19 27 33 41 08 -";

// A small Loto-6 thread: one combination posted three times in different
// forms, a header that holds numbers, and lines that are no combination.
const std::string kThread = kLine1 + "\r\n" + kHeader1 + "\r\n43 07 19 02 33 28\r\n" +
                            "01 02 03 04 05\r\nhello\r\n" + kHeader2 + "\r\n" +
                            "2017/08/14 01 05 09 14 22 31\r\n28  33 43 02 07 19 !\r\n" +
                            "11 22 33 40 41 42\r\n123 04 05 06 07\r\n02 07 19 28 33 43\r\n";

// Splits standard output into the lines before the last one and the last,
// the name of the file written.
std::pair<std::string, std::string> copiesAndName(const std::string& out) {
  const size_t end = out.size() > 0 ? out.size() - 1 : 0;
  const size_t start = out.rfind('\n', end > 0 ? end - 1 : 0);
  if (start == std::string::npos || end == 0) return {"", out.substr(0, end)};
  return {out.substr(0, start + 1), out.substr(start + 1, end - start - 1)};
}

TEST_F(Combos, UniqueWritesEachCombinationOnceAndPrintsCopies) {
  writeDefaultCompanions();
  write("who.txt", kThread);
  Outcome run = pelk({"who.txt", "-u"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  auto [copies, name] = copiesAndName(run.out);
  EXPECT_EQ(copies, "02 07 19 28 33 43\n02 07 19 28 33 43\n");
  EXPECT_TRUE(std::regex_match(name, std::regex("unq[0-9]+-[0-9]+\\.txt"))) << name;
  EXPECT_EQ(read(name), "02 07 19 28 33 43\n11 22 33 40 41 42\n");
  EXPECT_EQ(read("who.txt"), kThread);
  EXPECT_NE(read("remove_e.txt").find(name + "\n"), std::string::npos);
}

TEST_F(Combos, UniqueOverwritesWhoTxtAndKeepsLine1WhenAsked) {
  writeDefaultCompanions();
  write("who.txt", kThread);
  write("unique.txt", "keep\n.csv\n");
  Outcome run = pelk({"-u"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "02 07 19 28 33 43\n02 07 19 28 33 43\nwho.txt\n");
  EXPECT_EQ(read("who.txt"), kLine1 + "\n02 07 19 28 33 43\n11 22 33 40 41 42\n");
}

TEST_F(Combos, UniqueTakesTheCompanionNamedAfterIt) {
  writeDefaultCompanions();
  write("who.txt", kThread);
  write("mine.txt", "keep\n.dat\n");
  Outcome named = pelk({"who.txt", "-u", "mine.txt"});
  ASSERT_EQ(named.status, 0) << named.err;
  auto [copies, name] = copiesAndName(named.out);
  EXPECT_TRUE(std::regex_match(name, std::regex("unq[0-9]+-[0-9]+\\.dat"))) << name;
  EXPECT_EQ(read(name), kLine1 + "\n02 07 19 28 33 43\n11 22 33 40 41 42\n");
  // "-u" after the name sets "unique.txt" again; a short file reads as the default.
  write("unique.txt", "");
  Outcome reset = pelk({"who.txt", "mine.txt", "-u", "-r-"});
  ASSERT_EQ(reset.status, 0) << reset.err;
  auto [copies2, name2] = copiesAndName(reset.out);
  EXPECT_TRUE(std::regex_match(name2, std::regex("unq[0-9]+-[0-9]+\\.txt"))) << name2;
  EXPECT_EQ(read(name2), "02 07 19 28 33 43\n11 22 33 40 41 42\n");
}

TEST_F(Combos, TabulateCountsDistinctCombinations) {
  writeDefaultCompanions();
  write("who.txt", kThread);
  Outcome run = pelk({"who.txt", "-t", "-l"});
  ASSERT_EQ(run.status, 0) << run.err;
  auto [copies, name] = copiesAndName(run.out);
  EXPECT_EQ(copies, "02 07 19 28 33 43\n02 07 19 28 33 43\n");
  EXPECT_TRUE(std::regex_match(name, std::regex("tab1-[0-9]+-[0-9]+\\.txt"))) << name;
  std::string expected = "33 | 2\n";
  for (const char* n : {"02", "07", "11", "19", "22", "28", "40", "41", "42", "43"})
    expected += std::string(n) + " | 1\n";
  for (int n = 1; n <= 43; ++n) {
    if (n == 2 || n == 7 || n == 11 || n == 19 || n == 22 || n == 28 || n == 33 || n >= 40)
      continue;
    expected += (n < 10 ? "0" : "") + std::to_string(n) + " | 0\n";
  }
  EXPECT_EQ(read(name), expected);
  EXPECT_EQ(read("serial.txt"), "1\n");
}

TEST_F(Combos, TabulateDrawsBarsFromAFifthLine) {
  writeDefaultCompanions();
  write("who.txt", kThread);
  write("tabulate.txt", "-1-\n.txt\n-1\n | \n#\n");
  Outcome run = pelk({"-t"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "02 07 19 28 33 43\n02 07 19 28 33 43\nwho.txt\n");
  std::string expected = "33 | 2 ##\n";
  for (const char* n : {"02", "07", "11", "19", "22", "28", "40", "41", "42", "43"})
    expected += std::string(n) + " | 1 #\n";
  for (int n = 1; n <= 43; ++n) {
    if (n == 2 || n == 7 || n == 11 || n == 19 || n == 22 || n == 28 || n == 33 || n >= 40)
      continue;
    expected += (n < 10 ? "0" : "") + std::to_string(n) + " | 0\n";
  }
  EXPECT_EQ(read("who.txt"), expected);
}

TEST_F(Combos, TabulateAscendingWithLine1AndOwnSeparator) {
  writeDefaultCompanions();
  write("who.txt", "01 02 03 04 05 06 -\n07 01 02 03 04\n" + kHeader1 + "\n01 02 03 04 05\n");
  write("tabulate.txt", "keep\n.lst\n\n=\n");
  Outcome run = pelk({"-t"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "who.txt\n");
  std::string expected = "01 02 03 04 05 06 -\n";
  for (int n = 6; n <= 31; ++n)
    if (n != 7) expected += (n < 10 ? "0" : "") + std::to_string(n) + "=0\n";
  expected += "05=1\n07=1\n01=2\n02=2\n03=2\n04=2\n";
  EXPECT_EQ(read("who.txt"), expected);
}

TEST_F(Combos, IncludeKeepsHeadersAndCombinationLines) {
  writeDefaultCompanions();
  write("who.txt", kThread);
  const std::string posts = kHeader1 + "\n43 07 19 02 33 28\n\n" + kHeader2 +
                            "\n28  33 43 02 07 19 !\n11 22 33 40 41 42\n02 07 19 28 33 43\n\n";
  Outcome kept = pelk({"who.txt", "-i", "-o"});
  ASSERT_EQ(kept.status, 0) << kept.err;
  EXPECT_EQ(kept.out, "who.txt\n");
  EXPECT_EQ(read("who.txt"), kLine1 + "\n\n\n" + posts);
  write("who.txt", kThread);
  Outcome dropped = pelk({"who.txt", "-i", "-1-"});
  ASSERT_EQ(dropped.status, 0) << dropped.err;
  const std::string name = dropped.out.substr(0, dropped.out.size() - 1);
  EXPECT_TRUE(std::regex_match(name, std::regex("who[0-9]+-[0-9]+\\.txt"))) << name;
  EXPECT_EQ(read(name), posts);
  EXPECT_EQ(read("who.txt"), kThread);
}

TEST_F(Combos, IncludeKeepsLongBodyLinesWhole) {
  writeDefaultCompanions();
  const std::string longLine = std::string(5000, 'x') + "06 05 04 03 02 01" + std::string(900, 'y');
  write("who.txt",
        kLine1 + "\n" + kHeader1 + "\n" + longLine + "\n" + std::string(600, '7') + "\n");
  Outcome run = pelk({"-i", "-1-"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(read("who.txt"), kHeader1 + "\n" + longLine + "\n\n");
}

TEST_F(Combos, FailuresAreReportedAndWriteNothing) {
  struct Case {
    std::string option, thread, err;
  };
  const std::string noDraw = "01 02 03 04 05 06 07 08 09 10\n01 02 03 04 05 06\n";
  const std::string fewGaps = "01 02 03 04 05 06\n01 02 03 04 05 06\n";
  const std::string longLine1 = std::string(384, '0') + "\n01 02 03 04 05 06\n";
  const Case cases[] = {
      {"-u", "", "e47(Line-1): in.getline(c, BUFFER_SIZE )\n"},
      {"-u", longLine1, "e47(Line-1): in.getline(c, BUFFER_SIZE )\n"},
      {"-u", noDraw, "e45: ADD THE DRAW TO LINE-1 OF WHO.TXT\n"},
      {"-u", fewGaps, "e46: TOO FEW GAPS\n"},
      {"-t", "", "e43(Line-1): in.getline(c, BUFFER_SIZE )\n"},
      {"-t", longLine1, "e43(Line-1): in.getline(c, BUFFER_SIZE )\n"},
      {"-t", noDraw, "e41: ADD THE DRAW TO LINE-1 OF WHO.TXT\n"},
      {"-t", fewGaps, "e42: TOO FEW GAPS\n"},
      {"-i", "", "e15(Line-1): in.getline(c, BUFFER_SIZE )\n"},
      {"-i", longLine1, "e15(Line-1): in.getline(c, BUFFER_SIZE )\n"},
      {"-i", noDraw, "e13: ADD THE DRAW TO LINE-1 OF WHO.TXT\n"},
      {"-i", fewGaps, "e14: TOO FEW GAPS\n"},
  };
  writeDefaultCompanions();
  for (const Case& c : cases) {
    expectRefused(c.thread, {c.option}, c.err);
    EXPECT_FALSE(exists("serial.txt"));
  }
  std::filesystem::remove(dir / "who.txt");
  for (const auto& [option, err] : {std::pair{"-u", "e44: ifstream in( who.txt )\n"},
                                    std::pair{"-t", "e40: ifstream in( who.txt )\n"},
                                    std::pair{"-i", "e12: ifstream in( who.txt )\n"}}) {
    Outcome run = pelk({option});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.message, err);
  }
}

TEST_F(Combos, UnreadableCompanionIsReported) {
  writeDefaultCompanions();
  write("who.txt", kThread);
  for (const char* companion : {"unique.txt", "tabulate.txt"}) {
    std::filesystem::remove(dir / companion);
    std::filesystem::create_directory(dir / companion);
  }
  Outcome unique = pelk({"-u"});
  EXPECT_EQ(unique.status, 1);
  EXPECT_EQ(unique.out, "");
  EXPECT_EQ(unique.message, "e2: ifstream in( unique.txt )\n");
  Outcome table = pelk({"-t"});
  EXPECT_EQ(table.status, 1);
  EXPECT_EQ(table.message, "e2: ifstream in( tabulate.txt )\n");
  EXPECT_EQ(read("who.txt"), kThread);
}

TEST_F(Combos, UnwritableOutputComesAfterTheCopies) {
  writeDefaultCompanions();
  write("mine.txt", kThread);
  std::filesystem::create_directory(dir / "who.txt");
  Outcome run = pelk({"mine.txt", "-u", "-o"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "02 07 19 28 33 43\n02 07 19 28 33 43\n");
  EXPECT_EQ(run.message, "e1: ofstream saveFile( who.txt )\n");
}

}  // namespace
