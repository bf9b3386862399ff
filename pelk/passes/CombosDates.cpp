#include "passes/CombosDates.hpp"

#include "DateFollowed.hpp"

CombosDates::CombosDates() { header = empty; }

bool CombosDates::altering(std::string& threadName) {
  LineReader in;
  if (!readThread(threadName, in, 12)) return false;
  std::string line;
  if (!readLine1(in, line)) {
    message = line1Message(15);
    return false;
  }
  listingLine1(line);
  if (!settingGame(line, 13, 14)) return false;
  settingArrays();
  chooseOutputName();
  while (in.next(line)) {
    DateFollowed parser(line, recogniseOnly);
    if (parser.dateLine() > 0) {
      listing(newLine);
      clear(line);
    } else if (countBallsMesureSpan(line)) {
      add(line);
    }
    // Any other line is dropped; its e16/e17 text is not reported.
  }
  listing(newLine);
  return openSaveClose(outputName);
}

bool CombosDates::countBallsMesureSpan(const std::string& line) {
  resettingPlaceArray();
  if (placingNumbers(line, false) != loto) {
    message = "e16: c != loto";
    return false;
  }
  if (!measuringSpan()) {
    message = "e17: span < NEIGHBOR";
    return false;
  }
  return true;
}
