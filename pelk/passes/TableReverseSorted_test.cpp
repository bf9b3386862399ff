#include "passes/TableReverseSorted.hpp"

#include <gtest/gtest.h>

#include <ctime>

#include "Clock.hpp"
#include "LocalTime.hpp"
#include "MemoryDisk.hpp"
#include "ShiftJis.hpp"
#include "passes/PassTesting.hpp"

namespace {

const std::string kColon = kZenkakuColon;
const std::string kMinilotoLine1 = "01 02 03 04 05 06 -";

struct Table : Configured<TableReverseSorted> {
  Table(Disk& disk, const Clock& clock, bool keepLine1 = true, bool overwrite = true)
      : Configured(disk, clock, "tabulate.txt", keepLine1, overwrite) {}
};

// Rows "<number><separator><count>" for the given numbers, all with one count.
std::string rows(std::initializer_list<int> numbers, const std::string& separator, int count) {
  std::string text;
  for (int n : numbers) {
    text += std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
    text += separator + std::to_string(count) + "\n";
  }
  return text;
}

// Miniloto numbers that no combination of kMinilotoThread holds.
const std::initializer_list<int> kUnused = {7,  8,  9,  11, 12, 13, 14, 15, 16, 17, 18,
                                            19, 21, 22, 23, 24, 25, 26, 27, 28, 29};
const std::string kMinilotoThread = kMinilotoLine1 + "\n" + kHeader +
                                    "\n01 02 03 04 05\n03 02 01 04 06\n" + kHeader +
                                    "\n01 02 03 04 06\n31 03 10 20 30\n01 02 03\n";

TEST(TableReverseSorted, CountsDistinctCombinationsMostFrequentFirst) {
  MemoryDisk disk;
  disk.files["tabulate.txt"] = "-1-\n.txt\n-1\n | \n";
  disk.files["t.txt"] = kMinilotoThread;
  Table pass(disk, kAnyTime);
  std::string name = "t.txt";
  testing::internal::CaptureStdout();
  ASSERT_TRUE(pass.altering(name)) << pass.inquiry();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "01 02 03 04 06\n");
  EXPECT_EQ(disk.files["who.txt"], rows({3}, " | ", 3) + rows({1, 2, 4}, " | ", 2) +
                                       rows({5, 6, 10, 20, 30, 31}, " | ", 1) +
                                       rows(kUnused, " | ", 0));
}

TEST(TableReverseSorted, CompanionLinesSteerTheTable) {
  const std::string descending = rows({3}, " | ", 3) + rows({1, 2, 4}, " | ", 2) +
                                 rows({5, 6, 10, 20, 30, 31}, " | ", 1) + rows(kUnused, " | ", 0);
  struct Case {
    std::string companion;
    bool keepLine1;
    std::string name, written;
  };
  const Case cases[] = {
      {"-1-\n.txt\n-1\n | \n", true, "tab14-5.txt", descending},
      {"", true, "tab14-5.txt", descending},  // an empty file reads as the default one
      {"keep\n", true, "tab14-5.txt", kMinilotoLine1 + "\n" + descending},
      {"keep\n.csv\n", false, "tab14-5.csv", descending},
      {"-1-\n.csv\n-1\n", true, "tab14-5.csv", descending},
      {"\n\n\n\n", true, "tab14-5.txt",
       kMinilotoLine1 + "\n" + rows(kUnused, "", 0) + rows({5, 6, 10, 20, 30, 31}, "", 1) +
           rows({1, 2, 4}, "", 2) + rows({3}, "", 3)},
      {"-1-\n.txt\n+1\n\t:\t\n", true, "tab14-5.txt",
       rows(kUnused, "\t:\t", 0) + rows({5, 6, 10, 20, 30, 31}, "\t:\t", 1) +
           rows({1, 2, 4}, "\t:\t", 2) + rows({3}, "\t:\t", 3)},
  };
  for (const Case& c : cases) {
    MemoryDisk disk;
    disk.files["tabulate.txt"] = c.companion;
    disk.files["t.txt"] = kMinilotoThread;
    FixedClock clock(at14m5s());
    Table pass(disk, clock, c.keepLine1, false);
    std::string name = "t.txt";
    testing::internal::CaptureStdout();
    ASSERT_TRUE(pass.altering(name)) << pass.inquiry();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(pass.altered(), c.name) << c.companion;
    EXPECT_EQ(disk.files[c.name], c.written) << c.companion;
  }
}

TEST(TableReverseSorted, BarLengthIsTheCountUpToFifty) {
  struct Case {
    int count, largest, length;
  };
  const Case cases[] = {
      // Counts up to 50 stand as they are.
      {1, 1, 1},
      {2, 3, 2},
      {50, 50, 50},
      // Above 50 they are scaled to 50, rounded down, but never below one.
      {51, 51, 50},
      {26, 51, 25},
      {2, 51, 1},
      {1, 100, 1},
      {1, 1000, 1},
      {2000000000, 2000000000, 50},
      {1000000000, 2000000000, 25},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TableReverseSorted::barLength(c.count, c.largest), c.length)
        << c.count << " of " << c.largest;
}

TEST(TableReverseSorted, FifthLineDrawsBars) {
  // Without bars: the rows of kMinilotoThread, most frequent first.
  struct Row {
    std::initializer_list<int> numbers;
    int count;
  };
  const Row table[] = {{{3}, 3}, {{1, 2, 4}, 2}, {{5, 6, 10, 20, 30, 31}, 1}, {kUnused, 0}};
  auto barred = [&](const std::string& separator, const std::string& bar, bool ascending) {
    std::string text;
    for (size_t i = 0; i < std::size(table); ++i) {
      const Row& row = table[ascending ? std::size(table) - 1 - i : i];
      for (int n : row.numbers) {
        text += rows({n}, separator, row.count);
        if (row.count == 0) continue;
        text.pop_back();
        text += " ";
        for (int k = 0; k < row.count; ++k) text += bar;
        text += "\n";
      }
    }
    return text;
  };
  const std::string square = "\x81\xA1";  // a full-width square, Shift-JIS
  struct Case {
    std::string companion, written;
  };
  const Case cases[] = {
      {"-1-\n.txt\n-1\n | \n#\n", barred(" | ", "#", false)},
      {"-1-\n.txt\n-1\n | \n" + square + "\nmore\n", barred(" | ", square, false)},
      {"-1-\n.txt\n+1\n:\n<>\n", barred(":", "<>", true)},
      {"-1-\n.txt\n-1\n\n*\n", barred("", "*", false)},
      // An empty fifth line draws no bar, as no fifth line does.
      {"-1-\n.txt\n-1\n | \n\n", rows({3}, " | ", 3) + rows({1, 2, 4}, " | ", 2) +
                                     rows({5, 6, 10, 20, 30, 31}, " | ", 1) +
                                     rows(kUnused, " | ", 0)},
  };
  for (const Case& c : cases) {
    MemoryDisk disk;
    disk.files["tabulate.txt"] = c.companion;
    disk.files["t.txt"] = kMinilotoThread;
    Table pass(disk, kAnyTime);
    std::string name = "t.txt";
    testing::internal::CaptureStdout();
    ASSERT_TRUE(pass.altering(name)) << pass.inquiry();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(disk.files["who.txt"], c.written) << c.companion;
  }
}

TEST(TableReverseSorted, BarsOfLargeCountsAreScaledToFifty) {
  // 53 combinations "01 02 03 a b" with a = 04 or 05: 01 to 03 are in all
  // 53, 04 and 05 in 27 each, 06 to 31 in 2 each.
  std::string thread = kMinilotoLine1 + "\n" + kHeader + "\n";
  auto two = [](int n) { return std::string{char('0' + n / 10), char('0' + n % 10)}; };
  for (int a = 4; a <= 5; ++a)
    for (int b = a + 1; b <= 31; ++b) thread += "01 02 03 " + two(a) + " " + two(b) + "\n";
  std::string expected;
  for (int n = 1; n <= 3; ++n) expected += two(n) + " | 53 " + std::string(50, '=') + "\n";
  for (int n = 4; n <= 5; ++n) expected += two(n) + " | 27 " + std::string(25, '=') + "\n";
  for (int n = 6; n <= 31; ++n) expected += two(n) + " | 2 =\n";
  MemoryDisk disk;
  disk.files["tabulate.txt"] = "-1-\n.txt\n-1\n | \n=\n";
  disk.files["t.txt"] = thread;
  Table pass(disk, kAnyTime);
  std::string name = "t.txt";
  ASSERT_TRUE(pass.altering(name)) << pass.inquiry();
  EXPECT_EQ(disk.files["who.txt"], expected);
}

TEST(TableReverseSorted, EveryNumberOfTheGameIsListedOnce) {
  struct Case {
    std::string line1;
    int highest;
  };
  const Case cases[] = {
      {"01 02 03 04 05 06 -", 31},
      {"01 02 03 04 05 06 07 ", 43},
      {"01 02 03 04 05 06 07 08 09 ", 37},
  };
  for (const Case& c : cases) {
    for (const std::string order : {"-1", "1"}) {
      MemoryDisk disk;
      disk.files["tabulate.txt"] = "-1-\n.txt\n" + order + "\n | \n";
      disk.files["t.txt"] = c.line1 + "\n" + kHeader + "\nno combination\n";
      Table pass(disk, kAnyTime);
      std::string name = "t.txt";
      ASSERT_TRUE(pass.altering(name)) << pass.inquiry();
      std::string expected;
      for (int n = 1; n <= c.highest; ++n)
        expected += (n < 10 ? "0" : "") + std::to_string(n) + " | 0\n";
      EXPECT_EQ(disk.files["who.txt"], expected) << c.line1 << order;
    }
  }
}

}  // namespace
