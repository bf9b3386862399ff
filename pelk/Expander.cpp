#include "Expander.hpp"

#include <cstring>

#include "Disk.hpp"
#include "ShiftJis.hpp"

namespace {

constexpr char kLineEnd = '\n';

/// The game's name as the hints word it.
const Wording& nameOf(const Game& game) {
  return game.size == 5   ? wordings::kGameMiniloto
         : game.size == 7 ? wordings::kGameLoto7
                          : wordings::kGameLoto6;
}

}  // namespace

Expander::Expander(Disk& disk, const Game& game, const std::string& fileName,
                   const std::string& numberLine)
    : disk(disk),
      game(game),
      length(numberLine.size()),
      fileName(fileName),
      numberLine(numberLine),
      token(1) {
  // Room for the most tokens a label asks for ("11to7"), so that cutting
  // them never moves the vector.
  token.reserve(12);
}

void Expander::noBall() { outcome_ = game.expanderMessages.wrongBall; }

Failure Expander::failure() const {
  if (outcome_ == 0) return Failure();
  const bool passed = outcome_ == game.expanderMessages.passed;
  Failure failure =
      numberedFailure(outcome_, passed ? messages::kPassedText : messages::kWrongBallText);
  failure.reason = reason_;
  return failure;
}

int Expander::labelled() {
  length = numberLine.size();
  reason_ = {};
  // A line without room for a label has nothing to expand.
  if (length < static_cast<std::size_t>(labelWidth)) {
    noBall();
    reason_ = Phrase(wordings::kReasonLineTooShort);
    return 0;
  }
  label = numberLine.substr(length - labelWidth);
  int n = 0;
  for (const Label& candidate : game.labels)
    if (label == candidate.text) n = candidate.n;
  token.resize(1);
  const int validated = game.labels[0].n;
  for (int k = 1; k <= validated; ++k) {
    token.push_back(cutToken(k));
    if (wrongBall(token[k])) {
      reason_ = tokenFault(k, n);
      return 0;
    }
  }
  if (n == 0) {
    const std::string ends = label.substr(label[0] == ' ' ? 1 : 0);
    reason_ = Phrase(wordings::kReasonNoLabel,
                     {ends, nameOf(game), game.labels[0].word(), game.labels[3].word()});
    return 0;
  }
  // Every number the label asks for is a ball of the game, and none stands twice.
  if (!cutTokens(n)) {
    noBall();
    reason_ = tokenFault(n, n);
    return 0;
  }
  for (int k = validated + 1; k <= n; ++k) {
    if (wrongBall(token[k])) {
      reason_ = tokenFault(k, n);
      return 0;
    }
  }
  bool seen[100] = {};
  for (int k = 1; k <= n; ++k) {
    const int number = (token[k][0] - '0') * 10 + (token[k][1] - '0');
    if (seen[number]) {
      noBall();
      reason_ = Phrase(wordings::kReasonStandsTwice, {token[k].substr(0, 2), std::to_string(n)});
      return 0;
    }
    seen[number] = true;
  }
  return n;
}

Phrase Expander::tokenFault(int k, int n) const {
  const std::string highest = std::to_string(game.highestBall);
  const std::string t = cutToken(k);
  if (t.size() == static_cast<std::size_t>(tokenWidth) && isDigit(t[0]) && isDigit(t[1]) &&
      t[2] == ' ')
    return Phrase(wordings::kReasonNoNumberOfGame, {t.substr(0, 2), nameOf(game), highest});
  if (n > 0) {
    // The numbers before the label, as blanks part them.
    const std::string before = numberLine.substr(0, length - labelWidth);
    int words = 0;
    for (std::size_t at = 0; at < before.size(); ++at)
      if (before[at] != ' ' && (at == 0 || before[at - 1] == ' ')) ++words;
    if (words < n && k > words)
      return Phrase(wordings::kReasonLabelNeeds, {label.substr(label[0] == ' ' ? 1 : 0),
                                                  std::to_string(n), std::to_string(words)});
  }
  const std::size_t start = static_cast<std::size_t>(k - 1) * tokenWidth;
  std::size_t end = start;
  while (end < numberLine.size() && end < start + 8 && numberLine[end] != ' ') ++end;
  if (end == start) return Phrase(wordings::kReasonBlankAt, {std::to_string(k)});
  return Phrase(wordings::kReasonNotANumber,
                {numberLine.substr(start, end - start), nameOf(game), highest});
}

bool Expander::writeFile() { return writeFile({}); }

bool Expander::writeFile(const std::function<std::string()>& nextName) {
  const int n = labelled();
  if (n == 0) return false;
  if (writeCombinations(n, nextName)) return true;
  if (reason_.empty()) reason_ = Phrase(wordings::kReasonExpansionUnwritten, {fileName});
  return false;
}

bool Expander::expanding(std::string& text) {
  const int n = labelled();
  return n > 0 && combinations(n, text);
}

bool Expander::expanding(const std::function<void(uint64_t)>& each) {
  const int n = labelled();
  const int k = game.size;
  if (n == 0 || k < 1 || n < k) return false;
  // `labelled` has cut and checked the n tokens: distinct numbers of the game.
  std::vector<uint64_t> bit(n + 1);
  for (int i = 1; i <= n; ++i)
    bit[i] = uint64_t{1} << ((token[i][0] - '0') * 10 + (token[i][1] - '0'));
  // As `combinations`: positions ascending, the last one moving fastest.
  std::vector<int> at(k);
  for (int i = 0; i < k; ++i) at[i] = i + 1;
  while (true) {
    uint64_t mask = 0;
    for (int i = 0; i < k; ++i) mask |= bit[at[i]];
    each(mask);
    int i = k - 1;
    while (i >= 0 && at[i] == n - k + 1 + i) --i;
    if (i < 0) return true;
    ++at[i];
    for (int j = i + 1; j < k; ++j) at[j] = at[j - 1] + 1;
  }
}

bool Expander::wrongBall(const std::string& s) {
  noBall();
  // Equal to one of "01 " ... the highest ball: two digits, a blank, 1 to highestBall.
  if (s.size() == static_cast<std::size_t>(tokenWidth) && isDigit(s[0]) && isDigit(s[1]) &&
      s[2] == ' ') {
    const int number = (s[0] - '0') * 10 + (s[1] - '0');
    if (number >= 1 && number <= game.highestBall) {
      outcome_ = game.expanderMessages.passed;
      return false;
    }
  }
  return true;
}

bool Expander::writeCombinations(int n, const std::function<std::string()>& nextName) {
  std::string text;
  if (!combinations(n, text)) return false;
  // A name something already has is never written over: the next name is
  // tried, when there is one to ask for.
  while (true) {
    switch (disk.creatingFile(fileName, text)) {
      case Disk::Creation::kNew:
        return true;
      case Disk::Creation::kTaken:
        if (!nextName) return false;
        fileName = nextName();
        break;
      case Disk::Creation::kFailed:
        return false;
    }
  }
}

bool Expander::combinations(int n, std::string& text) {
  const int k = game.size;
  if (k < 1 || n < k) return false;
  if (!cutTokens(n)) {
    noBall();
    return false;
  }
  // The tokens side by side, and the text grown once to its final size:
  // C(n, k) lines of k tokens and a line end, each written in place.
  std::string tokens;
  for (int i = 1; i <= n; ++i) tokens += token[i];
  std::size_t lines = 1;
  for (int i = 1; i <= k; ++i) lines = lines * (n - k + i) / i;
  const std::size_t lineWidth = static_cast<std::size_t>(k) * tokenWidth + 1;
  std::size_t end = text.size();
  text.resize(end + lines * lineWidth);
  char* out = text.data() + end;
  // Positions of the current combination, 0-based, ascending; the last
  // combination is (n-k, ..., n-1). Each line is the one before, with the
  // tokens from the first position that moved on written anew.
  std::vector<int> at(k);
  for (int i = 0; i < k; ++i) at[i] = i;
  std::memcpy(out, tokens.data(), static_cast<std::size_t>(k) * tokenWidth);
  out[k * tokenWidth] = kLineEnd;
  while (true) {
    int i = k - 1;
    while (i >= 0 && at[i] == n - k + i) --i;
    if (i < 0) return true;
    ++at[i];
    for (int j = i + 1; j < k; ++j) at[j] = at[j - 1] + 1;
    char* next = out + lineWidth;
    std::memcpy(next, out, lineWidth);
    // The positions from i on are consecutive: one run of tokens.
    std::memcpy(next + i * tokenWidth, tokens.data() + at[i] * tokenWidth,
                static_cast<std::size_t>(k - i) * tokenWidth);
    out = next;
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
