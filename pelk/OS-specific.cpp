#include "OS-specific.hpp"

#include <csignal>
#include <filesystem>
#include <system_error>

namespace {

char folded(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool matchesPattern(const std::string& pattern, const std::string& name) {
  // Iterative wildcard match with one backtrack point for the last "*".
  size_t p = 0, n = 0, starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || folded(pattern[p]) == folded(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<std::string> searchDirectory(const std::string& pattern) {
  std::vector<std::string> found;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(".", ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (matchesPattern(pattern, name)) found.push_back(name);
  }
  return found;
}

void reportOversizedWrites() {
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
}
