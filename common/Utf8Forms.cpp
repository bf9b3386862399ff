#include "Utf8Forms.hpp"

#include "Cp932Table.hpp"
#include "Utf8Sequences.hpp"

namespace {

/// What stands for a byte that begins no character.
constexpr char32_t kNoCharacter = 0xFFFFFFFF;

/// The character that begins at `at` of `text`, and moves `at` past it; a
/// byte that begins no whole character (cut short, overlong, a surrogate,
/// past U+10FFFF) is passed by alone as `kNoCharacter`.
char32_t nextCharacter(std::string_view text, std::size_t& at) {
  const unsigned char* p = utf8::bytes(text) + at;
  if (p[0] < 0x80) {
    ++at;
    return p[0];
  }
  const int length = utf8::sequenceLength(p, text.size() - at);
  if (length <= 0) {
    ++at;
    return kNoCharacter;
  }
  char32_t c = p[0] & (0x7F >> length);
  for (int i = 1; i < length; ++i) c = c << 6 | (p[i] & 0x3F);
  at += static_cast<std::size_t>(length);
  return c;
}

}  // namespace

std::u16string utf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const char32_t c = nextCharacter(text, at);
    if (c == kNoCharacter) {
      out += u'\uFFFD';
    } else if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

std::string cp932FromUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const char32_t c = nextCharacter(text, at);
    const unsigned short code = c < 0x80            ? static_cast<unsigned short>(c)
                                : c == kNoCharacter ? 0
                                                    : cp932::toCode(c);
    if (c != 0 && code == 0) {
      out += '?';
      continue;
    }
    if (code > 0xFF) out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
  }
  return out;
}
