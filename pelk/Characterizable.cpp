#include "Characterizable.hpp"

const char* const Characterizable::weekdayNames[7] = {"Sun", "Mon", "Tue", "Wed",
                                                      "Thu", "Fri", "Sat"};

std::string Characterizable::padding(std::string& text) {
  text.append(11, ' ');
  return text.substr(0, 11);
}

std::string Characterizable::plus(std::string& message) {
  errorPile += errorSeparator;
  errorPile += message;
  return errorPile;
}

std::string Characterizable::pileOfErrorMessages() {
  if (errorPile.empty()) errorPile = noErrorText;
  return errorPile;
}
