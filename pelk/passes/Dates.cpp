#include "passes/Dates.hpp"

#include "DateFollowed.hpp"

bool Dates::altering(std::string& path) {
  LineReader in;
  if (!readThread(path, in, 23)) return false;
  std::string line;
  if (!readLine1(in, line)) {
    message = line1Message(24);
    return false;
  }
  if (keepLine1) {
    output += line;
    output += newLine;
  }
  chooseOutputName();
  while (in.next(line)) {
    DateFollowed header(line, recogniseOnly);
    if (header.dateLine() > 0) {
      output += line;
      output += newLine;
      spilling();
    }
  }
  return openSaveClose(outputName);
}
