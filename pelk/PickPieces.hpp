#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

/// A body line read for picks as a person reads it: full-width digits and
/// blanks count as their half-width forms ("０５　１２" as "05 12"), and
/// the line falls into pieces at every separator: "/", "／" and the ones
/// given. Separators are matched on the line as posted, at the start of a
/// character only, so that the trail byte of a double-byte character (the
/// "|" of "ポ") never cuts it.
///
/// Most lines of a thread hold neither: `mayDiffer` tells them by one look
/// at each byte, and they can be read as they stand.
class PickPieces {
 public:
  explicit PickPieces(const std::vector<std::string>& separators);

  /// False when `line` reads as it stands: no byte of it leads a full-width
  /// digit or blank, or begins a separator.
  bool mayDiffer(std::string_view line) const {
    for (char c : line)
      if (looked[static_cast<unsigned char>(c)]) return true;
    return false;
  }
  /// Reads `line` into `text` and `pieces`, which stay valid until the
  /// next reading.
  void reading(std::string_view line);
  /// The line with its full-width digits and blanks made half-width, its
  /// separators kept.
  std::string_view text() const { return text_; }
  /// The pieces of `text` between separators, in their order; empty pieces
  /// left out. A line without separators is one piece.
  std::span<const std::string_view> pieces() const { return pieces_; }

 private:
  /// The length of the separator that starts at `at` of `line`, or 0.
  std::size_t separatorAt(std::string_view line, std::size_t at) const;

  std::vector<std::string> separators;
  /// The first bytes of the separators.
  bool starts[256] = {};
  /// The bytes `mayDiffer` looks for: the first bytes of the separators and
  /// the lead bytes of the full-width digits and blank.
  bool looked[256] = {};
  /// The bytes `reading` stops at: the first bytes of the separators and
  /// the lead bytes of every double-byte character.
  bool stops[256] = {};
  std::string text_;
  /// Where each piece begins and ends in `text_`, as offsets: the text may
  /// move while it grows.
  std::vector<std::size_t> bounds;
  std::vector<std::string_view> pieces_;
};
