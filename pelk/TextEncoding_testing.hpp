#pragma once

// Texts shared by the tests of detection, the conversions and their threads
// (TextEncoding_test.cpp, Conversions_test.cpp, ConversionThreads_test.cpp):
// UTF-8 texts and their CP932 forms.

#include <string>

namespace texts {

inline constexpr char kMark[] = "\xEF\xBB\xBF";
/// "あ" (hiragana a).
inline constexpr char kAUtf8[] = "\xE3\x81\x82";
inline constexpr char kASjis[] = "\x82\xA0";
/// "ぬるぽ"; its Shift-JIS is kNurupo.
inline constexpr char kNurupoUtf8[] = "\xE3\x81\xAC\xE3\x82\x8B\xE3\x81\xBD";
/// "：" (full-width colon); its Shift-JIS is kZenkakuColon.
inline constexpr char kColonUtf8[] = "\xEF\xBC\x9A";
/// "ｱ" (half-width katakana a), a single byte in Shift-JIS.
inline constexpr char kHalfAUtf8[] = "\xEF\xBD\xB1";
inline constexpr char kHalfASjis[] = "\xB1";
// Characters CP932 lacks.
/// An emoji (U+1F600).
inline constexpr char kEmoji[] = "\xF0\x9F\x98\x80";
/// "𠮷" (U+20BB7), a kanji beyond the BMP.
inline constexpr char kYoshi[] = "\xF0\xA0\xAE\xB7";
/// "é" (U+00E9).
inline constexpr char kEAcute[] = "\xC3\xA9";
/// "〜" (U+301C, wave dash): Windows would write 0x8160, which reads as U+FF5E.
inline constexpr char kWaveDash[] = "\xE3\x80\x9C";
/// U+E000, the first private-use character.
inline constexpr char kPrivateUse[] = "\xEE\x80\x80";

/// `c` as UTF-8, written here apart from the converter's own.
inline std::string utf8Of(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | c >> 6);
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | c >> 12);
    out += char(0x80 | (c >> 6 & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | c >> 18);
    out += char(0x80 | (c >> 12 & 0x3F));
    out += char(0x80 | (c >> 6 & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
  return out;
}

}  // namespace texts
