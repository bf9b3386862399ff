#include "Cleanup.hpp"

#include <gtest/gtest.h>

#include "MemoryDisk.hpp"
#include "OS-specific.hpp"
#include "RunLock.hpp"

namespace {

// Only names pelk could have made are deleted: a stem, an optional serial
// number and a dash, a minute of 0-59 and a second of 0-60 as pelk writes
// them. Files of the user's that only look alike stay.
TEST(Cleanup, TemporaryNamesHaveTheShapePelkWrites) {
  for (const char* name : {"who14-5.txt", "who0-0.txt", "who59-60.txt", "who12-14-5.txt",
                           "cmb3-14-5.txt", "tab12-59-60.txt", "unq1-2.txt", "who9-0.txt",
                           "cmb2147483647-0-0.txt", "who2024-5-1.txt", "error.txt"})
    EXPECT_TRUE(isTemporaryName(name)) << name;
  for (const char* name :
       {// Monthly archives and dates.
        "who2024-05.txt", "who2024-05-01.txt", "tab2023-12.txt", "unq2023-1.txt",
        // Minutes and seconds pelk never makes, or writes otherwise.
        "who60-5.txt", "who05-5.txt", "who14-61.txt", "who14-05.txt", "who00-0.txt", "who100-5.txt",
        // Serial numbers pelk never writes.
        "who0-14-5.txt", "who012-14-5.txt", "cmb2147483648-0-0.txt", "who99999999999-1-1.txt",
        // Other shapes.
        "who.txt", "tabulate.txt", "who2.txt", "whoever.txt", "who14-5.csv", "who1-2-3-4.txt",
        "who-1-2.txt", "WHO14-5.txt", "err.txt", "exclude.txt", "unique.txt", "who14-.txt",
        "who-5.txt", "who14-5.txt.txt", "who14-5.TXT", "who+1-2.txt", "who 1-2.txt"})
    EXPECT_FALSE(isTemporaryName(name)) << name;
}

// The cleanup as the next run meets it: what a run listed, the next deletes,
// save the names only shaped like pelk's.
TEST(Cleanup, RemovesOnlyListedNamesPelkCouldHaveMade) {
  MemoryDisk disk;
  const std::vector<std::string> removed = {"who14-5.txt",    "who0-0.txt",    "who59-60.txt",
                                            "who12-14-5.txt", "cmb3-14-5.txt", "tab1-2.txt",
                                            "unq7-1-2.txt"};
  const std::vector<std::string> kept = {"who2024-05.txt", "who2024-05-01.txt", "tab2023-12.txt",
                                         "who60-5.txt",    "who05-5.txt",       "who14-61.txt",
                                         "who.txt",        "whoever.txt",       "tabulate.txt"};
  for (const auto* names : {&removed, &kept})
    for (const std::string& name : *names) disk.files[name] = "x";
  ASSERT_TRUE(createRemoveErrorText(disk));
  ASSERT_TRUE(removeTemporaryFiles(disk));
  for (const std::string& name : removed) EXPECT_EQ(disk.files.count(name), 0u) << name;
  for (const std::string& name : kept) EXPECT_EQ(disk.files.count(name), 1u) << name;
}

TEST(Cleanup, PatternsMatchAsTheWindowsSearchDoes) {
  EXPECT_TRUE(matchesPattern("who*.txt", "who.txt"));
  EXPECT_TRUE(matchesPattern("who*.txt", "WHO14-5.TXT"));
  EXPECT_TRUE(matchesPattern("err*.txt", "error.txt"));
  EXPECT_TRUE(matchesPattern("who*.txt", "who.txt.txt"));
  EXPECT_FALSE(matchesPattern("unq*.txt", "unique.txt"));
  EXPECT_FALSE(matchesPattern("who*.txt", "who.txt.pelk-part"));
  EXPECT_FALSE(matchesPattern("who*.txt", "xwho.txt"));
}

TEST(Cleanup, ListsMatchesPatternByPatternAndRemovesOnlyTemporaries) {
  MemoryDisk disk;
  for (const char* name :
       {"who.txt", "who14-5.txt", "tabulate.txt", "error.txt", "unique.txt", "cmb1-2-3.txt"})
    disk.files[name] = "x";
  ASSERT_TRUE(createRemoveErrorText(disk));
  EXPECT_EQ(disk.files["remove_e.txt"],
            "error.txt\ncmb1-2-3.txt\ntabulate.txt\nwho.txt\nwho14-5.txt\n");
  ASSERT_TRUE(removeTemporaryFiles(disk));
  EXPECT_EQ(disk.files.count("who14-5.txt"), 0u);
  EXPECT_EQ(disk.files.count("error.txt"), 0u);
  EXPECT_EQ(disk.files.count("cmb1-2-3.txt"), 0u);
  EXPECT_EQ(disk.files.count("who.txt"), 1u);
  EXPECT_EQ(disk.files.count("tabulate.txt"), 1u);
}

TEST(Cleanup, LockFileAndPartialFilesAreNeverListedNorRemovedAsTemporaries) {
  MemoryDisk disk;
  const std::vector<std::string> kept = {RunLock::kFileName, "who.txt.4711-1.pelk-part",
                                         "who14-5.txt.4711-2.pelk-part"};
  for (const std::string& name : kept) disk.files[name] = "";
  disk.files["who14-5.txt"] = "x";
  ASSERT_TRUE(createRemoveErrorText(disk));
  EXPECT_EQ(disk.files["remove_e.txt"], "who14-5.txt\n");
  // Listed by hand, they still stay.
  std::string list;
  for (const std::string& name : kept) list += name + "\n";
  disk.files["remove_e.txt"] = list;
  ASSERT_TRUE(removeTemporaryFiles(disk));
  for (const std::string& name : kept) EXPECT_EQ(disk.files.count(name), 1u) << name;
}

TEST(Cleanup, UnwritableListLeavesANote) {
  MemoryDisk disk;
  disk.directories.insert("remove_e.txt");
  EXPECT_FALSE(createRemoveErrorText(disk));
  EXPECT_EQ(disk.files["error.txt"], "ofstream remove_e(REMOVE_ERROR_TEXT)\n");
  EXPECT_FALSE(removeTemporaryFiles(disk));
}

// A chained run reads what the run before it wrote: the cleanup of that
// run's files keeps the ones this run names, in whatever form the name was given.
TEST(Cleanup, KeepsTheFilesThisRunReads) {
  MemoryDisk disk;
  for (const char* name : {"who32-33.txt", "who1-2.txt", "tab3-4.txt", "unq5-6.txt"})
    disk.files[name] = "x";
  disk.files["remove_e.txt"] = "tab3-4.txt\nunq5-6.txt\nwho1-2.txt\nwho32-33.txt\n";
  ASSERT_TRUE(removeTemporaryFiles(disk, {"./who32-33.txt", "tab3-4.txt"}));
  EXPECT_EQ(disk.files.count("who32-33.txt"), 1u);
  EXPECT_EQ(disk.files.count("tab3-4.txt"), 1u);
  EXPECT_EQ(disk.files.count("who1-2.txt"), 0u);
  EXPECT_EQ(disk.files.count("unq5-6.txt"), 0u);
}

TEST(Cleanup, MemoryDiskNamesAFileWithOrWithoutALeadingDotDirectory) {
  MemoryDisk disk;
  disk.files["who1-2.txt"] = "x";
  disk.files["who1-3.txt"] = "x";
  disk.directories.insert("sub");
  struct Case {
    const char* a;
    const char* b;
    bool same;
  };
  const Case cases[] = {
      {"who1-2.txt", "who1-2.txt", true},     {"who1-2.txt", "./who1-2.txt", true},
      {"././who1-2.txt", "who1-2.txt", true}, {"sub", "./sub", true},
      {"who1-2.txt", "who1-3.txt", false},    {"who1-2.txt", "sub/who1-2.txt", false},
      {"gone.txt", "gone.txt", false},        {"gone.txt", "./gone.txt", false},
  };
  for (const Case& c : cases) EXPECT_EQ(disk.sameFile(c.a, c.b), c.same) << c.a << " " << c.b;
}

}  // namespace
