#include "passes/Segmentalize.hpp"

#include <algorithm>
#include <memory>
#include <string_view>

#include "Consecutive.hpp"
#include "Disk.hpp"

Segmentalize::Segmentalize() { header = empty; }

bool Segmentalize::altering(std::string& threadName) {
  std::string companionText;
  if (!currentDisk().readFile(companion, &companionText)) {
    message = "e35: ifstream segment_text( " + companion + closing;
    return false;
  }
  LineReader companionLines(companionText);
  std::string sample;
  // The sample header goes through the same 384-byte line buffer as Line-1.
  if (!companionLines.next(sample) || sample.size() > kMaxLine1Length) {
    message = "e37: segment_text.getline(c, BUFFER_SIZE" + closing;
    return false;
  }
  auto headers = std::make_unique<Consecutive>(sample);
  if (headers->dateLine() < 1) {
    message = "e36(lineType): " + sample;
    return false;
  }
  chooseOutputName();

  std::string text;
  if (!readThread(threadName, text)) {
    message = "e38: ifstream in( " + threadName + closing;
    return false;
  }
  LineReader in(text);
  std::string line;
  if (!readLine1(in, line)) {
    message = line1Message(39);
    return false;
  }
  if (keepLine1) {
    add(line);
    listing();
    clear(sample);
  }

  // A period below 1 puts a header after every line, as a period of 1 does.
  const int every = std::max(period, 1);
  int counter = 0;
  while (in.next(line)) {
    add(line);
    if (++counter < every) continue;
    if (matrix && !integrity_of_data(line)) continue;
    add(empty);
    add(headers->rebuild());
    counter = 0;
  }
  listing();
  return openSaveClose(outputName);
}

bool Segmentalize::integrity_of_data(const std::string& line) {
  // The two bytes from the first digit of the line with the sentinel behind it.
  char pair[2] = {sentinel[0], sentinel[1]};
  const size_t digit = line.find_first_of("0123456789");
  if (digit != std::string::npos) {
    pair[0] = line[digit];
    pair[1] = digit + 1 < line.size() ? line[digit + 1] : sentinel[0];
  }
  if (std::string_view(rowNumbers[rowState]).find(std::string_view(pair, 2)) ==
      std::string_view::npos) {
    rowState = 0;
    return false;
  }
  if (++rowState < rowCount) return false;
  rowState = 0;
  return true;
}
