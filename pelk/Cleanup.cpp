#include "Cleanup.hpp"

#include <cctype>
#include <memory>
#include <string_view>

#include "Disk.hpp"
#include "LineReader.hpp"

namespace {

const char* const kPatterns[] = {"err*.txt", "cmb*.txt", "tab*.txt", "unq*.txt", "who*.txt"};
const char kRemoveErrorText[] = "remove_e.txt";
const char kErrorText[] = "error.txt";

// Consumes a run of one or more ASCII digits at `at`.
bool digitRun(const std::string& s, size_t& at) {
  size_t start = at;
  while (at < s.size() && std::isdigit(static_cast<unsigned char>(s[at]))) ++at;
  return at > start;
}

}  // namespace

bool createRemoveErrorText(Disk& disk) {
  // Written name by name: after "-c" the list may hold hundreds of
  // thousands of expansion files.
  std::unique_ptr<Disk::Writer> list = disk.openWriter(kRemoveErrorText);
  bool written = list != nullptr;
  for (const char* pattern : kPatterns) {
    disk.eachFile(pattern, [&](const std::string& name) {
      written = written && list->append(name) && list->append("\n");
    });
  }
  if (!written || !list->commit(kRemoveErrorText)) {
    disk.writeFile(kErrorText, "ofstream remove_e(REMOVE_ERROR_TEXT)\n");
    return false;
  }
  return true;
}

bool removeTemporaryFiles(Disk& disk, const std::vector<std::string>& keep) {
  std::string text;
  if (!disk.readFile(kRemoveErrorText, &text)) return false;
  LineReader in(text);
  std::string name;
  while (in.next(name)) {
    bool kept = false;
    for (const std::string& one : keep) kept = kept || sameFileName(name, one);
    if (!kept && isTemporaryName(name) && disk.isRegularFile(name)) disk.removeFile(name);
  }
  return true;
}

bool sameFileName(const std::string& a, const std::string& b) {
  auto bare = [](const std::string& name) {
    std::string_view view(name);
    while (view.size() > 2 && (view.substr(0, 2) == "./" || view.substr(0, 2) == ".\\"))
      view.remove_prefix(2);
    return std::string(view);
  };
  std::string x = bare(a);
  std::string y = bare(b);
#ifdef _WIN32
  for (std::string* s : {&x, &y})
    for (char& c : *s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
#endif
  return x == y;
}

bool isTemporaryName(const std::string& name) {
  if (name == kErrorText) return true;
  static const char* const stems[] = {"who", "cmb", "tab", "unq"};
  for (const char* stem : stems) {
    const std::string s(stem);
    if (name.compare(0, s.size(), s) != 0) continue;
    // After the stem: digits "-" digits [ "-" digits ] ".txt".
    size_t at = s.size();
    int runs = 0;
    while (true) {
      if (!digitRun(name, at)) break;
      ++runs;
      if (at < name.size() && name[at] == '-' && runs < 3) {
        ++at;
        continue;
      }
      break;
    }
    if ((runs == 2 || runs == 3) && name.compare(at, std::string::npos, ".txt") == 0) return true;
  }
  return false;
}
