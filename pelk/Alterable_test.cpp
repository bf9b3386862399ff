#include "Alterable.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "Clock.hpp"
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
