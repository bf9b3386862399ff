#include "MultiLoto.hpp"

#include "FirstNumber.hpp"

MultiLoto::MultiLoto(const std::string& textValue, const std::string& separatorValue, bool axis)
    : text(textValue), separator(separatorValue) {
  flag = axis;
  if (flag) lastAxis = text.rfind(axisMark);
  remaining = text;
}

int MultiLoto::dateLine() { return 0; }
std::string MultiLoto::interposed() { return std::string(remaining); }
std::string MultiLoto::rebuild() { return std::string(remaining); }

bool MultiLoto::axisAhead() const {
  // `remaining` is a suffix of `text`, so it holds the mark exactly when the
  // last mark of the text starts inside it.
  return flag && lastAxis != npos && lastAxis >= text.size() - remaining.size();
}

std::string MultiLoto::lotoLine() {
  if (!axisAhead()) {
    const std::ptrdiff_t p = firstNumber(remaining);
    if (p < 0) {
      piece.assign(remaining);
      remaining.remove_prefix(remaining.size());
      return piece;
    }
    remaining.remove_prefix(static_cast<std::size_t>(p));
  }
  // An empty separator would give an empty piece, which ends the caller's
  // loop and loses the text: it is taken as absent.
  found = separator.empty() ? npos : remaining.find(separator);
  const std::size_t length = found == npos ? remaining.size() : found + separator.size();
  piece.assign(remaining.substr(0, length));
  remaining.remove_prefix(length);
  return piece;
}
