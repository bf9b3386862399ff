#include "Characterizable.hpp"

#include "ShiftJis.hpp"

std::string Characterizable::padding(std::string& text) {
  text.append(11, ' ');
  return text.substr(0, 11);
}

std::string Characterizable::plus(std::string& message) {
  errorPile += errorSeparator;
  errorPile += message;
  return errorPile;
}

std::string Characterizable::pileOfErrorMessages() {
  if (errorPile.empty()) errorPile = noErrorText;
  return errorPile;
}

// Scans the slashes once; the same marker twice counts once.
int Characterizable::headerMarks(HeaderMarks& marks, std::string& name) {
  // The shortest text a date line can hold, "/05/ 08:", sets the minimum
  // length.
  constexpr int32_t kMinimumLength = 8;
  lineLength = static_cast<int32_t>(line.size());
  if (lineLength < kMinimumLength) return 0;
  if (line[5] == '^') {
    marks.caret = true;
    return 9;
  }
  size_t n = 0;
  while (n < line.size() && isDigit(line[n])) ++n;
  if (n == 0 || n > 4) return 0;
  numberPart = line.substr(0, n);
  const std::string_view rest = std::string_view(line).substr(n);

  const size_t m = soleMonthMarker(rest);
  if (m == std::string_view::npos) return 0;
  // The year's two digits stand before the month marker; a marker too near
  // the start of the line leaves no room for them.
  const int y = static_cast<int>(m + n) - 2;
  if (y <= 0) return 0;

  const size_t end = m + 4;
  name = nameRegion(rest, end);

  marks.afterMonth = rest.substr(end);
  marks.hour = soleHourMarker(marks.afterMonth);
  if (marks.hour == std::string_view::npos) return 0;
  marks.numberLength = n;
  return y;
}

size_t Characterizable::soleMonthMarker(std::string_view text) {
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

// Scans from the colons of the 48 markers.
size_t Characterizable::soleHourMarker(std::string_view text) {
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

std::string Characterizable::nameRegion(std::string_view rest, size_t end) {
  constexpr std::string_view colon = kZenkakuColon;
  size_t start = 0;
  if (rest.substr(0, 2) == colon)
    start = 2;
  else if (rest.substr(0, 1) == " " && rest.substr(1, 2) == colon)
    start = 3;
  else if (rest.substr(0, 2) == " :")
    start = 2;
  std::string name = start < end ? std::string(rest.substr(start, end - start)) : std::string();
  if (size_t blank = name.rfind(' '); blank != std::string::npos) name.resize(blank);
  return name;
}

std::string Characterizable::weekdayAt(size_t at) const {
  if (at >= line.size() || line[at] != '(') return std::string();
  const std::string_view kanji = std::string_view(line).substr(at + 1, 2);
  const size_t k =
      kanji.size() == 2 ? std::string_view(kKanjiWeekdays).find(kanji) : std::string_view::npos;
  if (k != std::string_view::npos) return "(" + std::string(kWeekdayNames[k / 2]) + ")";
  const size_t close = line.find(')', at);
  return close == std::string::npos ? std::string() : line.substr(at, close - at + 1);
}
