#include "passes/HeaderRewriting.hpp"

bool HeaderRewriting::rewritingHeaders(const std::string& path, int openNumber,
                                       const std::string& line1Failure, Layout layout) {
  LineReader in;
  if (!readThread(path, in, openNumber)) return false;
  std::string line;
  if (!readLine1(in, line)) {
    message = line1Failure;
    return false;
  }
  listingLine1(line);
  chooseOutputName();
  while (in.next(line)) {
    DateFollowed header(line);
    if (header.dateLine() > 0) {
      listing();
      clear((header.*layout)());
    } else {
      add(line);
    }
  }
  listing();
  return openSaveClose(outputName);
}
