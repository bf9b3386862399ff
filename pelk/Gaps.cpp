#include "Gaps.hpp"

#include "FirstNumber.hpp"
#include "Games.hpp"
#include "ShiftJis.hpp"

Gaps::Gaps(const std::string& text, int gameCode, bool axis) {
  line = text;
  flag = axis;
  spacesToWalk = gameCode - 2;
  // No game: every number after a pick starts the next one.
  const Game* game = gameOfCode(gameCode);
  highestBall = game ? game->highestBall : 0;
  if (flag) lastAxis = line.rfind(axisMark);
  remaining = line;
}

int Gaps::dateLine() { return 0; }
std::string Gaps::interposed() { return std::string(remaining); }
std::string Gaps::rebuild() { return std::string(remaining); }

bool Gaps::axisAhead() const {
  // `remaining` is a suffix of `line`, so it holds the mark exactly when the
  // last mark of the line starts inside it.
  return flag && lastAxis != npos && lastAxis >= line.size() - remaining.size();
}

const std::string& Gaps::cut(std::size_t length) {
  numberPart.assign(remaining.substr(0, length));
  remaining.remove_prefix(length);
  return numberPart;
}

const std::string& Gaps::takeAll() { return cut(remaining.size()); }

std::string Gaps::lotoLine() {
  if (!axisAhead()) {
    const std::ptrdiff_t p = firstNumber(remaining);
    if (p < 0) return takeAll();
    remaining.remove_prefix(static_cast<std::size_t>(p));
  }
  // The numbers of a pick are separated by single spaces: the last space
  // walked is the one before the pick's last number.
  found = remaining.find(space);
  if (found == npos) return takeAll();
  for (int i = 0; i < spacesToWalk; ++i) {
    found = remaining.find(space, found + 1);
    if (found == npos) return takeAll();
  }
  spaceBeforeLast = found;
  lastStart = spaceBeforeLast + 1;
  pickEnd = remaining.find(space, lastStart);
  if (pickEnd == npos) return takeAll();

  nextStart = firstDigitFrom(remaining, spaceBeforeLast + 3);
  if (nextStart == npos) {
    // "QP" (quick pick) after the pick stays on its line.
    if (remaining.find(quickPick, spaceBeforeLast + 2) != npos) return takeAll();
    cut(pickEnd);
    if (remaining == space) remaining.remove_prefix(remaining.size());
    return numberPart;
  }
  if (firstDigitFrom(remaining, nextStart + 1) == npos) return cut(nextStart);
  lastNumber = remaining.substr(lastStart, 2);
  nextNumber = remaining.substr(nextStart, 2);
  const int last = twoDigitValue(lastNumber);
  const int next = twoDigitValue(nextNumber);
  if (next < last || next > highestBall) return cut(nextStart);
  return takeAll();
}

int twoDigitValue(std::string_view text) {
  if (text.empty() || !isDigit(text[0])) return 0;
  int value = text[0] - '0';
  if (text.size() > 1 && isDigit(text[1])) value = value * 10 + (text[1] - '0');
  return value;
}
