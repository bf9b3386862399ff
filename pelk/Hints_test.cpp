#include "Hints.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "Games.hpp"
#include "MemoryDisk.hpp"
#include "Messages.hpp"
#include "TextEncoding.hpp"
#include "ThreadFile.hpp"

namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool ascii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) return false;
  return true;
}

// Every number from e1 to the last has a hint, in order, in plain ASCII in
// English and in Japanese beside it.
TEST(Hints, EveryMessageNumberHasAHint) {
  for (int number = 1; number <= messages::kLastMessage; ++number) {
    const MessageHint* hint = hintOf(number);
    ASSERT_NE(hint, nullptr) << "e" << number << " has no hint";
    EXPECT_EQ(hint->number, number);
    EXPECT_FALSE(hint->meaning.english.empty()) << number;
    EXPECT_FALSE(hint->action.english.empty()) << number;
    EXPECT_TRUE(ascii(hint->meaning.english) && ascii(hint->action.english)) << number;
    EXPECT_FALSE(ascii(hint->meaning.japanese) || ascii(hint->action.japanese)) << number;
  }
  EXPECT_EQ(messageHints().size(), static_cast<size_t>(messages::kLastMessage));
  EXPECT_EQ(hintOf(0), nullptr);
  EXPECT_EQ(hintOf(messages::kLastMessage + 1), nullptr);
}

// A message number written anywhere in pelk's sources, as a text ("e58: ")
// or as a constant of Messages.hpp, lies within the hint table: a new message
// fails here until it has its hint.
TEST(Hints, EveryNumberInTheSourcesIsInTheTable) {
  const std::regex text("\"e([0-9]+)[:(]");
  const std::regex constant("inline constexpr int k[A-Za-z0-9]+ = ([0-9]+);");
  std::set<int> found;
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(PELK_SOURCE_DIR) / "pelk")) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file() || name.find("_test") != std::string::npos) continue;
    if (entry.path().extension() != ".cpp" && entry.path().extension() != ".hpp") continue;
    const std::string source = slurp(entry.path());
    for (std::sregex_iterator it(source.begin(), source.end(), text), end; it != end; ++it)
      found.insert(std::stoi((*it)[1]));
    if (name == "Messages.hpp")
      for (std::sregex_iterator it(source.begin(), source.end(), constant), end; it != end; ++it)
        found.insert(std::stoi((*it)[1]));
  }
  ASSERT_GT(found.size(), 10u);  // the sources were read
  for (int number : found) EXPECT_NE(hintOf(number), nullptr) << "e" << number << " has no hint";
  // The thread messages of the passes are thread hints of the right kind.
  for (const ThreadMessages& pass :
       {messages::kASCIIdates, messages::kBetweenColons, messages::kCombo, messages::kCombosDates,
        messages::kDateFollowedByName, messages::kDrafo, messages::kDates, messages::kExcludeText,
        messages::kFormDateLine, messages::kNewLines, messages::kQuoteRatherThanMark,
        messages::kSegmentalize, messages::kTableReverseSorted, messages::kUniqueCombos}) {
    EXPECT_EQ(hintOf(pass.open)->kind, HintKind::threadOpen) << pass.open;
    EXPECT_EQ(hintOf(pass.line1)->kind, HintKind::line1Read) << pass.line1;
    if (pass.noDraw) {
      EXPECT_EQ(hintOf(pass.noDraw)->kind, HintKind::noDraw) << pass.noDraw;
    }
    if (pass.tooFewGaps) {
      EXPECT_EQ(hintOf(pass.tooFewGaps)->kind, HintKind::tooFewGaps) << pass.tooFewGaps;
    }
  }
}

TEST(Hints, ShortenedKeepsSixtyBytesAndWholeCharacters) {
  EXPECT_EQ(shortened(std::string(60, 'a')), std::string(60, 'a'));
  EXPECT_EQ(shortened(std::string(61, 'a')), std::string(57, 'a') + "...");
  // A double-byte character across byte 57 is left out whole.
  const std::string line = std::string(56, 'a') + "\x81\x40" + std::string(10, 'b');
  EXPECT_EQ(shortened(line), std::string(56, 'a') + "...");
}

TEST(Hints, LineExamplesHoldADrawOfTheirGame) {
  for (const Game& game : kGames) EXPECT_EQ(checkLine1(game.line1Example), game.size) << game.name;
}

// The hints name the real file, the line at fault and what to do, all from
// the failure as it was made: nothing is read again from the disk.
TEST(Hints, LinesNameTheRealFilesAndTheLine) {
  MemoryDisk disk;
  disk.directories.insert("exclude.txt");
  disk.special.insert("fifo.txt");
  disk.files["locked.txt"] = "";  // there, and so not read for want of leave
  const std::string example =
      "pelk: thread.txt: Line-1 must hold the latest draw, such as \"05 12 19 27 33 41 08 -\"";
  const std::string others =
      "pelk: (Loto-7 \"02 09 14 20 26 31 35 06 17 -\", Miniloto \"03 11 17 24 30 08 -\"): the "
      "numbers and the bonus numbers, two digits each, one blank apart, then \" -\" and any text";
  auto line1 = [](Failure failure, std::string line, std::string reason) {
    return failure.at(1, line, reason);
  };
  struct Case {
    Failure failure;
    HintContext context;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {line1(numberedFailure(41, "ADD THE DRAW TO LINE-1 OF WHO.TXT", "thread.txt"), "hello world",
             "no draw of Loto-6, Loto-7 or Miniloto"),
       {"thread.txt", "tabulate.txt"},
       {"pelk: thread.txt line 1: \"hello world\": no draw of Loto-6, Loto-7 or Miniloto", example,
        others}},
      {line1(numberedFailure(10, "TOO FEW GAPS", "thread.txt"), "hello world",
             "fewer than six blanks, so no draw"),
       {"thread.txt", "exclude.txt"},
       {"pelk: thread.txt line 1: \"hello world\": fewer than six blanks, so no draw", example,
        others}},
      {Failure::of(26, "e26(Line-1): in.getline(c, BUFFER_SIZE )", "empty.txt"),
       {"empty.txt", "exclude.txt"},
       {"pelk: empty.txt is empty",
        "pelk: empty.txt: Line-1 must hold the latest draw, such as \"05 12 19 27 33 41 08 -\"",
        "pelk: (Loto-7 \"02 09 14 20 26 31 35 06 17 -\", Miniloto \"03 11 17 24 30 08 -\"): the "
        "numbers and the bonus numbers, two digits each, one blank apart, then \" -\" and any "
        "text"}},
      {line1(Failure::of(26, "e26(Line-1): in.getline(c, BUFFER_SIZE )", "long.txt"),
             std::string(400, '1'), "longer than 383 bytes"),
       {"long.txt", "exclude.txt"},
       {"pelk: long.txt line 1 is longer than 383 bytes",
        "pelk: long.txt: Line-1 must hold the latest draw, such as \"05 12 19 27 33 41 08 -\"",
        "pelk: (Loto-7 \"02 09 14 20 26 31 35 06 17 -\", Miniloto \"03 11 17 24 30 08 -\"): the "
        "numbers and the bonus numbers, two digits each, one blank apart, then \" -\" and any "
        "text"}},
      {openFailure(40, "gone.txt"),
       {"gone.txt", "tabulate.txt"},
       {"pelk: gone.txt: no such file in this directory; name a thread file saved here, then the "
        "options, as in \"pelk who.txt -t\""}},
      {openFailure(2, "-T"),
       {"who.txt", "-T"},
       {"pelk: \"-T\" is no option, so pelk took it as the name of the companion file, and no "
        "such file can be read; \"pelk -h\" lists the options"}},
      {openFailure(33, "-x"),
       {"-x", "exclude.txt"},
       {"pelk: \"-x\" is no option, so pelk took it as the name of the thread file, and no such "
        "file can be read; \"pelk -h\" lists the options"}},
      {openFailure(2, "exclude.txt"),
       {"who.txt", "exclude.txt"},
       {"pelk: exclude.txt cannot be read: it is a directory; delete it and the next run writes "
        "exclude.txt anew with its default lines"}},
      {openFailure(40, "fifo.txt"),
       {"fifo.txt", "tabulate.txt"},
       {"pelk: fifo.txt cannot be read: it is a device, a FIFO or another special file, not a "
        "text file"}},
      {openFailure(40, "locked.txt"),
       {"locked.txt", "tabulate.txt"},
       {"pelk: locked.txt cannot be read: it is a file pelk may not read"}},
      // A thread empty but for the mark of UTF-8 says so.
      {Failure::of(26, "e26(Line-1): in.getline(c, BUFFER_SIZE )", "who.txt")
           .at(0, "", "it holds only the byte-order mark of UTF-8 (EF BB BF)"),
       {"who.txt", "exclude.txt"},
       {"pelk: who.txt is empty: it holds only the byte-order mark of UTF-8 (EF BB BF)",
        "pelk: who.txt: Line-1 must hold the latest draw, such as \"05 12 19 27 33 41 08 -\"",
        others}},
      // The encoding a file is saved in, as the failure names it.
      {[] {
         Failure f =
             numberedFailure(66, "w.txt is saved as UTF-32, which pelk does not read", "w.txt");
         f.reason = "saved as UTF-32";
         return f;
       }(),
       {"who.txt", "exclude.txt"},
       {"pelk: w.txt is saved as UTF-32, and only files saved as Shift-JIS (ANSI) or UTF-8 can "
        "be read; open the file in Notepad, choose Save As, and save it with the encoding UTF-8 "
        "or ANSI"}},
      // Standard output failed: after an overwrite, after a temporary
      // output, and when nothing was written.
      {numberedFailure(60, "standard output cannot be written"),
       {"who.txt", "exclude.txt", nullptr, "who.txt", true},
       {"pelk: who.txt was written all the same: only printing its name failed, so do not run "
        "the pass again; pelk -U puts back the who.txt it wrote over",
        "pelk: check where standard output goes: a full disk, a pipe closed early, or none at all "
        "(>&-)"}},
      {numberedFailure(60, "standard output cannot be written"),
       {"who.txt", "exclude.txt", nullptr, "tab14-5.txt", false},
       {"pelk: tab14-5.txt was written all the same: only printing its name failed, so do not "
        "run the pass again",
        "pelk: check where standard output goes: a full disk, a pipe closed early, or none at all "
        "(>&-)"}},
      {numberedFailure(60, "standard output cannot be written"),
       {"who.txt", "exclude.txt"},
       {"pelk: the name of the output file cannot be printed on standard output; check where "
        "standard output goes: a full disk, a pipe closed early, or none at all (>&-)"}},
      {numberedFailure(1, "ofstream saveFile( who14-5.txt )", "who14-5.txt"),
       {"who.txt", "exclude.txt"},
       {"pelk: who14-5.txt cannot be written: make room on the disk, make the directory "
        "writable, or move away the directory of that name; the thread file is unchanged"}},
      {numberedFailure(55, "wrongBall()", "thread.txt")
           .at(42, "01 02 03 04 05 06 07 99 8to6", "99 is no Loto-6 number (01-43)"),
       {"thread.txt", "exclude.txt"},
       {"pelk: thread.txt line 42: \"01 02 03 04 05 06 07 99 8to6\": 99 is no Loto-6 number "
        "(01-43)",
        "pelk: fix or remove the line: a combination line holds N different numbers of one game, "
        "each two digits and one blank, then its label, such as \"01 05 09 14 22 31 38 7to6\""}},
      {numberedFailure(50, "ifstream in( tivor.txt, ios::binary )", "tivor.txt"),
       {"who.txt", "segmen.txt"},
       {"pelk: tivor.txt, from which pelk takes the IDs of the headers it makes, cannot be read; "
        "run tivor in this directory first: it writes tivor.txt"}},
      {numberedFailure(57, "my.csv grows line 4 by more than 1048576 bytes", "my.csv"),
       {"thread.txt", "my.csv"},
       {"pelk: the pairs of my.csv make one line of thread.txt grow by more than 1 MB; check the "
        "pairs of my.csv: one may put back what it replaces, or be far longer than it"}},
      {Failure(), {"who.txt", "exclude.txt"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failure.text);
    HintContext context = c.context;
    context.disk = &disk;
    EXPECT_EQ(hintLines(c.failure, context), c.lines);
  }
}

// The failures of Line-1 carry Line-1 as the pass read it, so that a hint
// quotes it in the thread's own characters, however the file is encoded.
TEST(Hints, TheThreadQuotesLine1AsThePassReadIt) {
  MemoryDisk disk;
  struct Case {
    std::string file, quoted;
  };
  // "\xe7\xac\xac1890\xe5\x9b\x9e" is "dai 1890 kai" in UTF-8; the pass reads it as
  // CP932 "\x91\xe6" "1890" "\x89\xf1".
  const Case cases[] = {
      {"hello world\n", "\"hello world\""},
      {"\x91\xe6"
       "1890\x89\xf1\n",
       "\"\x91\xe6"
       "1890\x89\xf1\""},
      {"\xe7\xac\xac"
       "1890\xe5\x9b\x9e\n",
       "\"\x91\xe6"
       "1890\x89\xf1\""},
      {"\xef\xbb\xbf\xe7\xac\xac"
       "1890\xe5\x9b\x9e\n",
       "\"\x91\xe6"
       "1890\x89\xf1\""},
  };
  for (const Case& c : cases) {
    disk.files["who.txt"] = c.file;
    RunEncoding run;
    ThreadFile thread(disk, messages::kTableReverseSorted);
    ASSERT_TRUE(thread.opening("who.txt", &run));
    ASSERT_TRUE(thread.readingLine1());
    ASSERT_EQ(thread.classifying(), nullptr);
    const std::vector<std::string> lines =
        hintLines(thread.failure(), {"who.txt", "tabulate.txt", &disk});
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "pelk: who.txt line 1: " + c.quoted + ": fewer than six blanks, so no draw")
        << c.file;
  }
}

TEST(Hints, FirstRunAndIgnoredArguments) {
  EXPECT_EQ(companionsWrittenHint({"exclude.txt"}),
            "pelk: wrote the companion file exclude.txt with default lines, as a first run in a "
            "directory does, and did nothing else; run pelk again");
  EXPECT_EQ(companionsWrittenHint({"a.txt", "b.txt", "c.txt"}),
            "pelk: wrote the companion files a.txt, b.txt and c.txt with default lines, as a "
            "first run in a directory does, and did nothing else; run pelk again");
  EXPECT_EQ(ignoredArgumentsHint({"-x"}),
            "pelk: ignored \"-x\": no option, taken as a file name and then replaced; \"pelk -h\" "
            "lists the options");
  EXPECT_EQ(ignoredArgumentsHint({"-x", "-T"}),
            "pelk: ignored \"-x\", \"-T\": no options, taken as file names and then replaced; "
            "\"pelk -h\" lists the options");
}

}  // namespace
