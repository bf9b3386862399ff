#pragma once

// Which language the user reads, and in which encoding the terminal shows
// text, from the environment: on POSIX systems the locale variables; on
// Windows the user's UI language (the console is written in UTF-16, see
// Console.hpp, so no code page is looked for).

#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>

#include "Wording.hpp"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

/// The value of an environment variable, empty when unset.
using EnvironmentLookup = std::function<std::string(const char* name)>;

/// The process's own environment.
inline std::string processEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

/// The language named by the locale variables read through `lookup`: the
/// first of LANGUAGE, LC_ALL, LC_MESSAGES and LANG that is set and not
/// empty, Japanese when it begins with "ja".
inline Language localeLanguage(const EnvironmentLookup& lookup) {
  for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
    const std::string value = lookup(name);
    if (value.empty()) continue;
    return value.compare(0, 2, "ja") == 0 ? Language::kJapanese : Language::kEnglish;
  }
  return Language::kEnglish;
}

/// The encoding in which the terminal shows text.
enum class TerminalEncoding {
  kUnknown,   ///< not named, or one pelk does not write
  kUtf8,      ///< UTF-8
  kShiftJis,  ///< Shift-JIS (CP932)
};

/// The encoding named by the codeset of a locale name, the part after "."
/// and before "@" ("ja_JP.UTF-8", "ja_JP.SJIS@euro"), any case.
inline TerminalEncoding codesetEncoding(std::string_view locale) {
  const std::size_t dot = locale.find('.');
  if (dot == std::string_view::npos) return TerminalEncoding::kUnknown;
  std::string codeset(locale.substr(dot + 1, locale.find('@', dot) - dot - 1));
  for (char& c : codeset)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (codeset == "utf-8" || codeset == "utf8") return TerminalEncoding::kUtf8;
  for (const char* name : {"sjis", "shift_jis", "shiftjis", "cp932", "pck", "windows-31j"})
    if (codeset == name) return TerminalEncoding::kShiftJis;
  return TerminalEncoding::kUnknown;
}

/// The terminal's encoding by the locale variables read through `lookup`:
/// the codeset of the first of LC_ALL, LC_CTYPE and LANG that is set and
/// not empty.
inline TerminalEncoding localeEncoding(const EnvironmentLookup& lookup) {
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const std::string value = lookup(name);
    if (!value.empty()) return codesetEncoding(value);
  }
  return TerminalEncoding::kUnknown;
}

/// The language of the user who started the program.
inline Language userLanguage() {
#ifdef _WIN32
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? Language::kJapanese
                                                                    : Language::kEnglish;
#else
  return localeLanguage(processEnvironment);
#endif
}

/// The encoding of the terminal, for what is written to a stream that is
/// no Windows console. On Windows, a Japanese user's files and pipes take
/// CP932, the code page of Japanese Windows; an English user's are left as
/// they were (kUnknown).
inline TerminalEncoding terminalEncoding(Language language) {
#ifdef _WIN32
  return language == Language::kJapanese ? TerminalEncoding::kShiftJis : TerminalEncoding::kUnknown;
#else
  (void)language;
  return localeEncoding(processEnvironment);
#endif
}
