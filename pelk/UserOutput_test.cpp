#include "UserOutput.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "Console_testing.hpp"
#include "TextEncoding_testing.hpp"

namespace {

using texts::kNurupoUtf8;
/// "ぬるぽ" in Shift-JIS.
const std::string kNurupoSjis = "\x82\xCA\x82\xE9\x82\xDB";
/// A hint that quotes a line of the thread, as the hints make it (CP932).
const std::string kQuoting = "pelk: who.txt line 1: \"" + kNurupoSjis + "\": no draw";
/// The numbered line of a failure.
const std::string kNumbered = "e41: ADD THE DRAW TO LINE-1 OF WHO.TXT";

/// A run whose thread was read in `encoding`.
std::unique_ptr<RunEncoding> runOn(Encoding encoding) {
  auto run = std::make_unique<RunEncoding>();
  run->writing(encoding);
  return run;
}

}  // namespace

TEST(UserOutput, HintLinesTakeTheTerminalsEncodingTheNumberedLineNever) {
  const struct {
    Language language;
    TerminalEncoding terminal;
    Encoding thread;
    std::string hint;
  } rows[] = {
      // Japanese: the terminal decides; one the locale does not name is UTF-8.
      {Language::kJapanese, TerminalEncoding::kUtf8, Encoding::kShiftJis,
       "pelk: who.txt line 1: \"" + std::string(kNurupoUtf8) + "\": no draw"},
      {Language::kJapanese, TerminalEncoding::kShiftJis, Encoding::kShiftJis, kQuoting},
      {Language::kJapanese, TerminalEncoding::kShiftJis, Encoding::kUtf8, kQuoting},
      {Language::kJapanese, TerminalEncoding::kUnknown, Encoding::kShiftJis,
       "pelk: who.txt line 1: \"" + std::string(kNurupoUtf8) + "\": no draw"},
      // English: a terminal the locale names decides too; else the thread.
      {Language::kEnglish, TerminalEncoding::kUtf8, Encoding::kShiftJis,
       "pelk: who.txt line 1: \"" + std::string(kNurupoUtf8) + "\": no draw"},
      {Language::kEnglish, TerminalEncoding::kShiftJis, Encoding::kUtf8WithMark, kQuoting},
      {Language::kEnglish, TerminalEncoding::kUnknown, Encoding::kShiftJis, kQuoting},
      {Language::kEnglish, TerminalEncoding::kUnknown, Encoding::kUtf8WithMark,
       "pelk: who.txt line 1: \"" + std::string(kNurupoUtf8) + "\": no draw"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "language " << int(row.language) << ", terminal "
                                    << int(row.terminal) << ", thread " << int(row.thread));
    const auto run = runOn(row.thread);
    std::ostringstream stream;
    UserOutput output(stream, nullptr, row.language, row.terminal);
    output.reading(run.get());
    output.numbered(kNumbered + " " + kNurupoSjis);
    output.line(kQuoting);
    // The numbered line as the run has always printed it: in the thread's
    // encoding, whatever the user reads.
    const std::string numbered = row.thread == Encoding::kShiftJis
                                     ? kNumbered + " " + kNurupoSjis
                                     : kNumbered + " " + std::string(kNurupoUtf8);
    EXPECT_EQ(stream.str(), numbered + "\n" + row.hint + "\n");
  }
}

TEST(UserOutput, WithoutARunEncodingLinesAreCp932) {
  std::ostringstream english;
  UserOutput(english, nullptr, Language::kEnglish, TerminalEncoding::kUnknown).line(kQuoting);
  EXPECT_EQ(english.str(), kQuoting + "\n");
  std::ostringstream japanese;
  UserOutput(japanese, nullptr, Language::kJapanese, TerminalEncoding::kUtf8).line(kQuoting);
  EXPECT_EQ(japanese.str(),
            "pelk: who.txt line 1: \"" + std::string(kNurupoUtf8) + "\": no draw\n");
}

// A character of a UTF-8 thread that CP932 lacks is carried by a code of the
// run's user area; the line shown on a UTF-8 terminal has it back.
TEST(UserOutput, CharactersCp932LacksComeBackFromTheUserArea) {
  RunEncoding run;
  std::string thread = std::string("x") + texts::kYoshi + texts::kEmoji;
  ASSERT_TRUE(run.converting("who.txt", thread));
  run.writing(Encoding::kUtf8);
  ASSERT_EQ(thread.size(), 5u);
  std::ostringstream stream;
  UserOutput output(stream, nullptr, Language::kJapanese, TerminalEncoding::kUtf8);
  output.reading(&run);
  output.line("pelk: \"" + thread + "\"");
  EXPECT_EQ(stream.str(), std::string("pelk: \"x") + texts::kYoshi + texts::kEmoji + "\"\n");
  FakeConsole console;
  std::ostringstream none;
  UserOutput onConsole(none, &console, Language::kJapanese, TerminalEncoding::kShiftJis);
  onConsole.reading(&run);
  onConsole.line(thread);
  EXPECT_EQ(console.written, u"x\U00020BB7\U0001F600\r\n");
}

// A Windows console takes UTF-16, in either language, so that it reads right
// whatever its code page; a stream redirected to a file takes bytes.
TEST(UserOutput, AConsoleTakesUtf16) {
  for (Language language : {Language::kJapanese, Language::kEnglish}) {
    FakeConsole console;
    std::ostringstream stream;
    const auto run = runOn(Encoding::kShiftJis);
    UserOutput output(stream, &console, language, terminalEncoding(language));
    output.reading(run.get());
    output.numbered(kNumbered);
    output.line(kQuoting);
    EXPECT_EQ(console.written, u"pelk: who.txt line 1: \"\u306C\u308B\u307D\": no draw\r\n");
    EXPECT_EQ(stream.str(), kNumbered + "\n");
  }
  // Redirected on Windows, a Japanese user's lines are CP932.
  std::ostringstream file;
  UserOutput redirected(file, nullptr, Language::kJapanese, TerminalEncoding::kShiftJis);
  const auto run = runOn(Encoding::kUtf8);
  redirected.reading(run.get());
  redirected.line(kQuoting);
  EXPECT_EQ(file.str(), kQuoting + "\n");
}

TEST(UserOutput, AConsoleThatFailsMarksTheStreamBad) {
  FakeConsole console;
  console.works = false;
  std::ostringstream stream;
  UserOutput output(stream, &console, Language::kJapanese, TerminalEncoding::kUnknown);
  output.line("pelk: x");
  EXPECT_TRUE(stream.bad());
}

// A file name the user typed on a UTF-8 terminal is UTF-8 already: converted
// as CP932 it would turn to other characters.
TEST(UserOutput, NamesGivenStayAsGivenInALineMadeUtf8) {
  const std::string name = "\xE3\x82\xB9\xE3\x83\xAC.txt";  // "スレ.txt" in UTF-8
  std::ostringstream stream;
  UserOutput output(stream, nullptr, Language::kJapanese, TerminalEncoding::kUtf8);
  output.keepingNames({"who.txt", name});
  output.line("pelk: " + name + " line 1: \"" + kNurupoSjis + "\" (" + name + ")");
  EXPECT_EQ(stream.str(), "pelk: " + name + " line 1: \"" + kNurupoUtf8 + "\" (" + name + ")\n");
}

// Every Japanese text of ours goes out through CP932: each must have its
// CP932 form, or it would come back as other characters (a wave dash "〜"
// where Windows writes the full-width tilde "～").
TEST(UserOutput, EveryJapaneseWordingHasItsCp932Form) {
  const UserArea none;
  for (const Wording& wording : wordings::kEvery) {
    const std::string cp932 = cp932FromUtf8(wording.japanese);
    std::string back;
    ToUtf8 toUtf8(none);
    toUtf8.converting(cp932, back);
    toUtf8.finishing(back);
    EXPECT_EQ(back, wording.japanese);
    for (std::size_t at = 0; at + 1 < cp932.size(); ++at) {
      const unsigned char lead = static_cast<unsigned char>(cp932[at]);
      EXPECT_FALSE(lead >= 0xF0 && lead <= 0xF9) << wording.japanese << ": not in CP932";
      if ((lead >= 0x81 && lead <= 0x9F) || lead >= 0xE0) ++at;
    }
  }
}
