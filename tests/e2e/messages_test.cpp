// Messages that must not mislead: a standard output that fails after the
// output was written, a file that holds only the mark of UTF-8, a file saved
// as UTF-32, a thread that is no regular file, and a UTF-8 thread read as
// Shift-JIS for one byte far on.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>

#include "E2E.hpp"

namespace {

using Messages = E2E;
namespace fs = std::filesystem;

const std::string kLine1 = "05 12 19 27 33 41 08 - draw\n";
const std::string kHeader =
    "1 " + sjis::colon + "Ann " + sjis::colon + "2017/08/14(Mon) 16:15:20.68 ID:abcdefgh\n";
const std::string kLine1Hints =
    "pelk: who.txt: Line-1 must hold the latest draw, such as \"05 12 19 27 33 41 08 -\"\n"
    "pelk: (Loto-7 \"02 09 14 20 26 31 35 06 17 -\", Miniloto \"03 11 17 24 30 08 -\"): the "
    "numbers and the bonus numbers, two digits each, one blank apart, then \" -\" and any text\n";
const std::string kStandardOutput = "e60: standard output cannot be written\n";
const std::string kCheckOutput =
    "pelk: check where standard output goes: a full disk, a pipe closed early, or none at all "
    "(>&-)\n";

/// The names of the scratch directory that `before` lacks.
std::vector<std::string> added(const std::vector<std::string>& before,
                               const std::vector<std::string>& after) {
  std::vector<std::string> names;
  for (const std::string& name : after)
    if (std::find(before.begin(), before.end(), name) == before.end()) names.push_back(name);
  return names;
}

// The output was written and only its name could not be printed: the hint
// names the file and says not to run the pass again; an overwrite of who.txt
// can be undone.
TEST_F(Messages, StandardOutputThatFailsAfterTheOutputNamesTheFileWritten) {
  writeDefaultCompanions();
  const std::string thread = kLine1 + kHeader + "01 02 03 04 05 06\n";
  for (RunLimits::Output output : {RunLimits::Output::full, RunLimits::Output::closedPipe}) {
    SCOPED_TRACE(static_cast<int>(output));
    RunLimits limits;
    limits.output = output;
    write("who.txt", thread);

    // An overwrite: who.txt without Line-1, and -U puts it back.
    Outcome overwrite = pelk({"-1-"}, limits);
    EXPECT_EQ(overwrite.status, 1);
    EXPECT_EQ(overwrite.err, kStandardOutput +
                                 "pelk: who.txt was written all the same: only printing its "
                                 "name failed, so do not run the pass again; pelk -U puts back "
                                 "the who.txt it wrote over\n" +
                                 kCheckOutput);
    EXPECT_EQ(read("who.txt"), kHeader + "01 02 03 04 05 06\n");
    Outcome undo = pelk({"-U"});
    EXPECT_EQ(undo.status, 0) << undo.err;
    EXPECT_EQ(read("who.txt"), thread);

    // A temporary output: its name, and nothing about -U.
    const std::vector<std::string> before = names();
    Outcome temporary = pelk({"who.txt", "-t", "-r-"}, limits);
    EXPECT_EQ(temporary.status, 1);
    std::vector<std::string> made;
    for (const std::string& name : added(before, names()))
      if (name.substr(0, 3) == "tab") made.push_back(name);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(temporary.err, kStandardOutput + "pelk: " + made[0] +
                                 " was written all the same: only printing its name failed, so "
                                 "do not run the pass again\n" +
                                 kCheckOutput);
    EXPECT_EQ(read("who.txt"), thread);
    fs::remove(dir / made[0]);
  }
  RunLimits full;
  full.output = RunLimits::Output::full;
  const std::string usual =
      kStandardOutput +
      "pelk: the name of the output file cannot be printed on standard output; check where "
      "standard output goes: a full disk, a pipe closed early, or none at all (>&-)\n";
  // An overwrite that creates who.txt replaces nothing to undo.
  fs::remove(dir / "who.txt");
  write("mine.txt", thread);
  Outcome created = pelk({"mine.txt", "-d", "-o"}, full);
  EXPECT_EQ(created.status, 1);
  EXPECT_EQ(created.err, kStandardOutput +
                             "pelk: who.txt was written all the same: only printing its name "
                             "failed, so do not run the pass again\n" +
                             kCheckOutput);
  // -U keeps the hint as it was.
  write("who.txt", thread);
  ASSERT_EQ(pelk({"-1-"}).status, 0);
  Outcome undo = pelk({"-U"}, full);
  EXPECT_EQ(undo.status, 1);
  EXPECT_EQ(undo.err, usual);
}

// A file of the mark alone is empty as its user sees it, line end or none.
TEST_F(Messages, AFileOfTheMarkAloneIsEmpty) {
  writeDefaultCompanions();
  const std::string empty =
      "pelk: who.txt is empty: it holds only the byte-order mark of UTF-8 "
      "(EF BB BF)";
  struct Case {
    std::string thread, err;
  };
  const Case cases[] = {
      {"\xEF\xBB\xBF", "e43(Line-1): in.getline(c, BUFFER_SIZE )\n" + empty + "\n"},
      {"\xEF\xBB\xBF\n", "e42: TOO FEW GAPS\n" + empty + " and a line end\n"},
      {"\xEF\xBB\xBF\r\n", "e42: TOO FEW GAPS\n" + empty + " and a line end\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.err);
    write("who.txt", c.thread);
    Outcome run = pelk({"who.txt", "-t"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, c.err + kLine1Hints);
  }
}

/// `text` as UTF-32, little- or big-endian, behind its mark when `mark`.
std::string utf32(const std::u32string& text, bool little, bool mark) {
  std::string out;
  for (char32_t c : (mark ? U"\uFEFF" : U"") + text)
    for (int k = 0; k < 4; ++k)
      out += static_cast<char>(c >> (little ? 8 * k : 8 * (3 - k)) & 0xFF);
  return out;
}

// UTF-32 is named as such, in the numbered line and in the hint.
TEST_F(Messages, AFileSavedAsUtf32IsCalledUtf32) {
  writeDefaultCompanions();
  const std::u32string text =
      U"05 12 19 27 33 41 08 - \u7B2C1890\u56DE\r\n1 \uFF1AAnn \uFF1A2017/08/14(\u6708) "
      U"16:15:20.68 ID:abcdefgh\r\n01 02 03 04 05 06\r\n";
  for (bool little : {true, false}) {
    for (bool mark : {true, false}) {
      SCOPED_TRACE(std::string(little ? "LE" : "BE") + (mark ? " with the mark" : ""));
      const std::string thread = utf32(text, little, mark);
      write("who.txt", thread);
      Outcome run = pelk({"who.txt", "-t"});
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.out, "");
      EXPECT_EQ(run.err,
                "e66: who.txt is saved as UTF-32, which pelk does not read\n"
                "pelk: who.txt is saved as UTF-32, and only files saved as Shift-JIS (ANSI) or "
                "UTF-8 can be read; open the file in Notepad, choose Save As, and save it with "
                "the encoding UTF-8 or ANSI\n");
      EXPECT_EQ(readRaw("who.txt"), thread);
      for (const std::string& name : names())
        EXPECT_FALSE(name.starts_with("tab") && std::isdigit(static_cast<unsigned char>(name[3])))
            << name;
    }
  }
}

// A who.txt that is no regular file is named for what it is; the run
// neither waits on a FIFO nor reads a device.
TEST_F(Messages, AThreadThatIsNoRegularFileIsNamedForWhatItIs) {
  writeDefaultCompanions();
  const std::string special = "it is a device, a FIFO or another special file, not a text file";
  struct Case {
    const char* what;
    std::function<void()> make;
    std::string why;
    // Windows programs under Wine see no FIFO, and no link that leads out
    // of their drive or to nothing.
    bool posixOnly = false;
  };
  const Case cases[] = {
      {"a link to /dev/zero", [&] { fs::create_symlink("/dev/zero", dir / "who.txt"); }, special,
       true},
      {"a FIFO", [&] { ASSERT_EQ(mkfifo((dir / "who.txt").c_str(), 0644), 0); }, special, true},
      {"a directory", [&] { fs::create_directory(dir / "who.txt"); }, "it is a directory"},
      {"a link to nothing", [&] { fs::create_symlink("gone.txt", dir / "who.txt"); },
       "it is a link that leads to no file", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.posixOnly && !fileSizeLimitsApply()) continue;
    c.make();
    for (const auto& [args, message] :
         {std::pair<std::vector<std::string>, std::string>{{}, "e25: ifstream in( who.txt )"},
          {{"who.txt", "-t"}, "e40: ifstream in( who.txt )"}}) {
      Outcome run = pelk(args);
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.out, "");
      EXPECT_EQ(run.err, message + "\npelk: who.txt cannot be read: " + c.why + "\n");
    }
    fs::remove(dir / "who.txt");
  }
}

// A UTF-8 thread with one Shift-JIS byte after its first MiB is read whole
// as Shift-JIS: the run says so and where that byte stands.
TEST_F(Messages, AThreadReadAsShiftJisForOneByteFarOnSaysWhereItStands) {
  writeDefaultCompanions();
  std::string thread = kLine1;
  long lines = 1;
  // Headers and "konnichiwa" in UTF-8, post after post, past 1 MiB.
  const std::string colon = "\xEF\xBC\x9A";
  const std::string header =
      "1 " + colon + "Ann " + colon + "2017/08/14(Mon) 16:15:20.68 ID:abcdefgh\n";
  const std::string post = "\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF\n";
  while (thread.size() <= (std::size_t{1} << 20) + 1000) {
    thread += header + post;
    lines += 2;
  }
  const std::size_t offset = thread.size() + 6;
  thread += "stray " + sjis::nurupo + " here\n";
  write("who.txt", thread);
  Outcome run = pelk({"who.txt"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.substr(0, 3), "who");
  EXPECT_EQ(run.err, "pelk: who.txt was read as Shift-JIS: it is UTF-8 up to byte offset " +
                         std::to_string(offset) + " (line " + std::to_string(lines + 1) +
                         "), where a byte that is not UTF-8 stands; if the file is meant to be "
                         "UTF-8, fix that line and run the pass again\n");
  // The post of that line held the item of exclude.txt, read as Shift-JIS.
  const std::string written = run.out.substr(0, run.out.size() - 1);
  EXPECT_EQ(read(written).find(sjis::nurupo), std::string::npos);
}

}  // namespace
