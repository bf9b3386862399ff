// pelk: one editing pass over a saved forum thread per run.

#include <algorithm>
#include <chrono>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "Alterable.hpp"
#include "Cleanup.hpp"
#include "Clock.hpp"
#include "Companions.hpp"
#include "Disk.hpp"
#include "GameFit.hpp"
#include "Games.hpp"
#include "Hints.hpp"
#include "Messages.hpp"
#include "Numbered.hpp"
#include "RealDisk.hpp"
#include "RecordingDisk.hpp"
#include "RunLock.hpp"
#include "Signals.hpp"
#include "StandardStreams.hpp"
#include "TextEncoding.hpp"
#include "TimeName.hpp"
#include "Undo.hpp"
#include "UserLanguage.hpp"
#include "UserOutput.hpp"
#include "Wording.hpp"
#include "passes/PassList.hpp"

namespace {

const std::string EXCLUDE_TEXT = kExcludeText;
const std::string HELP = "-h";
const std::string HELP_LONG = "--help";
const std::string NEW_LINE = "\n";
const std::string NO_REMOVING = "-r-";
const std::string OVERWRITE = "-o";
const std::string REMOVE_LINE_1 = "-1-";
const std::string SERIAL = "-l";
const std::string UNDO = "-U";
const std::string UNDO_LONG = "--undo";
const std::string VERSION_COMMENTS = "-VC";
const std::string VERSION_GUIDE = "-V";
const std::string WHO_TEXT = "who.txt";
const double VERSION = 1.35;
const int ERROR_CODE = 1;
const int PERIOD = 30;
const bool WITH_COMMENTS = true;
const bool WITHOUT_COMMENTS = false;

/// The pass-selecting option `argument`, unless it is numbered; nullptr
/// when it is none.
const PassOption* passOption(const std::string& argument) {
  for (const PassOption& row : passList())
    if (!row.numbered && row.option == argument) return &row;
  return nullptr;
}

/// The version line and every option, with their comments ("-VC") or
/// without ("-V"), on standard error as they have always read.
void guide(std::ostream& out, bool withComments) {
  // The switches that select no pass; the passes' lines come from their list.
  static const char* const switches[] = {
      "pelk who.txt -1-   # Remove Line-1. ",
      "pelk who.txt -l    # serial number ",
      "pelk who.txt -o    # Overwrite who.txt ",
      "pelk who.txt -r-   # Do not remove temporary files. ",
      "pelk -U            # Undo the last overwrite (also --undo) ",
  };
  // The version lines first, then every option in the order of its text.
  std::vector<std::string> lines(std::begin(switches), std::end(switches));
  for (const PassOption& row : passList())
    if (!row.help.empty()) lines.emplace_back(row.help);
  std::sort(lines.begin(), lines.end());
  lines.insert(lines.begin(),
               {"pelk -V            # version ", "pelk -VC           # version with comments "});
  out << "pelkkit Version " << VERSION << NEW_LINE << std::endl;
  for (std::string line : lines) {
    if (!withComments) line = line.substr(0, line.find('#'));
    out << line << std::endl;
  }
}

/// The help of "-h": what each option does, in plain words and in the
/// user's language, then what a thread file needs.
void help(UserOutput& out) {
  struct Row {
    std::string_view command;
    const Wording& text;
  };
  // Every option of "-V" (docs_test.cpp and hints_test.cpp check that none
  // is missing), in the order of "-V", with "-s" beside "-m" and "-w".
  static const Row rows[] = {
      {"pelk -h", wordings::kHelpThisHelp},
      {"pelk -V", wordings::kHelpVersion},
      {"pelk -VC", wordings::kHelpVersionComments},
      {"pelk -U", wordings::kHelpUndo},
      {"pelk who.txt -1-", wordings::kHelpRemoveLine1},
      {"pelk who.txt -3", wordings::kHelpThreeLines},
      {"pelk who.txt -6", wordings::kHelpCarets},
      {"pelk who.txt -a", wordings::kHelpAsciiDates},
      {"pelk who.txt -b", wordings::kHelpBetweenColons},
      {"pelk who.txt -c", wordings::kHelpCombo},
      {"pelk who.txt -d", wordings::kHelpDates},
      {"pelk who.txt -e exclude.txt", wordings::kHelpExclude},
      {"pelk who.txt -f", wordings::kHelpVemoForm},
      {"pelk who.txt -i", wordings::kHelpCombosDates},
      {"pelk who.txt -l", wordings::kHelpSerial},
      {"pelk who.txt -m30", wordings::kHelpMatrix},
      {"pelk who.txt -n", wordings::kHelpNewLines},
      {"pelk who.txt -o", wordings::kHelpOverwrite},
      {"pelk who.txt -p", wordings::kHelpPrizes},
      {"pelk who.txt -r-", wordings::kHelpNoRemoving},
      {"pelk who.txt -s", wordings::kHelpSegment},
      {"pelk who.txt -t", wordings::kHelpTabulate},
      {"pelk who.txt -u", wordings::kHelpUnique},
      {"pelk who.txt -w30", wordings::kHelpWhenever},
      {"pelk who.txt -z", wordings::kHelpZenkaku},
  };
  const Language language = out.language();
  // A text of the help may run over lines of its own.
  const auto said = [&](const Wording& wording) {
    const std::string text = cp932FromUtf8(worded(wording, language));
    for (std::size_t at = 0, end = 0; end != std::string::npos; at = end + 1) {
      end = text.find('\n', at);
      out.line(text.substr(at, end - at));
    }
  };
  std::ostringstream version;
  version << "pelkkit Version " << VERSION;
  out.line(version.str());
  out.line("");
  said(wordings::kHelpUsage);
  said(wordings::kHelpResult);
  out.line("");
  for (const Row& row : rows) {
    std::string command(row.command);
    command.resize(std::max<std::size_t>(19, command.size() + 2), ' ');
    out.line(command + "# " + cp932FromUtf8(worded(row.text, language)));
  }
  out.line("");
  said(wordings::kHelpThread);
  const Wording* names[] = {&wordings::kGameMiniloto, &wordings::kGameLoto6, &wordings::kGameLoto7};
  static_assert(std::size(names) == std::size(kGames));
  for (std::size_t game = 0; game < std::size(kGames); ++game) {
    std::string example(kGames[game].line1Example);
    example.resize(32, ' ');
    out.line("  " + example + cp932FromUtf8(worded(*names[game], language)));
  }
  said(wordings::kHelpFirstRun);
  said(wordings::kHelpFailure);
}

/// The companion files a first run had to write, or could not write: one
/// hint line that names them.
void reportCompanions(UserOutput& out, Disk& disk, const std::vector<std::string>& missing) {
  std::vector<std::string> written;
  std::vector<std::string> failed;
  for (const std::string& name : missing)
    (disk.isRegularFile(name) ? written : failed).push_back(name);
  if (!written.empty()) out.line(companionsWrittenHint(written, out.language()));
  for (const std::string& name : failed) out.line(companionNotWrittenHint(name, out.language()));
}

/// The numbered line of `failure` on its own line of standard error, as
/// scripts know it, then its hint lines in the user's language: the one
/// place a failure is rendered.
void reportFailure(UserOutput& out, const Failure& failure, HintContext context) {
  context.language = out.language();
  out.numbered(failure.text);
  for (const std::string& line : hintLines(failure, context)) out.line(line);
}

/// What a pass may change in the working directory besides its output:
/// the serial count (the expansion files it makes are new).
struct DirectoryState {
  bool serialFound = false;
  std::string serial;
};

DirectoryState directoryState(Disk& disk) {
  DirectoryState state;
  state.serialFound = disk.readFile(kSerialText, &state.serial, Disk::Links::kNotFollowed);
  return state;
}

/// Deletes the files the pass made new (expansion files of -c, noted since
/// the thread was taken for UTF-8 early) and puts back the serial count.
void restoring(RecordingDisk& disk, const DirectoryState& state) {
  const std::string created = disk.created();
  disk.recording(false);
  for (size_t at = 0, end; (end = created.find('\n', at)) != std::string::npos; at = end + 1) {
    const std::string name = created.substr(at, end - at);
    if (isTemporaryName(name)) disk.removeFile(name);
  }
  if (state.serialFound)
    disk.writeFile(kSerialText, state.serial, Disk::Links::kNotFollowed);
  else
    disk.removeFile(kSerialText);
}

/// -U: the newest text an overwrite replaced put back, its file's name
/// printed; the exit status.
int undoingLastOverwrite(UserOutput& errors, Disk& disk) {
  UndoFolder undo(disk);
  const HintContext context{WHO_TEXT, EXCLUDE_TEXT, &disk};
  if (!undo.undoing()) {
    reportFailure(errors, undo.failure(), context);
    return ERROR_CODE;
  }
  std::cout << undo.restored() << std::endl;
  if (!std::cout.flush()) {
    reportFailure(errors,
                  numberedFailure(messages::kStandardOutput, "standard output cannot be written"),
                  context);
    return ERROR_CODE;
  }
  return 0;
}

/// How long a run waits for another to let the run lock go.
constexpr std::chrono::seconds kLockWait{60};

}  // namespace

int main(int argc, char** argv) {
  // Before anything is opened, a standard stream the run was started without
  // is filled, so that no file takes its number: the lock file or the output
  // on descriptor 1 or 2 would receive the name printed or the messages.
  // Without standard output the name of the output (or the help) could not
  // be printed: the run does nothing, rather than change the directory and
  // fail at the end. Without standard error it goes on, its messages lost.
  const bool outputClosed = fillingClosedStandardStreams().output;
  // The language the user reads, made once, and the one way out for every
  // line the user reads on standard error: a console there (Windows) takes
  // UTF-16, anything else bytes in the terminal's encoding.
  const Language language = userLanguage();
  const TerminalEncoding terminal = terminalEncoding(language);
  const std::unique_ptr<Console> errorConsole = consoleBehind(StandardStream::kError);
  UserOutput errors(std::cerr, errorConsole.get(), language, terminal);
  // Names the user typed are in the terminal's encoding already.
  errors.keepingNames(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
  if (outputClosed) {
    Failure failure =
        numberedFailure(messages::kStandardOutput, "standard output cannot be written");
    failure.reason = Phrase(wordings::kReasonStandardOutputClosed);
    reportFailure(errors, failure, {WHO_TEXT, EXCLUDE_TEXT, nullptr});
    return ERROR_CODE;
  }
  // Help reads and writes nothing, not even the companion files or the lock.
  for (int i = 1; i < argc; ++i) {
    if (argv[i] == HELP || argv[i] == HELP_LONG) {
      const std::unique_ptr<Console> outputConsole = consoleBehind(StandardStream::kOutput);
      UserOutput out(std::cout, outputConsole.get(), language, terminal);
      help(out);
      return 0;
    }
  }
  ignoreSignalsThatHideFailedWrites();
  // The working directory and the clock of the run, handed to all that uses
  // them. The disk notes the files a pass makes new once its thread has
  // been taken for UTF-8 early: should the thread turn out otherwise, they
  // go again.
  RealDisk realDisk;
  RecordingDisk disk(realDisk);
  const SystemClock clock;
  // Runs in this directory take turns, from the companion checks to the list
  // of temporary files; what killed runs left half-written goes first.
  RunLock lock;
  if (!lock.taking(kLockWait)) {
    reportFailure(errors, lock.failure(), {WHO_TEXT, EXCLUDE_TEXT, &disk});
    return ERROR_CODE;
  }
  disk.removeAbandonedPartials();
  std::unique_ptr<Alterable> pass = defaultPass();
  std::string threadName = WHO_TEXT;
  std::string companionName = EXCLUDE_TEXT;
  int period = PERIOD;
  bool keepLine1 = true;
  bool matrix = false;
  bool serial = false;
  bool overwrite = false;
  bool removing = true;
  bool nameExpected = true;
  // Free arguments that begin with "-" taken as companion names: a mistyped
  // option, most likely.
  std::vector<std::string> dashNames;
  // The row of the option that chose the pass; nullptr for the default pass.
  const PassOption* chosen = nullptr;

  // Every companion check runs; a missing file ends the run after all six.
  std::vector<std::string> missing;
  for (const Companion& companion : kCompanions)
    if (!companion.test(disk)) missing.emplace_back(companion.name);
  if (!missing.empty()) {
    reportCompanions(errors, disk, missing);
    return ERROR_CODE;
  }

  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (const PassOption* selected = passOption(argument)) {
      if (selected->companion) companionName = selected->companion;
      pass = selected->make();
      chosen = selected;
    } else if (argument == NO_REMOVING) {
      removing = false;
    } else if (argument == OVERWRITE) {
      overwrite = true;
    } else if (argument == REMOVE_LINE_1) {
      keepLine1 = false;
    } else if (argument == SERIAL) {
      serial = true;
    } else if (argument == VERSION_COMMENTS) {
      guide(std::cerr, WITH_COMMENTS);
      return ERROR_CODE;
    } else if (argument == VERSION_GUIDE) {
      guide(std::cerr, WITHOUT_COMMENTS);
      return ERROR_CODE;
    } else if (argument == UNDO || argument == UNDO_LONG) {
      // Acts at once, as the help does: it runs no pass and leaves the
      // temporary files alone.
      // who.txt, a link into another folder maybe, is written there.
      if (!lock.covering(WHO_TEXT, kLockWait)) {
        reportFailure(errors, lock.failure(), {WHO_TEXT, EXCLUDE_TEXT, &disk});
        return ERROR_CODE;
      }
      return undoingLastOverwrite(errors, disk);
    } else if (nameExpected) {
      // The first free argument is the thread file name, whatever it reads.
      threadName = argument;
      nameExpected = false;
    } else {
      bool taken = false;
      for (const PassOption& row : passList()) {
        if (!row.numbered || argument.find(row.option) == std::string::npos) continue;
        Numbered numbered(argv[i]);
        if (numbered.parameter() == row.option) {
          period = numbered.readable() ? numbered.number() : PERIOD;
          companionName = row.companion;
          matrix = row.matrix;
          pass = row.make();
          chosen = &row;
          taken = true;
          break;
        }
        period = PERIOD;
      }
      if (!taken) {
        companionName = argument;
        if (argument[0] == '-') dashNames.push_back(argument);
      }
    }
  }

  // The file the run writes over (who.txt), or else the thread it reads, may
  // lie in another directory, through a link into a synced folder: runs in
  // that directory take turns with this one too.
  const bool overwriting = nameExpected ? true : overwrite;
  if (!lock.covering(overwriting ? WHO_TEXT : threadName, kLockWait)) {
    reportFailure(errors, lock.failure(), {threadName, companionName, &disk});
    return ERROR_CODE;
  }
  // The cleanup never deletes what this run reads: a file of the last run
  // may be this run's thread (pelk who.txt -c, then pelk who32-33.txt -t).
  if (removing) removeTemporaryFiles(disk, {threadName, companionName});
  // The files of the run may be Shift-JIS or UTF-8; what the run prints
  // takes the thread's encoding, as its output does.
  auto encoding = std::make_unique<RunEncoding>();
  const auto record = [&disk] { disk.recording(true); };
  encoding->whenTakenEarly(record);
  const std::string threadGiven = threadName;
  const DirectoryState before = directoryState(disk);
  // What an overwrite replaces is kept in pelk-undo before it is written
  // over, and counts once the run has succeeded.
  UndoFolder undo(disk);
  const auto settings = [&](RunEncoding* runEncoding) {
    return RunSettings{.companion = companionName,
                       .period = period,
                       .keepLine1 = keepLine1,
                       .matrix = matrix,
                       .serial = serial,
                       .overwrite = overwriting,
                       .encoding = runEncoding,
                       .undo = overwriting ? &undo : nullptr,
                       .disk = &disk,
                       .clock = &clock};
  };
  pass->setting(settings(encoding.get()));
  errors.reading(encoding.get());
  bool altered = pass->altering(threadName);
  // The file taken for UTF-8 early and found otherwise, and where the byte
  // that showed it stands.
  SecondLook looked;
  if (!altered && !encoding->secondLook().empty()) {
    looked = {encoding->secondLook(), encoding->stray()};
    // The thread read as UTF-8 for its first megabyte turned out otherwise
    // further on: what the pass made of it goes, and the pass is made
    // again, the encoding looked at whole.
    restoring(disk, before);
    auto whole = std::make_unique<RunEncoding>();
    whole->lookingWhole(encoding->secondLook());
    whole->whenTakenEarly(record);
    pass = chosen ? chosen->make() : defaultPass();
    encoding = std::move(whole);
    errors.reading(encoding.get());
    threadName = threadGiven;
    pass->setting(settings(encoding.get()));
    altered = pass->altering(threadName);
  }
  undo.settling(altered);
  int status = 0;
  if (altered) {
    std::cout << encoding->forDisplay(pass->altered()) << std::endl;
    // A dash name the run did not read: replaced by a later option's
    // companion, or given to a pass that reads none.
    std::vector<std::string> ignored;
    const bool companionRead = chosen ? chosen->companion != nullptr : true;
    for (const std::string& name : dashNames)
      if (name != companionName || !companionRead) ignored.push_back(name);
    if (!ignored.empty()) errors.line(ignoredArgumentsHint(ignored, errors.language()));
    // A thread read whole as Shift-JIS for one byte far on: where it stands,
    // should the file be meant as UTF-8.
    if (looked.stray.line > 0 && encoding->output() == Encoding::kShiftJis)
      errors.line(readAsShiftJisHint(looked.file, looked.stray.offset, looked.stray.line,
                                     errors.language()));
    // Line-1 read as a game the thread's picks do not fit: the output is
    // that game's all the same, and the user is told what to check.
    if (const std::optional<GameMisfit> misfit = pass->gameMisfit())
      for (const std::string& line : gameMisfitHint(*misfit, threadName, errors.language()))
        errors.line(line);
  } else {
    HintContext context{threadName, companionName, &disk};
    context.arguments.assign(argv + 1, argv + argc);
    reportFailure(errors, pass->failure(), context);
    status = ERROR_CODE;
  }
  createRemoveErrorText(disk);
  if (!std::cout.flush()) {
    // The output is written all the same: the hint says so, lest a script
    // run the pass over it again.
    HintContext context{threadName, companionName, &disk};
    if (altered) {
      context.written = pass->altered();
      context.undoable = undo.undoable();
    }
    reportFailure(errors,
                  numberedFailure(messages::kStandardOutput, "standard output cannot be written"),
                  context);
    status = ERROR_CODE;
  }
  return status;
}
