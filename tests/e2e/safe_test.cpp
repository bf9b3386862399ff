// Writes that stay whole: runs started together in one directory take turns,
// files keep their mode, owner and links, links planted at partial names are
// left alone, killed runs leave the old files and their partial files go with
// the next run, a standard output that fails is reported, and serial numbers
// go on at 1 after the largest.

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <thread>

#include "E2E.hpp"

namespace {

namespace fs = std::filesystem;

class SafeWrites : public E2E {
 protected:
  /// Starts a run and kills it as soon as a new partial file whose name
  /// begins with `of` shows in the scratch directory; that file's name, or
  /// empty when the run ended first.
  std::string killWhileWriting(const std::function<Started()>& starting, const std::string& of,
                               Outcome& outcome);
  /// True when the programs run through a runner (Wine).
  static bool underRunner() { return !fileSizeLimitsApply(); }
};

const char kNotUnderWine[] = "Windows programs under Wine: ";

/// "line 1" to "line <last>", one a line, from `first`.
std::string lines(int first, int last) {
  std::string text;
  for (int i = first; i <= last; ++i) text += "line " + std::to_string(i) + "\n";
  return text;
}

/// The file name a run printed on standard output.
std::string printedName(const Outcome& run) {
  return run.out.empty() ? std::string() : run.out.substr(0, run.out.size() - 1);
}

/// The serial number of a name "<stem><serial>-<minute>-<second>.txt" (by
/// default an expansion file's), or -1.
long expansionSerial(const std::string& name, const std::string& stem = "cmb") {
  if (name.rfind(stem, 0) != 0) return -1;
  size_t at = stem.size();
  long serial = 0;
  int dashes = 0;
  size_t digits = 0;
  for (; at < name.size() && name[at] != '.'; ++at) {
    if (name[at] == '-') {
      ++dashes;
    } else if (name[at] < '0' || name[at] > '9') {
      return -1;
    } else if (dashes == 0) {
      serial = serial * 10 + (name[at] - '0');
      ++digits;
    }
  }
  return dashes == 2 && digits > 0 && name.compare(at, std::string::npos, ".txt") == 0 ? serial
                                                                                       : -1;
}

/// True once the child has ended (it is left to be waited for).
bool ended(pid_t child) {
  siginfo_t info = {};
  return waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
         info.si_pid != 0;
}

/// Mode bits of a file (links not followed).
mode_t modeOf(const fs::path& path) {
  struct stat status;
  EXPECT_EQ(lstat(path.c_str(), &status), 0) << path;
  return status.st_mode & 07777;
}

/// An exclusive flock on the scratch directory's pelk.lock, as a script
/// may take it with flock(1).
class HeldLock {
 public:
  explicit HeldLock(const fs::path& dir)
      : fd_(open((dir / "pelk.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    EXPECT_EQ(flock(fd_, LOCK_EX), 0);
  }
  ~HeldLock() { letGo(); }
  void letGo() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

TEST_F(SafeWrites, RunsStartedTogetherEndAsThePassesOneAfterAnother) {
  writeDefaultCompanions();
  write("who.txt", lines(1, 40));
  // Each run drops Line-1 of who.txt: twelve runs drop the first twelve
  // lines when none is lost.
  constexpr int kRuns = 12;
  std::vector<Started> started;
  for (int i = 0; i < kRuns; ++i) started.push_back(startPelk({"-1-"}));
  for (Started& one : started) {
    Outcome run = finish(one);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "who.txt\n");
    EXPECT_EQ(run.err, "");
  }
  EXPECT_EQ(read("who.txt"), lines(kRuns + 1, 40));
  EXPECT_EQ(partialNames(), std::vector<std::string>{});
  EXPECT_TRUE(exists("pelk.lock"));
  EXPECT_FALSE(exists("error.txt"));
}

TEST_F(SafeWrites, CombinationRunsStartedTogetherAllSucceedWithWholeOutput) {
  writeDefaultCompanions();
  const std::string head =
      "1 " + sjis::colon + "Ann " + sjis::colon + "2017/08/14(Mon) 16:15:20.68 ID:abcdefgh\n";
  write("who.txt", "05 12 19 27 33 41 08 - draw\n" + head + "01 02 03 04 05 06 07 7to6\n" + head +
                       "01 02 03 04 05 06 07 08 8to6\n");
  // One run alone gives the output every run must give, and the two
  // expansions (7 and 28 lines).
  Outcome alone = pelk({"who.txt", "-c", "-r-"});
  ASSERT_EQ(alone.status, 0) << alone.err;
  const std::string output = read(printedName(alone));
  std::map<long, std::string> expansion;
  for (const std::string& name : names())
    if (expansionSerial(name) > 0) expansion[expansionSerial(name)] = read(name);
  ASSERT_EQ(expansion.size(), 2u);
  ASSERT_EQ(read("serial.txt"), "2\n");

  constexpr int kRuns = 6;
  std::vector<Started> started;
  for (int i = 0; i < kRuns; ++i) started.push_back(startPelk({"who.txt", "-c", "-r-"}));
  // Runs in one second would name their outputs alike: a name an earlier
  // run took is passed by, so every run writes an output of its own.
  std::set<std::string> printed;
  for (Started& one : started) {
    Outcome run = finish(one);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(read(printedName(run)) == output) << run.out;
    EXPECT_TRUE(printed.insert(printedName(run)).second) << run.out;
  }
  // Every run took two expansion files of its own, each whole, each with a
  // serial number no other file has; serial.txt holds the highest taken.
  std::set<long> serials;
  std::map<std::string, int> expansions;
  long highest = 0;
  for (const std::string& name : names()) {
    highest = std::max(highest, expansionSerial(name, "who"));
    const long serial = expansionSerial(name);
    if (serial < 0) continue;
    highest = std::max(highest, serial);
    EXPECT_TRUE(serials.insert(serial).second) << name;
    const std::string text = read(name);
    EXPECT_TRUE(text == expansion[1] || text == expansion[2]) << name;
    ++expansions[text];
  }
  EXPECT_EQ(serials.size(), 2u + 2 * kRuns);
  EXPECT_EQ(expansions[expansion[1]], 1 + kRuns);
  EXPECT_EQ(expansions[expansion[2]], 1 + kRuns);
  EXPECT_EQ(read("serial.txt"), std::to_string(highest) + "\n");
  EXPECT_FALSE(exists("error.txt"));
  EXPECT_EQ(partialNames(), std::vector<std::string>{});
}

TEST_F(SafeWrites, TivorRunsStartedTogetherLeaveOneWholeFile) {
  // Runs of different seeds and lengths: a file written over by another
  // would show a part of each.
  auto options = [](int seed, bool toOutput) {
    std::vector<std::string> given = {"-k" + std::to_string(100 * seed),
                                      "-s" + std::to_string(seed)};
    if (toOutput) given.push_back("-r");
    return given;
  };
  std::set<std::string> streams;
  for (int seed = 1; seed <= 6; ++seed) {
    Outcome run = tivor(options(seed, true));
    ASSERT_EQ(run.status, 0) << run.err;
    streams.insert(run.out);
  }
  ASSERT_EQ(streams.size(), 6u);
  // A few rounds: the runs meet differently each time.
  for (int round = 0; round < 3; ++round) {
    std::vector<Started> started;
    for (int seed = 1; seed <= 6; ++seed) started.push_back(startTivor(options(seed, false)));
    for (Started& one : started) {
      Outcome run = finish(one);
      EXPECT_EQ(run.status, 0) << run.err;
      EXPECT_EQ(run.err, "");
    }
    EXPECT_EQ(streams.count(read("tivor.txt")), 1u) << round;
    EXPECT_EQ(names(), std::vector<std::string>{"tivor.txt"});
  }
}

TEST_F(SafeWrites, ModeAndOwnerAreKept) {
  if (underRunner()) GTEST_SKIP() << kNotUnderWine << "Windows keeps no Unix mode nor owner";
  writeDefaultCompanions();
  for (mode_t mode : {0600, 0444, 0640}) {
    SCOPED_TRACE(mode);
    write("who.txt", lines(1, 5));
    write("tivor.txt", "01 \n");
    for (const char* name : {"who.txt", "tivor.txt"}) {
      fs::permissions(dir / name, static_cast<fs::perms>(mode));
      ASSERT_EQ(chown((dir / name).c_str(), 1234, 5678), 0);
    }
    Outcome run = pelk({"-1-"});
    EXPECT_EQ(run.status, 0) << run.err;
    Outcome numbers = tivor({"-k1"});
    EXPECT_EQ(numbers.status, 0) << numbers.err;
    EXPECT_EQ(read("who.txt"), lines(2, 5));
    EXPECT_NE(read("tivor.txt"), "01 \n");
    for (const char* name : {"who.txt", "tivor.txt"}) {
      struct stat status;
      ASSERT_EQ(stat((dir / name).c_str(), &status), 0);
      EXPECT_EQ(status.st_mode & 07777, mode) << name;
      EXPECT_EQ(status.st_uid, 1234u) << name;
      EXPECT_EQ(status.st_gid, 5678u) << name;
    }
  }
}

TEST_F(SafeWrites, FileTheUserMayNotWriteIsNotReplaced) {
  if (underRunner()) GTEST_SKIP() << kNotUnderWine << "Windows keeps no Unix mode nor owner";
  if (geteuid() != 0) GTEST_SKIP() << "only root may run the programs as another user";
  constexpr int kNobody = 65534;
  writeDefaultCompanions();
  fs::permissions(dir, static_cast<fs::perms>(0777));
  RunLimits asNobody;
  asNobody.user = kNobody;
  struct Case {
    mode_t mode;
    int owner;
    bool replaced;
  };
  for (const Case& c : {Case{0444, kNobody, false}, Case{0644, 0, false}, Case{0600, kNobody, true},
                        Case{0666, 0, true}}) {
    SCOPED_TRACE(std::to_string(c.mode) + " " + std::to_string(c.owner));
    write("who.txt", lines(1, 5));
    ASSERT_EQ(chown((dir / "who.txt").c_str(), c.owner, c.owner), 0);
    fs::permissions(dir / "who.txt", static_cast<fs::perms>(c.mode));
    Outcome run = pelk({"-1-"}, asNobody);
    struct stat status;
    ASSERT_EQ(stat((dir / "who.txt").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, c.mode);
    if (c.replaced) {
      EXPECT_EQ(run.status, 0) << run.err;
      EXPECT_EQ(read("who.txt"), lines(2, 5));
      // Only root gives a file away: a file of root's becomes the user's.
      EXPECT_EQ(status.st_uid, static_cast<uid_t>(kNobody));
    } else {
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.message, "e1: ofstream saveFile( who.txt )\n");
      EXPECT_EQ(read("who.txt"), lines(1, 5));
      EXPECT_EQ(status.st_uid, static_cast<uid_t>(c.owner));
    }
    EXPECT_EQ(partialNames(), std::vector<std::string>{});
  }
}

TEST_F(SafeWrites, LinkedFilesStayLinksAndTheFilesTheyLeadToAreRewritten) {
  if (underRunner()) GTEST_SKIP() << kNotUnderWine << "a Unix link looks like a plain file there";
  writeDefaultCompanions();
  fs::create_directory(dir / "synced");
  write("synced/thread.txt", lines(1, 5));
  write("synced/numbers.txt", "01 \n");
  fs::permissions(dir / "synced" / "thread.txt", static_cast<fs::perms>(0600));
  fs::create_symlink("synced/thread.txt", dir / "who.txt");
  fs::create_symlink(dir / "synced" / "numbers.txt", dir / "tivor.txt");
  Outcome run = pelk({"-1-"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "who.txt\n");
  Outcome numbers = tivor({"-k1"});
  EXPECT_EQ(numbers.status, 0) << numbers.err;
  const Outcome written = tivor({"-k1", "-r"});

  EXPECT_EQ(fs::read_symlink(dir / "who.txt"), "synced/thread.txt");
  EXPECT_EQ(fs::read_symlink(dir / "tivor.txt"), dir / "synced" / "numbers.txt");
  EXPECT_EQ(read("synced/thread.txt"), lines(2, 5));
  EXPECT_EQ(modeOf(dir / "synced" / "thread.txt"), 0600u);
  EXPECT_EQ(read("synced/numbers.txt"), written.out);
  EXPECT_EQ(partialNames(), std::vector<std::string>{});
  EXPECT_EQ(partialNames("synced"), std::vector<std::string>{});
}

TEST_F(SafeWrites, LinksPlantedAtPartialNamesAreLeftAlone) {
  if (underRunner())
    GTEST_SKIP() << kNotUnderWine << "the Windows process id, part of the partial names, "
                 << "is not the Unix one";
  writeDefaultCompanions();
  write("who.txt", lines(1, 5));
  fs::create_directory(dir / "elsewhere");
  write("elsewhere/victim.txt", "victim\n");
  // The program is held before it starts, so that links can wait at the
  // names its process will try first, and at the one name every run used
  // to write through.
  Started held = startPelk({"-1-"}, true);
  std::vector<std::string> planted = {"who.txt.pelk-part", "remove_e.txt.pelk-part"};
  for (int count = 1; count <= 8; ++count)
    for (const char* target : {"who.txt", "remove_e.txt"})
      planted.push_back(std::string(target) + "." + std::to_string(held.pid) + "-" +
                        std::to_string(count) + ".pelk-part");
  for (const std::string& name : planted)
    fs::create_symlink(dir / "elsewhere" / "victim.txt", dir / name);
  release(held);
  Outcome run = finish(held);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(read("who.txt"), lines(2, 5));
  // The next run's cleanup of partial files leaves them too.
  Outcome next = pelk({"-1-"});
  EXPECT_EQ(next.status, 0) << next.err;
  EXPECT_EQ(read("who.txt"), lines(3, 5));
  EXPECT_EQ(read("elsewhere/victim.txt"), "victim\n");
  for (const std::string& name : planted) {
    EXPECT_TRUE(fs::is_symlink(dir / name)) << name;
    EXPECT_EQ(fs::read_symlink(dir / name), dir / "elsewhere" / "victim.txt") << name;
  }
}

TEST_F(SafeWrites, LinksPlantedAtPelksOwnNamesAreReplacedNeverFollowed) {
  if (underRunner()) GTEST_SKIP() << kNotUnderWine << "a Unix link looks like a plain file there";
  // Another user of a shared directory (mode 1777) plants links at the
  // names of pelk's own files, each to a file of root's outside: the run
  // neither reads nor writes what they lead to.
  writeDefaultCompanions();
  const std::string thread = "05 12 19 27 33 41 08 -\nline 2\n01 02 03 04 05 06\n";
  write("who.txt", thread);
  fs::create_directory(dir / "elsewhere");
  fs::create_directory(dir / "pelk-undo");
  fs::permissions(dir, static_cast<fs::perms>(01777));
  fs::permissions(dir / "pelk-undo", static_cast<fs::perms>(01777));
  const std::vector<std::string> planted = {"serial.txt", "remove_e.txt", "error.txt",
                                            "pelk-undo/000005-who.txt"};
  std::map<std::string, std::string> victims;
  for (size_t i = 0; i < planted.size(); ++i) {
    const std::string victim = "elsewhere/victim" + std::to_string(i) + ".txt";
    // A number first, so that a serial.txt read through the link would show.
    victims[victim] = "41 root's own " + std::to_string(i) + "\n";
    write(victim, victims[victim]);
  }
  // The links belong to `nobody`, as if that user had planted them.
  for (size_t i = 0; i < planted.size(); ++i) {
    fs::create_symlink(dir / "elsewhere" / ("victim" + std::to_string(i) + ".txt"),
                       dir / planted[i]);
    if (lchown((dir / planted[i]).c_str(), 65534, 65534) != 0) ADD_FAILURE() << planted[i];
  }

  // The tabulation with a serial number: serial.txt and remove_e.txt
  // are read and written.
  Outcome table = pelk({"who.txt", "-t", "-l"});
  EXPECT_EQ(table.status, 0) << table.err;
  // A serial.txt behind a link counts as none: the count starts again.
  EXPECT_EQ(expansionSerial(printedName(table), "tab"), 1) << table.out;
  EXPECT_FALSE(fs::is_symlink(dir / "serial.txt"));
  EXPECT_EQ(read("serial.txt"), "1\n");
  EXPECT_FALSE(fs::is_symlink(dir / "remove_e.txt"));
  EXPECT_NE(read("remove_e.txt").find(printedName(table)), std::string::npos);
  // An overwrite keeps who.txt in pelk-undo beside the planted text, and
  // -U puts it back; a second -U meets the planted link and refuses to read
  // through it.
  Outcome overwrite = pelk({"-1-"});
  EXPECT_EQ(overwrite.status, 0) << overwrite.err;
  Outcome undo = pelk({"-U"});
  EXPECT_EQ(undo.status, 0) << undo.err;
  EXPECT_EQ(read("who.txt"), thread);
  Outcome again = pelk({"-U"});
  EXPECT_NE(again.status, 0);
  EXPECT_EQ(read("who.txt"), thread);

  for (const auto& [victim, text] : victims) EXPECT_EQ(read(victim), text) << victim;
}

std::string SafeWrites::killWhileWriting(const std::function<Started()>& starting,
                                         const std::string& of, Outcome& outcome) {
  // The partial files already there are listed before the run starts: a
  // quick run may have made its own before this process looks.
  const std::vector<std::string> before = partialNames();
  Started started = starting();
  std::string partial;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (partial.empty() && std::chrono::steady_clock::now() < deadline && !ended(started.pid)) {
    // Only the partial file of the output counts: the bookkeeping files
    // (serial.txt, remove_e.txt) may be renamed into place before the kill.
    for (const std::string& name : partialNames())
      if (name.rfind(of, 0) == 0 && std::find(before.begin(), before.end(), name) == before.end())
        partial = name;
    if (!partial.empty()) kill(started.pid, SIGKILL);
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  outcome = finish(started);
  return partial;
}

TEST_F(SafeWrites, KilledRunLeavesTheOldFilesAndTheNextRunRemovesItsPartialFile) {
  writeDefaultCompanions();
  // About 40 MB: the output is written for a good while.
  std::string thread = "05 12 19 27 33 41 08 - draw\n";
  const std::string line = "01 02 03 04 05 ^ " + std::string(80, 'x') + "\n";
  while (thread.size() < 40000000) thread += line;
  write("who.txt", thread);
  write("small.txt", "L1\n12345^\n");
  // Look-alikes that are no partial files of pelk's, and must stay.
  write("notes.txt.pelk-part", "mine");
  write("notes.txt.12-3.pelk-part.txt", "mine");
  fs::create_directory(dir / "folder.1-1.pelk-part");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"-6"}, std::vector<std::string>{"who.txt", "-6", "-r-"}}) {
    SCOPED_TRACE(args.size());
    Outcome killed;
    const std::string partial = killWhileWriting([&] { return startPelk(args); }, "who", killed);
    ASSERT_NE(partial, "") << "the run ended before its partial file was seen";
    EXPECT_EQ(killed.status, 128 + SIGKILL);
    EXPECT_TRUE(read("who.txt") == thread);
    EXPECT_TRUE(exists(partial)) << partial;

    Outcome next = pelk({"small.txt", "-6", "-r-"});
    EXPECT_EQ(next.status, 0) << next.err;
    EXPECT_FALSE(exists(partial)) << partial;
    EXPECT_EQ(partialNames(),
              (std::vector<std::string>{"folder.1-1.pelk-part", "notes.txt.pelk-part"}));
    EXPECT_EQ(read("notes.txt.12-3.pelk-part.txt"), "mine");
    EXPECT_TRUE(read("who.txt") == thread);
  }
}

TEST_F(SafeWrites, KilledTivorKeepsTheOldFile) {
  write("tivor.txt", "01 02 03 \n");
  Outcome killed;
  const std::string partial =
      killWhileWriting([&] { return startTivor({"-k400000"}); }, "tivor.txt", killed);
  ASSERT_NE(partial, "") << "tivor ended before its partial file was seen";
  EXPECT_EQ(killed.status, 128 + SIGKILL);
  EXPECT_EQ(read("tivor.txt"), "01 02 03 \n");
  EXPECT_TRUE(exists(partial));

  Outcome next = tivor({"-k1"});
  EXPECT_EQ(next.status, 0) << next.err;
  EXPECT_EQ(read("tivor.txt"), tivor({"-k1", "-r"}).out);
  EXPECT_EQ(names(), std::vector<std::string>{"tivor.txt"});
}

TEST_F(SafeWrites, StandardOutputThatCannotBeWrittenFailsTheRun) {
  writeDefaultCompanions();
  // Two equal combinations: -u and -t print the repeated one, then the name.
  write("who.txt", "05 12 19 27 33 41 08 - draw\n01 02 03 04 05 06\n06 05 04 03 02 01\n");
  for (RunLimits::Output output : {RunLimits::Output::full, RunLimits::Output::closedPipe}) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"who.txt", "-t"}, std::vector<std::string>{"who.txt", "-u"},
          std::vector<std::string>{"who.txt", "-6", "-o"}}) {
      SCOPED_TRACE(static_cast<int>(output) * 10 + static_cast<int>(args.size()));
      RunLimits limits;
      limits.output = output;
      Outcome run = pelk(args, limits);
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1),
                "e60: standard output cannot be written\n");
    }
    RunLimits limits;
    limits.output = output;
    Outcome numbers = tivor({"-r", "-k1"}, limits);
    EXPECT_EQ(numbers.status, 1);
    EXPECT_EQ(numbers.err, "tivor: writing to standard output failed\n");
  }
}

TEST_F(SafeWrites, SerialNumbersGoOnAtOneAfterTheLargest) {
  writeDefaultCompanions();
  const std::string head =
      "1 " + sjis::colon + "Ann " + sjis::colon + "2017/08/14(Mon) 16:15:20.68 ID:abcdefgh\n";
  write("who.txt", "05 12 19 27 33 41 08 - draw\n" + head + "01 02 03 04 05 06 07 7to6\n" +
                       "01 02 03 04 05 06 07 08 8to6\n");
  write("serial.txt", "2147483647\n");
  Outcome run = pelk({"who.txt", "-c", "-r-"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::map<long, std::string> expansions;
  for (const std::string& name : names())
    if (expansionSerial(name) >= 0) expansions[expansionSerial(name)] = read(name);
  ASSERT_EQ(expansions.size(), 2u);
  EXPECT_EQ(expansions.begin()->first, 1);
  EXPECT_EQ(expansions.rbegin()->first, 2);
  // Each expansion whole in its own file: 7 and 28 combinations.
  EXPECT_EQ(std::count(expansions[1].begin(), expansions[1].end(), '\n'), 7);
  EXPECT_EQ(std::count(expansions[2].begin(), expansions[2].end(), '\n'), 28);
  EXPECT_EQ(read("serial.txt"), "2\n");

  // A negative serial number counts as 0, and the names it gives are
  // temporary names the next run deletes.
  write("serial.txt", "-8\n");
  Outcome negative = pelk({"who.txt", "-6", "-l"});
  ASSERT_EQ(negative.status, 0) << negative.err;
  EXPECT_EQ(negative.out.rfind("who1-", 0), 0u) << negative.out;
  EXPECT_EQ(read("serial.txt"), "1\n");
  Outcome next = pelk({"who.txt", "-d"});
  ASSERT_EQ(next.status, 0) << next.err;
  EXPECT_FALSE(exists(printedName(negative)));
  for (const std::string& name : names()) EXPECT_LT(expansionSerial(name), 0) << name;
}

TEST_F(SafeWrites, RunWaitsForTheLockHeldByAnother) {
  if (underRunner())
    GTEST_SKIP() << kNotUnderWine << "a flock taken here does not meet the Windows lock";
  writeDefaultCompanions();
  write("who.txt", lines(1, 5));
  HeldLock lock(dir);
  Started waiting = startPelk({"-1-"});
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_FALSE(ended(waiting.pid)) << "the run did not wait";
  EXPECT_EQ(read("who.txt"), lines(1, 5));
  lock.letGo();
  Outcome run = finish(waiting);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "who.txt\n");
  EXPECT_EQ(read("who.txt"), lines(2, 5));
}

TEST_F(SafeWrites, LockFileThatCannotBeLockedStopsTheRun) {
  writeDefaultCompanions();
  write("who.txt", lines(1, 5));
  write("elsewhere.txt", "");
  // A directory of that name; and a link, never followed (Wine sees a
  // Unix link as the file it leads to).
  std::vector<bool> links = {false};
  if (!underRunner()) links.push_back(true);
  for (bool link : links) {
    SCOPED_TRACE(link);
    if (link) {
      fs::create_symlink("elsewhere.txt", dir / "pelk.lock");
    } else {
      fs::create_directory(dir / "pelk.lock");
    }
    const std::vector<std::string> before = names();
    Outcome run = pelk({"-1-"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1), "e59: pelk.lock cannot be locked\n");
    EXPECT_EQ(names(), before);
    EXPECT_EQ(read("who.txt"), lines(1, 5));
    fs::remove(dir / "pelk.lock");
  }
}

}  // namespace
