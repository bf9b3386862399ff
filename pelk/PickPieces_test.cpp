#include "PickPieces.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ShiftJis.hpp"

namespace {

const std::string kWide0 = "\x82\x4F";  // "０"
const std::string kWide5 = "\x82\x54";  // "５"
const std::string kWideBlank = kZenkakuSpace;
const std::string kWideSlash = kZenkakuSlash;
const std::string kDot = "\x81\x45";  // "・"

std::vector<std::string> piecesOf(const PickPieces& reader) {
  return {reader.pieces().begin(), reader.pieces().end()};
}

TEST(PickPieces, HalfWidthTextAndPiecesBetweenSeparators) {
  struct Case {
    std::string line, text;
    std::vector<std::string> pieces;
  };
  const Case cases[] = {
      {kWide0 + kWide5 + kWideBlank + "12", "05 12", {"05 12"}},
      {"01 02/03 04|05", "01 02/03 04|05", {"01 02", "03 04", "05"}},
      {"01" + kWideSlash + "02" + kDot + "03",
       "01" + kWideSlash + "02" + kDot + "03",
       {"01", "02", "03"}},
      // Empty pieces are left out; the separators stay in the text.
      {"//01 ||", "//01 ||", {"01 "}},
      // "ポ" ends in the byte of "|", and "≠" (0x81 0x82) followed by "O"
      // holds the bytes of "０": separators and full-width digits start at
      // characters only.
      {"01\x83\x7C"
       "02",
       "01\x83\x7C"
       "02",
       {"01\x83\x7C"
        "02"}},
      {"\x81\x82\x4F"
       "1",
       "\x81\x82\x4F"
       "1",
       {"\x81\x82\x4F"
        "1"}},
      // A lead byte that ends the line is kept as it is.
      {"01 \x82", "01 \x82", {"01 \x82"}},
  };
  PickPieces reader({"/", "|", kDot, ""});
  for (const Case& c : cases) {
    reader.reading(c.line);
    EXPECT_EQ(reader.text(), c.text) << c.line;
    EXPECT_EQ(piecesOf(reader), c.pieces) << c.line;
  }
}

TEST(PickPieces, PlainLinesWithoutSeparatorsReadAsTheyStand) {
  PickPieces reader({"|", "#"});
  struct Case {
    std::string line;
    bool mayDiffer;
  };
  const Case cases[] = {
      {"05 12 19 27 33 41 QP", false},
      {"", false},
      {"05 12 # 19", true},
      {"2017/08/14", true},
      {kWide5, true},
      {kWideBlank, true},
      {"\x83\x7C", true},   // the byte of "|" is looked at, wherever it stands
      {"\xB1\xB2", false},  // half-width katakana
  };
  for (const Case& c : cases) EXPECT_EQ(reader.mayDiffer(c.line), c.mayDiffer) << c.line;
}

}  // namespace
