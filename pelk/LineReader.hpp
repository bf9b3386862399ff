#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "Disk.hpp"

/// Reads the bytes of a text file line by line. A line ends at LF; one CR
/// directly before the LF is dropped; a last line without LF still counts,
/// and the end of the text after a final LF adds no empty line. Lines are
/// returned whole, whatever their length.
///
/// The text is either held whole by the caller, or read from a file a
/// block at a time as the lines are asked for (`reading`), so that a long
/// thread never has to be in memory at once.
class LineReader {
 public:
  /// A reader with no lines until `reading` gives it a file.
  LineReader() = default;
  explicit LineReader(std::string_view text) : text_(text) {}

  /// Takes its lines from `source`, read as they are needed.
  void reading(std::unique_ptr<Disk::Reader> source);

  /// Copies the next line into `line`; false at the end of the text.
  bool next(std::string& line);

  /// The same without a copy. The view stays valid as long as the text
  /// given to the constructor; for a file being read, until the next call.
  bool next(std::string_view& line);

  /// Reads the next line when it is empty; a line that is not stays for
  /// `next`. True when an empty line was read.
  bool skippingEmptyLine();

  /// True when reading the file failed before its end: the lines read
  /// before the failure were returned, the rest is missing.
  bool failed() const { return failed_; }

 private:
  /// Adds the next block of the file to `buffer_`; false at its end.
  bool refilling();

  std::string_view text_;
  size_t at_ = 0;
  /// The file being read, until its end; its unread lines are in `buffer_`.
  std::unique_ptr<Disk::Reader> source_;
  std::string buffer_;
  /// The size of the next block to read.
  size_t blockSize_ = 0;
  /// Where the search for the next line end goes on after a refill.
  size_t searched_ = 0;
  bool failed_ = false;
};

/// Longest line the passes accept as Line-1 (a 384-byte line buffer).
constexpr size_t kMaxLine1Length = 383;
