#include "Expander.hpp"

#include "Disk.hpp"
#include "ShiftJis.hpp"

namespace {

constexpr char kLineEnd[] = "\n";

}  // namespace

Expander::Expander(const Game& game, const std::string& fileName, const std::string& numberLine)
    : game(game), length(numberLine.size()), fileName(fileName), numberLine(numberLine), token(1) {}

int Expander::labelled() {
  length = numberLine.size();
  // A line without room for a label has nothing to expand.
  if (length < static_cast<std::size_t>(labelWidth)) {
    message = game.wrongBallText;
    return 0;
  }
  label = numberLine.substr(length - labelWidth);
  token.resize(1);
  const int validated = game.labels[0].n;
  for (int k = 1; k <= validated; ++k) {
    token.push_back(cutToken(k));
    if (wrongBall(token[k])) return 0;
  }
  for (const Label& candidate : game.labels)
    if (label == candidate.text) return candidate.n;
  return 0;
}

bool Expander::writeFile() {
  const int n = labelled();
  return n > 0 && writeCombinations(n);
}

bool Expander::expanding(std::string& text) {
  const int n = labelled();
  return n > 0 && combinations(n, text);
}

bool Expander::wrongBall(const std::string& s) {
  message = game.wrongBallText;
  // Equal to one of "01 " ... the highest ball: two digits, a blank, 1 to highestBall.
  if (s.size() == static_cast<std::size_t>(tokenWidth) && isDigit(s[0]) && isDigit(s[1]) &&
      s[2] == ' ') {
    const int number = (s[0] - '0') * 10 + (s[1] - '0');
    if (number >= 1 && number <= game.highestBall) {
      message = game.passedText;
      return false;
    }
  }
  return true;
}

bool Expander::writeCombinations(int n) {
  std::string text;
  return combinations(n, text) && currentDisk().writeFile(fileName, text);
}

bool Expander::combinations(int n, std::string& text) {
  const int k = game.size;
  if (k < 1 || n < k) return false;
  if (!cutTokens(n)) {
    message = game.wrongBallText;
    return false;
  }
  // Positions of the current combination, 1-based, ascending; the last
  // combination is (n-k+1, ..., n).
  std::vector<int> at(k);
  for (int i = 0; i < k; ++i) at[i] = i + 1;
  while (true) {
    for (int i = 0; i < k; ++i) text += token[at[i]];
    text += kLineEnd;
    int i = k - 1;
    while (i >= 0 && at[i] == n - k + 1 + i) --i;
    if (i < 0) return true;
    ++at[i];
    for (int j = i + 1; j < k; ++j) at[j] = at[j - 1] + 1;
  }
}

bool Expander::cutTokens(int n) {
  if (static_cast<std::size_t>(n) * tokenWidth > numberLine.size()) return false;
  while (static_cast<int>(token.size()) <= n)
    token.push_back(cutToken(static_cast<int>(token.size())));
  return true;
}

std::string Expander::cutToken(int k) const {
  const std::size_t start = static_cast<std::size_t>(k - 1) * tokenWidth;
  if (start >= numberLine.size()) return std::string();
  return numberLine.substr(start, tokenWidth);
}
