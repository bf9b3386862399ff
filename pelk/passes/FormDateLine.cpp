#include "passes/FormDateLine.hpp"

#include <string_view>

#include "DateFollowed.hpp"

namespace {

/// The last of the three lines of a broken header holds this.
constexpr std::string_view kIdMark = " ID:";

}  // namespace

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
  ThreadFile thread(disk(), messages::kFormDateLine);
  if (!opening(thread, path) || !readingLine1(thread)) return false;
  listingLine1(thread);
  chooseOutputName();
  posts.streaming();
  produceRingBuffer(3);
  std::string line;
  while (thread.next(line)) {
    ringBuffer.pop_front();
    ringBuffer.push_back(line);
    const std::string& newest = ringBuffer[2];
    // A header that already stands on one line needs no uniting; joining it
    // with the two lines above would swallow them into the header.
    bool united = false;
    if (newest.find(kIdMark) != std::string::npos &&
        DateFollowed(newest, recogniseOnly).dateLine() <= 0) {
      DateFollowed candidate(ringBuffer[0] + ringBuffer[1] + " " + newest + " ");
      if (candidate.dateLine() >= 1) {
        posts.listing();
        posts.clear(candidate.interposed());
        blankRingBuffer();
        united = true;
      }
    }
    if (!united) posts.add(ringBuffer[0]);
  }
  ringBuffer.pop_front();
  for (const std::string& waiting : ringBuffer) posts.add(waiting);
  posts.listing();
  return openSaveClose(outputName);
}
