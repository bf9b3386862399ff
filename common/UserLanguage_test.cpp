#include "UserLanguage.hpp"

#include <gtest/gtest.h>

#include <map>

namespace {

EnvironmentLookup environment(std::map<std::string, std::string> values) {
  return [values](const char* name) -> std::string {
    const auto found = values.find(name);
    return found == values.end() ? "" : found->second;
  };
}

}  // namespace

TEST(UserLanguage, TheCodesetNamesTheTerminalsEncoding) {
  const struct {
    const char* locale;
    TerminalEncoding expected;
  } rows[] = {
      {"ja_JP.UTF-8", TerminalEncoding::kUtf8},
      {"en_US.utf8", TerminalEncoding::kUtf8},
      {"C.UTF-8", TerminalEncoding::kUtf8},
      {"ja_JP.Utf-8@cjknarrow", TerminalEncoding::kUtf8},
      {"ja_JP.SJIS", TerminalEncoding::kShiftJis},
      {"ja_JP.sjis", TerminalEncoding::kShiftJis},
      {"ja_JP.Shift_JIS", TerminalEncoding::kShiftJis},
      {"ja_JP.ShiftJIS", TerminalEncoding::kShiftJis},
      {"ja_JP.CP932", TerminalEncoding::kShiftJis},
      {"ja_JP.PCK", TerminalEncoding::kShiftJis},
      {"ja_JP.windows-31j", TerminalEncoding::kShiftJis},
      {"ja_JP.eucJP", TerminalEncoding::kUnknown},
      {"ja_JP", TerminalEncoding::kUnknown},
      {"C", TerminalEncoding::kUnknown},
      {"POSIX", TerminalEncoding::kUnknown},
      {"ja_JP.UTF-16", TerminalEncoding::kUnknown},
      {"ja_JP@UTF-8", TerminalEncoding::kUnknown},
      {"", TerminalEncoding::kUnknown},
  };
  for (const auto& row : rows) EXPECT_EQ(codesetEncoding(row.locale), row.expected) << row.locale;
}

TEST(UserLanguage, TheFirstSetOfLcAllLcCtypeAndLangNamesTheCodeset) {
  const struct {
    std::map<std::string, std::string> values;
    TerminalEncoding expected;
  } rows[] = {
      {{}, TerminalEncoding::kUnknown},
      {{{"LANG", "ja_JP.SJIS"}}, TerminalEncoding::kShiftJis},
      {{{"LANG", "ja_JP.SJIS"}, {"LC_CTYPE", "ja_JP.UTF-8"}}, TerminalEncoding::kUtf8},
      {{{"LC_ALL", "C"}, {"LC_CTYPE", "ja_JP.UTF-8"}}, TerminalEncoding::kUnknown},
      {{{"LC_ALL", ""}, {"LANG", "ja_JP.UTF-8"}}, TerminalEncoding::kUtf8},
      // The language variables name no codeset of the terminal.
      {{{"LANGUAGE", "ja_JP.UTF-8"}, {"LC_MESSAGES", "ja_JP.SJIS"}}, TerminalEncoding::kUnknown},
  };
  for (const auto& row : rows) {
    std::string shown;
    for (const auto& [name, value] : row.values) shown += name + "=" + value + " ";
    EXPECT_EQ(localeEncoding(environment(row.values)), row.expected) << shown;
  }
}
