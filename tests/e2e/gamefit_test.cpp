// A thread whose picks do not fit the game of its Line-1: the passes that
// read the game from Line-1 work on that game as before (the same output,
// status 0) and say on "pelk: " lines what was read, what does not fit and
// what to check. A thread that fits says nothing more.

#include <set>
#include <string>
#include <vector>

#include "E2E.hpp"

namespace {

using Misfits = E2E;

const std::string kHeader1 =
    "1 " + sjis::colon + "A " + sjis::colon + "2017/08/14(Mon) 16:15:20.68 ID:abcdefgh";
const std::string kHeader2 =
    "2 " + sjis::colon + "B " + sjis::colon + "2017/08/14(Mon) 16:16:21.00 ID:ijklmnop";
const std::string kHonmei = "\x96\x7b\x96\xbd ";                // "本命 ": a pick after a word
const std::string kAtare = "\x93\x96\x82\xbd\x82\xea\x81\x49";  // "当たれ！"

/// A thread whose Line-1 reads as one game and whose picks are of another;
/// the same body under a Line-1 of the game of its picks fits.
struct Mismatch {
  const char* what;
  std::string line1;
  std::vector<std::string> body;
  std::string fittingLine1;
  std::string hint;

  std::string thread(const std::string& first) const {
    std::string text = first + "\n";
    for (const std::string& line : body) text += line + "\n";
    return text;
  }
};

const Mismatch kMismatches[] = {
    {"a Loto-6 draw without its bonus number reads as Miniloto",
     "03 11 17 24 30 29 -",
     {kHeader1, "01 05 09 14 22 31", "03 11 17 24 30 42", kHonmei + "02 08 15 21 29 40", kHeader2,
      "07 12 18 25 36 43", "10 20 30 33 39 41", kAtare},
     "03 11 17 24 30 29 08 -",
     "pelk: Line-1 of who.txt was read as a Miniloto draw (\"03 11 17 24 30 29 -\"), which the "
     "picks of the thread do not fit:\n"
     "pelk: 4 lines hold 6 numbers, as Loto-6 picks do, such as line 3: \"01 05 09 14 22 31\"\n"
     "pelk: 3 lines hold numbers above 31, the highest of Miniloto, such as line 4: "
     "\"03 11 17 24 30 42\"\n"
     "pelk: if the thread is of Loto-6, put its whole latest draw on Line-1, bonus number "
     "included: \"05 12 19 27 33 41 08 -\"\n"},
    {"a Loto-7 draw without its bonus numbers reads as Loto-6",
     "02 09 14 20 26 31 35 -",
     {kHeader1, "02 09 14 20 26 31 35", "01 03 05 17 21 28 33", kHeader2, "04 11 19 22 30 36 37",
      "02 09 14 20 26 31 08", kAtare},
     "02 09 14 20 26 31 35 06 17 -",
     "pelk: Line-1 of who.txt was read as a Loto-6 draw (\"02 09 14 20 26 31 35 -\"), which the "
     "picks of the thread do not fit:\n"
     "pelk: 4 lines hold 7 numbers, as Loto-7 picks do, such as line 3: "
     "\"02 09 14 20 26 31 35\"\n"
     "pelk: if the thread is of Loto-7, put its whole latest draw on Line-1, bonus numbers "
     "included: \"02 09 14 20 26 31 35 06 17 -\"\n"},
    {"a Loto-7 draw on a Loto-6 thread",
     "02 09 14 20 26 31 35 06 17 -",
     {kHeader1, "05 12 19 27 33 41", "02 09 14 20 26 31", kHeader2, "01 06 17 35 38 43",
      "03 10 22 29 36 40", kAtare},
     "02 09 14 20 26 31 35 -",
     "pelk: Line-1 of who.txt was read as a Loto-7 draw (\"02 09 14 20 26 31 35 06 17 -\"), "
     "which the picks of the thread do not fit:\n"
     "pelk: 4 lines hold 6 numbers, as Loto-6 picks do, such as line 3: \"05 12 19 27 33 41\"\n"
     "pelk: 3 lines hold numbers above 37, the highest of Loto-7, such as line 3: "
     "\"05 12 19 27 33 41\"\n"
     "pelk: if the thread is of Loto-6, put its whole latest draw on Line-1, bonus number "
     "included: \"05 12 19 27 33 41 08 -\"\n"},
};

/// The table of -t with the default tabulate.txt: the numbers 01 to
/// `highest`, those of one distinct combination (`counted`) first, each
/// group in ascending order.
std::string table(int highest, const std::set<int>& counted) {
  std::string ones;
  std::string zeros;
  for (int n = 1; n <= highest; ++n) {
    const std::string number = {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
    (counted.count(n) ? ones : zeros) += number + (counted.count(n) ? " | 1\n" : " | 0\n");
  }
  return ones + zeros;
}

/// The output of each pass over each mismatch: the pass works on the game of
/// Line-1, as it always has.
struct Row {
  int mismatch;
  const char* option;
  std::string output;
};

const std::string kA = kMismatches[0].line1 + "\n";
const std::string kB = kMismatches[1].line1 + "\n";
const std::string kC = kMismatches[2].line1 + "\n";

const Row kRows[] = {
    // Miniloto: numbers above 31 are not numbers of the game; a line that
    // names five of the game's is a pick of it.
    {0, "-t", table(31, {2, 3, 8, 11, 15, 17, 21, 24, 29, 30})},
    {0, "-u", "02 08 15 21 29\n03 11 17 24 30\n"},
    {0, "-i",
     kA + "\n\n" + kHeader1 + "\n03 11 17 24 30 42\n" + kHonmei + "02 08 15 21 29 40\n\n" +
         kHeader2 + "\n\n"},
    {0, "-n",
     kA + "\n\n" + kHeader1 + "\n01 05 09 14 22 31\n03 11 17 24 30 \n42\n02 08 15 21 29 \n40\n\n" +
         kHeader2 + "\n07 12 18 25 36 \n43\n10 20 30 33 39 \n41\n" + kAtare + "\n\n"},
    {0, "-c",
     kA + "\n" + kHeader1 + "\n01 05 09 14 22 31\n03 11 17 24 30 42\n" + kHonmei +
         "02 08 15 21 29 40\n" + kHeader2 + "\n07 12 18 25 36 43\n10 20 30 33 39 41\n" + kAtare +
         "\n"},
    {0, "-p",
     kA + "\n" + kHeader1 + "\n03 11 17 24 30 | 1st\n\n1st | 1\n2nd | 0\n3rd | 0\n4th | 0\n"},
    // Loto-6: seven numbers are no pick of it.
    {1, "-t", table(43, {})},
    {1, "-u", ""},
    {1, "-i", kB + "\n\n" + kHeader1 + "\n\n" + kHeader2 + "\n\n"},
    {1, "-n",
     kB + "\n\n" + kHeader1 + "\n02 09 14 20 26 31 35\n01 03 05 17 21 28 33\n\n" + kHeader2 +
         "\n04 11 19 22 30 36 37\n02 09 14 20 26 31 \n08\n" + kAtare + "\n\n"},
    {1, "-c",
     kB + "\n" + kHeader1 + "\n02 09 14 20 26 31 35\n01 03 05 17 21 28 33\n" + kHeader2 +
         "\n04 11 19 22 30 36 37\n02 09 14 20 26 31 08\n" + kAtare + "\n"},
    {1, "-p", kB + "\n1st | 0\n2nd | 0\n3rd | 0\n4th | 0\n5th | 0\n"},
    // Loto-7: six numbers are no pick of it.
    {2, "-t", table(37, {})},
    {2, "-u", ""},
    {2, "-i", kC + "\n\n" + kHeader1 + "\n\n" + kHeader2 + "\n\n"},
    {2, "-n",
     kC + "\n\n" + kHeader1 + "\n05 12 19 27 33 41\n02 09 14 20 26 31\n\n" + kHeader2 +
         "\n01 06 17 35 38 43\n03 10 22 29 36 40\n" + kAtare + "\n\n"},
    {2, "-c",
     kC + "\n" + kHeader1 + "\n05 12 19 27 33 41\n02 09 14 20 26 31\n" + kHeader2 +
         "\n01 06 17 35 38 43\n03 10 22 29 36 40\n" + kAtare + "\n"},
    {2, "-p", kC + "\n1st | 0\n2nd | 0\n3rd | 0\n4th | 0\n5th | 0\n6th | 0\n"},
};

/// The file a run wrote: the last line of its standard output.
std::string written(const Outcome& run) {
  const std::string out = run.out.substr(0, run.out.size() - 1);
  return out.substr(out.rfind('\n') + 1);
}

TEST_F(Misfits, ThePassWorksOnTheGameOfLine1AsBeforeAndSaysWhatDoesNotFit) {
  writeDefaultCompanions();
  for (const Row& row : kRows) {
    const Mismatch& mismatch = kMismatches[row.mismatch];
    const std::string thread = mismatch.thread(mismatch.line1);
    write("who.txt", thread);
    const Outcome run = pelk({"who.txt", row.option});
    ASSERT_EQ(run.status, 0) << mismatch.what << " " << row.option << ": " << run.err;
    EXPECT_EQ(run.err, mismatch.hint) << mismatch.what << " " << row.option;
    EXPECT_EQ(read(written(run)), row.output) << mismatch.what << " " << row.option;
    EXPECT_EQ(read("who.txt"), thread);
  }
}

TEST_F(Misfits, AThreadThatFitsItsGameSaysNothingMore) {
  writeDefaultCompanions();
  for (const Row& row : kRows) {
    const Mismatch& mismatch = kMismatches[row.mismatch];
    write("who.txt", mismatch.thread(mismatch.fittingLine1));
    const Outcome run = pelk({"who.txt", row.option});
    ASSERT_EQ(run.status, 0) << mismatch.what << " " << row.option << ": " << run.err;
    EXPECT_EQ(run.err, "") << mismatch.what << " " << row.option;
  }
}

// The hint is in the thread's encoding: a UTF-8 thread gets its Line-1
// back in UTF-8.
TEST_F(Misfits, TheHintOfAUtf8ThreadQuotesItsLinesInUtf8) {
  writeDefaultCompanions();
  const std::string line1 =
      "03 11 17 24 30 29 - \xe7\xac\xac"
      "1234\xe5\x9b\x9e";                                 // "第1234回"
  const std::string honmei = "\xe6\x9c\xac\xe5\x91\xbd";  // "本命"
  write("who.txt", line1 + "\n" + honmei + "\n01 05 09 14 22 31 \n02 08 15 21 29 40\n" +
                       "07 12 18 25 36 43\n10 20 30 33 39 41\n");
  const Outcome run = pelk({"who.txt", "-u", "-1-"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err,
            "pelk: Line-1 of who.txt was read as a Miniloto draw (\"" + line1 +
                "\"), which the picks of the thread do not fit:\n"
                "pelk: 4 lines hold 6 numbers, as Loto-6 picks do, such as line 3: "
                "\"01 05 09 14 22 31 \"\n"
                "pelk: 3 lines hold numbers above 31, the highest of Miniloto, such as line 4: "
                "\"02 08 15 21 29 40\"\n"
                "pelk: if the thread is of Loto-6, put its whole latest draw on Line-1, bonus "
                "number included: \"05 12 19 27 33 41 08 -\"\n");
}

}  // namespace
