#include "Wording.hpp"

#include <gtest/gtest.h>

#include "UserLanguage.hpp"

TEST(Wording, EveryTextHasItsJapanese) {
  for (const Wording& wording : wordings::kEvery) {
    EXPECT_FALSE(wording.english.empty());
    EXPECT_FALSE(wording.japanese.empty()) << wording.english;
    EXPECT_NE(wording.english, wording.japanese) << wording.english;
  }
}

TEST(Wording, FillsGoWhereTheirNumbersStand) {
  EXPECT_EQ(filled("{2} then {1}", {"a", "b"}), "b then a");
  EXPECT_EQ(filled("{1} and {3}", {"a"}), "a and {3}");
  EXPECT_EQ(filled("{x} {", {"a"}), "{x} {");
}

TEST(UserLanguage, TheFirstSetLocaleVariableDecides) {
  struct Row {
    const char* language;
    const char* all;
    const char* messages;
    const char* lang;
    Language expected;
  };
  const Row rows[] = {
      {"", "", "", "", Language::kEnglish},
      {"", "", "", "ja_JP.UTF-8", Language::kJapanese},
      {"", "", "", "C", Language::kEnglish},
      {"", "C", "", "ja_JP.UTF-8", Language::kEnglish},
      {"", "", "ja_JP.SJIS", "en_US.UTF-8", Language::kJapanese},
      {"ja:en", "en_US.UTF-8", "", "", Language::kJapanese},
      {"en", "", "", "ja_JP.UTF-8", Language::kEnglish},
  };
  for (const Row& row : rows) {
    auto lookup = [&](const char* name) -> std::string {
      const std::string n = name;
      return n == "LANGUAGE"      ? row.language
             : n == "LC_ALL"      ? row.all
             : n == "LC_MESSAGES" ? row.messages
                                  : row.lang;
    };
    EXPECT_EQ(localeLanguage(lookup), row.expected)
        << row.language << "|" << row.all << "|" << row.messages << "|" << row.lang;
  }
}
