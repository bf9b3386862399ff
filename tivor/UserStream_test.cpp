#include "UserStream.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "Console_testing.hpp"

namespace tivor {
namespace {

/// "tivor: 範囲 1-100 は使えません" and the line after it, in UTF-8.
const std::string kLines =
    "tivor: \xE7\xAF\x84\xE5\x9B\xB2 1-100 \xE3\x81\xAF\xE4\xBD\xBF\xE3\x81\x88\xE3\x81\xBE"
    "\xE3\x81\x9B\xE3\x82\x93\nnext\n";

TEST(UserStream, LinesTakeTheTerminalsForm) {
  const struct {
    TerminalEncoding terminal;
    std::string expected;
  } rows[] = {
      {TerminalEncoding::kUtf8, kLines},
      // A locale that names none: UTF-8, as almost every terminal reads.
      {TerminalEncoding::kUnknown, kLines},
      {TerminalEncoding::kShiftJis,
       "tivor: \x94\xCD\x88\xCD 1-100 \x82\xCD\x8E\x67\x82\xA6\x82\xDC\x82\xB9\x82\xF1\nnext\n"},
  };
  for (const auto& row : rows) {
    std::ostringstream stream;
    UserStream user(stream, nullptr, Language::kJapanese, row.terminal);
    user.text(kLines);
    EXPECT_EQ(stream.str(), row.expected) << int(row.terminal);
    EXPECT_EQ(user.bytes(kLines), row.expected);
  }
}

// An English text is ASCII: the same bytes on every terminal.
TEST(UserStream, EnglishStaysAsItIs) {
  const std::string line = "tivor: writing tivor.txt failed\n";
  for (TerminalEncoding terminal :
       {TerminalEncoding::kUtf8, TerminalEncoding::kShiftJis, TerminalEncoding::kUnknown}) {
    std::ostringstream stream;
    UserStream(stream, nullptr, Language::kEnglish, terminal).text(line);
    EXPECT_EQ(stream.str(), line);
  }
}

// A Windows console takes UTF-16 with CR LF, after what the stream held;
// the stream itself stays for the bytes that go as they are.
TEST(UserStream, AConsoleTakesUtf16) {
  FakeConsole console;
  std::ostringstream stream;
  UserStream user(stream, &console, Language::kJapanese, TerminalEncoding::kShiftJis);
  user.stream() << "tivorkit-1.06\n";
  user.text(kLines);
  EXPECT_EQ(stream.str(), "tivorkit-1.06\n");
  EXPECT_EQ(console.written,
            u"tivor: \u7BC4\u56F2 1-100 \u306F\u4F7F\u3048\u307E\u305B\u3093\r\nnext\r\n");
  EXPECT_TRUE(stream.good());
  console.works = false;
  user.text("tivor: x\n");
  EXPECT_TRUE(stream.bad());
}

}  // namespace
}  // namespace tivor
