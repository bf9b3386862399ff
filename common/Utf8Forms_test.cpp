#include "Utf8Forms.hpp"

#include <gtest/gtest.h>

#include "Cp932Table.hpp"
#include "Wording.hpp"

namespace {

/// "ぬるぽ" in UTF-8.
const std::string kNurupoUtf8 = "\xE3\x81\xAC\xE3\x82\x8B\xE3\x81\xBD";
/// "𠮷", a character past U+FFFF, in UTF-8.
const std::string kYoshi = "\xF0\xA0\xAE\xB7";
/// "é" in UTF-8.
const std::string kEAcute = "\xC3\xA9";

TEST(Utf8Forms, Utf16OfUtf8) {
  const struct {
    std::string utf8;
    std::u16string expected;
  } rows[] = {
      {"a-1", u"a-1"},
      {kEAcute, u"\u00E9"},
      {kNurupoUtf8, u"\u306C\u308B\u307D"},
      {kYoshi, u"\U00020BB7"},
      {"\x82\xA0", u"\uFFFD\uFFFD"},                      // Shift-JIS passed by
      {"\xE3\x81", u"\uFFFD\uFFFD"},                      // cut short
      {"\xC0\xAF", u"\uFFFD\uFFFD"},                      // overlong
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // a surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
  };
  for (const auto& row : rows) EXPECT_EQ(utf16(row.utf8), row.expected) << row.utf8;
}

TEST(Utf8Forms, Cp932OfUtf8) {
  const struct {
    std::string utf8;
    std::string expected;
  } rows[] = {
      {"tivor: interval 1-100\n", "tivor: interval 1-100\n"},
      {kNurupoUtf8, "\x82\xCA\x82\xE9\x82\xDB"},
      {"\xEF\xBD\x9E", "\x81\x60"},  // the full-width tilde, as Windows writes it
      {"\xEF\xBD\xB1", "\xB1"},      // a half-width katakana: one byte
      {"\xE3\x80\x9C", "?"},         // the wave dash, which CP932 only folds
      {kEAcute + "x", "?x"},
      {kYoshi, "?"},
      {"\x82\xA0", "??"},  // not UTF-8
      {"\xE3\x81", "??"},  // cut short
  };
  for (const auto& row : rows) EXPECT_EQ(cp932FromUtf8(row.utf8), row.expected) << row.utf8;
}

// Every Japanese text of ours must have its CP932 form, for a Shift-JIS
// terminal and a file redirected on Japanese Windows: read back through the
// tables, it is the same text.
TEST(Utf8Forms, EveryJapaneseWordingReadsBackFromCp932) {
  for (const Wording& wording : wordings::kEvery) {
    const std::string cp932 = cp932FromUtf8(wording.japanese);
    std::u16string back;
    for (std::size_t at = 0; at < cp932.size(); ++at) {
      const unsigned char b = static_cast<unsigned char>(cp932[at]);
      if (cp932::isLeadByte(b) && at + 1 < cp932.size())
        back += cp932::fromDoubleByte(b, static_cast<unsigned char>(cp932[++at]));
      else
        back += cp932::fromSingleByte(b);
    }
    EXPECT_EQ(back, utf16(wording.japanese)) << wording.japanese;
  }
}

}  // namespace
