#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

/// What a run of one of the programs left behind.
struct Outcome {
  int status = -1;     ///< exit status, or 128 + signal when it was killed
  std::string out;     ///< standard output (line ends normalised, see E2E)
  std::string err;     ///< standard error (line ends normalised, see E2E)
  std::string rawOut;  ///< standard output byte for byte
  /// pelk: standard error without its hint lines (those that begin
  /// "pelk: "), so the numbered message alone, as its first line; `pelk`
  /// checks that the hints follow it. Equal to `err` for tivor.
  std::string message;
};

/// Limits put on the child process of a run. A test that sets one starts
/// with `if (!fileSizeLimitsApply()) GTEST_SKIP() << ...;`, since a limit
/// cannot reach a program run through Wine.
struct RunLimits {
  long fileSizeLimit = -1;  ///< RLIMIT_FSIZE in bytes, or -1 for none
  /// Where standard output goes: to a file read back into the Outcome, to
  /// the full device (/dev/full: every write fails), to a pipe whose
  /// reading end is closed (every write fails; nothing is read back), or
  /// nowhere: descriptor 1 closed (program >&-).
  enum class Output { captured, full, closedPipe, closed } output = Output::captured;
  /// Standard error closed (program 2>&-); empty in the Outcome.
  bool errorClosed = false;
  /// The subdirectory of the scratch directory to run in; empty: the
  /// scratch directory itself.
  std::string subdirectory = {};
  /// Runs the program as this user and group id instead of the test's own
  /// (the tests run as root), or -1. The program is run from a copy that
  /// user may reach, wherever the build lies.
  int user = -1;
  /// The locale of the run: LANG, with LANGUAGE, LC_ALL, LC_MESSAGES and
  /// LC_CTYPE unset, so that the language and the terminal's encoding pelk
  /// sees are the test's, whatever the environment the tests run in. Empty:
  /// "C" (English, a terminal of no named encoding); under a runner
  /// "C.UTF-8", which keeps Wine's names of files UTF-8 and its language
  /// English.
  std::string lang = {};
};

/// A run started and not waited for yet (E2E::start).
struct Started {
  pid_t pid = -1;             ///< the child process
  int gate = -1;              ///< held shut until `release`, for a gated start
  std::filesystem::path out;  ///< where its standard output goes
  std::filesystem::path err;  ///< where its standard error goes
  /// What was started, so that a run Wine failed to start is started again.
  std::string program;
  std::vector<std::string> args;
  RunLimits limits;
};

/// A scratch working directory in which the real pelk and tivor binaries
/// run. The binaries are those of the build, or the ones named by the
/// environment variables PELK_BIN and TIVOR_BIN; E2E_RUNNER (for example
/// "wine") is put before them when set.
///
/// E2E_CRLF=1 is for programs built for Windows, whose text files and
/// console output end their lines with CR LF: standard output and error, and
/// every file that `read` returns, are then compared with each CR LF turned
/// into LF, so that the tests keep one set of expectations. A file that still
/// holds exactly what `write` put there is returned as it is.
class E2E : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  /// Writes a file of the scratch directory byte for byte.
  void write(const std::string& name, const std::string& bytes);
  /// Reads a file of the scratch directory, line ends normalised under
  /// E2E_CRLF; fails the test when it is missing.
  std::string read(const std::string& name);
  /// Reads a file of the scratch directory byte for byte.
  std::string readRaw(const std::string& name);
  /// The text with the line ends the programs write: LF, or CR LF under
  /// E2E_CRLF.
  static std::string platformLines(const std::string& text);
  /// False when the programs run through a runner (Wine): a file-size limit
  /// (RunLimits) then ends the runner itself instead of failing a write, and
  /// Windows has no such limit; tests that need one skip there.
  static bool fileSizeLimitsApply();
  bool exists(const std::string& name);
  /// Names of the scratch directory's entries, sorted.
  std::vector<std::string> names();
  /// Names of the partial files in the scratch directory, or in its
  /// subdirectory `sub`: those the programs write before renaming them over
  /// their targets ("who.txt.4711-1.pelk-part", "tivor.txt.4711-1.tivor-part"),
  /// and any other name that ends in ".pelk-part" or ".tivor-part".
  std::vector<std::string> partialNames(const std::string& sub = "");
  /// Writes the six companion files with their default contents, so that a
  /// run goes past the companion checks.
  void writeDefaultCompanions();

  Outcome pelk(const std::vector<std::string>& args, RunLimits limits = {});
  /// Writes `thread` to who.txt and runs pelk with `args`, expecting a refusal:
  /// status 1, the numbered message `err` on standard error (hint lines after
  /// it), who.txt as it was.
  void expectRefused(const std::string& thread, const std::vector<std::string>& args,
                     const std::string& err);
  Outcome tivor(const std::vector<std::string>& args, RunLimits limits = {});
  /// Mounts a tmpfs of `bytes` bytes over the scratch directory (moving its
  /// files in), so that a test can fill it or make it read-only. False when
  /// this machine does not allow mounting; the test should then be skipped.
  bool mountScratch(long bytes);
  /// Remounts the scratch tmpfs read-only.
  bool makeScratchReadOnly();

  /// Runs any program with the scratch directory as working directory.
  Outcome run(const std::string& program, const std::vector<std::string>& args, RunLimits limits);
  /// Starts a program as `run` does, without waiting for it. A `gated` start
  /// holds the child before the program begins until `release`, so that a
  /// test can prepare for the process of that id.
  Started start(const std::string& program, const std::vector<std::string>& args,
                RunLimits limits = {}, bool gated = false);
  Started startPelk(const std::vector<std::string>& args, bool gated = false);
  Started startTivor(const std::vector<std::string>& args);
  /// Lets a gated start begin the program.
  void release(Started& started);
  /// Waits for a started run and returns what it left. A run that Wine
  /// failed to start at all is started again (at most twice more).
  Outcome finish(Started& started);
  /// The path of the pelk or tivor binary the tests run.
  static std::string pelkBinary();
  static std::string tivorBinary();

  std::filesystem::path dir;

 private:
  /// Waits for a started run once.
  Outcome waitFor(Started& started);
  /// Where the programs run as another user are copied: a directory beside
  /// the scratch directory that every user may enter.
  std::filesystem::path reachableDir() const;
  /// A copy of `program` there, made once per test.
  std::string reachableCopy(const std::string& program);

  bool mounted_ = false;
  int runs_ = 0;
  std::map<std::string, std::string> written_;
};

/// The options a help text lists: on every line that starts with the
/// program's name, the first word before the comment that starts with "-"
/// ("pelk who.txt -e exclude.txt  # ..." lists "-e").
std::vector<std::string> listedOptions(const std::string& help, const std::string& program);

/// What the first run in a directory says when it has written all six
/// companion files.
inline const std::string kFirstRunHint =
    "pelk: wrote the companion files drafo.csv, exclude.txt, segmen.txt, separate.txt, "
    "unique.txt and tabulate.txt with default lines, as a first run in a directory does, and "
    "did nothing else; run pelk again\n";

/// Shift-JIS bytes used by the fixtures.
namespace sjis {
inline const std::string colon = "\x81\x46";  // full-width colon
inline const std::string space = "\x81\x40";  // full-width space
inline const std::string nurupo = "\x82\xCA\x82\xE9\x82\xDB";
inline const std::string postedOn = "\x93\x8A\x8D\x65\x93\xFA";
}  // namespace sjis
