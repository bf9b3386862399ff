#include "RunLock.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <thread>

#include "Messages.hpp"
#include "ScratchDirectory_testing.hpp"

namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using Steady = std::chrono::steady_clock;

// The lock file lies in the working directory: a scratch one for each test.
using RunLockTest = ScratchDirectoryTest;

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

TEST_F(RunLockTest, LockFileIsMadeForEveryUserWhateverTheUmask) {
  const mode_t previous = umask(077);
  RunLock lock;
  const bool taken = lock.taking(milliseconds(0));
  umask(previous);
  ASSERT_TRUE(taken) << lock.failure().text;
  struct stat status;
  ASSERT_EQ(stat(RunLock::kFileName, &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0666u);
}

TEST_F(RunLockTest, AnythingButAFileAtItsNameFailsAtOnceAndSaysWhatItIs) {
  struct Case {
    const char* what;
    int (*make)(const char* name);
    std::string reason;
  };
  const Case cases[] = {
      {"directory", [](const char* name) { return mkdir(name, 0755); }, "it is a directory"},
      {"FIFO", [](const char* name) { return mkfifo(name, 0600); }, "it is a FIFO, not a file"},
      {"link", [](const char* name) { return symlink("elsewhere", name); },
       "it is a link, never followed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(c.make(RunLock::kFileName), 0);
    RunLock lock;
    EXPECT_FALSE(lock.taking(milliseconds(60000)));
    EXPECT_EQ(lock.failure().text, "e59: pelk.lock cannot be locked");
    EXPECT_EQ(lock.failure().file, RunLock::kFileName);
    const std::string reason = lock.failure().reason.in(Language::kEnglish);
    EXPECT_EQ(reason.rfind(c.reason, 0), 0u) << reason;
    fs::remove(dir / RunLock::kFileName);
  }
  EXPECT_FALSE(fs::exists(dir / "elsewhere"));
}

TEST_F(RunLockTest, CoversTheDirectoryTheThreadLeadsTo) {
  fs::create_directories(dir / "synced");
  std::ofstream(dir / "synced" / "thread.txt") << "line\n";
  std::ofstream(dir / "here.txt") << "line\n";
  fs::create_symlink("synced/thread.txt", dir / "who.txt");
  // A thread here, or none: no other lock.
  for (const char* thread : {"here.txt", "missing.txt"}) {
    RunLock lock;
    ASSERT_TRUE(lock.taking(milliseconds(0))) << lock.failure().text;
    EXPECT_TRUE(lock.covering(thread, milliseconds(0))) << lock.failure().text;
    EXPECT_FALSE(fs::exists(dir / "synced" / RunLock::kFileName)) << thread;
  }
  RunLock lock;
  ASSERT_TRUE(lock.taking(milliseconds(0))) << lock.failure().text;
  ASSERT_TRUE(lock.covering("who.txt", milliseconds(0))) << lock.failure().text;
  // A run in the synced folder meets it held.
  fs::current_path(dir / "synced");
  RunLock there;
  EXPECT_FALSE(there.taking(milliseconds(0)));
  EXPECT_EQ(there.failure().number, messages::kLockBusy);
  // And one that wants the synced folder's lock from here names it.
  fs::current_path(dir);
  RunLock second;
  EXPECT_FALSE(second.covering("who.txt", milliseconds(0)));
  EXPECT_EQ(second.failure().text,
            "e58: pelk.lock is held by another run; gave up after 0 seconds");
  EXPECT_EQ(second.failure().file, (fs::canonical(dir / "synced") / RunLock::kFileName).string());
}

}  // namespace
