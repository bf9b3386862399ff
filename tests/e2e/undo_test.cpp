// Undo of every overwrite: the texts who.txt held are kept in pelk-undo,
// byte for byte, and pelk -U puts them back one step at a time.

#include <filesystem>
#include <map>
#include <set>

#include "E2E.hpp"

namespace {

namespace fs = std::filesystem;

class Undo : public E2E {
 protected:
  /// The files of pelk-undo by name, byte for byte.
  std::map<std::string, std::string> kept() {
    std::map<std::string, std::string> texts;
    if (!fs::is_directory(dir / "pelk-undo")) return texts;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir / "pelk-undo")) {
      const std::string name = entry.path().filename().string();
      texts[name] = readRaw("pelk-undo/" + name);
    }
    return texts;
  }
  /// Every file of the scratch directory and of pelk-undo, byte for byte.
  std::map<std::string, std::string> everything() {
    std::map<std::string, std::string> files;
    for (const std::string& name : names())
      if (fs::is_regular_file(dir / name)) files[name] = readRaw(name);
    for (const auto& [name, bytes] : kept()) files["pelk-undo/" + name] = bytes;
    return files;
  }
};

/// A thread of `lines` body lines after Line-1, each "line <n>".
std::string thread(int lines) {
  std::string text = "05 12 19 27 33 41 08 - draw\n";
  for (int i = 1; i <= lines; ++i) text += "line " + std::to_string(i) + "\n";
  return text;
}

/// What "pelk -1-" makes of `text`: Line-1 dropped.
std::string withoutLine1(const std::string& text) { return text.substr(text.find('\n') + 1); }

TEST_F(Undo, ThreeOverwritesAreUndoneStepByStepBackToTheOriginal) {
  writeDefaultCompanions();
  // Three overwriting runs, each dropping the first line: two without a
  // thread name, one with -o.
  std::vector<std::string> texts = {thread(3)};
  write("who.txt", texts[0]);
  const std::vector<std::vector<std::string>> runs = {
      {"-1-"}, {"who.txt", "-6", "-1-", "-o"}, {"-1-", "-r-"}};
  for (const std::vector<std::string>& args : runs) {
    const Outcome run = pelk(args);
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.out, "who.txt\n");
    texts.push_back(withoutLine1(texts.back()));
    ASSERT_EQ(readRaw("who.txt"), platformLines(texts.back()));
  }
  for (const char* option : {"-U", "--undo", "-U"}) {
    const Outcome undo = pelk({option});
    EXPECT_EQ(undo.status, 0) << undo.err;
    EXPECT_EQ(undo.out, "who.txt\n");
    EXPECT_EQ(undo.err, "");
    texts.pop_back();
    EXPECT_EQ(read("who.txt"), texts.back()) << option;
  }
  // Every text who.txt held is still found in pelk-undo: the original as
  // the test wrote it, the others as pelk wrote them.
  std::set<std::string> found;
  for (const auto& [name, bytes] : kept()) found.insert(bytes);
  std::string text = thread(3);
  EXPECT_TRUE(found.count(text));
  for (int step = 0; step < 3; ++step) {
    text = withoutLine1(text);
    EXPECT_TRUE(found.count(platformLines(text))) << text;
  }
  // A fourth -U has nothing left to undo.
  EXPECT_EQ(pelk({"-U"}).message, "e67: nothing to undo in pelk-undo\n");
}

TEST_F(Undo, ElevenOverwritesKeepTheNewestTen) {
  writeDefaultCompanions();
  write("who.txt", thread(11));
  for (int i = 0; i < 11; ++i) ASSERT_EQ(pelk({"-1-"}).status, 0);
  std::vector<std::string> names;
  for (const auto& [name, bytes] : kept()) names.push_back(name);
  const std::vector<std::string> expected = {
      "000002-who.txt", "000003-who.txt", "000004-who.txt", "000005-who.txt", "000006-who.txt",
      "000007-who.txt", "000008-who.txt", "000009-who.txt", "000010-who.txt", "000011-who.txt"};
  EXPECT_EQ(names, expected);
  // The newest is what the eleventh run wrote over: Line-1 and "line 1" to
  // "line 9" dropped by the ten runs before it.
  EXPECT_EQ(read("pelk-undo/000011-who.txt"), "line 10\nline 11\n");
}

TEST_F(Undo, NothingToUndoIsReportedAndChangesNothing) {
  writeDefaultCompanions();
  write("who.txt", thread(2));
  write("who14-5.txt", "an output of the last run\n");
  write("remove_e.txt", "who14-5.txt\n");
  write("pelk.lock", "");
  const std::map<std::string, std::string> before = everything();
  const Outcome run = pelk({"-U"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.message, "e67: nothing to undo in pelk-undo\n");
  EXPECT_EQ(run.err,
            "e67: nothing to undo in pelk-undo\n"
            "pelk: pelk -U puts back what a run wrote over, and pelk-undo holds no such text that "
            "is not put back yet; nothing was changed; the texts already put back "
            "(...-put-back-who.txt) and those -U wrote over (...-undone-who.txt) are still in "
            "pelk-undo, to open and copy by hand\n");
  // Not even the last run's temporary files went.
  EXPECT_EQ(everything(), before);
  EXPECT_FALSE(exists("pelk-undo"));
}

TEST_F(Undo, AUtf8ThreadIsPutBackByteForByte) {
  writeDefaultCompanions();
  // UTF-8 with its mark and CR LF line ends; the post that says ぬるぽ goes.
  const std::string original =
      "\xEF\xBB\xBF"
      "05 12 19 27 33 41 08 - \xE6\x8A\xBD\xE9\x81\xB8\r\n"
      "1 \xEF\xBC\x9A"
      "A \xEF\xBC\x9A"
      "2017/08/14(\xE6\x9C\x88) 16:15:20.68 ID:abcdefgh\r\n"
      "\xE3\x81\xAC\xE3\x82\x8B\xE3\x81\xBD\r\n";
  write("who.txt", original);
  const Outcome run = pelk({});
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_NE(readRaw("who.txt"), original);
  EXPECT_EQ(kept(), (std::map<std::string, std::string>{{"000001-who.txt", original}}));
  const Outcome undo = pelk({"-U"});
  EXPECT_EQ(undo.status, 0) << undo.err;
  EXPECT_EQ(readRaw("who.txt"), original);
}

TEST_F(Undo, KeptTextsSurviveTheCleanupOfTheRunsAfter) {
  writeDefaultCompanions();
  write("who.txt", thread(2));
  ASSERT_EQ(pelk({"-1-"}).status, 0);
  const std::map<std::string, std::string> texts = kept();
  ASSERT_EQ(texts.size(), 1u);
  // Two runs: the first lists what it sees, the second deletes it.
  for (int i = 0; i < 2; ++i) {
    const Outcome run = pelk({"who.txt", "-6"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(read("remove_e.txt").find("pelk-undo"), std::string::npos);
    EXPECT_EQ(read("remove_e.txt").find("000001"), std::string::npos);
  }
  EXPECT_EQ(kept(), texts);
  EXPECT_EQ(pelk({"-U"}).status, 0);
  EXPECT_EQ(readRaw("who.txt"), thread(2));
}

TEST_F(Undo, AKeptTextThatCannotBeWrittenLeavesWhoTxtUnchanged) {
  writeDefaultCompanions();
  const std::string original = thread(2);
  write("who.txt", original);
  // A file of the user's has the folder's name.
  write("pelk-undo", "mine\n");
  const Outcome run = pelk({"-1-"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.message, "e68: who.txt cannot be kept in pelk-undo\n");
  EXPECT_NE(run.err.find("\npelk: the text of who.txt cannot be kept in the folder pelk-undo, so "
                         "who.txt was not written over"),
            std::string::npos)
      << run.err;
  EXPECT_EQ(readRaw("who.txt"), original);
  EXPECT_EQ(readRaw("pelk-undo"), "mine\n");
  EXPECT_TRUE(partialNames().empty());
}

TEST_F(Undo, AKeptTextCutShortByTheFileSizeLimitLeavesWhoTxtUnchanged) {
  if (!fileSizeLimitsApply())
    GTEST_SKIP() << "a file size limit cannot be set for a program run under a runner";
  writeDefaultCompanions();
  // The output (Line-1 dropped) fits under the limit; the text it replaces
  // does not.
  std::string original = std::string(300, 'x') + "\n";
  for (int i = 0; i < 39; ++i) original += std::string(99, 'y') + "\n";
  write("who.txt", original);
  const Outcome run = pelk({"-1-"}, RunLimits{4096});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.message, "e68: who.txt cannot be kept in pelk-undo\n");
  EXPECT_EQ(readRaw("who.txt"), original);
  EXPECT_TRUE(kept().empty());
  ASSERT_TRUE(fs::is_directory(dir / "pelk-undo"));
  EXPECT_TRUE(partialNames("pelk-undo").empty());
}

}  // namespace
