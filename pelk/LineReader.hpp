#pragma once

#include <string>
#include <string_view>

/// Reads the bytes of a text file line by line. A line ends at LF; one CR
/// directly before the LF is dropped; a last line without LF still counts,
/// and the end of the text after a final LF adds no empty line. Lines are
/// returned whole, whatever their length.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}

  /// Copies the next line into `line`; false at the end of the text.
  bool next(std::string& line);

  /// The same without a copy: the view stays valid as long as the text.
  bool next(std::string_view& line);

 private:
  std::string_view text_;
  size_t at_ = 0;
};

/// Longest line the passes accept as Line-1 (a 384-byte line buffer).
constexpr size_t kMaxLine1Length = 383;
