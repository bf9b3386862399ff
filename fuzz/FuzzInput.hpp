#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

/// Splits the bytes of one fuzz input into the pieces a target needs: a few
/// leading bytes that pick modes, then texts separated by `kSeparator`, a
/// byte sequence that never occurs in a Shift-JIS text. A missing byte reads
/// 0 and a missing text reads empty, so every input means something.
class FuzzInput {
 public:
  static constexpr std::string_view kSeparator = "\xFF\xFE";

  FuzzInput(const uint8_t* data, size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

  /// The next byte, or 0 at the end.
  uint8_t byte() {
    if (rest_.empty()) return 0;
    const uint8_t b = static_cast<uint8_t>(rest_[0]);
    rest_.remove_prefix(1);
    return b;
  }

  /// The bytes up to the next separator (which is consumed).
  std::string text() {
    const size_t at = rest_.find(kSeparator);
    std::string piece(rest_.substr(0, at));
    rest_.remove_prefix(at == std::string_view::npos ? rest_.size() : at + kSeparator.size());
    return piece;
  }

  /// Everything left, separators included.
  std::string all() {
    std::string piece(rest_);
    rest_ = {};
    return piece;
  }

 private:
  std::string_view rest_;
};

/// Stops the run with a message when a property of the code under test does
/// not hold; the fuzzer reports it as a crash with this input.
#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)
