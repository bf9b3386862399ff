#include "GeneratorOptions.hpp"

#include <cstdint>

namespace tivor {

namespace {

constexpr int kLargest = 2147483647;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

/// A text cut before its trailing run of ASCII digits.
struct Split {
  std::string prefix;
  int number = 0;  ///< the digits' value (0 when there are none), at most kLargest
  bool hasDigits = false;
};

Split splitting(const std::string& text) {
  std::size_t start = text.size();
  while (start > 0 && isDigit(text[start - 1])) --start;
  Split split;
  split.prefix = text.substr(0, start);
  split.hasDigits = start < text.size();
  std::int64_t value = 0;
  for (std::size_t k = start; k < text.size(); ++k) {
    value = value * 10 + (text[k] - '0');
    if (value > kLargest) {
      value = kLargest;
      break;
    }
  }
  split.number = static_cast<int>(value);
  return split;
}

bool contains(const std::string& text, const char* letters) {
  return text.find(letters) != std::string::npos;
}

/// -fN, -kN, -sN: `option` followed by the number, nothing else; otherwise
/// the setting goes back to its default.
bool numberOption(const std::string& argument, const char* option, int& setting, int defaultValue) {
  if (!contains(argument, option)) return false;
  const Split split = splitting(argument);
  if (split.prefix == option) {
    setting = split.number;
    return true;
  }
  setting = defaultValue;
  return false;
}

/// -iL-H: "-i", the low bound, any one character and the high bound (which
/// may be empty and then reads 0). Anything else restores 1 to 37.
bool intervalOption(const std::string& argument, int& low, int& high) {
  if (!contains(argument, "-i")) return false;
  const Split upper = splitting(argument);
  high = upper.number;
  if (!upper.prefix.empty()) {
    const Split lower = splitting(upper.prefix.substr(0, upper.prefix.size() - 1));
    if (lower.hasDigits && lower.prefix == "-i") {
      low = lower.number;
      return true;
    }
  }
  low = 1;
  high = 37;
  return false;
}

}  // namespace

Request GeneratorOptions::scanning(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments)
    if (argument == "-h" || argument == "--help") return Request::help;
  for (const std::string& argument : arguments) {
    if (argument == "-c") {
      csv = true;
    } else if (argument == "-g") {
      bitMode = true;
    } else if (argument == "-6") {
      high = 43;
    } else if (argument == "-7") {
      high = 37;
    } else if (argument == "-m") {
      high = 31;
    } else if (argument == "-r") {
      toFile = false;
    } else if (argument == "-V") {
      return Request::version;
    } else if (argument == "-VC") {
      return Request::versionWithComments;
    } else {
      // A malformed option with a number falls through to the next test.
      if (numberOption(argument, "-f", idling, 400)) continue;
      if (intervalOption(argument, low, high)) continue;
      if (numberOption(argument, "-k", kilobytes, 32)) continue;
      numberOption(argument, "-s", seed, 12345);
    }
  }
  return Request::drawing;
}

}  // namespace tivor
