#include "Expander.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "LineReader.hpp"
#include "MemoryDisk.hpp"

namespace {

const std::string kFile = "cmb12-3-4.txt";

// Reference generator, independent of the code under test: every k-element
// subset of `tokens` in lexicographic order of positions, by recursion.
void combine(const std::vector<std::string>& tokens, int k, std::size_t from, std::string prefix,
             std::vector<std::string>& out) {
  if (k == 0) {
    out.push_back(prefix);
    return;
  }
  for (std::size_t i = from; i + k <= tokens.size(); ++i)
    combine(tokens, k - 1, i + 1, prefix + tokens[i], out);
}

std::vector<std::string> combinations(const std::vector<std::string>& tokens, int k) {
  std::vector<std::string> out;
  combine(tokens, k, 0, "", out);
  return out;
}

long binomial(int n, int k) {
  long c = 1;
  for (int i = 1; i <= k; ++i) c = c * (n - k + i) / i;
  return c;
}

std::string twoDigits(int number) {
  return std::string{static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10),
                     ' '};
}

std::vector<std::string> fileLines(MemoryDisk& disk) {
  std::vector<std::string> lines;
  LineReader in(disk.files.at(kFile));
  std::string line;
  while (in.next(line)) lines.push_back(line);
  return lines;
}

// Runs one expander on a line: the game's writeFile, or one named writer.
using Expand = std::function<bool(Disk& disk, const std::string& line, std::string& message)>;

Expand viaWriteFile(const Game& game) {
  return [&game](Disk& disk, const std::string& line, std::string& message) {
    Expander expander(disk, game, kFile, line);
    const bool written = expander.writeFile();
    message = expander.failure().text;
    return written;
  };
}

// The writer of the label whose N is `n`.
Expand viaWriter(const Game& game, int n) {
  return [&game, n](Disk& disk, const std::string& line, std::string& message) {
    Expander expander(disk, game, kFile, line);
    const bool written = expander.writeCombinations(n);
    message = expander.failure().text;
    return written;
  };
}

TEST(Expander, EveryLabelWritesAllCombinationsInPositionOrder) {
  struct Case {
    std::string label;
    int n;
    int k;
    int highest;
    Expand writeFile;
    Expand writer;
  };
  const Case cases[] = {
      {" 6to5", 6, 5, 31, viaWriteFile(ToFive), viaWriter(ToFive, 6)},
      {" 7to5", 7, 5, 31, viaWriteFile(ToFive), viaWriter(ToFive, 7)},
      {" 8to5", 8, 5, 31, viaWriteFile(ToFive), viaWriter(ToFive, 8)},
      {" 9to5", 9, 5, 31, viaWriteFile(ToFive), viaWriter(ToFive, 9)},
      {" 7to6", 7, 6, 43, viaWriteFile(ToSix), viaWriter(ToSix, 7)},
      {" 8to6", 8, 6, 43, viaWriteFile(ToSix), viaWriter(ToSix, 8)},
      {" 9to6", 9, 6, 43, viaWriteFile(ToSix), viaWriter(ToSix, 9)},
      {"10to6", 10, 6, 43, viaWriteFile(ToSix), viaWriter(ToSix, 10)},
      {" 8to7", 8, 7, 37, viaWriteFile(ToSeven), viaWriter(ToSeven, 8)},
      {" 9to7", 9, 7, 37, viaWriteFile(ToSeven), viaWriter(ToSeven, 9)},
      {"10to7", 10, 7, 37, viaWriteFile(ToSeven), viaWriter(ToSeven, 10)},
      {"11to7", 11, 7, 37, viaWriteFile(ToSeven), viaWriter(ToSeven, 11)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    // Distinct valid numbers out of numeric order (7 is prime to 31, 43 and
    // 37), the highest ball included, so position order differs from value order.
    std::vector<std::string> tokens;
    std::string line;
    for (int i = 0; i < c.n; ++i) {
      tokens.push_back(twoDigits((i * 7 + c.highest - 1) % c.highest + 1));
      line += tokens.back();
    }
    // A one-digit label's blank is the last token's blank; a two-digit one follows it.
    if (c.n <= 9) line.pop_back();
    line += c.label;
    ASSERT_EQ(line.size(), static_cast<std::size_t>(3 * c.n + (c.n >= 10 ? 5 : 4)));

    const std::vector<std::string> expected = combinations(tokens, c.k);
    ASSERT_EQ(static_cast<long>(expected.size()), binomial(c.n, c.k));
    std::string first, last;
    for (int i = 0; i < c.k; ++i) {
      first += tokens[i];
      last += tokens[c.n - c.k + i];
    }

    for (const Expand* run : {&c.writeFile, &c.writer}) {
      MemoryDisk disk;
      std::string message;
      ASSERT_TRUE((*run)(disk, line, message)) << message;
      const std::vector<std::string> lines = fileLines(disk);
      EXPECT_EQ(static_cast<long>(lines.size()), binomial(c.n, c.k));
      EXPECT_EQ(lines.front(), first);
      EXPECT_EQ(lines.back(), last);
      EXPECT_EQ(lines, expected);
      EXPECT_EQ(disk.files.at(kFile).back(), '\n');
      EXPECT_EQ(disk.files.size(), 1u);
    }
  }
}

TEST(Expander, SixToFiveExampleBytes) {
  MemoryDisk disk;
  Expander expander(disk, ToFive, kFile, "03 07 11 19 24 28 6to5");
  EXPECT_EQ(expander.failure().text, "");
  ASSERT_TRUE(expander.writeFile());
  EXPECT_EQ(disk.files.at(kFile),
            "03 07 11 19 24 \n03 07 11 19 28 \n03 07 11 24 28 \n03 07 19 24 28 \n"
            "03 11 19 24 28 \n07 11 19 24 28 \n");
  EXPECT_EQ(expander.failure().text, "e52: s == ball[i]");
}

TEST(Expander, ExpandingInMemoryGivesTheTextOfTheFileAndTouchesNoFile) {
  MemoryDisk disk;
  Expander expander(disk, ToSix, kFile, "01 05 09 14 22 31 38 43 8to6");
  std::string text = "kept\n";
  ASSERT_TRUE(expander.expanding(text));
  EXPECT_TRUE(disk.files.empty());
  ASSERT_TRUE(Expander(disk, ToSix, kFile, "01 05 09 14 22 31 38 43 8to6").writeFile());
  EXPECT_EQ(text, "kept\n" + disk.files.at(kFile));

  Expander wrong(disk, ToFive, kFile, "03 07 11 19 24 32 6to5");
  std::string none;
  EXPECT_FALSE(wrong.expanding(none));
  EXPECT_EQ(none, "");
  EXPECT_EQ(wrong.failure().text, "e51: wrongBall()");
}

TEST(Expander, ValidationAndLabelTexts) {
  struct Case {
    const char* name;
    Expand run;
    std::string line;
    bool written;
    std::string message;
  };
  const Case cases[] = {
      // The highest ball of each game and one above it.
      {"32 in Miniloto", viaWriteFile(ToFive), "03 07 11 19 24 32 6to5", false, "e51: wrongBall()"},
      {"31 in Miniloto", viaWriteFile(ToFive), "03 07 11 19 24 31 6to5", true, "e52: s == ball[i]"},
      {"32 in Loto-6", viaWriteFile(ToSix), "03 07 11 19 24 32 40 7to6", true, "e56: s == ball[i]"},
      {"up to 43 in Loto-6", viaWriteFile(ToSix), "38 39 40 41 42 43 01 7to6", true,
       "e56: s == ball[i]"},
      {"44 in Loto-6", viaWriteFile(ToSix), "01 02 03 04 05 06 44 7to6", false, "e55: wrongBall()"},
      {"00 in Loto-6", viaWriteFile(ToSix), "00 02 03 04 05 06 07 7to6", false, "e55: wrongBall()"},
      {"37 in Loto-7", viaWriteFile(ToSeven), "01 02 03 04 05 06 07 37 8to7", true,
       "e54: s == ball[i]"},
      {"38 in Loto-7", viaWriteFile(ToSeven), "01 02 03 04 05 06 07 38 8to7", false,
       "e53: wrongBall()"},
      {"single digit first", viaWriteFile(ToFive), "1 02 03 04 05 06 6to5", false,
       "e51: wrongBall()"},
      {"two blanks", viaWriteFile(ToSix), "01  02 03 04 05 06 07 7to6", false, "e55: wrongBall()"},
      // Valid numbers, but the last five bytes are no label of the class.
      {"7to5x", viaWriteFile(ToFive), "01 02 03 04 05 06 07 7to5x", false, "e52: s == ball[i]"},
      {"label of another game", viaWriteFile(ToSix), "01 02 03 04 05 06 07 8to7", false,
       "e56: s == ball[i]"},
      {"no label", viaWriteFile(ToSeven), "01 02 03 04 05 06 07 08 09 10 11", false,
       "e54: s == ball[i]"},
      {"label without its blank", viaWriteFile(ToSix), "01 02 03 04 05 06 07 087to6", false,
       "e56: s == ball[i]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryDisk disk;
    std::string message;
    EXPECT_EQ(c.run(disk, c.line, message), c.written);
    EXPECT_EQ(message, c.message);
    EXPECT_EQ(disk.files.count(kFile), c.written ? 1u : 0u);
  }
}

TEST(Expander, ShortAndOddLinesFailWithTheWrongBallTextAndWriteNothing) {
  struct Game {
    Expand run;
    std::string wrongBallText;
  };
  const Game games[] = {{viaWriteFile(ToFive), "e51: wrongBall()"},
                        {viaWriteFile(ToSix), "e55: wrongBall()"},
                        {viaWriteFile(ToSeven), "e53: wrongBall()"}};
  const std::string lines[] = {
      "",           "7",
      "7to6",       "01 0",
      " 6to5",      "01 02",
      "01 02 6to5", "01 02 03 04",
      "10to6",      "01 02 03 04 05 06",
      "11to7 x",    "\x81\x40to6",
      "1to6\0",     "01 02 03 04 05\xff",
  };
  for (const Game& game : games) {
    for (const std::string& line : lines) {
      SCOPED_TRACE(game.wrongBallText + " <" + line + ">");
      MemoryDisk disk;
      disk.files[kFile] = "old";
      std::string message;
      EXPECT_FALSE(game.run(disk, line, message));
      EXPECT_EQ(message, game.wrongBallText);
      EXPECT_EQ(disk.files.at(kFile), "old");
      EXPECT_EQ(disk.files.size(), 1u);
    }
  }
}

TEST(Expander, LineTooShortForItsLabelFailsAndWritesNothing) {
  struct Case {
    Expand run;
    std::string line;
    std::string message;
  };
  // The label asks for more tokens than the line holds: they would lie past its end.
  const Case cases[] = {
      {viaWriteFile(ToFive), "01 02 03 04 05 06 9to5", "e51: wrongBall()"},
      {viaWriteFile(ToFive), "01 02 03 04 05 06 8to5", "e51: wrongBall()"},
      {viaWriteFile(ToSix), "01 02 03 04 05 06 07 10to6", "e55: wrongBall()"},
      {viaWriteFile(ToSeven), "01 02 03 04 05 06 07 08 11to7", "e53: wrongBall()"},
      {viaWriteFile(ToSeven), "01 02 03 04 05 06 07 08 10to7", "e53: wrongBall()"},
      // A writer called directly checks the same.
      {viaWriter(ToFive, 9), "01 02 03 04 05 06 9to5", "e51: wrongBall()"},
      {viaWriter(ToSix, 7), "", "e55: wrongBall()"},
      {viaWriter(ToSeven, 11), "01 02", "e53: wrongBall()"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    MemoryDisk disk;
    std::string message;
    EXPECT_FALSE(c.run(disk, c.line, message));
    EXPECT_EQ(message, c.message);
    EXPECT_TRUE(disk.files.empty());
  }
}

TEST(Expander, UsesOnlyTheFirstNTokensAndValidatesEachOfThem) {
  MemoryDisk disk;
  // Seven numbers under " 6to5": the combinations of the first six.
  Expander more(disk, ToFive, kFile, "03 07 11 19 24 28 30 6to5");
  ASSERT_TRUE(more.writeFile());
  EXPECT_EQ(fileLines(disk), combinations({"03 ", "07 ", "11 ", "19 ", "24 ", "28 "}, 5));
  EXPECT_EQ(more.failure().reason.in(Language::kEnglish), "");

  // The seventh number of " 7to5" is checked like the first six.
  disk.files.clear();
  Expander checked(disk, ToFive, kFile, "01 02 03 04 05 06 99 7to5");
  EXPECT_FALSE(checked.writeFile());
  EXPECT_EQ(checked.failure().text, "e51: wrongBall()");
  EXPECT_EQ(checked.failure().reason.in(Language::kEnglish), "99 is no Miniloto number (01-31)");
  EXPECT_TRUE(disk.files.empty());
}

// The lines users posted that expanded into nonsense: each number the label
// asks for must be a number of its game, none twice, all there. Every game
// fails with its own wrong-ball text, writes nothing, and says why.
TEST(Expander, BadLabelledLinesOfEachGameFailWithTheirReason) {
  struct Case {
    const Game& game;
    std::string line;
    std::string message;
    std::string reason;
  };
  const Case cases[] = {
      // Miniloto
      {ToFive, "01 02 03 04 05 06 32 7to5", "e51: wrongBall()", "32 is no Miniloto number (01-31)"},
      {ToFive, "01 02 03 04 05 06 07 08 00 9to5", "e51: wrongBall()",
       "00 is no Miniloto number (01-31)"},
      {ToFive, "01 02 03 04 05 06 07 ab 8to5", "e51: wrongBall()",
       "\"ab\" is no Miniloto number (01-31): write each number as two digits and one blank"},
      {ToFive, "05 05 05 05 05 05 6to5", "e51: wrongBall()",
       "05 stands twice: the 6 numbers of a combination line differ"},
      {ToFive, "01 02 03 04 05 06 07 8to5", "e51: wrongBall()",
       "the label \"8to5\" needs 8 numbers before it, the line holds 7"},
      {ToFive, "01 02 03 04 05 06 07 7to5x", "e52: s == ball[i]",
       "the line ends in \"7to5x\", which is no Miniloto label (6to5 to 9to5): a combination "
       "line carries one label, at its end"},
      // Loto-6
      {ToSix, "01 02 03 04 05 06 07 99 8to6", "e55: wrongBall()", "99 is no Loto-6 number (01-43)"},
      {ToSix, "01 02 03 04 05 06 07 ab cd 10to6", "e55: wrongBall()",
       "\"ab\" is no Loto-6 number (01-43): write each number as two digits and one blank"},
      {ToSix, "01 02 03 04 05 06 07 08 09 10to6", "e55: wrongBall()",
       "the label \"10to6\" needs 10 numbers before it, the line holds 9"},
      {ToSix, "01 01 01 01 01 01 01 7to6", "e55: wrongBall()",
       "01 stands twice: the 7 numbers of a combination line differ"},
      {ToSix, "01 02 03 04 05 06 07 08 01 9to6", "e55: wrongBall()",
       "01 stands twice: the 9 numbers of a combination line differ"},
      {ToSix, "1 02 03 04 05 06 07 7to6", "e55: wrongBall()",
       "\"1\" is no Loto-6 number (01-43): write each number as two digits and one blank"},
      {ToSix, "01  02 03 04 05 06 07 7to6", "e55: wrongBall()",
       "a blank stands where number 2 begins: write each number as two digits and one blank"},
      {ToSix, "7to6", "e55: wrongBall()", "the line is too short to hold numbers and a label"},
      {ToSix, "01 02 03 04 05 06 07 7to6 8to7", "e56: s == ball[i]",
       "the line ends in \"8to7\", which is no Loto-6 label (7to6 to 10to6): a combination line "
       "carries one label, at its end"},
      // Loto-7
      {ToSeven, "01 02 03 04 05 06 07 08 38 9to7", "e53: wrongBall()",
       "38 is no Loto-7 number (01-37)"},
      {ToSeven, "01 02 03 04 05 06 07 08 09 10 37 11to7", "e53: wrongBall()", ""},
      {ToSeven, "01 02 03 04 05 06 07 08 09 10 10 11to7", "e53: wrongBall()",
       "10 stands twice: the 11 numbers of a combination line differ"},
      {ToSeven, "01 02 03 04 05 06 07 08 09 10to7", "e53: wrongBall()",
       "the label \"10to7\" needs 10 numbers before it, the line holds 9"},
      {ToSeven, "01 02 03 04 05 06 07 08 8to7 x", "e54: s == ball[i]",
       "the line ends in \"to7 x\", which is no Loto-7 label (8to7 to 11to7): a combination line "
       "carries one label, at its end"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    MemoryDisk disk;
    Expander expander(disk, c.game, kFile, c.line);
    std::string text;
    if (c.reason.empty()) {
      // A valid line, for contrast with the one above it.
      EXPECT_TRUE(expander.writeFile());
      continue;
    }
    EXPECT_FALSE(expander.writeFile());
    EXPECT_EQ(expander.failure().text, c.message);
    EXPECT_EQ(expander.failure().reason.in(Language::kEnglish), c.reason);
    EXPECT_TRUE(disk.files.empty());
    // Expanding into memory checks the same.
    Expander inMemory(disk, c.game, kFile, c.line);
    EXPECT_FALSE(inMemory.expanding(text));
    EXPECT_EQ(text, "");
    EXPECT_EQ(inMemory.failure().text, c.message);
  }
}

TEST(Expander, UnwritableFileFailsWithTheMessageOfTheLastValidation) {
  MemoryDisk disk;
  disk.directories.insert(kFile);
  Expander expander(disk, ToSeven, kFile, "01 02 03 04 05 06 07 08 8to7");
  EXPECT_FALSE(expander.writeFile());
  EXPECT_EQ(expander.failure().text, "e54: s == ball[i]");
  EXPECT_TRUE(disk.files.empty());
}

TEST(Expander, WrongBallIsExactTokenEquality) {
  struct Case {
    std::string token;
    bool five, six, seven;
  };
  const Case cases[] = {
      {"01 ", false, false, false}, {"09 ", false, false, false}, {"10 ", false, false, false},
      {"31 ", false, false, false}, {"32 ", true, false, false},  {"37 ", true, false, false},
      {"38 ", true, false, true},   {"43 ", true, false, true},   {"44 ", true, true, true},
      {"00 ", true, true, true},    {"99 ", true, true, true},    {"1 ", true, true, true},
      {"01", true, true, true},     {"01  ", true, true, true},   {"", true, true, true},
      {"01\t", true, true, true},   {"0a ", true, true, true},    {"/1 ", true, true, true},
      {":1 ", true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("<" + c.token + ">");
    MemoryDisk disk;
    Expander five(disk, ToFive, kFile, "");
    Expander six(disk, ToSix, kFile, "");
    Expander seven(disk, ToSeven, kFile, "");
    EXPECT_EQ(five.wrongBall(c.token), c.five);
    EXPECT_EQ(five.failure().text, c.five ? "e51: wrongBall()" : "e52: s == ball[i]");
    EXPECT_EQ(six.wrongBall(c.token), c.six);
    EXPECT_EQ(six.failure().text, c.six ? "e55: wrongBall()" : "e56: s == ball[i]");
    EXPECT_EQ(seven.wrongBall(c.token), c.seven);
    EXPECT_EQ(seven.failure().text, c.seven ? "e53: wrongBall()" : "e54: s == ball[i]");
  }
}

// Random lines of tokens (mostly balls, some out of range or damaged), label
// texts and stray bytes, cut at random: the expander either fails with one of
// its two texts and writes nothing, or writes C(N, K) lines of K three-byte
// tokens.
TEST(Expander, RandomLinesEitherFailCleanlyOrWriteWholeExpansions) {
  const Game* games[] = {&ToFive, &ToSix, &ToSeven};
  const std::string junk = "0123456789 to\x81\xff";
  std::mt19937 random(20240611);
  int written = 0;
  for (int round = 0; round < 12000; ++round) {
    const Game& game = *games[round % 3];
    std::string line;
    const int pieces = static_cast<int>(random() % 14);
    for (int i = 0; i < pieces; ++i) {
      const unsigned kind = random() % 20;
      if (kind < 17)
        line += twoDigits(static_cast<int>(random() % (game.highestBall + 3)));
      else if (kind < 19)
        line += junk[random() % junk.size()];
      else
        line += std::string(game.labels[random() % 4].text) + " ";
    }
    if (!line.empty() && random() % 2) line.pop_back();
    if (random() % 3) line += game.labels[random() % 4].text;
    if (random() % 8 == 0) line.resize(random() % (line.size() + 1));
    SCOPED_TRACE("<" + line + ">");
    MemoryDisk disk;
    Expander expander(disk, game, kFile, line);
    if (!expander.writeFile()) {
      const int number = expander.failure().number;
      EXPECT_TRUE(number == game.expanderMessages.wrongBall ||
                  number == game.expanderMessages.passed);
      EXPECT_TRUE(disk.files.empty());
      continue;
    }
    int n = 0;
    for (const Label& label : game.labels)
      if (line.size() >= 5 && line.compare(line.size() - 5, 5, label.text) == 0) n = label.n;
    ASSERT_GT(n, 0);
    ++written;
    const std::vector<std::string> lines = fileLines(disk);
    EXPECT_EQ(static_cast<long>(lines.size()), binomial(n, game.size));
    for (const std::string& one : lines) EXPECT_EQ(one.size(), 3u * game.size);
  }
  // The expansion paths were reached, not only the failures.
  EXPECT_GT(written, 100);
}

}  // namespace
