#include "Characterizable.hpp"

#include "ShiftJis.hpp"

namespace {

// The shortest text a date line can hold, "/05/ 08:", sets the minimum length.
constexpr std::size_t kMinimumLength = 8;
constexpr std::string_view kIdMark = " ID:";
constexpr std::string_view kZenkakuColonView = kZenkakuColon;

}  // namespace

std::string Characterizable::padding(std::string& text) {
  text.append(11, ' ');
  return text.substr(0, 11);
}

// Scans the slashes and colons once; the same marker twice counts once.
int Characterizable::readingHeader(const HeaderChoices& choices, HeaderFields* fields) {
  if (line.size() < kMinimumLength) return 0;
  if (line[5] == '^') return 9;
  std::size_t n = 0;
  while (n < line.size() && isDigit(line[n])) ++n;
  if (n == 0 || n > 4) return 0;
  numberPart.assign(line, 0, n);
  const std::string_view whole(line);
  const std::string_view rest = whole.substr(n);

  const std::size_t m = soleMonthMarker(rest);
  if (m == std::string_view::npos) return 0;
  // The year's two digits stand before the month marker; a marker too near
  // the start of the line leaves no room for them.
  const int y = static_cast<int>(m + n) - 2;
  if (y <= 0) return 0;
  const std::size_t end = m + 4;
  const std::string_view afterMonth = rest.substr(end);
  const std::size_t h = soleHourMarker(afterMonth);
  if (h == std::string_view::npos) return 0;
  const std::size_t idAt = whole.find(kIdMark);
  if (idAt == std::string_view::npos && whole.find(kZenkakuColonView) == std::string_view::npos)
    return 0;
  if (!fields) return y;

  fields->numberLength = n;
  if (idAt != std::string_view::npos) {
    fields->id = line.substr(choices.idKeepsItsBlank ? idAt : idAt + 1);
    if (fields->id.size() <= 10) fields->id = padding(fields->id);
  } else {
    fields->id = choices.missingId;
  }

  const std::string_view clock = afterMonth.substr(h + 1);
  fields->time = clock.substr(0, clock.find(' '));
  if (fields->time.size() <= 10) fields->time = padding(fields->time);

  fields->date = "20" + line.substr(y, 8);
  fields->weekday = weekdayAt(static_cast<std::size_t>(y) + 8);

  fields->name = nameRegion(rest, end);
  const std::string_view yearPrefix = std::string_view(fields->date).substr(0, 5);
  if (std::size_t at = fields->name.rfind(yearPrefix); at != std::string::npos)
    fields->name.resize(at);
  if (choices.cutsPostedOn) {
    if (std::size_t at = fields->name.rfind(kPostedOn); at != std::string::npos)
      fields->name.resize(at);
  }
  fields->taken = true;
  return y;
}

std::size_t Characterizable::soleMonthMarker(std::string_view text) {
  std::size_t found = std::string_view::npos;
  int foundMonth = 0;
  for (std::size_t at = text.find('/'); at != std::string_view::npos && at + 4 <= text.size();
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
std::size_t Characterizable::soleHourMarker(std::string_view text) {
  std::size_t found = std::string_view::npos;
  int foundMarker = -1;
  for (std::size_t colon = text.find(':', 3); colon != std::string_view::npos;
       colon = text.find(':', colon + 1)) {
    const std::size_t at = colon - 3;
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

std::string Characterizable::nameRegion(std::string_view rest, std::size_t end) {
  constexpr std::string_view colon = kZenkakuColon;
  std::size_t start = 0;
  if (rest.substr(0, 2) == colon)
    start = 2;
  else if (rest.substr(0, 1) == " " && rest.substr(1, 2) == colon)
    start = 3;
  else if (rest.substr(0, 2) == " :")
    start = 2;
  std::string name = start < end ? std::string(rest.substr(start, end - start)) : std::string();
  if (std::size_t blank = name.rfind(' '); blank != std::string::npos) name.resize(blank);
  return name;
}

std::string Characterizable::weekdayAt(std::size_t at) const {
  if (at >= line.size() || line[at] != '(') return std::string();
  const std::string_view kanji = std::string_view(line).substr(at + 1, 2);
  const std::size_t k =
      kanji.size() == 2 ? std::string_view(kKanjiWeekdays).find(kanji) : std::string_view::npos;
  if (k != std::string_view::npos) return "(" + std::string(kWeekdayNames[k / 2]) + ")";
  const std::size_t close = line.find(')', at);
  return close == std::string::npos ? std::string() : line.substr(at, close - at + 1);
}
