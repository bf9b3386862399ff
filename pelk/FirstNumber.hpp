#pragma once

#include <cstddef>
#include <string_view>

/// The byte position of the first ASCII digit of `text`, or -1 when `text`
/// is empty or holds no digit. The pick splitters cut a piece to start there.
std::ptrdiff_t firstNumber(std::string_view text);

/// The position of the first ASCII digit of `text` at or after `from`, or
/// npos (also when `from` lies beyond the end).
std::size_t firstDigitFrom(std::string_view text, std::size_t from);
