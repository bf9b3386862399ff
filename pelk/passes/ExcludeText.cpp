#include "passes/ExcludeText.hpp"

#include <memory>
#include <string_view>

#include "DateFollowed.hpp"

bool ExcludeText::altering(std::string& threadName) {
  ThreadFile thread(disk(), messages::kExcludeText);
  if (!opening(thread, threadName) || !readingLine1(thread)) return false;
  listingLine1(thread);
  if (!readingToProduceArray()) return false;
  chooseOutputName();
  // Reads the bodies too long to hold a second time, behind `thread`.
  std::unique_ptr<ThreadFile> again;
  // Set from the body line that holds an item up to the next post header:
  // the lines of the post in between are skipped.
  bool dropping = false;
  // Set once the body passed `heldBound`: its lines are then only counted
  // (from line `bodyFrom`, `bodyBytes` bytes with their line ends).
  bool unheld = false;
  long bodyFrom = thread.lineNumber() + 1;
  std::size_t bodyBytes = 0;
  // Lists the post that ends at line `bodyTo`, unless it is dropped.
  auto endingPost = [&](long bodyTo) {
    if (dropping) return true;
    posts.listing();
    return !unheld || listingAgain(again, threadName, bodyFrom, bodyTo, bodyBytes);
  };
  std::string line;
  while (thread.next(line)) {
    DateFollowed parser(line, recogniseOnly);
    if (parser.dateLine() > 0) {
      // A dropped post's group is discarded without being listed.
      if (!endingPost(thread.lineNumber() - 1)) return false;
      posts.clear(line);
      dropping = unheld = false;
      bodyFrom = thread.lineNumber() + 1;
    } else if (dropping) {
      continue;
    } else if (searchingItem(line)) {
      dropping = true;
    } else if (unheld) {
      bodyBytes += line.size() + 1;
    } else {
      posts.add(line);
      if (posts.group().size() > heldBound) {
        unheld = true;
        bodyBytes = posts.group().size();
        posts.forgettingGroup();
      }
    }
  }
  if (dropping) {
    // The last post was dropped: an empty header stands in its place.
    posts.clear("");
    posts.listing();
  } else if (!thread.failed() && !endingPost(thread.lineNumber())) {
    return false;
  }
  // Closed before the output may be renamed over the thread.
  again.reset();
  return openSaveClose(outputName);
}

bool ExcludeText::listingAgain(std::unique_ptr<ThreadFile>& reader, const std::string& name,
                               long from, long to, std::size_t bytes) {
  bool opened = reader != nullptr;
  if (!opened) {
    reader = std::make_unique<ThreadFile>(disk(), messages::kExcludeText);
    opened = reader->opening(name, &encoding()) && reader->readingLine1();
  }
  ThreadFile& again = *reader;
  if (opened) {
    std::string_view line;
    while (again.lineNumber() < from - 1 && again.next(line)) {
    }
    std::size_t read = 0;
    while (again.lineNumber() < to && again.next(line)) {
      posts.writingLine(line);
      read += line.size() + 1;
    }
    if (!again.failed() && again.lineNumber() == to && read == bytes) return true;
  }
  // What was written of the output goes: a run that fails leaves none.
  posts.dropping();
  return failing(reader->failure());
}
