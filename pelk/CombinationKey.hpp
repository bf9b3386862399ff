#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

/// A combination of up to seven distinct numbers 1 to 63 in 64 bits: the
/// numbers in ascending order, six bits each, the smallest in the highest
/// bits and free places zero. Keys compare as the normal-form texts of their
/// combinations do in byte order ("01 02" before "01 02 03" before "01 03"),
/// so that a sorted list of keys reads as the sorted list of texts, at an
/// eighth of the room of a text and without an allocation each.
///
/// The normal form is the text a pass writes: the numbers ascending, each as
/// two digits, separated by one blank ("02 07 19 28 33 43").
class CombinationKey {
 public:
  static constexpr int kMaxNumbers = 7;
  static constexpr int kHighestNumber = 63;

  /// The empty combination.
  constexpr CombinationKey() = default;

  /// The combination of the numbers whose bits are set in `mask` (bit j for
  /// number j). False when bit 0 is set or more than seven bits are.
  static bool fromMask(uint64_t mask, CombinationKey& key);
  /// The combination written in normal form by `text`. False when `text` is
  /// not a normal form: two digits a number, single blanks between, numbers
  /// 1 to 63 strictly ascending, one to seven of them (the empty text is no
  /// combination).
  static bool fromText(std::string_view text, CombinationKey& key);
  /// How many numbers the combination holds.
  int count() const;
  /// Number `i` (0 counts from the smallest) of the combination; 0 past its end.
  constexpr int number(int i) const {
    return static_cast<int>(bits >> (6 * (kMaxNumbers - 1 - i)) & 63);
  }
  /// Bit j set for each number j.
  uint64_t mask() const;
  /// The normal form.
  std::string text() const;
  /// Appends the normal form to `out`.
  void appendText(std::string& out) const;

  friend constexpr auto operator<=>(CombinationKey, CombinationKey) = default;

 private:
  constexpr explicit CombinationKey(uint64_t value) : bits(value) {}

  uint64_t bits = 0;
};
