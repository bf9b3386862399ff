#include "Gaps.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FirstNumber.hpp"
#include "PickSplitter_testing.hpp"
#include "ShiftJis.hpp"

namespace {

const std::string kAxis = kAxisMark;
using pieces::allPieces;
using pieces::kDigits;

void expectNoLoss(const std::string& line, const std::vector<std::string>& found) {
  pieces::expectNoLoss(line, found, pieces::Tail::kDigitFree);
}

TEST(FirstNumber, PositionOfTheFirstDigit) {
  struct Case {
    std::string text;
    std::ptrdiff_t expected;
  };
  const Case cases[] = {
      {"", -1}, {"abc QP", -1}, {"ab3", 2}, {"0", 0}, {kAxis + "5", 2}, {" / 12", 3},
  };
  for (const Case& c : cases) EXPECT_EQ(firstNumber(c.text), c.expected) << c.text;
}

TEST(Gaps, CutsPicksByGame) {
  struct Case {
    int game;
    bool axis;
    std::string line;
    std::vector<std::string> pieces;
  };
  const Case cases[] = {
      // Loto-6: six numbers a pick, highest ball 43.
      {6,
       false,
       "01 02 03 04 05 06 03 04 05 06 07 08",
       {"01 02 03 04 05 06 ", "03 04 05 06 07 08"}},
      {6, false, "01 02 03 04 05 06 07", {"01 02 03 04 05 06 07"}},
      {6, false, "01 02 03 04 05 06 07 08 09 10 11 12", {"01 02 03 04 05 06 07 08 09 10 11 12"}},
      {6, false, "01 02 03 04 05 06 43", {"01 02 03 04 05 06 43"}},
      {6, false, "01 02 03 04 05 06 44", {"01 02 03 04 05 06 ", "44"}},
      {6, false, "01 02 03 04 05 06 QP", {"01 02 03 04 05 06 QP"}},
      {6, false, "01 02 03 04 05 06 ", {"01 02 03 04 05 06"}},
      {6, false, "01 02 03 04 05 06 abc", {"01 02 03 04 05 06", " abc"}},
      {6, false, "01 02 03 04 05 06 7", {"01 02 03 04 05 06 ", "7"}},
      {6,
       false,
       "01 02 03 04 05 06 , 02 03 04 05 06 07",
       {"01 02 03 04 05 06 , ", "02 03 04 05 06 07"}},
      {6,
       false,
       "pick: 01 02 03 04 05 06 02 03 04 05 06 07",
       {"01 02 03 04 05 06 ", "02 03 04 05 06 07"}},
      {6,
       false,
       "05 10 15 20 25 30 01 02 03 04 05 06 10 20 30 40 41 42",
       {"05 10 15 20 25 30 ", "01 02 03 04 05 06 10 20 30 40 41 42"}},
      // The last number starts with a space: it counts as 0, so 08 continues the pick.
      {6, false, "01 02 03 04 05  9 08", {"01 02 03 04 05  9 08"}},
      {6, false, "01 02 03", {"01 02 03"}},
      {6, false, "no digit at all", {"no digit at all"}},
      {6, false, "", {}},
      // Miniloto: five numbers a pick, highest ball 31.
      {5, false, "01 02 03 04 05 01 02 03 04 05", {"01 02 03 04 05 ", "01 02 03 04 05"}},
      {5, false, "01 02 03 04 05 31", {"01 02 03 04 05 31"}},
      {5, false, "01 02 03 04 05 32", {"01 02 03 04 05 ", "32"}},
      {5, false, "10 11 12 13 14 QP", {"10 11 12 13 14 QP"}},
      // Loto-7: seven numbers a pick, highest ball 37.
      {7,
       false,
       "01 02 03 04 05 06 07 01 02 03 04 05 06 07",
       {"01 02 03 04 05 06 07 ", "01 02 03 04 05 06 07"}},
      {7, false, "01 02 03 04 05 06 07 37", {"01 02 03 04 05 06 07 37"}},
      {7, false, "01 02 03 04 05 06 07 38", {"01 02 03 04 05 06 07 ", "38"}},
      {7, false, "01 02 03 04 05 06 07 QP", {"01 02 03 04 05 06 07 QP"}},
      {7, false, "01 02 03 04 05 06 01 02", {"01 02 03 04 05 06 01 02"}},
      // The axis switch keeps the text before the first digit, and with it
      // the mark's space counts as a gap.
      {6,
       true,
       kAxis + " 01 02 03 04 05 06 01 02 03 04 05 06",
       {kAxis + " 01 02 03 04 05 06 01 02 03 04 05 06"}},
      {6,
       false,
       kAxis + " 01 02 03 04 05 06 01 02 03 04 05 06",
       {"01 02 03 04 05 06 ", "01 02 03 04 05 06"}},
      {6,
       true,
       "x 01 02 03 04 05 06 01 02 03 04 05 06",
       {"01 02 03 04 05 06 ", "01 02 03 04 05 06"}},
  };
  for (const Case& c : cases) {
    Gaps gaps(c.line, c.game, c.axis);
    const std::vector<std::string> pieces = allPieces(gaps, c.line.size() + 1);
    EXPECT_EQ(pieces, c.pieces) << c.game << " " << c.axis << " " << c.line;
    expectNoLoss(c.line, pieces);
    EXPECT_EQ(gaps.lotoLine(), "") << c.line;
  }
}

TEST(Gaps, OtherSlotsGiveTheRestOrNothing) {
  std::string line = "01 02 03 04 05 06 03 04 05 06 07 08";
  Gaps gaps(line, 6, false);
  EXPECT_EQ(gaps.dateLine(), 0);
  EXPECT_EQ(gaps.rebuild(), line);
  EXPECT_EQ(gaps.lotoLine(), "01 02 03 04 05 06 ");
  EXPECT_EQ(gaps.interposed(), "03 04 05 06 07 08");
  EXPECT_EQ(gaps.rebuild(), "03 04 05 06 07 08");
}

TEST(Gaps, EveryLineEndsAndLosesNoDigit) {
  const std::string alphabet[] = {"0", "1", "4", "9", " ", " ", " ", "Q", "P", "x", kAxis, "\x81"};
  unsigned state = 12345;
  auto next = [&state]() {
    state = state * 1103515245u + 12345u;
    return (state >> 16) & 0x7FFF;
  };
  for (int i = 0; i < 3000; ++i) {
    std::string line;
    const unsigned length = next() % 48;
    for (unsigned j = 0; j < length; ++j) line += alphabet[next() % std::size(alphabet)];
    for (int game : {5, 6, 7}) {
      for (bool axis : {false, true}) {
        Gaps gaps(line, game, axis);
        const std::vector<std::string> pieces = allPieces(gaps, line.size() + 1);
        ASSERT_LE(pieces.size(), line.size()) << line;
        expectNoLoss(line, pieces);
      }
    }
  }
  // A long line of picks is cut in one pass.
  std::string longLine;
  for (int i = 0; i < 20000; ++i) longLine += "01 02 03 04 05 06 ";
  Gaps gaps(longLine, 6, false);
  std::vector<std::string> pieces = allPieces(gaps, longLine.size());
  ASSERT_EQ(pieces.size(), 20000u);
  EXPECT_EQ(pieces.front(), "01 02 03 04 05 06 ");
  EXPECT_EQ(pieces.back(), "01 02 03 04 05 06");
  expectNoLoss(longLine, pieces);
}

TEST(Gaps, TwoDigitValueReadsOnlyLeadingDigits) {
  EXPECT_EQ(twoDigitValue("07"), 7);
  EXPECT_EQ(twoDigitValue("43"), 43);
  EXPECT_EQ(twoDigitValue("5x"), 5);
  EXPECT_EQ(twoDigitValue(" 9"), 0);
  EXPECT_EQ(twoDigitValue("-1"), 0);
  EXPECT_EQ(twoDigitValue(""), 0);
}

}  // namespace
