#include "MultiLoto.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PickSplitter_testing.hpp"
#include "ShiftJis.hpp"

namespace {

const std::string kAxis = kAxisMark;
using pieces::allPieces;
using pieces::kDigits;

void expectNoLoss(const std::string& line, const std::vector<std::string>& found) {
  pieces::expectNoLoss(line, found, pieces::Tail::kNone);
}

TEST(MultiLoto, CutsAfterEachSeparator) {
  struct Case {
    std::string text, separator;
    bool axis;
    std::vector<std::string> pieces;
  };
  const Case cases[] = {
      {"01 02 03 04 05 06/07 08 09 10 11 12",
       "/",
       false,
       {"01 02 03 04 05 06/", "07 08 09 10 11 12"}},
      {"A: 01 02 03/ B: 04 05 06", "/", false, {"01 02 03/", "04 05 06"}},
      {"01 02/03 04|05 06/", "/", false, {"01 02/", "03 04|05 06/"}},
      {"01 02/03 04|05 06/", "|", false, {"01 02/03 04|", "05 06/"}},
      {"01 // 02", "/", false, {"01 /", "02"}},
      {"01 02 / x", "/", false, {"01 02 /", " x"}},
      {"01 - 02 - 03", " - ", false, {"01 - ", "02 - ", "03"}},
      {"no digit / here", "/", false, {"no digit / here"}},
      {"", "/", false, {}},
      // An empty separator does not cut: the text stays one piece.
      {"x 01 02/03 04", "", false, {"01 02/03 04"}},
      // With the axis switch, text before the first digit stays while the
      // rest holds the mark.
      {"x01/y" + kAxis + "03/z05", "/", true, {"x01/", "y" + kAxis + "03/", "05"}},
      {"x01/y" + kAxis + "03/z05", "/", false, {"01/", "03/", "05"}},
      {"x01/y03/z05", "/", true, {"01/", "03/", "05"}},
  };
  for (const Case& c : cases) {
    MultiLoto multi(c.text, c.separator, c.axis);
    const std::vector<std::string> pieces = allPieces(multi, c.text.size() + 1);
    EXPECT_EQ(pieces, c.pieces) << c.text << " at " << c.separator;
    expectNoLoss(c.text, pieces);
    EXPECT_EQ(multi.lotoLine(), "") << c.text;
  }
}

TEST(MultiLoto, OtherSlotsGiveTheRestOrNothing) {
  MultiLoto multi("01 02/03 04", "/", false);
  EXPECT_EQ(multi.dateLine(), 0);
  EXPECT_EQ(multi.lotoLine(), "01 02/");
  EXPECT_EQ(multi.interposed(), "03 04");
  EXPECT_EQ(multi.rebuild(), "03 04");
}

TEST(MultiLoto, EveryTextEndsAndLosesNoDigit) {
  const std::string alphabet[] = {"0", "7", " ", "/", "/", "|", "x", kAxis, "\x81"};
  const std::string separators[] = {"/", "|", "", "/|", " ", "//"};
  unsigned state = 777;
  auto next = [&state]() {
    state = state * 1103515245u + 12345u;
    return (state >> 16) & 0x7FFF;
  };
  for (int i = 0; i < 3000; ++i) {
    std::string text;
    const unsigned length = next() % 40;
    for (unsigned j = 0; j < length; ++j) text += alphabet[next() % std::size(alphabet)];
    for (const std::string& separator : separators) {
      for (bool axis : {false, true}) {
        MultiLoto multi(text, separator, axis);
        const std::vector<std::string> pieces = allPieces(multi, text.size() + 1);
        ASSERT_LE(pieces.size(), text.size()) << text;
        expectNoLoss(text, pieces);
      }
    }
  }
  std::string longText;
  for (int i = 0; i < 50000; ++i) longText += "01 02 03/";
  MultiLoto multi(longText, "/", false);
  const std::vector<std::string> pieces = allPieces(multi, longText.size());
  ASSERT_EQ(pieces.size(), 50000u);
  EXPECT_EQ(pieces.back(), "01 02 03/");
}

}  // namespace
