#include "TimeName.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "LocalTime.hpp"
#include "MemoryDisk.hpp"

namespace {

// 14 minutes 5 seconds past some hour, whatever the local time zone.
std::time_t at(int minute, int second) {
  return localCalendarTime(2017, 8, 14, 16, minute, second);
}

TEST(TimeName, NamesFromMinuteAndSecondWithoutPadding) {
  MemoryDisk disk;
  disk.files["serial.txt"] = "11\n";
  FixedClock clock(at(9, 0));
  EXPECT_EQ(TimeName::reading(disk, clock, "who", ".txt").temporaryName(false), "who9-0.txt");
  EXPECT_EQ(disk.files["serial.txt"], "11\n");
  EXPECT_EQ(TimeName::reading(disk, clock, "who", ".txt").temporaryName(true), "who12-9-0.txt");
  EXPECT_EQ(disk.files["serial.txt"], "12\n");
}

TEST(TimeName, MakingAMakerTouchesNoFileReadingTheSerialNumberDoes) {
  MemoryDisk disk;
  FixedClock clock(at(9, 0));
  TimeName name(disk, clock, "who", ".txt");
  EXPECT_TRUE(disk.files.empty());
  name.readSerialNumber();
  EXPECT_EQ(disk.files["serial.txt"], "0\n");
  EXPECT_EQ(name.temporaryName(true), "who1-9-0.txt");
}

TEST(TimeName, RepeatedNameGetsASerialNumber) {
  MemoryDisk disk;
  disk.files["serial.txt"] = "11\n";
  FixedClock clock(at(14, 5));
  TimeName name = TimeName::reading(disk, clock, "who", ".txt");
  EXPECT_EQ(name.temporaryName(false), "who14-5.txt");
  EXPECT_EQ(name.temporaryName(false), "who12-14-5.txt");
  EXPECT_EQ(disk.files["serial.txt"], "12\n");
  // Two objects asked in the same second give the same name.
  EXPECT_EQ(TimeName::reading(disk, clock, "cmb", ".txt").temporaryName(false),
            TimeName::reading(disk, clock, "cmb", ".txt").temporaryName(false));
}

// A name something already has is never handed out: the next serial number
// is taken until the name is free, and serial.txt keeps the last one used.
TEST(TimeName, TakenNamesGetTheNextFreeSerialNumber) {
  struct Case {
    std::string stem, extension;
    bool serial;
    std::vector<std::string> files, directories;
    std::string name, after;
  };
  const Case cases[] = {
      {"who", ".txt", false, {}, {}, "who14-5.txt", "11\n"},
      {"who", ".txt", false, {"who14-5.txt"}, {}, "who12-14-5.txt", "12\n"},
      {"who",
       ".txt",
       false,
       {"who14-5.txt", "who13-14-5.txt"},
       {"who12-14-5.txt"},
       "who14-14-5.txt",
       "14\n"},
      {"who", ".txt", false, {}, {"who14-5.txt"}, "who12-14-5.txt", "12\n"},
      // A taken name of another minute or stem does not count.
      {"who",
       ".txt",
       false,
       {"who14-6.txt", "tab14-5.txt", "who12-14-6.txt"},
       {},
       "who14-5.txt",
       "11\n"},
      {"who", ".txt", true, {"who12-14-5.txt", "who13-14-5.txt"}, {}, "who14-14-5.txt", "14\n"},
      {"tab", ".csv", false, {"tab14-5.csv"}, {}, "tab12-14-5.csv", "12\n"},
      {"unq", ".txt", false, {"unq14-5.txt", "unq12-14-5.txt"}, {}, "unq13-14-5.txt", "13\n"},
      {"cmb", ".txt", true, {"cmb12-14-5.txt"}, {}, "cmb13-14-5.txt", "13\n"},
  };
  FixedClock clock(at(14, 5));
  // The name is looked up first (`temporaryName`), or claimed and passed by
  // while creating it finds it taken (`claimedName`, `passingBy`), or
  // claimed and then settled (`passingTaken`): the same names either way.
  enum class Way { kLookedUp, kClaimed, kSettled };
  for (Way way : {Way::kLookedUp, Way::kClaimed, Way::kSettled}) {
    for (bool held : {false, true}) {
      for (const Case& c : cases) {
        SCOPED_TRACE(c.name + (held ? " held" : "") + " way " +
                     std::to_string(static_cast<int>(way)));
        MemoryDisk disk;
        disk.files["serial.txt"] = "11\n";
        for (const std::string& name : c.files) disk.files[name] = "mine";
        for (const std::string& name : c.directories) disk.directories.insert(name);
        {
          std::unique_ptr<TimeName::Hold> hold;
          if (held) hold = std::make_unique<TimeName::Hold>(disk);
          TimeName maker = TimeName::reading(disk, clock, c.stem, c.extension);
          std::string name;
          if (way == Way::kLookedUp) {
            name = maker.temporaryName(c.serial);
          } else if (way == Way::kClaimed) {
            name = maker.claimedName(c.serial);
            while (disk.exists(name)) name = maker.passingBy();
          } else {
            maker.claimedName(c.serial);
            name = maker.passingTaken();
          }
          EXPECT_EQ(name, c.name);
        }
        EXPECT_EQ(disk.files["serial.txt"], c.after);
        for (const std::string& name : c.files) EXPECT_EQ(disk.files[name], "mine");
      }
    }
  }
}

// Every minute and second taken, and every name of the next serial number:
// the name after those is free.
TEST(TimeName, EveryMinuteAndSecondTakenStillGivesAFreeName) {
  MemoryDisk disk;
  disk.files["serial.txt"] = "7\n";
  for (int minute = 0; minute < 60; ++minute)
    for (int second = 0; second <= 60; ++second) {
      const std::string time = std::to_string(minute) + "-" + std::to_string(second) + ".txt";
      disk.files["who" + time] = "mine";
      disk.files["who8-" + time] = "mine";
    }
  for (const auto& [minute, second] : {std::pair{0, 0}, {14, 5}, {59, 59}}) {
    FixedClock clock(at(minute, second));
    const std::string name = TimeName::reading(disk, clock, "who", ".txt").temporaryName(false);
    EXPECT_EQ(name, "who9-" + std::to_string(minute) + "-" + std::to_string(second) + ".txt");
    EXPECT_EQ(disk.files.count(name), 0u);
    EXPECT_EQ(disk.files["serial.txt"], "9\n");
    // The naming runs from serial.txt anew.
    disk.files["serial.txt"] = "7\n";
  }
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
      // After the largest int comes 1; a negative number counts as 0.
      {true, "2147483646\n", "who2147483647-14-5.txt", "2147483647\n"},
      {true, "2147483647\n", "who1-14-5.txt", "1\n"},
      {true, "99999999999\n", "who1-14-5.txt", "1\n"},
      {true, "-8\n", "who1-14-5.txt", "1\n"},
      {true, "-2147483649\n", "who1-14-5.txt", "1\n"},
  };
  for (const Case& c : cases) {
    MemoryDisk disk;
    if (c.present) disk.files["serial.txt"] = c.content;
    FixedClock clock(at(14, 5));
    EXPECT_EQ(TimeName::reading(disk, clock, "who", ".txt").temporaryName(true), c.name)
        << c.content;
    EXPECT_EQ(disk.files["serial.txt"], c.after);
  }
}

TEST(TimeName, SerialNumbersGoOnAtOneAfterTheLargest) {
  FixedClock clock(at(14, 5));
  for (bool held : {false, true}) {
    MemoryDisk disk;
    disk.files["serial.txt"] = "2147483646\n";
    std::vector<std::string> names;
    {
      std::unique_ptr<TimeName::Hold> hold;
      if (held) hold = std::make_unique<TimeName::Hold>(disk);
      for (int i = 0; i < 3; ++i)
        names.push_back(TimeName::reading(disk, clock, "cmb", ".txt").temporaryName(true));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"cmb2147483647-14-5.txt", "cmb1-14-5.txt",
                                               "cmb2-14-5.txt"}))
        << held;
    EXPECT_EQ(disk.files["serial.txt"], "2\n") << held;
  }
}

TEST(TimeName, UnwritableSerialFileKeepsTheNumberForTheRun) {
  MemoryDisk disk;
  disk.files["serial.txt"] = "5\n";
  disk.unwritable.insert("serial.txt");
  FixedClock clock(at(14, 5));
  EXPECT_EQ(TimeName::reading(disk, clock, "tab", ".csv").temporaryName(true), "tab6-14-5.csv");
  EXPECT_EQ(disk.files["serial.txt"], "5\n");
}

// Counts the reads and writes of serial.txt.
class CountingDisk : public MemoryDisk {
 public:
  bool readFile(const std::string& name, std::string* contents,
                Links links = Links::kFollowed) override {
    if (name == "serial.txt") ++reads;
    return MemoryDisk::readFile(name, contents, links);
  }
  bool writeFile(const std::string& name, const std::string& contents,
                 Links links = Links::kFollowed) override {
    if (name == "serial.txt") ++writes;
    return MemoryDisk::writeFile(name, contents, links);
  }
  int reads = 0;
  int writes = 0;
};

TEST(TimeName, HoldReadsAndWritesTheSerialFileOnceWithTheSameNames) {
  FixedClock clock(at(14, 5));
  std::vector<std::string> unheld;
  {
    CountingDisk disk;
    disk.files["serial.txt"] = "41abc\n";
    unheld.push_back(TimeName::reading(disk, clock, "who", ".txt").temporaryName(false));
    for (int i = 0; i < 3; ++i)
      unheld.push_back(TimeName::reading(disk, clock, "cmb", ".txt").temporaryName(true));
    EXPECT_EQ(disk.reads, 4);
    EXPECT_EQ(disk.writes, 3);
  }
  CountingDisk disk;
  disk.files["serial.txt"] = "41abc\n";
  std::vector<std::string> held;
  {
    TimeName::Hold hold(disk);
    held.push_back(TimeName::reading(disk, clock, "who", ".txt").temporaryName(false));
    {
      TimeName::Hold inner(disk);
      for (int i = 0; i < 3; ++i)
        held.push_back(TimeName::reading(disk, clock, "cmb", ".txt").temporaryName(true));
    }
    // Only the outermost hold saves.
    EXPECT_EQ(disk.writes, 0);
    EXPECT_EQ(disk.files["serial.txt"], "41abc\n");
  }
  EXPECT_EQ(held, unheld);
  EXPECT_EQ(held, (std::vector<std::string>{"who14-5.txt", "cmb42-14-5.txt", "cmb43-14-5.txt",
                                            "cmb44-14-5.txt"}));
  EXPECT_EQ(disk.reads, 1);
  EXPECT_EQ(disk.writes, 1);
  EXPECT_EQ(disk.files["serial.txt"], "44\n");
  // After the hold the file is read again.
  EXPECT_EQ(TimeName::reading(disk, clock, "cmb", ".txt").temporaryName(true), "cmb45-14-5.txt");
  EXPECT_EQ(disk.reads, 2);
}

TEST(TimeName, HoldCreatesAMissingSerialFileAndWritesNothingWhenUnused) {
  FixedClock clock(at(14, 5));
  {
    MemoryDisk disk;
    {
      TimeName::Hold hold(disk);
      EXPECT_EQ(TimeName::reading(disk, clock, "cmb", ".txt").temporaryName(true), "cmb1-14-5.txt");
      EXPECT_EQ(TimeName::reading(disk, clock, "cmb", ".txt").temporaryName(true), "cmb2-14-5.txt");
      EXPECT_EQ(disk.files.count("serial.txt"), 0u);
    }
    EXPECT_EQ(disk.files["serial.txt"], "2\n");
  }
  CountingDisk disk;
  disk.files["serial.txt"] = "7\n";
  {
    TimeName::Hold hold(disk);
    EXPECT_EQ(TimeName::reading(disk, clock, "who", ".txt").temporaryName(false), "who14-5.txt");
  }
  EXPECT_EQ(disk.writes, 0);
  EXPECT_EQ(disk.files["serial.txt"], "7\n");
}

TEST(TimeName, HoldKeepsRaisingANumberThatCannotBeSaved) {
  MemoryDisk disk;
  disk.files["serial.txt"] = "5\n";
  disk.unwritable.insert("serial.txt");
  FixedClock clock(at(14, 5));
  TimeName::Hold hold(disk);
  EXPECT_EQ(TimeName::reading(disk, clock, "cmb", ".txt").temporaryName(true), "cmb6-14-5.txt");
  EXPECT_EQ(TimeName::reading(disk, clock, "cmb", ".txt").temporaryName(true), "cmb7-14-5.txt");
}

}  // namespace
