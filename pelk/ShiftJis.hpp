#pragma once

// Shift-JIS facts the programs match and write: the texts as byte escapes,
// and the byte tests every pass uses to walk a line.

#include <cstddef>
#include <string_view>

/// "：" full-width colon.
inline constexpr char kZenkakuColon[] = "\x81\x46";
/// "　" full-width space.
inline constexpr char kZenkakuSpace[] = "\x81\x40";
/// "｜" full-width vertical bar.
inline constexpr char kZenkakuBar[] = "\x81\x62";
/// "投稿日" (posted on).
inline constexpr char kPostedOn[] = "\x93\x8A\x8D\x65\x93\xFA";
/// "日月火水木金土", the weekdays Sunday to Saturday, two bytes each.
inline constexpr char kKanjiWeekdays[] = "\x93\xFA\x8C\x8E\x89\xCE\x90\x85\x96\xD8\x8B\xE0\x93\x79";
/// The same weekdays in English, index 0 is Sunday.
inline constexpr std::string_view kWeekdayNames[7] = {"Sun", "Mon", "Tue", "Wed",
                                                      "Thu", "Fri", "Sat"};
/// "ぬるぽ", the default exclusion item.
inline constexpr char kNurupo[] = "\x82\xCA\x82\xE9\x82\xDB";
/// The axis mark (jiku): with the axis switch on, a pick line holding it
/// keeps the text before its first digit.
inline constexpr char kAxisMark[] = "\x8E\xB2";

/// An ASCII digit "0" to "9".
constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

/// The first byte of a double-byte character (0x81 to 0xA0, 0xE0 to 0xFC);
/// the byte after it belongs to the same character.
constexpr bool isLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0xA0) || (b >= 0xE0 && b <= 0xFC);
}

/// Class of the byte at `position` of a line, walking its characters from
/// the start: 0 a single-byte character, 1 the lead byte of a double-byte
/// character, 2 its trail byte; 0 beyond the line.
constexpr int zenkakuFragment(std::string_view line, std::size_t position) {
  if (position >= line.size()) return 0;
  int kind = 0;
  for (std::size_t i = 0; i <= position; ++i) kind = kind == 1 ? 2 : isLeadByte(line[i]) ? 1 : 0;
  return kind;
}
