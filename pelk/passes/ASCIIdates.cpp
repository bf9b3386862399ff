#include "passes/ASCIIdates.hpp"

#include <string_view>

#include "DateFollowed.hpp"

namespace {

// "日月火水木金土：｜", nine double-byte characters, and their replacements.
constexpr std::string_view weekdayKeys =
    "\x93\xFA\x8C\x8E\x89\xCE\x90\x85\x96\xD8\x8B\xE0\x93\x79\x81\x46\x81\x62";
constexpr std::string_view replacements[9] = {"Sun", "Mon", "Tue", "Wed", "Thu",
                                              "Fri", "Sat", "|",   "|"};

bool isLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0xA0) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace

std::string ASCIIdates::asciiOnly(const std::string& line) const {
  std::string ascii;
  ascii.reserve(line.size());
  bool inCharacter = false;
  char lead = 0;
  for (char c : line) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (inCharacter) {
      inCharacter = false;
      // Keys are whole characters: only even offsets of the key string.
      for (size_t k = 0; k < weekdayKeys.size(); k += 2) {
        if (weekdayKeys[k] == lead && weekdayKeys[k + 1] == c) {
          ascii += replacements[k / 2];
          break;
        }
      }
    } else if (byte < 0x81 || byte > 0xFC) {
      ascii += c;
    } else if (isLeadByte(byte)) {
      lead = c;
      inCharacter = true;
    }
    // Half-width katakana (0xA1 to 0xDF) are dropped.
  }
  return ascii;
}

bool ASCIIdates::altering(std::string& path) {
  LineReader in;
  if (!readThread(path, in, 3)) return false;
  std::string line;
  if (!readLine1(in, line)) {
    message = line1Message(4);
    return false;
  }
  if (keepLine1) {
    output += asciiOnly(line);
    output += newLine;
  }
  chooseOutputName();
  while (in.next(line)) {
    DateFollowed header(line, recogniseOnly);
    if (header.dateLine() < 1) continue;
    if (size_t at = line.rfind(postDateWord); at != std::string::npos)
      line.erase(at, postDateWord.size());
    output += asciiOnly(line);
    output += newLine;
    spilling();
  }
  return openSaveClose(outputName);
}
