#include "Hints.hpp"

#include "Companions.hpp"
#include "Disk.hpp"
#include "Games.hpp"
#include "Messages.hpp"
#include "ShiftJis.hpp"

namespace {

using K = HintKind;

constexpr std::string_view kThreadOpen = "the thread file cannot be opened or read";
constexpr std::string_view kThreadOpenAction =
    "name a thread file saved in the current directory, the options after it "
    "(pelk who.txt -t)";
constexpr std::string_view kLine1Read =
    "the thread file is empty, or its Line-1 is longer than 383 bytes";
constexpr std::string_view kLine1Action =
    "put the latest draw on Line-1, ending in \" -\", such as \"05 12 19 27 33 41 08 -\"";
constexpr std::string_view kNoDraw = "Line-1 holds no draw of Loto-6, Loto-7 or Miniloto";
constexpr std::string_view kTooFewGaps = "Line-1 has fewer than six blanks, so it holds no draw";
constexpr std::string_view kSaveFile = "the output file cannot be written";
constexpr std::string_view kSaveFileAction =
    "make room on the disk, make the directory writable, or move away the directory of that "
    "name; the thread file is unchanged";
constexpr std::string_view kCompanionAction =
    "check the name; a companion file that pelk wrote may be deleted, and the next run writes "
    "it anew with its default lines";
constexpr std::string_view kNotCombination =
    "a line holds another count of numbers than a combination of the game (noted by the pass, "
    "not reported)";
constexpr std::string_view kNumbersTooClose =
    "the numbers of a line overlap, as \"12\" and \"23\" in \"123\" (noted by the pass, not "
    "reported)";
constexpr std::string_view kNothingToDo = "nothing: such a line is left as it is";
constexpr std::string_view kWrongBallAction =
    "fix or remove the line: a combination line holds N different numbers of one game, each "
    "two digits and one blank, then its label, such as \"01 05 09 14 22 31 38 7to6\"";
constexpr std::string_view kLabelAction =
    "end the line with its one label and nothing after it; or, when the line is right, make "
    "room on the disk for the expansion file";

// Every numbered message of pelk, in order of its number.
constexpr MessageHint kHints[] = {
    {1, K::saveFile, kSaveFile, kSaveFileAction},
    {2, K::companion,
     "the companion file of the pass (-e, -n, -p, -t, -u, default pass) cannot be read",
     kCompanionAction},
    {3, K::threadOpen, kThreadOpen, kThreadOpenAction},
    {4, K::line1Read, kLine1Read, kLine1Action},
    {5, K::namedFile, "an expansion file of -c (cmb...txt) cannot be read back",
     "make room on the disk and check that the directory can be written"},
    {6, K::threadOpen, kThreadOpen, kThreadOpenAction},
    {7, K::line1Read, kLine1Read, kLine1Action},
    {8, K::threadOpen, kThreadOpen, kThreadOpenAction},
    {9, K::noDraw, kNoDraw, kLine1Action},
    {10, K::tooFewGaps, kTooFewGaps, kLine1Action},
    {11, K::line1Read, kLine1Read, kLine1Action},
    {12, K::threadOpen, kThreadOpen, kThreadOpenAction},
    {13, K::noDraw, kNoDraw, kLine1Action},
    {14, K::tooFewGaps, kTooFewGaps, kLine1Action},
    {15, K::line1Read, kLine1Read, kLine1Action},
    {16, K::internal, kNotCombination, kNothingToDo},
    {17, K::internal, kNumbersTooClose, kNothingToDo},
    {18, K::threadOpen, kThreadOpen, kThreadOpenAction},
    {19, K::line1Read, kLine1Read, kLine1Action},
    {20, K::threadOpen, kThreadOpen, kThreadOpenAction},
    {21, K::line1Read, kLine1Read, kLine1Action},
    {22, K::companion, "the pairs file of -z (drafo.csv) cannot be read", kCompanionAction},
    {23, K::threadOpen, kThreadOpen, kThreadOpenAction},
    {24, K::line1Read, kLine1Read, kLine1Action},
    {25, K::threadOpen, kThreadOpen, kThreadOpenAction},
    {26, K::line1Read, kLine1Read, kLine1Action},
    {27, K::threadOpen, kThreadOpen, kThreadOpenAction},
    {28, K::line1Read, kLine1Read, kLine1Action},
    {29, K::threadOpen, kThreadOpen, kThreadOpenAction},
    {30, K::noDraw, kNoDraw, kLine1Action},
    {31, K::tooFewGaps, kTooFewGaps, kLine1Action},
    {32, K::line1Read, kLine1Read, kLine1Action},
    {33, K::threadOpen, kThreadOpen, kThreadOpenAction},
    {34, K::line1Read, kLine1Read, kLine1Action},
    {35, K::companion, "the sample header file of -s, -w and -m (segmen.txt) cannot be read",
     kCompanionAction},
    {36, K::namedFile, "the first line of %c is no post header",
     "make it a post header (number, name, date, time, ID), or delete %c and the next run writes "
     "the default"},
    {37, K::namedFile, "%c is empty, or its first line is longer than 383 bytes",
     "make its first line a post header, or delete %c and the next run writes the default"},
    {38, K::threadOpen, kThreadOpen, kThreadOpenAction},
    {39, K::line1Read, kLine1Read, kLine1Action},
    {40, K::threadOpen, kThreadOpen, kThreadOpenAction},
    {41, K::noDraw, kNoDraw, kLine1Action},
    {42, K::tooFewGaps, kTooFewGaps, kLine1Action},
    {43, K::line1Read, kLine1Read, kLine1Action},
    {44, K::threadOpen, kThreadOpen, kThreadOpenAction},
    {45, K::noDraw, kNoDraw, kLine1Action},
    {46, K::tooFewGaps, kTooFewGaps, kLine1Action},
    {47, K::line1Read, kLine1Read, kLine1Action},
    {48, K::internal, kNotCombination, kNothingToDo},
    {49, K::internal, kNumbersTooClose, kNothingToDo},
    {50, K::namedFile,
     "tivor.txt, from which pelk takes the IDs of the headers it makes, cannot "
     "be read",
     "run tivor in this directory first: it writes tivor.txt"},
    {51, K::threadLine,
     "a combination line with a Miniloto label (6to5 to 9to5) holds a number that is no "
     "Miniloto number (01-31), a number twice, or fewer numbers than its label asks for",
     kWrongBallAction},
    {52, K::threadLine,
     "a line carries a Miniloto label but does not end in one, or its expansion file cannot be "
     "written",
     kLabelAction},
    {53, K::threadLine,
     "a combination line with a Loto-7 label (8to7 to 11to7) holds a number that is no Loto-7 "
     "number (01-37), a number twice, or fewer numbers than its label asks for",
     kWrongBallAction},
    {54, K::threadLine,
     "a line carries a Loto-7 label but does not end in one, or its expansion file cannot be "
     "written",
     kLabelAction},
    {55, K::threadLine,
     "a combination line with a Loto-6 label (7to6 to 10to6) holds a number that is no Loto-6 "
     "number (01-43), a number twice, or fewer numbers than its label asks for",
     kWrongBallAction},
    {56, K::threadLine,
     "a line carries a Loto-6 label but does not end in one, or its expansion file cannot be "
     "written",
     kLabelAction},
    {57, K::namedFile, "the pairs of %c make one line of %t grow by more than 1 MB",
     "check the pairs of %c: one may put back what it replaces, or be far longer than it"},
    {58, K::namedFile, "another run of pelk in this directory held pelk.lock for 60 seconds",
     "wait for the other run to end and try again; delete pelk.lock only when no run is going"},
    {59, K::namedFile,
     "the run lock pelk.lock cannot be taken, so runs here could not take turns; the run did "
     "nothing",
     "move away what is in the way (a directory, a link, a FIFO), and have a lock file that this "
     "user may not open made readable by its owner (chmod 666 pelk.lock)"},
    {60, K::standardOutput, "the name of the output file cannot be printed on standard output",
     "check where standard output goes: a full disk, a pipe closed early, or none at all (>&-)"},
    {61, K::threadOpen, kThreadOpen, kThreadOpenAction},
    {62, K::noDraw, kNoDraw, kLine1Action},
    {63, K::tooFewGaps, kTooFewGaps, kLine1Action},
    {64, K::line1Read, kLine1Read, kLine1Action},
    {65, K::namedFile,
     "a file saved as UTF-8 holds more than 1880 different characters that Shift-JIS lacks",
     "save the file as Shift-JIS, or split it into smaller files"},
    {66, K::unreadEncoding,
     "only files saved as Shift-JIS (ANSI) or UTF-8 can be read, not UTF-16 (\"Unicode\" in "
     "older Notepad) or UTF-32",
     "open the file in Notepad, choose Save As, and save it with the encoding UTF-8 or ANSI"},
    {67, K::namedFile,
     "pelk -U puts back what a run wrote over, and %f holds no such text that is not put back "
     "yet",
     "nothing was changed; the texts already put back (...-put-back-who.txt) and those -U "
     "wrote over (...-undone-who.txt) are still in %f, to open and copy by hand"},
    {68, K::namedFile,
     "the text of %f cannot be kept in the folder pelk-undo, so %f was not written over",
     "make room on the disk, make the directory writable, or move away a file named pelk-undo; "
     "%f is unchanged"},
    {69, K::namedFile, "pelk -U cannot read the kept text %f",
     "make it readable, or move it out of pelk-undo and run pelk -U again; who.txt is "
     "unchanged"},
};

static_assert(std::size(kHints) == messages::kLastMessage, "one hint for every message");

std::string quoted(std::string_view text) {
  std::string q = "\"";
  q += text;
  q += '"';
  return q;
}

// "%t", "%c" and "%f" in `text` replaced by the thread, the companion and
// the file named in the message.
std::string filled(std::string_view text, const HintContext& context, const std::string& file) {
  std::string out;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '%' && at + 1 < text.size()) {
      const char what = text[at + 1];
      if (what == 't' || what == 'c' || what == 'f') {
        out += what == 't' ? context.thread : what == 'c' ? context.companion : file;
        ++at;
        continue;
      }
    }
    out += text[at];
  }
  return out;
}

std::string tookAsName(const std::string& name, std::string_view what) {
  return "pelk: " + quoted(name) + " is no option, so pelk took it as the name of the " +
         std::string(what) + ", and no such file can be read; \"pelk -h\" lists the options";
}

// The thread a failure is about: the file it names, else the run's.
const std::string& threadOf(const Failure& failure, const HintContext& context) {
  return failure.file.empty() ? context.thread : failure.file;
}

std::vector<std::string> line1Hints(const MessageHint& hint, const Failure& failure,
                                    const HintContext& context) {
  std::vector<std::string> lines;
  const std::string& thread = threadOf(failure, context);
  // The failure quotes Line-1 as the pass read it, wherever it has one.
  const bool quoted1 = failure.lineNumber == 1;
  if (!quoted1 && !failure.reason.empty()) {
    // A file empty but for what the failure names (a byte-order mark).
    lines.push_back("pelk: " + thread + " is empty: " + failure.reason);
  } else if (hint.kind == K::line1Read) {
    lines.push_back(quoted1 ? "pelk: " + thread + " line 1 is longer than 383 bytes"
                            : "pelk: " + thread + " is empty");
  } else if (quoted1) {
    lines.push_back("pelk: " + thread + " line 1: " + quoted(shortened(failure.line)) + ": " +
                    failure.reason);
  }
  lines.push_back("pelk: " + thread + ": Line-1 must hold the latest draw, such as " +
                  quoted(kGames[1].line1Example));
  lines.push_back("pelk: (Loto-7 " + quoted(kGames[2].line1Example) + ", Miniloto " +
                  quoted(kGames[0].line1Example) +
                  "): the numbers and the bonus numbers, two digits each, one blank apart, "
                  "then \" -\" and any text");
  return lines;
}

/// Why a file that has a name cannot be read, by what it is.
std::string whatItIs(Disk::Kind kind) {
  switch (kind) {
    case Disk::Kind::kDirectory:
      return "it is a directory";
    case Disk::Kind::kSpecial:
      return "it is a device, a FIFO or another special file, not a text file";
    case Disk::Kind::kNone:
      return "it is a link that leads to no file";
    case Disk::Kind::kRegular:
      break;
  }
  return "it is a file pelk may not read";
}

/// e60: when the run's output was written all the same, which file it is and
/// that the pass is not to be run again.
/// What the failure found first (standard output closed from the start)
/// comes before.
std::vector<std::string> standardOutputHints(const MessageHint& hint, const Failure& failure,
                                             const HintContext& context) {
  if (!failure.reason.empty())
    return {"pelk: " + failure.reason,
            "pelk: " + std::string(hint.meaning) + "; " + std::string(hint.action)};
  if (context.written.empty())
    return {"pelk: " + std::string(hint.meaning) + "; " + std::string(hint.action)};
  std::string line = "pelk: " + context.written +
                     " was written all the same: only printing its name failed, so do not run "
                     "the pass again";
  if (context.undoable) line += "; pelk -U puts back the who.txt it wrote over";
  return {line, "pelk: " + std::string(hint.action)};
}

std::vector<std::string> fileHints(Disk& disk, const MessageHint& hint, const std::string& file,
                                   std::string_view what) {
  if (!file.empty() && file[0] == '-') return {tookAsName(file, what)};
  if (!disk.exists(file)) {
    std::string line = "pelk: " + file + ": no such file in this directory";
    if (hint.kind == K::threadOpen)
      line += "; name a thread file saved here, then the options, as in \"pelk who.txt -t\"";
    else
      line += "; pelk took it as the " + std::string(what) +
              " (the free argument after the thread file's name)";
    return {line};
  }
  std::string line = "pelk: " + file + " cannot be read: " + whatItIs(disk.kindOf(file));
  for (const Companion& companion : kCompanions)
    if (file == companion.name)
      line += "; delete it and the next run writes " + file + " anew with its default lines";
  return {line};
}

}  // namespace

std::span<const MessageHint> messageHints() { return kHints; }

const MessageHint* hintOf(int number) {
  for (const MessageHint& hint : kHints)
    if (hint.number == number) return &hint;
  return nullptr;
}

std::vector<std::string> hintLines(const Failure& failure, const HintContext& context) {
  const MessageHint* hint = hintOf(failure.number);
  if (!hint) return {};
  const std::string& file = failure.file;
  switch (hint->kind) {
    case K::threadOpen:
      return fileHints(*context.disk, *hint, threadOf(failure, context), "thread file");
    case K::line1Read:
    case K::noDraw:
    case K::tooFewGaps:
      return line1Hints(*hint, failure, context);
    case K::saveFile:
      return {"pelk: " + file + " cannot be written: " + std::string(hint->action)};
    case K::standardOutput:
      return standardOutputHints(*hint, failure, context);
    case K::unreadEncoding:
      if (failure.reason.empty()) break;
      return {"pelk: " + file + " is " + failure.reason +
              ", and only files saved as Shift-JIS (ANSI) or UTF-8 can be read; " +
              std::string(hint->action)};
    case K::companion:
      return fileHints(*context.disk, *hint, file, "companion file");
    case K::threadLine: {
      std::vector<std::string> lines;
      const std::string& thread = threadOf(failure, context);
      if (failure.lineNumber > 0 && !failure.reason.empty())
        lines.push_back("pelk: " + thread + " line " + std::to_string(failure.lineNumber) + ": " +
                        quoted(shortened(failure.line)) + ": " + failure.reason);
      else
        lines.push_back("pelk: " + thread + ": " + std::string(hint->meaning));
      lines.push_back("pelk: " + std::string(hint->action));
      return lines;
    }
    case K::namedFile:
      // What the failure found first (the owner and mode of a lock file
      // another user made), then the row.
      if (!failure.reason.empty()) {
        return {"pelk: " + (file.empty() ? std::string() : file + ": ") + failure.reason,
                "pelk: " + filled(hint->meaning, context, file) + "; " +
                    filled(hint->action, context, file)};
      }
      break;
    case K::internal:
      break;
  }
  return {"pelk: " + filled(hint->meaning, context, file) + "; " +
          filled(hint->action, context, file)};
}

std::string shortened(std::string_view line, std::size_t limit) {
  if (line.size() <= limit) return std::string(line);
  const std::size_t keep = limit > 3 ? limit - 3 : 0;
  std::size_t end = 0;
  while (end < keep) {
    const std::size_t width = characterWidth(line, end);
    if (end + width > keep) break;
    end += width;
  }
  return std::string(line.substr(0, end)) + "...";
}

std::string readAsShiftJisHint(const std::string& file, std::uint64_t offset, long line) {
  return "pelk: " + file + " was read as Shift-JIS: it is UTF-8 up to byte offset " +
         std::to_string(offset) + " (line " + std::to_string(line) +
         "), where a byte that is not UTF-8 stands; if the file is meant to be UTF-8, fix that "
         "line and run the pass again";
}

std::string companionsWrittenHint(const std::vector<std::string>& written) {
  std::string names;
  for (std::size_t i = 0; i < written.size(); ++i) {
    if (i > 0) names += i + 1 == written.size() ? " and " : ", ";
    names += written[i];
  }
  return "pelk: wrote the companion " + std::string(written.size() > 1 ? "files " : "file ") +
         names +
         " with default lines, as a first run in a directory does, and did nothing "
         "else; run pelk again";
}

std::string ignoredArgumentsHint(const std::vector<std::string>& ignored) {
  std::string names;
  for (std::size_t i = 0; i < ignored.size(); ++i) {
    if (i > 0) names += ", ";
    names += quoted(ignored[i]);
  }
  const bool many = ignored.size() > 1;
  return "pelk: ignored " + names +
         (many ? ": no options, taken as file names" : ": no option, taken as a file name") +
         " and then replaced; \"pelk -h\" lists the options";
}
