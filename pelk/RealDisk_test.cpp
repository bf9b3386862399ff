#include "RealDisk.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "ScratchDirectory_testing.hpp"

#ifndef _WIN32
#include <sys/stat.h>
#endif

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

// A file read by its own name is read whole whatever its size (one read
// call where it can, more where it must), and anything that is no regular
// file of that name is no file at all.
TEST_F(RealDiskTest, ReadingByNameReadsRegularFilesWholeAndNothingElse) {
  std::mt19937 random(7);
  std::string large;
  for (int i = 0; i < 300000; ++i) large += static_cast<char>('0' + random() % 10);
  struct Case {
    std::string name, bytes;
  };
  const Case files[] = {
      {"empty.txt", ""},
      {"one.txt", "1"},
      {"cmb1-2-3.txt", std::string(1520, 'x') + "\n"},
      {"block.txt", large.substr(0, 1 << 16)},
      {"large.txt", large},
      {"binary.txt", std::string("\r\n\0\x81\x40", 5)},
  };
  RealDisk disk;
  for (const Case& c : files) {
    write(c.name, c.bytes);
    std::string text = "before";
    ASSERT_TRUE(disk.readFile(c.name, &text, Disk::Links::kNotFollowed)) << c.name;
    EXPECT_EQ(text, c.bytes) << c.name;
  }
  fs::create_directory("folder.txt");
  std::vector<std::string> refused = {"absent.txt", "folder.txt"};
  std::error_code ec;
  fs::create_symlink("one.txt", "link.txt", ec);
  if (!ec) refused.push_back("link.txt");
#ifndef _WIN32
  ASSERT_EQ(mkfifo("fifo.txt", 0600), 0);
  refused.push_back("fifo.txt");
#endif
  for (const std::string& name : refused) {
    std::string text = "before";
    EXPECT_FALSE(disk.readFile(name, &text, Disk::Links::kNotFollowed)) << name;
    EXPECT_EQ(text, "before") << name;
  }
}

}  // namespace
