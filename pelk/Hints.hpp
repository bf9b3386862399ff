#pragma once

// The hints that follow a numbered message on standard error: lines that
// begin with "pelk: " and say in plain words what is wrong and what to do,
// naming the real files and, where one line of the thread is at fault, its
// number and its bytes, all taken from the failure as it was made. The numbered message itself
// stays as it is, on the line before them.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Disk.hpp"
#include "Failure.hpp"
#include "Wording.hpp"

/// What the hint of a message speaks of, and so what it names.
enum class HintKind {
  /// The thread file cannot be opened or read.
  threadOpen,
  /// The thread has no Line-1, or one longer than 383 bytes.
  line1Read,
  /// Line-1 holds no draw of a game.
  noDraw,
  /// Line-1 has fewer than six blanks.
  tooFewGaps,
  /// The file named in the message cannot be written.
  saveFile,
  /// Standard output cannot be written, after the run's output may have been.
  standardOutput,
  /// The file named in the message is saved in an encoding pelk does not read.
  unreadEncoding,
  /// The companion file named in the message cannot be read.
  companion,
  /// One line of the thread is at fault: its number, bytes and reason.
  threadLine,
  /// Another file named in the message.
  namedFile,
  /// A note a pass keeps for itself, never reported.
  internal,
};

/// The hint of one numbered message: what it means and what to do, as the
/// manual page's table tells them too.
struct MessageHint {
  int number;
  HintKind kind;
  std::string_view meaning;
  std::string_view action;
};

/// Every numbered message of pelk, e1 to the last, with its hint.
std::span<const MessageHint> messageHints();
/// The hint of message `number`, or nullptr.
const MessageHint* hintOf(int number);
/// What the driver knows of a failed run besides the failure.
struct HintContext {
  /// The thread file name as the run took it.
  std::string thread;
  /// The companion file name as the run took it.
  std::string companion;
  /// The run's working directory, where the hints look at the files.
  Disk* disk = nullptr;
  /// The file the run wrote (its output, whose name standard output was to
  /// show), empty when it wrote none.
  std::string written = {};
  /// True when `written` replaced a text of who.txt that `pelk -U` puts back.
  bool undoable = false;
  /// The language the user reads.
  Language language = Language::kEnglish;
};

/// The hint lines that follow the numbered line of `failure`, each
/// beginning "pelk: ", without line ends.
std::vector<std::string> hintLines(const Failure& failure, const HintContext& context);

/// `line` cut to at most `limit` bytes and "..." when longer, never inside
/// a double-byte character.
std::string shortened(std::string_view line, std::size_t limit = 60);

/// The note of a run that read `file`, taken for UTF-8 at first, as
/// Shift-JIS: where the byte that is not UTF-8 stands (`offset`, the bytes
/// before it, and its `line`).
std::string readAsShiftJisHint(const std::string& file, std::uint64_t offset, long line);

/// The hint of a first run that wrote the companion files `written`.
std::string companionsWrittenHint(const std::vector<std::string>& written);
/// The hint of a successful run that ignored the free arguments `ignored`,
/// which begin with "-" and were taken as file names, then replaced.
std::string ignoredArgumentsHint(const std::vector<std::string>& ignored);
