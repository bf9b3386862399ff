// The user's language and the terminal's encoding: the help of -h, the hints
// and the first-run message in Japanese or English by the locale, in UTF-8
// or Shift-JIS by its codeset; the numbered line byte for byte the same in
// every language.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "Conversions.hpp"
#include "E2E.hpp"

namespace {

using UserLanguages = E2E;

/// The CP932 `text` in UTF-8.
std::string utf8Of(const std::string& text) {
  const UserArea none;
  ToUtf8 toUtf8(none);
  std::string out;
  toUtf8.converting(text, out);
  toUtf8.finishing(out);
  return out;
}

/// True when `text` is well-formed UTF-8.
bool validUtf8(const std::string& text) {
  for (std::size_t at = 0; at < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80                   ? 1
                               : lead >= 0xC2 && lead < 0xE0 ? 2
                               : lead >= 0xE0 && lead < 0xF0 ? 3
                               : lead >= 0xF0 && lead < 0xF5 ? 4
                                                             : 0;
    if (length == 0 || at + length > text.size()) return false;
    for (std::size_t i = 1; i < length; ++i)
      if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return false;
    at += length;
  }
  return true;
}

/// The lines of `text` after its first.
std::string afterFirstLine(const std::string& text) {
  const std::size_t end = text.find('\n');
  return end == std::string::npos ? "" : text.substr(end + 1);
}

/// "ぬるぽ" in UTF-8.
const std::string kNurupoUtf8 = "\xE3\x81\xAC\xE3\x82\x8B\xE3\x81\xBD";
/// A thread whose Line-1 holds words, no draw: e42, its hint quoting Line-1.
const std::string kNoDraw = sjis::nurupo + "\n1 " + sjis::colon + "Ann " + sjis::colon +
                            "2017/08/14(Mon) 16:15:20.68 ID:abcdefgh\n01 02 03 04 05 06\n";

bool underRunner() {
  const char* runner = std::getenv("E2E_RUNNER");
  return runner && *runner;
}

}  // namespace

// -h in Japanese under a Japanese locale, in the terminal's encoding: the
// same text in UTF-8 and in Shift-JIS; in English otherwise. Each lists
// every option that -V lists.
TEST_F(UserLanguages, HelpIsInTheUsersLanguageAndTheTerminalsEncoding) {
  if (underRunner()) GTEST_SKIP() << "Wine takes its language from its own settings";
  const Outcome english = pelk({"-h"}, {.lang = "C"});
  const Outcome utf8 = pelk({"-h"}, {.lang = "ja_JP.UTF-8"});
  const Outcome sjis = pelk({"-h"}, {.lang = "ja_JP.SJIS"});
  for (const Outcome* help : {&english, &utf8, &sjis}) {
    EXPECT_EQ(help->status, 0);
    EXPECT_EQ(help->err, "");
  }
  EXPECT_NE(english.out.find("pelk -h            # this help (also --help)\n"), std::string::npos)
      << english.out;
  EXPECT_TRUE(validUtf8(utf8.out));
  EXPECT_NE(utf8.out.find("pelk -h            # \xE3\x81\x93\xE3\x81\xAE\xE3\x83\x98\xE3\x83\xAB"
                          "\xE3\x83\x97 (--help \xE3\x82\x82\xE5\x90\x8C\xE3\x81\x98)\n"),
            std::string::npos)
      << utf8.out;  // "このヘルプ (--help も同じ)"
  EXPECT_FALSE(validUtf8(sjis.out));
  EXPECT_EQ(utf8Of(sjis.out), utf8.out);

  writeDefaultCompanions();
  const Outcome version = pelk({"-V"}, {.lang = "ja_JP.UTF-8"});
  const std::vector<std::string> listed = listedOptions(version.err, "pelk");
  ASSERT_GE(listed.size(), 20u) << version.err;
  for (const Outcome* help : {&english, &utf8}) {
    const std::vector<std::string> options = listedOptions(help->out, "pelk");
    for (const std::string& option : listed)
      EXPECT_NE(std::find(options.begin(), options.end(), option), options.end())
          << option << " is missing from\n"
          << help->out;
  }
}

// -V and -VC print the same bytes in every language.
TEST_F(UserLanguages, VersionTextsStayInEveryLanguage) {
  writeDefaultCompanions();
  for (const char* option : {"-V", "-VC"}) {
    const Outcome english = pelk({option}, {.lang = "C"});
    EXPECT_EQ(english.status, 1);
    EXPECT_EQ(english.err.rfind("pelkkit Version 1.35\n\npelk -V", 0), 0u) << english.err;
    for (const char* lang : {"ja_JP.UTF-8", "ja_JP.SJIS", "en_US.UTF-8"})
      EXPECT_EQ(pelk({option}, {.lang = lang}).err, english.err) << option << " " << lang;
  }
}

// A failure: its numbered line the same bytes under every locale, its hints
// in the terminal's encoding (a quoted Shift-JIS Line-1 made UTF-8 on a
// UTF-8 terminal), in English under C as they always were.
TEST_F(UserLanguages, TheNumberedLineStaysTheHintsFollowTheTerminal) {
  if (underRunner()) GTEST_SKIP() << "Wine takes its language from its own settings";
  writeDefaultCompanions();
  write("who.txt", kNoDraw);
  const Outcome plain = pelk({"who.txt", "-t"}, {.lang = "C"});
  const Outcome utf8 = pelk({"who.txt", "-t"}, {.lang = "ja_JP.UTF-8"});
  const Outcome sjis = pelk({"who.txt", "-t"}, {.lang = "ja_JP.SJIS"});
  const Outcome english = pelk({"who.txt", "-t"}, {.lang = "en_US.UTF-8"});
  for (const Outcome* run : {&plain, &utf8, &sjis, &english}) {
    EXPECT_EQ(run->status, 1);
    EXPECT_EQ(run->out, "");
    EXPECT_EQ(run->message, "e42: TOO FEW GAPS\n");
    EXPECT_NE(afterFirstLine(run->err), "");
  }
  // Under C the hint quotes Line-1 as the thread holds it.
  EXPECT_NE(plain.err.find("pelk: who.txt line 1: \"" + sjis::nurupo + "\""), std::string::npos)
      << plain.err;
  EXPECT_TRUE(validUtf8(utf8.err));
  // In Japanese the line is quoted in corner brackets.
  EXPECT_NE(utf8.err.find("\xE3\x80\x8C" + kNurupoUtf8 + "\xE3\x80\x8D"), std::string::npos)
      << utf8.err;
  EXPECT_EQ(utf8Of(afterFirstLine(sjis.err)), afterFirstLine(utf8.err));
  EXPECT_EQ(afterFirstLine(english.err), utf8Of(afterFirstLine(plain.err)));
  EXPECT_EQ(read("who.txt"), kNoDraw);
}

// A thread named in UTF-8 on a UTF-8 terminal keeps its name in the hints,
// its quoted Shift-JIS Line-1 made UTF-8 beside it.
TEST_F(UserLanguages, ANameTypedInUtf8StaysInTheHints) {
  if (underRunner()) GTEST_SKIP() << "Wine takes its language from its own settings";
  writeDefaultCompanions();
  const std::string name = "\xE3\x82\xB9\xE3\x83\xAC.txt";  // "スレ.txt"
  write(name, kNoDraw);
  const Outcome run = pelk({name, "-t"}, {.lang = "ja_JP.UTF-8"});
  EXPECT_EQ(run.message, "e42: TOO FEW GAPS\n");
  EXPECT_TRUE(validUtf8(run.err)) << run.err;
  // "pelk: スレ.txt の 1 行目「ぬるぽ」"
  EXPECT_NE(run.err.find("pelk: " + name + " \xE3\x81\xAE 1 \xE8\xA1\x8C\xE7\x9B\xAE\xE3\x80\x8C" +
                         kNurupoUtf8 + "\xE3\x80\x8D"),
            std::string::npos)
      << run.err;
}

// The first run's message in the terminal's encoding too.
TEST_F(UserLanguages, TheFirstRunSpeaksInTheTerminalsEncoding) {
  if (underRunner()) GTEST_SKIP() << "Wine takes its language from its own settings";
  const Outcome utf8 = pelk({"-V"}, {.lang = "ja_JP.UTF-8"});
  EXPECT_EQ(utf8.status, 1);
  EXPECT_EQ(utf8.out, "");
  EXPECT_EQ(utf8.err.rfind("pelk: ", 0), 0u) << utf8.err;
  EXPECT_TRUE(validUtf8(utf8.err)) << utf8.err;
  for (const std::string& name : names()) std::filesystem::remove(dir / name);
  const Outcome sjis = pelk({"-V"}, {.lang = "ja_JP.SJIS"});
  EXPECT_EQ(utf8Of(sjis.err), utf8.err);
}
