#include "passes/ASCIIdates.hpp"

#include <string_view>

#include "DateFollowed.hpp"
#include "ShiftJis.hpp"

namespace {

// The double-byte characters that have a single-byte text: the kanji
// weekdays, then the full-width colon and bar.
constexpr std::string_view weekdays = kKanjiWeekdays;
constexpr std::string_view colon = kZenkakuColon;
constexpr std::string_view bar = kZenkakuBar;

/// The single-byte text of the character `lead` `trail`, or empty.
std::string_view singleByteText(char lead, char trail) {
  // Keys are whole characters: only even offsets of the weekdays.
  for (size_t k = 0; k < weekdays.size(); k += 2)
    if (weekdays[k] == lead && weekdays[k + 1] == trail) return kWeekdayNames[k / 2];
  if ((lead == colon[0] && trail == colon[1]) || (lead == bar[0] && trail == bar[1])) return "|";
  return {};
}

}  // namespace

std::string ASCIIdates::asciiOnly(const std::string& line) const {
  std::string ascii;
  ascii.reserve(line.size());
  forEachCharacter(line, [&ascii](std::string_view character) {
    const unsigned char byte = static_cast<unsigned char>(character[0]);
    if (character.size() == 2)
      ascii += singleByteText(character[0], character[1]);
    else if (byte < 0x81 || byte > 0xFC)
      ascii += character;
    // Half-width katakana (0xA1 to 0xDF) and a lead byte cut off by the
    // line's end are dropped.
  });
  return ascii;
}

bool ASCIIdates::altering(std::string& path) {
  ThreadFile thread(disk(), messages::kASCIIdates);
  if (!opening(thread, path) || !readingLine1(thread)) return false;
  if (settings.keepLine1) posts.writingLine(asciiOnly(thread.line1()));
  chooseOutputName();
  constexpr std::string_view postedOn = kPostedOn;
  std::string line;
  while (thread.next(line)) {
    DateFollowed header(line, recogniseOnly);
    if (header.dateLine() < 1) continue;
    if (size_t at = line.rfind(postedOn); at != std::string::npos) line.erase(at, postedOn.size());
    posts.writingLine(asciiOnly(line));
  }
  return openSaveClose(outputName);
}
