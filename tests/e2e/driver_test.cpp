#include "E2E.hpp"

namespace {

using Driver = E2E;

const std::string kShortHelp =
    "pelkkit Version 1.35\n\n"
    "pelk -V            \n"
    "pelk -VC           \n"
    "pelk -U            \n"
    "pelk who.txt -1-   \n"
    "pelk who.txt -3    \n"
    "pelk who.txt -6    \n"
    "pelk who.txt -a    \n"
    "pelk who.txt -b    \n"
    "pelk who.txt -c    \n"
    "pelk who.txt -d    \n"
    "pelk who.txt -e exclude.txt  \n"
    "pelk who.txt -f    \n"
    "pelk who.txt -i    \n"
    "pelk who.txt -l    \n"
    "pelk who.txt -m30  \n"
    "pelk who.txt -n    \n"
    "pelk who.txt -o    \n"
    "pelk who.txt -p    \n"
    "pelk who.txt -r-   \n"
    "pelk who.txt -t    \n"
    "pelk who.txt -u    \n"
    "pelk who.txt -w30  \n"
    "pelk who.txt -z    \n";

TEST_F(Driver, FirstRunWritesCompanionsSaysSoThenHelpWorks) {
  Outcome first = pelk({"-V"});
  EXPECT_EQ(first.status, 1);
  EXPECT_EQ(first.out, "");
  EXPECT_EQ(first.err, kFirstRunHint);
  // The lock file of the run stays (runs in one directory take turns).
  EXPECT_EQ(names(),
            (std::vector<std::string>{"drafo.csv", "exclude.txt", "pelk.lock", "segmen.txt",
                                      "separate.txt", "tabulate.txt", "unique.txt"}));
  EXPECT_EQ(read("exclude.txt"), sjis::nurupo + "\n ID:\n");
  EXPECT_EQ(read("tabulate.txt"), "-1-\n.txt\n-1\n | \n");
  EXPECT_EQ(read("drafo.csv").substr(0, 22), "&#160;, ,\n&nbsp;, ,\na,");

  Outcome second = pelk({"-V"});
  EXPECT_EQ(second.status, 1);
  EXPECT_EQ(second.out, "");
  EXPECT_EQ(second.err, kShortHelp);
}

TEST_F(Driver, CommentedHelpPrintsWholeLines) {
  writeDefaultCompanions();
  Outcome run = pelk({"-VC", "-6"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("pelk who.txt -e exclude.txt  # Every nurupo pelk is excluded from "
                         "who.txt \n"),
            std::string::npos);
  EXPECT_NE(run.err.find("pelk who.txt -z    # Change characters from zenkaku to hankaku. \n"),
            std::string::npos);
  EXPECT_FALSE(exists("remove_e.txt"));
}

TEST_F(Driver, OptionsMatchWholeAndCaseSensitively) {
  writeDefaultCompanions();
  // "-v" is a free argument: the thread file name, which does not exist.
  Outcome run = pelk({"-v", "-6"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.message, "e33: ifstream in( -v )\n");
}

TEST_F(Driver, CaretPassWritesTemporaryFileAndKeepsThread) {
  writeDefaultCompanions();
  const std::string thread = "01 02 03 04 05 06 07\n12345^789\n1234^6\nabcde^\n";
  write("who.txt", thread);
  Outcome run = pelk({"who.txt", "-6"});
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_EQ(run.out.back(), '\n');
  const std::string name = run.out.substr(0, run.out.size() - 1);
  EXPECT_EQ(name.substr(0, 3), "who");
  EXPECT_EQ(read(name), "01 02 03 04 05 06 07\n12345`789\n1234^6\nabcde`\n");
  EXPECT_EQ(read("who.txt"), thread);
  // The run lists the temporaries it sees; the next run deletes its output.
  EXPECT_NE(read("remove_e.txt").find(name + "\n"), std::string::npos);
  Outcome next = pelk({"who.txt", "-6", "-1-", "-l"});
  ASSERT_EQ(next.status, 0);
  EXPECT_FALSE(exists(name) && name + "\n" != next.out);
  EXPECT_EQ(read("who.txt"), thread);
}

TEST_F(Driver, NoThreadNameOverwritesWhoTxt) {
  writeDefaultCompanions();
  write("who.txt", "line1\r\n12345^\r\n");
  Outcome run = pelk({"-6"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "who.txt\n");
  EXPECT_EQ(read("who.txt"), "line1\n12345`\n");
}

TEST_F(Driver, OverwriteWritesWhoTxtWhateverTheThreadName) {
  writeDefaultCompanions();
  write("mine.txt", "L1\n^^^^^^\n");
  write("who.txt", "untouched\n");
  Outcome run = pelk({"mine.txt", "-6", "-o"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "who.txt\n");
  EXPECT_EQ(read("who.txt"), "L1\n^^^^^`\n");
  EXPECT_EQ(read("mine.txt"), "L1\n^^^^^^\n");
}

TEST_F(Driver, BadThreadFilesGetTheirNumberedMessage) {
  writeDefaultCompanions();
  struct Case {
    std::string thread;
    std::string err;
  };
  const Case cases[] = {
      {"", "e34(Line-1): in.getline(c, BUFFER_SIZE )\n"},
      {std::string(384, 'x') + "\nbody\n", "e34(Line-1): in.getline(c, BUFFER_SIZE )\n"},
  };
  for (const Case& c : cases) expectRefused(c.thread, {"-6"}, c.err);
  std::filesystem::remove(dir / "who.txt");
  Outcome missing = pelk({"-6"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.message, "e33: ifstream in( who.txt )\n");
  std::filesystem::create_directory(dir / "who.txt");
  Outcome directory = pelk({"-6"});
  EXPECT_EQ(directory.status, 1);
  EXPECT_EQ(directory.message, "e33: ifstream in( who.txt )\n");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "who.txt"));
}

TEST_F(Driver, LongLine1WithinLimitAndLongBodyLinesPassWhole) {
  writeDefaultCompanions();
  const std::string thread = std::string(383, 'a') + "\nbbbbb^" + std::string(4000, 'b') + "\n";
  write("who.txt", thread);
  Outcome run = pelk({"-6"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(read("who.txt"), std::string(383, 'a') + "\nbbbbb`" + std::string(4000, 'b') + "\n");
}

TEST_F(Driver, UnwritableOutputIsReportedAndThreadKept) {
  if (!fileSizeLimitsApply())
    GTEST_SKIP() << "no file-size limit for programs run through E2E_RUNNER";
  writeDefaultCompanions();
  const std::string thread = "L1\n" + std::string(100000, 'x') + "\n";
  write("who.txt", thread);
  Outcome run = pelk({"-6"}, RunLimits{4096});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.message, "e1: ofstream saveFile( who.txt )\n");
  EXPECT_EQ(read("who.txt"), thread);
}

TEST_F(Driver, DirectoryInPlaceOfOutputIsReported) {
  writeDefaultCompanions();
  write("mine.txt", "L1\nbody\n");
  std::filesystem::create_directory(dir / "who.txt");
  Outcome run = pelk({"mine.txt", "-6", "-o"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.message, "e1: ofstream saveFile( who.txt )\n");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "who.txt"));
}

TEST_F(Driver, CleanupDeletesOnlyTemporaryShapedNames) {
  writeDefaultCompanions();
  write("who.txt", "L1\n");
  for (const char* name : {"who14-5.txt", "cmb3-14-5.txt", "error.txt", "who2.txt", "tabulate.txt",
                           "unq1-2.txt", "whoever.txt"})
    write(name, "x");
  std::filesystem::create_directory(dir / "who9-9.txt");
  write("remove_e.txt",
        "who14-5.txt\ncmb3-14-5.txt\nerror.txt\nwho2.txt\ntabulate.txt\nunq1-2.txt\n"
        "whoever.txt\nwho9-9.txt\nwho.txt\nexclude.txt\n");
  Outcome run = pelk({"who.txt", "-6", "-o"});
  EXPECT_EQ(run.status, 0);
  EXPECT_FALSE(exists("who14-5.txt"));
  EXPECT_FALSE(exists("cmb3-14-5.txt"));
  EXPECT_FALSE(exists("error.txt"));
  EXPECT_FALSE(exists("unq1-2.txt"));
  for (const char* kept :
       {"who2.txt", "tabulate.txt", "whoever.txt", "who.txt", "exclude.txt", "who9-9.txt"})
    EXPECT_TRUE(exists(kept)) << kept;
}

TEST_F(Driver, KeepOptionLeavesListedFiles) {
  writeDefaultCompanions();
  write("who.txt", "L1\n");
  write("who14-5.txt", "x");
  write("remove_e.txt", "who14-5.txt\n");
  Outcome run = pelk({"who.txt", "-r-", "-6"});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(exists("who14-5.txt"));
}

}  // namespace

namespace {

TEST_F(Driver, ReadOnlyDirectoryReportsTheOutputAndKeepsTheThread) {
  writeDefaultCompanions();
  const std::string thread = "L1\n12345^\n";
  write("who.txt", thread);
  if (!mountScratch(1 << 20) || !makeScratchReadOnly()) GTEST_SKIP() << "cannot mount here";
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"-6"}, std::vector<std::string>{"who.txt", "-6"}}) {
    Outcome run = pelk(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.message.rfind("e1: ofstream saveFile( who", 0), 0u) << run.err;
    EXPECT_EQ(read("who.txt"), thread);
  }
}

TEST_F(Driver, ReadOnlyDirectoryWithoutCompanionsNamesWhatCannotBeWritten) {
  write("who.txt", "L1\n");
  if (!mountScratch(1 << 20) || !makeScratchReadOnly()) GTEST_SKIP() << "cannot mount here";
  Outcome run = pelk({"-6"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  std::string err;
  for (const char* name :
       {"drafo.csv", "exclude.txt", "segmen.txt", "separate.txt", "unique.txt", "tabulate.txt"})
    err += std::string("pelk: ") + name +
           " cannot be written here: make the directory writable, or move away the directory "
           "of that name\n";
  EXPECT_EQ(run.err, err);
  EXPECT_EQ(names(), std::vector<std::string>{"who.txt"});
}

TEST_F(Driver, FullFileSystemReportsTheOutputAndKeepsTheThread) {
  writeDefaultCompanions();
  const std::string thread = "L1\n" + std::string(40000, 'y') + "\n";
  write("who.txt", thread);
  if (!mountScratch(64 * 1024)) GTEST_SKIP() << "cannot mount here";
  Outcome run = pelk({"-6"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.message, "e1: ofstream saveFile( who.txt )\n");
  EXPECT_EQ(read("who.txt"), thread);
}

}  // namespace
