#pragma once

#include <array>
#include <cstdint>
#include <ostream>

namespace tivor {

/// Writes numbers 0 to 99 as two-digit tokens, twenty to a line, in the
/// text form ("07 ") or the CSV form ("07,"), and counts the bytes written.
class NumberWriter {
 public:
  /// Tokens per line.
  static constexpr int kPerLine = 20;

  NumberWriter(std::ostream& out, bool csv);
  /// Hands on what is still buffered.
  ~NumberWriter();
  NumberWriter(const NumberWriter&) = delete;
  NumberWriter& operator=(const NumberWriter&) = delete;

  /// Writes one number, 0 to 99, and ends the line after the twentieth. The
  /// tokens reach the stream in blocks: see `flushing`.
  void writing(int n);
  /// Ends the output: one more line end in the text form; in the CSV form
  /// the last row padded to twenty separators (a whole row of them when the
  /// last row was already full), then a line end.
  void ending();

  /// Bytes written so far, a line end counting two (it is CR LF on Windows).
  std::int64_t bytes() const { return bytes_; }
  /// False once a write to the stream has failed.
  bool good() const { return out_.good(); }
  /// Hands the buffered tokens to the stream (`ending` does so too).
  void flushing();

 private:
  static constexpr std::array<std::array<char, 3>, 100> numberText = [] {
    std::array<std::array<char, 3>, 100> table{};
    for (int i = 0; i < 100; ++i)
      table[i] = {static_cast<char>('0' + i / 10), static_cast<char>('0' + i % 10), '\0'};
    return table;
  }();

  std::ostream& out_;
  /// The tokens are gathered here and handed to the stream in large blocks:
  /// one stream call per token would cost more than drawing the number.
  std::array<char, 1 << 16> buffer_;
  size_t used_ = 0;
  char separator_;
  int lineCount_ = 0;
  std::int64_t bytes_ = 0;
};

}  // namespace tivor
