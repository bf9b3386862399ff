#include "MultiLoto.hpp"

MultiLoto::MultiLoto(const std::string& textValue, const std::string& separatorValue, bool axis)
    : PickSplitter(textValue, axis), separator(separatorValue) {}

std::string MultiLoto::lotoLine() {
  if (!startingAtFirstNumber()) return takeAll();
  // An empty separator would give an empty piece, which ends the caller's
  // loop and loses the text: it is taken as absent.
  found = separator.empty() ? npos : remaining.find(separator);
  return cut(found == npos ? remaining.size() : found + separator.size());
}
