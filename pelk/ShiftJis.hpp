#pragma once

// Shift-JIS facts the programs match and write: the texts as byte escapes,
// the byte tests, and the one walk over the characters of a line.

#include <cstddef>
#include <string_view>

#include "Cp932Table.hpp"

/// "：" full-width colon.
inline constexpr char kZenkakuColon[] = "\x81\x46";
/// "　" full-width space.
inline constexpr char kZenkakuSpace[] = "\x81\x40";
/// "｜" full-width vertical bar.
inline constexpr char kZenkakuBar[] = "\x81\x62";
/// "／" full-width slash.
inline constexpr char kZenkakuSlash[] = "\x81\x5E";
/// The full-width digits "０" to "９": this lead byte, then the trail bytes
/// from `kZenkakuZeroTrail` ("０") to `kZenkakuZeroTrail` + 9 ("９").
inline constexpr unsigned char kZenkakuDigitLead = 0x82;
inline constexpr unsigned char kZenkakuZeroTrail = 0x4F;
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

/// The half-width form of a full-width digit or blank, given as its two
/// bytes: "０" gives '0', "　" gives ' '; 0 for any other character.
constexpr char halfWidthDigitOrBlank(unsigned char lead, unsigned char trail) {
  if (lead == kZenkakuDigitLead && trail >= kZenkakuZeroTrail && trail <= kZenkakuZeroTrail + 9)
    return static_cast<char>('0' + (trail - kZenkakuZeroTrail));
  if (lead == static_cast<unsigned char>(kZenkakuSpace[0]) &&
      trail == static_cast<unsigned char>(kZenkakuSpace[1]))
    return ' ';
  return 0;
}

// Lead bytes: two rules, each for its own use.
//
// The passes walk a thread's lines by `isLeadByte`: 0x81-0xA0 and
// 0xE0-0xFC, and whatever byte follows a lead byte is its trail. 0xA0 leads
// here although CP932 has it as a byte of its own, and 0x80 and 0xFD-0xFF
// stand alone: the passes have always cut characters so, and their output
// stays the same byte for byte.
//
// The converter between CP932 and Unicode takes `cp932::isLeadByte`, the
// code's own lead bytes 0x81-0x9F and 0xE0-0xFC, so that 0xA0 is never read
// as the start of a character CP932 lacks. It stands with the tables of the
// codes (common/Cp932Table.hpp), included here so that both rules are at
// hand together.

/// The first byte of a double-byte character as the passes walk a line
/// (0x81 to 0xA0, 0xE0 to 0xFC); the byte after it belongs to the same
/// character.
constexpr bool isLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0xA0) || (b >= 0xE0 && b <= 0xFC);
}

/// The width in bytes of the character that starts at `position` of a
/// line: 2 at a lead byte, 1 otherwise. A lead byte that ends the line is a
/// character cut short: its width reaches past the line's end.
constexpr std::size_t characterWidth(std::string_view line, std::size_t position) {
  return isLeadByte(static_cast<unsigned char>(line[position])) ? 2 : 1;
}

/// Calls `visit` with each character of a line in turn, from the start, as
/// the view of its bytes: two for a double-byte character, one otherwise. A
/// lead byte that ends the line comes alone.
template <class Visit>
constexpr void forEachCharacter(std::string_view line, Visit&& visit) {
  for (std::size_t at = 0; at < line.size();) {
    const std::size_t width = characterWidth(line, at);
    visit(line.substr(at, width));
    at += width;
  }
}

/// Class of the byte at `position` of a line, walking its characters from
/// the start: 0 a single-byte character, 1 the lead byte of a double-byte
/// character, 2 its trail byte; 0 beyond the line.
constexpr int zenkakuFragment(std::string_view line, std::size_t position) {
  if (position >= line.size()) return 0;
  std::size_t at = 0;
  while (at + characterWidth(line, at) <= position) at += characterWidth(line, at);
  if (characterWidth(line, at) == 1) return 0;
  return position == at ? 1 : 2;
}
