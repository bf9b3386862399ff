#include "passes/Prizes.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "Clock.hpp"
#include "CombinationKey.hpp"
#include "MemoryDisk.hpp"
#include "ShiftJis.hpp"

namespace {

// The time of the runs whose output names do not matter.
const FixedClock kAnyTime(1502694845);

const std::string kColon = kZenkakuColon;
const std::string kHeader1 =
    "1 " + kColon + "A " + kColon + "2017/08/14(Mon) 16:15:20.68 ID:abcdefgh";
const std::string kHeader2 =
    "2 " + kColon + "B " + kColon + "2017/08/14(Mon) 16:16:21.00 ID:ijklmnop";
const std::string kLoto6Line1 = "05 12 19 27 33 41 08 -";
const std::string kLoto7Line1 = "02 09 14 21 28 33 37 05 17 -";
const std::string kMinilotoLine1 = "03 08 15 22 29 11 -";

class Probe : public Prizes {
 public:
  Probe(Disk& disk, const Clock& clock, bool keepLine1 = true) {
    setting({.companion = "separate.txt",
             .keepLine1 = keepLine1,
             .overwrite = true,
             .disk = &disk,
             .clock = &clock});
  }
};

/// Runs -p over `thread` in memory, beside a separate.txt of `separators`:
/// true with the output in `written`, or false with the message there.
bool run(const std::string& thread, std::string& written, bool keepLine1 = true,
         const std::string& separators = "/\n|\n") {
  MemoryDisk disk;
  disk.files["t.txt"] = thread;
  disk.files["separate.txt"] = separators;
  Probe pass(disk, kAnyTime, keepLine1);
  std::string name = "t.txt";
  if (!pass.altering(name)) {
    written = pass.inquiry();
    return false;
  }
  written = disk.files[pass.altered()];
  return true;
}

/// The tier a pick written in normal form wins against the draw on `line1`.
std::string tierOf(const std::string& line1, const std::string& pick) {
  const Game& game = *gameOfCode(checkLine1(line1));
  Draw draw;
  if (!draw.reading(game, line1)) return "no draw";
  CombinationKey key;
  if (!CombinationKey::fromText(pick, key)) return "no pick";
  const int tier = draw.tier(key.mask());
  return tier < 0 ? "" : std::string(game.tiers[tier].name);
}

TEST(Prizes, EachTierOfEachGame) {
  struct Case {
    std::string line1, pick, tier;
  };
  const Case cases[] = {
      // Loto-6: 05 12 19 27 33 41, bonus 08.
      {kLoto6Line1, "05 12 19 27 33 41", "1st"},
      {kLoto6Line1, "05 08 12 19 27 33", "2nd"},
      {kLoto6Line1, "01 05 12 19 27 33", "3rd"},
      {kLoto6Line1, "01 02 05 12 19 27", "4th"},
      {kLoto6Line1, "01 05 08 12 19 27", "4th"},  // the bonus counts only for 2nd
      {kLoto6Line1, "01 02 03 05 12 19", "5th"},
      {kLoto6Line1, "01 02 03 04 05 12", ""},
      {kLoto6Line1, "01 02 03 05 08 12", ""},
      {kLoto6Line1, "01 02 03 04 06 07", ""},
      // Loto-7: 02 09 14 21 28 33 37, bonus 05 17.
      {kLoto7Line1, "02 09 14 21 28 33 37", "1st"},
      {kLoto7Line1, "02 05 09 14 21 28 33", "2nd"},
      {kLoto7Line1, "02 09 14 17 21 28 33", "2nd"},
      {kLoto7Line1, "01 02 09 14 21 28 33", "3rd"},
      {kLoto7Line1, "01 02 03 09 14 21 28", "4th"},
      {kLoto7Line1, "02 05 09 14 17 21 28", "4th"},
      {kLoto7Line1, "01 02 03 04 09 14 21", "5th"},
      {kLoto7Line1, "01 02 05 09 14 17 21", "5th"},
      {kLoto7Line1, "01 02 03 04 05 09 14", "6th"},
      {kLoto7Line1, "01 02 03 05 09 14 17", "6th"},  // both bonus numbers
      {kLoto7Line1, "01 02 03 04 06 09 14", ""},     // three without a bonus number
      {kLoto7Line1, "01 02 03 05 06 09 17", ""},
      // Miniloto: 03 08 15 22 29, bonus 11.
      {kMinilotoLine1, "03 08 15 22 29", "1st"},
      {kMinilotoLine1, "03 08 11 15 22", "2nd"},
      {kMinilotoLine1, "01 03 08 15 22", "3rd"},
      {kMinilotoLine1, "01 02 03 08 15", "4th"},
      {kMinilotoLine1, "01 03 08 11 15", "4th"},
      {kMinilotoLine1, "01 02 03 08 11", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(tierOf(c.line1, c.pick), c.tier) << c.line1 << " / " << c.pick;
}

TEST(Prizes, DrawIsTheGamesNumbersAtTheStartOfLine1) {
  struct Case {
    std::string line1;
    bool draw;
  };
  const Case cases[] = {
      {"05 12 19 27 33 41 08 -", true},
      {"05 12 19 27 33 41 08x", true},  // the byte after the draw is free
      {"05 12 19 27 33 41 08 - 1834th draw", true},
      {"05 12 19 27 33 41 44 -", false},  // 44 is no Loto-6 number
      {"00 12 19 27 33 41 08 -", false},
      {"05 12 19 27 33 41 05 -", false},  // the bonus number is drawn once too
      {"05 12 19 27 33 33 08 -", false},
      {"05 12 19 27 33 4a 08 -", false},
      {"05 12 19 27 33 41-08 -", false},
      {"02 09 14 21 28 33 37 05 17 -", true},
      {"02 09 14 21 28 33 38 05 17 -", false},  // 38 is no Loto-7 number
      {"02 09 14 21 28 33 37 05 02 -", false},
      {"03 08 15 22 29 11 -", true},
      {"03 08 15 22 29 32 -", false},  // 32 is no Miniloto number
  };
  for (const Case& c : cases) {
    const int code = checkLine1(c.line1);
    ASSERT_NE(gameOfCode(code), nullptr) << c.line1;
    Draw draw;
    EXPECT_EQ(draw.reading(*gameOfCode(code), c.line1), c.draw) << c.line1;
  }
  EXPECT_EQ(Draw::bonusCount(*gameOfCode(5)), 1);
  EXPECT_EQ(Draw::bonusCount(*gameOfCode(6)), 1);
  EXPECT_EQ(Draw::bonusCount(*gameOfCode(7)), 2);
}

TEST(Prizes, ListsWinningPicksPostByPostThenCountsEachTier) {
  const std::string thread = kLoto6Line1 + "\n" + kHeader1 + "\n41 33 27 19 12 05\n" + kHeader2 +
                             "\n05 12 19 27 33 08\n01 02 03 04 10 11\n";
  std::string written;
  ASSERT_TRUE(run(thread, written)) << written;
  EXPECT_EQ(written, kLoto6Line1 + "\n\n" + kHeader1 + "\n05 12 19 27 33 41 | 1st\n\n" + kHeader2 +
                         "\n05 08 12 19 27 33 | 2nd\n\n" +
                         "1st | 1\n2nd | 1\n3rd | 0\n4th | 0\n5th | 0\n");
}

TEST(Prizes, PicksBeforeTheFirstHeaderComeFirstUnderNoHeader) {
  // Posts without a winning pick are left out; a pick counts each time it is posted.
  const std::string thread = kMinilotoLine1 + "\n03 08 15 22 29\n" + kHeader1 +
                             "\n01 02 04 05 06\n" + kHeader2 +
                             "\n29 22 15 08 03\nx 01 03 08 15 30\n";
  const std::string tail = "\n" + kHeader2 + "\n03 08 15 22 29 | 1st\n01 03 08 15 30 | 4th\n" +
                           "\n1st | 2\n2nd | 0\n3rd | 0\n4th | 1\n";
  std::string written;
  ASSERT_TRUE(run(thread, written)) << written;
  EXPECT_EQ(written, kMinilotoLine1 + "\n\n03 08 15 22 29 | 1st\n" + tail);
  ASSERT_TRUE(run(thread, written, false)) << written;
  EXPECT_EQ(written, "03 08 15 22 29 | 1st\n" + tail);
  // Without any winning pick, the counts alone.
  ASSERT_TRUE(run(kMinilotoLine1 + "\n" + kHeader1 + "\n01 02 04 05 06\n", written, false));
  EXPECT_EQ(written, "1st | 0\n2nd | 0\n3rd | 0\n4th | 0\n");
}

TEST(Prizes, PicksAreLinesOfOneCombinationOfTheGame) {
  // The rule of -u, -t and -i: exactly six numbers of the game, anywhere in
  // the line, none overlapping; a header is never a pick.
  const std::string numberedHeader =
      "3 " + kColon + "05 12 19 " + kColon + "2017/08/14(Mon) 16:27:33.00 ID:qrstuvwx";
  const std::string thread = kLoto6Line1 + "\n" + kHeader1 + "\nmine: 41,33/27 19-12  05 !\n" +
                             "05 12 19 27 33\n05 12 19 27 33 41 42\n123 19 27 33 41 05\n" +
                             numberedHeader + "\n27 33 41 01 02 03\n";
  std::string written;
  ASSERT_TRUE(run(thread, written, false)) << written;
  EXPECT_EQ(written, kHeader1 + "\n05 12 19 27 33 41 | 1st\n\n" + numberedHeader +
                         "\n01 02 03 27 33 41 | 5th\n\n" +
                         "1st | 1\n2nd | 0\n3rd | 0\n4th | 0\n5th | 1\n");
}

/// `ascii` with its digits and blanks written full-width, as phones type them.
std::string wide(const std::string& ascii) {
  std::string text;
  for (char c : ascii) {
    if (isDigit(c)) {
      text += static_cast<char>(kZenkakuDigitLead);
      text += static_cast<char>(kZenkakuZeroTrail + (c - '0'));
    } else {
      text += c == ' ' ? std::string(kZenkakuSpace) : std::string(1, c);
    }
  }
  return text;
}

/// The winning picks of an output of -p run with "-1-", without the tier
/// counts that end it.
std::string winners(const std::string& written) {
  const std::size_t counts = written.find("1st | ");
  return counts == std::string::npos ? written : written.substr(0, counts);
}

// Picks as a person reads them, in each game: full-width digits and blanks
// count as half-width ones; a line cut at "/", "／" and the separators of
// separate.txt gives one pick per piece, each winning one listed in normal
// form in the order of the pieces; a piece that is no pick is left alone.
TEST(Prizes, ReadsPicksAsAPersonDoes) {
  const std::string slash = kZenkakuSlash;
  const std::string dot = "\x81\x45";         // "・", added to separate.txt below
  const std::string katakanaPo = "\x83\x7C";  // "ポ": its trail byte is "|"
  struct Case {
    std::string line1, line, separators, winners;
  };
  const Case cases[] = {
      // Full-width digits and blanks, and both widths mixed.
      {kLoto6Line1, wide("05 12 19 27 33 41"), "/\n|\n", "05 12 19 27 33 41 | 1st\n"},
      {kLoto6Line1, wide("41 33 ") + "27 19" + wide(" 12") + " 08", "/\n|\n",
       "08 12 19 27 33 41 | 2nd\n"},
      {kLoto7Line1, wide("02 09 14 21 28 33 37"), "/\n|\n", "02 09 14 21 28 33 37 | 1st\n"},
      {kMinilotoLine1, "03" + wide(" 08 15") + " 22 " + wide("29"), "/\n|\n",
       "03 08 15 22 29 | 1st\n"},
      // Several picks on a line, each winner in the order of the pieces.
      {kLoto6Line1, "41 33 27 19 12 08 / 05 12 19 27 33 41", "/\n|\n",
       "08 12 19 27 33 41 | 2nd\n05 12 19 27 33 41 | 1st\n"},
      {kLoto6Line1, wide("05 12 19 27 33 41") + slash + "01 05 12 19 27 33", "/\n|\n",
       "05 12 19 27 33 41 | 1st\n01 05 12 19 27 33 | 3rd\n"},
      {kLoto7Line1, "01 02 03 04 09 14 21|02 09 14 21 28 33 37|01 02 03 04 06 07 08", "/\n|\n",
       "01 02 03 04 09 14 21 | 5th\n02 09 14 21 28 33 37 | 1st\n"},
      {kMinilotoLine1, "01 02 03 08 15" + dot + "03 08 11 15 22", "/\n|\n" + dot + "\n",
       "01 02 03 08 15 | 4th\n03 08 11 15 22 | 2nd\n"},
      // Without the separator in separate.txt the line is ten numbers: no pick.
      {kMinilotoLine1, "01 02 03 08 15" + dot + "03 08 11 15 22", "/\n|\n", ""},
      // The same pick twice counts twice.
      {kLoto6Line1, "05 12 19 27 33 41/05 12 19 27 33 41", "/\n|\n",
       "05 12 19 27 33 41 | 1st\n05 12 19 27 33 41 | 1st\n"},
      // Pieces that are no pick are left alone.
      {kLoto6Line1, "A: 05 12 19 27 33 41 / good luck / 05 12 | 2017/08/14", "/\n|\n",
       "05 12 19 27 33 41 | 1st\n"},
      // A pick written with separators between its numbers: no piece is a
      // pick, the line is read whole.
      {kLoto6Line1, "41/33/27/19/12/05", "/\n|\n", "05 12 19 27 33 41 | 1st\n"},
      {kMinilotoLine1, wide("03") + dot + wide("08") + dot + "15" + dot + "22" + dot + "29",
       "/\n|\n" + dot + "\n", "03 08 15 22 29 | 1st\n"},
      // A separator byte inside a double-byte character cuts nothing: the
      // line stays twelve numbers.
      {kLoto6Line1, "05 12 19 27 33 41 " + katakanaPo + " 01 02 03 04 06 07", "/\n|\n", ""},
  };
  for (const Case& c : cases) {
    std::string written;
    ASSERT_TRUE(run(c.line1 + "\n" + kHeader1 + "\n" + c.line + "\n", written, false, c.separators))
        << c.line << ": " << written;
    const std::string expected = c.winners.empty() ? "" : kHeader1 + "\n" + c.winners + "\n";
    EXPECT_EQ(winners(written), expected) << c.line;
  }
}

// A labelled line is read whole, as before, separators and all: a label of
// the game that cannot be expanded still fails the run, quoting the line as
// posted.
TEST(Prizes, LabelledLinesAreNotCutIntoPieces) {
  // Its first piece would be a labelled line of its own; the whole line has
  // text after its label.
  const std::string line = wide("01 02 03 04 05 06") + " 07 09 8to6 / 05 12 19 27 33 41";
  MemoryDisk disk;
  disk.files["t.txt"] = kLoto6Line1 + "\n" + kHeader1 + "\n" + line + "\n";
  disk.files["separate.txt"] = "/\n|\n";
  Probe pass(disk, kAnyTime);
  std::string name = "t.txt";
  EXPECT_FALSE(pass.altering(name));
  EXPECT_EQ(pass.inquiry(), "e56: s == ball[i]");
  EXPECT_EQ(pass.failure().line, line);
  std::string written;
  // Full-width numbers before a label of the game are expanded.
  ASSERT_TRUE(run(kLoto6Line1 + "\n" + wide("05 12 19 27 33 41 08") + " 7to6\n", written, false))
      << written;
  EXPECT_EQ(written.rfind("05 12 19 27 33 41 | 1st\n05 08 12 19 27 33 | 2nd\n", 0), 0u) << written;
}

TEST(Prizes, SeparatorsAreReadFromTheCompanionFile) {
  MemoryDisk disk;
  disk.files["t.txt"] = kLoto6Line1 + "\n05 12 19 27 33 41\n";
  Probe pass(disk, kAnyTime);
  std::string name = "t.txt";
  EXPECT_FALSE(pass.altering(name));
  EXPECT_EQ(pass.inquiry(), "e2: ifstream in( separate.txt )");
}

TEST(Prizes, LabelledLinesOfTheGameAreExpandedInMemory) {
  // Eight numbers in sixes: 28 picks, each the six numbers of the draw but
  // at most two, 08 and 01 in their place.
  const std::string thread =
      kLoto6Line1 + "\n" + kHeader1 + "\nmine 05 12 19 27 33 41 08 01 8to6\n";
  MemoryDisk disk;
  disk.files["t.txt"] = thread;
  disk.files["separate.txt"] = "/\n|\n";
  Probe pass(disk, kAnyTime, false);
  std::string name = "t.txt";
  ASSERT_TRUE(pass.altering(name)) << pass.inquiry();
  const std::string written = disk.files["who.txt"];
  EXPECT_EQ(written.rfind(kHeader1 + "\n05 12 19 27 33 41 | 1st\n05 08 12 19 27 33 | 2nd\n", 0), 0u)
      << written;
  const std::string counts = "1st | 1\n2nd | 6\n3rd | 6\n4th | 15\n5th | 0\n";
  EXPECT_EQ(written.substr(written.size() - counts.size()), counts);
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 1 + 28 + 1 + 5);
  // No expansion file, no serial number.
  EXPECT_EQ(disk.files.size(), 3u);
  EXPECT_EQ(disk.files.count("serial.txt"), 0u);
}

TEST(Prizes, LabelledLinesOfAnotherGameAreNoPicks) {
  struct Case {
    std::string line1, line;
  };
  const Case cases[] = {
      // Six numbers of Loto-6, but labelled for Miniloto.
      {kLoto6Line1, "05 12 19 27 33 41 6to5"},
      // Seven numbers of Loto-7 labelled for Loto-6.
      {kLoto7Line1, "02 09 14 21 28 33 37 7to6"},
      // Five Miniloto numbers under a Loto-7 label.
      {kMinilotoLine1, "03 08 15 22 29 99 99 99 8to7"},
  };
  for (const Case& c : cases) {
    std::string written;
    ASSERT_TRUE(run(c.line1 + "\n" + kHeader1 + "\n" + c.line + "\n", written, false))
        << c.line << ": " << written;
    EXPECT_EQ(written.rfind("1st | 0\n", 0), 0u) << c.line << ": " << written;
  }
}

TEST(Prizes, InvalidLabelledLineOfTheGameFailsAsInTheExpansionPass) {
  struct Case {
    std::string line1, line, message;
  };
  const Case cases[] = {
      {kLoto6Line1, "01 02 03 04 05 44 7to6", "e55: wrongBall()"},
      {kLoto6Line1, "7to6", "e55: wrongBall()"},
      {kLoto6Line1, "01 02 03 04 05 06 07 7to6 !", "e56: s == ball[i]"},  // no label at the end
      {kLoto7Line1, "01 02 03 04 05 06 07 38 8to7", "e53: wrongBall()"},
      {kMinilotoLine1, "I like 9to5 jobs", "e51: wrongBall()"},
  };
  for (const Case& c : cases) {
    std::string written;
    EXPECT_FALSE(run(c.line1 + "\n" + kHeader1 + "\n" + c.line + "\n", written)) << c.line;
    EXPECT_EQ(written, c.message) << c.line;
  }
}

TEST(Prizes, ThreadWithoutADrawFails) {
  const std::string kBody = kHeader1 + "\n05 12 19 27 33 41\n";
  struct Case {
    std::string thread, message;
  };
  const Case cases[] = {
      {"", "e64(Line-1): in.getline(c, BUFFER_SIZE )"},
      {std::string(384, '0') + "\n" + kBody, "e64(Line-1): in.getline(c, BUFFER_SIZE )"},
      {"01 02 03 04 05 06 07 08 09 10\n" + kBody, "e62: ADD THE DRAW TO LINE-1 OF WHO.TXT"},
      {"05 12 19 27 33 41 44 -\n" + kBody, "e62: ADD THE DRAW TO LINE-1 OF WHO.TXT"},
      {"draw: 05 12 19 27 33 -\n" + kBody, "e62: ADD THE DRAW TO LINE-1 OF WHO.TXT"},
      {"01 02 03 04 05 06\n" + kBody, "e63: TOO FEW GAPS"},
  };
  for (const Case& c : cases) {
    std::string written;
    EXPECT_FALSE(run(c.thread, written)) << c.thread;
    EXPECT_EQ(written, c.message) << c.thread;
  }
  MemoryDisk disk;
  Probe pass(disk, kAnyTime);
  std::string name = "none.txt";
  EXPECT_FALSE(pass.altering(name));
  EXPECT_EQ(pass.inquiry(), "e61: ifstream in( none.txt )");
}

}  // namespace
