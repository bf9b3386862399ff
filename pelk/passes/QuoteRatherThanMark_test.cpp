#include "passes/QuoteRatherThanMark.hpp"

#include <gtest/gtest.h>

#include "Clock.hpp"
#include "Conversions.hpp"
#include "MemoryDisk.hpp"

namespace {

// The time of the runs whose output names do not matter.
const FixedClock kAnyTime(1502694845);

class Caret : public QuoteRatherThanMark {
 public:
  Caret(Disk& disk, const Clock& clock, bool keepLine1 = true) {
    setting({.companion = "",
             .keepLine1 = keepLine1,
             .overwrite = true,
             .disk = &disk,
             .clock = &clock});
  }
};

TEST(QuoteRatherThanMark, ReplacesOnlyASingleByteCaretAtByteFive) {
  struct Case {
    std::string line, expected;
  };
  const Case cases[] = {
      {"12345^789", "12345`789"},
      {"^2345^", "^2345`"},
      {"1234^6", "1234^6"},
      {"abcde^", "abcde`"},
      {"abcd\x83^", "abcd\x83^"},  // 0x5E as a trail byte
      {"abc\x83\x40^", "abc\x83\x40`"},
      {"\xB1\xB2\xB3\xB4\xB5^", "\xB1\xB2\xB3\xB4\xB5`"},  // half-width katakana
      {"12345", "12345"},
      {"", ""},
  };
  MemoryDisk disk;
  Caret pass(disk, kAnyTime);
  for (const Case& c : cases) {
    std::string line = c.line;
    EXPECT_EQ(pass.replaceMARKwithBACK_QUOTE(line), c.expected) << c.line;
    EXPECT_EQ(line, c.expected);
  }
}

TEST(QuoteRatherThanMark, AUtf8LineChangesAsItsCp932FormDoes) {
  // Characters before the caret of one, two, three and four bytes in UTF-8,
  // one or two in CP932; U+F8F0 is 0xA0 in CP932, which the passes take for
  // a lead byte.
  const std::string a = "\xE3\x81\x82", halfA = "\xEF\xBD\xB1", emoji = "\xF0\x9F\x98\x80",
                    e = "\xC3\xA9", f8f0 = "\xEF\xA3\xB0";
  const std::string lines[] = {
      "12345^789",
      "1234^6",
      "12345",
      "",
      a + "123^",
      a + "12^3",
      a + a + "1^",
      a + a + "^",
      halfA + halfA + "123^",
      halfA + "1234^",
      emoji + "123^",
      emoji + emoji + "1^",
      emoji + emoji + "^^",
      e + "123^",
      e + e + "1^",
      f8f0 + "1234^",
      f8f0 + "123^",
      "1" + f8f0 + "12^",
      a + "123",
      a + a + a + a + a + "^",
      "^" + a + "12^^^",
  };
  MemoryDisk disk;
  Caret pass(disk, kAnyTime);
  for (const std::string& line : lines) {
    UserArea area;
    ToCp932 toCp932(area);
    std::string cp932;
    ASSERT_TRUE(toCp932.converting(line, cp932) && toCp932.finishing(cp932));
    pass.replaceMARKwithBACK_QUOTE(cp932);
    ToUtf8 toUtf8(area);
    std::string expected;
    toUtf8.converting(cp932, expected);
    toUtf8.finishing(expected);
    std::string utf8 = line;
    pass.replacingInUtf8(utf8);
    EXPECT_EQ(utf8, expected) << line;
  }
}

TEST(QuoteRatherThanMark, KeepsOrDropsLine1Unchanged) {
  MemoryDisk disk;
  disk.files["t.txt"] = "12345^ draw\nxxxxx^\n";
  std::string name = "t.txt";
  Caret keep(disk, kAnyTime);
  ASSERT_TRUE(keep.altering(name));
  EXPECT_EQ(keep.altered(), "who.txt");
  EXPECT_EQ(disk.files["who.txt"], "12345^ draw\nxxxxx`\n");
  Caret drop(disk, kAnyTime, false);
  ASSERT_TRUE(drop.altering(name));
  EXPECT_EQ(disk.files["who.txt"], "xxxxx`\n");
  disk.files["t.txt"] = "only";
  Caret alone(disk, kAnyTime, false);
  ASSERT_TRUE(alone.altering(name));
  EXPECT_EQ(disk.files["who.txt"], "");
}

}  // namespace
