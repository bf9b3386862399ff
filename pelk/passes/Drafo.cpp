#include "passes/Drafo.hpp"

#include <string_view>

#include "DateFollowed.hpp"
#include "Disk.hpp"

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

bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0xA0) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace

Drafo::Drafo() {
  for (const ZenkakuEntry& entry : kZenkakuEntries)
    zenkakuTable.emplace(entry.key, static_cast<unsigned char>(entry.becomes));
  header = empty;
}

bool Drafo::altering(std::string& threadName) {
  std::string text;
  if (!readThread(threadName, text)) {
    message = openMessage(20, threadName);
    return false;
  }
  LineReader in(text);
  std::string line;
  if (!readLine1(in, line)) {
    message = line1Message(21);
    return false;
  }
  if (keepLine1) {
    add(line);
    listing();
    clear(empty);
  }
  if (!readingCsvToProduceArrays()) return false;
  chooseOutputName();
  std::string spaced;
  while (in.next(line)) {
    DateFollowed parser(line, recogniseOnly);
    if (parser.dateLine() > 0) {
      listing();
      clear(line);
      continue;
    }
    // The leading space lets drafts that begin with one match at the start
    // of the line; it (or what a pair made of it) is dropped afterwards.
    spaced.assign(space);
    spaced += line;
    std::string formal = replaceDraftWithFormal(checkOneByOne(spaced));
    formal.erase(0, 1);
    add(formal);
  }
  listing();
  return openSaveClose(outputName);
}

bool Drafo::readingCsvToProduceArrays() {
  std::string text;
  if (!currentDisk().readFile(companion, &text)) {
    message = openMessage(22, companion);
    return false;
  }
  LineReader in(text);
  std::string line, draft, formal;
  while (in.next(line)) {
    if (!parsingCsvLine(line, draft, formal)) continue;
    drafts.push_back(draft);
    formals.push_back(formal);
  }
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
  if (field.empty()) return emptyMark;
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
      const char key[2] = {lead, c};
      auto found = zenkakuTable.find(std::string_view(key, 2));
      if (found != zenkakuTable.end() && found->second != 0) {
        result += static_cast<char>(found->second);
      } else {
        result += lead;
        result += c;
      }
    } else if (isLeadByte(b)) {
      lead = c;
      inCharacter = true;
    } else if (b == kHalfWidthComma || b == kHalfWidthDot) {
      result += space;
    } else {
      result += c;
    }
  }
  // A lead byte without its trail byte is kept as it is.
  if (inCharacter) result += lead;
  return result;
}

std::string Drafo::replaceDraftWithFormal(const std::string& line) const {
  std::string working = line;
  std::string next;
  for (size_t i = 0; i < drafts.size(); ++i) {
    const std::string& draft = drafts[i];
    size_t at = working.find(draft);
    if (draft.empty() || at == std::string::npos) continue;
    next.clear();
    size_t from = 0;
    while (at != std::string::npos) {
      next.append(working, from, at - from);
      next += formals[i];
      from = at + draft.size();
      at = working.find(draft, from);
    }
    next.append(working, from, std::string::npos);
    working.swap(next);
  }
  return working;
}
