// Threads whose output is larger than the part pelk gathers in memory at a
// time: the output file is written as it grows and completed at the end.
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "E2E.hpp"
#include "passes/ExcludeText.hpp"

namespace {

using LargeThreads = E2E;

const std::string kLine1 = "05 12 19 27 33 41 08 - draw\n";

std::string header(int n) {
  return std::to_string(n) + " " + sjis::colon + "Name " + sjis::colon +
         "2017/08/14(Mon) 16:15:20.68 ID:AbCdEfGh\n";
}

// About 3 MB of posts; every tenth post holds the default exclusion item.
std::string posts(std::string* kept) {
  std::string text;
  for (int n = 1; n <= 20000; ++n) {
    std::string post = header(n % 1000 + 1);
    post += "01 05 09 14 22 31 ^ " + std::string(80, 'x') + "\n";
    post += n % 10 == 0 ? sjis::nurupo + "\n" : "good luck\n";
    text += post;
    if (kept && n % 10 != 0) *kept += post;
  }
  return text;
}

TEST_F(LargeThreads, OutputIsWrittenWholeAndInOrder) {
  writeDefaultCompanions();
  std::string kept;
  const std::string body = posts(&kept);
  write("big.txt", kLine1 + body);
  // Texts this long are compared as a whole: a failure shows no diff.
  Outcome excluded = pelk({"big.txt", "-e", "-o"});
  ASSERT_EQ(excluded.status, 0) << excluded.err;
  // The empty header of the lines before the first post follows Line-1, and
  // one stands in place of the last post, which is dropped.
  EXPECT_TRUE(read("who.txt") == kLine1 + "\n" + kept + "\n");

  Outcome copied = pelk({"big.txt", "-6", "-o", "-1-"});
  ASSERT_EQ(copied.status, 0) << copied.err;
  EXPECT_TRUE(read("who.txt") == body);
}

TEST_F(LargeThreads, FailedWriteKeepsWhoTxtAndLeavesNoPart) {
  if (!fileSizeLimitsApply())
    GTEST_SKIP() << "no file-size limit for programs run through E2E_RUNNER";
  writeDefaultCompanions();
  const std::string thread = kLine1 + posts(nullptr);
  write("who.txt", thread);
  // The limit lets the first parts through and stops a later one.
  for (const char* option : {"-6", "-e", "-s"}) {
    Outcome run = pelk({option}, RunLimits{1500000});
    EXPECT_EQ(run.status, 1) << option;
    EXPECT_EQ(run.message, "e1: ofstream saveFile( who.txt )\n") << option;
    EXPECT_TRUE(read("who.txt") == thread) << option;
    EXPECT_EQ(partialNames(), std::vector<std::string>{}) << option;
  }
}

/// The texts of a thread in one encoding: Shift-JIS, or UTF-8.
struct Spelling {
  std::string colon, wideSpace, nurupo;
};
const Spelling kShiftJis{sjis::colon, sjis::space, sjis::nurupo};
const Spelling kUtf8{"\xEF\xBC\x9A", "\xE3\x80\x80", "\xE3\x81\xAC\xE3\x82\x8B\xE3\x81\xBD"};

std::string header(const Spelling& in, int n) {
  return std::to_string(n) + " " + in.colon + "Name " + in.colon +
         "2017/08/14(Mon) 16:15:20.68 ID:AbCdEfGh\n";
}

/// Body lines, `times` the most the exclusion passes hold of a post, less
/// than a line over: picks and chat, some of it full-width.
std::string longBody(const Spelling& in, double times) {
  const auto bytes = static_cast<std::size_t>(times * ExcludeText::kHeldBound);
  std::string text;
  for (int n = 0; text.size() < bytes; ++n)
    text += n % 3 ? "01 05 09 14 22 31 ^ " + std::to_string(n) + "\n"
                  : "good" + in.wideSpace + "luck " + std::to_string(n) + "\n";
  return text;
}

struct LongPostCase {
  const char* what;
  std::string thread, expected;
};

/// Threads whose posts are longer than what the exclusion passes hold of
/// one, and the output of the default exclusion list on them.
std::vector<LongPostCase> longPostCases(const Spelling& in) {
  const std::string body = longBody(in, 2.5);
  const std::string half = longBody(in, 1.5);
  const std::string item = "x" + in.nurupo + "y\n";
  return {
      {"no header, no item", kLine1 + body, kLine1 + "\n" + body},
      {"no header, the item on the last line", kLine1 + body + item, kLine1 + "\n"},
      {"no header, the item in the middle", kLine1 + half + item + half, kLine1 + "\n"},
      // The second reading stops short of the end: the thread is renamed over all the same.
      {"a long post kept, then a short one",
       kLine1 + header(in, 1) + body + header(in, 2) + "short\n",
       kLine1 + "\n" + header(in, 1) + body + header(in, 2) + "short\n"},
      {"long posts kept and dropped among short ones",
       kLine1 + header(in, 1) + body + header(in, 2) + "short\n" + header(in, 3) + half + item +
           half + header(in, 4) + half,
       kLine1 + "\n" + header(in, 1) + body + header(in, 2) + "short\n" + header(in, 4) + half},
  };
}

TEST_F(LargeThreads, PostsLongerThanWhatIsHeldAreKeptOrDroppedWhole) {
  writeDefaultCompanions();
  for (const Spelling* in : {&kShiftJis, &kUtf8}) {
    const char* encoding = in == &kShiftJis ? "Shift-JIS" : "UTF-8";
    for (const LongPostCase& c : longPostCases(*in)) {
      write("big.txt", c.thread);
      for (const std::vector<std::string>& args :
           {std::vector<std::string>{"big.txt", "-o"}, {"big.txt", "-e", "-o"}}) {
        Outcome run = pelk(args);
        ASSERT_EQ(run.status, 0) << c.what << ", " << encoding << ": " << run.err;
        // Texts this long are compared as a whole: a failure shows no diff.
        EXPECT_TRUE(read("who.txt") == c.expected) << c.what << ", " << encoding << ", " << args[1];
        EXPECT_EQ(partialNames(), std::vector<std::string>{}) << c.what;
      }
    }
  }
}

TEST_F(LargeThreads, ALongPostThatCannotBeWrittenFailsTheRun) {
  const LongPostCase headerless = longPostCases(kShiftJis)[0];
  writeDefaultCompanions();
  write("who.txt", headerless.thread);
  if (fileSizeLimitsApply()) {
    // The limit lets the first part of the output through and stops a later one.
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"-e"}}) {
      Outcome run = pelk(args, RunLimits{static_cast<long>(ExcludeText::kHeldBound * 3 / 2)});
      EXPECT_EQ(run.status, 1) << args.size();
      EXPECT_EQ(run.message, "e1: ofstream saveFile( who.txt )\n") << args.size();
      EXPECT_TRUE(read("who.txt") == headerless.thread) << args.size();
      EXPECT_EQ(partialNames(), std::vector<std::string>{}) << args.size();
    }
  }
  // A file system with room for the thread and half its output.
  const long room = static_cast<long>(headerless.thread.size() * 3 / 2 + (1 << 16));
  if (!mountScratch(room)) GTEST_SKIP() << "cannot mount here";
  for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"-e"}}) {
    Outcome run = pelk(args);
    EXPECT_EQ(run.status, 1) << args.size();
    EXPECT_EQ(run.message, "e1: ofstream saveFile( who.txt )\n") << args.size();
    EXPECT_TRUE(read("who.txt") == headerless.thread) << args.size();
    EXPECT_EQ(partialNames(), std::vector<std::string>{}) << args.size();
  }
}

}  // namespace
