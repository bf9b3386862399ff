#include <algorithm>
#include <filesystem>

#include "E2E.hpp"

namespace {

using Filters = E2E;

const std::string kLine1 = "05 12 19 27 33 41 08 - draw 1834\n";

/// A post header with post number `n`.
std::string head(const std::string& n) {
  return n + " " + sjis::colon + "Name " + sjis::colon + "2017/08/14(Mon) 16:15:20.68 ID:Ab" + n +
         "\n";
}

/// The thread of the exclusion tests: post 2 holds the default item "nurupo",
/// post 3 quotes a post header (" ID:").
const std::string kThread = kLine1 + head("1") + "02 07 19 28 33 43\n" + head("2") + "first\n" +
                            sjis::nurupo + "\nlast\n" + head("3") + ">>1 1 Name ID:Ab1\n" +
                            head("4") + "05 12 19 27 33 41\n";
const std::string kExcluded =
    kLine1 + "\n" + head("1") + "02 07 19 28 33 43\n" + head("4") + "05 12 19 27 33 41\n";

/// The file name printed by a successful run.
std::string printed(const Outcome& run) {
  if (run.out.empty() || run.out.back() != '\n') return "";
  return run.out.substr(0, run.out.size() - 1);
}

TEST_F(Filters, NoArgumentsExcludeNurupoPostsOverWhoTxt) {
  writeDefaultCompanions();
  write("who.txt", kThread);
  Outcome run = pelk({});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "who.txt\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(read("who.txt"), kExcluded);
}

TEST_F(Filters, ExcludeOptionWritesATemporaryFileAndKeepsTheThread) {
  writeDefaultCompanions();
  write("who.txt", kThread);
  Outcome run = pelk({"who.txt", "-e"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string name = printed(run);
  EXPECT_EQ(name.substr(0, 3), "who");
  EXPECT_NE(name, "who.txt");
  EXPECT_EQ(read(name), kExcluded);
  EXPECT_EQ(read("who.txt"), kThread);

  // Items from another file; -1- drops Line-1 and the last post is dropped.
  write("mine.txt", "first\n");
  Outcome own = pelk({"who.txt", "-1-", "-e", "mine.txt", "-o"});
  ASSERT_EQ(own.status, 0) << own.err;
  EXPECT_EQ(own.out, "who.txt\n");
  EXPECT_EQ(read("who.txt"), head("1") + "02 07 19 28 33 43\n" + head("3") + ">>1 1 Name ID:Ab1\n" +
                                 head("4") + "05 12 19 27 33 41\n");
}

TEST_F(Filters, LaterExcludeOptionResetsTheCompanionName) {
  writeDefaultCompanions();
  write("thread.txt", kThread);
  write("mine.txt", "02 07\n");
  // "-e" after mine.txt sets the companion back to exclude.txt.
  Outcome run = pelk({"thread.txt", "mine.txt", "-e", "-o"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(read("who.txt"), kExcluded);
  // "-6" then "-e": the last pass option wins.
  Outcome last = pelk({"thread.txt", "-6", "-e", "mine.txt", "-o"});
  ASSERT_EQ(last.status, 0) << last.err;
  EXPECT_EQ(read("who.txt"), kLine1 + "\n" + head("2") + "first\n" + sjis::nurupo + "\nlast\n" +
                                 head("3") + ">>1 1 Name ID:Ab1\n" + head("4") +
                                 "05 12 19 27 33 41\n");
}

TEST_F(Filters, ExcludeFailuresAreReported) {
  writeDefaultCompanions();
  struct Case {
    std::string thread;
    std::vector<std::string> args;
    std::string err;
  };
  const Case cases[] = {
      {"", {}, "e26(Line-1): in.getline(c, BUFFER_SIZE )\n"},
      {std::string(384, '0') + "\n" + head("1"),
       {"-e"},
       "e26(Line-1): in.getline(c, BUFFER_SIZE )\n"},
      {kThread, {"none.txt", "-e"}, "e25: ifstream in( none.txt )\n"},
      {kThread, {"who.txt", "-e", "missing.txt"}, "e2: ifstream in( missing.txt )\n"},
  };
  for (const Case& c : cases) expectRefused(c.thread, c.args, c.err);
}

TEST_F(Filters, FailedOverwriteKeepsWhoTxt) {
  if (!fileSizeLimitsApply())
    GTEST_SKIP() << "no file-size limit for programs run through E2E_RUNNER";
  writeDefaultCompanions();
  // Long body lines are kept whole, so the output exceeds the size limit.
  const std::string thread = kLine1 + head("1") + std::string(100000, 'x') + "\n";
  write("who.txt", thread);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, {"who.txt", "-o"}, {"who.txt", "-z", "-o"}}) {
    Outcome run = pelk(args, RunLimits{8192});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.message, "e1: ofstream saveFile( who.txt )\n");
    EXPECT_EQ(read("who.txt"), thread);
  }
  Outcome whole = pelk({});
  EXPECT_EQ(whole.status, 0);
  EXPECT_EQ(read("who.txt"), kLine1 + "\n" + head("1") + std::string(100000, 'x') + "\n");
}

TEST_F(Filters, DirectoryNamedWhoTxtIsReported) {
  writeDefaultCompanions();
  write("mine.txt", kThread);
  std::filesystem::create_directory(dir / "who.txt");
  for (const char* option : {"-e", "-z"}) {
    Outcome run = pelk({"mine.txt", option, "-o"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.message, "e1: ofstream saveFile( who.txt )\n");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "who.txt"));
    EXPECT_EQ(read("mine.txt"), kThread);
  }
}

/// A thread of full-width numbers: the default pairs pad the one-digit ones.
const std::string kZenkakuThread =
    kLine1 +
    "  \x82\x81\x82\x8C\x82\x8C"
    "qp\n" +
    head("1") + "\x82\x50\x81\x40\x82\x51\x81\x40\x82\x50\x82\x52\x81\x40\x82\x52\n" + head("2") +
    "1 1 2|3\x81\x5E\xA4\x82\xA0\n" + "1\x81\x40\x82\x4F\x81\x43\x82\x52\x82\x52\n";

TEST_F(Filters, ZenkakuPassConvertsBodyLines) {
  writeDefaultCompanions();
  write("who.txt", kZenkakuThread);
  Outcome run = pelk({"who.txt", "-z"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string name = printed(run);
  EXPECT_EQ(name.substr(0, 3), "who");
  EXPECT_EQ(read(name), kLine1 + "\nALL QP\n" + head("1") + "01 02 13 3\n" + head("2") +
                            "01 1 2/3/ \x82\xA0\n" + "01 0 33\n");
  EXPECT_EQ(read("who.txt"), kZenkakuThread);

  // No thread name: writes over who.txt; -1- drops Line-1 and its empty line.
  Outcome over = pelk({"-z", "-1-"});
  ASSERT_EQ(over.status, 0) << over.err;
  EXPECT_EQ(over.out, "who.txt\n");
  EXPECT_EQ(read("who.txt"), "ALL QP\n" + head("1") + "01 02 13 3\n" + head("2") +
                                 "01 1 2/3/ \x82\xA0\n" + "01 0 33\n");
}

TEST_F(Filters, ZenkakuPassUsesTheGivenPairs) {
  writeDefaultCompanions();
  write("who.txt", kLine1 + head("1") + "a,b;c\n");
  // The first line holds one comma only and gives no pair; "\;" is a
  // semicolon; the text after the second comma is ignored.
  write("my.csv", "a,b\n\\;,+,ignored,\nc,C,\n");
  Outcome run = pelk({"who.txt", "-z", "my.csv", "-o"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(read("who.txt"), kLine1 + "\n" + head("1") + "a,b+C\n");
}

TEST_F(Filters, ZenkakuPassRefusesPairsThatMultiplyALine) {
  writeDefaultCompanions();
  // Forty pairs that each double every "a" would make one "a" 2^40 bytes.
  std::string csv;
  for (int i = 0; i < 40; ++i) csv += "a,aa,\n";
  write("my.csv", csv);
  const std::string thread = kLine1 + head("1") + "bbb\n" + "xa\n";
  write("who.txt", thread);
  // Every run keeps serial.txt and remove_e.txt; no output may be left.
  write("serial.txt", "1\n");
  write("remove_e.txt", "");
  // ... and the lock file of the first run.
  std::vector<std::string> before = names();
  before.insert(std::upper_bound(before.begin(), before.end(), "pelk.lock"), "pelk.lock");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"who.txt", "-z", "my.csv"},
        std::vector<std::string>{"who.txt", "-z", "my.csv", "-o"}}) {
    Outcome run = pelk(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.message, "e57: my.csv grows line 4 by more than 1048576 bytes\n");
    EXPECT_EQ(read("who.txt"), thread);
    EXPECT_EQ(names(), before);
  }
}

TEST_F(Filters, ZenkakuFailuresAreReported) {
  writeDefaultCompanions();
  struct Case {
    std::string thread;
    std::vector<std::string> args;
    std::string err;
  };
  const Case cases[] = {
      {"", {"-z"}, "e21(Line-1): in.getline(c, BUFFER_SIZE )\n"},
      {std::string(384, '0') + "\n",
       {"who.txt", "-z"},
       "e21(Line-1): in.getline(c, BUFFER_SIZE )\n"},
      {kZenkakuThread, {"none.txt", "-z"}, "e20: ifstream in( none.txt )\n"},
      {kZenkakuThread, {"who.txt", "-z", "my.csv"}, "e22: ifstream in( my.csv )\n"},
  };
  for (const Case& c : cases) expectRefused(c.thread, c.args, c.err);
  // A directory in place of drafo.csv passes the companion check but cannot
  // be read.
  std::filesystem::remove(dir / "drafo.csv");
  std::filesystem::create_directory(dir / "drafo.csv");
  Outcome run = pelk({"-z"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.message, "e22: ifstream in( drafo.csv )\n");
  EXPECT_EQ(read("who.txt"), kZenkakuThread);
}

}  // namespace
