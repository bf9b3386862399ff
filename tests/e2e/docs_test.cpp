#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

#include "E2E.hpp"
#include "Games.hpp"
#include "Messages.hpp"

namespace {

using Docs = E2E;

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// True when the text holds the option as a word of its own: "-r" is not
// found in "-r-", nor "-V" in "-VC".
bool mentions(const std::string& text, const std::string& option) {
  auto partOfOption = [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-';
  };
  for (size_t at = text.find(option); at != std::string::npos; at = text.find(option, at + 1)) {
    const size_t end = at + option.size();
    if ((at == 0 || !partOfOption(text[at - 1])) &&
        (end == text.size() || !partOfOption(text[end])))
      return true;
  }
  return false;
}

TEST_F(Docs, MentionsMatchWholeOptionsOnly) {
  struct Case {
    std::string text, option;
    bool found;
  };
  const Case cases[] = {
      {"`-r`", "-r", true}, {"use -r-", "-r", false},     {"-VC only", "-V", false},
      {"(-V)", "-V", true}, {"tivor -k32", "-k32", true}, {"-k320", "-k32", false},
      {"x-e", "-e", false}, {"-e: drop", "-e", true},     {"「-t」", "-t", true},
  };
  for (const Case& c : cases) EXPECT_EQ(mentions(c.text, c.option), c.found) << c.text;
}

// Every option that the help of pelk or tivor lists is described in both
// READMEs; a new option in the help fails here until the READMEs describe it.
TEST_F(Docs, ReadmesDescribeEveryOptionOfTheHelp) {
  writeDefaultCompanions();
  const Outcome pelkHelp = pelk({"-VC"});
  ASSERT_EQ(pelkHelp.status, 1);
  const Outcome tivorHelp = tivor({"-VC"});
  ASSERT_EQ(tivorHelp.status, 1);
  const std::vector<std::string> pelkOptions = listedOptions(pelkHelp.err, "pelk");
  const std::vector<std::string> tivorOptions = listedOptions(tivorHelp.err, "tivor");
  // The reading of the help itself works: both list "-V".
  ASSERT_NE(std::find(pelkOptions.begin(), pelkOptions.end(), "-V"), pelkOptions.end())
      << pelkHelp.err;
  ASSERT_NE(std::find(tivorOptions.begin(), tivorOptions.end(), "-V"), tivorOptions.end())
      << tivorHelp.err;
  for (const char* readme : {"README.md", "README.ja.md"}) {
    const std::string text = slurp(std::string(PELK_SOURCE_DIR) + "/" + readme);
    ASSERT_FALSE(text.empty()) << readme;
    for (const std::string& option : pelkOptions)
      EXPECT_TRUE(mentions(text, option)) << readme << " does not describe pelk " << option;
    for (const std::string& option : tivorOptions)
      EXPECT_TRUE(mentions(text, option)) << readme << " does not describe tivor " << option;
  }
}

// The manual page tells every numbered message: a tagged entry ".B e<N>"
// for each number from e1 to the last.
TEST_F(Docs, ManualPageListsEveryNumberedMessage) {
  const std::string page = slurp(std::string(PELK_SOURCE_DIR) + "/man/pelk.1");
  for (int number = 1; number <= messages::kLastMessage; ++number)
    EXPECT_NE(page.find(".B e" + std::to_string(number) + "\n"), std::string::npos)
        << "e" << number << " is missing from man/pelk.1";
}

// The README's Line-1 examples hold a draw of their game, and its short tour
// runs as shown on the bundled example thread.
TEST_F(Docs, ReadmeLineOneExamplesAndTourRunAsShown) {
  const std::string readme = slurp(std::string(PELK_SOURCE_DIR) + "/README.md");
  for (const Game& game : kGames) {
    const std::string example(game.line1Example);
    EXPECT_NE(readme.find("    " + example + " draw"), std::string::npos) << game.name;
  }
  EXPECT_NE(readme.find("\n    pelk -V             # the first run writes the six companion"),
            std::string::npos);
  EXPECT_NE(readme.find("\n    pelk -U             # undo: who.txt as it was before the last run"),
            std::string::npos);
  const std::string example = slurp(std::string(PELK_SOURCE_DIR) + "/examples/who.txt");
  write("who.txt", example);
  Outcome first = pelk({"-V"});
  EXPECT_EQ(first.status, 1);
  EXPECT_EQ(first.err, kFirstRunHint);
  EXPECT_EQ(tivor({}).status, 0);
  Outcome exclude = pelk({});
  EXPECT_EQ(exclude.status, 0) << exclude.err;
  EXPECT_EQ(exclude.out, "who.txt\n");
  EXPECT_NE(readRaw("who.txt"), example);
  Outcome undo = pelk({"-U"});
  EXPECT_EQ(undo.status, 0) << undo.err;
  EXPECT_EQ(undo.out, "who.txt\n");
  EXPECT_EQ(readRaw("who.txt"), example);
  for (const char* option : {"-c", "-t"}) {
    Outcome run = pelk({"who.txt", option});
    EXPECT_EQ(run.status, 0) << option << run.err;
    EXPECT_EQ(run.err, "") << option;
  }
}

}  // namespace
