#include "ReplacingFile.hpp"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

namespace {

namespace fs = std::filesystem;

constexpr char kTag[] = "test-part";

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void put(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

mode_t modeOf(const fs::path& path) {
  struct stat status;
  EXPECT_EQ(lstat(path.c_str(), &status), 0) << path;
  return status.st_mode & 07777;
}

/// Names in a directory that have the partial shape.
std::vector<std::string> partialsIn(const fs::path& dir) {
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(dir))
    if (replacing::isPartialName(entry.path().filename().string(), kTag))
      found.push_back(entry.path().filename());
  return found;
}

class Replacing : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    dir = fs::temp_directory_path() /
          ("replacing-" + std::to_string(getpid()) + "-" + std::to_string(random()));
    fs::create_directories(dir);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  /// Writes `bytes` in place of `target` in one go.
  bool replace(const fs::path& target, const std::string& bytes) {
    replacing::ReplacingFile file(kTag, false);
    return file.open(target) && file.write(bytes) && file.commit();
  }

  fs::path dir;
};

TEST(PartialName, HasExactlyThePartialShape) {
  for (const char* name : {"who.txt.4711-1.test-part", "x.0-0.test-part", "..1-22.test-part",
                           "cmb3-14-5.txt.12-3.test-part"})
    EXPECT_TRUE(replacing::isPartialName(name, kTag)) << name;
  for (const char* name :
       {"who.txt.test-part", ".4711-1.test-part", "who.txt.4711-1.test-part.txt",
        "who.txt.4711-1.test-parts", "who.txt.4711-1.other-part", "who.txt.47a1-1.test-part",
        "who.txt.4711-.test-part", "who.txt.-1.test-part", "who.txt.4711_1.test-part",
        "who.txt4711-1.test-part", "who.txt.4711-1-test-part", "who.txt.4711-1.", "test-part"})
    EXPECT_FALSE(replacing::isPartialName(name, kTag)) << name;
}

TEST_F(Replacing, TargetHoldsTheOldTextUntilTheCommit) {
  const fs::path target = dir / "who.txt";
  put(target, "old\n");
  replacing::ReplacingFile file(kTag, false);
  ASSERT_TRUE(file.open(target));
  const fs::path partial = file.partialName();
  EXPECT_EQ(partial.parent_path(), dir);
  EXPECT_TRUE(replacing::isPartialName(partial.filename().string(), kTag)) << partial;
  // Private until the commit, whatever the mode will be.
  EXPECT_EQ(modeOf(partial), 0600u);
  ASSERT_TRUE(file.write(std::string(200000, 'n') + "\n"));
  EXPECT_EQ(slurp(target), "old\n");
  ASSERT_TRUE(file.commit());
  EXPECT_EQ(slurp(target), std::string(200000, 'n') + "\n");
  EXPECT_EQ(partialsIn(dir), std::vector<std::string>{});
}

TEST_F(Replacing, DroppedWithoutCommitLeavesTheOldFileAndNoPartial) {
  const fs::path target = dir / "who.txt";
  put(target, "old\n");
  {
    replacing::ReplacingFile file(kTag, false);
    ASSERT_TRUE(file.open(target));
    ASSERT_TRUE(file.write(std::string(100000, 'n')));
  }
  EXPECT_EQ(slurp(target), "old\n");
  EXPECT_EQ(partialsIn(dir), std::vector<std::string>{});
}

TEST_F(Replacing, ModeAndOwnerAreKept) {
  const fs::path target = dir / "who.txt";
  for (mode_t mode : {0600, 0444, 0640, 0755, 0604}) {
    put(target, "old\n");
    fs::permissions(target, static_cast<fs::perms>(mode));
    // Only root may hand a file to another user.
    const bool root = geteuid() == 0;
    if (root) {
      ASSERT_EQ(chown(target.c_str(), 1234, 5678), 0);
    }
    ASSERT_TRUE(replace(target, "new\n")) << std::oct << mode;
    EXPECT_EQ(slurp(target), "new\n");
    EXPECT_EQ(modeOf(target), mode);
    struct stat status;
    ASSERT_EQ(stat(target.c_str(), &status), 0);
    if (root) {
      EXPECT_EQ(status.st_uid, 1234u);
      EXPECT_EQ(status.st_gid, 5678u);
    }
    fs::remove(target);
  }
}

TEST_F(Replacing, NewFileGetsTheModeTheUmaskLeaves) {
  const mode_t previous = umask(0);
  for (mode_t mask : {022, 077, 002}) {
    umask(mask);
    const fs::path target = dir / ("new" + std::to_string(mask) + ".txt");
    EXPECT_TRUE(replace(target, "x"));
    EXPECT_EQ(modeOf(target), 0666 & ~mask);
  }
  umask(previous);
}

TEST_F(Replacing, LinkStaysALinkAndTheFileItLeadsToIsReplaced) {
  fs::create_directories(dir / "store" / "deep");
  put(dir / "store" / "deep" / "thread.txt", "old\n");
  fs::permissions(dir / "store" / "deep" / "thread.txt", static_cast<fs::perms>(0600));
  // who.txt -> store/hop.txt -> deep/thread.txt: each link read from its
  // own directory.
  fs::create_symlink("store/hop.txt", dir / "who.txt");
  fs::create_symlink("deep/thread.txt", dir / "store" / "hop.txt");
  replacing::ReplacingFile file(kTag, false);
  ASSERT_TRUE(file.open(dir / "who.txt"));
  EXPECT_EQ(fs::path(file.partialName()).parent_path(), dir / "store" / "deep");
  ASSERT_TRUE(file.write("new\n") && file.commit());
  EXPECT_EQ(fs::read_symlink(dir / "who.txt"), "store/hop.txt");
  EXPECT_EQ(fs::read_symlink(dir / "store" / "hop.txt"), "deep/thread.txt");
  EXPECT_EQ(slurp(dir / "store" / "deep" / "thread.txt"), "new\n");
  EXPECT_EQ(modeOf(dir / "store" / "deep" / "thread.txt"), 0600u);
  for (const fs::path& where : {dir, dir / "store", dir / "store" / "deep"})
    EXPECT_EQ(partialsIn(where), std::vector<std::string>{}) << where;

  // A link that leads nowhere yet gets its file, and stays.
  fs::create_symlink(dir / "store" / "later.txt", dir / "later.txt");
  ASSERT_TRUE(replace(dir / "later.txt", "made\n"));
  EXPECT_TRUE(fs::is_symlink(dir / "later.txt"));
  EXPECT_EQ(slurp(dir / "store" / "later.txt"), "made\n");
}

TEST_F(Replacing, RefusesWhatIsNoRegularFile) {
  fs::create_directory(dir / "folder.txt");
  ASSERT_EQ(mkfifo((dir / "fifo.txt").c_str(), 0600), 0);
  fs::create_symlink("loop2.txt", dir / "loop1.txt");
  fs::create_symlink("loop1.txt", dir / "loop2.txt");
  fs::create_symlink("folder.txt", dir / "toFolder.txt");
  fs::create_directory(dir / "parent");
  for (const char* name : {"folder.txt", "fifo.txt", "loop1.txt", "toFolder.txt", "none/x.txt"}) {
    replacing::ReplacingFile file(kTag, false);
    EXPECT_FALSE(file.open(dir / name)) << name;
    EXPECT_FALSE(file.write("x")) << name;
    EXPECT_FALSE(file.commit()) << name;
  }
  EXPECT_TRUE(fs::is_directory(dir / "folder.txt"));
  EXPECT_TRUE(fs::is_fifo(dir / "fifo.txt"));
  EXPECT_EQ(partialsIn(dir), std::vector<std::string>{});
}

TEST_F(Replacing, NeverWritesThroughALinkAtAPartialName) {
  const fs::path target = dir / "who.txt";
  put(target, "old\n");
  put(dir / "victim.txt", "victim\n");
  std::string seen;
  {
    replacing::ReplacingFile file(kTag, false);
    ASSERT_TRUE(file.open(target));
    seen = fs::path(file.partialName()).filename();
  }
  // The names this process will try next: "<target>.<pid>-<count>.<tag>"
  // with the counts after the one just seen.
  const std::string head = "who.txt." + std::to_string(getpid()) + "-";
  ASSERT_EQ(seen.rfind(head, 0), 0u) << seen;
  const unsigned long count = std::stoul(seen.substr(head.size()));
  std::vector<fs::path> planted;
  for (unsigned long next = count + 1; next <= count + 3; ++next) {
    planted.push_back(dir / (head + std::to_string(next) + "." + kTag));
    fs::create_symlink(dir / "victim.txt", planted.back());
  }
  ASSERT_TRUE(replace(target, "new\n"));
  EXPECT_EQ(slurp(target), "new\n");
  EXPECT_EQ(slurp(dir / "victim.txt"), "victim\n");
  for (const fs::path& link : planted) EXPECT_TRUE(fs::is_symlink(link)) << link;
}

TEST_F(Replacing, OnlyAbandonedPartialFilesAreRemoved) {
  const fs::path target = dir / "who.txt";
  put(target, "old\n");
  put(dir / "who.txt.1-1.test-part", "abandoned");
  put(dir / "who.txt.test-part", "other shape");
  put(dir / "who.txt.1-1.test-part.txt", "other shape");
  put(dir / "victim.txt", "victim\n");
  fs::create_symlink("victim.txt", dir / "link.2-2.test-part");
  fs::create_directory(dir / "folder.3-3.test-part");
  replacing::ReplacingFile living(kTag, false);
  ASSERT_TRUE(living.open(target));
  ASSERT_TRUE(living.write("new\n"));

  const fs::path previous = fs::current_path();
  fs::current_path(dir);
  replacing::removeAbandonedPartials(kTag);
  fs::current_path(previous);

  EXPECT_FALSE(fs::exists(dir / "who.txt.1-1.test-part"));
  // A living writer's file, a link, a directory and other shapes stay.
  EXPECT_TRUE(fs::is_regular_file(living.partialName()));
  EXPECT_TRUE(fs::is_symlink(dir / "link.2-2.test-part"));
  EXPECT_TRUE(fs::is_directory(dir / "folder.3-3.test-part"));
  EXPECT_TRUE(fs::exists(dir / "who.txt.test-part"));
  EXPECT_TRUE(fs::exists(dir / "who.txt.1-1.test-part.txt"));
  EXPECT_EQ(slurp(dir / "victim.txt"), "victim\n");
  ASSERT_TRUE(living.commit());
  EXPECT_EQ(slurp(target), "new\n");
}

}  // namespace

namespace {

TEST_F(Replacing, CreatingNewWritesOnlyWhereNothingHasTheName) {
  using replacing::Creation;
  const mode_t previous = umask(027);
  const fs::path fresh = dir / "fresh.txt";
  EXPECT_EQ(replacing::creatingNew(fresh, "new text\n", true), Creation::kCreated);
  EXPECT_EQ(slurp(fresh), "new text\n");
  EXPECT_EQ(modeOf(fresh), 0640);
  umask(previous);

  // Something has the name: nothing is written, not even through a link.
  EXPECT_EQ(replacing::creatingNew(fresh, "other", true), Creation::kExists);
  EXPECT_EQ(slurp(fresh), "new text\n");
  const fs::path link = dir / "link.txt";
  fs::create_symlink(fresh, link);
  EXPECT_EQ(replacing::creatingNew(link, "other", true), Creation::kExists);
  EXPECT_EQ(slurp(fresh), "new text\n");
  fs::create_directory(dir / "folder");
  EXPECT_EQ(replacing::creatingNew(dir / "folder", "other", true), Creation::kExists);
  EXPECT_EQ(replacing::creatingNew(dir / "missing" / "x.txt", "other", true), Creation::kFailed);
}

/// Runs `work` in a child whose files may hold 4 KiB at most; true when it
/// returned true there.
bool inFourKilobytes(const std::function<bool()>& work) {
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    _exit(work() ? 0 : 1);
  }
  int status = 0;
  return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(Replacing, CreatingNewLeavesNoFileWhenTheWriteFails) {
  const fs::path target = dir / "big.txt";
  EXPECT_TRUE(inFourKilobytes([&] {
    return replacing::creatingNew(target, std::string(100000, 'x'), true) ==
           replacing::Creation::kFailed;
  }));
  EXPECT_FALSE(fs::exists(target));
}

TEST_F(Replacing, WritesOfEverySizeComeOutWholeAndInOrder) {
  // Small writes are gathered, large ones go out as they are: mixed, in
  // every order, the file holds them one after the other.
  std::mt19937 random(3);
  const size_t sizes[] = {1, 100, 65535, 65536, 65537, 300000};
  for (int trial = 0; trial < 8; ++trial) {
    const fs::path target = dir / "who.txt";
    replacing::ReplacingFile file(kTag, false);
    ASSERT_TRUE(file.open(target));
    std::string expected;
    for (int i = 0; i < 12; ++i) {
      const std::string piece(sizes[random() % std::size(sizes)], char('a' + i));
      expected += piece;
      ASSERT_TRUE(file.write(piece));
    }
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(slurp(target), expected) << trial;
  }
}

TEST_F(Replacing, ALargeWriteThatFailsFailsTheFile) {
  // In a child whose files may hold 4 KiB at most: a write past the limit,
  // gathered or not, fails the file, and the old text stays.
  const fs::path target = dir / "who.txt";
  put(target, "old\n");
  for (const size_t size : {size_t{3000}, size_t{100000}}) {
    // The large write itself fails; the gathered one fails at the commit.
    EXPECT_TRUE(inFourKilobytes([&] {
      replacing::ReplacingFile file(kTag, false);
      if (!file.open(target)) return false;
      const bool wrote = file.write(std::string(3000, 'x')) && file.write(std::string(size, 'y'));
      return !file.commit() && wrote == (size < 4096);
    })) << size;
    EXPECT_EQ(slurp(target), "old\n");
    EXPECT_EQ(partialsIn(dir), std::vector<std::string>{});
  }
}

}  // namespace
