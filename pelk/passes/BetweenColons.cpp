#include "passes/BetweenColons.hpp"

#include "DateFollowed.hpp"

bool BetweenColons::altering(std::string& path) {
  LineReader in;
  if (!readThread(path, in, 6)) return false;
  std::string line;
  if (!readLine1(in, line)) {
    message = "e7: in.getline(c, BUFFER_SIZE" + closing;
    return false;
  }
  if (keepLine1) {
    add(line);
    listing();
    clear(empty);
  }
  chooseOutputName();
  while (in.next(line)) {
    DateFollowed header(line);
    if (header.dateLine() > 0) {
      listing();
      clear(header.interposed());
    } else {
      add(line);
    }
  }
  listing();
  return openSaveClose(outputName);
}
