#include "Consecutive.hpp"

#include <ctime>
#include <string_view>

#include "Alterable.hpp"
#include "Clock.hpp"
#include "ShiftJis.hpp"

namespace {

constexpr std::string_view kIdMark = " ID:";
constexpr std::string_view kZenkakuColonView = kZenkakuColon;
constexpr std::string_view kElevenSpaces = "           ";
constexpr int kMinimumLength = 8;  // the length of "/05/ 08:"
constexpr int kIdEvery = 7;
constexpr long long kStepSeconds = 25;
constexpr long long kDaySeconds = 24 * 3600;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

void twoDigits(std::string& text, int value) {
  text += static_cast<char>('0' + value / 10 % 10);
  text += static_cast<char>('0' + value % 10);
}

}  // namespace

Consecutive::Consecutive(const std::string& text) : gapId(std::make_unique<GapID>()) {
  line = text;
  noErrorText = "No error";
  errorPile = noErrorText;
  errorSeparator = " | ";
  flag = false;
}

int Consecutive::dateLine() {
  const std::string_view whole(line);
  lineLength = static_cast<std::int32_t>(line.size());
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
  // A month marker too near the start leaves no room for the year digits.
  const int y = static_cast<int>(m + n) - 2;
  if (y <= 0) return 0;

  const size_t end = m + 4;
  name = nameRegion(rest, end);

  const std::string_view afterMonth = rest.substr(end);
  const size_t h = soleHourMarker(afterMonth);
  if (h == std::string_view::npos) return 0;

  // The ID keeps its leading blank, so that it follows the time directly.
  if (size_t i = whole.find(kIdMark); i != std::string_view::npos) {
    id = line.substr(i);
    if (id.size() <= 10) id = padding(id);
  } else {
    if (whole.find(kZenkakuColonView) == std::string_view::npos) return 0;
    id = kElevenSpaces;
  }

  const std::string_view clock = afterMonth.substr(h + 1);
  time = clock.substr(0, clock.find(' '));
  if (time.size() <= 10) time = padding(time);

  date = "20" + line.substr(y, 8);
  const std::string yearPrefix = date.substr(0, 5);

  weekday = weekdayAt(static_cast<size_t>(y) + 8);

  number = numberPart;
  if (size_t at = name.rfind(yearPrefix); at != std::string::npos) name.resize(at);

  flag = true;
  return y;
}

std::string Consecutive::rebuild() {
  if (!flag) return line;
  time = resTime();
  const long long next = static_cast<long long>(stringToInteger(number)) + 1;
  line = std::to_string(next);
  line += ' ';
  line += kZenkakuColon;
  line += name;
  line += ' ';
  line += kZenkakuColon;
  line += date;
  line += weekday;
  line += ' ';
  line += time;
  line += id;
  number = line.substr(0, line.find(' '));
  ++headerCount;
  if (headerCount % kIdEvery == 0) {
    id = gapId->gapID();
    // Only the first failure is recorded; later headers simply carry no ID.
    if (id.empty() && headerCount == kIdEvery) {
      std::string reason = gapId->inquiry();
      plus(reason);
    }
  }
  return line;
}

std::string Consecutive::resTime() {
  std::string t = time.substr(0, time.find(' '));
  if (t.size() <= 4)
    t = "00:00:00";
  else if (t.size() <= 7)
    t += ":00";
  const int hours = stringToInteger(t.substr(0, 2));
  const int minutes = stringToInteger(t.substr(3, 2));
  const int seconds = stringToInteger(t.substr(6, 2));

  // Today's local date at that time of day, 25 seconds on; the date may
  // advance, the time of day wraps at midnight. Within an even day that is
  // arithmetic; otherwise the C library works it out.
  watchClock();
  long long ofDay = hours * 3600LL + minutes * 60LL + seconds + kStepSeconds;
  if (!evenDay || ofDay < kStepSeconds || ofDay >= kDaySeconds) {
    std::tm when = today;
    when.tm_hour = hours;
    when.tm_min = minutes;
    when.tm_sec = seconds;
    when.tm_isdst = -1;
    const std::tm later = localTime(std::mktime(&when) + kStepSeconds);
    ofDay = later.tm_hour * 3600LL + later.tm_min * 60LL + later.tm_sec;
  }
  std::string text;
  twoDigits(text, static_cast<int>(ofDay / 3600));
  text += ':';
  twoDigits(text, static_cast<int>(ofDay / 60 % 60));
  text += ':';
  twoDigits(text, static_cast<int>(ofDay % 60));
  return text;
}

void Consecutive::watchClock() {
  const std::time_t now = clockNow();
  if (now == seenSecond) return;
  seenSecond = now;
  today = localTime(now);
  const int key = (today.tm_year * 12 + today.tm_mon) * 32 + today.tm_mday;
  if (key == todayKey) return;
  todayKey = key;
  std::tm first = today, last = today;
  first.tm_hour = first.tm_min = first.tm_sec = 0;
  last.tm_hour = 23;
  last.tm_min = last.tm_sec = 59;
  first.tm_isdst = last.tm_isdst = -1;
  const std::time_t start = std::mktime(&first), end = std::mktime(&last);
  const std::tm a = localTime(start), b = localTime(end);
  evenDay = end - start == kDaySeconds - 1 && a.tm_isdst == b.tm_isdst && a.tm_hour == 0 &&
            a.tm_min == 0 && a.tm_sec == 0 && b.tm_hour == 23 && b.tm_min == 59 && b.tm_sec == 59 &&
            a.tm_mday == today.tm_mday && b.tm_mday == today.tm_mday;
}

std::string Consecutive::interposed() { return line; }

std::string Consecutive::anchor_res_no() { return std::string(); }

std::string Consecutive::common() { return std::string(); }

std::string Consecutive::lotoLine() { return std::string(); }

std::string Consecutive::name_id() { return std::string(); }
