#include "TimeName.hpp"

#include <gtest/gtest.h>

#include "Clock.hpp"
#include "MemoryDisk.hpp"

namespace {

// 14 minutes 5 seconds past some hour, whatever the local time zone.
std::time_t at(int minute, int second) {
  std::tm when{};
  when.tm_year = 117;
  when.tm_mon = 7;
  when.tm_mday = 14;
  when.tm_hour = 16;
  when.tm_min = minute;
  when.tm_sec = second;
  when.tm_isdst = -1;
  return std::mktime(&when);
}

TEST(TimeName, NamesFromMinuteAndSecondWithoutPadding) {
  MemoryDisk disk;
  disk.files["serial.txt"] = "11\n";
  ScopedDisk guard(&disk);
  ScopedClock clock([] { return at(9, 0); });
  EXPECT_EQ(TimeName("who", ".txt").temporaryName(false), "who9-0.txt");
  EXPECT_EQ(disk.files["serial.txt"], "11\n");
  EXPECT_EQ(TimeName("who", ".txt").temporaryName(true), "who12-9-0.txt");
  EXPECT_EQ(disk.files["serial.txt"], "12\n");
}

TEST(TimeName, RepeatedNameGetsASerialNumber) {
  MemoryDisk disk;
  disk.files["serial.txt"] = "11\n";
  ScopedDisk guard(&disk);
  ScopedClock clock([] { return at(14, 5); });
  TimeName name("who", ".txt");
  EXPECT_EQ(name.temporaryName(false), "who14-5.txt");
  EXPECT_EQ(name.temporaryName(false), "who12-14-5.txt");
  EXPECT_EQ(disk.files["serial.txt"], "12\n");
  // Two objects asked in the same second give the same name.
  EXPECT_EQ(TimeName("cmb", ".txt").temporaryName(false),
            TimeName("cmb", ".txt").temporaryName(false));
}

TEST(TimeName, SerialFileIsCreatedOrParsedFromItsStart) {
  struct Case {
    bool present;
    std::string content, name, after;
  };
  const Case cases[] = {
      {false, "", "who1-14-5.txt", "1\n"},
      {true, "41abc\n", "who42-14-5.txt", "42\n"},
      {true, "abc\n", "who1-14-5.txt", "1\n"},
      {true, "", "who1-14-5.txt", "1\n"},
      {true, std::string(384, '7') + "\n", "who1-14-5.txt", "1\n"},
  };
  for (const Case& c : cases) {
    MemoryDisk disk;
    if (c.present) disk.files["serial.txt"] = c.content;
    ScopedDisk guard(&disk);
    ScopedClock clock([] { return at(14, 5); });
    EXPECT_EQ(TimeName("who", ".txt").temporaryName(true), c.name) << c.content;
    EXPECT_EQ(disk.files["serial.txt"], c.after);
  }
}

TEST(TimeName, UnwritableSerialFileKeepsTheNumberForTheRun) {
  MemoryDisk disk;
  disk.files["serial.txt"] = "5\n";
  disk.unwritable.insert("serial.txt");
  ScopedDisk guard(&disk);
  ScopedClock clock([] { return at(14, 5); });
  EXPECT_EQ(TimeName("tab", ".csv").temporaryName(true), "tab6-14-5.csv");
  EXPECT_EQ(disk.files["serial.txt"], "5\n");
}

}  // namespace
