#include "RealDisk.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace {

TEST(RealDisk, StampTellsSizeWriteTimeAndWhetherTheWriteHasSettled) {
  const fs::path dir =
      fs::temp_directory_path() / ("pelk-stamp-" + std::to_string(std::random_device{}()));
  fs::create_directories(dir);
  const std::string name = (dir / "tivor.txt").string();
  std::ofstream(name, std::ios::binary) << "01 02 ";
  RealDisk disk;
  FileStamp fresh;
  ASSERT_TRUE(disk.stamp(name, &fresh));
  EXPECT_EQ(fresh.size, 6u);
  EXPECT_FALSE(fresh.settled);  // just written

  fs::last_write_time(name, fs::file_time_type::clock::now() - std::chrono::hours(1));
  FileStamp old;
  ASSERT_TRUE(disk.stamp(name, &old));
  EXPECT_TRUE(old.settled);
  EXPECT_FALSE(old.sameAs(fresh));

  std::ofstream(name, std::ios::binary) << "03 04 ";
  FileStamp rewritten;
  ASSERT_TRUE(disk.stamp(name, &rewritten));
  EXPECT_EQ(rewritten.size, 6u);
  EXPECT_FALSE(rewritten.sameAs(old));

  FileStamp none;
  EXPECT_FALSE(disk.stamp((dir / "missing.txt").string(), &none));
  EXPECT_FALSE(disk.stamp(dir.string(), &none));
  fs::remove_all(dir);
}

}  // namespace
