#include "GapID.hpp"

#include <gtest/gtest.h>

#include <thread>

#include "LocalTime.hpp"
#include "MemoryDisk.hpp"

namespace {

// With the clock at second 3 the generator discards three outputs, so its
// next outputs are 3633119408, 516391518, 2377269574.
std::time_t second3() { return 3; }

// Waits until the last look at tivor.txt no longer stands.
void lookAgainLater() {
  std::this_thread::sleep_for(GapID::kLookStands + std::chrono::microseconds(500));
}

std::string repeated(const std::string& token, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += token;
  return text + "\n";
}

TEST(GapID, StartsWhereTheGeneratorPointsAndShiftsByOnePerIdentifier) {
  MemoryDisk disk;
  disk.files["tivor.txt"] = "01 02 03 04 05 06 07 08 09 10 \n";
  FixedClock clock(second3());
  GapID ids(disk, clock);
  // Starts 8, then 1 + 1, then 5 + 2: upper half of r * 10 plus the count
  // made so far; a start near the end wraps to the beginning.
  EXPECT_EQ(ids.gapID(), " ID:zJ3bE6Ky");
  EXPECT_EQ(ids.gapID(), " ID:E6KychzJ");
  EXPECT_EQ(ids.gapID(), " ID:hzJ3bE6K");
}

TEST(GapID, ReadsTokensOfTwoDigitsAndSkipsTheRest) {
  struct Case {
    std::string text, id;
  };
  const Case cases[] = {
      {"01 02 03 04 05 06 07 08 \n", " ID:ch3bE6Ky"},  // start 6 of 8
      {"0102030405060708", " ID:ch3bE6Ky"},            // no blanks: more tokens than size / 3
      {"5 5 5 \n", " ID:UUUUUUUU"},                    // a digit and a blank reads as 51
      {"64 99 70 \n", " ID:llllllll"},                 // 64 and above: the last letter
      {"00 \n", " ID:////////"},
      {"ab 07 -1 x\r\n07\r\n\n", " ID:cccccccc"},  // no number in "ab", "-1", a lone "x"
  };
  for (const Case& c : cases) {
    MemoryDisk disk;
    disk.files["tivor.txt"] = c.text;
    FixedClock clock(second3());
    GapID ids(disk, clock);
    EXPECT_EQ(ids.gapID(), c.id) << c.text;
  }
}

TEST(GapID, NoFileOrNoNumbersGiveTheEmptyIdentifier) {
  MemoryDisk disk;
  FixedClock clock(second3());
  GapID ids(disk, clock);
  EXPECT_EQ(ids.gapID(), "");
  EXPECT_EQ(ids.failure().text, "e50: ifstream in( tivor.txt, ios::binary )");
  for (const char* text : {"", "   \n\n", "xx yy\n"}) {
    lookAgainLater();
    disk.files["tivor.txt"] = text;
    EXPECT_EQ(ids.gapID(), "") << text;
    EXPECT_EQ(ids.failure().text, "tivor.txt holds no numbers");
  }
  // Nothing was made and the generator did not move: the first identifier
  // is the one a fresh object makes.
  lookAgainLater();
  disk.files["tivor.txt"] = "01 02 03 04 05 06 07 08 09 10 \n";
  EXPECT_EQ(ids.gapID(), " ID:zJ3bE6Ky");
}

TEST(GapID, AChangedFileIsReadAfresh) {
  MemoryDisk disk;
  disk.files["tivor.txt"] = repeated("07 ", 20);
  FixedClock clock(second3());
  GapID ids(disk, clock);
  EXPECT_EQ(ids.gapID(), " ID:cccccccc");
  lookAgainLater();
  disk.files["tivor.txt"] = repeated("12 ", 20);  // same size
  EXPECT_EQ(ids.gapID(), " ID:gggggggg");
  lookAgainLater();
  disk.files.erase("tivor.txt");
  EXPECT_EQ(ids.gapID(), "");
  EXPECT_FALSE(ids.readTivorText());
  lookAgainLater();
  disk.files["tivor.txt"] = repeated("12 ", 20);
  EXPECT_EQ(ids.gapID(), " ID:gggggggg");
}

// A disk that counts the reads of its files.
class CountingDisk : public MemoryDisk {
 public:
  bool readFile(const std::string& name, std::string* contents,
                Links links = Links::kFollowed) override {
    ++reads;
    return MemoryDisk::readFile(name, contents, links);
  }
  int reads = 0;
};

TEST(GapID, OneLookServesTheIdentifiersOfAMillisecond) {
  CountingDisk disk;
  disk.files["tivor.txt"] = repeated("07 ", 20);
  FixedClock clock(second3());
  GapID ids(disk, clock);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(ids.gapID(), " ID:cccccccc");
  // A busy machine may have let the look lapse in between.
  if (std::chrono::steady_clock::now() - start < GapID::kLookStands) {
    EXPECT_EQ(disk.reads, 1);
  }
  lookAgainLater();
  EXPECT_EQ(ids.gapID(), " ID:cccccccc");
  EXPECT_GE(disk.reads, 2);
}

}  // namespace
