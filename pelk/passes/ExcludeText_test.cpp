#include "passes/ExcludeText.hpp"

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <string>

#include "Clock.hpp"
#include "Companions.hpp"
#include "LocalTime.hpp"
#include "MemoryDisk.hpp"
#include "ShiftJis.hpp"

namespace {

// The time of the runs whose output names do not matter.
const FixedClock kAnyTime(1502694845);

const std::string kColon = kZenkakuColon;
const std::string kNuru = kNurupo;
const std::string kLine1 = "05 12 19 27 33 41 08 - draw\n";

/// A post header with post number `n`.
std::string head(const std::string& n) {
  return n + " " + kColon + "Name " + kColon + "2017/08/14(Mon) 16:15:20.68 ID:Ab" + n + "\n";
}

class Exclude : public ExcludeText {
 public:
  Exclude(Disk& disk, const Clock& clock, bool keepLine1 = true, bool overwrite = true,
          std::string companionName = "exclude.txt") {
    setting({.companion = companionName,
             .keepLine1 = keepLine1,
             .overwrite = overwrite,
             .disk = &disk,
             .clock = &clock});
  }
  /// Holds at most `bytes` bytes of a body; longer ones are read again.
  void holdingAtMost(std::size_t bytes) { heldBound = bytes; }
};

/// Serves the thread "t.txt" as `changed` from its second opening on, as if
/// it were edited while the pass reads it.
class ChangingDisk : public MemoryDisk {
 public:
  std::unique_ptr<Reader> openReader(const std::string& name,
                                     Links links = Links::kFollowed) override {
    std::unique_ptr<Reader> reader = MemoryDisk::openReader(name, links);
    if (name == "t.txt" && ++openings == 1) files[name] = changed;
    return reader;
  }
  std::string changed;
  int openings = 0;
};

/// Runs the pass on `thread` with `items` as exclude.txt; the text written
/// to who.txt, or the message when the pass fails.
std::string excluded(const std::string& thread, const std::string& items, bool keepLine1 = true,
                     std::size_t heldBound = ExcludeText::kHeldBound) {
  MemoryDisk disk;
  disk.files["t.txt"] = thread;
  disk.files["exclude.txt"] = items;
  Exclude pass(disk, kAnyTime, keepLine1);
  pass.holdingAtMost(heldBound);
  std::string name = "t.txt";
  if (!pass.altering(name)) return "failed: " + pass.inquiry();
  EXPECT_EQ(pass.altered(), "who.txt");
  return disk.files["who.txt"];
}

TEST(ExcludeText, DropsWholePostsThatHoldAnItem) {
  const std::string items = kNuru + "\n ID:\n";
  struct Case {
    const char* what;
    std::string thread, expected;
  };
  const Case cases[] = {
      {"item on the third body line",
       kLine1 + head("1") + "a\nb\nx" + kNuru + "y\nc\n" + head("2") + "d\n",
       kLine1 + "\n" + head("2") + "d\n"},
      {"header holding an item is not searched",
       kLine1 + "1 " + kColon + kNuru + " " + kColon + "2017/08/14(Mon) 16:15:20.68 ID:Ab1\nbody\n",
       kLine1 + "\n" + "1 " + kColon + kNuru + " " + kColon +
           "2017/08/14(Mon) 16:15:20.68 ID:Ab1\nbody\n"},
      {"quoted header in a body line", kLine1 + head("1") + "> 9 Name ID:Zz\n" + head("2") + "ok\n",
       kLine1 + "\n" + head("2") + "ok\n"},
      {"two dropped posts in a row",
       kLine1 + head("1") + kNuru + "\n" + head("2") + kNuru + "\n" + head("3") + "kept\n",
       kLine1 + "\n" + head("3") + "kept\n"},
      {"last post dropped leaves an empty line",
       kLine1 + head("1") + "a\n" + head("2") + kNuru + "\nb\n",
       kLine1 + "\n" + head("1") + "a\n\n"},
      // The empty line of the first group goes with the group.
      {"item before the first header drops all lines before it",
       kLine1 + "pre\n" + kNuru + "\npost\n" + head("1") + "a\n", kLine1 + head("1") + "a\n"},
      {"lines before the first header are kept", kLine1 + "pre\n" + head("1") + "a\n",
       kLine1 + "\npre\n" + head("1") + "a\n"},
      // "\x82\xCA\x82\xE9\x82\xDB" read from the middle of "\x82\x82\xCA..." still matches.
      {"item across character boundaries",
       kLine1 + head("1") + "\x81\x82\xCA\x82\xE9\x82\xDB\x82\n", kLine1 + "\n\n"},
      {"only Line-1", kLine1, kLine1 + "\n"},
      // The empty line after Line-1 is the empty header of the first group:
      // one the thread holds is not doubled, a second one is a body line.
      {"an empty line after Line-1", kLine1 + "\npre\n" + head("1") + "a\n",
       kLine1 + "\npre\n" + head("1") + "a\n"},
      {"two empty lines after Line-1", kLine1 + "\n\n" + head("1"), kLine1 + "\n\n" + head("1")},
      {"Line-1 and an empty line", kLine1 + "\n", kLine1 + "\n"},
      {"an empty line after Line-1 and a header", kLine1 + "\n" + head("1") + "a\n",
       kLine1 + "\n" + head("1") + "a\n"},
      {"an empty line after Line-1 goes with a dropped first group",
       kLine1 + "\npre\n" + kNuru + "\n" + head("1") + "a\n", kLine1 + head("1") + "a\n"},
      {"long body lines pass whole", kLine1 + head("1") + std::string(5000, 'z') + "\n",
       kLine1 + "\n" + head("1") + std::string(5000, 'z') + "\n"},
      {"CR LF line ends", "L1\r\n" + head("1").insert(head("1").size() - 1, "\r") + kNuru + "\r\n",
       "L1\n\n\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(excluded(c.thread, items), c.expected) << c.what;
}

TEST(ExcludeText, BodiesLongerThanTheBoundAreReadAgainWhenKept) {
  const std::string items = kNuru + "\n";
  std::string bodies;
  for (int i = 0; i < 40; ++i) bodies += "01 05 09 14 22 31 line " + std::to_string(i) + "\n";
  struct Case {
    const char* what;
    std::string thread;
  };
  const Case cases[] = {
      {"no header at all, kept", kLine1 + bodies},
      {"no header at all, the item on the last line", kLine1 + bodies + kNuru + "\n"},
      {"no header, the item past the bound", kLine1 + bodies + kNuru + "\n" + bodies},
      {"long posts kept and dropped between short ones",
       kLine1 + "pre\n" + head("1") + bodies + head("2") + "a\n" + head("3") + bodies + kNuru +
           "\n" + bodies + head("4") + bodies + head("5") + kNuru + "\n" + head("6") + bodies},
      {"the last post long and dropped", kLine1 + head("1") + "a\n" + head("2") + bodies + kNuru},
      {"headers only", kLine1 + head("1") + head("2") + head("3")},
      {"CR LF line ends and a CR inside a line",
       "L1\r\n" + head("1").insert(head("1").size() - 1, "\r") + "x\ry\r\r\n" + bodies},
      {"no line end at the end", kLine1 + head("1") + bodies + "last"},
      {"an empty line after Line-1, then a long first group",
       kLine1 + "\n" + bodies + head("1") + "a\n"},
      {"an empty line after Line-1, then no header", kLine1 + "\n" + bodies},
  };
  for (const Case& c : cases) {
    const std::string held = excluded(c.thread, items);
    ASSERT_NE(held.rfind("failed:", 0), 0u) << c.what << ": " << held;
    // From a bound below one line (every body read again) to one that
    // splits the long bodies, the output is that of a body held whole.
    for (std::size_t bound : {0, 1, 30, 500})
      EXPECT_EQ(excluded(c.thread, items, true, bound), held) << c.what << ", bound " << bound;
    EXPECT_EQ(excluded(c.thread, items, false, 30), excluded(c.thread, items, false))
        << c.what << ", without Line-1";
  }
  EXPECT_EQ(excluded(kLine1 + bodies, items, true, 30), kLine1 + "\n" + bodies);
  EXPECT_EQ(excluded(kLine1 + bodies + kNuru + "\n" + bodies, items, true, 30), kLine1 + "\n");
}

TEST(ExcludeText, ARunOverItsOwnOutputGivesItBack) {
  const std::string items = kNuru + "\n";
  std::string bodies;
  for (int i = 0; i < 40; ++i) bodies += "01 05 09 14 22 31 line " + std::to_string(i) + "\n";
  const std::string threads[] = {
      kLine1,
      kLine1 + "pre\n" + head("1") + "a\n",
      kLine1 + head("1") + "a\n" + head("2") + kNuru + "\n",
      kLine1 + head("1") + kNuru + "\n" + head("2") + "b\n\n",
      kLine1 + bodies + head("1") + bodies,
      kLine1 + "\n\n\n" + head("1"),
      "L1\r\n" + head("1").insert(head("1").size() - 1, "\r") + "x\r\n",
  };
  for (const std::string& thread : threads) {
    const std::string once = excluded(thread, items);
    EXPECT_EQ(excluded(once, items), once) << thread;
    // Also when the first group is read again.
    for (std::size_t bound : {0, 30}) EXPECT_EQ(excluded(once, items, true, bound), once) << thread;
  }
}

TEST(ExcludeText, AThreadChangedWhileALongBodyIsReadAgainFailsTheRun) {
  std::string bodies;
  for (int i = 0; i < 40; ++i) bodies += "01 05 09 14 22 31 line " + std::to_string(i) + "\n";
  const std::string thread = kLine1 + head("1") + bodies + head("2") + "b\n";
  struct Case {
    const char* what;
    std::string changed;
    std::string message;
  };
  const Case cases[] = {
      {"a line cut short", kLine1 + head("1") + bodies.substr(0, 100) + head("2") + "b\n",
       "e25: ifstream in( t.txt )"},
      {"a line more", kLine1 + "pre\n" + head("1") + bodies + head("2") + "b\n",
       "e25: ifstream in( t.txt )"},
      {"shorter than the body", kLine1 + head("1"), "e25: ifstream in( t.txt )"},
      {"emptied", "", "e26(Line-1): in.getline(c, BUFFER_SIZE )"},
  };
  for (const Case& c : cases) {
    ChangingDisk disk;
    disk.files["t.txt"] = thread;
    disk.changed = c.changed;
    disk.files["exclude.txt"] = kNuru + "\n";
    Exclude pass(disk, kAnyTime);
    pass.holdingAtMost(100);
    std::string name = "t.txt";
    EXPECT_FALSE(pass.altering(name)) << c.what;
    EXPECT_EQ(pass.inquiry(), c.message) << c.what;
    EXPECT_EQ(disk.files.count("who.txt"), 0u) << c.what;
    EXPECT_EQ(disk.openings, 2) << c.what;
  }
  // A thread read once stays as it was read.
  ChangingDisk disk;
  disk.files["t.txt"] = thread;
  disk.changed = kLine1;
  disk.files["exclude.txt"] = kNuru + "\n";
  Exclude pass(disk, kAnyTime);
  std::string name = "t.txt";
  EXPECT_TRUE(pass.altering(name));
  EXPECT_EQ(disk.openings, 1);
  EXPECT_EQ(disk.files["who.txt"], kLine1 + "\n" + head("1") + bodies + head("2") + "b\n");
}

TEST(ExcludeText, WithoutLine1TheOutputStartsWithTheFirstKeptLine) {
  const std::string thread = kLine1 + head("1") + kNuru + "\n" + head("2") + "b\n";
  EXPECT_EQ(excluded(thread, kNuru + "\n", false), head("2") + "b\n");
  EXPECT_EQ(excluded(kLine1 + "pre\n" + head("1"), kNuru + "\n", false), "pre\n" + head("1"));
}

TEST(ExcludeText, EmptyItemsExcludeNothing) {
  const std::string thread = kLine1 + head("1") + "\n" + kNuru + "\n \n" + head("2") + "\\b\n";
  const std::string expected =
      kLine1 + "\n" + head("1") + "\n" + kNuru + "\n \n" + head("2") + "\\b\n";
  for (const std::string items : {"", "\n", "\n\n"})
    EXPECT_EQ(excluded(thread, items), expected) << items.size();
  // An empty line stands for the text "\a", which matches only itself.
  EXPECT_EQ(excluded(kLine1 + head("1") + "x\\ay\n" + head("2"), "\n"), kLine1 + "\n" + head("2"));
}

TEST(ExcludeText, FailuresNameTheirFileAndWriteNothing) {
  struct Case {
    std::string thread;
    bool withCompanion;
    std::string message;
  };
  const Case cases[] = {
      {"", true, "e26(Line-1): in.getline(c, BUFFER_SIZE )"},
      {std::string(384, 'x') + "\n" + head("1"), true, "e26(Line-1): in.getline(c, BUFFER_SIZE )"},
      {kLine1 + head("1"), false, "e2: ifstream in( mine.txt )"},
  };
  for (const Case& c : cases) {
    MemoryDisk disk;
    disk.files["t.txt"] = c.thread;
    if (c.withCompanion) disk.files["mine.txt"] = kNuru + "\n";
    Exclude pass(disk, kAnyTime, true, true, "mine.txt");
    std::string name = "t.txt";
    EXPECT_FALSE(pass.altering(name));
    EXPECT_EQ(pass.inquiry(), c.message);
    EXPECT_EQ(disk.files.count("who.txt"), 0u);
  }
  MemoryDisk disk;
  disk.files["exclude.txt"] = kNuru + "\n";
  disk.directories.insert("dir.txt");
  for (std::string name : {"missing.txt", "dir.txt"}) {
    Exclude pass(disk, kAnyTime);
    EXPECT_FALSE(pass.altering(name));
    EXPECT_EQ(pass.inquiry(), "e25: ifstream in( " + name + " )");
  }
}

TEST(ExcludeText, WritesATemporaryFileUnlessOverwriting) {
  MemoryDisk disk;
  disk.files["who.txt"] = kLine1 + head("1") + kNuru + "\n" + head("2") + "b\n";
  disk.files["exclude.txt"] = kNuru + "\n";
  FixedClock clock(std::time_t(1502694845));
  Exclude pass(disk, clock, true, false);
  std::string name = "who.txt";
  ASSERT_TRUE(pass.altering(name));
  const std::string written = pass.altered();
  EXPECT_NE(written, "who.txt");
  EXPECT_EQ(written.substr(0, 3), "who");
  EXPECT_EQ(disk.files[written], kLine1 + "\n" + head("2") + "b\n");
  EXPECT_EQ(disk.files["who.txt"], kLine1 + head("1") + kNuru + "\n" + head("2") + "b\n");

  disk.unwritable.insert("who.txt");
  Exclude over(disk, clock);
  EXPECT_FALSE(over.altering(name));
  EXPECT_EQ(over.inquiry(), "e1: ofstream saveFile( who.txt )");
}

}  // namespace
