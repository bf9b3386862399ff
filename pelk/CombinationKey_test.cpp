#include "CombinationKey.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <random>
#include <string>
#include <vector>

namespace {

uint64_t bitsOf(std::initializer_list<int> numbers) {
  uint64_t mask = 0;
  for (int n : numbers) mask |= uint64_t{1} << n;
  return mask;
}

TEST(CombinationKey, HoldsACombinationAndWritesItsNormalForm) {
  struct Case {
    uint64_t mask;
    std::string text;
    int count;
  };
  const Case cases[] = {
      {bitsOf({2, 7, 19, 28, 33, 43}), "02 07 19 28 33 43", 6},
      {bitsOf({1, 2, 3, 4, 5}), "01 02 03 04 05", 5},
      {bitsOf({31, 32, 33, 34, 35, 36, 37}), "31 32 33 34 35 36 37", 7},
      {bitsOf({63}), "63", 1},
      {bitsOf({10, 20}), "10 20", 2},
  };
  for (const Case& c : cases) {
    CombinationKey byMask, byText;
    ASSERT_TRUE(CombinationKey::fromMask(c.mask, byMask)) << c.text;
    ASSERT_TRUE(CombinationKey::fromText(c.text, byText)) << c.text;
    EXPECT_EQ(byMask, byText) << c.text;
    EXPECT_EQ(byMask.text(), c.text);
    EXPECT_EQ(byMask.count(), c.count) << c.text;
    EXPECT_EQ(byMask.mask(), c.mask) << c.text;
    std::string appended = "x";
    byMask.appendText(appended);
    EXPECT_EQ(appended, "x" + c.text);
  }
  CombinationKey key;
  ASSERT_TRUE(CombinationKey::fromText("05 12 40", key));
  EXPECT_EQ(key.number(0), 5);
  EXPECT_EQ(key.number(2), 40);
  EXPECT_EQ(key.number(3), 0);
  EXPECT_EQ(CombinationKey().count(), 0);
  EXPECT_EQ(CombinationKey().text(), "");
}

TEST(CombinationKey, RefusesWhatIsNoCombinationOfSevenNumbersAtMost) {
  const std::string texts[] = {
      "",                         // no number
      "1 02 03",                  // one digit
      "01 2",                     // one digit at the end
      "01  02",                   // two blanks
      "01 02 ",                   // a trailing blank
      " 01 02",                   // a leading blank
      "02 01",                    // descending
      "01 01",                    // twice the same
      "00 05",                    // no number 0
      "64",                       // above 63
      "0a 05",                    // no digit
      "01,02",                    // no blank between
      "01 02 03 04 05 06 07 08",  // eight numbers
  };
  CombinationKey before;
  ASSERT_TRUE(CombinationKey::fromText("03 09 27", before));
  for (const std::string& text : texts) {
    CombinationKey key = before;
    EXPECT_FALSE(CombinationKey::fromText(text, key)) << "'" << text << "'";
    EXPECT_EQ(key, before) << "untouched on failure: '" << text << "'";
  }
  CombinationKey key;
  EXPECT_FALSE(CombinationKey::fromMask(bitsOf({0, 5}), key)) << "number 0";
  EXPECT_FALSE(CombinationKey::fromMask(bitsOf({1, 2, 3, 4, 5, 6, 7, 8}), key)) << "eight";
}

TEST(CombinationKey, KeysSortAsTheNormalFormsInByteOrder) {
  // Combinations of one to seven numbers of the three games, and some that
  // are prefixes of others.
  std::mt19937 random(3);
  std::vector<CombinationKey> keys;
  for (int i = 0; i < 5000; ++i) {
    const int highest = i % 3 == 0 ? 31 : i % 3 == 1 ? 43 : 37;
    const int count = 1 + static_cast<int>(random() % 7);
    uint64_t mask = 0;
    while (std::popcount(mask) < count) mask |= uint64_t{1} << (1 + random() % highest);
    CombinationKey key;
    ASSERT_TRUE(CombinationKey::fromMask(mask, key));
    keys.push_back(key);
    // The same with its largest number dropped: a prefix of its text.
    if (count > 1 &&
        CombinationKey::fromMask(mask & ~(uint64_t{1} << (63 - std::countl_zero(mask))), key))
      keys.push_back(key);
  }
  std::vector<std::string> texts;
  for (const CombinationKey& key : keys) texts.push_back(key.text());
  std::sort(keys.begin(), keys.end());
  std::sort(texts.begin(), texts.end());
  for (size_t i = 0; i < keys.size(); ++i) ASSERT_EQ(keys[i].text(), texts[i]) << i;
  // Equal keys are equal texts and the other way round.
  for (size_t i = 1; i < keys.size(); ++i)
    ASSERT_EQ(keys[i] == keys[i - 1], texts[i] == texts[i - 1]) << i;
}

}  // namespace
