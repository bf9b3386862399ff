#pragma once

// Texts in their two forms, Shift-JIS (CP932) and UTF-8, for the tests that
// run a UTF-8 thread beside its Shift-JIS twin.

#include <string>

/// A text in its two forms.
struct Twin {
  std::string sjis, utf8;
};

inline Twin operator+(const Twin& a, const Twin& b) { return {a.sjis + b.sjis, a.utf8 + b.utf8}; }
inline Twin operator+(const Twin& a, const std::string& ascii) { return a + Twin{ascii, ascii}; }
inline Twin operator+(const std::string& ascii, const Twin& b) { return Twin{ascii, ascii} + b; }

namespace twins {

inline const Twin kColon{"\x81\x46", "\xEF\xBC\x9A"};  // full-width colon
inline const Twin kNurupo{"\x82\xCA\x82\xE9\x82\xDB", "\xE3\x81\xAC\xE3\x82\x8B\xE3\x81\xBD"};
inline const Twin kWideDigits{"\x82\x50\x82\x51", "\xEF\xBC\x91\xEF\xBC\x92"};
inline const Twin kYamada{"\x8E\x52\x93\x63", "\xE5\xB1\xB1\xE7\x94\xB0"};

}  // namespace twins
