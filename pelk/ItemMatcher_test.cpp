#include "ItemMatcher.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "ShiftJis.hpp"

namespace {

/// The search the matcher replaces: each item in list order, a substring
/// search of the line for it.
size_t firstByFind(const std::vector<std::string>& items, const std::string& line,
                   size_t from = 0) {
  for (size_t i = from; i < items.size(); ++i)
    if (line.find(items[i]) != std::string::npos) return i;
  return ItemMatcher::npos;
}

/// Checks every question on every line against the search of each item,
/// the first item from each index on too.
void expectAsFind(const std::vector<std::string>& items, const std::vector<std::string>& lines) {
  const ItemMatcher matcher(items);
  for (const std::string& line : lines) {
    const size_t expected = firstByFind(items, line);
    ASSERT_EQ(matcher.firstOccurring(line), expected) << "line: " << line;
    ASSERT_EQ(matcher.anyOccurs(line), expected != ItemMatcher::npos) << "line: " << line;
    // From every index on, where few items are; from a sample of them else.
    const size_t stride = items.size() <= 64 ? 1 : items.size() / 17;
    for (size_t from = 0; from <= items.size() + 1; from += stride)
      ASSERT_EQ(matcher.firstOccurringFrom(line, from), firstByFind(items, line, from))
          << "line: " << line << ", from " << from;
  }
}

TEST(ItemMatcher, FindsTheFirstItemOfTheListNotTheFirstInTheLine) {
  struct Case {
    std::vector<std::string> items;
    std::string line;
    size_t first;
  };
  const std::string nurupo = kNurupo;
  // The mark a pass puts for an empty companion line: a backslash and "a".
  const std::string emptyMark = "\\a";
  const Case cases[] = {
      {{"9to5", "8to6"}, "8to6 9to5", 0},
      {{"6to5", "7to5", "8to5", "9to5", "7to6", "8to6"}, "01 02 03 04 05 06 07 7to5 8to6", 1},
      {{"6to5", "7to5", "8to5", "9to5", "7to6", "8to6"},
       "01 02 03 04 05 06 07 08 8to",
       ItemMatcher::npos},
      // Overlapping items, one the suffix of another, one inside another.
      {{"hers", "she", "he"}, "ushers", 0},
      {{"his", "she", "he"}, "ushers", 1},
      {{"xyz", "he"}, "ushers", 1},
      {{"abcd", "bc"}, "abce", 1},
      {{"aab"}, "aaab", 0},
      // The same item twice: the first index counts.
      {{"x", "ab", "ab"}, "cab", 1},
      // Shift-JIS: found across the bytes of two characters, and not when
      // only a part of it stands.
      {{nurupo}, "\x82\xCA\x82\xE9\x82\xDB!", 0},
      {{"\xE9\x82"}, nurupo, 0},
      {{nurupo}, "\x82\xCA\x82\xE9", ItemMatcher::npos},
      // The empty-line mark is an item like any other, found only where it stands.
      {{emptyMark, " ID:"}, "", ItemMatcher::npos},
      {{emptyMark, " ID:"}, "> 1 :a :2017/08/14 16:15 ID:x", 1},
      {{"zz", emptyMark}, "a\\ab", 1},
      // An empty item occurs in every line, the empty one too.
      {{"abc", ""}, "", 1},
      {{"abc", ""}, "xabcx", 0},
      {{"", "abc"}, "xabcx", 0},
      // Items longer than the line, a NUL byte, bytes above 0x7F.
      {{"abcdef"}, "abc", ItemMatcher::npos},
      {{std::string("a\0b", 3)}, std::string("xa\0bx", 5), 0},
      {{"\xFF\xFE"}, "\x01\xFF\xFE", 0},
      {{}, "anything", ItemMatcher::npos},
  };
  for (const Case& c : cases) {
    const ItemMatcher matcher(c.items);
    EXPECT_EQ(matcher.firstOccurring(c.line), c.first) << c.line;
    EXPECT_EQ(matcher.anyOccurs(c.line), c.first != ItemMatcher::npos) << c.line;
    EXPECT_EQ(firstByFind(c.items, c.line), c.first) << "the table itself: " << c.line;
    for (size_t from = 0; from <= c.items.size(); ++from)
      EXPECT_EQ(matcher.firstOccurringFrom(c.line, from), firstByFind(c.items, c.line, from))
          << c.line << ", from " << from;
  }
}

TEST(ItemMatcher, AMatcherOfNoItemsFindsNothing) {
  const ItemMatcher none;
  EXPECT_EQ(none.size(), 0u);
  EXPECT_FALSE(none.anyOccurs(""));
  EXPECT_FALSE(none.anyOccurs("ぬるぽ ID:"));
  EXPECT_EQ(none.firstOccurring("x"), ItemMatcher::npos);
}

TEST(ItemMatcher, AnswersAsTheSearchOfEachItemOnAFewLetters) {
  // Few letters make many overlaps: prefixes, suffixes and repeats of items.
  std::mt19937 random(7);
  auto text = [&](size_t length) {
    std::string s;
    for (size_t i = 0; i < length; ++i) s += "abc"[random() % 3];
    return s;
  };
  for (int round = 0; round < 50; ++round) {
    std::vector<std::string> items;
    const int count = 1 + static_cast<int>(random() % 12);
    // Now and then an empty item, which occurs everywhere.
    for (int i = 0; i < count; ++i)
      items.push_back(text(round % 5 == 0 ? random() % 5 : 1 + random() % 5));
    std::vector<std::string> lines;
    for (int i = 0; i < 40; ++i) lines.push_back(text(random() % 16));
    expectAsFind(items, lines);
  }
}

TEST(ItemMatcher, AnswersAsTheSearchOfEachItemWithThousandsOfItems) {
  // Twenty thousand items of two-byte characters and IDs: far more states
  // than have a full row, so that the failure links are walked too.
  std::mt19937 random(11);
  const std::string kana = "\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8\x82\xA9\x82\xAB\x82\xAD";
  const std::string letters = "ABCDEFGHabcdefgh0123456789+/";
  auto kanaText = [&](size_t characters) {
    std::string s;
    for (size_t i = 0; i < characters; ++i) s += kana.substr(2 * (random() % 8), 2);
    return s;
  };
  auto id = [&] {
    std::string s = "ID:";
    for (int i = 0; i < 5; ++i) s += letters[random() % letters.size()];
    return s;
  };
  std::vector<std::string> items;
  for (int i = 0; i < 20000; ++i) items.push_back(i % 3 == 0 ? id() : kanaText(3 + random() % 4));
  std::vector<std::string> lines;
  for (int i = 0; i < 3000; ++i) {
    std::string line = kanaText(random() % 12) + " " + id() + " " + kanaText(random() % 12);
    // Now and then a line that holds an item whole.
    if (i % 7 == 0) line.insert(random() % (line.size() + 1), items[random() % items.size()]);
    lines.push_back(line);
  }
  expectAsFind(items, lines);
}

}  // namespace
