#include "passes/Combo.hpp"

#include <string_view>

#include "DateFollowed.hpp"
#include "Disk.hpp"
#include "Expander.hpp"
#include "FirstNumber.hpp"
#include "Games.hpp"
#include "LineReader.hpp"
#include "TimeName.hpp"

namespace {

constexpr char kExpansionStem[] = "cmb";
constexpr char kExpansionExtension[] = ".txt";
// Every label holds this; a line without it carries none.
constexpr std::string_view kLabelCore = "to";

}  // namespace

Combo::Combo() : expansionStem(kExpansionStem) { header = empty; }

void Combo::produceArrays() {
  for (const Game& game : kGames)
    for (const Label& label : game.labels) items.emplace_back(label.word());
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
  // `foundItem` is one of the labels `produceArrays` put into the items.
  Expander expander(*gameOfLabel(foundItem), fileName, numbers);
  if (!expander.writeFile()) {
    message = expander.inquiry();
    return false;
  }
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
