#include "passes/FormDateLine.hpp"

#include "DateFollowed.hpp"

FormDateLine::FormDateLine() : idMark(" ID:") {}

int FormDateLine::produceRingBuffer(int size) {
  ringBuffer.clear();
  for (int i = 0; i < size; ++i) ringBuffer.push_back(" ");
  return static_cast<int>(ringBuffer.size());
}

void FormDateLine::blankRingBuffer() {
  for (int i = 0; i < 3; ++i) {
    ringBuffer.pop_front();
    ringBuffer.push_back(" ");
  }
}

bool FormDateLine::altering(std::string& path) {
  LineReader in;
  if (!readThread(path, in, 27)) return false;
  std::string line;
  if (!readLine1(in, line)) {
    message = line1Message(28);
    return false;
  }
  listingLine1(line);
  chooseOutputName();
  produceRingBuffer(3);
  while (in.next(line)) {
    ringBuffer.pop_front();
    ringBuffer.push_back(line);
    const std::string& newest = ringBuffer[2];
    // A header that already stands on one line needs no uniting; joining it
    // with the two lines above would swallow them into the header.
    bool united = false;
    if (newest.find(idMark) != std::string::npos &&
        DateFollowed(newest, recogniseOnly).dateLine() <= 0) {
      DateFollowed candidate(ringBuffer[0] + ringBuffer[1] + space + newest + space);
      if (candidate.dateLine() >= 1) {
        listing();
        clear(candidate.interposed());
        blankRingBuffer();
        united = true;
      }
    }
    if (!united) add(ringBuffer[0]);
  }
  ringBuffer.pop_front();
  for (const std::string& waiting : ringBuffer) add(waiting);
  listing();
  return openSaveClose(outputName);
}
