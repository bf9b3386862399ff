#include "Consecutive.hpp"

#include <ctime>
#include <string_view>

#include "Alterable.hpp"
#include "LocalTime.hpp"
#include "ShiftJis.hpp"

namespace {

/// The headers made here write the ID right after the time, so it keeps
/// its blank; a sample without one gives eleven blanks in its place. The
/// name keeps a "posted on" label, as the sample wrote it.
constexpr Characterizable::HeaderChoices kChoices = {true, "           ", false};
constexpr int kIdEvery = 7;
constexpr long long kStepSeconds = 25;
constexpr long long kDaySeconds = 24 * 3600;

// `stringToInteger` of `text`, read at once when it is digits only (as the
// numbers of generated headers are).
int valueOf(const std::string& text) {
  if (text.empty() || text.size() > 9) return stringToInteger(text);
  int value = 0;
  for (char c : text) {
    if (!isDigit(c)) return stringToInteger(text);
    value = value * 10 + (c - '0');
  }
  return value;
}

// `stringToInteger` of the two bytes of `text` from `at`.
int twoDigitsAt(const std::string& text, size_t at) {
  if (at + 2 <= text.size() && isDigit(text[at]) && isDigit(text[at + 1]))
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
  return stringToInteger(text.substr(at, 2));
}

void twoDigits(std::string& text, int value) {
  text += static_cast<char>('0' + value / 10 % 10);
  text += static_cast<char>('0' + value % 10);
}

}  // namespace

Consecutive::Consecutive(const std::string& text, Disk& disk, const Clock& clock)
    : clock(clock), gapId(std::make_unique<GapID>(disk, clock)) {
  line = text;
  flag = false;
}

int Consecutive::dateLine() {
  HeaderFields sample;
  const int y = readingHeader(kChoices, &sample);
  if (!sample.taken) return y;
  id = std::move(sample.id);
  time = std::move(sample.time);
  number = numberPart;
  middle = " ";
  middle += kZenkakuColon;
  middle += sample.name;
  middle += ' ';
  middle += kZenkakuColon;
  middle += sample.date;
  middle += sample.weekday;
  middle += ' ';
  flag = true;
  return y;
}

std::string Consecutive::rebuild() { return rebuilding(); }

const std::string& Consecutive::rebuilding() {
  if (!flag) return line;
  time = resTime();
  const long long next = static_cast<long long>(valueOf(number)) + 1;
  // Built in place: the line keeps its room from one header to the next.
  line.clear();
  line += std::to_string(next);
  line += middle;
  line += time;
  line += id;
  number.assign(line, 0, line.find(' '));
  ++headerCount;
  if (headerCount % kIdEvery == 0) {
    // When the generator fails, the later headers carry no ID.
    id = gapId->gapID();
  }
  return line;
}

std::string Consecutive::resTime() {
  std::string t = time.substr(0, time.find(' '));
  if (t.size() <= 4)
    t = "00:00:00";
  else if (t.size() <= 7)
    t += ":00";
  const int hours = twoDigitsAt(t, 0);
  const int minutes = twoDigitsAt(t, 3);
  const int seconds = twoDigitsAt(t, 6);

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
    const std::tm later = localTime(localCalendarTime(when) + kStepSeconds);
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
  const std::time_t now = clock.now();
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
  const std::time_t start = localCalendarTime(first), end = localCalendarTime(last);
  const std::tm a = localTime(start), b = localTime(end);
  evenDay = end - start == kDaySeconds - 1 && a.tm_isdst == b.tm_isdst && a.tm_hour == 0 &&
            a.tm_min == 0 && a.tm_sec == 0 && b.tm_hour == 23 && b.tm_min == 59 && b.tm_sec == 59 &&
            a.tm_mday == today.tm_mday && b.tm_mday == today.tm_mday;
}

std::string Consecutive::interposed() { return line; }

std::string Consecutive::lotoLine() { return std::string(); }
