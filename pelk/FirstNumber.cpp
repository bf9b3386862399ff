#include "FirstNumber.hpp"

namespace {

constexpr std::string_view kDigits = "0123456789";

}  // namespace

std::ptrdiff_t firstNumber(std::string_view text) {
  const std::size_t at = firstDigitFrom(text, 0);
  return at == std::string_view::npos ? -1 : static_cast<std::ptrdiff_t>(at);
}

std::size_t firstDigitFrom(std::string_view text, std::size_t from) {
  return text.find_first_of(kDigits, from);
}
