#include "CombinationScanner.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "CombinationKey.hpp"
#include "Games.hpp"

namespace {

TEST(CombinationScanner, CountMeasureSortNormalisesOrRejects) {
  struct Case {
    int loto, highest;
    std::string line, expected, message;
  };
  const Case cases[] = {
      {6, 43, "43 07 19 02 33 28", "02 07 19 28 33 43", ""},
      {6, 43, "01 02 03 04 05", "", "e48: c != loto"},
      {6, 43, "01 02 03 04 05 066", "01 02 03 04 05 06", ""},
      {6, 43, "123 04 05 06 07", "", "e49: span < NEIGHBOR"},
      {7, 37, "01 02 03 04 05 066", "", "e48: c != loto"},
      {5, 31, "31 01 12 20 09", "01 09 12 20 31", ""},
      {5, 31, "32 01 12 20 09", "", "e48: c != loto"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(gameOfCode(c.loto)->highestBall, c.highest);
    CombinationScanner scanner(*gameOfCode(c.loto));
    std::string message;
    EXPECT_EQ(scanner.countMeasureSort(c.line, message), c.expected) << c.line;
    EXPECT_EQ(message, c.message) << c.line;
  }
}

TEST(CombinationScanner, CountMeasureSortSeesNumbersFarIntoALongLine) {
  CombinationScanner scanner(*gameOfCode(6));
  std::string message;
  const std::string line = std::string(200, 'x') + "01 02 03 04 05 06";
  EXPECT_EQ(scanner.countMeasureSort(line, message), "01 02 03 04 05 06");
  EXPECT_EQ(scanner.countMeasureSort(std::string(200, 'x') + "123 04 05 06 07", message), "");
  EXPECT_EQ(message, "e49: span < NEIGHBOR");
}

TEST(CombinationScanner, UniquingCombosSortsInByteOrderAndAnnouncesCopies) {
  // Normal forms of each game, enough of them to be sorted by their digits,
  // and short lists and texts of other shapes (sorted as texts).
  std::mt19937 random(7);
  auto form = [&](int count, int highest) {
    std::string text;
    for (int k = 0; k < count; ++k) {
      const int n = 1 + static_cast<int>(random() % highest);
      text += std::string(k ? " " : "") + char('0' + n / 10) + char('0' + n % 10);
    }
    return text;
  };
  std::vector<std::vector<std::string>> cases;
  for (auto [count, highest] : {std::pair{5, 31}, std::pair{6, 43}, std::pair{7, 37}}) {
    std::vector<std::string> combos;
    for (int k = 0; k < 5000; ++k) combos.push_back(form(count, highest));
    for (int k = 0; k < 500; ++k) combos.push_back(combos[random() % combos.size()]);
    cases.push_back(combos);
    cases.emplace_back(combos.begin(), combos.begin() + 100);
  }
  cases.push_back({"09 10 11 12 13", "01 02 03 04 05", "01 02 03 04 05", "1 02 03 04 05 0"});
  cases.push_back({"02 03 04 05 06", "01 02 03 04 05 06", "02 03 04 05 06", "01 02 03 04 05"});
  cases.push_back({});
  for (const std::vector<std::string>& combos : cases) {
    std::vector<std::string> expected = combos;
    std::sort(expected.begin(), expected.end());
    std::string copies;
    for (size_t i = 1; i < expected.size(); ++i)
      if (expected[i] == expected[i - 1]) copies += expected[i] + "\n";
    expected.erase(std::unique(expected.begin(), expected.end()), expected.end());

    std::vector<std::string> uniqued = combos;
    testing::internal::CaptureStdout();
    uniquingCombos(uniqued);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), copies);
    EXPECT_EQ(uniqued, expected);
  }
}

TEST(CombinationScanner, UniquingKeysAgreesWithUniquingTexts) {
  std::mt19937 random(11);
  for (auto [count, highest] : {std::pair{5, 31}, std::pair{6, 43}, std::pair{7, 37}}) {
    std::vector<std::string> texts;
    std::vector<CombinationKey> keys;
    for (int k = 0; k < 6000; ++k) {
      uint64_t mask = 0;
      while (std::popcount(mask) < count) mask |= uint64_t{1} << (1 + random() % highest);
      CombinationKey key;
      ASSERT_TRUE(CombinationKey::fromMask(mask, key));
      keys.push_back(key);
      texts.push_back(key.text());
    }
    for (int k = 0; k < 600; ++k) {
      const size_t at = random() % keys.size();
      keys.push_back(keys[at]);
      texts.push_back(texts[at]);
    }
    testing::internal::CaptureStdout();
    uniquingCombos(texts);
    const std::string textCopies = testing::internal::GetCapturedStdout();
    testing::internal::CaptureStdout();
    uniquingCombos(keys);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), textCopies);
    std::vector<std::string> keyTexts;
    for (const CombinationKey& key : keys) keyTexts.push_back(key.text());
    EXPECT_EQ(keyTexts, texts);
  }
}

}  // namespace
