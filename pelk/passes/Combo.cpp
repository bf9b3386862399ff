#include "passes/Combo.hpp"

#include <iterator>
#include <string_view>

#include "DateFollowed.hpp"
#include "Disk.hpp"
#include "FirstNumber.hpp"
#include "LineReader.hpp"
#include "TimeName.hpp"
#include "ToFive.hpp"
#include "ToSeven.hpp"
#include "ToSix.hpp"

namespace {

struct LabelSize {
  const char* label;
  int size;
};

// In the order they are searched: a line carrying two labels goes to the
// expander of the first of them here.
constexpr LabelSize kLabels[] = {
    {"6to5", 5}, {"7to5", 5},  {"8to5", 5}, {"9to5", 5}, {"7to6", 6},  {"8to6", 6},
    {"9to6", 6}, {"10to6", 6}, {"8to7", 7}, {"9to7", 7}, {"10to7", 7}, {"11to7", 7},
};

constexpr char kExpansionStem[] = "cmb";
constexpr char kExpansionExtension[] = ".txt";
// Every label holds this; a line without it carries none.
constexpr std::string_view kLabelCore = "to";

template <class Expanding>
bool expand(const std::string& fileName, const std::string& numbers, std::string& message) {
  Expanding expander(fileName, numbers);
  if (expander.writeFile()) return true;
  message = expander.inquiry();
  return false;
}

}  // namespace

Combo::Combo() : expansionStem(kExpansionStem) { header = empty; }

void Combo::produceArrays() {
  for (const LabelSize& entry : kLabels) {
    items.push_back(entry.label);
    sizeOfLabel[entry.label] = entry.size;
  }
  itemCount = static_cast<int>(std::size(kLabels));
}

std::string Combo::firstNumberTrimmed(const std::string& line) {
  const size_t first = firstDigitFrom(line, 0);
  if (first == std::string::npos) return std::string();
  size_t end = line.size();
  while (end > first && line[end - 1] == ' ') --end;
  return line.substr(first, end - first);
}

bool Combo::acquireFromFile(const std::string& name) {
  std::string text;
  if (!currentDisk().readFile(name, &text)) {
    message = openMessage(5, name);
    return false;
  }
  // The expanders end every line with a bare LF: such a text enters the
  // group whole, as its lines one by one would.
  if (text.find('\r') == std::string::npos && (text.empty() || text.back() == '\n') &&
      newLine == "\n") {
    group += text;
    return true;
  }
  LineReader in(text);
  std::string line;
  while (in.next(line)) add(line);
  return true;
}

bool Combo::expanding(const std::string& line) {
  TimeName naming(expansionStem, kExpansionExtension);
  const std::string fileName = naming.temporaryName(advanceSerial);
  const std::string numbers = firstNumberTrimmed(line);
  bool written = false;
  switch (sizeOfLabel[foundItem]) {
    case 5:
      written = expand<ToFive>(fileName, numbers, message);
      break;
    case 6:
      written = expand<ToSix>(fileName, numbers, message);
      break;
    default:
      written = expand<ToSeven>(fileName, numbers, message);
      break;
  }
  expanded = written;
  if (!written) return false;
  return acquireFromFile(fileName);
}

bool Combo::altering(std::string& threadName) {
  LineReader in;
  if (!readThread(threadName, in, 8)) return false;
  std::string line;
  if (!readLine1(in, line)) {
    message = line1Message(11);
    return false;
  }
  listingLine1(line);
  if (!settingGame(line, 9, 10)) return false;
  // A thread may carry many combination lines: "serial.txt" is read once and
  // written once for the whole run instead of once per expansion file.
  TimeName::Hold serialNumbers;
  produceArrays();
  chooseOutputName();
  while (in.next(line)) {
    DateFollowed parser(line, recogniseOnly);
    if (parser.dateLine() > 0) {
      listing();
      clear(line);
    } else if (line.find(kLabelCore) == std::string::npos || !searchingItemSequence(line)) {
      add(line);
    } else if (!expanding(line)) {
      return false;
    }
  }
  listing();
  return openSaveClose(outputName);
}
