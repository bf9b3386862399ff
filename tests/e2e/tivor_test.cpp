#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "E2E.hpp"

namespace {

using Tivor = E2E;

const std::string kShortHelp =
    "tivorkit-1.06\n\n"
    "tivor \n"
    "tivor -6 \n"
    "tivor -7 \n"
    "tivor -c \n"
    "tivor -f400 \n"
    "tivor -g \n"
    "tivor -i1-37 \n"
    "tivor -k32 \n"
    "tivor -m \n"
    "tivor -r \n"
    "tivor -r > file_name \n"
    "tivor -s12345 \n"
    "tivor -s0 \n"
    "tivor -V \n"
    "tivor -VC \n";

const std::string kCommentedHelp =
    "tivorkit-1.06\n\n"
    "tivor                # Produce tivor.txt \n"
    "tivor -6             # Loto-6 \n"
    "tivor -7             # Loto-7 \n"
    "tivor -c             # CSV \n"
    "tivor -f400          # idling \n"
    "tivor -g             # interval of 0 to 63 \n"
    "tivor -i1-37         # interval of 1 to 37 \n"
    "tivor -k32           # 32 kilobytes \n"
    "tivor -m             # Miniloto \n"
    "tivor -r             # standard output \n"
    "tivor -r > file_name # Redirect.\n"
    "tivor -s12345        # seed \n"
    "tivor -s0            # Time is used as seed. \n"
    "tivor -V             # version \n"
    "tivor -VC            # version with comments\n";

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "text does not end with a line end";
  return lines;
}

/// The numbers of the text or CSV form; fails the test on a malformed token.
std::vector<int> numbersOf(const std::string& text, char separator) {
  std::vector<int> numbers;
  for (const std::string& line : linesOf(text)) {
    for (std::size_t k = 0; k + 3 <= line.size() && line[k] != separator; k += 3) {
      EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(line[k])) &&
                  std::isdigit(static_cast<unsigned char>(line[k + 1])) && line[k + 2] == separator)
          << "bad token in line: " << line;
      numbers.push_back((line[k] - '0') * 10 + (line[k + 1] - '0'));
    }
  }
  return numbers;
}

TEST_F(Tivor, NoOptionsWritesTheSameNumbersEveryRun) {
  Outcome first = tivor({});
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out, "");
  EXPECT_EQ(first.err, "");
  EXPECT_EQ(names(), std::vector<std::string>{"tivor.txt"});
  const std::string text = read("tivor.txt");

  const std::vector<std::string> lines = linesOf(text);
  ASSERT_EQ(lines.size(), 529u);
  EXPECT_EQ(lines[0], "20 26 14 36 06 15 29 36 35 14 15 27 27 05 01 08 24 13 16 22 ");
  for (std::size_t k = 0; k < 528; ++k) EXPECT_EQ(lines[k].size(), 60u) << k;
  EXPECT_EQ(lines[528], "17 15 35 02 34 18 06 27 32 28 35 ");
  const std::vector<int> numbers = numbersOf(text, ' ');
  EXPECT_EQ(numbers.size(), 10571u);
  EXPECT_EQ(*std::min_element(numbers.begin(), numbers.end()), 1);
  EXPECT_EQ(*std::max_element(numbers.begin(), numbers.end()), 37);

  // A second run replaces the file with the very same bytes.
  write("tivor.txt", std::string(40000, 'x'));
  Outcome second = tivor({});
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_EQ(read("tivor.txt"), text);
  // So does the default seed given explicitly, or one with the same last six digits.
  ASSERT_EQ(tivor({"-s1000012345"}).status, 0);
  EXPECT_EQ(read("tivor.txt"), text);
}

TEST_F(Tivor, SixBitModeFillsWholeGroups) {
  Outcome run = tivor({"-g"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<int> numbers = numbersOf(read("tivor.txt"), ' ');
  EXPECT_EQ(numbers.size(), 10592u);
  EXPECT_EQ(*std::min_element(numbers.begin(), numbers.end()), 0);
  EXPECT_EQ(*std::max_element(numbers.begin(), numbers.end()), 63);
  ASSERT_EQ(tivor({"-i0-63"}).status, 0);
  EXPECT_EQ(numbersOf(read("tivor.txt"), ' '), numbers);
}

TEST_F(Tivor, CsvAndStandardOutputForms) {
  Outcome csv = tivor({"-c", "-k1"});
  ASSERT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(names(), std::vector<std::string>{"tivor.csv"});
  const std::string rows = read("tivor.csv");
  for (const std::string& row : linesOf(rows))
    EXPECT_EQ(std::count(row.begin(), row.end(), ','), 20) << row;
  // 1 kilobyte: 16 full rows and 11 numbers, padded with nine commas.
  EXPECT_EQ(numbersOf(rows, ',').size(), 331u);
  EXPECT_EQ(rows.substr(rows.size() - 11), std::string(10, ',') + "\n");
  EXPECT_NE(rows[rows.size() - 12], ',');

  Outcome text = tivor({"-k1"});
  ASSERT_EQ(text.status, 0) << text.err;
  const std::string blanks = read("tivor.txt");
  std::string commas = blanks;
  std::replace(commas.begin(), commas.end(), ' ', ',');
  EXPECT_EQ(rows, commas.substr(0, commas.size() - 1) + std::string(9, ',') + "\n");

  // -r writes the same bytes to standard output and no file.
  std::filesystem::remove(dir / "tivor.txt");
  std::filesystem::remove(dir / "tivor.csv");
  Outcome toOut = tivor({"-r", "-k1"});
  EXPECT_EQ(toOut.status, 0);
  EXPECT_EQ(toOut.out, blanks);
  Outcome csvOut = tivor({"-k1", "-c", "-r"});
  EXPECT_EQ(csvOut.status, 0);
  EXPECT_EQ(csvOut.out, rows);
  EXPECT_EQ(names(), std::vector<std::string>{});
}

TEST_F(Tivor, FullLastLineGetsAnEmptyLineOrABareRow) {
  // 27 kilobytes end exactly on a full line of twenty numbers.
  Outcome text = tivor({"-k27", "-r"});
  ASSERT_EQ(text.status, 0);
  EXPECT_EQ(numbersOf(text.out, ' ').size(), 446u * 20);
  EXPECT_EQ(text.out.substr(text.out.size() - 3), " \n\n");
  Outcome csv = tivor({"-k27", "-r", "-c"});
  ASSERT_EQ(csv.status, 0);
  EXPECT_EQ(csv.out.substr(csv.out.size() - 23), ",\n" + std::string(20, ',') + "\n");
}

TEST_F(Tivor, SmallestBudgetWritesOneNumberOrOneGroup) {
  Outcome one = tivor({"-k0", "-r"});
  EXPECT_EQ(one.status, 0);
  EXPECT_EQ(one.out.size(), 4u);
  EXPECT_EQ(numbersOf(one.out, ' ').size(), 1u);
  Outcome group = tivor({"-k0", "-r", "-g"});
  EXPECT_EQ(group.status, 0);
  EXPECT_EQ(numbersOf(group.out, ' ').size(), 32u);
}

TEST_F(Tivor, HelpTexts) {
  struct Case {
    std::vector<std::string> arguments;
    const std::string& help;
  };
  for (const Case& c : {Case{{"-V"}, kShortHelp}, Case{{"-VC"}, kCommentedHelp},
                        Case{{"-6", "-c", "-r", "-V"}, kShortHelp},
                        Case{{"-i1-500", "-VC", "-V"}, kCommentedHelp}}) {
    Outcome run = tivor(c.arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, c.help);
  }
  EXPECT_EQ(names(), std::vector<std::string>{});
}

TEST_F(Tivor, RefusedIntervalsWriteNothing) {
  const std::string before = "01 02 03 \n";
  write("tivor.txt", before);
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  for (const Case& c : {
           Case{{"-i1-100"}, "tivor: interval 1-100 refused: numbers lie within 0 to 99\n"},
           Case{{"-i0-2147483647", "-r"},
                "tivor: interval 0-2147483647 refused: numbers lie within 0 to 99\n"},
           Case{{"-i20-5"}, "tivor: interval 20-5 refused: its low bound exceeds its high bound\n"},
           Case{{"-i38-40", "-7"},
                "tivor: interval 38-37 refused: its low bound exceeds its high bound\n"},
       }) {
    Outcome run = tivor(c.arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, c.message);
  }
  EXPECT_EQ(names(), std::vector<std::string>{"tivor.txt"});
  EXPECT_EQ(read("tivor.txt"), before);
}

TEST_F(Tivor, UnwritableOutputIsReported) {
  std::filesystem::create_directory(dir / "tivor.txt");
  Outcome blocked = tivor({});
  EXPECT_EQ(blocked.status, 1);
  EXPECT_EQ(blocked.out, "");
  EXPECT_EQ(blocked.err, "tivor: cannot open tivor.txt for writing\n");
  std::filesystem::remove(dir / "tivor.txt");

  if (!fileSizeLimitsApply())
    GTEST_SKIP() << "no file-size limit for programs run through E2E_RUNNER";
  // The old file stays whole, and no partial file is left.
  write("tivor.csv", "01,02,\n");
  Outcome limited = tivor({"-c"}, RunLimits{1000});
  EXPECT_EQ(limited.status, 1);
  EXPECT_EQ(limited.out, "");
  EXPECT_EQ(limited.err, "tivor: writing tivor.csv failed\n");
  EXPECT_EQ(read("tivor.csv"), "01,02,\n");
  EXPECT_EQ(names(), std::vector<std::string>{"tivor.csv"});

  Outcome limitedOut = tivor({"-r"}, RunLimits{1000});
  EXPECT_EQ(limitedOut.status, 1);
  EXPECT_LE(limitedOut.out.size(), 1000u);
  EXPECT_EQ(limitedOut.err, "tivor: writing to standard output failed\n");
}

// tivor's own lines (the -h line, the failures) in the user's language and
// the terminal's encoding; the texts of -V and -VC, and the numbers, the
// same bytes under every locale.
TEST_F(Tivor, OwnLinesFollowTheUsersLanguage) {
  const char* runner = std::getenv("E2E_RUNNER");
  if (runner && *runner) GTEST_SKIP() << "Wine takes its language from its own settings";
  const std::string list = kCommentedHelp.substr(std::string("tivorkit-1.06\n\n").size());
  const struct {
    std::string lang;
    std::string thisHelp;
    std::string refused;
    std::string cannotOpen;
  } rows[] = {
      {"C", "this help (also --help)",
       "interval 50-20 refused: its low bound exceeds its high bound",
       "cannot open tivor.txt for writing"},
      // "このヘルプ (--help も同じ)", "範囲 50-20 は使えません。下限が上限より大きいです",
      // "tivor.txt を書き込み用に開けませんでした"
      {"ja_JP.UTF-8",
       "\xE3\x81\x93\xE3\x81\xAE\xE3\x83\x98\xE3\x83\xAB\xE3\x83\x97 (--help "
       "\xE3\x82\x82\xE5\x90\x8C\xE3\x81\x98)",
       "\xE7\xAF\x84\xE5\x9B\xB2 50-20 \xE3\x81\xAF\xE4\xBD\xBF\xE3\x81\x88\xE3\x81\xBE\xE3\x81\x9B"
       "\xE3\x82\x93\xE3\x80\x82\xE4\xB8\x8B\xE9\x99\x90\xE3\x81\x8C\xE4\xB8\x8A\xE9\x99\x90\xE3"
       "\x82"
       "\x88\xE3\x82\x8A\xE5\xA4\xA7\xE3\x81\x8D\xE3\x81\x84\xE3\x81\xA7\xE3\x81\x99",
       "tivor.txt \xE3\x82\x92\xE6\x9B\xB8\xE3\x81\x8D\xE8\xBE\xBC\xE3\x81\xBF\xE7\x94\xA8\xE3\x81"
       "\xAB\xE9\x96\x8B\xE3\x81\x91\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93\xE3\x81\xA7\xE3\x81\x97"
       "\xE3\x81\x9F"},
      // The same in CP932.
      {"ja_JP.SJIS", "\x82\xB1\x82\xCC\x83\x77\x83\x8B\x83\x76 (--help \x82\xE0\x93\xAF\x82\xB6)",
       "\x94\xCD\x88\xCD 50-20 \x82\xCD\x8E\x67\x82\xA6\x82\xDC\x82\xB9\x82\xF1\x81\x42\x89\xBA\x8C"
       "\xC0\x82\xAA\x8F\xE3\x8C\xC0\x82\xE6\x82\xE8\x91\xE5\x82\xAB\x82\xA2\x82\xC5\x82\xB7",
       "tivor.txt \x82\xF0\x8F\x91\x82\xAB\x8D\x9E\x82\xDD\x97\x70\x82\xC9\x8A\x4A\x82\xAF\x82\xDC"
       "\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD"},
  };
  const Outcome numbers = tivor({"-r", "-k1"}, {.lang = "C"});
  for (const auto& row : rows) {
    SCOPED_TRACE(row.lang);
    const Outcome help = tivor({"-h"}, {.lang = row.lang});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out, "tivorkit-1.06\n\ntivor -h             # " + row.thisHelp + " \n" + list);

    const Outcome refused = tivor({"-i50-20"}, {.lang = row.lang});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "tivor: " + row.refused + "\n");

    std::filesystem::create_directory(dir / "tivor.txt");
    const Outcome blocked = tivor({}, {.lang = row.lang});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_EQ(blocked.out, "");
    EXPECT_EQ(blocked.err, "tivor: " + row.cannotOpen + "\n");
    std::filesystem::remove(dir / "tivor.txt");

    const Outcome version = tivor({"-VC"}, {.lang = row.lang});
    EXPECT_EQ(version.status, 1);
    EXPECT_EQ(version.err, kCommentedHelp);
    const Outcome drawn = tivor({"-r", "-k1"}, {.lang = row.lang});
    EXPECT_EQ(drawn.status, 0);
    EXPECT_EQ(drawn.rawOut, numbers.rawOut);
  }
  EXPECT_EQ(names(), std::vector<std::string>{});
}

}  // namespace
