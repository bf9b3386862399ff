#pragma once

// One standard stream as the user reads it: the numbers and the texts of -V
// and -VC go to the stream as bytes, the same in every language; the lines
// of tivor's own (the help of -h, the failures) come as UTF-8 and are
// written in the terminal's form:
//
//  - on a Windows console in UTF-16, whatever its code page;
//  - else CP932 on a terminal the locale names Shift-JIS (and a file
//    redirected on Japanese Windows), UTF-8 on any other.
//
// English texts are ASCII, so an English user reads the same bytes either
// way.

#include <ostream>
#include <string_view>

#include "Console.hpp"
#include "UserLanguage.hpp"
#include "Wording.hpp"

namespace tivor {

class UserStream {
 public:
  /// Lines for a user who reads `language` on a terminal of `terminal`,
  /// written to `stream`, or to `console` when it is given (then `stream`
  /// is flushed before and marked bad when the console fails).
  UserStream(std::ostream& stream, Console* console, Language language, TerminalEncoding terminal);

  Language language() const { return language_; }
  /// The stream itself, for bytes that stay as they are.
  std::ostream& stream() { return stream_; }

  /// Writes `utf8`, lines that each end in "\n", and flushes the stream.
  void text(std::string_view utf8);
  /// The bytes `text` writes to a stream that is no console.
  std::string bytes(std::string_view utf8) const;

 private:
  std::ostream& stream_;
  Console* console_;
  Language language_;
  TerminalEncoding terminal_;
};

}  // namespace tivor
