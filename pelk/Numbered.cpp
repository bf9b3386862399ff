#include "Numbered.hpp"

#include <algorithm>
#include <sstream>

#include "ShiftJis.hpp"

Numbered::Numbered(const char* argument) : reversed(argument) {
  length = static_cast<int>(reversed.size());
  std::reverse(reversed.begin(), reversed.end());
  while (digitCount < length && isDigit(reversed[digitCount])) ++digitCount;
  headLength = length - digitCount;
  head.assign(argument, headLength);
  digits.assign(argument + headLength, digitCount);
}

int Numbered::number() const {
  if (!readable()) return 0;
  std::istringstream in(digits);
  int value = 0;
  in >> value;
  return value;
}

bool Numbered::readable() const {
  if (digits.empty()) return false;
  std::istringstream in(digits);
  int value = 0;
  return static_cast<bool>(in >> value);
}
