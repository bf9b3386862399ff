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
constexpr ZenkakuEntry kZenkakuEntries[] =
    {
        {"\x81\x40", ' '},  // ideographic space
        {"\x81\x43", ' '},  // full-width comma
        {"\x81\x41", ' '},  // ideographic comma
        {"\x81\x45", ' '},  // middle dot
        {"\x82\x4F", '0'}, {"\x82\x50", '1'}, {"\x82\x51", '2'}, {"\x82\x52", '3'},
        {"\x82\x53", '4'}, {"\x82\x54", '5'}, {"\x82\x55", '6'}, {"\x82\x56", '7'},
        {"\x82\x57", '8'}, {"\x82\x58", '9'}, {"\x82\x81", 'A'}, {"\x82\x8C", 'L'},
        {"\x82\x90", 'P'}, {"\x82\x91", 'Q'}, {"\x82\x60", 'A'}, {"\x82\x6B", 'L'},
        {"\x82\x6F", 'P'}, {"\x82\x70", 'Q'}, {"\x81\x62", '|'},  // full-width vertical bar
        {"\x81\x5E", '/'},                                        // full-width slash
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
  if (!opening(thread, threadName) || !thread.readingLine1(message)) return false;
  listingLine1(thread.line1());
  if (!readingCsvToProduceArrays()) return false;
  chooseOutputName();
  posts.streaming();
  std::string line, spaced, formal;
  size_t lineNumber = 1;
  while (thread.next(line)) {
    ++lineNumber;
    DateFollowed parser(line, recogniseOnly);
    if (parser.dateLine() > 0) {
      posts.listing();
      posts.clear(line);
      continue;
    }
    // The leading space lets drafts that begin with one match at the start
    // of the line; it (or what a pair made of it) is dropped afterwards.
    spaced.assign(" ");
    spaced += line;
    if (!replaceDraftWithFormal(checkOneByOne(spaced), formal)) {
      message = numbered(messages::kDrafoGrowth, settings.companion + " grows line " +
                                                     std::to_string(lineNumber) + " by more than " +
                                                     std::to_string(longestGrowth) + " bytes");
      return false;
    }
    formal.erase(0, 1);
    posts.add(formal);
  }
  posts.listing();
  return openSaveClose(outputName);
}

bool Drafo::readingCsvToProduceArrays() {
  std::string text;
  if (!readingCompanion(settings.companion, text,
                        openMessage(messages::kDrafoCsv, settings.companion)))
    return false;
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
  bool inCharacter = false;
  char lead = 0;
  for (char c : line) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (inCharacter) {
      inCharacter = false;
      if (const unsigned char single = singleByteOf[characterIndex(lead, c)]; single != 0) {
        result += static_cast<char>(single);
      } else {
        result += lead;
        result += c;
      }
    } else if (isLeadByte(b)) {
      lead = c;
      inCharacter = true;
    } else if (b == kHalfWidthComma || b == kHalfWidthDot) {
      result += ' ';
    } else {
      result += c;
    }
  }
  // A lead byte without its trail byte is kept as it is.
  if (inCharacter) result += lead;
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
