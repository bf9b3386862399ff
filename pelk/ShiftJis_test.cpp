#include "ShiftJis.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ShiftJis, LeadBytesOfThePassesAndOfCp932DifferOnlyAt0xA0) {
  // Each range by its bounds: the passes lead with 0xA0, the codes do not.
  struct Range {
    int low, high;
    bool passes, codes;
  };
  const Range ranges[] = {
      {0x00, 0x80, false, false}, {0x81, 0x9F, true, true}, {0xA0, 0xA0, true, false},
      {0xA1, 0xDF, false, false}, {0xE0, 0xFC, true, true}, {0xFD, 0xFF, false, false},
  };
  int next = 0;
  for (const Range& r : ranges) {
    ASSERT_EQ(r.low, next);
    for (int b = r.low; b <= r.high; ++b) {
      EXPECT_EQ(isLeadByte(static_cast<unsigned char>(b)), r.passes) << std::hex << b;
      EXPECT_EQ(cp932::isLeadByte(static_cast<unsigned char>(b)), r.codes) << std::hex << b;
    }
    next = r.high + 1;
  }
  EXPECT_EQ(next, 0x100);
}

/// The characters of `line` as the walk gives them.
std::vector<std::string> characters(std::string_view line) {
  std::vector<std::string> out;
  forEachCharacter(line, [&out](std::string_view c) { out.emplace_back(c); });
  return out;
}

TEST(ShiftJis, WalkGivesWholeCharactersAndALeadByteCutByTheEnd) {
  struct Case {
    std::string line;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"", {}},
      {"ab", {"a", "b"}},
      {std::string("a") + kZenkakuColon + "b", {"a", kZenkakuColon, "b"}},
      // Any byte after a lead byte is its trail: a digit, a caret, another lead.
      {"\x81"
       "1\x81\x81\x82^",
       {"\x81"
        "1",
        "\x81\x81", "\x82^"}},
      // 0xA0 leads, 0x80, half-width katakana and 0xFD-0xFF stand alone.
      {"\xA0x\x80\xB1\xFD\xFF", {"\xA0x", "\x80", "\xB1", "\xFD", "\xFF"}},
      // A line cut inside its last character.
      {std::string(kZenkakuSpace) + "\x93", {kZenkakuSpace, "\x93"}},
      {"\xE0", {"\xE0"}},
  };
  for (const Case& c : cases) EXPECT_EQ(characters(c.line), c.expected) << c.line;
}

TEST(ShiftJis, CharacterWidthOfALeadByteReachesPastACutLine) {
  struct Case {
    std::string line;
    std::size_t position, width;
  };
  const Case cases[] = {
      {"a\x81\x46", 0, 1}, {"a\x81\x46", 1, 2}, {"a\x81", 1, 2},
      {"\xA0", 0, 2},      {"\xA1", 0, 1},      {"\x80", 0, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(characterWidth(c.line, c.position), c.width) << c.line << " at " << c.position;
}

TEST(ShiftJis, ZenkakuFragmentClassifiesEachByteOfALine) {
  struct Case {
    std::string line;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {"a\x81\x46\xA0x\x80\xB1", {0, 1, 2, 1, 2, 0, 0}},
      {"\x81\x81\x81", {1, 2, 1}},
      {"\x83^12", {1, 2, 0, 0}},
      {"\xFC\xFC\xFD", {1, 2, 0}},
  };
  for (const Case& c : cases) {
    for (std::size_t i = 0; i < c.expected.size(); ++i)
      EXPECT_EQ(zenkakuFragment(c.line, i), c.expected[i]) << c.line << " at " << i;
    EXPECT_EQ(zenkakuFragment(c.line, c.line.size()), 0) << "beyond " << c.line;
  }
}

// Each full-width digit and the full-width blank, checked against the CP932
// codes of U+FF10..U+FF19 and U+3000; their neighbours are none.
TEST(ShiftJis, HalfWidthOfFullWidthDigitsAndBlank) {
  struct Case {
    unsigned char lead, trail;
    char half;
  };
  const Case cases[] = {
      {0x82, 0x4F, '0'}, {0x82, 0x50, '1'}, {0x82, 0x54, '5'}, {0x82, 0x58, '9'},
      {0x81, 0x40, ' '}, {0x82, 0x4E, 0},   {0x82, 0x59, 0},   {0x82, 0x60, 0},  // "Ａ"
      {0x81, 0x41, 0},   {0x81, 0x5E, 0},   {0x83, 0x4F, 0},   {0x30, 0x30, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(halfWidthDigitOrBlank(c.lead, c.trail), c.half)
        << std::hex << int{c.lead} << " " << int{c.trail};
}

}  // namespace
