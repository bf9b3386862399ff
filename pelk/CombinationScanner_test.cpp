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
#include "Messages.hpp"

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
    Failure note;
    EXPECT_EQ(scanner.countMeasureSort(c.line, note), c.expected) << c.line;
    EXPECT_EQ(note.text, c.message) << c.line;
  }
}

TEST(CombinationScanner, CountMeasureSortSeesNumbersFarIntoALongLine) {
  CombinationScanner scanner(*gameOfCode(6));
  Failure note;
  const std::string line = std::string(200, 'x') + "01 02 03 04 05 06";
  EXPECT_EQ(scanner.countMeasureSort(line, note), "01 02 03 04 05 06");
  EXPECT_EQ(scanner.countMeasureSort(std::string(200, 'x') + "123 04 05 06 07", note), "");
  EXPECT_EQ(note.number, messages::kSpan);
  EXPECT_EQ(note.text, "e49: span < NEIGHBOR");
}

/// The distinct texts in byte order, each further copy written to `copies`
/// as a line: what uniquing the keys of the texts must give.
std::vector<std::string> uniqueTexts(std::vector<std::string> texts, std::string& copies) {
  std::sort(texts.begin(), texts.end());
  copies.clear();
  for (size_t i = 1; i < texts.size(); ++i)
    if (texts[i] == texts[i - 1]) copies += texts[i] + "\n";
  texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
  return texts;
}

TEST(CombinationScanner, UniquingKeysSortsAsTheirTextsAndAnnouncesCopies) {
  std::mt19937 random(11);
  for (auto [count, highest] : {std::pair{5, 31}, std::pair{6, 43}, std::pair{7, 37}}) {
    for (int size : {0, 100, 6000}) {
      std::vector<std::string> texts;
      std::vector<CombinationKey> keys;
      for (int k = 0; k < size; ++k) {
        uint64_t mask = 0;
        while (std::popcount(mask) < count) mask |= uint64_t{1} << (1 + random() % highest);
        CombinationKey key;
        ASSERT_TRUE(CombinationKey::fromMask(mask, key));
        keys.push_back(key);
        texts.push_back(key.text());
      }
      for (int k = 0; k < size / 10; ++k) {
        const size_t at = random() % keys.size();
        keys.push_back(keys[at]);
        texts.push_back(texts[at]);
      }
      std::string copies;
      const std::vector<std::string> expected = uniqueTexts(texts, copies);
      testing::internal::CaptureStdout();
      uniquingCombos(keys);
      EXPECT_EQ(testing::internal::GetCapturedStdout(), copies) << count << " of " << size;
      std::vector<std::string> keyTexts;
      for (const CombinationKey& key : keys) keyTexts.push_back(key.text());
      EXPECT_EQ(keyTexts, expected) << count << " of " << size;
    }
  }
}

}  // namespace
