// Fault injection: every pass meets a write that fails part-way, a full or
// read-only file system, an output name taken by a directory, and companion
// or bookkeeping files that are missing or cannot be read. Each time the run
// ends with status 1 and its numbered message (or silently where nothing is
// reported), nothing is left half-written, and the thread file keeps every
// byte.

#include <cctype>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "E2E.hpp"
#include "passes/PassList.hpp"

namespace {

using Faults = E2E;
namespace fs = std::filesystem;

/// A post header with post number `n`.
std::string head(int n) {
  return std::to_string(n) + " " + sjis::colon + "Ann " + sjis::colon +
         "2017/08/14(Mon) 16:15:20.68 ID:abcdefgh\n";
}

/// A Loto-6 thread of 703 posts, each a header and a combination of its own:
/// every pass (the tabulation aside) writes an output of many kilobytes.
std::string makeThread() {
  std::string thread = "05 12 19 27 33 41 08 - draw 1834\n";
  int n = 0;
  for (int i = 6; i <= 43; ++i)
    for (int j = i + 1; j <= 43; ++j) {
      thread += head(++n);
      thread += "01 02 03 04 " + std::to_string(i / 10) + std::to_string(i % 10) + " " +
                std::to_string(j / 10) + std::to_string(j % 10) + "\n";
    }
  return thread;
}

const std::string kThread = makeThread();

struct PassCase {
  std::vector<std::string> options;
  /// The companion file the pass reads, or empty.
  std::string companion;
  /// The message of an unreadable companion file.
  std::string companionError;
  /// The message of a thread file that cannot be read, for "mine.txt".
  std::string threadError;
  /// The stem of the pass's temporary output names.
  std::string stem;
  /// A file size limit below the size of the pass's output.
  long limit;
};

const PassCase kPasses[] = {
    {{"-6"}, "", "", "e33: ifstream in( mine.txt )\n", "who", 4096},
    {{"-e"},
     "exclude.txt",
     "e2: ifstream in( exclude.txt )\n",
     "e25: ifstream in( mine.txt )\n",
     "who",
     4096},
    {{},
     "exclude.txt",
     "e2: ifstream in( exclude.txt )\n",
     "e25: ifstream in( mine.txt )\n",
     "who",
     4096},
    {{"-z"},
     "drafo.csv",
     "e22: ifstream in( drafo.csv )\n",
     "e20: ifstream in( mine.txt )\n",
     "who",
     4096},
    {{"-n"},
     "separate.txt",
     "e2: ifstream in( separate.txt )\n",
     "e29: ifstream in( mine.txt )\n",
     "who",
     4096},
    {{"-a"}, "", "", "e3: ifstream in( mine.txt )\n", "who", 4096},
    {{"-da"}, "", "", "e3: ifstream in( mine.txt )\n", "who", 4096},
    {{"-b"}, "", "", "e6: ifstream in( mine.txt )\n", "who", 4096},
    {{"-d"}, "", "", "e23: ifstream in( mine.txt )\n", "who", 4096},
    {{"-3"}, "", "", "e27: ifstream in( mine.txt )\n", "who", 4096},
    {{"-f"}, "", "", "e18: ifstream in( mine.txt )\n", "who", 4096},
    {{"-u"},
     "unique.txt",
     "e2: ifstream in( unique.txt )\n",
     "e44: ifstream in( mine.txt )\n",
     "unq",
     4096},
    {{"-t"},
     "tabulate.txt",
     "e2: ifstream in( tabulate.txt )\n",
     "e40: ifstream in( mine.txt )\n",
     "tab",
     100},
    {{"-i"}, "", "", "e12: ifstream in( mine.txt )\n", "who", 4096},
    {{"-c"}, "", "", "e8: ifstream in( mine.txt )\n", "who", 4096},
    {{"-s"},
     "segmen.txt",
     "e35: ifstream segment_text( segmen.txt )\n",
     "e38: ifstream in( mine.txt )\n",
     "who",
     4096},
    {{"-w30"},
     "segmen.txt",
     "e35: ifstream segment_text( segmen.txt )\n",
     "e38: ifstream in( mine.txt )\n",
     "who",
     4096},
    {{"-m30"},
     "segmen.txt",
     "e35: ifstream segment_text( segmen.txt )\n",
     "e38: ifstream in( mine.txt )\n",
     "who",
     4096},
    // No pick of the thread wins: Line-1, an empty line and the five counts.
    {{"-p"},
     "separate.txt",
     "e2: ifstream in( separate.txt )\n",
     "e61: ifstream in( mine.txt )\n",
     "who",
     50},
};

// A pass added to the driver's list meets every fault below: the table
// names each option that selects a pass, with the companion file it sets.
TEST(FaultTable, NamesEveryPassOption) {
  for (const PassOption& row : passList()) {
    const std::string option = std::string(row.option) + (row.numbered ? "30" : "");
    const PassCase* found = nullptr;
    for (const PassCase& pass : kPasses)
      if (pass.options == std::vector<std::string>{option}) found = &pass;
    ASSERT_NE(found, nullptr) << option << " is missing from the fault table";
    EXPECT_EQ(found->companion, row.companion ? row.companion : "") << option;
  }
}

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

std::string shown(const std::vector<std::string>& args) {
  std::string text = "pelk";
  for (const std::string& arg : args) text += " " + arg;
  return text;
}

/// True for "e1: ofstream saveFile( <stem><minute>-<second>.txt )\n".
/// The name a run printed: the last line of its standard output (after the
/// repeated combinations of -t and -u).
std::string printedName(const Outcome& run) {
  if (run.out.empty()) return "";
  const size_t last = run.out.rfind('\n', run.out.size() - 2);
  return run.out.substr(last == std::string::npos ? 0 : last + 1,
                        run.out.size() - 1 - (last == std::string::npos ? 0 : last + 1));
}

bool temporaryOutputError(const std::string& err, const std::string& stem) {
  const std::string head = "e1: ofstream saveFile( " + stem;
  const std::string tail = ".txt )\n";
  return err.size() > head.size() + tail.size() && err.compare(0, head.size(), head) == 0 &&
         err.compare(err.size() - tail.size(), tail.size(), tail) == 0;
}

/// The run failed to write its output, reported it, and left no partial file.
void expectOutputFailure(const Outcome& run, const std::vector<std::string>& names,
                         const PassCase& pass, const std::vector<std::string>& args,
                         bool overwriting) {
  SCOPED_TRACE(shown(args));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  if (overwriting) {
    EXPECT_EQ(run.message, "e1: ofstream saveFile( who.txt )\n");
  } else {
    EXPECT_TRUE(temporaryOutputError(run.message, pass.stem)) << run.err;
  }
  for (const std::string& name : names) {
    EXPECT_EQ(name.find(".pelk-part"), std::string::npos) << name;
    // No temporary output: the stem followed by a digit.
    if (!overwriting && name.rfind(pass.stem, 0) == 0) {
      EXPECT_FALSE(name.size() > pass.stem.size() &&
                   std::isdigit(static_cast<unsigned char>(name[pass.stem.size()])))
          << name;
    }
  }
}

/// Runs every pass twice, once over who.txt and once to a temporary file.
template <class Check>
void eachPassAndOutput(Check check) {
  for (const PassCase& pass : kPasses) {
    check(pass, with({"who.txt"}, with(pass.options, {"-o"})), true);
    check(pass, with({"who.txt"}, pass.options), false);
  }
}

/// Fills the file system of the scratch directory to the last byte.
void fill(const std::filesystem::path& dir) {
  std::ofstream filler(dir / "filler", std::ios::binary);
  const std::string block(4096, 'f');
  while (filler.write(block.data(), block.size())) {
  }
}

TEST_F(Faults, WriteCutShortByTheFileSizeLimit) {
  if (!fileSizeLimitsApply())
    GTEST_SKIP() << "a file size limit cannot be set for a program run under a runner";
  writeDefaultCompanions();
  write("who.txt", kThread);
  eachPassAndOutput(
      [&](const PassCase& pass, const std::vector<std::string>& args, bool overwriting) {
        Outcome run = pelk(args, RunLimits{pass.limit});
        expectOutputFailure(run, names(), pass, args, overwriting);
        EXPECT_EQ(read("who.txt"), kThread);
      });
  // The driver's own default run (no arguments) overwrites who.txt.
  Outcome run = pelk({}, RunLimits{4096});
  expectOutputFailure(run, names(), kPasses[2], {}, true);
  EXPECT_EQ(read("who.txt"), kThread);
}

TEST_F(Faults, FullFileSystem) {
  writeDefaultCompanions();
  write("who.txt", kThread);
  if (!mountScratch(1 << 20)) GTEST_SKIP() << "cannot mount here";
  fill(dir);
  eachPassAndOutput(
      [&](const PassCase& pass, const std::vector<std::string>& args, bool overwriting) {
        Outcome run = pelk(args);
        expectOutputFailure(run, names(), pass, args, overwriting);
        EXPECT_EQ(read("who.txt"), kThread);
      });
}

TEST_F(Faults, ReadOnlyWorkingDirectory) {
  writeDefaultCompanions();
  write("who.txt", kThread);
  if (!mountScratch(1 << 20) || !makeScratchReadOnly()) GTEST_SKIP() << "cannot mount here";
  eachPassAndOutput(
      [&](const PassCase& pass, const std::vector<std::string>& args, bool overwriting) {
        Outcome run = pelk(args);
        expectOutputFailure(run, names(), pass, args, overwriting);
        EXPECT_EQ(read("who.txt"), kThread);
      });
}

// who.txt a directory: -o cannot write its output. The temporary names a
// directory: each is passed by for the next serial number, and the output
// written there.
TEST_F(Faults, OutputNameIsADirectory) {
  writeDefaultCompanions();
  write("mine.txt", kThread);
  fs::create_directory(dir / "who.txt");
  // Every name a temporary output can get without a serial number in the
  // next three minutes, longer than the test runs.
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::vector<std::string> directories;
  for (const std::string stem : {"who", "unq", "tab"})
    for (int minute = local.tm_min; minute < local.tm_min + 3; ++minute)
      for (int second = 0; second <= 60; ++second) {
        directories.push_back(stem + std::to_string(minute % 60) + "-" + std::to_string(second) +
                              ".txt");
        fs::create_directory(dir / directories.back());
      }
  for (const PassCase& pass : kPasses) {
    for (bool overwriting : {true, false}) {
      const std::vector<std::string> args =
          with({"mine.txt"}, overwriting ? with(pass.options, {"-o"}) : pass.options);
      Outcome run = pelk(with(args, {"-r-"}));
      SCOPED_TRACE(shown(args));
      if (overwriting) {
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.message, "e1: ofstream saveFile( who.txt )\n");
      } else {
        EXPECT_EQ(run.status, 0) << run.err;
        const std::string output = printedName(run);
        EXPECT_EQ(output.rfind(pass.stem, 0), 0u) << output;
        EXPECT_TRUE(fs::is_regular_file(dir / output)) << output;
      }
      EXPECT_EQ(read("mine.txt"), kThread);
      EXPECT_TRUE(fs::is_directory(dir / "who.txt"));
      for (const std::string& name : directories) ASSERT_TRUE(fs::is_directory(dir / name)) << name;
    }
  }
}

TEST_F(Faults, UnreadableCompanionFileIsReported) {
  for (const PassCase& pass : kPasses) {
    if (pass.companion.empty()) continue;
    writeDefaultCompanions();
    write("who.txt", kThread);
    fs::remove(dir / pass.companion);
    fs::create_directory(dir / pass.companion);
    for (bool overwriting : {true, false}) {
      const std::vector<std::string> args =
          with({"who.txt"}, overwriting ? with(pass.options, {"-o"}) : pass.options);
      SCOPED_TRACE(shown(args));
      Outcome run = pelk(args);
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.out, "");
      EXPECT_EQ(run.message, pass.companionError);
      EXPECT_EQ(read("who.txt"), kThread);
    }
    fs::remove(dir / pass.companion);
  }
  // A companion file named on the command line that does not exist.
  writeDefaultCompanions();
  Outcome run = pelk({"who.txt", "-e", "absent.txt"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.message, "e2: ifstream in( absent.txt )\n");
  EXPECT_EQ(read("who.txt"), kThread);
  EXPECT_FALSE(exists("absent.txt"));
}

TEST_F(Faults, MissingCompanionFileStopsNamingItAndIsWritten) {
  for (const PassCase& pass : kPasses) {
    if (pass.companion.empty()) continue;
    writeDefaultCompanions();
    write("who.txt", kThread);
    const std::string companion = read(pass.companion);
    fs::remove(dir / pass.companion);
    const std::vector<std::string> args = with({"who.txt"}, pass.options);
    SCOPED_TRACE(shown(args));
    Outcome run = pelk(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "pelk: wrote the companion file " + pass.companion +
                           " with default lines, as a first run in a directory does, and did "
                           "nothing else; run pelk again\n");
    EXPECT_EQ(read(pass.companion), companion);
    EXPECT_EQ(read("who.txt"), kThread);
  }
}

TEST_F(Faults, ThreadFileThatCannotBeReadIsReported) {
  writeDefaultCompanions();
  fs::create_directory(dir / "mine.txt");
  for (const PassCase& pass : kPasses) {
    const std::vector<std::string> args = with({"mine.txt"}, pass.options);
    SCOPED_TRACE(shown(args));
    Outcome run = pelk(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.message, pass.threadError);
    EXPECT_TRUE(fs::is_directory(dir / "mine.txt"));
  }
}

TEST_F(Faults, UnreadableSerialNumberRestartsAtZeroAndIsNotReported) {
  writeDefaultCompanions();
  write("who.txt", kThread);
  fs::create_directory(dir / "serial.txt");
  for (const PassCase& pass : kPasses) {
    const std::vector<std::string> args = with({"who.txt", "-l", "-r-"}, pass.options);
    SCOPED_TRACE(shown(args));
    Outcome run = pelk(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    // The serial number cannot be kept, so every run counts from 0 to 1.
    EXPECT_EQ(run.out.rfind(pass.stem + "1-", 0), 0u) << run.out;
    EXPECT_EQ(read("who.txt"), kThread);
    EXPECT_TRUE(fs::is_directory(dir / "serial.txt"));
    // Gone, as the next run's cleanup would delete it: the next run in the
    // same second would else pass the taken name by.
    fs::remove(dir / printedName(run));
  }
}

TEST_F(Faults, UnreadableAndUnwritableRemovalListLeavesANote) {
  writeDefaultCompanions();
  write("who.txt", kThread);
  write("who14-5.txt", "old output");
  fs::create_directory(dir / "remove_e.txt");
  for (const PassCase& pass : kPasses) {
    const std::vector<std::string> args = with({"who.txt"}, pass.options);
    SCOPED_TRACE(shown(args));
    Outcome run = pelk(args);
    // The pass itself is unaffected; the list that cannot be read removes
    // nothing, and the list that cannot be written leaves error.txt.
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(read("error.txt"), "ofstream remove_e(REMOVE_ERROR_TEXT)\n");
    EXPECT_EQ(read("who14-5.txt"), "old output");
    EXPECT_EQ(read("who.txt"), kThread);
  }
}

TEST_F(Faults, RemovalListCutShortLeavesANoteAndKeepsTheThread) {
  if (!fileSizeLimitsApply())
    GTEST_SKIP() << "a file size limit cannot be set for a program run under a runner";
  writeDefaultCompanions();
  const std::string thread = "L1\n12345^\n";
  write("who.txt", thread);
  // Enough temporary-looking names that their list outgrows a limit that the
  // output fits under.
  for (int i = 0; i < 200; ++i) write("who" + std::to_string(i) + "-1-2.txt", "");
  Outcome run = pelk({"who.txt", "-6"}, RunLimits{1000});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(read(run.out.substr(0, run.out.size() - 1)), "L1\n12345`\n");
  EXPECT_EQ(read("error.txt"), "ofstream remove_e(REMOVE_ERROR_TEXT)\n");
  EXPECT_FALSE(exists("remove_e.txt"));
  EXPECT_EQ(partialNames(), std::vector<std::string>{});
  EXPECT_EQ(read("who.txt"), thread);
}

TEST_F(Faults, UnreadableTivorTextLeavesLaterHeadersWithoutId) {
  writeDefaultCompanions();
  std::string thread = "01 05 12 19 33 40 41 -\n";
  for (int i = 1; i <= 9; ++i) thread += "line " + std::to_string(i) + "\n";
  write("who.txt", thread);
  fs::create_directory(dir / "tivor.txt");
  Outcome run = pelk({"who.txt", "-w1"});
  // Not reported: the headers from the eighth on simply carry no ID.
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::string output = read(run.out.substr(0, run.out.size() - 1));
  EXPECT_NE(output.find("263 " + sjis::colon), std::string::npos) << output;
  EXPECT_NE(output.find("16:18:15 ID:TqrwZpLw\n"), std::string::npos) << output;
  EXPECT_NE(output.find("16:18:40\n"), std::string::npos) << output;
  EXPECT_NE(output.find("16:19:05\n"), std::string::npos) << output;
  EXPECT_EQ(read("who.txt"), thread);
  EXPECT_TRUE(fs::is_directory(dir / "tivor.txt"));
}

TEST_F(Faults, ExpansionFileCutShortIsReported) {
  if (!fileSizeLimitsApply())
    GTEST_SKIP() << "a file size limit cannot be set for a program run under a runner";
  writeDefaultCompanions();
  // 330 combinations of seven: the expansion file outgrows the limit.
  const std::string thread =
      "03 11 19 24 35 42 17 - draw\n" + head(1) + "01 02 03 04 05 06 07 08 09 10 11 11to7\n";
  write("who.txt", thread);
  for (bool overwriting : {true, false}) {
    const std::vector<std::string> args = overwriting
                                              ? std::vector<std::string>{"who.txt", "-c", "-o"}
                                              : std::vector<std::string>{"who.txt", "-c"};
    SCOPED_TRACE(shown(args));
    Outcome run = pelk(args, RunLimits{4096});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.message, "e54: s == ball[i]\n");
    EXPECT_EQ(read("who.txt"), thread);
    for (const std::string& name : names()) EXPECT_NE(name.rfind("cmb", 0), 0u) << name;
    EXPECT_EQ(partialNames(), std::vector<std::string>{});
  }
}

}  // namespace
