#pragma once

// The texts of this program's own that a user reads (hints, the first-run
// note, the help of -h), each in English and in Japanese, all in one table:
// Wordings.def. The numbered messages and the texts of -V and -VC are not
// among them: they stay as they are in every language.

#include <initializer_list>
#include <string>
#include <string_view>

/// The language the user reads.
enum class Language { kEnglish, kJapanese };

/// One text in both languages, UTF-8. "{1}", "{2}" ... stand for what the
/// code fills in (a file name, a count, a line), in the order of the fills.
struct Wording {
  std::string_view english;
  std::string_view japanese;

  /// The text in `language`, its fills not yet made.
  constexpr std::string_view in(Language language) const {
    return language == Language::kJapanese ? japanese : english;
  }
};

namespace wordings {
#define WORDING(name, english, japanese) inline constexpr Wording name{english, japanese};
#include "Wordings.def"
#undef WORDING

/// Every wording of the table, in its order.
inline constexpr Wording kEvery[] = {
#define WORDING(name, english, japanese) name,
#include "Wordings.def"
#undef WORDING
};
}  // namespace wordings

/// `pattern` with each "{N}" replaced by the Nth of `fills` (from 1); a
/// "{N}" without its fill stays as it is.
inline std::string filled(std::string_view pattern,
                          std::initializer_list<std::string_view> fills = {}) {
  std::string out;
  out.reserve(pattern.size());
  for (std::size_t at = 0; at < pattern.size(); ++at) {
    if (pattern[at] == '{' && at + 2 < pattern.size() && pattern[at + 1] >= '1' &&
        pattern[at + 1] <= '9' && pattern[at + 2] == '}') {
      const std::size_t n = static_cast<std::size_t>(pattern[at + 1] - '1');
      if (n < fills.size()) {
        out += *(fills.begin() + n);
        at += 2;
        continue;
      }
    }
    out += pattern[at];
  }
  return out;
}

/// `wording` in `language` with its fills made.
inline std::string worded(const Wording& wording, Language language,
                          std::initializer_list<std::string_view> fills = {}) {
  return filled(wording.in(language), fills);
}
