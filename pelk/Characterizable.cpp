#include "Characterizable.hpp"

#include "ShiftJis.hpp"

const char* const Characterizable::weekdayNames[7] = {"Sun", "Mon", "Tue", "Wed",
                                                      "Thu", "Fri", "Sat"};

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

size_t Characterizable::soleMonthMarker(std::string_view text) {
  size_t found = std::string_view::npos;
  int count = 0;
  char marker[5] = {'/', '0', '0', '/', 0};
  for (int month = 1; month <= 12; ++month) {
    marker[1] = static_cast<char>('0' + month / 10);
    marker[2] = static_cast<char>('0' + month % 10);
    size_t at = text.find(std::string_view(marker, 4));
    if (at != std::string_view::npos) {
      if (++count > 1) return std::string_view::npos;
      found = at;
    }
  }
  return found;
}

size_t Characterizable::soleHourMarker(std::string_view text) {
  size_t found = std::string_view::npos;
  int count = 0;
  char marker[4] = {' ', '0', '0', ':'};
  for (char opener : {' ', ')'}) {
    marker[0] = opener;
    for (int hour = 0; hour <= 23; ++hour) {
      marker[1] = static_cast<char>('0' + hour / 10);
      marker[2] = static_cast<char>('0' + hour % 10);
      size_t at = text.find(std::string_view(marker, 4));
      if (at != std::string_view::npos) {
        if (++count > 1) return std::string_view::npos;
        found = at;
      }
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
  if (k != std::string_view::npos) return std::string("(") + weekdayNames[k / 2] + ")";
  const size_t close = line.find(')', at);
  return close == std::string::npos ? std::string() : line.substr(at, close - at + 1);
}
