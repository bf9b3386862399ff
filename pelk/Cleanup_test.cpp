#include "Cleanup.hpp"

#include <gtest/gtest.h>

#include "MemoryDisk.hpp"
#include "OS-specific.hpp"
#include "RunLock.hpp"

namespace {

TEST(Cleanup, TemporaryNamesHaveTheShapePelkWrites) {
  for (const char* name :
       {"who14-5.txt", "who0-0.txt", "cmb3-14-5.txt", "tab12-59-60.txt", "unq1-2.txt", "error.txt"})
    EXPECT_TRUE(isTemporaryName(name)) << name;
  for (const char* name :
       {"who.txt", "tabulate.txt", "who2.txt", "whoever.txt", "who14-5.csv", "who1-2-3-4.txt",
        "who-1-2.txt", "WHO14-5.txt", "err.txt", "exclude.txt", "unique.txt", "who14-.txt"})
    EXPECT_FALSE(isTemporaryName(name)) << name;
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

TEST(Cleanup, SameFileNameIgnoresALeadingDotDirectory) {
  EXPECT_TRUE(sameFileName("who1-2.txt", "who1-2.txt"));
  EXPECT_TRUE(sameFileName("who1-2.txt", "./who1-2.txt"));
  EXPECT_TRUE(sameFileName("././who1-2.txt", "who1-2.txt"));
  EXPECT_FALSE(sameFileName("who1-2.txt", "who1-3.txt"));
  EXPECT_FALSE(sameFileName("who1-2.txt", "sub/who1-2.txt"));
}

}  // namespace
