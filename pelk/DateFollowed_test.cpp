#include "DateFollowed.hpp"

#include <gtest/gtest.h>

#include "ShiftJis.hpp"

namespace {

const std::string kColon = kZenkakuColon;
const std::string kPosted = kPostedOn;
const std::string kMonKanji = "\x8C\x8E";
const std::string kSunKanji = "\x93\xFA";
const std::string kSatKanji = "\x93\x79";
// A kanji that names no weekday.
const std::string kHolidayKanji = "\x8F\x6A";

const std::string kExample =
    "256 " + kColon + "Name " + kColon + "2017/08/14(Mon) 16:15:20.68 ID:xxxxxxxx";

TEST(DateFollowed, RecognitionRules) {
  struct Case {
    const char* what;
    std::string line;
    int expected;
  };
  const Case cases[] = {
      {"example header", kExample, 15},
      {"seven bytes", "1/05/ 0", 0},
      {"seven bytes with caret", "12345^x", 0},
      {"caret at byte 5 is the vemo form", "256  ^ 2017/08/14(Mon) 16:15:20.68 ID:x Name", 9},
      {"caret at byte 5 needs nothing else", "abcde^xy", 9},
      {"no leading digit", "x256 " + kColon + "Name " + kColon + "2017/08/14 16:15:20 ID:abc", 0},
      {"four-digit number", "1234 " + kColon + "Name " + kColon + "2017/08/14 16:15:20 ID:abc", 16},
      {"five-digit number", "12345 " + kColon + "Name " + kColon + "2017/08/14 16:15:20 ID:abc", 0},
      {"no month marker", "1 " + kColon + "A " + kColon + "2017-08-14 16:15:20 ID:abcdefgh", 0},
      {"month 13 is no marker", "1 " + kColon + "A " + kColon + "2017/13/14 16:15:20 ID:abc", 0},
      {"month 00 is no marker", "1 " + kColon + "A " + kColon + "2017/00/14 16:15:20 ID:abc", 0},
      {"two distinct month markers",
       "1 " + kColon + "A/03/B " + kColon + "2017/08/14 16:15:20 ID:a", 0},
      // The first occurrence counts, even inside the name.
      {"same month marker twice", "1 " + kColon + "A/08/B " + kColon + "2017/08/14 16:15:20 ID:a",
       3},
      {"no hour marker", "1 " + kColon + "A " + kColon + "2017/08/14 16.15.20 ID:abcdefgh", 0},
      {"hour 24 is no marker", "1 " + kColon + "A " + kColon + "2017/08/14 24:15:20 ID:abcdefgh",
       0},
      {"two distinct hour markers", kExample + " at 12:00", 0},
      {"same hour marker twice", kExample + " at 16:00", 15},
      {"space and parenthesis markers are distinct", kExample + " )16:00", 0},
      {"hour marker in the name does not count",
       "1 " + kColon + "at 12:00 " + kColon + "2017/08/14 16:15:20 ID:abcdefgh", 17},
      {"parenthesis hour marker", "1 " + kColon + "A " + kColon + "2017/08/14(Mon)16:15:20 ID:abc",
       10},
      {"zenkaku colon without ID", "1 " + kColon + "A " + kColon + "2017/08/14 16:15:20", 10},
      {"neither ID nor zenkaku colon", "1 A 2017/08/14 16:15:20", 0},
      {"ID without zenkaku colon", "1 A 2017/08/14 16:15:20 ID:abcdefgh", 6},
      {"ID needs the space before it", "1 A 2017/08/14 16:15:20ID:abcdefgh", 0},
      {"year position 0", "12/05/ 10:00 x" + kColon, 0},
      {"month marker at byte 1", "1/08/14 16:15:20 " + kColon + "x", 0},
      {"month marker at byte 1 with ID", "1/08/14 16:15:20 ID:abcdefgh", 0},
  };
  for (const Case& c : cases) {
    DateFollowed full(c.line);
    EXPECT_EQ(full.dateLine(), c.expected) << c.what;
    DateFollowed quick(c.line, true);
    EXPECT_EQ(quick.dateLine(), c.expected) << c.what << " (recognise only)";
  }
}

// Which layout operation a case asks for.
enum class Layout { kVemo, kColon };

std::string layOut(DateFollowed& header, Layout layout) {
  switch (layout) {
    case Layout::kVemo:
      return header.rebuild();
    case Layout::kColon:
      return header.interposed();
  }
  return {};
}

TEST(DateFollowed, LayoutsOfFullyParsedHeaders) {
  struct Case {
    const char* what;
    std::string line;
    Layout layout;
    std::string expected;
  };
  const std::string kId = "ID:xxxxxxxx";
  const Case cases[] = {
      {"example, vemo form", kExample, Layout::kVemo,
       "256  ^ 2017/08/14(Mon) 16:15:20.68 ID:xxxxxxxx Name"},
      {"example, colon layout is the line itself", kExample, Layout::kColon, kExample},
      {"two-digit year and kanji weekday",
       "256 " + kColon + "Name " + kColon + "17/08/14(" + kMonKanji + ") 16:15:20.68 " + kId,
       Layout::kVemo, "256  ^ 2017/08/14(Mon) 16:15:20.68 ID:xxxxxxxx Name"},
      {"kanji Sunday",
       "1 " + kColon + "A " + kColon + "2017/08/13(" + kSunKanji + ") 16:15:20 " + kId,
       Layout::kVemo, "1    ^ 2017/08/13(Sun) 16:15:20    ID:xxxxxxxx A"},
      {"kanji Saturday",
       "1 " + kColon + "A " + kColon + "2017/08/12(" + kSatKanji + ") 16:15:20 " + kId,
       Layout::kVemo, "1    ^ 2017/08/12(Sat) 16:15:20    ID:xxxxxxxx A"},
      {"English weekday copied as written",
       "1 " + kColon + "A " + kColon + "2017/08/12(sat.) 16:15:20 " + kId, Layout::kVemo,
       "1    ^ 2017/08/12(sat.) 16:15:20    ID:xxxxxxxx A"},
      {"other kanji in parentheses copied",
       "1 " + kColon + "A " + kColon + "2017/08/11(" + kHolidayKanji + ") 16:15:20 " + kId,
       Layout::kVemo, "1    ^ 2017/08/11(" + kHolidayKanji + ") 16:15:20    ID:xxxxxxxx A"},
      {"weekday without closing parenthesis is empty",
       "1 " + kColon + "A " + kColon + "2017/08/12(Sat 16:15:20 " + kId, Layout::kVemo,
       "1    ^ 2017/08/12 16:15:20    ID:xxxxxxxx A"},
      {"no weekday", "1 " + kColon + "A " + kColon + "2017/08/12 16:15:20 " + kId, Layout::kVemo,
       "1    ^ 2017/08/12 16:15:20    ID:xxxxxxxx A"},
      {"short ID and short time padded to 11",
       "1 " + kColon + "A " + kColon + "2017/08/12 16:15 ID:abc", Layout::kVemo,
       "1    ^ 2017/08/12 16:15       ID:abc      A"},
      {"long ID and long time stay whole",
       "1 " + kColon + "A " + kColon + "2017/08/12 16:15:20.685 ID:abcdefgh tail", Layout::kVemo,
       "1    ^ 2017/08/12 16:15:20.685 ID:abcdefgh tail A"},
      {"ID-less header", "1 " + kColon + "A " + kColon + "2017/08/14 16:15:20", Layout::kVemo,
       "1    ^ 2017/08/14 16:15:20    ID:? A"},
      {"four-digit number column", "1234 " + kColon + "A " + kColon + "2017/08/14 16:15:20 " + kId,
       Layout::kVemo, "1234 ^ 2017/08/14 16:15:20    ID:xxxxxxxx A"},
      {"name with spaces before a spaced date",
       "1 " + kColon + "A B " + kColon + "2017/08/14 16:15:20 " + kId, Layout::kVemo,
       "1    ^ 2017/08/14 16:15:20    ID:xxxxxxxx A B"},
      {"name cut at its own last space when the date follows directly",
       "1 " + kColon + "A B" + kColon + "2017/08/14 16:15:20 " + kId, Layout::kVemo,
       "1    ^ 2017/08/14 16:15:20    ID:xxxxxxxx A"},
      {"name cut before the year prefix", "1 " + kColon + "A2017/08/14 16:15:20 " + kId,
       Layout::kVemo, "1    ^ 2017/08/14 16:15:20    ID:xxxxxxxx A"},
      {"name cut before posted-on",
       "1 " + kColon + "Taro" + kPosted + kColon + "2017/08/14(" + kMonKanji + ") 16:15:20 " + kId,
       Layout::kVemo, "1    ^ 2017/08/14(Mon) 16:15:20    ID:xxxxxxxx Taro"},
      {"plain space keeps the name's leading space",
       "12 Taro 2017/08/14(" + kMonKanji + ") 16:15:20 " + kId, Layout::kColon,
       "12 " + kColon + " Taro " + kColon + "2017/08/14(Mon) 16:15:20    " + kId},
      {"zenkaku colon right after the number is dropped",
       "12" + kColon + "Taro " + kColon + "2017/08/14 16:15:20 " + kId, Layout::kColon,
       "12 " + kColon + "Taro " + kColon + "2017/08/14 16:15:20    " + kId},
      {"colon after one space is dropped", "12 :Taro 2017/08/14 16:15:20 " + kId, Layout::kColon,
       "12 " + kColon + "Taro " + kColon + "2017/08/14 16:15:20    " + kId},
  };
  for (const Case& c : cases) {
    DateFollowed header(c.line);
    ASSERT_GT(header.dateLine(), 0) << c.what;
    EXPECT_EQ(layOut(header, c.layout), c.expected) << c.what;
  }
}

TEST(DateFollowed, UnparsedObjectsReturnTheLineAsRead) {
  const std::string vemo = "256  ^ 2017/08/14(Mon) 16:15:20.68 ID:xxxxxxxx Name";
  for (Layout layout : {Layout::kVemo, Layout::kColon}) {
    DateFollowed quick(kExample, true);
    EXPECT_EQ(quick.dateLine(), 15);
    EXPECT_EQ(layOut(quick, layout), kExample);
    DateFollowed already(vemo);
    EXPECT_EQ(already.dateLine(), 9);
    EXPECT_EQ(layOut(already, layout), vemo);
    DateFollowed body("just some text of a post");
    EXPECT_EQ(body.dateLine(), 0);
    EXPECT_EQ(layOut(body, layout), "just some text of a post");
  }
  DateFollowed header(kExample);
  EXPECT_EQ(header.lotoLine(), "");
}

TEST(Characterizable, PaddingCutsAndExtendsToElevenBytes) {
  DateFollowed parser(kExample);
  std::string shortText = "abc";
  EXPECT_EQ(parser.padding(shortText), "abc        ");
  EXPECT_EQ(shortText, "abc" + std::string(11, ' '));
  std::string longText = "abcdefghijklm";
  EXPECT_EQ(parser.padding(longText), "abcdefghijk");
}

}  // namespace
