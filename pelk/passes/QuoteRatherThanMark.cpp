#include "passes/QuoteRatherThanMark.hpp"

#include <algorithm>
#include <string_view>

#include "Conversions.hpp"
#include "ShiftJis.hpp"
#include "Utf8Sequences.hpp"

namespace {

/// The UTF-8 bytes within which the character at byte 5 of a line's CP932
/// form ends: at most five characters stand before it, none longer than
/// four bytes, and a caret is one.
constexpr size_t kCaretReach = 5 * 4 + 1;

}  // namespace

bool QuoteRatherThanMark::altering(std::string& threadName) {
  ThreadFile thread(disk(), messages::kQuoteRatherThanMark);
  // The lines of a UTF-8 thread come as saved: most go out unchanged.
  if (!opening(thread, threadName, ReadAs::kSaved) || !readingLine1(thread)) return false;
  if (settings.keepLine1) posts.writingLine(thread.line1());
  chooseOutputName();
  const bool asSaved = thread.linesAsSaved();
  std::string line;
  while (thread.next(line)) {
    if (asSaved)
      replacingInUtf8(line);
    else
      replaceMARKwithBACK_QUOTE(line);
    posts.writingLineAsSaved(line);
  }
  return openSaveClose(outputName);
}

std::string QuoteRatherThanMark::replaceMARKwithBACK_QUOTE(std::string& line) {
  if (line.size() > 5 && line[5] == '^' && zenkakuFragment(line, 5) == 0) line[5] = '`';
  return line;
}

void QuoteRatherThanMark::replacingInUtf8(std::string& line) {
  // No character is shorter in UTF-8 than in CP932: a line of five bytes or
  // fewer has no sixth byte in either.
  if (line.size() <= 5) return;
  // Where the first six bytes are ASCII, they are the CP932 form's too.
  if (utf8::asciiEnd(utf8::bytes(line), 0, 6) == 6) {
    replaceMARKwithBACK_QUOTE(line);
    return;
  }
  // Else the caret, if any, stands further on in the UTF-8 form: the CP932
  // form of the start of the line tells, changed there and brought back
  // (every character comes back as itself).
  const size_t reach = std::min(line.size(), kCaretReach);
  const size_t caret = line.find('^', 5);
  if (caret == std::string::npos || caret >= reach) return;
  UserArea area;
  ToCp932 toCp932(area);
  std::string start;
  if (!toCp932.converting(std::string_view(line).substr(0, reach), start) ||
      !toCp932.finishing(start))
    return;
  const std::string before = start;
  replaceMARKwithBACK_QUOTE(start);
  if (start == before) return;
  ToUtf8 toUtf8(area);
  std::string back;
  toUtf8.converting(start, back);
  toUtf8.finishing(back);
  line.replace(0, reach, back);
}
