#include "passes/QuoteRatherThanMark.hpp"

QuoteRatherThanMark::QuoteRatherThanMark() : backQuote("`") {}

bool QuoteRatherThanMark::altering(std::string& threadName) {
  LineReader in;
  if (!readThread(threadName, in, 33)) return false;
  std::string line;
  if (!readLine1(in, line)) {
    message = line1Message(34);
    return false;
  }
  if (keepLine1) output += line + newLine;
  chooseOutputName();
  while (in.next(line)) {
    replaceMARKwithBACK_QUOTE(line);
    output += line;
    output += newLine;
    spilling();
  }
  return openSaveClose(outputName);
}

std::string QuoteRatherThanMark::replaceMARKwithBACK_QUOTE(std::string& line) {
  if (line.size() > 5 && line.compare(5, 1, caret) == 0 && zenkakuFragment(line, 5, 0x5E) == 0)
    line.replace(5, 1, backQuote);
  return line;
}

int zenkakuFragment(const std::string& line, int position, int /*expected*/) {
  bool afterLead = false;
  int kind = 0;
  for (int i = 0; i <= position && i < static_cast<int>(line.size()); ++i) {
    const unsigned char b = static_cast<unsigned char>(line[i]);
    if (afterLead) {
      kind = 2;
      if (i == position) return 2;
      afterLead = false;
      kind = 0;
    } else if (b <= 0x80 || b >= 0xFD) {
      afterLead = false;
      kind = 0;
    } else if (b <= 0xA0 || b >= 0xE0) {
      afterLead = true;
      kind = 1;
    } else {
      afterLead = false;
      kind = 0;
    }
  }
  return kind;
}
