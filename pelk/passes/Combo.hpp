#pragma once

#include <string>

#include "Alterable.hpp"

/// Copies the thread and replaces every posted combination line (numbers
/// followed by a label such as "8to6" or "11to7") by all the combinations it
/// stands for. Each line goes to the expander of its label's game, which
/// writes the combinations to a "cmb" temporary file; the file is read back
/// into the post where the line stood.
class Combo : public Alterable {
 public:
  Combo();
  bool altering(std::string& threadName) override;

  /// Puts the twelve labels of the games into `items`, in the order they
  /// are searched: a line carrying two labels goes to the expander of the
  /// first of them.
  void produceArrays();
  /// The numbers part of a combination line: from its first ASCII digit to
  /// its end, trailing blanks removed.
  std::string firstNumberTrimmed(const std::string& line);
  /// Appends every line of the file `name` to the group. False with "e5" when
  /// it cannot be read.
  bool acquireFromFile(const std::string& name);

 private:
  /// Expands the combination line whose label is `foundItem`, the line of
  /// `thread` read last, into the group.
  bool expanding(const ThreadFile& thread, const std::string& line);

  /// Every expansion file is named with a fresh serial number.
  static constexpr bool advanceSerial = true;
  /// Stem of the expansion files' names.
  std::string expansionStem;
};
