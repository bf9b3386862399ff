#pragma once

// The Windows console as a seam: what both programs write there goes in
// UTF-16, so that it reads right whatever the console's code page. A stream
// redirected to a file or a pipe, and every POSIX terminal, takes bytes.

#include <memory>
#include <string_view>

/// A console to write to in UTF-16.
class Console {
 public:
  virtual ~Console() = default;
  /// Writes `text`; false when it could not.
  virtual bool writing(std::u16string_view text) = 0;
};

/// The standard stream a console may stand behind.
enum class StandardStream { kOutput, kError };

/// The console that `stream` writes to, or nullptr when it goes elsewhere (a
/// file, a pipe) or the system has no such console (POSIX terminals take
/// bytes).
std::unique_ptr<Console> consoleBehind(StandardStream stream);
