// Times the search for exclusion items in every line of a thread: the search
// of each item in turn, as the passes do it now, against ItemMatcher.
//
//     matcher_bench THREAD ITEMS [LINES]
//
// ITEMS is read as the passes read a companion file (an empty line stands as
// the two bytes backslash and "a"). The search of each item runs on the
// first LINES lines (default 20000: it is slow); the matcher on those and
// on all lines. Both must give the same answers; the exit status is 1 when
// they do not.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "ItemMatcher.hpp"
#include "LineReader.hpp"

namespace {

bool readWhole(const char* name, std::string& text) {
  std::ifstream in(name, std::ios::binary);
  if (!in) return false;
  std::ostringstream whole;
  whole << in.rdbuf();
  text = whole.str();
  return true;
}

double seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

size_t firstByFind(const std::vector<std::string>& items, std::string_view line) {
  for (size_t i = 0; i < items.size(); ++i)
    if (line.find(items[i]) != std::string_view::npos) return i;
  return ItemMatcher::npos;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: matcher_bench THREAD ITEMS [LINES]\n");
    return 2;
  }
  std::string threadText, itemText;
  if (!readWhole(argv[1], threadText) || !readWhole(argv[2], itemText)) {
    std::fprintf(stderr, "matcher_bench: cannot read %s or %s\n", argv[1], argv[2]);
    return 2;
  }
  const size_t sampleLines = argc == 4 ? std::strtoul(argv[3], nullptr, 10) : 20000;
  std::vector<std::string_view> lines;
  LineReader threadLines(threadText);
  for (std::string_view line; threadLines.next(line);) lines.push_back(line);
  std::vector<std::string> items;
  LineReader itemLines(itemText);
  for (std::string line; itemLines.next(line);) items.push_back(line.empty() ? "\\a" : line);
  const size_t sample = std::min(sampleLines, lines.size());
  size_t sampleBytes = 0;
  for (size_t i = 0; i < sample; ++i) sampleBytes += lines[i].size() + 1;

  auto start = std::chrono::steady_clock::now();
  const ItemMatcher matcher(items);
  const double build = seconds(start);

  start = std::chrono::steady_clock::now();
  std::vector<size_t> byFind(sample);
  for (size_t i = 0; i < sample; ++i) byFind[i] = firstByFind(items, lines[i]);
  const double findTime = seconds(start);

  start = std::chrono::steady_clock::now();
  std::vector<size_t> byMatcher(sample);
  for (size_t i = 0; i < sample; ++i) byMatcher[i] = matcher.firstOccurring(lines[i]);
  const double firstSample = seconds(start);

  int status = 0;
  size_t found = 0;
  for (size_t i = 0; i < sample; ++i) {
    if (byFind[i] != byMatcher[i] ||
        matcher.anyOccurs(lines[i]) != (byFind[i] != ItemMatcher::npos)) {
      std::fprintf(stderr, "matcher_bench: line %zu: the item searches disagree\n", i + 2);
      status = 1;
    }
    found += byFind[i] != ItemMatcher::npos;
  }

  start = std::chrono::steady_clock::now();
  size_t anyCount = 0;
  for (std::string_view line : lines) anyCount += matcher.anyOccurs(line);
  const double anyAll = seconds(start);
  start = std::chrono::steady_clock::now();
  size_t firstCount = 0;
  for (std::string_view line : lines)
    firstCount += matcher.firstOccurring(line) != ItemMatcher::npos;
  const double firstAll = seconds(start);
  if (anyCount != firstCount) status = 1;

  const double mb = threadText.size() / 1e6;
  std::printf("%zu items, matcher built in %.3f s\n", items.size(), build);
  std::printf("first %zu lines (%.1f MB), %zu holding an item:\n", sample, sampleBytes / 1e6,
              found);
  std::printf("  search of each item    %8.3f s  %8.2f MB/s\n", findTime,
              sampleBytes / 1e6 / findTime);
  std::printf("  matcher, first item    %8.3f s  %8.2f MB/s  (%.0f x faster)\n", firstSample,
              sampleBytes / 1e6 / firstSample, findTime / firstSample);
  std::printf("all %zu lines (%.1f MB), %zu holding an item:\n", lines.size(), mb, anyCount);
  std::printf("  matcher, any item      %8.3f s  %8.2f MB/s\n", anyAll, mb / anyAll);
  std::printf("  matcher, first item    %8.3f s  %8.2f MB/s\n", firstAll, mb / firstAll);
  return status;
}
