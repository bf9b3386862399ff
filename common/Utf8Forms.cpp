#include "Utf8Forms.hpp"

#include "Cp932Table.hpp"

namespace {

/// What stands for a byte that begins no character.
constexpr char32_t kNoCharacter = 0xFFFFFFFF;

/// The character that begins at `at` of `text`, and moves `at` past it; a
/// byte that begins no whole character (cut short, overlong, a surrogate,
/// past U+10FFFF) is passed by alone as `kNoCharacter`.
char32_t nextCharacter(std::string_view text, std::size_t& at) {
  const unsigned char lead = static_cast<unsigned char>(text[at]);
  const std::size_t length = lead < 0x80                   ? 1
                             : lead >= 0xC2 && lead < 0xE0 ? 2
                             : lead >= 0xE0 && lead < 0xF0 ? 3
                             : lead >= 0xF0 && lead < 0xF5 ? 4
                                                           : 0;
  char32_t c = length == 1   ? lead
               : length == 2 ? lead & 0x1F
               : length == 3 ? lead & 0x0F
                             : lead & 0x07;
  bool whole = length > 0 && at + length <= text.size();
  for (std::size_t i = 1; whole && i < length; ++i) {
    const unsigned char trail = static_cast<unsigned char>(text[at + i]);
    whole = (trail & 0xC0) == 0x80;
    c = c << 6 | (trail & 0x3F);
  }
  const char32_t least = length == 3 ? 0x800 : length == 4 ? 0x10000 : 0;
  if (!whole || c < least || (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF) {
    ++at;
    return kNoCharacter;
  }
  at += length;
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
