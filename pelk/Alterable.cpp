#include "Alterable.hpp"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <limits>

#include "DateFollowed.hpp"
#include "Disk.hpp"
#include "Messages.hpp"
#include "ShiftJis.hpp"
#include "TimeName.hpp"
#include "Undo.hpp"

namespace {

/// A pass handed no disk or no clock is a fault of its caller: it stops
/// here rather than read and write the real directory behind a test's back.
[[noreturn]] void missing(const char* what) {
  std::cerr << "pelk: a pass ran without " << what << " in its RunSettings" << std::endl;
  std::abort();
}

}  // namespace

Alterable::Alterable() { posts.converting(ownEncoding); }

void Alterable::setting(const RunSettings& run) {
  settings = run;
  outputName.clear();
  posts.converting(encoding());
  if (settings.disk) posts.writingOn(*settings.disk);
}

Disk& Alterable::disk() const {
  if (!settings.disk) missing("a disk");
  return *settings.disk;
}

const Clock& Alterable::clock() const {
  if (!settings.clock) missing("a clock");
  return *settings.clock;
}

bool Alterable::failing(Failure failure) {
  failure_ = std::move(failure);
  return false;
}

bool Alterable::failingAt(const ThreadFile& file, std::string_view line, Failure failure) {
  failure.file = file.name();
  failure.lineNumber = file.lineNumber();
  failure.line = std::string(line);
  return failing(std::move(failure));
}

bool Alterable::opening(ThreadFile& file, const std::string& name, ReadAs readAs) {
  if (!file.opening(name, &encoding(), readAs)) return failing(file.failure());
  thread = &file;
  return true;
}

bool Alterable::readingLine1(ThreadFile& file) {
  return file.readingLine1() || failing(file.failure());
}

const Game* Alterable::classifying(ThreadFile& file) {
  const Game* game = file.classifying();
  if (!game) {
    failing(file.failure());
    return nullptr;
  }
  gameFit = std::make_unique<GameFit>(*game, file.line1());
  file.observing(gameFit.get());
  return game;
}

const Game* Alterable::openingWithGame(ThreadFile& file, const std::string& name, bool listed) {
  if (!opening(file, name) || !readingLine1(file)) return nullptr;
  if (listed) listingLine1(file);
  return classifying(file);
}

bool Alterable::streamingPosts(ThreadFile& file, std::string_view groupEnd,
                               const std::function<bool(const std::string& line)>& body) {
  chooseOutputName();
  posts.streaming();
  std::string line;
  while (file.next(line)) {
    DateFollowed parser(line, recogniseOnly);
    if (parser.dateLine() > 0) {
      posts.listing(groupEnd);
      posts.clear(line);
    } else if (!body(line)) {
      return false;
    }
  }
  posts.listing(groupEnd);
  return openSaveClose(outputName);
}

void Alterable::listingLine1(ThreadFile& file) {
  if (!settings.keepLine1) return;
  posts.add(file.line1());
  posts.listing();
  posts.clear("");
  file.skippingEmptyLine();
}

void Alterable::chooseOutputName() { chooseOutputName("who", ".txt"); }

void Alterable::chooseOutputName(const std::string& stem, const std::string& extension) {
  if (settings.overwrite) {
    // who.txt may be a link into a synced folder: the file it leads to is
    // written.
    outputName = "who.txt";
    posts.naming(outputName);
  } else {
    // A temporary name is pelk's own: a link planted there after the name
    // was chosen is replaced, never written through.
    outputName = TimeName::reading(disk(), clock(), stem, extension).temporaryName(settings.serial);
    posts.naming(outputName, Disk::Links::kNotFollowed);
  }
}

bool Alterable::openSaveClose(const std::string& name) {
  const ThreadFile* read = thread;
  thread = nullptr;
  if (read && read->failed()) {
    // Lines of the thread are missing: no output is written.
    posts.dropping();
    return failing(read->failure());
  }
  // What an overwrite replaces is kept once the output is written beside
  // it, and before the output takes its place: when it cannot be kept,
  // nothing is written over it.
  UndoFolder* undo = settings.overwrite ? settings.undo : nullptr;
  bool kept = true;
  std::function<bool()> keeping;
  if (undo) keeping = [&] { return kept = undo->keeping(name); };
  if (!posts.saving(name, keeping)) return failing(kept ? saveFailure(name) : undo->failure());
  return true;
}

bool Alterable::readingCompanion(const std::string& name, std::string& text, int unreadable) {
  return readingCompanion(name, text, openFailure(unreadable, name));
}

bool Alterable::readingCompanion(const std::string& name, std::string& text, Failure unreadable) {
  if (!disk().readFile(name, &text)) return failing(std::move(unreadable));
  if (!encoding().converting(name, text)) return failing(encoding().failure());
  return true;
}

bool Alterable::readingCompanionLines(std::vector<std::string>& lines) {
  std::string text;
  if (!readingCompanion(settings.companion, text, messages::kCompanion)) return false;
  LineReader in(text);
  std::string line;
  while (in.next(line)) lines.push_back(line.empty() ? std::string(emptyMark) : line);
  return true;
}

const ItemMatcher& Alterable::matcher() const {
  if (!itemMatcher || itemMatcher->size() != items.size())
    itemMatcher = std::make_unique<ItemMatcher>(items);
  return *itemMatcher;
}

bool Alterable::searchingItem(std::string_view line) const { return matcher().anyOccurs(line); }

bool Alterable::searchingItemSequence(std::string_view line) {
  const size_t first = matcher().firstOccurring(line);
  if (first == ItemMatcher::npos) return false;
  foundItem = items[first];
  return true;
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
