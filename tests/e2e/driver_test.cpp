#include <filesystem>
#include <map>
#include <regex>

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
  const std::vector<std::string> removed = {"who14-5.txt",    "who0-0.txt",    "who59-60.txt",
                                            "who12-14-5.txt", "cmb3-14-5.txt", "error.txt",
                                            "unq1-2.txt",     "tab7-1-2.txt"};
  // Files of the user's that only look like pelk's: monthly archives,
  // minutes and seconds pelk never writes so.
  const std::vector<std::string> kept = {
      "who2.txt",    "tabulate.txt",   "whoever.txt",       "who.txt",        "exclude.txt",
      "who9-9.txt",  "who2024-05.txt", "who2024-05-01.txt", "tab2023-12.txt", "who60-5.txt",
      "who05-5.txt", "who14-61.txt",   "who0-14-5.txt"};
  std::string list;
  for (const auto* names : {&removed, &kept})
    for (const std::string& name : *names) {
      if (name != "who.txt" && name != "exclude.txt" && name != "tabulate.txt" &&
          name != "who9-9.txt")
        write(name, "x");
      list += name + "\n";
    }
  std::filesystem::create_directory(dir / "who9-9.txt");
  write("remove_e.txt", list);
  Outcome run = pelk({"who.txt", "-6", "-o"});
  EXPECT_EQ(run.status, 0);
  for (const std::string& name : removed) EXPECT_FALSE(exists(name)) << name;
  for (const std::string& name : kept) EXPECT_TRUE(exists(name)) << name;
  // Listed again by this run, they stay through the next as well.
  Outcome next = pelk({"who.txt", "-6", "-o"});
  EXPECT_EQ(next.status, 0);
  for (const std::string& name : kept) EXPECT_TRUE(exists(name)) << name;
}

// Runs in the same second, or at the same minute and second of another
// hour, with -r-: a name that is taken is passed by for the next serial
// number; nothing that was there is written over.
TEST_F(Driver, TakenNamesAreNeverWrittenOver) {
  writeDefaultCompanions();
  write("who.txt", "05 12 19 27 33 41 08 -\n1 " + sjis::colon + "Ann " + sjis::colon +
                       "2017/08/14(Mon) 16:15:20.68 ID:abcdefgh\n01 05 09 14 22 31 38 7to6\n"
                       "01 02 03 04 05 06\n");
  // Every minute and second of each stem, and each with serial number 8.
  std::map<std::string, std::string> planted;
  for (const char* stem : {"who", "tab", "unq", "cmb"})
    for (int minute = 0; minute < 60; ++minute)
      for (int second = 0; second <= 60; ++second) {
        const std::string time = std::to_string(minute) + "-" + std::to_string(second) + ".txt";
        for (const std::string& name : {stem + time, stem + std::string("8-") + time}) {
          planted[name] = "mine " + name + "\n";
          write(name, planted[name]);
        }
      }
  struct Case {
    std::string option, stem;
  };
  const Case cases[] = {{"-6", "who"}, {"-t", "tab"}, {"-u", "unq"}, {"-c", "who"}};
  const std::regex named("(who|tab|unq|cmb)9-([0-9]|[1-5][0-9])-([0-9]|[1-5][0-9]|60)\\.txt");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.option);
    write("serial.txt", "7\n");
    Outcome run = pelk({"who.txt", "-r-", c.option});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string name = run.out.substr(run.out.rfind('\n', run.out.size() - 2) + 1);
    const std::string output = name.substr(0, name.size() - 1);
    EXPECT_TRUE(std::regex_match(output, named)) << output;
    EXPECT_EQ(output.substr(0, 3), c.stem);
    EXPECT_FALSE(planted.count(output)) << output;
    ASSERT_TRUE(exists(output));
    EXPECT_EQ(read("serial.txt"), c.option == "-c" ? "10\n" : "9\n");
    for (const auto& [planted_name, bytes] : planted)
      ASSERT_EQ(readRaw(planted_name), bytes) << planted_name;
    // The expansion file of -c: serial number 10, never a planted name.
    for (const std::string& found : names()) {
      if (found.compare(0, 3, "cmb") != 0 || planted.count(found)) continue;
      EXPECT_EQ(c.option, "-c") << found;
      EXPECT_EQ(found.compare(0, 6, "cmb10-"), 0) << found;
      std::filesystem::remove(dir / found);
    }
    std::filesystem::remove(dir / output);
  }
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
