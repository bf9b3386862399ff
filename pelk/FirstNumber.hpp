#pragma once

#include <cstddef>
#include <string_view>

/// The byte position of the first ASCII digit of `text`, or -1 when `text`
/// is empty or holds no digit. The pick splitters cut a piece to start there.
std::ptrdiff_t firstNumber(std::string_view text);

/// The position of the first ASCII digit of `text` at or after `from`, or
/// npos (also when `from` lies beyond the end).
std::size_t firstDigitFrom(std::string_view text, std::size_t from);

/// The numbers part of a labelled line ("my pick: 01 05 09 8to6  " gives
/// "01 05 09 8to6"): from its first ASCII digit to its end, trailing blanks
/// removed; empty when it holds no digit.
std::string_view numbersPart(std::string_view line);
