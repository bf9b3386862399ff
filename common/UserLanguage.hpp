#pragma once

// Which language the user reads, from the environment: on POSIX systems the
// first of LANGUAGE, LC_ALL, LC_MESSAGES and LANG that is set and not empty,
// Japanese when it begins with "ja"; on Windows the user's UI language.

#include <cstdlib>
#include <functional>
#include <string>

#include "Wording.hpp"

/// The value of an environment variable, empty when unset.
using EnvironmentLookup = std::function<std::string(const char* name)>;

/// The process's own environment.
inline std::string processEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

/// The language named by the locale variables read through `lookup`.
inline Language localeLanguage(const EnvironmentLookup& lookup) {
  for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
    const std::string value = lookup(name);
    if (value.empty()) continue;
    return value.compare(0, 2, "ja") == 0 ? Language::kJapanese : Language::kEnglish;
  }
  return Language::kEnglish;
}
