#include "DateFollowed.hpp"

#include <string_view>

#include "ShiftJis.hpp"

namespace {

constexpr std::string_view kCaretColumn = "     ^ ";
constexpr std::string_view kFourSpaces = "    ";
constexpr std::string_view kIdMark = " ID:";
constexpr std::string_view kMissingId = "ID:?";
constexpr std::string_view kZenkakuColonView = kZenkakuColon;
}  // namespace

DateFollowed::DateFollowed(const std::string& text) : DateFollowed(text, false) {}

DateFollowed::DateFollowed(const std::string& text, bool recogniseOnly) {
  line = text;
  noErrorText = "No error";
  errorSeparator = " | ";
  flag = recogniseOnly;
}

int DateFollowed::dateLine() {
  const std::string_view whole(line);
  HeaderMarks marks;
  const int y = headerMarks(marks, name);
  if (y <= 0 || marks.caret) return y;
  const size_t n = marks.numberLength;
  const size_t h = marks.hour;
  remainder.assign(marks.afterMonth);

  if (size_t i = whole.find(kIdMark); i != std::string_view::npos) {
    id = line.substr(i + 1);
    if (id.size() <= 10) id = padding(id);
  } else {
    if (whole.find(kZenkakuColonView) == std::string_view::npos) return 0;
    id = kMissingId;
  }
  if (flag || parsed) return y;

  remainder = remainder.substr(h + 1);
  time = remainder.substr(0, remainder.find(' '));
  if (time.size() <= 10) time = padding(time);

  date = "20" + line.substr(y, 8);
  const std::string yearPrefix = date.substr(0, 5);

  weekday = weekdayAt(static_cast<size_t>(y) + 8);

  numberColumn = numberPart + std::string(kCaretColumn.substr(n));
  number = numberColumn.substr(0, numberColumn.find(' '));
  numberRight = std::string(kFourSpaces.substr(0, 4 - n)) + numberPart;

  if (size_t at = name.rfind(yearPrefix); at != std::string::npos) name.resize(at);
  if (size_t at = name.rfind(kPostedOn); at != std::string::npos) name.resize(at);

  parsed = true;
  return y;
}

std::string DateFollowed::laidOut(std::string layout) {
  if (parsed) line = std::move(layout);
  return line;
}

std::string DateFollowed::rebuild() {
  if (!parsed) return line;
  return laidOut(numberColumn + date + weekday + " " + time + " " + id + " " + name);
}

std::string DateFollowed::interposed() {
  if (!parsed) return line;
  return laidOut(number + " " + kZenkakuColon + name + " " + kZenkakuColon + date + weekday + " " +
                 time + " " + id);
}

std::string DateFollowed::anchor_res_no() {
  if (!parsed) return line;
  return laidOut("\n>>" + number + kZenkakuSpace);
}

std::string DateFollowed::name_id() {
  if (!parsed) return line;
  return laidOut(kZenkakuSpace + name + " " + id);
}

std::string DateFollowed::common() {
  if (!parsed) return line;
  return laidOut("," + date + weekday + " " + time + "," + id + "," + numberRight + "," +
                 trimmed(name) + ",");
}

std::string DateFollowed::lotoLine() { return std::string(); }

std::string DateFollowed::trimmed(const std::string& text) {
  const size_t last = text.find_last_not_of(' ');
  if (last == std::string::npos) return text;
  return text.substr(0, last + 1);
}
