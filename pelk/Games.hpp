#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "Messages.hpp"

/// A label of a posted combination line, such as " 8to6" or "10to6": the
/// last five bytes of the line, and the count N of its numbers it expands.
struct Label {
  std::string_view text;
  int n;

  /// The label as it is searched for in a line: without its leading blank.
  constexpr std::string_view word() const { return text.substr(text[0] == ' ' ? 1 : 0); }
};

/// A prize tier of a game: a pick wins it with exactly `main` of the main
/// numbers and at least `bonus` of the bonus numbers of the draw.
struct PrizeTier {
  std::string_view name;
  int main;
  int bonus;
};

/// The tiers of each game, the highest first.
inline constexpr PrizeTier kMinilotoTiers[] = {
    {"1st", 5, 0}, {"2nd", 4, 1}, {"3rd", 4, 0}, {"4th", 3, 0}};
inline constexpr PrizeTier kLoto6Tiers[] = {
    {"1st", 6, 0}, {"2nd", 5, 1}, {"3rd", 5, 0}, {"4th", 4, 0}, {"5th", 3, 0}};
inline constexpr PrizeTier kLoto7Tiers[] = {{"1st", 7, 0}, {"2nd", 6, 1}, {"3rd", 6, 0},
                                            {"4th", 5, 0}, {"5th", 4, 0}, {"6th", 3, 1}};

/// One of the three games, everything the passes know of it.
struct Game {
  /// The game's name, as the hints write it ("Loto-6").
  std::string_view name;
  /// A Line-1 that holds a draw of the game, as the hints and the guides show it.
  std::string_view line1Example;
  /// Numbers in one combination (K); also the code `checkLine1` gives the game.
  int size;
  /// The largest valid number: 1 to this are balls.
  int highestBall;
  /// The length of a Line-1 that holds the draw alone (main and bonus
  /// numbers); a longer one holds "-" at this offset.
  std::size_t line1Length;
  /// The labels whose combinations have this size, in the order they are
  /// compared; the N of the first is the count of tokens the expander validates.
  Label labels[4];
  /// The expander's messages: a validated token is no ball, or the last
  /// validated token was a ball.
  messages::ExpanderMessages expanderMessages;
  /// The prize tiers of -p, the highest first.
  std::span<const PrizeTier> tiers;
};

/// Miniloto, Loto-6 and Loto-7, in the order Line-1 is classified and the
/// labels are searched.
inline constexpr Game kGames[] = {
    {"Miniloto",
     "03 11 17 24 30 08 -",
     5,
     31,
     18,
     {{" 6to5", 6}, {" 7to5", 7}, {" 8to5", 8}, {" 9to5", 9}},
     messages::kMiniloto,
     kMinilotoTiers},
    {"Loto-6",
     "05 12 19 27 33 41 08 -",
     6,
     43,
     21,
     {{" 7to6", 7}, {" 8to6", 8}, {" 9to6", 9}, {"10to6", 10}},
     messages::kLoto6,
     kLoto6Tiers},
    {"Loto-7",
     "02 09 14 20 26 31 35 06 17 -",
     7,
     37,
     27,
     {{" 8to7", 8}, {" 9to7", 9}, {"10to7", 10}, {"11to7", 11}},
     messages::kLoto7,
     kLoto7Tiers},
};

/// The largest number of any game: the per-number arrays have room for 0 to this.
inline constexpr int kHighestBallOfAll = 43;

/// The game whose code (combination size) is `code`, or nullptr.
constexpr const Game* gameOfCode(int code) {
  for (const Game& game : kGames)
    if (game.size == code) return &game;
  return nullptr;
}

/// The game one of whose labels is `word` ("8to6"), or nullptr.
constexpr const Game* gameOfLabel(std::string_view word) {
  for (const Game& game : kGames)
    for (const Label& label : game.labels)
      if (label.word() == word) return &game;
  return nullptr;
}

/// Classifies Line-1, which holds the draw: its numbers as two-digit tokens
/// separated by single blanks, then one more byte or " -" and anything.
/// Returns the code of its game (5, 6 or 7), 4 when it has fewer than six
/// blanks, 3 when it holds no draw of a game.
constexpr int checkLine1(std::string_view line) {
  std::size_t at = 0;
  for (int i = 0; i < 6; ++i) {
    const std::size_t blank = line.find(' ', at);
    if (blank == std::string_view::npos) return 4;
    at = blank + 1;
  }
  // Offsets beyond the end of Line-1 are not "-".
  for (const Game& game : kGames) {
    const std::size_t end = game.line1Length;
    if (line.size() == end || (end < line.size() && line[end] == '-')) return game.size;
  }
  return 3;
}
