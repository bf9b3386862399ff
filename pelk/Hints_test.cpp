#include "Hints.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "Conversions.hpp"
#include "Expander.hpp"
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

// A text of the tests, UTF-8, as the hints make their lines: CP932.
std::string sj(std::string_view utf8) {
  // By the converter of the threads, not the one the hints use.
  UserArea area;
  ToCp932 toCp932(area);
  std::string out;
  toCp932.converting(utf8, out);
  toCp932.finishing(out);
  return out;
}

// Every Japanese wording is made of characters CP932 has: none takes a code
// of the user area, and each comes back as it was.
TEST(Hints, EveryJapaneseWordingHasItsCp932Form) {
  for (const Wording& wording : wordings::kEvery) {
    UserArea area;
    ToCp932 to(area);
    std::string cp932;
    ASSERT_TRUE(to.converting(wording.japanese, cp932)) << wording.english;
    ASSERT_TRUE(to.finishing(cp932)) << wording.english;
    EXPECT_EQ(area.size(), 0u) << wording.english;
    ToUtf8 back(area);
    std::string utf8;
    back.converting(cp932, utf8);
    back.finishing(utf8);
    EXPECT_EQ(utf8, wording.japanese) << wording.english;
  }
}

// The hint of every message in Japanese, whatever the failure carries: as
// many lines as in English, each beginning "pelk: " and in Japanese, none
// the English again; the numbered line stays the failure's own, apart.
TEST(Hints, EveryHintIsInJapaneseToo) {
  MemoryDisk disk;
  disk.files["here.txt"] = "";
  disk.directories.insert("exclude.txt");
  for (int number = 1; number <= messages::kLastMessage; ++number) {
    const std::string text = "e" + std::to_string(number) + ": numbered";
    auto reasoned = [&](std::string file, Phrase reason) {
      Failure failure = Failure::of(number, text, file);
      failure.reason = std::move(reason);
      return failure;
    };
    const Failure shapes[] = {
        Failure::of(number, text, "gone.txt"),
        Failure::of(number, text, "here.txt"),
        Failure::of(number, text, "exclude.txt"),
        Failure::of(number, text),
        Failure::of(number, text, "who.txt").at(1, "hello", Phrase(wordings::kReasonNoDraw)),
        Failure::of(number, text, "who.txt")
            .at(3, "01 02 03 04 05 06 07 99 8to6",
                Phrase(wordings::kReasonNoNumberOfGame, {"99", wordings::kGameLoto6, "43"})),
        reasoned("w.txt", Phrase(wordings::kReasonSavedAs, {"UTF-32"})),
        reasoned("", Phrase(wordings::kReasonStandardOutputClosed)),
    };
    for (const Failure& failure : shapes) {
      for (const bool written : {false, true}) {
        SCOPED_TRACE(text + " " + failure.file + (written ? " written" : ""));
        HintContext english{"who.txt", "exclude.txt", &disk};
        if (written) {
          english.written = "who.txt";
          english.undoable = true;
        }
        HintContext japanese = english;
        japanese.language = Language::kJapanese;
        const std::vector<std::string> inEnglish = hintLines(failure, english);
        const std::vector<std::string> inJapanese = hintLines(failure, japanese);
        ASSERT_FALSE(inEnglish.empty());
        ASSERT_EQ(inJapanese.size(), inEnglish.size());
        for (std::size_t i = 0; i < inJapanese.size(); ++i) {
          EXPECT_TRUE(inJapanese[i].starts_with("pelk: ")) << inJapanese[i];
          EXPECT_FALSE(ascii(inJapanese[i])) << inJapanese[i];
          EXPECT_NE(inJapanese[i], inEnglish[i]);
          EXPECT_EQ(inJapanese[i].find(text), std::string::npos) << inJapanese[i];
        }
        EXPECT_EQ(failure.text, text);
      }
    }
  }
}

// A Japanese hint quotes the thread's line as the pass read it (CP932),
// within the Japanese worded in CP932 too, whether the file was Shift-JIS
// or UTF-8.
TEST(Hints, AJapaneseHintQuotesTheLineAsThePassReadIt) {
  MemoryDisk disk;
  const std::string sjisLine1 =
      "\x91\xe6"
      "1890\x89\xf1";  // "dai 1890 kai"
  for (const std::string& file : {sjisLine1 + "\n", std::string("\xe7\xac\xac"
                                                                "1890\xe5\x9b\x9e\n")}) {
    disk.files["who.txt"] = file;
    RunEncoding run;
    ThreadFile thread(disk, messages::kTableReverseSorted);
    ASSERT_TRUE(thread.opening("who.txt", &run));
    ASSERT_TRUE(thread.readingLine1());
    ASSERT_EQ(thread.classifying(), nullptr);
    HintContext context{"who.txt", "tabulate.txt", &disk};
    context.language = Language::kJapanese;
    const std::vector<std::string> lines = hintLines(thread.failure(), context);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], sj("pelk: who.txt の 1 行目「") + sjisLine1 +
                            sj("」: 空白が 6 個より少ないので、当せん番号がありません"));
    EXPECT_EQ(lines[1], sj("pelk: who.txt: 1 行目には最新の当せん番号を書きます (例: "
                           "05 12 19 27 33 41 08 -)"));
  }
  // The Japanese is CP932, as the thread's bytes are: "ha kara desu".
  HintContext context{"empty.txt", "exclude.txt", &disk};
  context.language = Language::kJapanese;
  EXPECT_EQ(hintLines(Failure::of(26, "e26(Line-1): in.getline(c, BUFFER_SIZE )", "empty.txt"),
                      context)[0],
            "pelk: empty.txt \x82\xcd\x8b\xf3\x82\xc5\x82\xb7");
}

// What is wrong with a line or a file is worded where it is shown, in the
// reader's language; what the user wrote is quoted as it is.
TEST(Hints, ReasonsAreWordedInTheReadersLanguage) {
  MemoryDisk disk;
  struct Case {
    std::string line, english, japanese;
  };
  const Case cases[] = {
      {"01 02 03 04 05 06 07 99 8to6", "99 is no Loto-6 number (01-43)",
       sj("99 はロト6の数字 (01-43) ではありません")},
      {"01 02 03 04 05 06 07 \x82\x60 8to6",
       "\"\x82\x60\" is no Loto-6 number (01-43): write each number as two digits and one blank",
       sj("「") + "\x82\x60" +
           sj("」はロト6の数字 (01-43) ではありません。数字はそれぞれ 2 桁と空白 1 つで書いてく"
              "ださい")},
      {"01 01 01 01 01 01 01 7to6", "01 stands twice: the 7 numbers of a combination line differ",
       sj("01 が 2 回あります。組み合わせの行の 7 個の数字は、すべて違う数字にします")},
      {"01 02 03 04 05 06 07 08 09 10to6",
       "the label \"10to6\" needs 10 numbers before it, the line holds 9",
       sj("ラベル「10to6」の前には 10 個の数字が要りますが、この行には 9 個しかありません")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    Expander expander(disk, ToSix, "cmb.txt", c.line);
    ASSERT_FALSE(expander.writeFile());
    Failure failure = expander.failure();
    failure.file = "who.txt";
    failure.lineNumber = 3;
    failure.line = c.line;
    HintContext context{"who.txt", "exclude.txt", &disk};
    EXPECT_EQ(hintLines(failure, context)[0],
              "pelk: who.txt line 3: \"" + c.line + "\": " + c.english);
    context.language = Language::kJapanese;
    const std::vector<std::string> lines = hintLines(failure, context);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], sj("pelk: who.txt の 3 行目「") + c.line + sj("」: ") + c.japanese);
    EXPECT_EQ(lines[1], sj("pelk: その行を直すか、消してください。組み合わせの行には、1 つのゲーム"
                           "の違う数字を N 個、それぞれ 2 桁と空白 1 つで書き、最後にラベルを付けま"
                           "す (例: 01 05 09 14 22 31 38 7to6)"));
    EXPECT_EQ(failure.text, "e55: wrongBall()");
  }
  // A reason within a reason: what is at the lock file's name, and what to do.
  Failure lock = numberedFailure(59, "pelk.lock cannot be locked", "pelk.lock");
  lock.reason = Phrase(wordings::kReasonMoveAway, {wordings::kHintIsDirectory});
  HintContext context{"who.txt", "exclude.txt", &disk};
  EXPECT_EQ(hintLines(lock, context)[0],
            "pelk: pelk.lock: it is a directory: move it away, and the next run makes a lock file "
            "there");
  context.language = Language::kJapanese;
  EXPECT_EQ(hintLines(lock, context)[0],
            sj("pelk: pelk.lock はディレクトリです。移動すれば、次の実行がそこにロックファイルを作"
               "ります"));
  // The encoding a file is saved in.
  Failure utf16 =
      numberedFailure(66, "w.txt is saved as UTF-16, which pelk does not read", "w.txt");
  utf16.reason = Phrase(wordings::kReasonSavedAsUtf16);
  EXPECT_EQ(
      hintLines(utf16, context)[0],
      sj("pelk: w.txt は UTF-16 (古いメモ帳の「Unicode」) で保存されています。読めるのは "
         "Shift-JIS (ANSI) か UTF-8 で保存したファイルだけです。ファイルをメモ帳で開き、「名前を"
         "付けて保存」で文字コードを UTF-8 か ANSI にして保存してください"));
}

TEST(Hints, OptionsAreTold) {
  const std::pair<std::string_view, bool> rows[] = {
      {"-t", true},     {"-c", true},     {"-da", true},    {"-w10", true}, {"-m", true},
      {"-m30", true},   {"-o", true},     {"-1-", true},    {"-r-", true},  {"-l", true},
      {"-V", true},     {"-U", true},     {"--help", true}, {"-x", false},  {"-w10x", false},
      {"-T", false},    {"f.txt", false}, {"-", false},     {"--", false},  {"-mw", false},
      {"x-m30", false}, {"-m 30", false},
  };
  for (const auto& [argument, option] : rows) EXPECT_EQ(isOption(argument), option) << argument;
}

// An option before the thread file's name is taken for the name: the hint
// says it is an option, and shows the run's arguments in their order.
TEST(Hints, AnOptionBeforeTheThreadNameIsToldToComeAfterIt) {
  MemoryDisk disk;
  disk.files["f.txt"] = "05 12 19 27 33 41 08 -\n";
  struct Case {
    std::string name;
    std::vector<std::string> arguments;
    std::string english, japanese;
  };
  const std::string first =
      "\" is an option, but it came first, so pelk took it as the name of the thread file; "
      "options come after the thread file name, as in \"";
  const Case cases[] = {
      {"-w10",
       {"-w10", "f.txt"},
       "pelk: \"-w10" + first + "pelk f.txt -w10\"",
       sj("pelk: 「-w10」はオプションですが、最初にあるのでスレッドファイルの名前として扱いました。"
          "オプションはスレッドファイル名の後に書いてください (例: pelk f.txt -w10)")},
      {"-m25",
       {"-m25", "-t", "f.txt", "-r-"},
       "pelk: \"-m25" + first + "pelk f.txt -m25 -t -r-\"",
       sj("pelk: 「-m25」はオプションですが、最初にあるのでスレッドファイルの名前として扱いました。"
          "オプションはスレッドファイル名の後に書いてください (例: pelk f.txt -m25 -t -r-)")},
      // Without the run's arguments, the thread of a run without a name.
      {"-w10",
       {},
       "pelk: \"-w10" + first + "pelk who.txt -w10\"",
       sj("pelk: 「-w10」はオプションですが、最初にあるのでスレッドファイルの名前として扱いました。"
          "オプションはスレッドファイル名の後に書いてください (例: pelk who.txt -w10)")},
      // A name that only begins with "-" is no option, as before.
      {"-w10x",
       {"-w10x", "f.txt"},
       "pelk: \"-w10x\" is no option, so pelk took it as the name of the thread file, and no such "
       "file can be read; \"pelk -h\" lists the options",
       sj("pelk: "
          "「-w10x」はオプションではないのでスレッドファイルの名前として扱いましたが、そのファ"
          "イルは読めません。オプションは「pelk -h」で一覧できます")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HintContext context{c.name, "f.txt", &disk};
    context.arguments = c.arguments;
    const Failure failure = openFailure(25, c.name);
    EXPECT_EQ(hintLines(failure, context), std::vector<std::string>{c.english});
    context.language = Language::kJapanese;
    EXPECT_EQ(hintLines(failure, context), std::vector<std::string>{c.japanese});
  }
}

// The notes of a run in Japanese: the first-run message, the companion file
// that could not be written, the arguments ignored, the thread read as
// Shift-JIS after all.
TEST(Hints, NotesInJapanese) {
  constexpr Language ja = Language::kJapanese;
  EXPECT_EQ(companionsWrittenHint({"exclude.txt"}, ja),
            sj("pelk: このディレクトリで初めての実行なので、補助ファイル exclude.txt を既定の内容で"
               "書き、ほかには何もしていません。もう一度 pelk を実行してください"));
  EXPECT_EQ(companionsWrittenHint({"drafo.csv", "exclude.txt", "segmen.txt"}, ja),
            sj("pelk: このディレクトリで初めての実行なので、補助ファイル drafo.csv、exclude.txt、"
               "segmen.txt を既定の内容で書き、ほかには何もしていません。もう一度 pelk を実行して"
               "ください"));
  EXPECT_EQ(companionNotWrittenHint("unique.txt", ja),
            sj("pelk: unique.txt をここに書き込めません。ディレクトリを書き込めるようにするか、同じ"
               "名前のディレクトリを移動してください"));
  EXPECT_EQ(companionNotWrittenHint("unique.txt"),
            "pelk: unique.txt cannot be written here: make the directory writable, or move away "
            "the directory of that name");
  EXPECT_EQ(
      ignoredArgumentsHint({"-x", "-T"}, ja),
      sj("pelk: 「-x」、「-T」はオプションではないのでファイル名として扱いましたが、使いません"
         "でした。オプションは「pelk -h」で一覧できます"));
  EXPECT_EQ(readAsShiftJisHint("who.txt", 1048580, 9000),
            "pelk: who.txt was read as Shift-JIS: it is UTF-8 up to byte offset 1048580 (line "
            "9000), where a byte that is not UTF-8 stands; if the file is meant to be UTF-8, fix "
            "that line and run the pass again");
  EXPECT_EQ(
      readAsShiftJisHint("who.txt", 1048580, 9000, ja),
      sj("pelk: who.txt を Shift-JIS として読みました。先頭から 1048580 バイトは UTF-8 です"
         "が、その次 (9000 行目) に UTF-8 でないバイトがあります。UTF-8 で保存したつもりなら、"
         "その行を直してもう一度実行してください"));
}

}  // namespace
