#include "PickSplitter.hpp"

#include "FirstNumber.hpp"
#include "ShiftJis.hpp"

PickSplitter::PickSplitter(const std::string& text, bool axis) {
  line = text;
  flag = axis;
  if (flag) lastAxis = line.rfind(kAxisMark);
  remaining = line;
}

int PickSplitter::dateLine() { return 0; }
std::string PickSplitter::interposed() { return std::string(remaining); }
std::string PickSplitter::rebuild() { return std::string(remaining); }

bool PickSplitter::startingAtFirstNumber() {
  // `remaining` is a suffix of `line`, so it holds the mark exactly when the
  // last mark of the line starts inside it.
  if (lastAxis != npos && lastAxis >= line.size() - remaining.size()) return true;
  const std::ptrdiff_t p = firstNumber(remaining);
  if (p < 0) return false;
  remaining.remove_prefix(static_cast<std::size_t>(p));
  return true;
}

const std::string& PickSplitter::cut(std::size_t length) {
  piece.assign(remaining.substr(0, length));
  remaining.remove_prefix(length);
  return piece;
}
