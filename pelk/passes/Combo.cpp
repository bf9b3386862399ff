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
  // The expansion file is the run's own: read by its name, never through a link.
  if (!disk().readFile(name, &text, Disk::Links::kNotFollowed))
    return failing(openFailure(messages::kExpansionFile, name));
  posts.addingLines(text);
  return true;
}

bool Combo::expanding(const ThreadFile& thread, const std::string& line) {
  TimeName names = TimeName::reading(disk(), clock(), expansionStem, kExpansionExtension);
  // The name is not looked up first: the expander creates its file
  // exclusively, and where something has the name it takes the next one.
  const std::string fileName = names.claimedName(advanceSerial);
  const std::string numbers = firstNumberTrimmed(line);
  // `foundItem` is one of the labels `produceArrays` put into the items.
  Expander expander(disk(), *gameOfLabel(foundItem), fileName, numbers);
  if (!expander.writeFile([&names] { return names.passingBy(); })) {
    // The names taken are passed by all the same, so that serial.txt counts
    // them whether the line was expanded or not.
    names.passingTaken();
    return failingAt(thread, line, expander.failure());
  }
  return acquireFromFile(expander.name());
}

bool Combo::altering(std::string& threadName) {
  ThreadFile thread(disk(), messages::kCombo);
  // The game of Line-1 does not restrict the expansion: each label names its own.
  if (!openingWithGame(thread, threadName, true)) return false;
  // A thread may carry many combination lines: "serial.txt" is read once and
  // written once for the whole run instead of once per expansion file.
  TimeName::Hold serialNumbers(disk());
  produceArrays();
  return streamingPosts(thread, "", [&](const std::string& line) {
    if (line.find(kLabelCore) == std::string::npos || !searchingItemSequence(line)) {
      posts.add(line);
      return true;
    }
    return expanding(thread, line);
  });
}
