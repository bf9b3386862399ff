#include "FirstNumber.hpp"

std::ptrdiff_t firstNumber(std::string_view text) {
  const std::size_t at = firstDigitFrom(text, 0);
  return at == std::string_view::npos ? -1 : static_cast<std::ptrdiff_t>(at);
}

std::size_t firstDigitFrom(std::string_view text, std::size_t from) {
  // A loop of one test a byte: find_first_of tries every digit at every byte.
  for (std::size_t at = from; at < text.size(); ++at)
    if (static_cast<unsigned char>(text[at] - '0') < 10) return at;
  return std::string_view::npos;
}

std::string_view numbersPart(std::string_view line) {
  const std::size_t first = firstDigitFrom(line, 0);
  if (first == std::string_view::npos) return std::string_view();
  std::size_t end = line.size();
  while (end > first && line[end - 1] == ' ') --end;
  return line.substr(first, end - first);
}
