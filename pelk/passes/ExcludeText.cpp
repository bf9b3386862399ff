#include "passes/ExcludeText.hpp"

#include "DateFollowed.hpp"

bool ExcludeText::altering(std::string& threadName) {
  ThreadFile thread(messages::kExcludeText);
  if (!opening(thread, threadName) || !thread.readingLine1(message)) return false;
  listingLine1(thread.line1());
  if (!readingToProduceArray()) return false;
  chooseOutputName();
  // Set from the body line that holds an item up to the next post header:
  // the lines of the post in between are skipped.
  bool dropping = false;
  std::string line;
  while (thread.next(line)) {
    DateFollowed parser(line, recogniseOnly);
    if (parser.dateLine() > 0) {
      // A dropped post's group is discarded without being listed.
      if (!dropping) posts.listing();
      posts.clear(line);
      dropping = false;
    } else if (dropping) {
      continue;
    } else if (searchingItem(line)) {
      dropping = true;
    } else {
      posts.add(line);
    }
  }
  // The last post was dropped: an empty header stands in its place.
  if (dropping) posts.clear("");
  posts.listing();
  return openSaveClose(outputName);
}
