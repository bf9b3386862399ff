#include "RealDisk.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "ScratchDirectory_testing.hpp"

namespace {

namespace fs = std::filesystem;

// RealDisk works in the working directory: a scratch one of its own.
class RealDiskTest : public ScratchDirectoryTest {
 protected:
  static void write(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
  }
};

// The files themselves are compared, not how their names are spelled.
TEST_F(RealDiskTest, SameFileWhateverTheSpelling) {
  write("who26-53.txt", "thread");
  write("who26-54.txt", "thread");
  fs::create_directory("sub");
  write("sub/who26-53.txt", "thread");
  const std::string absolute = (dir / "who26-53.txt").string();
  std::error_code ec;
  fs::create_hard_link("who26-53.txt", "hard.txt", ec);
  const bool hardLinks = !ec;
  fs::create_symlink("who26-53.txt", "soft.txt", ec);
  const bool softLinks = !ec;
  // Where the file system ignores letter case the other case names the file.
  const bool foldsCase = fs::exists("WHO26-53.TXT");
  struct Case {
    std::string a, b;
    bool same;
  };
  const Case cases[] = {
      {"who26-53.txt", "who26-53.txt", true},
      {"who26-53.txt", "./who26-53.txt", true},
      {"who26-53.txt", absolute, true},
      {absolute, "sub/../who26-53.txt", true},
      {"who26-53.txt", "WHO26-53.TXT", foldsCase},
      {"who26-53.txt", "hard.txt", hardLinks},
      {"who26-53.txt", "soft.txt", softLinks},
      {"who26-53.txt", "who26-54.txt", false},
      {"who26-53.txt", "sub/who26-53.txt", false},
      {"gone.txt", "gone.txt", false},
      {"who26-53.txt", "gone.txt", false},
  };
  RealDisk disk;
  for (const Case& c : cases) {
    EXPECT_EQ(disk.sameFile(c.a, c.b), c.same) << c.a << " " << c.b;
    EXPECT_EQ(disk.sameFile(c.b, c.a), c.same) << c.b << " " << c.a;
  }
}

// A name that something has is never written over by `creatingFile`.
TEST_F(RealDiskTest, CreatingFileNeverWritesOverWhatHasTheName) {
  write("who14-5.txt", "mine");
  fs::create_directory("who14-6.txt");
  std::error_code ec;
  fs::create_symlink("elsewhere.txt", "who14-7.txt", ec);
  const bool softLinks = !ec;
  RealDisk disk;
  EXPECT_EQ(disk.creatingFile("who14-5.txt", "new"), Disk::Creation::kTaken);
  EXPECT_EQ(disk.creatingFile("who14-6.txt", "new"), Disk::Creation::kTaken);
  if (softLinks) {
    EXPECT_EQ(disk.creatingFile("who14-7.txt", "new"), Disk::Creation::kTaken);
    EXPECT_FALSE(fs::exists("elsewhere.txt"));
  }
  std::string text;
  ASSERT_TRUE(disk.readFile("who14-5.txt", &text));
  EXPECT_EQ(text, "mine");
  EXPECT_TRUE(fs::is_directory("who14-6.txt"));
  EXPECT_EQ(disk.creatingFile("who14-8.txt", "new\n"), Disk::Creation::kNew);
  ASSERT_TRUE(disk.readFile("who14-8.txt", &text));
  EXPECT_NE(text.find("new"), std::string::npos);
}

}  // namespace
