#include "Gaps.hpp"

#include "FirstNumber.hpp"
#include "Games.hpp"
#include "ShiftJis.hpp"

Gaps::Gaps(const std::string& text, int gameCode, bool axis) : PickSplitter(text, axis) {
  spacesToWalk = gameCode - 2;
  // No game: every number after a pick starts the next one.
  const Game* game = gameOfCode(gameCode);
  highestBall = game ? game->highestBall : 0;
}

std::string Gaps::lotoLine() {
  if (!startingAtFirstNumber()) return takeAll();
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
    return piece;
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
