#include "passes/QuoteRatherThanMark.hpp"

#include <gtest/gtest.h>

#include "Clock.hpp"
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
