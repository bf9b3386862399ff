#pragma once

// The texts of our own that a user reads (pelk's hints and first-run note,
// tivor's failures, the help of -h of both), each in English and in
// Japanese, all in one table: Wordings.def. The numbered messages and the
// texts of -V and -VC are not among them: they stay as they are in every
// language.

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

namespace wording_detail {
/// `pattern` with each "{N}" replaced by `fill(N - 1)` while N - 1 <
/// `count`; a "{N}" without its fill stays as it is.
template <typename Fill>
std::string filling(std::string_view pattern, std::size_t count, const Fill& fill) {
  std::string out;
  out.reserve(pattern.size());
  for (std::size_t at = 0; at < pattern.size(); ++at) {
    if (pattern[at] == '{' && at + 2 < pattern.size() && pattern[at + 1] >= '1' &&
        pattern[at + 1] <= '9' && pattern[at + 2] == '}') {
      const std::size_t n = static_cast<std::size_t>(pattern[at + 1] - '1');
      if (n < count) {
        out += fill(n);
        at += 2;
        continue;
      }
    }
    out += pattern[at];
  }
  return out;
}
}  // namespace wording_detail

/// `pattern` with each "{N}" replaced by the Nth of `fills` (from 1); a
/// "{N}" without its fill stays as it is.
inline std::string filled(std::string_view pattern,
                          std::initializer_list<std::string_view> fills = {}) {
  return wording_detail::filling(pattern, fills.size(),
                                 [&](std::size_t n) { return *(fills.begin() + n); });
}

/// `pattern` with each "{N}" replaced by the Nth of `fills` (from 1).
inline std::string filled(std::string_view pattern, std::span<const std::string> fills) {
  return wording_detail::filling(pattern, fills.size(),
                                 [&](std::size_t n) -> const std::string& { return fills[n]; });
}

/// `wording` in `language` with its fills made.
inline std::string worded(const Wording& wording, Language language,
                          std::initializer_list<std::string_view> fills = {}) {
  return filled(wording.in(language), fills);
}

/// A text made where something happens and worded only where it is shown,
/// in the reader's language: a wording and its fills, each fill a phrase in
/// turn (a file name, a number, or a wording such as a game's name). Made
/// from a plain text, it is that text in every language: what the system
/// says (an error of the file system), or bytes of the user's own.
struct Phrase {
  /// The wording; nullptr for a plain text.
  const Wording* wording = nullptr;
  /// The plain text, when there is no wording.
  std::string text;
  std::vector<Phrase> fills;

  Phrase() = default;
  Phrase(std::string plain) : text(std::move(plain)) {}
  Phrase(std::string_view plain) : text(plain) {}
  Phrase(const char* plain) : text(plain) {}
  Phrase(const Wording& wording, std::vector<Phrase> fills = {})
      : wording(&wording), fills(std::move(fills)) {}

  /// True for the phrase that says nothing.
  bool empty() const { return !wording && text.empty(); }

  /// The phrase in `language`. `form` turns the text of each wording into
  /// the form the fills are in (the encoding of the lines shown), before
  /// they are filled in; plain texts are taken as they are.
  template <typename Form>
  std::string in(Language language, const Form& form) const {
    if (!wording) return text;
    std::vector<std::string> made;
    made.reserve(fills.size());
    for (const Phrase& fill : fills) made.push_back(fill.in(language, form));
    return filled(form(wording->in(language)), made);
  }
  /// The phrase in `language`, UTF-8.
  std::string in(Language language) const {
    return in(language, [](std::string_view text) { return std::string(text); });
  }
};
