#include "passes/Dates.hpp"

#include "DateFollowed.hpp"

bool Dates::altering(std::string& path) {
  std::string text;
  if (!readThread(path, text)) {
    message = openMessage(23, path);
    return false;
  }
  LineReader in(text);
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
    }
  }
  return openSaveClose(outputName);
}
