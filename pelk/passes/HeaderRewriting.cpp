#include "passes/HeaderRewriting.hpp"

bool HeaderRewriting::rewritingHeaders(const std::string& path, const ThreadMessages& messages,
                                       Layout layout) {
  ThreadFile thread(disk(), messages);
  if (!opening(thread, path) || !readingLine1(thread)) return false;
  listingLine1(thread);
  chooseOutputName();
  posts.streaming();
  std::string line;
  while (thread.next(line)) {
    DateFollowed header(line);
    if (header.dateLine() > 0) {
      posts.listing();
      posts.clear((header.*layout)());
    } else {
      posts.add(line);
    }
  }
  posts.listing();
  return openSaveClose(outputName);
}
