#include "passes/Drafo.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>

#include "Clock.hpp"
#include "Companions.hpp"
#include "MemoryDisk.hpp"
#include "ShiftJis.hpp"

namespace {

// The time of the runs whose output names do not matter.
const FixedClock kAnyTime(1502694845);

using Pairs = std::vector<std::pair<std::string, std::string>>;

const std::string kColon = kZenkakuColon;
const std::string kIdeographicSpace = kZenkakuSpace;
const std::string kHeader =
    "1 " + kColon + "Name " + kColon + "2017/08/14(Mon) 16:15:20.68 ID:AbCdEfGh";

class Zenkaku : public Drafo {
 public:
  Zenkaku(Disk& disk, const Clock& clock, bool keepLine1 = true,
          std::string companionName = "drafo.csv") {
    setting({.companion = companionName,
             .keepLine1 = keepLine1,
             .overwrite = true,
             .disk = &disk,
             .clock = &clock});
  }
  Pairs pairs() const {
    Pairs found;
    for (size_t i = 0; i < drafts.size(); ++i) found.emplace_back(drafts[i], formals[i]);
    EXPECT_EQ(drafts.size(), formals.size());
    return found;
  }
  /// The characters the built-in table replaces.
  size_t tableSize() const {
    return std::count_if(singleByteOf.begin(), singleByteOf.end(),
                         [](unsigned char b) { return b; });
  }
};

/// The pairs read from a drafo.csv holding `csv`.
Pairs pairsOf(const std::string& csv) {
  MemoryDisk disk;
  disk.files["drafo.csv"] = csv;
  Zenkaku pass(disk, kAnyTime);
  EXPECT_TRUE(pass.readingCsvToProduceArrays());
  return pass.pairs();
}

/// A pass that has read the default drafo.csv.
class DefaultPairs {
 public:
  DefaultPairs() {
    testDrafoText(disk);
    EXPECT_TRUE(pass.readingCsvToProduceArrays());
  }
  /// A body line as the pass turns it out.
  std::string body(const std::string& line) {
    std::string converted;
    EXPECT_TRUE(pass.replaceDraftWithFormal(pass.checkOneByOne(" " + line), converted));
    return converted.substr(1);
  }
  MemoryDisk disk;
  Zenkaku pass{disk, kAnyTime};
};

TEST(Drafo, TableTurnsFullWidthCharactersIntoSingleBytes) {
  struct Case {
    std::string line, expected;
  };
  const Case cases[] = {
      {"\x82\x4F\x82\x50\x82\x58", "019"},
      {"\x82\x81\x82\x8C\x82\x90\x82\x91\x82\x60\x82\x6B\x82\x6F\x82\x70", "ALPQALPQ"},
      {"a\x81\x40"
       "b\x81\x43"
       "c\x81\x41"
       "d\x81\x45"
       "e",
       "a b c d e"},
      {"\x81\x62\x81\x5E", "|/"},
      {"\xA4\xA5\xB1\xDF", "  \xB1\xDF"},        // half-width comma and dot only
      {"\x8E\xB2\x83\x5C", "\x8E\xB2\x83\x5C"},  // other characters, trail byte 0x5C
      {"\x82\x82\x4F", "\x82\x82O"},             // 0x82 0x82 is one character, 0x4F a letter
      {"\x80\xFD\xFE\xFF\x7F", "\x80\xFD\xFE\xFF\x7F"},
      {"\xE0\x40\xFC\x4F", "\xE0\x40\xFC\x4F"},
      {"12\x82", "12\x82"},           // a lone lead byte at the end is kept
      {"\xA0\xA4\xA4", "\xA0\xA4 "},  // 0xA0 leads: the first 0xA4 is its trail
      {"", ""},
  };
  MemoryDisk disk;
  Zenkaku pass(disk, kAnyTime);
  for (const Case& c : cases) EXPECT_EQ(pass.checkOneByOne(c.line), c.expected) << c.line;
  EXPECT_EQ(pass.tableSize(), 24u);
}

TEST(Drafo, CsvLinesGivePairs) {
  struct Case {
    const char* what;
    std::string csv;
    Pairs expected;
  };
  const Case cases[] = {
      {"plain", "a,A,\n", {{"a", "A"}}},
      {"escaped comma", "\\,, ,\n", {{",", " "}}},
      {"spaces are kept", " 1 , 01 ,\n", {{" 1 ", " 01 "}}},
      {"empty fields", "x,,\n,y,\n", {{"x", "\\a"}, {"\\a", "y"}}},
      {"only the first backslash goes", "\\,\\,,z,\n", {{",\\,", "z"}}},
      {"escaped backslash", "a\\\\b,c\\\\,\n", {{"a\\b", "c\\"}}},
      {"CR LF", "a,b,\r\nc,d,\r\n", {{"a", "b"}, {"c", "d"}}},
      {"last line without a line end", "a,b,", {{"a", "b"}}},
      // Each line stands alone: fewer than two unescaped commas give no pair,
      // and what follows the second comma is ignored.
      {"no comma", "abc\nq,Q,\n", {{"q", "Q"}}},
      {"one comma", "a,b\nc,d,\n", {{"c", "d"}}},
      {"escaped second comma", "a,b\\,\nc,d,\n", {{"c", "d"}}},
      {"backslash at the end", "a,b\\\nc,d,\n", {{"c", "d"}}},
      {"empty line", "\na,b,\n", {{"a", "b"}}},
      {"more commas", "a,b,c,d,\ne,f,g\n", {{"a", "b"}, {"e", "f"}}},
      {"Shift-JIS trail byte 0x5C escapes", "\x83\x5C,x,\n\x83\x5C,,y,\n", {{"\x83,", "y"}}},
      {"long lines are read whole",
       std::string(500, 'k') + "," + std::string(500, 'K') + ",\n",
       {{std::string(500, 'k'), std::string(500, 'K')}}},
  };
  for (const Case& c : cases) EXPECT_EQ(pairsOf(c.csv), c.expected) << c.what;
}

TEST(Drafo, DefaultCsvGivesItsPairs) {
  DefaultPairs defaults;
  const Pairs pairs = defaults.pass.pairs();
  ASSERT_EQ(pairs.size(), 24u);
  EXPECT_EQ(pairs[0], (std::pair<std::string, std::string>{"&#160;", " "}));
  EXPECT_EQ(pairs[6], (std::pair<std::string, std::string>{",", " "}));
  EXPECT_EQ(pairs[8], (std::pair<std::string, std::string>{"      ", " "}));
  EXPECT_EQ(pairs[13], (std::pair<std::string, std::string>{" 1 ", " 01 "}));
  EXPECT_EQ(pairs[23], (std::pair<std::string, std::string>{"|", "/"}));
}

TEST(Drafo, PairsReplaceInOrderWithoutOverlapping) {
  const std::string space = kIdeographicSpace;
  struct Case {
    std::string line, expected;
  };
  const Case cases[] = {
      {"\x82\x50" + space + "\x82\x51" + space + "\x82\x52", "01 02 3"},
      {"1 1 2", "01 1 2"},  // the space between the ones is used by the first match
      {"alpq ALLQP allqp", "ALPQ ALL QP ALL QP"},
      {"a|b\x81\x62"
       "c",
       "A/b/c"},
      {"   7,8.9", "07 08 9"},  // leading spaces merge with the added one and go
      {"x&nbsp;&#160;y", "x y"},
      {"", ""},
  };
  DefaultPairs defaults;
  for (const Case& c : cases) EXPECT_EQ(defaults.body(c.line), c.expected) << c.line;

  MemoryDisk disk;
  disk.files["drafo.csv"] = "aa,b,\nb,c,\nx,,\n";
  Zenkaku pass(disk, kAnyTime);
  ASSERT_TRUE(pass.readingCsvToProduceArrays());
  // "aaa": one match, then the rest; later pairs see earlier output.
  std::string formal;
  ASSERT_TRUE(pass.replaceDraftWithFormal("aaa", formal));
  EXPECT_EQ(formal, "ca");
  ASSERT_TRUE(pass.replaceDraftWithFormal("xax", formal));
  EXPECT_EQ(formal, "\\aa\\a");
}

TEST(Drafo, ManyPairsApplyInFileOrderEachToWhatTheOnesBeforeMade) {
  // Few letters, so that pairs feed each other forwards and backwards: a
  // pair whose formal makes an earlier draft does not bring that pair back.
  std::mt19937 random(5);
  auto text = [&](size_t length) {
    std::string s;
    for (size_t i = 0; i < length; ++i) s += "abcd"[random() % 4];
    return s;
  };
  for (int round = 0; round < 40; ++round) {
    std::string csv;
    Pairs pairs;
    const int count = 1 + static_cast<int>(random() % (round < 30 ? 8 : 300));
    for (int i = 0; i < count; ++i) {
      pairs.emplace_back(text(1 + random() % 3), text(random() % 3));
      csv += pairs.back().first + "," + pairs.back().second + ",\n";
    }
    MemoryDisk disk;
    disk.files["drafo.csv"] = csv;
    Zenkaku pass(disk, kAnyTime);
    ASSERT_TRUE(pass.readingCsvToProduceArrays());
    for (int l = 0; l < 20; ++l) {
      const std::string line = text(random() % 20);
      // Each pair in turn, every match of its draft, left to right.
      std::string expected = line;
      for (const auto& [draft, formal] : pass.pairs()) {
        std::string next;
        size_t from = 0;
        for (size_t at; (at = expected.find(draft, from)) != std::string::npos;
             from = at + draft.size())
          next += expected.substr(from, at - from) + formal;
        expected = next + expected.substr(from);
      }
      std::string formal;
      ASSERT_TRUE(pass.replaceDraftWithFormal(line, formal));
      EXPECT_EQ(formal, expected) << "line " << line << " with\n" << csv;
    }
  }
  // "b" to "c" comes before "a" to "b": the b made last stays.
  MemoryDisk disk;
  disk.files["drafo.csv"] = "b,c,\na,b,\n";
  Zenkaku pass(disk, kAnyTime);
  ASSERT_TRUE(pass.readingCsvToProduceArrays());
  std::string formal;
  ASSERT_TRUE(pass.replaceDraftWithFormal("ab", formal));
  EXPECT_EQ(formal, "bc");
}

TEST(Drafo, PairsMayGrowALineUpToTheLimit) {
  // Each "a,aa," pair doubles every "a": 20 of them turn one "a" into 2^20.
  const size_t limit = Drafo::kLongestGrowth;
  struct Case {
    int pairs;
    std::string line;
    bool grows;
  };
  const Case cases[] = {
      {19, "a", true},                            // 2^19 bytes
      {20, "a", true},                            // 2^20 bytes: grows by 2^20 - 1
      {20, "aa", false},                          // 2^21 bytes
      {21, "a", false},                           // stopped before it is built
      {60, "a", false},                           // would be 2^60 bytes
      {60, std::string(1000, 'b'), true},         // nothing to grow
      {20, std::string(limit, 'b') + "a", true},  // the limit counts from the line's length
  };
  for (const Case& c : cases) {
    std::string csv;
    for (int i = 0; i < c.pairs; ++i) csv += "a,aa,\n";
    MemoryDisk disk;
    disk.files["drafo.csv"] = csv;
    Zenkaku pass(disk, kAnyTime);
    ASSERT_TRUE(pass.readingCsvToProduceArrays());
    std::string formal;
    EXPECT_EQ(pass.replaceDraftWithFormal(c.line, formal), c.grows)
        << c.pairs << " " << c.line.size();
    if (c.grows) {
      const size_t as = std::count(c.line.begin(), c.line.end(), 'a');
      EXPECT_EQ(formal.size(), c.line.size() - as + (as << c.pairs));
      EXPECT_LE(formal.size(), c.line.size() + limit);
    }
  }
}

TEST(Drafo, ConvertsBodyLinesAndCopiesHeaders) {
  const std::string digits = "\x82\x50\x81\x40\x82\x51";  // full-width 1, space, 2
  const std::string thread = "05 12 19 27 33 41 08 " + digits + "\n" + "pre " + digits + "\n" +
                             kHeader + " " + digits + "\n" + digits + "\n" + "allqp\n\n" +
                             std::string(4000, 'q') + "\n" + kHeader + "\n";
  struct Case {
    bool keepLine1;
    std::string expected;
  };
  const Case cases[] = {
      {true, "05 12 19 27 33 41 08 " + digits + "\n\nPre 01 2\n" + kHeader + " " + digits +
                 "\n01 2\nALL QP\n\n" + std::string(4000, 'Q') + "\n" + kHeader + "\n"},
      {false, "Pre 01 2\n" + kHeader + " " + digits + "\n01 2\nALL QP\n\n" +
                  std::string(4000, 'Q') + "\n" + kHeader + "\n"},
  };
  for (const Case& c : cases) {
    MemoryDisk disk;
    disk.files["t.txt"] = thread;
    testDrafoText(disk);
    Zenkaku pass(disk, kAnyTime, c.keepLine1);
    std::string name = "t.txt";
    ASSERT_TRUE(pass.altering(name)) << pass.inquiry();
    EXPECT_EQ(pass.altered(), "who.txt");
    EXPECT_EQ(disk.files["who.txt"], c.expected);
  }
}

TEST(Drafo, FailuresNameTheirFileAndWriteNothing) {
  struct Case {
    std::string thread;
    bool withCsv;
    std::string message;
  };
  const Case cases[] = {
      {"", true, "e21(Line-1): in.getline(c, BUFFER_SIZE )"},
      {std::string(384, '1') + "\nx\n", true, "e21(Line-1): in.getline(c, BUFFER_SIZE )"},
      {"L1\n\x82\x50\n", false, "e22: ifstream in( my.csv )"},
  };
  for (const Case& c : cases) {
    MemoryDisk disk;
    disk.files["t.txt"] = c.thread;
    if (c.withCsv) disk.files["my.csv"] = "a,A,\n";
    Zenkaku pass(disk, kAnyTime, true, "my.csv");
    std::string name = "t.txt";
    EXPECT_FALSE(pass.altering(name));
    EXPECT_EQ(pass.inquiry(), c.message);
    EXPECT_EQ(disk.files.count("who.txt"), 0u);
  }
  MemoryDisk disk;
  Zenkaku pass(disk, kAnyTime);
  std::string name = "none.txt";
  EXPECT_FALSE(pass.altering(name));
  EXPECT_EQ(pass.inquiry(), "e20: ifstream in( none.txt )");
}

}  // namespace
