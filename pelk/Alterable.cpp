#include "Alterable.hpp"

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <limits>
#include <utility>

#include "DateFollowed.hpp"
#include "Disk.hpp"
#include "Games.hpp"
#include "ShiftJis.hpp"
#include "TimeName.hpp"

Alterable::Alterable() = default;

void Alterable::setting(std::string& companionName, int periodValue, bool keepLine1Value,
                        bool matrixValue, bool serialValue, bool overwriteValue) {
  companion = companionName;
  period = periodValue;
  keepLine1 = keepLine1Value;
  matrix = matrixValue;
  serial = serialValue;
  overwrite = overwriteValue;
  recogniseOnly = true;
  NEIGHBOR = 2;
  absent = -1;
  outputName.clear();
  anchorMark = ">>";
  zenkakuColon = kZenkakuColon;
  emptyMark = "\\a";
  closing = " )";
  colon = ":";
  empty.clear();
  space = " ";
  caret = "^";
  hyphen = "-";
  newLine = "\n";
  newLineLength = static_cast<int>(newLine.size());
  line1Mark = "-1-";
  postDateWord = kPostedOn;
  whoText = "who.txt";
  twoDigits[0] = "bO";
  for (int i = 1; i < 44; ++i) {
    twoDigits[i] = {static_cast<char>('0' + i / 10), static_cast<char>('0' + i % 10)};
  }
}

bool Alterable::readThread(const std::string& threadName, LineReader& in, int number) {
  std::unique_ptr<Disk::Reader> source = currentDisk().openReader(threadName);
  readFailure = openMessage(number, threadName);
  if (!source) {
    message = readFailure;
    return false;
  }
  // The thread is read a block at a time as the pass goes through it, so
  // that a long one is never in memory whole (fresh memory is slow to come
  // by); the output is handed on as it grows (`spilling`) and keeps its
  // room from one spill to the next.
  in.reading(std::move(source));
  threadReader = &in;
  return true;
}

bool Alterable::readLine1(LineReader& in, std::string& line1) {
  return in.next(line1) && line1.size() <= kMaxLine1Length;
}

void Alterable::chooseOutputName() { chooseOutputName("who", ".txt"); }

void Alterable::chooseOutputName(const std::string& stem, const std::string& extension) {
  if (overwrite) {
    outputName = whoText;
  } else {
    TimeName name(stem, extension);
    outputName = name.temporaryName(serial);
  }
}

const std::string& Alterable::itemOr(size_t index, const std::string& missing) const {
  return index < items.size() ? items[index] : missing;
}

std::string Alterable::line1Message(int number) const {
  return "e" + std::to_string(number) + "(Line-1): in.getline(c, BUFFER_SIZE" + closing;
}

std::string Alterable::openMessage(int number, const std::string& name) const {
  return "e" + std::to_string(number) + ": ifstream in( " + name + closing;
}

void Alterable::spilling() {
  if (output.size() < kSpillSize || outputName.empty() || spillRefused) return;
  if (!spill) {
    // The leading line ends are dropped here, as `openSaveClose` drops them;
    // an output of nothing but line ends so far waits.
    size_t at = 0;
    while (at < output.size() && output.compare(at, newLine.size(), newLine) == 0)
      at += newLine.size();
    if (at >= output.size()) return;
    spill = currentDisk().openWriter(outputName);
    if (!spill) {
      spillRefused = true;
      return;
    }
    output.erase(0, at);
  }
  // A failed write is remembered by the writer and reported on commit.
  spill->append(output);
  output.clear();
}

bool Alterable::openSaveClose(std::string& name) {
  const bool threadRead = !threadReader || !threadReader->failed();
  threadReader = nullptr;
  if (!threadRead) {
    // Lines of the thread are missing: no output is written.
    spill.reset();
    message = readFailure;
    return false;
  }
  if (spill) {
    // Part of the output is already written: the rest follows it.
    const bool written = spill->append(output) && spill->commit(name);
    spill.reset();
    if (!written) message = "e1: ofstream saveFile( " + name + closing;
    return written;
  }
  size_t at = 0;
  while (at < output.size() && output.compare(at, newLine.size(), newLine) == 0)
    at += newLine.size();
  // A text of line ends only is kept whole. The rest is cut in place: the
  // output may be large, and it is not needed after this.
  if (at < output.size()) output.erase(0, at);
  if (!currentDisk().writeFile(name, output)) {
    message = "e1: ofstream saveFile( " + name + closing;
    return false;
  }
  return true;
}

bool Alterable::readingToProduceArray() {
  std::string text;
  if (!currentDisk().readFile(companion, &text)) {
    message = "e2: ifstream in( " + companion + closing;
    return false;
  }
  LineReader in(text);
  std::string line;
  while (in.next(line)) items.push_back(line.empty() ? emptyMark : line);
  return true;
}

bool Alterable::searchingItem(const std::string& line) {
  for (const std::string& item : items)
    if (line.find(item) != std::string::npos) return true;
  return false;
}

bool Alterable::searchingItemSequence(const std::string& line) {
  for (const std::string& item : items) {
    if (line.find(item) != std::string::npos) {
      foundItem = item;
      return true;
    }
  }
  return false;
}

bool Alterable::settingGame(const std::string& line1, int noDraw, int tooFewGaps) {
  loto = checkLine1(line1);
  if (const Game* game = gameOfCode(loto)) {
    highestBall = game->highestBall;
    return true;
  }
  if (loto == 4)
    message = "e" + std::to_string(tooFewGaps) + ": TOO FEW GAPS";
  else
    message = "e" + std::to_string(noDraw) + ": ADD THE DRAW TO LINE-1 OF WHO.TXT";
  return false;
}

void Alterable::settingArrays() {
  for (int i = 0; i <= highestBall; ++i) {
    tally.push_back(0);
    place.push_back(absent);
  }
}

void Alterable::resettingArrays() {
  for (int i = 0; i <= highestBall; ++i) {
    appeared[i] = false;
    tally[i] = 0;
    place[i] = absent;
  }
}

void Alterable::resettingPlaceArray() {
  for (int i = 0; i <= highestBall; ++i) place[i] = absent;
}

int Alterable::placingNumbers(const std::string& line, bool flag) {
  // One walk over the line finds the first occurrence of every two-digit
  // text "01" .. `twoDigits[highestBall]` (the text of number j is j's two
  // digits), as a search for each of them would, at a fraction of the cost.
  uint64_t seen = 0;
  int count = 0;
  for (size_t i = 0; i + 1 < line.size(); ++i) {
    const unsigned tens = static_cast<unsigned char>(line[i]) - '0';
    if (tens > 9) continue;
    const unsigned units = static_cast<unsigned char>(line[i + 1]) - '0';
    if (units > 9) continue;
    const unsigned j = tens * 10 + units;
    if (j == 0 || j > static_cast<unsigned>(highestBall) || (seen >> j & 1)) continue;
    seen |= uint64_t{1} << j;
    place[j] = static_cast<int>(i);
    ++count;
    if (flag) appeared[j] = true;
  }
  return count;
}

bool Alterable::measuringSpan() {
  // Sorted, `place` holds its `absent` entries first, then the places found
  // in ascending order. A line names few numbers: those places are sorted by
  // themselves as they are gathered, which gives the same array at a
  // fraction of the cost of sorting all of it (entries below `absent`, which
  // no search leaves, take the general sort).
  int found[44];
  int count = 0;
  bool gathered = highestBall < 44;
  for (int j = 0; gathered && j <= highestBall; ++j) {
    const int c = place[j];
    if (c == absent) continue;
    if (c < absent) {
      gathered = false;
      break;
    }
    int k = count++;
    for (; k > 0 && found[k - 1] > c; --k) found[k] = found[k - 1];
    found[k] = c;
  }
  if (gathered) {
    const int absentCount = highestBall + 1 - count;
    std::fill(place.begin(), place.begin() + absentCount, absent);
    std::copy(found, found + count, place.begin() + absentCount);
  } else {
    std::sort(place.begin(), place.begin() + highestBall + 1);
  }
  // Two numbers whose starts are one byte apart overlap, as "12" and "23" in "123".
  for (int j = 1; j <= highestBall; ++j) {
    const int c = place[j];
    if (c != absent && c != 0) {
      span = c - place[j - 1];
      if (span < NEIGHBOR) return false;
    }
  }
  return true;
}

std::string Alterable::countMeasureSort(const std::string& line) {
  resettingArrays();
  if (placingNumbers(line, true) != loto) {
    message = "e48: c != loto";
    return empty;
  }
  if (!measuringSpan()) {
    message = "e49: span < NEIGHBOR";
    return empty;
  }
  std::string text;
  for (int j = 1; j <= highestBall; ++j) {
    if (appeared[j]) {
      text += twoDigits[j];
      text += space;
    }
  }
  if (!text.empty()) text.pop_back();
  return text;
}

void Alterable::collectingCombos(LineReader& in) {
  std::string line;
  while (in.next(line)) {
    DateFollowed parser(line, recogniseOnly);
    if (parser.dateLine() > 0) continue;
    std::string combination = countMeasureSort(line);
    if (!combination.empty()) combos.push_back(std::move(combination));
  }
}

namespace {

/// The digits of a combination in normal form ("01 05 09 14 22 31", at most
/// seven numbers) read as one decimal number, or false when `text` is not
/// of that form. Texts of one length compare as these numbers do.
bool normalFormKey(const std::string& text, uint64_t& key) {
  if (text.size() % 3 != 2 || text.size() > 20) return false;
  key = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (i % 3 == 2) {
      if (c != ' ') return false;
    } else {
      if (c < '0' || c > '9') return false;
      key = key * 10 + static_cast<uint64_t>(c - '0');
    }
  }
  return true;
}

/// Sorts combinations that are all in normal form and of one length by
/// their keys, in three counting passes of 16 bits, so that the time grows
/// with their number and no faster; false, with `combos` untouched, when
/// they are not all of that kind or too few to repay the counting tables.
bool sortingByKeys(std::vector<std::string>& combos) {
  // Each pass clears a table of 65536 counts; below this many combinations
  // a comparison sort is faster.
  constexpr size_t kFewest = 4096;
  if (combos.size() < kFewest) return false;
  struct Entry {
    uint64_t key;
    size_t index;
  };
  std::vector<Entry> entries(combos.size());
  for (size_t i = 0; i < combos.size(); ++i) {
    if (combos[i].size() != combos[0].size() || !normalFormKey(combos[i], entries[i].key))
      return false;
    entries[i].index = i;
  }
  // Fourteen decimal digits fit in 48 bits.
  std::vector<Entry> other(entries.size());
  std::vector<size_t> count(size_t{1} << 16);
  for (int shift = 0; shift < 48; shift += 16) {
    std::fill(count.begin(), count.end(), 0);
    for (const Entry& e : entries) ++count[e.key >> shift & 0xFFFF];
    size_t start = 0;
    for (size_t& c : count) start += std::exchange(c, start);
    for (const Entry& e : entries) other[count[e.key >> shift & 0xFFFF]++] = e;
    entries.swap(other);
  }
  std::vector<Entry>().swap(other);
  std::vector<std::string> sorted;
  sorted.reserve(combos.size());
  for (const Entry& e : entries) sorted.push_back(std::move(combos[e.index]));
  combos.swap(sorted);
  return true;
}

}  // namespace

void Alterable::uniquingCombos() {
  // Byte order; the normal forms the passes collect take the sort by keys.
  if (!sortingByKeys(combos)) std::sort(combos.begin(), combos.end());
  size_t kept = 0;
  for (size_t i = 0; i < combos.size(); ++i) {
    if (kept > 0 && combos[i] == combos[kept - 1]) {
      std::cout << combos[i] << '\n';
      continue;
    }
    if (kept != i) combos[kept] = std::move(combos[i]);
    ++kept;
  }
  combos.resize(kept);
}

void Alterable::add(const std::string& line) {
  group += line;
  group += newLine;
}

void Alterable::clear(const std::string& h) {
  group.clear();
  header = h;
}

void Alterable::listing() {
  output += header;
  output += newLine;
  output += group;
  spilling();
}

void Alterable::listing(const std::string& tail) {
  listing();
  output += tail;
}

void Alterable::listingLine1(const std::string& line1) {
  if (!keepLine1) return;
  add(line1);
  listing();
  clear(empty);
}

int stringToInteger(const std::string& text) {
  // Read as `std::istringstream(text) >> value` reads it, without building a
  // stream: white space, a sign, digits; a value beyond int is clamped, no
  // digits give 0.
  auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  size_t at = 0;
  while (at < text.size() && isSpace(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  constexpr long long kBeyond = static_cast<long long>(std::numeric_limits<int>::max()) + 2;
  long long value = 0;
  for (; at < text.size() && isDigit(text[at]); ++at)
    value = std::min(value * 10 + (text[at] - '0'), kBeyond);
  if (negative) value = -value;
  return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}
