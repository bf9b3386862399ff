#include "passes/Drafo.hpp"

#include "DateFollowed.hpp"
#include "ShiftJis.hpp"

namespace {

struct ZenkakuEntry {
  const char* key;
  char becomes;
};

// Full-width characters and the single byte each becomes. Lower- and
// upper-case letters both become upper case.
constexpr ZenkakuEntry kZenkakuEntries[] = {
    {kZenkakuSpace, ' '},  // ideographic space
    {"\x81\x43", ' '},     // full-width comma
    {"\x81\x41", ' '},     // ideographic comma
    {"\x81\x45", ' '},     // middle dot
    {"\x82\x4F", '0'},    {"\x82\x50", '1'}, {"\x82\x51", '2'},  {"\x82\x52", '3'},
    {"\x82\x53", '4'},    {"\x82\x54", '5'}, {"\x82\x55", '6'},  {"\x82\x56", '7'},
    {"\x82\x57", '8'},    {"\x82\x58", '9'}, {"\x82\x81", 'A'},  {"\x82\x8C", 'L'},
    {"\x82\x90", 'P'},    {"\x82\x91", 'Q'}, {"\x82\x60", 'A'},  {"\x82\x6B", 'L'},
    {"\x82\x6F", 'P'},    {"\x82\x70", 'Q'}, {kZenkakuBar, '|'},  // full-width vertical bar
    {kZenkakuSlash, '/'},                                         // full-width slash
};

// Half-width ideographic comma and middle dot, which become spaces.
constexpr unsigned char kHalfWidthComma = 0xA4;
constexpr unsigned char kHalfWidthDot = 0xA5;

size_t characterIndex(char lead, char trail) {
  return static_cast<unsigned char>(lead) * 256u + static_cast<unsigned char>(trail);
}

}  // namespace

Drafo::Drafo() : singleByteOf(256 * 256, 0) {
  for (const ZenkakuEntry& entry : kZenkakuEntries)
    singleByteOf[characterIndex(entry.key[0], entry.key[1])] =
        static_cast<unsigned char>(entry.becomes);
}

bool Drafo::altering(std::string& threadName) {
  ThreadFile thread(disk(), messages::kDrafo);
  if (!opening(thread, threadName) || !readingLine1(thread)) return false;
  listingLine1(thread);
  if (!readingCsvToProduceArrays()) return false;
  std::string spaced, formal;
  return streamingPosts(thread, "", [&](const std::string& line) {
    // The leading space lets drafts that begin with one match at the start
    // of the line; it (or what a pair made of it) is dropped afterwards.
    spaced.assign(" ");
    spaced += line;
    if (!replaceDraftWithFormal(checkOneByOne(spaced), formal)) {
      const std::string text = settings.companion + " grows line " +
                               std::to_string(thread.lineNumber()) + " by more than " +
                               std::to_string(longestGrowth) + " bytes";
      Failure growth = numberedFailure(messages::kDrafoGrowth, text, settings.companion);
      return failingAt(thread, line, std::move(growth));
    }
    formal.erase(0, 1);
    posts.add(formal);
    return true;
  });
}

bool Drafo::readingCsvToProduceArrays() {
  std::string text;
  if (!readingCompanion(settings.companion, text, messages::kDrafoCsv)) return false;
  LineReader in(text);
  std::string line, draft, formal;
  while (in.next(line)) {
    if (!parsingCsvLine(line, draft, formal)) continue;
    drafts.push_back(draft);
    formals.push_back(formal);
  }
  draftMatcher = ItemMatcher(drafts);
  return true;
}

bool Drafo::parsingCsvLine(const std::string& line, std::string& draft, std::string& formal) const {
  // Each line stands alone: the pair is the text before the first unescaped
  // comma and the text between it and the second; anything after the second
  // comma is ignored, and a line with fewer than two gives no pair.
  bool escaped = false;
  size_t draftEnd = std::string::npos;
  for (size_t i = 0; i < line.size(); ++i) {
    if (escaped) {
      escaped = false;
    } else if (line[i] == '\\') {
      escaped = true;
    } else if (line[i] == ',') {
      if (draftEnd == std::string::npos) {
        draftEnd = i;
      } else {
        draft = csvField(line.substr(0, draftEnd));
        formal = csvField(line.substr(draftEnd + 1, i - draftEnd - 1));
        return true;
      }
    }
  }
  return false;
}

std::string Drafo::csvField(std::string field) const {
  if (field.empty()) return std::string(emptyMark);
  size_t backslash = field.find('\\');
  if (backslash != std::string::npos) field.erase(backslash, 1);
  return field;
}

std::string Drafo::checkOneByOne(const std::string& line) const {
  std::string result;
  result.reserve(line.size());
  // A lead byte cut off by the line's end is kept as it is.
  forEachCharacter(line, [this, &result](std::string_view character) {
    const unsigned char first = static_cast<unsigned char>(character[0]);
    const unsigned char single =
        character.size() == 2 ? singleByteOf[characterIndex(character[0], character[1])] : 0;
    if (single != 0)
      result += static_cast<char>(single);
    else if (first == kHalfWidthComma || first == kHalfWidthDot)
      result += ' ';
    else
      result += character;
  });
  return result;
}

bool Drafo::replaceDraftWithFormal(const std::string& line, std::string& formal) const {
  std::string& working = formal;
  working = line;
  std::string next;
  const size_t longest = line.size() + longestGrowth;
  // The drafts that occur are found in one reading of the line, and the
  // line read again only after a pair has changed it: a long drafo.csv
  // costs no more than a short one.
  for (size_t i = 0; (i = draftMatcher.firstOccurringFrom(working, i)) != ItemMatcher::npos; ++i) {
    const std::string& draft = drafts[i];
    if (draft.empty()) continue;
    size_t at = working.find(draft);
    next.clear();
    size_t from = 0;
    while (at != std::string::npos) {
      next.append(working, from, at - from);
      // next only grows, so once it passes the limit the line has too.
      if (next.size() + formals[i].size() > longest) return false;
      next += formals[i];
      from = at + draft.size();
      at = working.find(draft, from);
    }
    next.append(working, from, std::string::npos);
    if (next.size() > longest) return false;
    working.swap(next);
  }
  return true;
}
