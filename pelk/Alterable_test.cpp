#include "Alterable.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <random>

#include "Clock.hpp"
#include "CombinationScanner.hpp"
#include "Games.hpp"
#include "MemoryDisk.hpp"
#include "passes/PassList.hpp"

namespace {

/// Exposes the base for tests; its pass does nothing.
class Probe : public Alterable {
 public:
  explicit Probe(Disk& disk) { setting({.companion = "companion.txt", .disk = &disk}); }
  bool altering(std::string&) override { return true; }
  /// The output goes to `name` (and may be handed on to it as it grows).
  void naming(const std::string& name) {
    outputName = name;
    posts.naming(name);
  }
  using Alterable::foundItem;
  using Alterable::items;
  using Alterable::posts;
  using Alterable::readingToProduceArray;
  using Alterable::searchingItem;
  using Alterable::searchingItemSequence;
};

TEST(Alterable, CheckLine1ClassifiesTheDraw) {
  struct Case {
    std::string line;
    int code;
  };
  const Case cases[] = {
      {"01 02 03 04 05 06 -", 5},
      {"01 02 03 04 05 06", 4},  // five blanks only
      {"01 02 03 04 05 06 ", 5},
      {"05 12 19 27 33 41 08 -", 6},
      {"05 12 19 27 33 41 08 ", 6},
      {"05 12 19 27 33 41 08 xyz", 3},
      {"01 02 03 04 05 06 07 08 09 ", 7},
      {"01 02 03 04 05 06 07 08 09 - x", 7},
      {"01 02 03 04 05", 4},
      {"01 02 03 04 05 06 07 08 09 10", 3},
      {"1 2 3 4 5 6 7", 3},  // ends before every offset examined
      {"", 4},
  };
  for (const Case& c : cases) EXPECT_EQ(checkLine1(c.line), c.code) << c.line;
}

TEST(Alterable, CountMeasureSortNormalisesOrRejects) {
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

TEST(Alterable, CountMeasureSortSeesNumbersFarIntoALongLine) {
  CombinationScanner scanner(*gameOfCode(6));
  std::string message;
  const std::string line = std::string(200, 'x') + "01 02 03 04 05 06";
  EXPECT_EQ(scanner.countMeasureSort(line, message), "01 02 03 04 05 06");
  EXPECT_EQ(scanner.countMeasureSort(std::string(200, 'x') + "123 04 05 06 07", message), "");
  EXPECT_EQ(message, "e49: span < NEIGHBOR");
}

TEST(Alterable, OpenSaveCloseDropsLeadingLineEnds) {
  struct Case {
    std::string output, written;
  };
  const Case cases[] = {{"\n\nabc\n", "abc\n"}, {"\n\n", "\n\n"}, {"", ""}, {"a\n\nb", "a\n\nb"}};
  for (const Case& c : cases) {
    MemoryDisk disk;
    Probe probe(disk);
    probe.posts.writing(c.output);
    std::string name = "out.txt";
    ASSERT_TRUE(probe.openSaveClose(name));
    EXPECT_EQ(disk.files["out.txt"], c.written);
  }
}

TEST(Alterable, OpenSaveCloseReportsAFailedWrite) {
  MemoryDisk disk;
  disk.directories.insert("out.txt");
  Probe probe(disk);
  std::string name = "out.txt";
  EXPECT_FALSE(probe.openSaveClose(name));
  EXPECT_EQ(probe.inquiry(), "e1: ofstream saveFile( out.txt )");
}

// Lists groups of `lines` lines of 99 bytes under an empty header first,
// then under headers; returns the text that a whole write would give.
std::string listGroups(Probe& probe, int groups, int lines) {
  std::string expected;
  const std::string body(99, 'b');
  for (int g = 0; g < groups; ++g) {
    const std::string header = g == 0 ? "" : "H" + std::to_string(g);
    probe.posts.clear(header);
    if (g > 0) expected += header + "\n";
    for (int k = 0; k < lines; ++k) {
      probe.posts.add(body);
      expected += body + "\n";
    }
    probe.posts.listing();
  }
  return expected;
}

TEST(Alterable, LargeOutputIsHandedOnAsItGrows) {
  MemoryDisk disk;
  Probe probe(disk);
  probe.naming("out.txt");
  // 3 MB in groups of 10 kB: the output never holds much more than 1 MB.
  const std::string expected = listGroups(probe, 300, 100);
  EXPECT_LT(probe.posts.output().size(), size_t{1100000});
  std::string name = "out.txt";
  ASSERT_TRUE(probe.openSaveClose(name));
  EXPECT_EQ(disk.files["out.txt"], expected);
}

TEST(Alterable, StreamedGroupsAreHandedOnAsTheyGrow) {
  // One group of 3 MB, as a thread without headers gives: a streaming
  // assembler holds about 1 MB of it and writes the same bytes.
  for (bool streaming : {false, true}) {
    MemoryDisk disk;
    Probe probe(disk);
    probe.naming("out.txt");
    if (streaming) probe.posts.streaming();
    probe.posts.clear("H0");
    std::string expected = "H0\n";
    std::size_t held = 0;
    for (int g = 0; g < 2; ++g) {
      for (int k = 0; k < 15000; ++k) {
        const std::string body = std::to_string(g) + std::string(99, 'b');
        probe.posts.add(body);
        expected += body + "\n";
        held = std::max(held, probe.posts.output().size() + probe.posts.group().size());
      }
      probe.posts.listing("T");
      expected += "T";
      probe.posts.clear("H1");
      expected += "H1\n";
    }
    probe.posts.listing();
    if (streaming) {
      EXPECT_LT(held, size_t{2200000});
    }
    std::string name = "out.txt";
    ASSERT_TRUE(probe.openSaveClose(name));
    EXPECT_EQ(disk.files["out.txt"], expected) << streaming;
  }
}

TEST(Alterable, LargeOutputOfAFailedPassLeavesNoFile) {
  MemoryDisk disk;
  {
    Probe probe(disk);
    probe.naming("out.txt");
    listGroups(probe, 300, 100);
  }
  EXPECT_EQ(disk.files.count("out.txt"), 0u);

  disk.unwritable.insert("out.txt");
  Probe probe(disk);
  probe.naming("out.txt");
  listGroups(probe, 300, 100);
  std::string name = "out.txt";
  EXPECT_FALSE(probe.openSaveClose(name));
  EXPECT_EQ(probe.inquiry(), "e1: ofstream saveFile( out.txt )");
  EXPECT_EQ(disk.files.count("out.txt"), 0u);
}

TEST(Alterable, LargeOutputOfLineEndsOnlyIsKeptWhole) {
  MemoryDisk disk;
  Probe probe(disk);
  probe.naming("out.txt");
  const std::string ends(1500000, '\n');
  probe.posts.clear(ends);
  probe.posts.listing();
  EXPECT_EQ(probe.posts.output().size(), ends.size() + 1);
  std::string name = "out.txt";
  ASSERT_TRUE(probe.openSaveClose(name));
  EXPECT_EQ(disk.files["out.txt"], ends + "\n");
}

/// A disk whose files fail to read after their first `failAt` bytes.
class FailingDisk : public MemoryDisk {
 public:
  class Reader : public Disk::Reader {
   public:
    Reader(std::string text, size_t failAt) : text_(std::move(text)), failAt_(failAt) {}
    size_t read(char* buffer, size_t size) override {
      const size_t n = text_.copy(buffer, std::min(size, failAt_ - std::min(at_, failAt_)), at_);
      at_ += n;
      failed_ = n == 0 && at_ < text_.size();
      return n;
    }
    bool failed() const override { return failed_; }

   private:
    std::string text_;
    size_t failAt_, at_ = 0;
    bool failed_ = false;
  };
  std::unique_ptr<Disk::Reader> openReader(const std::string& name) override {
    auto it = files.find(name);
    if (it == files.end()) return nullptr;
    return std::make_unique<Reader>(it->second, failAt);
  }
  size_t failAt = std::string::npos;
};

/// Copies the thread to "out.txt" line by line.
class Copying : public Alterable {
 public:
  explicit Copying(Disk& disk) { setting({.companion = "companion.txt", .disk = &disk}); }
  bool altering(std::string& threadName) override {
    ThreadFile thread(disk(), ThreadMessages{33, 34});
    if (!opening(thread, threadName)) return false;
    outputName = "out.txt";
    posts.naming(outputName);
    for (std::string line; thread.next(line);) posts.writingLine(line);
    return openSaveClose(outputName);
  }
};

TEST(Alterable, ThreadIsReadAsTheLinesAreAskedFor) {
  FailingDisk disk;
  std::string thread;
  for (int k = 0; k < 40000; ++k) thread += "line " + std::to_string(k) + " of the thread\n";
  disk.files["who.txt"] = thread;
  std::string name = "who.txt";
  Copying whole(disk);
  ASSERT_TRUE(whole.altering(name));
  EXPECT_TRUE(disk.files["out.txt"] == thread);

  std::string missing = "none.txt";
  Copying none(disk);
  EXPECT_FALSE(none.altering(missing));
  EXPECT_EQ(none.inquiry(), "e33: ifstream in( none.txt )");
}

TEST(Alterable, FailedReadOfTheThreadWritesNothing) {
  // Early, and after more than a part of the output has been handed on.
  for (size_t failAt : {size_t{10}, size_t{1500000}}) {
    FailingDisk disk;
    disk.failAt = failAt;
    for (int k = 0; k < 400000; ++k) disk.files["who.txt"] += "line\n";
    std::string name = "who.txt";
    Copying copying(disk);
    EXPECT_FALSE(copying.altering(name)) << failAt;
    EXPECT_EQ(copying.inquiry(), "e33: ifstream in( who.txt )") << failAt;
    EXPECT_EQ(disk.files.count("out.txt"), 0u) << failAt;
  }
}

TEST(Alterable, UniquingCombosSortsInByteOrderAndAnnouncesCopies) {
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

TEST(Alterable, UniquingKeysAgreesWithUniquingTexts) {
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

TEST(Alterable, CompanionLinesBecomeItems) {
  MemoryDisk disk;
  disk.files["companion.txt"] = "A\r\n\nB\n \n";
  Probe probe(disk);
  ASSERT_TRUE(probe.readingToProduceArray());
  EXPECT_EQ(probe.items, (std::vector<std::string>{"A", "\\a", "B", " "}));
}

TEST(Alterable, MissingCompanionIsReported) {
  MemoryDisk disk;
  Probe probe(disk);
  EXPECT_FALSE(probe.readingToProduceArray());
  EXPECT_EQ(probe.inquiry(), "e2: ifstream in( companion.txt )");
}

// A pass handed no disk or no clock stops rather than use the real ones.
TEST(Alterable, PassWithoutDiskOrClockStops) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const FixedClock clock(1502694845);
  MemoryDisk disk;
  disk.files["who.txt"] = "05 12 19 27 33 41 08 - draw\n";
  disk.files["exclude.txt"] = "x\n";
  EXPECT_DEATH(
      {
        std::unique_ptr<Alterable> pass = defaultPass();
        pass->setting({.clock = &clock});
        std::string name = "who.txt";
        pass->altering(name);
      },
      "pelk: a pass ran without a disk");
  EXPECT_DEATH(
      {
        std::unique_ptr<Alterable> pass = defaultPass();
        pass->setting({.overwrite = false, .disk = &disk});
        std::string name = "who.txt";
        pass->altering(name);
      },
      "pelk: a pass ran without a clock");
  // Both handed in: the pass runs on the MemoryDisk alone.
  std::unique_ptr<Alterable> pass = defaultPass();
  pass->setting({.disk = &disk, .clock = &clock});
  std::string name = "who.txt";
  ASSERT_TRUE(pass->altering(name)) << pass->inquiry();
  EXPECT_EQ(disk.files.count(pass->altered()), 1u);
}

TEST(Alterable, SearchingItemSequenceTakesTheFirstItemOfTheList) {
  MemoryDisk disk;
  Probe probe(disk);
  probe.items = {"9to5", "8to6"};
  EXPECT_TRUE(probe.searchingItemSequence("8to6 9to5"));
  EXPECT_EQ(probe.foundItem, "9to5");
  EXPECT_FALSE(probe.searchingItemSequence("7to5"));
  EXPECT_EQ(probe.foundItem, "9to5");
  EXPECT_TRUE(probe.searchingItem("x8to6"));
  EXPECT_FALSE(probe.searchingItem("8to"));
}

TEST(Alterable, SearchesSeeItemsAddedAfterTheFirstSearch) {
  MemoryDisk disk;
  Probe probe(disk);
  probe.items = {"9to5"};
  EXPECT_FALSE(probe.searchingItem("8to6"));
  probe.items.push_back("8to6");
  EXPECT_TRUE(probe.searchingItem("8to6"));
  EXPECT_TRUE(probe.searchingItemSequence("a 8to6"));
  EXPECT_EQ(probe.foundItem, "8to6");
}

TEST(Alterable, GroupsAreListedUnderTheirHeader) {
  PostAssembler posts;
  posts.clear("");
  posts.add("x");
  posts.listing();
  EXPECT_EQ(posts.output(), "\nx\n");
  posts.clear("H");
  posts.add("y");
  posts.listing("T");
  EXPECT_EQ(posts.output(), "\nx\nH\ny\nT");
}

TEST(Alterable, StringToIntegerReadsALeadingInteger) {
  struct Case {
    std::string text;
    int value;
  };
  const Case cases[] = {
      {"42", 42},
      {"  -7x", -7},
      {"abc", 0},
      {"", 0},
      {"12 13", 12},
      {"+5", 5},
      {"- 5", 0},
      {"+-3", 0},
      {"-", 0},
      {"\t\v\f\n 8", 8},
      {"007", 7},
      {"1:", 1},
      {"2147483647", 2147483647},
      {"2147483648", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"-2147483649", -2147483647 - 1},
      {"99999999999999999999", 2147483647},
  };
  for (const Case& c : cases) EXPECT_EQ(stringToInteger(c.text), c.value) << c.text;
}

}  // namespace
