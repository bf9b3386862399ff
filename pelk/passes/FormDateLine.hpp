#pragma once

#include <deque>
#include <string>

#include "Alterable.hpp"

/// Unites a post header broken over three lines, the last of which holds the
/// poster's " ID:", into one header in the colon layout ("-3"). The last three
/// lines read wait in a ring; every other line is copied two lines behind the
/// reading.
class FormDateLine : public Alterable {
 public:
  FormDateLine() = default;
  bool altering(std::string& path) override;

  /// Empties the ring and fills it with `size` blanks; returns its size.
  int produceRingBuffer(int size);
  /// Replaces the three entries of the ring by blanks.
  void blankRingBuffer();

 private:
  /// The last three lines read, oldest first; an empty slot holds " ".
  std::deque<std::string> ringBuffer;
};
