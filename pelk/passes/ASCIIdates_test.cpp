#include "passes/ASCIIdates.hpp"

#include <gtest/gtest.h>

namespace {

TEST(ASCIIdates, AsciiOnlyConvertsKeysAndDropsOtherWideCharacters) {
  struct Case {
    const char* what;
    std::string line;
    std::string expected;
  };
  const Case cases[] = {
      {"ASCII stays", "256 abc (Mon) 16:15:20", "256 abc (Mon) 16:15:20"},
      {"every weekday", "\x93\xFA\x8C\x8E\x89\xCE\x90\x85\x96\xD8\x8B\xE0\x93\x79",
       "SunMonTueWedThuFriSat"},
      {"weekday in parentheses", "(\x8C\x8E)", "(Mon)"},
      {"full-width colon and bar",
       "a\x81\x46"
       "b\x81\x62"
       "c",
       "a|b|c"},
      {"kanji name removed, spaces stay", "1 \x8E\x52\x93\x63 2", "1  2"},
      {"half-width katakana removed", "x\xB1\xB2\xDFy", "xy"},
      {"0x80 and 0xFD to 0xFF kept", "\x80\xFD\xFE\xFF", "\x80\xFD\xFE\xFF"},
      {"lead byte at the end dropped", "a\x93", "a"},
      {"trail byte in ASCII range goes with its lead",
       "\x93\x41"
       "B",
       "B"},
      {"lead byte as trail byte", "\x81\x81\x46", "F"},
      {"0xA0 leads a character, dropped with its trail",
       "\xA0"
       "A1",
       "1"},
      {"straddling two keys is no key", "\x8E\x89", ""},
      {"empty line", "", ""},
  };
  ASCIIdates pass;
  for (const Case& c : cases) EXPECT_EQ(pass.asciiOnly(c.line), c.expected) << c.what;
}

}  // namespace
