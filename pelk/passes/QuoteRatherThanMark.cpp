#include "passes/QuoteRatherThanMark.hpp"

#include "ShiftJis.hpp"

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
  if (line.size() > 5 && line.compare(5, 1, caret) == 0 && zenkakuFragment(line, 5) == 0)
    line.replace(5, 1, backQuote);
  return line;
}
