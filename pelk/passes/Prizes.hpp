#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Alterable.hpp"
#include "CombinationScanner.hpp"
#include "Games.hpp"
#include "PickPieces.hpp"

/// The draw on Line-1: the game's main numbers, then its bonus numbers, as
/// two-digit tokens separated by single blanks from the start of the line.
class Draw {
 public:
  /// Reads the draw of `game` from `line1`. False when the tokens are not
  /// distinct numbers of the game.
  bool reading(const Game& game, std::string_view line1);
  /// The index in the game's `tiers` of the tier a pick of the game wins (its
  /// numbers as bits, bit j for number j), or -1 when it wins none.
  int tier(uint64_t pick) const;

  /// How many bonus numbers a draw of `game` has: Line-1 holds main and
  /// bonus numbers, three bytes each.
  static int bonusCount(const Game& game);

 private:
  const Game* game_ = nullptr;
  uint64_t main_ = 0;
  uint64_t bonus_ = 0;
};

/// Checks every pick of the thread against the draw on Line-1 ("-p"). The
/// picks are the body lines that are one combination of the game, and each
/// combination of a labelled line of the game, expanded in memory. Lines
/// are read as a person reads them (`PickPieces`): full-width digits and
/// blanks as half-width ones, and a line cut by separators ("/", "／" and
/// those of the companion file, by default "separate.txt") as one pick per
/// piece. The output lists each post that holds a winning pick (its
/// header, then each such pick in normal form with its tier), then how
/// many picks won each tier.
class Prizes : public Alterable {
 public:
  bool altering(std::string& threadName) override;

 private:
  /// Checks one body line. Unless it is labelled, a line of several pieces
  /// is checked piece by piece when one of them is a pick; otherwise the
  /// whole line is checked (`checkingWhole`) with its full-width digits and
  /// blanks made half-width.
  bool checkingLine(const ThreadFile& thread, std::string_view line);
  /// Checks `line`, the text read from the body line `posted`: a labelled
  /// line of the game is expanded and each of its combinations checked, a
  /// labelled line of another game is passed over, any other line is
  /// checked when it is one combination. False when a labelled line of the
  /// game cannot be expanded (the failure quotes `posted`).
  bool checkingWhole(const ThreadFile& thread, std::string_view posted, std::string_view line);
  /// Checks each piece of the line read last that is one combination; false
  /// when none is.
  bool checkingPieces();
  /// Whether `line` carries a label of some game (`foundItem` then names it).
  bool labelled(std::string_view line);
  /// Writes a winning pick under the header of its post.
  void winning(uint64_t pick, int tier);
  /// Ends the post being read: an empty line after its winning picks.
  void endingPost();

  const Game* game = nullptr;
  Draw draw;
  /// Tells the body lines that are one combination of the game.
  std::unique_ptr<CombinationScanner> scanner;
  /// Reads a line that may hold full-width digits or separators.
  std::unique_ptr<PickPieces> reader;
  /// The header of the post being read; empty before the first.
  std::string header;
  /// A winning pick of the post being read has been written.
  bool won = false;
  /// Winning picks per tier.
  std::vector<long long> counts;
};
