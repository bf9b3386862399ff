#pragma once

// Our own texts (the wordings of Wordings.def, UTF-8) in the other forms a
// terminal takes: UTF-16 for a Windows console, CP932 for a Shift-JIS
// terminal or a file redirected on Japanese Windows. Both read the text by
// one decoder of UTF-8.

#include <string>
#include <string_view>

/// The UTF-8 `text` in UTF-16; a byte that begins no character becomes
/// U+FFFD.
std::u16string utf16(std::string_view text);

/// The UTF-8 `text` in CP932. Every character of our own texts has its code
/// (the test of the wordings sees to it); any other character, and a byte
/// that begins none, becomes "?".
std::string cp932FromUtf8(std::string_view text);
