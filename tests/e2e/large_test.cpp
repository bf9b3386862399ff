// Threads whose output is larger than the part pelk gathers in memory at a
// time: the output file is written as it grows and completed at the end.
#include <filesystem>
#include <string>

#include "E2E.hpp"

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

}  // namespace
