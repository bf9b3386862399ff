#include "Cleanup.hpp"

#include <cctype>
#include <climits>
#include <memory>

#include "Disk.hpp"
#include "LineReader.hpp"

namespace {

const char* const kPatterns[] = {"err*.txt", "cmb*.txt", "tab*.txt", "unq*.txt", "who*.txt"};
const char kRemoveErrorText[] = "remove_e.txt";
const char kErrorText[] = "error.txt";

// Consumes at `at` a number as pelk writes it (std::to_string): "0", or
// digits without a leading zero, of at most `highest`.
bool number(const std::string& s, size_t& at, long long highest) {
  const size_t start = at;
  long long value = 0;
  while (at < s.size() && std::isdigit(static_cast<unsigned char>(s[at])) && value <= highest)
    value = value * 10 + (s[at++] - '0');
  const size_t length = at - start;
  return length > 0 && value <= highest && (length == 1 || s[start] != '0');
}

// Consumes "-" at `at`.
bool dash(const std::string& s, size_t& at) {
  if (at >= s.size() || s[at] != '-') return false;
  ++at;
  return true;
}

// True when the name holds from `at` on a minute (0-59), "-", a second
// (0-60) and ".txt", and nothing else.
bool minuteSecond(const std::string& s, size_t at) {
  return number(s, at, 59) && dash(s, at) && number(s, at, 60) &&
         s.compare(at, std::string::npos, ".txt") == 0;
}

}  // namespace

bool createRemoveErrorText(Disk& disk) {
  // Written name by name: after "-c" the list may hold hundreds of
  // thousands of expansion files. Both files are pelk's own: a link at
  // either name is replaced, never written through.
  std::unique_ptr<Disk::Writer> list =
      disk.openWriter(kRemoveErrorText, Disk::LineEnds::kPlatform, Disk::Links::kNotFollowed);
  bool written = list != nullptr;
  for (const char* pattern : kPatterns) {
    disk.eachFile(pattern, [&](const std::string& name) {
      written = written && list->append(name) && list->append("\n");
    });
  }
  if (!written || !list->commit(kRemoveErrorText)) {
    disk.writeFile(kErrorText, "ofstream remove_e(REMOVE_ERROR_TEXT)\n", Disk::Links::kNotFollowed);
    return false;
  }
  return true;
}

bool removeTemporaryFiles(Disk& disk, const std::vector<std::string>& keep) {
  std::string text;
  // A link at the name is no list: another user could lead it anywhere.
  if (!disk.readFile(kRemoveErrorText, &text, Disk::Links::kNotFollowed)) return false;
  LineReader in(text);
  std::string name;
  while (in.next(name)) {
    if (!isTemporaryName(name) || !disk.isRegularFile(name)) continue;
    bool kept = false;
    for (const std::string& one : keep) kept = kept || disk.sameFile(name, one);
    if (!kept) disk.removeFile(name);
  }
  return true;
}

bool isTemporaryName(const std::string& name) {
  if (name == kErrorText) return true;
  static const char* const stems[] = {"who", "cmb", "tab", "unq"};
  for (const std::string stem : stems) {
    if (name.compare(0, stem.size(), stem) != 0) continue;
    // The minute and second right after the stem, or a serial number
    // (1 to the largest int) and "-" before them.
    size_t at = stem.size();
    if (minuteSecond(name, at)) return true;
    return number(name, at, INT_MAX) && name[stem.size()] != '0' && dash(name, at) &&
           minuteSecond(name, at);
  }
  return false;
}
