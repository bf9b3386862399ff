#pragma once

// The one way out for the lines a user reads: the numbered message, the
// hints, the notes, the first-run message on standard error, and the help of
// -h on standard output. Every line is handed over finished, in CP932 (as
// the passes and the hints make text), and written here with its line end:
//
//  - the numbered line byte for byte as ever, in every language: the text of
//    the message in the thread's encoding (scripts and stored logs know it);
//  - on a Windows console, every other line in UTF-16, so that it reads
//    right whatever the console's code page;
//  - else, for a Japanese user, in the terminal's encoding: UTF-8 (also when
//    the locale names none), or Shift-JIS as it is;
//  - for an English user, in the terminal's encoding when the locale names
//    one, so that a quoted line of a Shift-JIS thread reads right on a UTF-8
//    terminal; else in the thread's encoding, as the output is written.
//
// Characters of a UTF-8 thread that CP932 lacks come back through the run's
// user area. File names the user gave stay in the bytes given (the
// terminal's encoding) inside a line converted to UTF-8.

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "Console.hpp"
#include "Conversions.hpp"
#include "TextEncoding.hpp"
#include "UserLanguage.hpp"
#include "Utf8Forms.hpp"

/// The lines a user reads on one standard stream.
class UserOutput {
 public:
  /// Lines for a user who reads `language` on a terminal of `terminal`,
  /// written to `stream`, or to `console` when it is given (then `stream`
  /// is flushed before and marked bad when the console fails).
  UserOutput(std::ostream& stream, Console* console, Language language, TerminalEncoding terminal);

  Language language() const { return language_; }

  /// The run's encodings, once it has them: the thread's encoding, and the
  /// characters its user area stands for. nullptr: none (CP932 throughout).
  void reading(const RunEncoding* encoding) { encoding_ = encoding; }
  /// Names (of files, as the user gave them) that a line converted to UTF-8
  /// keeps in the bytes given.
  void keepingNames(std::vector<std::string> names);

  /// A numbered message: the same bytes in every language.
  void numbered(std::string_view text);
  /// A line of our own (a hint, a note, a line of the help), CP932.
  void line(std::string_view cp932);

  /// The bytes `line` writes to a stream that is no console.
  std::string bytes(std::string_view cp932) const;

 private:
  /// The CP932 `text` in UTF-8, the run's user area brought back.
  std::string utf8(std::string_view text) const;
  /// As `utf8`, the names kept as given.
  std::string utf8KeepingNames(std::string_view text) const;

  std::ostream& stream_;
  Console* console_;
  Language language_;
  TerminalEncoding terminal_;
  const RunEncoding* encoding_ = nullptr;
  std::vector<std::string> names_;
  UserArea noArea_;
};
