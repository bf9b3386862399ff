#include "RunLock.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <thread>

#include "Messages.hpp"

namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using Steady = std::chrono::steady_clock;

// Each test in a scratch working directory of its own: the lock file lies
// in the working directory.
class RunLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    dir = fs::temp_directory_path() / ("runlock-" + std::to_string(random()));
    fs::create_directories(dir);
    previous = fs::current_path();
    fs::current_path(dir);
  }
  void TearDown() override {
    fs::current_path(previous);
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  fs::path dir;
  fs::path previous;
};

TEST_F(RunLockTest, GivesUpAfterTheWaitItIsGivenAndNamesIt) {
  RunLock held;
  ASSERT_TRUE(held.taking(milliseconds(0))) << held.failure().text;
  struct Case {
    milliseconds wait;
    std::string message;
  };
  const Case cases[] = {
      {milliseconds(250), "e58: pelk.lock is held by another run; gave up after 250 milliseconds"},
      {milliseconds(1000), "e58: pelk.lock is held by another run; gave up after 1 seconds"},
  };
  for (const Case& c : cases) {
    RunLock waiting;
    const Steady::time_point begun = Steady::now();
    EXPECT_FALSE(waiting.taking(c.wait));
    EXPECT_GE(Steady::now() - begun, c.wait);
    EXPECT_EQ(waiting.failure().number, messages::kLockBusy);
    EXPECT_EQ(waiting.failure().text, c.message);
  }
}

TEST_F(RunLockTest, TakesTheLockOnceTheOtherLetsItGoWithinTheWait) {
  auto held = std::make_unique<RunLock>();
  ASSERT_TRUE(held->taking(milliseconds(0))) << held->failure().text;
  const Steady::time_point begun = Steady::now();
  std::thread letGo([&held] {
    std::this_thread::sleep_for(milliseconds(100));
    held.reset();
  });
  RunLock waiting;
  EXPECT_TRUE(waiting.taking(milliseconds(60000))) << waiting.failure().text;
  EXPECT_GE(Steady::now() - begun, milliseconds(100));
  letGo.join();
  EXPECT_TRUE(fs::is_regular_file(dir / RunLock::kFileName));
}

}  // namespace
