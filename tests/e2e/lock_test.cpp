// The run lock cannot be skipped: a lock file another user made, anything
// else at its name, a standard stream the run was started without, or a
// thread shared by two folders through a link never lets two runs write at
// once, nor a run write where it should not.

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "E2E.hpp"

namespace {

namespace fs = std::filesystem;

constexpr int kNobody = 65534;
const char kNotUnderWine[] = "Windows programs under Wine: ";

class RunLocks : public E2E {
 protected:
  /// True when the programs run through a runner (Wine).
  static bool underRunner() { return !fileSizeLimitsApply(); }
  /// Writes the six companion files into the subdirectory `sub` too.
  void writeCompanionsIn(const std::string& sub) {
    writeDefaultCompanions();
    for (const char* name :
         {"drafo.csv", "exclude.txt", "segmen.txt", "separate.txt", "unique.txt", "tabulate.txt"})
      fs::copy_file(dir / name, dir / sub / name, fs::copy_options::overwrite_existing);
  }
};

/// "line 1" to "line <last>", one a line, from `first`.
std::string lines(int first, int last) {
  std::string text;
  for (int i = first; i <= last; ++i) text += "line " + std::to_string(i) + "\n";
  return text;
}

/// Mode bits of a file (links not followed).
mode_t modeOf(const fs::path& path) {
  struct stat status;
  EXPECT_EQ(lstat(path.c_str(), &status), 0) << path;
  return status.st_mode & 07777;
}

/// Sets the umask of this process, which the runs it starts inherit, for as
/// long as it lives.
class Umask {
 public:
  explicit Umask(mode_t mask) : previous_(umask(mask)) {}
  ~Umask() { umask(previous_); }

 private:
  mode_t previous_;
};

TEST_F(RunLocks, LockFileOfAnotherUserStopsTheRunWhereItMayWrite) {
  if (underRunner()) GTEST_SKIP() << kNotUnderWine << "Windows keeps no Unix mode nor owner";
  if (geteuid() != 0) GTEST_SKIP() << "only root may run the programs as another user";
  writeDefaultCompanions();
  RunLimits asNobody;
  asNobody.user = kNobody;
  // The scratch directory shared as a sticky directory every user may
  // write, or as one of nobody's group, with a lock file of root's that
  // nobody may not open.
  struct Case {
    mode_t directoryMode;
    gid_t directoryGroup;
    mode_t lockMode;
    std::string mode;
  };
  for (const Case& c : {Case{01777, 0, 0600, "0600"}, Case{01777, 0, 0000, "0000"},
                        Case{02775, kNobody, 0600, "0600"}, Case{0777, 0, 0640, "0640"}}) {
    SCOPED_TRACE(c.mode + " in " + std::to_string(c.directoryMode));
    ASSERT_EQ(chown(dir.c_str(), 0, c.directoryGroup), 0);
    fs::permissions(dir, static_cast<fs::perms>(c.directoryMode));
    write("who.txt", lines(1, 5));
    write("pelk.lock", "");
    ASSERT_EQ(chown((dir / "pelk.lock").c_str(), 0, 0), 0);
    fs::permissions(dir / "pelk.lock", static_cast<fs::perms>(c.lockMode));
    const std::vector<std::string> before = names();
    Outcome run = pelk({"-1-"}, asNobody);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.message, "e59: pelk.lock cannot be locked\n");
    // The hint names the file, its owner and its mode, and what to do.
    EXPECT_NE(run.err.find("pelk: pelk.lock: it belongs to root and has mode " + c.mode +
                           ", so this user may not open it: root lets every user read it "
                           "(chmod 666 pelk.lock)"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(names(), before);
    EXPECT_EQ(read("who.txt"), lines(1, 5));
    EXPECT_EQ(modeOf(dir / "pelk.lock"), c.lockMode);
    fs::remove(dir / "pelk.lock");
  }
}

TEST_F(RunLocks, LockFileOfAnotherUserIsPassedByWhereTheRunMayNotWrite) {
  if (underRunner()) GTEST_SKIP() << kNotUnderWine << "Windows keeps no Unix mode nor owner";
  if (geteuid() != 0) GTEST_SKIP() << "only root may run the programs as another user";
  // A directory nobody may not write, its lock file of root's unreadable:
  // the run can change nothing there and goes on without its lock, to fail
  // as it would anyway; for the thread its link leads to in a folder nobody
  // may write, it takes that folder's lock, and stops before writing over
  // the thread, since what it replaces cannot be kept in pelk-undo here.
  fs::create_directory(dir / "shared");
  writeCompanionsIn("shared");
  fs::permissions(dir / "shared", static_cast<fs::perms>(01777));
  write("shared/thread.txt", lines(1, 5));
  ASSERT_EQ(chown((dir / "shared" / "thread.txt").c_str(), kNobody, kNobody), 0);
  write("pelk.lock", "");
  fs::permissions(dir / "pelk.lock", static_cast<fs::perms>(0));
  fs::permissions(dir, static_cast<fs::perms>(0755));
  RunLimits asNobody;
  asNobody.user = kNobody;
  // who.txt a file here, or a link to the shared folder's thread.
  struct Case {
    bool linked;
    int status;
    std::string message;
    std::string after;
  };
  for (const Case& c : {Case{false, 1, "e1: ofstream saveFile( who.txt )\n", lines(1, 5)},
                        Case{true, 1, "e68: who.txt cannot be kept in pelk-undo\n", lines(1, 5)}}) {
    SCOPED_TRACE(c.linked);
    fs::remove(dir / "who.txt");
    write("shared/thread.txt", lines(1, 5));
    if (c.linked)
      fs::create_symlink("shared/thread.txt", dir / "who.txt");
    else
      write("who.txt", lines(1, 5));
    Outcome run = pelk({"who.txt", "-1-", "-o"}, asNobody);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.message, c.message);
    EXPECT_EQ(read("who.txt"), c.after);
  }
  // The lock of the folder the link leads to was taken there.
  EXPECT_TRUE(fs::is_regular_file(dir / "shared" / "pelk.lock"));
  EXPECT_EQ(modeOf(dir / "pelk.lock"), 0u);
}

TEST_F(RunLocks, LockFileMadeUnderAnyUmaskServesEveryUserOfTheDirectory) {
  if (underRunner()) GTEST_SKIP() << kNotUnderWine << "Windows keeps no Unix mode nor owner";
  if (geteuid() != 0) GTEST_SKIP() << "only root may run the programs as another user";
  writeDefaultCompanions();
  write("who.txt", lines(1, 5));
  // Not sticky: the second user replaces the first one's who.txt.
  fs::permissions(dir, static_cast<fs::perms>(0777));
  fs::permissions(dir / "who.txt", static_cast<fs::perms>(0666));
  // nobody makes the lock file with a umask that shuts out everyone else;
  // another user runs next in the same directory.
  RunLimits first;
  first.user = kNobody;
  RunLimits second;
  second.user = 4321;
  {
    Umask closedMask(077);
    Outcome run = pelk({"who.txt", "-1-", "-o"}, first);
    EXPECT_EQ(run.status, 0) << run.err;
  }
  EXPECT_EQ(modeOf(dir / "pelk.lock"), 0666u);
  Outcome next = pelk({"who.txt", "-1-", "-o"}, second);
  EXPECT_EQ(next.status, 0) << next.err;
  EXPECT_EQ(read("who.txt"), lines(3, 5));
}

/// Waits for the child to end, up to `limit`; kills it when it has not.
/// True when it ended by itself.
bool endsWithin(pid_t child, std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    siginfo_t info = {};
    if (waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
        info.si_pid != 0)
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(child, SIGKILL);
  return false;
}

TEST_F(RunLocks, FifoAtTheLockFileNameStopsTheRunAtOnce) {
  if (underRunner()) GTEST_SKIP() << kNotUnderWine << "no FIFO there";
  writeDefaultCompanions();
  write("who.txt", lines(1, 5));
  // Root's FIFO: opened by root, by nobody for reading only (where a
  // blocking open would wait for a writer for ever), or not at all.
  struct Case {
    int user;
    mode_t mode;
  };
  std::vector<Case> cases = {{-1, 0600}};
  if (geteuid() == 0) {
    cases.insert(cases.end(), {{kNobody, 0644}, {kNobody, 0600}});
    fs::permissions(dir, static_cast<fs::perms>(01777));
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.user) + " " + std::to_string(c.mode));
    fs::remove(dir / "pelk.lock");
    ASSERT_EQ(mkfifo((dir / "pelk.lock").c_str(), 0600), 0);
    fs::permissions(dir / "pelk.lock", static_cast<fs::perms>(c.mode));
    const std::vector<std::string> before = names();
    RunLimits limits;
    limits.user = c.user;
    Started started = start(pelkBinary(), {"-1-"}, limits);
    // A run blocked in open never ends: the limit is only how long to wait
    // for one that does.
    EXPECT_TRUE(endsWithin(started.pid, std::chrono::seconds(30))) << "blocked on the FIFO";
    Outcome run = finish(started);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "e59: pelk.lock cannot be locked\n"
              "pelk: pelk.lock: it is a FIFO, not a file: move it away, and the next run makes a "
              "lock file there\n"
              "pelk: the run lock pelk.lock cannot be taken, so runs here could not take turns; "
              "the run did nothing; move away what is in the way (a directory, a link, a FIFO), "
              "and have a lock file that this user may not open made readable by its owner "
              "(chmod 666 pelk.lock)\n");
    EXPECT_EQ(names(), before);
    EXPECT_EQ(read("who.txt"), lines(1, 5));
  }
}

TEST_F(RunLocks, ClosedStandardOutputStopsTheRunBeforeItDoesAnything) {
  if (underRunner()) GTEST_SKIP() << kNotUnderWine << "a closed descriptor is no Windows handle";
  writeDefaultCompanions();
  const std::string thread = "05 12 19 27 33 41 08 - draw\n01 02 03 04 05 06\n06 05 04 03 02 01\n";
  RunLimits limits;
  limits.output = RunLimits::Output::closed;
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"who.txt", "-t"}, std::vector<std::string>{"-1-"},
        std::vector<std::string>{"who.txt", "-6", "-o"}, std::vector<std::string>{"-h"}}) {
    SCOPED_TRACE(args[0] + " " + args.back());
    write("who.txt", thread);
    const std::vector<std::string> before = names();
    Outcome run = pelk(args, limits);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "e60: standard output cannot be written\n"
              "pelk: standard output is closed (pelk ... >&-), so the run did nothing; start pelk "
              "with it open, to /dev/null when the name of the output is not wanted\n"
              "pelk: the name of the output file cannot be printed on standard output; check "
              "where standard output goes: a full disk, a pipe closed early, or none at all "
              "(>&-)\n");
    // Not even the lock file: the name printed would have gone into it.
    EXPECT_EQ(names(), before);
    EXPECT_EQ(read("who.txt"), thread);
  }
}

TEST_F(RunLocks, ClosedStandardErrorLosesTheMessagesOnly) {
  if (underRunner()) GTEST_SKIP() << kNotUnderWine << "a closed descriptor is no Windows handle";
  writeDefaultCompanions();
  write("who.txt", lines(1, 5));
  RunLimits limits;
  limits.errorClosed = true;
  // A run that succeeds, and one whose message (e3 and its hint) would
  // have gone into the lock file opened in the place of standard error.
  Outcome done = pelk({"-1-"}, limits);
  EXPECT_EQ(done.status, 0);
  EXPECT_EQ(done.out, "who.txt\n");
  Outcome failed = pelk({"missing.txt", "-1-"}, limits);
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.out, "");
  EXPECT_EQ(read("who.txt"), lines(2, 5));
  EXPECT_EQ(read("pelk.lock"), "");
}

TEST_F(RunLocks, TivorWithoutStandardStreams) {
  if (underRunner()) GTEST_SKIP() << kNotUnderWine << "a closed descriptor is no Windows handle";
  const std::string numbers = tivor({"-k3", "-s7", "-r"}).out;
  ASSERT_NE(numbers, "");
  // Numbers for tivor.txt need no standard output; numbers for it fail as
  // before, having written nothing.
  for (bool outputClosed : {true, false}) {
    SCOPED_TRACE(outputClosed);
    fs::remove(dir / "tivor.txt");
    RunLimits limits;
    limits.output = outputClosed ? RunLimits::Output::closed : RunLimits::Output::captured;
    limits.errorClosed = !outputClosed;
    Outcome run = tivor({"-k3", "-s7"}, limits);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(read("tivor.txt"), numbers);
    EXPECT_EQ(names(), std::vector<std::string>{"tivor.txt"});
  }
  RunLimits closed;
  closed.output = RunLimits::Output::closed;
  Outcome printed = tivor({"-k3", "-s7", "-r"}, closed);
  EXPECT_EQ(printed.status, 1);
  EXPECT_EQ(printed.err, "tivor: writing to standard output failed\n");
  EXPECT_EQ(names(), std::vector<std::string>{"tivor.txt"});
}

TEST_F(RunLocks, FoldersSharingOneThreadThroughALinkTakeTurns) {
  if (underRunner()) GTEST_SKIP() << kNotUnderWine << "a Unix link looks like a plain file there";
  // B holds the thread; A's who.txt leads to it, as a synced folder would.
  fs::create_directories(dir / "A");
  fs::create_directories(dir / "B");
  writeCompanionsIn("A");
  writeCompanionsIn("B");
  fs::create_symlink("../B/who.txt", dir / "A" / "who.txt");
  // Each run drops Line-1: twenty runs drop twenty lines when none is lost.
  constexpr int kRuns = 20;
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    write("B/who.txt", lines(1, 40));
    std::vector<Started> started;
    for (int i = 0; i < kRuns; ++i) {
      RunLimits limits;
      limits.subdirectory = i % 2 ? "A" : "B";
      started.push_back(start(pelkBinary(), {"who.txt", "-1-", "-o"}, limits));
    }
    for (Started& one : started) {
      Outcome run = finish(one);
      EXPECT_EQ(run.status, 0) << run.err;
      EXPECT_EQ(run.out, "who.txt\n");
    }
    EXPECT_EQ(read("B/who.txt"), lines(kRuns + 1, 40));
    EXPECT_TRUE(fs::is_symlink(dir / "A" / "who.txt"));
  }
}

TEST_F(RunLocks, FoldersLinkedBothWaysNeverWaitOnEachOther) {
  if (underRunner()) GTEST_SKIP() << kNotUnderWine << "a Unix link looks like a plain file there";
  // Each folder's who.txt leads into the other: every run wants both locks,
  // which it takes in one order whichever folder it starts in. Runs that
  // waited on each other would give up after 60 seconds (e58).
  fs::create_directories(dir / "A");
  fs::create_directories(dir / "B");
  writeCompanionsIn("A");
  writeCompanionsIn("B");
  fs::create_symlink("../B/b.txt", dir / "A" / "who.txt");
  fs::create_symlink("../A/a.txt", dir / "B" / "who.txt");
  constexpr int kRuns = 10;
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    write("A/a.txt", lines(1, 20));
    write("B/b.txt", lines(1, 20));
    std::vector<Started> started;
    for (int i = 0; i < 2 * kRuns; ++i) {
      RunLimits limits;
      limits.subdirectory = i % 2 ? "A" : "B";
      started.push_back(start(pelkBinary(), {"who.txt", "-1-", "-o"}, limits));
    }
    for (Started& one : started) {
      Outcome run = finish(one);
      EXPECT_EQ(run.status, 0) << run.err;
    }
    EXPECT_EQ(read("A/a.txt"), lines(kRuns + 1, 20));
    EXPECT_EQ(read("B/b.txt"), lines(kRuns + 1, 20));
  }
}

}  // namespace
