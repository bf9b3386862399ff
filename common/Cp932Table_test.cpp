#include "Cp932Table.hpp"

#include <gtest/gtest.h>

#include <map>

namespace {

/// Every code CP932 gives a character, with that character: single bytes
/// from 0x80 and double-byte codes, the user-defined area left out.
std::map<unsigned short, char16_t> everyCode() {
  std::map<unsigned short, char16_t> codes;
  for (int b = 0x80; b <= 0xFF; ++b)
    if (char16_t c = cp932::fromSingleByte(b)) codes[b] = c;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!cp932::isLeadByte(lead) || cp932::isUserAreaLead(lead)) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail)
      if (cp932::isTrailByte(trail))
        if (char16_t c = cp932::fromDoubleByte(lead, trail)) codes[lead << 8 | trail] = c;
  }
  return codes;
}

char16_t characterOf(unsigned short code) {
  return code < 0x100 ? cp932::fromSingleByte(code) : cp932::fromDoubleByte(code >> 8, code & 0xFF);
}

TEST(Cp932Table, EveryCodeRoundTripsToItselfOrItsCanonicalCode) {
  const std::map<unsigned short, char16_t> codes = everyCode();
  // What Python's cp932 codec decodes outside the user-defined area and the
  // private-use bytes: 0x80, 63 half-width katakana, 7724 double-byte codes,
  // for 7326 different characters.
  EXPECT_EQ(codes.size(), 1 + 63 + 7724u);
  size_t canonical = 0;
  for (const auto& [code, c] : codes) {
    const unsigned short back = cp932::toCode(c);
    EXPECT_EQ(characterOf(back), c) << std::hex << code;
    // A character several codes stand for goes back to the lowest of them.
    EXPECT_LE(back, code) << std::hex << code;
    if (back == code) ++canonical;
  }
  EXPECT_EQ(canonical, 1 + 63 + 7326u);
}

TEST(Cp932Table, EveryCharacterEncodedDecodesToItself) {
  // No one-way fallback: a character that reads back as another counts as
  // missing, so that it can keep its identity through the user area.
  size_t encoded = 0;
  for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
    const unsigned short code = cp932::toCode(c);
    if (code == 0) continue;
    ++encoded;
    EXPECT_EQ(characterOf(code), c) << std::hex << unsigned(c);
  }
  EXPECT_EQ(encoded, 1 + 63 + 7326u);
}

TEST(Cp932Table, KnownCodes) {
  struct Case {
    unsigned short code;
    char16_t character;
  };
  const Case cases[] = {
      {0x80, 0x0080},    // a C1 control
      {0xA1, 0xFF61},    // half-width ideographic full stop
      {0xDF, 0xFF9F},    // half-width semi-voiced mark
      {0x8140, 0x3000},  // ideographic space
      {0x8146, 0xFF1A},  // full-width colon
      {0x815F, 0xFF3C},  // full-width reverse solidus
      {0x8160, 0xFF5E},  // full-width tilde (what Windows reads for the wave dash)
      {0x82A0, 0x3042},  // hiragana a
      {0x82CA, 0x306C},  // hiragana nu
      {0x8740, 0x2460},  // circled digit one (NEC row 13)
      {0x889F, 0x4E9C},  // the first JIS level-1 kanji
      {0x9C5A, 0x5F41},  // a JIS level-2 kanji
      {0xED40, 0x7E8A},  // NEC-selected IBM extension
      {0xEEEC, 0x9ED1},  // NEC-selected IBM extension, also at 0xFC4B
  };
  for (const Case& c : cases) {
    EXPECT_EQ(characterOf(c.code), c.character) << std::hex << c.code;
    EXPECT_EQ(cp932::toCode(c.character), c.code) << std::hex << c.code;
  }
}

TEST(Cp932Table, DuplicatesEncodeAsTheLowestCode) {
  struct Case {
    unsigned short code, canonical;
  };
  const Case cases[] = {
      {0xFA4A, 0x8754},  // roman numeral one: IBM to NEC row 13
      {0xFA59, 0x8782},  // numero sign: IBM to NEC row 13
      {0x8790, 0x81E0},  // approximately equal: NEC row 13 to JIS X 0208
      {0x879A, 0x81E6},  // because: NEC row 13 to JIS X 0208
      {0xFA5B, 0x81E6},  // because: IBM to JIS X 0208
      {0xFA54, 0x81CA},  // full-width not sign: IBM to JIS X 0208
      {0xEEF9, 0x81CA},  // the same from the NEC-selected IBM extensions
      {0xFA40, 0xEEEF},  // small roman numeral one: IBM to NEC-selected
      {0xFA5C, 0xED40},  // a kanji: IBM to NEC-selected
      {0xFA55, 0xEEFA},  // full-width broken bar: IBM to NEC-selected
      {0xFC4B, 0xEEEC},  // the last code of all: IBM to NEC-selected
  };
  for (const Case& c : cases) {
    ASSERT_NE(characterOf(c.code), 0) << std::hex << c.code;
    EXPECT_EQ(characterOf(c.code), characterOf(c.canonical)) << std::hex << c.code;
    EXPECT_EQ(cp932::toCode(characterOf(c.code)), c.canonical) << std::hex << c.code;
  }
}

TEST(Cp932Table, WhatTheTablesLeaveOut) {
  // The user-defined area and the bytes the codec sends to private use
  // stand for nothing: a run gives them their meaning.
  // Nor do pairs whose second byte is no trail byte, and unassigned pairs.
  for (unsigned short code :
       {0xF040, 0xF9FC, 0xA0, 0xFD, 0xFE, 0xFF, 0x827F, 0x823F, 0x82FD, 0x8540, 0xEB40})
    EXPECT_EQ(characterOf(code), 0) << std::hex << code;
  for (char32_t c : {
           U'\u301C',      // wave dash: the codec falls back to 0x8160, which reads as U+FF5E
           U'\u2212',      // minus sign: falls back to 0x817C (full-width hyphen-minus)
           U'\u00A2',      // cent sign: falls back to 0x8191 (full-width cent sign)
           U'\uE000',      // private use: the codec's fixed 0xF040
           U'\uF8F0',      // private use: the codec's fixed 0xA0
           U'\U00020BB7',  // a kanji beyond the BMP
           U'\U0001F600',  // an emoji
       })
    EXPECT_EQ(cp932::toCode(c), 0) << std::hex << unsigned(c);
}

}  // namespace
