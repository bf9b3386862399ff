#include "Alterable.hpp"

#include <gtest/gtest.h>

#include "MemoryDisk.hpp"

namespace {

/// Exposes the base for tests; its pass does nothing.
class Probe : public Alterable {
 public:
  Probe() {
    std::string companionName = "companion.txt";
    setting(companionName, 30, true, false, false, false);
  }
  bool altering(std::string&) override { return true; }
  void game(int code, int highest) {
    loto = code;
    highestBall = highest;
    settingArrays();
  }
  using Alterable::foundItem;
  using Alterable::items;
  using Alterable::output;
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
  Probe probe;
  for (const Case& c : cases) EXPECT_EQ(probe.checkLine1(c.line), c.code) << c.line;
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
    Probe probe;
    probe.game(c.loto, c.highest);
    EXPECT_EQ(probe.countMeasureSort(c.line), c.expected) << c.line;
    EXPECT_EQ(probe.inquiry(), c.message) << c.line;
  }
}

TEST(Alterable, CountMeasureSortSeesNumbersFarIntoALongLine) {
  Probe probe;
  probe.game(6, 43);
  const std::string line = std::string(200, 'x') + "01 02 03 04 05 06";
  EXPECT_EQ(probe.countMeasureSort(line), "01 02 03 04 05 06");
  EXPECT_EQ(probe.countMeasureSort(std::string(200, 'x') + "123 04 05 06 07"), "");
  EXPECT_EQ(probe.inquiry(), "e49: span < NEIGHBOR");
}

TEST(Alterable, OpenSaveCloseDropsLeadingLineEnds) {
  struct Case {
    std::string output, written;
  };
  const Case cases[] = {{"\n\nabc\n", "abc\n"}, {"\n\n", "\n\n"}, {"", ""}, {"a\n\nb", "a\n\nb"}};
  for (const Case& c : cases) {
    MemoryDisk disk;
    ScopedDisk guard(&disk);
    Probe probe;
    probe.output = c.output;
    std::string name = "out.txt";
    ASSERT_TRUE(probe.openSaveClose(name));
    EXPECT_EQ(disk.files["out.txt"], c.written);
  }
}

TEST(Alterable, OpenSaveCloseReportsAFailedWrite) {
  MemoryDisk disk;
  disk.directories.insert("out.txt");
  ScopedDisk guard(&disk);
  Probe probe;
  std::string name = "out.txt";
  EXPECT_FALSE(probe.openSaveClose(name));
  EXPECT_EQ(probe.inquiry(), "e1: ofstream saveFile( out.txt )");
}

TEST(Alterable, CompanionLinesBecomeItems) {
  MemoryDisk disk;
  disk.files["companion.txt"] = "A\r\n\nB\n \n";
  ScopedDisk guard(&disk);
  Probe probe;
  ASSERT_TRUE(probe.readingToProduceArray());
  EXPECT_EQ(probe.items, (std::vector<std::string>{"A", "\\a", "B", " "}));
}

TEST(Alterable, MissingCompanionIsReported) {
  MemoryDisk disk;
  ScopedDisk guard(&disk);
  Probe probe;
  EXPECT_FALSE(probe.readingToProduceArray());
  EXPECT_EQ(probe.inquiry(), "e2: ifstream in( companion.txt )");
}

TEST(Alterable, SearchingItemSequenceTakesTheFirstItemOfTheList) {
  Probe probe;
  probe.items = {"9to5", "8to6"};
  EXPECT_TRUE(probe.searchingItemSequence("8to6 9to5"));
  EXPECT_EQ(probe.foundItem, "9to5");
  EXPECT_FALSE(probe.searchingItemSequence("7to5"));
  EXPECT_EQ(probe.foundItem, "9to5");
  EXPECT_TRUE(probe.searchingItem("x8to6"));
  EXPECT_FALSE(probe.searchingItem("8to"));
}

TEST(Alterable, GroupsAreListedUnderTheirHeader) {
  Probe probe;
  probe.clear("");
  probe.add("x");
  probe.listing();
  EXPECT_EQ(probe.output, "\nx\n");
  probe.clear("H");
  probe.add("y");
  probe.listing("T");
  EXPECT_EQ(probe.output, "\nx\nH\ny\nT");
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
