#include "passes/Combo.hpp"

#include <string_view>

#include "DateFollowed.hpp"
#include "Disk.hpp"
#include "Expander.hpp"
#include "FirstNumber.hpp"
#include "Games.hpp"
#include "TimeName.hpp"

namespace {

constexpr char kExpansionStem[] = "cmb";
constexpr char kExpansionExtension[] = ".txt";
// Every label holds this; a line without it carries none.
constexpr std::string_view kLabelCore = "to";

}  // namespace

Combo::Combo() : expansionStem(kExpansionStem) {}

void Combo::produceArrays() {
  for (const Game& game : kGames)
    for (const Label& label : game.labels) items.emplace_back(label.word());
}

std::string Combo::firstNumberTrimmed(const std::string& line) {
  return std::string(numbersPart(line));
}

bool Combo::acquireFromFile(const std::string& name) {
  std::string text;
  if (!disk().readFile(name, &text)) {
    message = openMessage(messages::kExpansionFile, name);
    return false;
  }
  posts.addingLines(text);
  return true;
}

bool Combo::expanding(const std::string& line) {
  const std::string fileName =
      TimeName::reading(disk(), clock(), expansionStem, kExpansionExtension)
          .temporaryName(advanceSerial);
  const std::string numbers = firstNumberTrimmed(line);
  // `foundItem` is one of the labels `produceArrays` put into the items.
  Expander expander(disk(), *gameOfLabel(foundItem), fileName, numbers);
  if (!expander.writeFile()) {
    message = expander.inquiry();
    fault.line = line;
    fault.reason = expander.reason();
    return false;
  }
  return acquireFromFile(fileName);
}

bool Combo::altering(std::string& threadName) {
  ThreadFile thread(disk(), messages::kCombo);
  if (!opening(thread, threadName) || !thread.readingLine1(message)) return false;
  listingLine1(thread.line1());
  // The game of Line-1 does not restrict the expansion: each label names its own.
  if (!thread.classifying(message)) return false;
  // A thread may carry many combination lines: "serial.txt" is read once and
  // written once for the whole run instead of once per expansion file.
  TimeName::Hold serialNumbers(disk());
  produceArrays();
  chooseOutputName();
  posts.streaming();
  std::string line;
  while (thread.next(line)) {
    DateFollowed parser(line, recogniseOnly);
    if (parser.dateLine() > 0) {
      posts.listing();
      posts.clear(line);
    } else if (line.find(kLabelCore) == std::string::npos || !searchingItemSequence(line)) {
      posts.add(line);
    } else if (!expanding(line)) {
      fault.number = thread.lineNumber();
      return false;
    }
  }
  posts.listing();
  return openSaveClose(outputName);
}
