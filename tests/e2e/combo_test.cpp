#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "E2E.hpp"

namespace {

using ComboPass = E2E;

// Shift-JIS texts of the fixtures.
const std::string kNanashi = "\x96\xBC\x96\xB3\x82\xB5\x82\xB3\x82\xF1";  // a default poster name
const std::string kMonday = "\x8C\x8E";                                   // the weekday Monday
const std::string kMiniloto = "\x83\x7E\x83\x6A\x83\x8D\x83\x67";         // "Miniloto" in katakana

const std::string kHeader1 = "1 " + sjis::colon + kNanashi + " " + sjis::colon + "2017/08/14(" +
                             kMonday + ") 16:20:01.05 ID:QwErTyUi";
const std::string kHeader2 =
    "2 " + sjis::colon + "Lucky Cat " + sjis::colon + "2017/08/14(Mon) 16:25:44.12 ID:ZxCvBnMm";

// Every k-element subset of the tokens, in lexicographic order of positions,
// one line each: the reference the expansions are compared with.
void combine(const std::vector<std::string>& tokens, size_t k, size_t from, std::string prefix,
             std::string& out) {
  if (k == 0) {
    out += prefix + "\n";
    return;
  }
  for (size_t i = from; i + k <= tokens.size(); ++i)
    combine(tokens, k - 1, i + 1, prefix + tokens[i] + " ", out);
}

std::string expansion(const std::vector<std::string>& tokens, size_t k) {
  std::string out;
  combine(tokens, k, 0, "", out);
  return out;
}

// The name pelk printed, without its line end.
std::string printedName(const Outcome& run) {
  EXPECT_EQ(run.err, "");
  if (run.out.empty() || run.out.back() != '\n') return "";
  return run.out.substr(0, run.out.size() - 1);
}

struct CmbFile {
  int serial;
  std::string name;
};

// The expansion files of the scratch directory in serial order.
std::vector<CmbFile> cmbFiles(const std::vector<std::string>& names) {
  static const std::regex shape("cmb([0-9]+)-([0-9]|[1-5][0-9])-([0-9]|[1-5][0-9]|60)\\.txt");
  std::vector<CmbFile> found;
  std::smatch match;
  for (const std::string& name : names)
    if (name.compare(0, 3, "cmb") == 0) {
      EXPECT_TRUE(std::regex_match(name, match, shape)) << name;
      found.push_back({std::stoi(match[1]), name});
    }
  std::sort(found.begin(), found.end(),
            [](const CmbFile& a, const CmbFile& b) { return a.serial < b.serial; });
  return found;
}

TEST_F(ComboPass, EachGameExpandsItsLinesInPlace) {
  struct Case {
    std::string game, thread, output;
    std::vector<std::string> expansions;
  };
  const std::string sixToFive =
      "03 07 11 19 24 \n03 07 11 19 28 \n03 07 11 24 28 \n"
      "03 07 19 24 28 \n03 11 19 24 28 \n07 11 19 24 28 \n";
  const std::string sevenToFive = expansion({"01", "02", "03", "04", "05", "06", "07"}, 5);
  const std::string sevenToSix =
      "01 05 09 14 22 31 \n01 05 09 14 22 38 \n01 05 09 14 31 38 \n01 05 09 22 31 38 \n"
      "01 05 14 22 31 38 \n01 09 14 22 31 38 \n05 09 14 22 31 38 \n";
  const std::string eightToSix = expansion({"43", "05", "09", "14", "22", "31", "38", "01"}, 6);
  const std::string eightToSeven =
      "01 02 03 04 05 06 07 \n01 02 03 04 05 06 08 \n01 02 03 04 05 07 08 \n"
      "01 02 03 04 06 07 08 \n01 02 03 05 06 07 08 \n01 02 04 05 06 07 08 \n"
      "01 03 04 05 06 07 08 \n02 03 04 05 06 07 08 \n";
  const std::string longLine(400, 'x');
  const Case cases[] = {
      {"Miniloto",
       "03 11 19 24 28 05 - draw 1000\n" + kHeader1 + "\n" + kMiniloto +
           " 03 07 11 19 24 28 6to5\ngood luck\n" + kHeader2 + "\n01 02 03 04 05 06 07 7to5\n",
       "03 11 19 24 28 05 - draw 1000\n\n" + kHeader1 + "\n" + sixToFive + "good luck\n" +
           kHeader2 + "\n" + sevenToFive,
       {sixToFive, sevenToFive}},
      {"Loto-6",
       "05 12 19 27 33 41 08 - draw 1834\n" + kHeader1 + "\n01 05 09 14 22 31 38 7to6\n" +
           longLine + "\n43 05 09 14 22 31 38 01 8to6   \n02 07 19 28 33 43\n",
       "05 12 19 27 33 41 08 - draw 1834\n\n" + kHeader1 + "\n" + sevenToSix + longLine + "\n" +
           eightToSix + "02 07 19 28 33 43\n",
       {sevenToSix, eightToSix}},
      // Line ends CR LF; a Loto-6 label in a Loto-7 thread goes to the Loto-6 expander.
      {"Loto-7",
       "01 05 09 14 22 31 37 10 20 - draw 300\r\n" + kHeader2 +
           "\r\n01 02 03 04 05 06 07 08 8to7\r\n" + kHeader1 + "\r\n01 05 09 14 22 31 38 7to6\r\n",
       "01 05 09 14 22 31 37 10 20 - draw 300\n\n" + kHeader2 + "\n" + eightToSeven + kHeader1 +
           "\n" + sevenToSix,
       {eightToSeven, sevenToSix}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.game);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    writeDefaultCompanions();
    write("who.txt", c.thread);
    write("serial.txt", "41\n");
    Outcome run = pelk({"who.txt", "-c"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string name = printedName(run);
    EXPECT_TRUE(std::regex_match(name, std::regex("who[0-9]+-[0-9]+\\.txt"))) << name;
    EXPECT_EQ(read(name), c.output);
    EXPECT_EQ(read("who.txt"), c.thread);
    // One expansion file per combination line, serial numbers 42, 43, ...
    const std::vector<CmbFile> cmb = cmbFiles(names());
    ASSERT_EQ(cmb.size(), c.expansions.size());
    for (size_t i = 0; i < cmb.size(); ++i) {
      EXPECT_EQ(cmb[i].serial, 42 + static_cast<int>(i));
      EXPECT_EQ(read(cmb[i].name), c.expansions[i]);
      EXPECT_NE(read("remove_e.txt").find(cmb[i].name + "\n"), std::string::npos);
    }
    EXPECT_EQ(read("serial.txt"), std::to_string(41 + cmb.size()) + "\n");
  }
}

TEST_F(ComboPass, SerialOverwriteAndTheNextRunsCleanup) {
  writeDefaultCompanions();
  const std::string thread = "05 12 19 27 33 41 08 -\n01 05 09 14 22 31 38 7to6\n";
  const std::string sevenToSix = expansion({"01", "05", "09", "14", "22", "31", "38"}, 6);
  write("who.txt", thread);
  // No serial.txt: it starts at 0; "-l" gives the output the first serial number.
  Outcome serial = pelk({"who.txt", "-c", "-l", "-1-"});
  ASSERT_EQ(serial.status, 0) << serial.err;
  const std::string name = printedName(serial);
  EXPECT_TRUE(std::regex_match(name, std::regex("who1-[0-9]+-[0-9]+\\.txt"))) << name;
  EXPECT_EQ(read(name), sevenToSix);
  std::vector<CmbFile> cmb = cmbFiles(names());
  ASSERT_EQ(cmb.size(), 1u);
  EXPECT_EQ(cmb[0].serial, 2);
  EXPECT_EQ(read("serial.txt"), "2\n");

  // Overwriting: who.txt gets the expansion; the last run's files are deleted.
  Outcome overwrite = pelk({"-c", "-1-"});
  ASSERT_EQ(overwrite.status, 0) << overwrite.err;
  EXPECT_EQ(overwrite.out, "who.txt\n");
  EXPECT_EQ(read("who.txt"), sevenToSix);
  EXPECT_FALSE(exists(name));
  cmb = cmbFiles(names());
  ASSERT_EQ(cmb.size(), 1u);
  EXPECT_EQ(cmb[0].serial, 3);
  EXPECT_EQ(read(cmb[0].name), sevenToSix);
  EXPECT_EQ(read("serial.txt"), "3\n");
}

TEST_F(ComboPass, FailuresReportTheirMessageAndWriteNoOutput) {
  struct Case {
    std::string name, thread, err;
    size_t cmbLeft;
  };
  const std::string line1 = "05 12 19 27 33 41 08 - draw\n" + kHeader1 + "\n";
  const std::string good = line1 + "01 05 09 14 22 31 38 7to6\n";
  const Case cases[] = {
      {"empty thread", "", "e11(Line-1): in.getline(c, BUFFER_SIZE )\n", 0},
      {"long Line-1", std::string(384, '0') + "\n01 05 09 14 22 31 38 7to6\n",
       "e11(Line-1): in.getline(c, BUFFER_SIZE )\n", 0},
      {"no draw", "01 02 03 04 05 06 07 08 09 10\n01 05 09 14 22 31 38 7to6\n",
       "e9: ADD THE DRAW TO LINE-1 OF WHO.TXT\n", 0},
      {"five blanks", "05 12 19 27 33 41\n01 05 09 14 22 31 38 7to6\n", "e10: TOO FEW GAPS\n", 0},
      {"label in running text", good + "I like 9to5 jobs\n", "e51: wrongBall()\n", 1},
      {"two labels", good + "01 02 03 04 05 06 07 7to5 8to6\n", "e52: s == ball[i]\n", 1},
      {"38 in Loto-7", line1 + "01 02 03 04 05 06 07 38 8to7\n", "e53: wrongBall()\n", 0},
      {"no Loto-7 label at the end", line1 + "01 02 03 04 05 06 07 08 8to7 x\n",
       "e54: s == ball[i]\n", 0},
      {"label first", good + "8to6 01 05 09 14 22 31 38 43\n", "e55: wrongBall()\n", 1},
      {"bare label", line1 + "7to6\n", "e55: wrongBall()\n", 0},
      {"too short for its label", good + "01 02 03 04 05 06 07 10to6\n", "e55: wrongBall()\n", 1},
      {"trailing zenkaku blank", line1 + "01 02 03 04 05 06 07 7to6" + sjis::space + "\n",
       "e56: s == ball[i]\n", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const char* overwrite : {"-l", "-o"}) {
      std::filesystem::remove_all(dir);
      std::filesystem::create_directories(dir);
      writeDefaultCompanions();
      write("who.txt", c.thread);
      Outcome run = pelk({"who.txt", "-c", overwrite});
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.out, "");
      EXPECT_EQ(run.message, c.err);
      EXPECT_EQ(read("who.txt"), c.thread);
      size_t whoFiles = 0;
      for (const std::string& name : names()) whoFiles += name.compare(0, 3, "who") == 0;
      EXPECT_EQ(whoFiles, 1u);
      // Only a good line before the failing one leaves its expansion file.
      EXPECT_EQ(cmbFiles(names()).size(), c.cmbLeft);
    }
  }
  std::filesystem::remove(dir / "who.txt");
  Outcome missing = pelk({"mine.txt", "-c"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.message, "e8: ifstream in( mine.txt )\n");
}

TEST_F(ComboPass, UnwritableExpansionFileFailsTheRun) {
  if (!fileSizeLimitsApply())
    GTEST_SKIP() << "no file-size limit for programs run through E2E_RUNNER";
  writeDefaultCompanions();
  // 210 combinations of 18 bytes do not fit under the file size limit.
  const std::string thread = "05 12 19 27 33 41 08 -\n01 02 03 04 05 06 07 08 09 10 10to6\n";
  write("who.txt", thread);
  write("serial.txt", "5\n");
  Outcome run = pelk({"-c"}, RunLimits{2000});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.message, "e56: s == ball[i]\n");
  EXPECT_EQ(read("who.txt"), thread);
  EXPECT_TRUE(cmbFiles(names()).empty());
  EXPECT_EQ(partialNames(), std::vector<std::string>{});
  EXPECT_EQ(read("serial.txt"), "6\n");
}

}  // namespace
