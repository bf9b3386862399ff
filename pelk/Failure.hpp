#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "Wording.hpp"

/// Why a run failed, made where the failure happens and handed up unchanged
/// to the driver, which alone renders it: the numbered line, byte for byte as
/// scripts and stored logs know it, then the hint lines that the number
/// selects (Hints.hpp), filled from the fields below. Nothing reads a field
/// back out of `text`.
struct Failure {
  /// The number of the message (e1 to the last, Messages.hpp); 0: no failure.
  int number = 0;
  /// The numbered line as it is printed, such as "e41: ADD THE DRAW TO
  /// LINE-1 OF WHO.TXT".
  std::string text;
  /// The file the failure is about, as the run named it; empty for none.
  std::string file;
  /// The line of that file at fault: its number (Line-1 is 1; 0 for none)
  /// and its bytes as the pass read them (CP932, whatever the file's
  /// encoding: the driver writes them back in it).
  long lineNumber = 0;
  std::string line;
  /// What is wrong with that line (or, without one, with the file) in plain
  /// words, such as "99 is no Loto-6 number (01-43)" or "saved as UTF-32",
  /// worded in the reader's language by the hint; empty when the hint of
  /// the number says enough.
  Phrase reason;

  /// True when something failed.
  explicit operator bool() const { return number != 0; }
  /// The failure `number` with its numbered line `text`, about `file`.
  static Failure of(int number, std::string text, std::string_view file = {}) {
    Failure failure;
    failure.number = number;
    failure.text = std::move(text);
    failure.file = std::string(file);
    return failure;
  }
  /// The same failure, about line `number` of its file, whose bytes are
  /// `bytes`, with what is wrong with it.
  Failure& at(long number, std::string_view bytes, Phrase why = {}) {
    lineNumber = number;
    line = std::string(bytes);
    reason = std::move(why);
    return *this;
  }
};
