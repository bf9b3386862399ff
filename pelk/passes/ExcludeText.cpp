#include "passes/ExcludeText.hpp"

#include "DateFollowed.hpp"

ExcludeText::ExcludeText() { header = empty; }

bool ExcludeText::altering(std::string& threadName) {
  LineReader in;
  if (!readThread(threadName, in, 25)) return false;
  std::string line;
  if (!readLine1(in, line)) {
    message = line1Message(26);
    return false;
  }
  listingLine1(line);
  if (!readingToProduceArray()) return false;
  chooseOutputName();
  // Set from the body line that holds an item up to the next post header:
  // the lines of the post in between are skipped.
  bool dropping = false;
  while (in.next(line)) {
    DateFollowed parser(line, recogniseOnly);
    if (parser.dateLine() > 0) {
      // A dropped post's group is discarded without being listed.
      if (!dropping) listing();
      clear(line);
      dropping = false;
    } else if (dropping) {
      continue;
    } else if (searchingItem(line)) {
      dropping = true;
    } else {
      add(line);
    }
  }
  // The last post was dropped: an empty header stands in its place.
  if (dropping) clear(empty);
  listing();
  return openSaveClose(outputName);
}
