#pragma once

// Test helper: a test that runs in a scratch working directory of its own,
// for the parts that work in the working directory itself (RealDisk,
// RunLock).

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

class ScratchDirectoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    dir = std::filesystem::temp_directory_path() / ("pelk-unit-" + std::to_string(random()));
    std::filesystem::create_directories(dir);
    previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
  }
  void TearDown() override {
    std::filesystem::current_path(previous);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  std::filesystem::path dir;
  std::filesystem::path previous;
};
