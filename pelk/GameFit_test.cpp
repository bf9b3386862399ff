#include "GameFit.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MemoryDisk.hpp"
#include "passes/PassTesting.hpp"
#include "passes/Prizes.hpp"
#include "passes/UniqueCombos.hpp"

namespace {

const Game& kMiniloto = kGames[0];
const Game& kLoto6 = kGames[1];
const Game& kLoto7 = kGames[2];

/// What `GameFit` says of `body` (line 2 on) under `game`: "fits", or the
/// game of the other length with its count and first line number, and the
/// lines above the highest ball with theirs, such as
/// "Loto-6 4 at 3, above 2 at 5".
std::string verdict(const Game& game, const std::vector<std::string>& body) {
  GameFit fit(game, game.line1Example);
  long number = 1;
  for (const std::string& line : body) fit.observing(line, ++number);
  const std::optional<GameMisfit> misfit = fit.misfit();
  if (!misfit) return "fits";
  EXPECT_EQ(misfit->read, &game);
  EXPECT_EQ(misfit->line1, game.line1Example);
  std::string said;
  if (misfit->otherLength)
    said += std::string(misfit->otherLength->name) + " " +
            std::to_string(misfit->lengthLines.count) + " at " +
            std::to_string(misfit->lengthLines.lineNumber);
  if (misfit->aboveLines.count > 0)
    said += (said.empty() ? "" : ", ") + std::string("above ") +
            std::to_string(misfit->aboveLines.count) + " at " +
            std::to_string(misfit->aboveLines.lineNumber);
  return said;
}

/// `count` copies of `line`.
std::vector<std::string> times(long count, const std::string& line) {
  return std::vector<std::string>(count, line);
}

std::vector<std::string> joined(std::vector<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const std::string kChat = "\x93\x96\x82\xbd\x82\xea\x81\x49";  // "当たれ！"
const std::string kSix = "01 05 09 14 22 31";
const std::string kSixHigh = "02 08 15 21 29 40";
const std::string kFive = "03 11 17 24 30";
const std::string kSeven = "02 09 14 20 26 31 35";
const std::string kHeaderLine = kHeader;

TEST(GameFit, TellsAThreadWhosePicksFitFromOneThatDoesNot) {
  struct Row {
    const char* what;
    const Game& game;
    std::vector<std::string> body;
    std::string expected;
  };
  const Row rows[] = {
      {"Loto-6 picks, chat, headers, labels", kLoto6,
       joined({{kHeaderLine, kChat, kSix, "", kSixHigh, "01 02 03 04 05 06 07 08 8to6"},
               times(5, kSix)}),
       "fits"},
      {"Miniloto picks", kMiniloto, joined({{kChat}, times(4, kFive), {"  03 11 17 24 31  "}}),
       "fits"},
      {"Loto-7 picks", kLoto7, joined({times(3, kSeven), {kChat, kHeaderLine}}), "fits"},
      {"an empty thread", kLoto6, {}, "fits"},
      // The issue: a Loto-6 draw without its bonus number reads as Miniloto.
      {"Loto-6 picks under Miniloto", kMiniloto,
       joined({{kChat, kSix}, times(3, kSixHigh), {kFive}}), "Loto-6 4 at 3, above 3 at 4"},
      // A Loto-7 draw without its two bonus numbers reads as Loto-6.
      {"Loto-7 picks under Loto-6", kLoto6, joined({{kSix}, times(3, kSeven)}), "Loto-7 3 at 3"},
      {"Miniloto picks under Loto-6", kLoto6, times(3, kFive), "Miniloto 3 at 2"},
      {"Loto-6 picks under Loto-7", kLoto7, joined({times(2, kSeven), times(4, kSixHigh)}),
       "Loto-6 4 at 4, above 4 at 4"},
      {"the most lines of another length win", kMiniloto,
       joined({times(3, kSeven), times(4, kSix)}), "Loto-6 4 at 5, above 3 at 2"},
      {"Miniloto picks up to 43", kMiniloto, times(3, "05 12 19 27 41"), "above 3 at 2"},
      {"blanks and tabs before and after", kLoto6, times(3, "\t 02 09 14 20 26 31 35 \t"),
       "Loto-7 3 at 2"},
      // A few stray lines say nothing.
      {"two lines of another length", kMiniloto, joined({{kFive}, times(2, kSix)}), "fits"},
      {"as many lines of another length as of the game's", kLoto6,
       joined({times(3, kSix), times(3, kSeven)}), "fits"},
      {"two picks above the highest ball", kMiniloto,
       joined({times(2, "01 02 03 04 35"), times(3, kFive)}), "fits"},
      {"one pick in ten above the highest ball", kMiniloto,
       joined({times(3, "01 02 03 04 35"), times(27, kFive)}), "fits"},
      {"numbers no game has", kMiniloto, joined({times(3, "01 02 03 04 99"), {kFive}}), "fits"},
      {"Loto-6 has nothing above its highest ball", kLoto6, times(3, "01 02 03 04 05 44"), "fits"},
      // Lines that are no picks: count no length.
      {"no picks", kMiniloto,
       joined({times(3, "01 02 03 04 05 06 07 08"), times(3, "1 2 3 4 5 6"),
               times(3, "01 02 03 04 05 6"), times(3, "01 02 03 04 05 06 -"),
               times(3, "01,02,03,04,05,06"), times(3, "010 02 03 04 05 06"),
               times(3, "\x96\x7b\x96\xbd 01 02 03 04 05 06"), times(3, "01 02 03 04 05 06to6"),
               times(3, "01  02 03 04 05 06"), times(3, "01 02\t03 04 05 06"),
               times(3, "01 02 03 04 05 06 / 07 08 09 10 11 12")}),
       "fits"},
  };
  for (const Row& row : rows) EXPECT_EQ(verdict(row.game, row.body), row.expected) << row.what;
}

TEST(GameFit, KeepsTheFirstLineOfEachKindAsRead) {
  GameFit fit(kMiniloto, "03 11 17 24 30 29 -");
  const std::string first = " 07 12 18 25 36 43\t";
  fit.observing(kChat, 2);
  fit.observing(first, 3);
  fit.observing(kSix, 4);
  fit.observing(kSixHigh, 5);
  fit.observing("05 12 19 27 41", 6);
  const std::optional<GameMisfit> misfit = fit.misfit();
  ASSERT_TRUE(misfit);
  EXPECT_EQ(misfit->line1, "03 11 17 24 30 29 -");
  EXPECT_EQ(misfit->lengthLines.line, first);
  EXPECT_EQ(misfit->lengthLines.count, 3);
  EXPECT_EQ(misfit->aboveLines.line, first);
  EXPECT_EQ(misfit->aboveLines.lineNumber, 3);
  EXPECT_EQ(misfit->aboveLines.count, 3);
}

TEST(GameFit, TheHintSaysWhatWasReadWhatDoesNotFitAndWhatToCheck) {
  GameMisfit misfit;
  misfit.read = &kMiniloto;
  misfit.line1 = "03 11 17 24 30 29 -";
  misfit.otherLength = &kLoto6;
  misfit.lengthLines = {120, 5, "01 05 09 14 22 31"};
  misfit.aboveLines = {98, 7, std::string(70, '7')};
  EXPECT_EQ(
      gameMisfitHint(misfit, "who.txt", Language::kEnglish),
      (std::vector<std::string>{
          "pelk: Line-1 of who.txt was read as a Miniloto draw (\"03 11 17 24 30 29 -\"), which "
          "the picks of the thread do not fit:",
          "pelk: 120 lines hold 6 numbers, as Loto-6 picks do, such as line 5: "
          "\"01 05 09 14 22 31\"",
          "pelk: 98 lines hold numbers above 31, the highest of Miniloto, such as line 7: \"" +
              std::string(57, '7') + "...\"",
          "pelk: if the thread is of Loto-6, put its whole latest draw on Line-1, bonus number "
          "included: \"05 12 19 27 33 41 08 -\""}));
  // Loto-7 has two bonus numbers; without a game of another length the
  // check names none.
  misfit.otherLength = &kLoto7;
  EXPECT_EQ(gameMisfitHint(misfit, "who.txt", Language::kEnglish).back(),
            "pelk: if the thread is of Loto-7, put its whole latest draw on Line-1, bonus numbers "
            "included: \"02 09 14 20 26 31 35 06 17 -\"");
  misfit.otherLength = nullptr;
  const std::vector<std::string> above = gameMisfitHint(misfit, "who.txt", Language::kEnglish);
  ASSERT_EQ(above.size(), 3u);
  EXPECT_EQ(above.back(),
            "pelk: check that Line-1 holds the whole latest draw of the thread's game, bonus "
            "numbers included");
}

TEST(GameFit, TheJapaneseHintIsCp932WithTheThreadsBytesAsRead) {
  GameMisfit misfit;
  misfit.read = &kLoto6;
  misfit.line1 = "02 09 14 20 26 31 35 -";
  misfit.otherLength = &kLoto7;
  // A name and a line in CP932, which must pass unchanged: "本命" ("\x96\x7b\x96\xbd").
  const std::string name = "\x96\x7b\x96\xbd.txt";
  misfit.lengthLines = {3, 4, "02 09 14 20 26 31 35 \x96\x7b\x96\xbd"};
  const std::vector<std::string> lines = gameMisfitHint(misfit, name, Language::kJapanese);
  ASSERT_EQ(lines.size(), 3u);
  // "の 1 行目「" and "ロト6" in CP932.
  EXPECT_EQ(lines[0].rfind("pelk: " + name +
                               " \x82\xcc 1 \x8d\x73\x96\xda\x81\x75"
                               "02 09",
                           0),
            0u)
      << lines[0];
  EXPECT_NE(lines[0].find("\x83\x8d\x83\x67"
                          "6"),
            std::string::npos)
      << lines[0];
  // The line in corner brackets, its bytes as read.
  EXPECT_NE(lines[1].find("\x81\x75"
                          "02 09 14 20 26 31 35 \x96\x7b\x96\xbd\x81\x76"),
            std::string::npos)
      << lines[1];
  for (const std::string& line : lines) {
    for (const char* fill : {"{1}", "{2}", "{3}", "{4}", "{5}"})
      EXPECT_EQ(line.find(fill), std::string::npos) << line;
    EXPECT_EQ(line.find("\xe3"), std::string::npos) << "UTF-8 left in " << line;
  }
}

// The passes that read the game from Line-1 watch the lines they read
// anyway, and a pass that reads none watches nothing.
TEST(GameFit, APassThatReadsTheGameTellsTheMisfitAfterItsRun) {
  MemoryDisk disk;
  disk.files["unique.txt"] = "-1-\n.txt\n";
  disk.files["who.txt"] = "03 11 17 24 30 29 -\n" + kHeaderLine + "\n" + kSix + "\n" + kSixHigh +
                          "\n" + kChat + "\n07 12 18 25 36 43\n";
  Configured<UniqueCombos> unique(disk, kAnyTime, "unique.txt", true, false);
  EXPECT_FALSE(unique.gameMisfit());
  std::string name = "who.txt";
  ASSERT_TRUE(unique.altering(name));
  const std::optional<GameMisfit> misfit = unique.gameMisfit();
  ASSERT_TRUE(misfit);
  EXPECT_EQ(misfit->read, &kMiniloto);
  EXPECT_EQ(misfit->lengthLines.count, 3);
  EXPECT_EQ(misfit->lengthLines.lineNumber, 3);
  EXPECT_EQ(misfit->aboveLines.count, 0);  // 31 is a Miniloto ball

  disk.files["who.txt"] = "05 12 19 27 33 41 08 -\n" + kSix + "\n" + kSixHigh + "\n";
  disk.files["separate.txt"] = "/\n|\n";
  Configured<Prizes> prizes(disk, kAnyTime, "separate.txt", true, false);
  ASSERT_TRUE(prizes.altering(name));
  EXPECT_FALSE(prizes.gameMisfit());
}

}  // namespace
