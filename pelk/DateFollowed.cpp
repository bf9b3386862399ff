#include "DateFollowed.hpp"

#include <string_view>

#include "ShiftJis.hpp"

namespace {

constexpr std::string_view kCaretColumn = "     ^ ";
constexpr std::string_view kFourSpaces = "    ";
constexpr std::string_view kIdMark = " ID:";
constexpr std::string_view kMissingId = "ID:?";
constexpr std::string_view kZenkakuColonView = kZenkakuColon;
// The shortest text a date line can hold, "/05/ 08:", sets the minimum length.
constexpr std::string_view kShortestFragment = "/05/ 08:";
constexpr int kMinimumLength = static_cast<int>(kShortestFragment.size());

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool startsWith(std::string_view text, std::string_view head) {
  return text.substr(0, head.size()) == head;
}

// Finds exactly one of the markers "/01/" .. "/12/" in `text`: the position
// of its first occurrence, or npos when none occurs or two different markers
// do (the same marker twice counts once). One scan over the slashes.
size_t soleMonthMarker(std::string_view text) {
  size_t found = std::string_view::npos;
  int foundMonth = 0;
  for (size_t at = text.find('/'); at != std::string_view::npos && at + 4 <= text.size();
       at = text.find('/', at + 1)) {
    if (text[at + 3] != '/' || !isDigit(text[at + 1]) || !isDigit(text[at + 2])) continue;
    const int month = (text[at + 1] - '0') * 10 + (text[at + 2] - '0');
    if (month < 1 || month > 12) continue;
    if (foundMonth == 0) {
      foundMonth = month;
      found = at;
    } else if (month != foundMonth) {
      return std::string_view::npos;
    }
  }
  return found;
}

// The same for the 48 hour markers " 00:" .. " 23:" and ")00:" .. ")23:",
// scanned from their colons.
size_t soleHourMarker(std::string_view text) {
  size_t found = std::string_view::npos;
  int foundMarker = -1;
  for (size_t colon = text.find(':', 3); colon != std::string_view::npos;
       colon = text.find(':', colon + 1)) {
    const size_t at = colon - 3;
    const char opener = text[at];
    if ((opener != ' ' && opener != ')') || !isDigit(text[at + 1]) || !isDigit(text[at + 2]))
      continue;
    const int hour = (text[at + 1] - '0') * 10 + (text[at + 2] - '0');
    if (hour > 23) continue;
    const int marker = (opener == ' ' ? 0 : 24) + hour;
    if (foundMarker < 0) {
      foundMarker = marker;
      found = at;
    } else if (marker != foundMarker) {
      return std::string_view::npos;
    }
  }
  return found;
}

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
  lineLength = static_cast<int32_t>(line.size());
  if (lineLength < kMinimumLength) return 0;
  if (line[5] == '^') return 9;
  if (!isDigit(line[0])) return 0;
  size_t n = 0;
  while (n < line.size() && isDigit(line[n])) ++n;
  if (n > 4) return 0;
  numberPart = line.substr(0, n);
  const std::string_view rest = whole.substr(n);

  const size_t m = soleMonthMarker(rest);
  if (m == std::string_view::npos) return 0;
  // The year's two digits stand before the month marker; a marker too near
  // the start of the line leaves no room for them.
  const int y = static_cast<int>(m + n) - 2;
  if (y <= 0) return 0;

  size_t start = 0;
  if (startsWith(rest, kZenkakuColonView))
    start = 2;
  else if (startsWith(rest, " ") && startsWith(rest.substr(1), kZenkakuColonView))
    start = 3;
  else if (startsWith(rest, " :"))
    start = 2;
  const size_t end = m + 4;
  name = start < end ? std::string(rest.substr(start, end - start)) : std::string();
  if (size_t blank = name.rfind(' '); blank != std::string::npos) name.resize(blank);

  const std::string_view afterMonth = rest.substr(end);
  const size_t h = soleHourMarker(afterMonth);
  if (h == std::string_view::npos) return 0;
  remainder.assign(afterMonth);

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

  const size_t w = static_cast<size_t>(y) + 8;
  if (w < line.size() && line[w] == '(') {
    const std::string_view kanji = whole.substr(w + 1, 2);
    const size_t k =
        kanji.size() == 2 ? std::string_view(kKanjiWeekdays).find(kanji) : std::string_view::npos;
    if (k != std::string_view::npos) {
      weekday = std::string("(") + weekdayNames[k / 2] + ")";
    } else {
      const size_t close = line.find(')', w);
      weekday = close == std::string::npos ? std::string() : line.substr(w, close - w + 1);
    }
  }

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
