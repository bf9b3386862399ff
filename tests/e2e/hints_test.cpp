// What a new user meets first: every failure followed by hint lines that say
// what to do, "-c" refusing lines whose numbers are wrong, chained runs that
// keep their input, help on -h and --help that touches nothing, and mistyped
// options named.

#include <filesystem>
#include <functional>

#include "E2E.hpp"

namespace {

using Hints = E2E;
namespace fs = std::filesystem;

const std::string kHeader =
    "1 " + sjis::colon + "Ann " + sjis::colon + "2017/08/14(Mon) 16:15:20.68 ID:abcdefgh\n";
const std::string kCombinationHelp =
    "pelk: fix or remove the line: a combination line holds N different numbers of one game, "
    "each two digits and one blank, then its label, such as \"01 05 09 14 22 31 38 7to6\"\n";

// A bad labelled line of each game, at line 3 of thread.txt: the numbered
// message, then the line with its number and what is wrong with it.
TEST_F(Hints, ComboRefusesBadLabelledLinesOfEachGameAndNamesTheLine) {
  struct Case {
    std::string line, message, reason;
  };
  const Case cases[] = {
      {"01 02 03 04 05 06 07 99 8to6", "e55: wrongBall()", "99 is no Loto-6 number (01-43)"},
      {"01 02 03 04 05 06 07 ab cd 10to6", "e55: wrongBall()",
       "\"ab\" is no Loto-6 number (01-43): write each number as two digits and one blank"},
      {"01 02 03 04 05 06 07 08 09 10to6", "e55: wrongBall()",
       "the label \"10to6\" needs 10 numbers before it, the line holds 9"},
      {"01 01 01 01 01 01 01 7to6", "e55: wrongBall()",
       "01 stands twice: the 7 numbers of a combination line differ"},
      {"01 02 03 04 05 06 32 7to5", "e51: wrongBall()", "32 is no Miniloto number (01-31)"},
      {"03 03 07 11 19 24 28 7to5", "e51: wrongBall()",
       "03 stands twice: the 7 numbers of a combination line differ"},
      {"01 02 03 04 05 06 07 08 38 9to7", "e53: wrongBall()", "38 is no Loto-7 number (01-37)"},
      {"01 02 03 04 05 06 07 08 09 10 10 11to7", "e53: wrongBall()",
       "10 stands twice: the 11 numbers of a combination line differ"},
  };
  writeDefaultCompanions();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const std::string thread = "05 12 19 27 33 41 08 -\n" + kHeader + c.line + "\n";
    write("thread.txt", thread);
    Outcome run = pelk({"thread.txt", "-c"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, c.message + "\npelk: thread.txt line 3: \"" + c.line + "\": " + c.reason +
                           "\n" + kCombinationHelp);
    EXPECT_EQ(read("thread.txt"), thread);
    for (const std::string& name : names()) EXPECT_NE(name.substr(0, 3), "cmb") << name;
  }
  // A long line is shown cut to 60 bytes.
  const std::string longLine = "01 44 03 04 05 06 07 08 09 10 10to6   and a long comment, 9to5";
  write("thread.txt", "05 12 19 27 33 41 08 -\n" + longLine + "\n");
  Outcome run = pelk({"thread.txt", "-c"});
  EXPECT_EQ(run.err, "e51: wrongBall()\npelk: thread.txt line 2: \"" + longLine.substr(0, 57) +
                         "...\": 44 is no Miniloto number (01-31)\n" + kCombinationHelp);
}

// Line-1 faults and a missing file name the real thread file.
TEST_F(Hints, ThreadFaultsNameTheRealFile) {
  writeDefaultCompanions();
  write("thread.txt", "01 02 03 04 05 06 07 draw\n");
  Outcome noDraw = pelk({"thread.txt", "-t"});
  EXPECT_EQ(noDraw.status, 1);
  EXPECT_EQ(noDraw.err,
            "e41: ADD THE DRAW TO LINE-1 OF WHO.TXT\n"
            "pelk: thread.txt line 1: \"01 02 03 04 05 06 07 draw\": no draw of Loto-6, Loto-7 "
            "or Miniloto\n"
            "pelk: thread.txt: Line-1 must hold the latest draw, such as "
            "\"05 12 19 27 33 41 08 -\"\n"
            "pelk: (Loto-7 \"02 09 14 20 26 31 35 06 17 -\", Miniloto \"03 11 17 24 30 08 -\"): "
            "the numbers and the bonus numbers, two digits each, one blank apart, then \" -\" "
            "and any text\n");
  Outcome missing = pelk({"thraed.txt", "-u"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err,
            "e44: ifstream in( thraed.txt )\n"
            "pelk: thraed.txt: no such file in this directory; name a thread file saved here, "
            "then the options, as in \"pelk who.txt -t\"\n");
}

// `pelk who.txt -c` prints the name of what it wrote; the next run reads
// that file although the cleanup deletes the last run's files.
TEST_F(Hints, ChainedRunsKeepTheirInput) {
  writeDefaultCompanions();
  write("who.txt", "05 12 19 27 33 41 08 -\n" + kHeader + "01 05 09 14 22 31 38 7to6\n");
  Outcome combo = pelk({"who.txt", "-c"});
  ASSERT_EQ(combo.status, 0) << combo.err;
  const std::string expanded = combo.out.substr(0, combo.out.size() - 1);
  ASSERT_TRUE(exists(expanded));
  const std::string text = read(expanded);

  Outcome table = pelk({expanded, "-t"});
  ASSERT_EQ(table.status, 0) << table.err;
  EXPECT_EQ(table.err, "");
  EXPECT_EQ(read(expanded), text);
  const std::string tabulated = read(table.out.substr(0, table.out.size() - 1));
  // Seven combinations of six out of seven numbers: each number six times.
  EXPECT_NE(tabulated.find("01 | 6"), std::string::npos) << tabulated;

  // The run after the next deletes it as usual.
  Outcome third = pelk({"who.txt", "-u"});
  ASSERT_EQ(third.status, 0) << third.err;
  EXPECT_FALSE(exists(expanded));
}

// Scripts name the printed file as they please: by its absolute path, as
// ./name, through a link. The cleanup compares the files, not the
// spellings, and keeps the thread of the chained run.
TEST_F(Hints, ChainedRunsKeepTheirInputHoweverItIsNamed) {
  writeDefaultCompanions();
  write("who.txt", "05 12 19 27 33 41 08 -\n" + kHeader + "01 05 09 14 22 31 38 7to6\n");
  const std::vector<std::function<std::string(const std::string&)>> spellings = {
      [](const std::string& name) { return name; },
      [](const std::string& name) { return "./" + name; },
      [this](const std::string& name) { return (dir / name).string(); },
      [this](const std::string& name) { return (dir / "." / name).string(); },
      [this](const std::string& name) {
        fs::remove(dir / "mine.txt");
        fs::create_symlink(name, dir / "mine.txt");
        return std::string("mine.txt");
      },
  };
  for (const auto& spelled : spellings) {
    Outcome combo = pelk({"who.txt", "-c"});
    ASSERT_EQ(combo.status, 0) << combo.err;
    const std::string expanded = combo.out.substr(0, combo.out.size() - 1);
    const std::string text = read(expanded);
    const std::string given = spelled(expanded);
    SCOPED_TRACE(given);
    Outcome table = pelk({given, "-t"});
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(table.err, "");
    EXPECT_EQ(read(expanded), text);
    const std::string tabulated = read(table.out.substr(0, table.out.size() - 1));
    EXPECT_NE(tabulated.find("01 | 6"), std::string::npos) << tabulated;
  }
}

// Help reads and writes nothing: not the companion files, not tivor.txt.
TEST_F(Hints, HelpOfBothProgramsWritesNothing) {
  for (const char* help : {"-h", "--help"}) {
    SCOPED_TRACE(help);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{help}, std::vector<std::string>{"who.txt", "-c", help}}) {
      Outcome pelkHelp = pelk(args);
      EXPECT_EQ(pelkHelp.status, 0);
      EXPECT_EQ(pelkHelp.err, "");
      EXPECT_EQ(pelkHelp.out.rfind(
                    "pelkkit Version 1.35\n\npelk [thread file] [option] [companion file]\n", 0),
                0u)
          << pelkHelp.out;
      EXPECT_NE(pelkHelp.out.find("\npelk -h            # this help (also --help)\n"),
                std::string::npos);
      EXPECT_NE(
          pelkHelp.out.find("pelk who.txt -c    # expand each labelled line (7to6 ...) into its "
                            "combinations\n"),
          std::string::npos);
      EXPECT_NE(pelkHelp.out.find("  05 12 19 27 33 41 08 -"), std::string::npos);
      EXPECT_TRUE(names().empty());
    }
    Outcome tivorHelp = tivor({"-6", help});
    EXPECT_EQ(tivorHelp.status, 0);
    EXPECT_EQ(tivorHelp.err, "");
    EXPECT_EQ(tivorHelp.out.rfind("tivorkit-1.06\n\ntivor -h             # this help", 0), 0u)
        << tivorHelp.out;
    EXPECT_NE(tivorHelp.out.find("tivor -VC            # version with comments\n"),
              std::string::npos);
    EXPECT_TRUE(names().empty());
  }
  // -V stays as it was: standard error, status 1, after the companion checks.
  writeDefaultCompanions();
  Outcome version = pelk({"-V"});
  EXPECT_EQ(version.status, 1);
  EXPECT_EQ(version.out, "");
  EXPECT_EQ(version.err.find("pelk -h"), std::string::npos);
}

// A mistyped option becomes a file name, as it always did; the hints say so.
TEST_F(Hints, MistypedOptionsAreNamed) {
  writeDefaultCompanions();
  const std::string thread = "05 12 19 27 33 41 08 -\n" + kHeader + "01 02 03 04 05 06\n";
  write("who.txt", thread);
  Outcome companion = pelk({"who.txt", "-T"});
  EXPECT_EQ(companion.status, 1);
  EXPECT_EQ(companion.err,
            "e2: ifstream in( -T )\n"
            "pelk: \"-T\" is no option, so pelk took it as the name of the companion file, and "
            "no such file can be read; \"pelk -h\" lists the options\n");
  Outcome threadName = pelk({"-x", "-d"});
  EXPECT_EQ(threadName.status, 1);
  EXPECT_EQ(threadName.err,
            "e23: ifstream in( -x )\n"
            "pelk: \"-x\" is no option, so pelk took it as the name of the thread file, and no "
            "such file can be read; \"pelk -h\" lists the options\n");

  // Replaced by the companion of a later option, or given to a pass that
  // reads none: the run works and names what it ignored.
  for (const std::vector<std::string>& args : {std::vector<std::string>{"who.txt", "-x", "-t"},
                                               std::vector<std::string>{"who.txt", "-x", "-d"}}) {
    Outcome run = pelk(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err,
              "pelk: ignored \"-x\": no option, taken as a file name and then replaced; "
              "\"pelk -h\" lists the options\n");
  }
  Outcome clean = pelk({"who.txt", "-t", "-r-"});
  EXPECT_EQ(clean.status, 0);
  EXPECT_EQ(clean.err, "");
  EXPECT_EQ(read("who.txt"), thread);
}

// An option before the thread file's name is taken for the name, as it always
// was; the hint says it is an option and shows the arguments in their order.
// A name that only looks like one is still no option.
TEST_F(Hints, AnOptionBeforeTheThreadNameIsNamed) {
  writeDefaultCompanions();
  const std::string thread = "05 12 19 27 33 41 08 -\n" + kHeader + "01 02 03 04 05 06\n";
  write("f.txt", thread);
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  const Case cases[] = {
      {{"-w10", "f.txt"},
       "e25: ifstream in( -w10 )\n"
       "pelk: \"-w10\" is an option, but it came first, so pelk took it as the name of the thread "
       "file; options come after the thread file name, as in \"pelk f.txt -w10\"\n"},
      {{"-m25", "-r-", "f.txt"},
       "e25: ifstream in( -m25 )\n"
       "pelk: \"-m25\" is an option, but it came first, so pelk took it as the name of the thread "
       "file; options come after the thread file name, as in \"pelk f.txt -m25 -r-\"\n"},
      {{"-w10x", "f.txt"},
       "e25: ifstream in( -w10x )\n"
       "pelk: \"-w10x\" is no option, so pelk took it as the name of the thread file, and no such "
       "file can be read; \"pelk -h\" lists the options\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0]);
    Outcome run = pelk(c.args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(read("f.txt"), thread);
  }
}

}  // namespace
