#include "E2E.hpp"

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string binary(const char* variable, const char* built) {
  const char* given = std::getenv(variable);
  return given && *given ? given : built;
}

bool crlfLineEnds() {
  const char* given = std::getenv("E2E_CRLF");
  return given && std::string(given) == "1";
}

// Every CR LF of the text turned into LF.
std::string lfLines(const std::string& text) {
  std::string lines;
  lines.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lines += text[i];
  return lines;
}

}  // namespace

void E2E::SetUp() {
  std::random_device random;
  dir = fs::temp_directory_path() /
        ("pelk-e2e-" + std::to_string(getpid()) + "-" + std::to_string(random()));
  fs::create_directories(dir);
}

void E2E::TearDown() {
  if (mounted_) std::system(("umount '" + dir.string() + "' 2>/dev/null").c_str());
  std::error_code ec;
  fs::remove_all(dir, ec);
  fs::remove_all(reachableDir(), ec);
}

fs::path E2E::reachableDir() const { return dir.string() + ".bin"; }

std::string E2E::reachableCopy(const std::string& program) {
  // Beside the scratch directory, in the temporary directory every user may
  // enter, and not in it: the tests look at its names.
  const fs::path place = reachableDir();
  const fs::path copy = place / fs::path(program).filename();
  if (fs::exists(copy)) return copy.string();
  fs::create_directories(place);
  fs::permissions(place, static_cast<fs::perms>(0755));
  std::error_code ec;
  fs::copy_file(program, copy, ec);
  EXPECT_FALSE(ec) << program << ": " << ec.message();
  fs::permissions(copy, static_cast<fs::perms>(0755));
  return copy.string();
}

bool E2E::mountScratch(long bytes) {
  const fs::path keep = dir.string() + ".keep";
  fs::rename(dir, keep);
  fs::create_directory(dir);
  const std::string command = "mount -t tmpfs -o size=" + std::to_string(bytes) + " tmpfs '" +
                              dir.string() + "' 2>/dev/null";
  mounted_ = std::system(command.c_str()) == 0;
  for (const auto& entry : fs::directory_iterator(keep))
    fs::copy(entry.path(), dir / entry.path().filename(), fs::copy_options::recursive);
  fs::remove_all(keep);
  return mounted_;
}

bool E2E::makeScratchReadOnly() {
  const std::string command = "mount -o remount,ro '" + dir.string() + "' 2>/dev/null";
  return mounted_ && std::system(command.c_str()) == 0;
}

void E2E::write(const std::string& name, const std::string& bytes) {
  std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  written_[name] = bytes;
  ASSERT_TRUE(out.good()) << name;
}

std::string E2E::read(const std::string& name) {
  const std::string bytes = readRaw(name);
  if (!crlfLineEnds()) return bytes;
  auto given = written_.find(name);
  return given != written_.end() && given->second == bytes ? bytes : lfLines(bytes);
}

std::string E2E::readRaw(const std::string& name) {
  EXPECT_TRUE(fs::is_regular_file(dir / name)) << name << " is missing";
  return slurp(dir / name);
}

std::string E2E::platformLines(const std::string& text) {
  if (!crlfLineEnds()) return text;
  std::string lines;
  for (char c : text) {
    if (c == '\n') lines += '\r';
    lines += c;
  }
  return lines;
}

bool E2E::fileSizeLimitsApply() {
  const char* runner = std::getenv("E2E_RUNNER");
  return !(runner && *runner);
}

bool E2E::exists(const std::string& name) { return fs::exists(fs::symlink_status(dir / name)); }

std::vector<std::string> E2E::names() {
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(dir)) found.push_back(entry.path().filename());
  std::sort(found.begin(), found.end());
  return found;
}

std::vector<std::string> E2E::partialNames(const std::string& sub) {
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(sub.empty() ? dir : dir / sub)) {
    const std::string name = entry.path().filename();
    for (const std::string tail : {".pelk-part", ".tivor-part"})
      if (name.size() > tail.size() &&
          name.compare(name.size() - tail.size(), tail.size(), tail) == 0)
        found.push_back(name);
  }
  std::sort(found.begin(), found.end());
  return found;
}

void E2E::expectRefused(const std::string& thread, const std::vector<std::string>& args,
                        const std::string& err) {
  write("who.txt", thread);
  Outcome run = pelk(args);
  EXPECT_EQ(run.status, 1) << err;
  EXPECT_EQ(run.out, "") << err;
  EXPECT_EQ(run.message, err);
  EXPECT_EQ(read("who.txt"), thread) << err;
}

void E2E::writeDefaultCompanions() {
  write("drafo.csv",
        "&#160;, ,\n&nbsp;, ,\na,A,\nl,L,\np,P,\nq,Q,\n\\,, ,\n., ,\n      , ,\n     , ,\n"
        "    , ,\n   , ,\n  , ,\n 1 , 01 ,\n 2 , 02 ,\n 3 , 03 ,\n 4 , 04 ,\n 5 , 05 ,\n"
        " 6 , 06 ,\n 7 , 07 ,\n 8 , 08 ,\n 9 , 09 ,\nALLQP,ALL QP,\n|,/,\n");
  write("exclude.txt", sjis::nurupo + "\n ID:\n");
  write("segmen.txt", "256 " + sjis::colon + "Quiet Harbour " + sjis::colon +
                          "2017/08/14(Mon) 16:15:20.68 ID:TqrwZpLw\n");
  write("separate.txt", "/\n|\n");
  write("unique.txt", "-1-\n.txt\n");
  write("tabulate.txt", "-1-\n.txt\n-1\n | \n");
}

std::string E2E::pelkBinary() { return binary("PELK_BIN", PELK_BINARY); }

std::string E2E::tivorBinary() { return binary("TIVOR_BIN", TIVOR_BINARY); }

Outcome E2E::pelk(const std::vector<std::string>& args, RunLimits limits) {
  Outcome result = run(pelkBinary(), args, limits);
  // The hints come after the numbered message, never before or between
  // other lines: a script that reads the first line of standard error finds
  // the message there.
  result.message.clear();
  bool hinted = false;
  std::size_t start = 0;
  while (start < result.err.size()) {
    std::size_t end = result.err.find('\n', start);
    end = end == std::string::npos ? result.err.size() : end + 1;
    const std::string line = result.err.substr(start, end - start);
    if (line.compare(0, 6, "pelk: ") == 0) {
      hinted = true;
    } else {
      EXPECT_FALSE(hinted) << "a line after the hints:\n" << result.err;
      result.message += line;
    }
    start = end;
  }
  if (hinted) {
    EXPECT_EQ(result.message.find('\n'), result.message.rfind('\n'))
        << "hints after more than one line:\n"
        << result.err;
  }
  return result;
}

Outcome E2E::tivor(const std::vector<std::string>& args, RunLimits limits) {
  Outcome result = run(tivorBinary(), args, limits);
  result.message = result.err;
  return result;
}

Started E2E::startPelk(const std::vector<std::string>& args, bool gated) {
  return start(pelkBinary(), args, {}, gated);
}

Started E2E::startTivor(const std::vector<std::string>& args) { return start(tivorBinary(), args); }

Outcome E2E::run(const std::string& program, const std::vector<std::string>& args,
                 RunLimits limits) {
  Started started = start(program, args, limits);
  return finish(started);
}

Started E2E::start(const std::string& program, const std::vector<std::string>& args,
                   RunLimits limits, bool gated) {
  Started started;
  started.program = program;
  started.args = args;
  started.limits = limits;
  if (limits.fileSizeLimit >= 0 && !fileSizeLimitsApply()) {
    ADD_FAILURE() << "a file-size limit under E2E_RUNNER: skip the test when "
                     "fileSizeLimitsApply() is false";
    return started;
  }
  const std::string stem = dir.string() + "." + std::to_string(++runs_);
  started.out = stem + ".out";
  started.err = stem + ".err";
  std::vector<std::string> words;
  // Another user may not reach the build (a checkout in a home of mode 0700).
  const std::string runnable = limits.user >= 0 ? reachableCopy(program) : program;
  if (const char* runner = std::getenv("E2E_RUNNER"); runner && *runner) words.push_back(runner);
  words.push_back(runnable);
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  // The test's environment but for the locale, which the test sets.
  std::vector<std::string> variables;
  for (char** variable = environ; *variable; ++variable) {
    const std::string_view entry = *variable;
    const std::string_view name = entry.substr(0, entry.find('='));
    if (name != "LANG" && name != "LANGUAGE" && name != "LC_ALL" && name != "LC_MESSAGES" &&
        name != "LC_CTYPE")
      variables.emplace_back(entry);
  }
  const bool runner = std::getenv("E2E_RUNNER") && *std::getenv("E2E_RUNNER");
  variables.push_back("LANG=" + (!limits.lang.empty() ? limits.lang
                                 : runner             ? std::string("C.UTF-8")
                                                      : std::string("C")));
  std::vector<char*> environment;
  for (std::string& variable : variables) environment.push_back(variable.data());
  environment.push_back(nullptr);

  int gate[2] = {-1, -1};
  if (gated && pipe(gate) != 0) {
    ADD_FAILURE() << "no pipe for a gated start";
    return started;
  }
  pid_t child = fork();
  if (child == 0) {
    int out = -1;
    switch (limits.output) {
      case RunLimits::Output::captured:
        out = open(started.out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        break;
      case RunLimits::Output::full:
        out = open("/dev/full", O_WRONLY);
        break;
      case RunLimits::Output::closedPipe: {
        int ends[2];
        if (pipe(ends) == 0) {
          close(ends[0]);
          out = ends[1];
        }
        break;
      }
      case RunLimits::Output::closed:
        out = open("/dev/null", O_WRONLY);
        break;
    }
    int err = open(started.err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(126);
    // Closed last, once nothing else is opened here.
    if (out > 2) close(out);
    if (err > 2) close(err);
    if (limits.output == RunLimits::Output::closed) close(1);
    if (limits.errorClosed) close(2);
    const fs::path where = limits.subdirectory.empty() ? dir : dir / limits.subdirectory;
    if (chdir(where.c_str()) != 0) _exit(126);
    if (limits.fileSizeLimit >= 0) {
      rlimit limit{static_cast<rlim_t>(limits.fileSizeLimit),
                   static_cast<rlim_t>(limits.fileSizeLimit)};
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (limits.user >= 0 &&
        (setgroups(0, nullptr) != 0 || setgid(static_cast<gid_t>(limits.user)) != 0 ||
         setuid(static_cast<uid_t>(limits.user)) != 0))
      _exit(126);
    if (gated) {
      // Waits until the parent closes its end.
      close(gate[1]);
      char byte;
      while (::read(gate[0], &byte, 1) > 0) {
      }
      close(gate[0]);
    }
    execvpe(argv[0], argv.data(), environment.data());
    _exit(127);
  }
  if (gated) {
    close(gate[0]);
    started.gate = gate[1];
  }
  started.pid = child;
  return started;
}

void E2E::release(Started& started) {
  if (started.gate >= 0) close(started.gate);
  started.gate = -1;
}

Outcome E2E::finish(Started& started) {
  // Wine now and then fails to start a program at all ("Application could
  // not be started ... ShellExecuteEx failed"), most often when many start
  // together: the program never ran, so nothing was read or written, and the
  // run is started again.
  static const std::string kNotStarted = "Application could not be started";
  Outcome outcome = waitFor(started);
  for (int attempt = 1; attempt < 3 && !fileSizeLimitsApply() &&
                        outcome.out.compare(0, kNotStarted.size(), kNotStarted) == 0;
       ++attempt) {
    Started again = start(started.program, started.args, started.limits);
    outcome = waitFor(again);
  }
  return outcome;
}

Outcome E2E::waitFor(Started& started) {
  Outcome result;
  if (started.pid < 0) return result;
  release(started);
  int status = 0;
  waitpid(started.pid, &status, 0);
  started.pid = -1;
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.rawOut = slurp(started.out);
  result.out = crlfLineEnds() ? lfLines(result.rawOut) : result.rawOut;
  result.err = slurp(started.err);
  if (crlfLineEnds()) result.err = lfLines(result.err);
  std::error_code ec;
  fs::remove(started.out, ec);
  fs::remove(started.err, ec);
  return result;
}

std::vector<std::string> listedOptions(const std::string& help, const std::string& program) {
  std::vector<std::string> options;
  std::istringstream lines(help);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string word;
    if (!(words >> word) || word != program) continue;
    while (words >> word && word[0] != '#') {
      if (word[0] == '-') {
        options.push_back(word);
        break;
      }
    }
  }
  return options;
}
