#include "Hints.hpp"

#include "Companions.hpp"
#include "Conversions.hpp"
#include "Disk.hpp"
#include "Games.hpp"
#include "Messages.hpp"
#include "ShiftJis.hpp"
#include "Utf8Forms.hpp"
#include "passes/PassList.hpp"

namespace {

using K = HintKind;
namespace w = wordings;

// The rows many messages share.
constexpr MessageHint threadRow(int number) {
  return {number, K::threadOpen, w::kHintThreadOpen, w::kHintThreadOpenAction};
}
constexpr MessageHint line1Row(int number) {
  return {number, K::line1Read, w::kHintLine1Read, w::kHintLine1Action};
}
constexpr MessageHint noDrawRow(int number) {
  return {number, K::noDraw, w::kHintNoDraw, w::kHintLine1Action};
}
constexpr MessageHint tooFewGapsRow(int number) {
  return {number, K::tooFewGaps, w::kHintTooFewGaps, w::kHintLine1Action};
}
constexpr MessageHint internalRow(int number, const Wording& meaning) {
  return {number, K::internal, meaning, w::kHintNothingToDo};
}

// Every numbered message of pelk, in order of its number.
constexpr MessageHint kHints[] = {
    {1, K::saveFile, w::kHintSaveFile, w::kHintSaveFileAction},
    {2, K::companion, w::kHintCompanionUnread, w::kHintCompanionAction},
    threadRow(3),
    line1Row(4),
    {5, K::namedFile, w::kHintExpansionUnread, w::kHintExpansionUnreadAction},
    threadRow(6),
    line1Row(7),
    threadRow(8),
    noDrawRow(9),
    tooFewGapsRow(10),
    line1Row(11),
    threadRow(12),
    noDrawRow(13),
    tooFewGapsRow(14),
    line1Row(15),
    internalRow(16, w::kHintNotCombination),
    internalRow(17, w::kHintNumbersTooClose),
    threadRow(18),
    line1Row(19),
    threadRow(20),
    line1Row(21),
    {22, K::companion, w::kHintDrafoUnread, w::kHintCompanionAction},
    threadRow(23),
    line1Row(24),
    threadRow(25),
    line1Row(26),
    threadRow(27),
    line1Row(28),
    threadRow(29),
    noDrawRow(30),
    tooFewGapsRow(31),
    line1Row(32),
    threadRow(33),
    line1Row(34),
    {35, K::companion, w::kHintSegmenUnread, w::kHintCompanionAction},
    {36, K::namedFile, w::kHintSampleNoHeader, w::kHintSampleNoHeaderAction},
    {37, K::namedFile, w::kHintSampleEmpty, w::kHintSampleEmptyAction},
    threadRow(38),
    line1Row(39),
    threadRow(40),
    noDrawRow(41),
    tooFewGapsRow(42),
    line1Row(43),
    threadRow(44),
    noDrawRow(45),
    tooFewGapsRow(46),
    line1Row(47),
    internalRow(48, w::kHintNotCombination),
    internalRow(49, w::kHintNumbersTooClose),
    {50, K::namedFile, w::kHintTivorUnread, w::kHintTivorAction},
    {51, K::threadLine, w::kHintMinilotoWrongBall, w::kHintWrongBallAction},
    {52, K::threadLine, w::kHintMinilotoLabel, w::kHintLabelAction},
    {53, K::threadLine, w::kHintLoto7WrongBall, w::kHintWrongBallAction},
    {54, K::threadLine, w::kHintLoto7Label, w::kHintLabelAction},
    {55, K::threadLine, w::kHintLoto6WrongBall, w::kHintWrongBallAction},
    {56, K::threadLine, w::kHintLoto6Label, w::kHintLabelAction},
    {57, K::namedFile, w::kHintDrafoGrows, w::kHintDrafoGrowsAction},
    {58, K::namedFile, w::kHintLockBusy, w::kHintLockBusyAction},
    {59, K::namedFile, w::kHintLockUnavailable, w::kHintLockUnavailableAction},
    {60, K::standardOutput, w::kHintStandardOutput, w::kHintStandardOutputAction},
    threadRow(61),
    noDrawRow(62),
    tooFewGapsRow(63),
    line1Row(64),
    {65, K::namedFile, w::kHintUserAreaFull, w::kHintUserAreaFullAction},
    {66, K::unreadEncoding, w::kHintUnreadEncoding, w::kHintUnreadEncodingAction},
    {67, K::namedFile, w::kHintNothingToUndo, w::kHintNothingToUndoAction},
    {68, K::namedFile, w::kHintUndoUnkept, w::kHintUndoUnkeptAction},
    {69, K::namedFile, w::kHintUndoUnread, w::kHintUndoUnreadAction},
};

static_assert(std::size(kHints) == messages::kLastMessage, "one hint for every message");

/// One line of a hint: "pelk: " and `wording` in the context's language
/// with its fills.
std::string hint(const HintContext& context, const Wording& wording,
                 std::vector<Phrase> fills = {}) {
  return "pelk: " + said(Phrase(wording, std::move(fills)), context.language);
}

/// The meaning and the action of a row, their files filled in, as one text.
Phrase meaningThenAction(const MessageHint& row, const HintContext& context,
                         const std::string& file) {
  const std::vector<Phrase> files = {context.thread, context.companion, file};
  return Phrase(w::kHintMeaningThenAction, {Phrase(row.meaning, files), Phrase(row.action, files)});
}

// The thread a failure is about: the file it names, else the run's.
const std::string& threadOf(const Failure& failure, const HintContext& context) {
  return failure.file.empty() ? context.thread : failure.file;
}

std::vector<std::string> line1Hints(const MessageHint& row, const Failure& failure,
                                    const HintContext& context) {
  std::vector<std::string> lines;
  const std::string& thread = threadOf(failure, context);
  // The failure quotes Line-1 as the pass read it, wherever it has one.
  const bool quoted1 = failure.lineNumber == 1;
  if (!quoted1 && !failure.reason.empty()) {
    // A file empty but for what the failure names (a byte-order mark).
    lines.push_back(hint(context, w::kHintEmptyBecause, {thread, failure.reason}));
  } else if (row.kind == K::line1Read) {
    lines.push_back(quoted1 ? hint(context, w::kHintLine1TooLong, {thread})
                            : hint(context, w::kHintEmpty, {thread}));
  } else if (quoted1) {
    lines.push_back(
        hint(context, w::kHintLineAtFault, {thread, "1", shortened(failure.line), failure.reason}));
  }
  lines.push_back(hint(context, w::kHintLine1MustHoldDraw, {thread, kGames[1].line1Example}));
  lines.push_back(
      hint(context, w::kHintLine1Shape, {kGames[2].line1Example, kGames[0].line1Example}));
  return lines;
}

/// Why a file that has a name cannot be read, by what it is.
const Wording& whatItIs(Disk::Kind kind) {
  switch (kind) {
    case Disk::Kind::kDirectory:
      return w::kHintIsDirectory;
    case Disk::Kind::kSpecial:
      return w::kHintIsSpecial;
    case Disk::Kind::kNone:
      return w::kHintIsDanglingLink;
    case Disk::Kind::kRegular:
      break;
  }
  return w::kHintIsUnreadable;
}

/// e60: when the run's output was written all the same, which file it is and
/// that the pass is not to be run again.
/// What the failure found first (standard output closed from the start)
/// comes before.
std::vector<std::string> standardOutputHints(const MessageHint& row, const Failure& failure,
                                             const HintContext& context) {
  const std::string both = "pelk: " + said(meaningThenAction(row, context, {}), context.language);
  if (!failure.reason.empty()) return {"pelk: " + said(failure.reason, context.language), both};
  if (context.written.empty()) return {both};
  return {hint(context,
               context.undoable ? w::kHintWrittenAllTheSameUndoable : w::kHintWrittenAllTheSame,
               {context.written}),
          hint(context, row.action)};
}

/// An example of the run's arguments in their order: the thread file's
/// name first (the first that is no option, else who.txt), then the rest.
std::string inOrder(const HintContext& context, const std::string& option) {
  std::vector<std::string> arguments = context.arguments;
  if (arguments.empty()) arguments.push_back(option);
  std::string name = "who.txt";
  for (auto at = arguments.begin(); at != arguments.end(); ++at) {
    if (!isOption(*at)) {
      name = *at;
      arguments.erase(at);
      break;
    }
  }
  std::string example = "pelk " + name;
  for (const std::string& argument : arguments) example += " " + argument;
  return example;
}

std::vector<std::string> fileHints(const HintContext& context, const MessageHint& row,
                                   const std::string& file, const Wording& what) {
  Disk& disk = *context.disk;
  if (!file.empty() && file[0] == '-') {
    if (!isOption(file)) return {hint(context, w::kHintNotAnOption, {file, Phrase(what)})};
    // An option before the thread's name, taken for the name.
    if (row.kind == K::threadOpen && !disk.exists(file))
      return {hint(context, w::kHintOptionFirst, {file, inOrder(context, file)})};
  }
  if (!disk.exists(file)) {
    if (row.kind == K::threadOpen) return {hint(context, w::kHintNoSuchThread, {file})};
    return {hint(context, w::kHintNoSuchFile, {file, Phrase(what)})};
  }
  const Wording& why = whatItIs(disk.kindOf(file));
  for (const Companion& companion : kCompanions)
    if (file == companion.name) return {hint(context, w::kHintCannotReadCompanion, {file, why})};
  return {hint(context, w::kHintCannotRead, {file, why})};
}

}  // namespace

std::span<const MessageHint> messageHints() { return kHints; }

const MessageHint* hintOf(int number) {
  for (const MessageHint& hint : kHints)
    if (hint.number == number) return &hint;
  return nullptr;
}

std::vector<std::string> hintLines(const Failure& failure, const HintContext& context) {
  const MessageHint* row = hintOf(failure.number);
  if (!row) return {};
  const std::string& file = failure.file;
  switch (row->kind) {
    case K::threadOpen:
      return fileHints(context, *row, threadOf(failure, context), w::kHintThreadFile);
    case K::line1Read:
    case K::noDraw:
    case K::tooFewGaps:
      return line1Hints(*row, failure, context);
    case K::saveFile:
      return {hint(context, w::kHintCannotWrite, {file, row->action})};
    case K::standardOutput:
      return standardOutputHints(*row, failure, context);
    case K::unreadEncoding:
      if (failure.reason.empty()) break;
      return {hint(context, w::kHintEncodingOf, {file, failure.reason, row->action})};
    case K::companion:
      return fileHints(context, *row, file, w::kHintCompanionFile);
    case K::threadLine: {
      std::vector<std::string> lines;
      const std::string& thread = threadOf(failure, context);
      if (failure.lineNumber > 0 && !failure.reason.empty())
        lines.push_back(hint(
            context, w::kHintLineAtFault,
            {thread, std::to_string(failure.lineNumber), shortened(failure.line), failure.reason}));
      else
        lines.push_back(hint(context, w::kHintFileIs, {thread, row->meaning}));
      lines.push_back(hint(context, row->action));
      return lines;
    }
    case K::namedFile:
      // What the failure found first (the owner and mode of a lock file
      // another user made), then the row.
      if (!failure.reason.empty()) {
        const Phrase found =
            file.empty() ? failure.reason : Phrase(w::kHintFileIs, {file, failure.reason});
        return {"pelk: " + said(found, context.language),
                "pelk: " + said(meaningThenAction(*row, context, file), context.language)};
      }
      break;
    case K::internal:
      break;
  }
  return {"pelk: " + said(meaningThenAction(*row, context, file), context.language)};
}

bool isOption(std::string_view argument) {
  static constexpr std::string_view kOthers[] = {"-o",  "-l", "-1-", "-r-",    "-V",
                                                 "-VC", "-U", "-h",  "--undo", "--help"};
  for (std::string_view other : kOthers)
    if (argument == other) return true;
  for (const PassOption& row : passList()) {
    if (!row.numbered) {
      if (argument == row.option) return true;
      continue;
    }
    // "-m" or "-w" and the digits of the period, if any.
    if (!argument.starts_with(row.option)) continue;
    const std::string_view digits = argument.substr(row.option.size());
    if (digits.find_first_not_of("0123456789") == std::string_view::npos) return true;
  }
  return false;
}

std::string said(const Phrase& phrase, Language language) {
  return phrase.in(language, cp932FromUtf8);
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

std::string readAsShiftJisHint(const std::string& file, std::uint64_t offset, long line,
                               Language language) {
  return "pelk: " +
         said(Phrase(w::kNoteReadAsShiftJis, {file, std::to_string(offset), std::to_string(line)}),
              language);
}

std::string companionsWrittenHint(const std::vector<std::string>& written, Language language) {
  std::string names;
  for (std::size_t i = 0; i < written.size(); ++i) {
    if (i > 0)
      names += said(i + 1 == written.size() ? w::kNoteListAnd : w::kNoteListComma, language);
    names += written[i];
  }
  return "pelk: " +
         said(Phrase(written.size() > 1 ? w::kNoteCompanionsWritten : w::kNoteCompanionWritten,
                     {names}),
              language);
}

std::string companionNotWrittenHint(const std::string& name, Language language) {
  return "pelk: " + said(Phrase(w::kNoteCompanionNotWritten, {name}), language);
}

std::string ignoredArgumentsHint(const std::vector<std::string>& ignored, Language language) {
  std::string names;
  for (std::size_t i = 0; i < ignored.size(); ++i) {
    if (i > 0) names += said(w::kNoteListComma, language);
    names += said(Phrase(w::kNoteQuoted, {ignored[i]}), language);
  }
  return "pelk: " +
         said(Phrase(ignored.size() > 1 ? w::kNoteIgnoredArguments : w::kNoteIgnoredArgument,
                     {names}),
              language);
}
