#include "Tivor.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "Clock.hpp"

namespace tivor {
namespace {

struct Result {
  int status;
  std::string out;
  std::string err;
};

// The clock of the runs whose time seed does not matter.
const FixedClock kAnyTime(1502694845);

Result run(const std::vector<std::string>& arguments, const Clock& clock = kAnyTime,
           Language language = Language::kEnglish) {
  std::ostringstream out, err;
  UserStream output(out, nullptr, language, TerminalEncoding::kUtf8);
  UserStream errors(err, nullptr, language, TerminalEncoding::kUtf8);
  Tivor program(output, errors, clock);
  const int status = program.running(arguments);
  return {status, out.str(), err.str()};
}

TEST(Tivor, RefusesIntervalsOutsideTheTable) {
  struct Refusal {
    std::vector<std::string> arguments;
    std::string message;
  };
  const std::vector<Refusal> refusals = {
      {{"-r", "-i1-100"}, "tivor: interval 1-100 refused: numbers lie within 0 to 99\n"},
      {{"-r", "-i0-100"}, "tivor: interval 0-100 refused: numbers lie within 0 to 99\n"},
      {{"-r", "-i150-200"}, "tivor: interval 150-200 refused: numbers lie within 0 to 99\n"},
      {{"-r", "-i50-20"}, "tivor: interval 50-20 refused: its low bound exceeds its high bound\n"},
      {{"-r", "-i5-"}, "tivor: interval 5-0 refused: its low bound exceeds its high bound\n"},
      {{"-r", "-i40-50", "-m"},
       "tivor: interval 40-31 refused: its low bound exceeds its high bound\n"},
  };
  for (const Refusal& refusal : refusals) {
    const Result result = run(refusal.arguments);
    EXPECT_EQ(result.status, 1) << refusal.message;
    EXPECT_EQ(result.out, "") << refusal.message;
    EXPECT_EQ(result.err, refusal.message);
  }
}

// The failures in the user's language, one line each, nothing written.
TEST(Tivor, RefusalsSpeakTheUsersLanguage) {
  struct Refusal {
    std::vector<std::string> arguments;
    Language language;
    std::string message;
  };
  const std::vector<Refusal> refusals = {
      {{"-r", "-i50-20"},
       Language::kEnglish,
       "tivor: interval 50-20 refused: its low bound exceeds its high bound\n"},
      {{"-r", "-i50-20"},
       Language::kJapanese,
       "tivor: 範囲 50-20 は使えません。下限が上限より大きいです\n"},
      {{"-i1-100"},
       Language::kEnglish,
       "tivor: interval 1-100 refused: numbers lie within 0 to 99\n"},
      {{"-i1-100"},
       Language::kJapanese,
       "tivor: 範囲 1-100 は使えません。番号は 0 から 99 までです\n"},
  };
  for (const Refusal& refusal : refusals) {
    const Result result = run(refusal.arguments, kAnyTime, refusal.language);
    EXPECT_EQ(result.status, 1) << refusal.message;
    EXPECT_EQ(result.out, "") << refusal.message;
    EXPECT_EQ(result.err, refusal.message);
  }
}

// -h: the line of -h in the user's language, then the commented list as -VC
// has it; -V and -VC the same bytes in every language.
TEST(Tivor, HelpOfHInTheUsersLanguageVersionTextsInEvery) {
  const Result versionEnglish = run({"-VC"});
  const std::string list = versionEnglish.err.substr(std::string("tivorkit-1.06\n\n").size());
  const struct {
    Language language;
    std::string firstLine;
  } rows[] = {
      {Language::kEnglish, "tivor -h             # this help (also --help) \n"},
      {Language::kJapanese, "tivor -h             # このヘルプ (--help も同じ) \n"},
  };
  for (const auto& row : rows) {
    const Result help = run({"--help"}, kAnyTime, row.language);
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out, "tivorkit-1.06\n\n" + row.firstLine + list);
    for (const char* option : {"-V", "-VC"})
      EXPECT_EQ(run({option}, kAnyTime, row.language).err, run({option}).err) << option;
  }
}

TEST(Tivor, SixBitModeIgnoresTheInterval) {
  const Result bits = run({"-r", "-k0", "-g"});
  ASSERT_EQ(bits.status, 0) << bits.err;
  for (const auto& arguments : {std::vector<std::string>{"-r", "-k0", "-g", "-i1-200"},
                                std::vector<std::string>{"-r", "-k0", "-i0-63"}}) {
    const Result result = run(arguments);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, bits.out);
  }
}

TEST(Tivor, HelpWritesOnlyToStandardErrorWithStatusOne) {
  const Result version = run({"-r", "-V"});
  EXPECT_EQ(version.status, 1);
  EXPECT_EQ(version.out, "");
  EXPECT_EQ(version.err.substr(0, 31), "tivorkit-1.06\n\ntivor \ntivor -6 ");
  const Result commented = run({"-i1-200", "-VC"});
  EXPECT_EQ(commented.status, 1);
  EXPECT_EQ(commented.out, "");
  EXPECT_EQ(commented.err.substr(0, 38), "tivorkit-1.06\n\ntivor                # ");
}

TEST(Tivor, TimeSeedKeepsTheLastSixDigitsOfTheClock) {
  const Result fixed = run({"-r", "-k1"});
  const Result seven = run({"-r", "-k1", "-s7"});
  ASSERT_NE(fixed.out, seven.out);
  {
    FixedClock clock(std::time_t{1500012345});
    EXPECT_EQ(run({"-r", "-k1", "-s0"}, clock).out, fixed.out);
    EXPECT_EQ(run({"-r", "-k1", "-s"}, clock).out, fixed.out);
  }
  FixedClock clock(std::time_t{4000000007});
  EXPECT_EQ(run({"-r", "-k1", "-s0"}, clock).out, seven.out);
}

/// A stream buffer that takes `room` bytes and then fails every write.
class FullBuffer : public std::streambuf {
 public:
  explicit FullBuffer(std::size_t room) : room_(room) {}
  std::size_t taken = 0;

 protected:
  int_type overflow(int_type c) override {
    if (taken == room_ || traits_type::eq_int_type(c, traits_type::eof()))
      return traits_type::eof();
    ++taken;
    return c;
  }

 private:
  std::size_t room_;
};

TEST(Tivor, FailedWriteToStandardOutputIsReportedAndStopsDrawing) {
  FullBuffer full(100);
  std::ostream out(&full);
  std::ostringstream err;
  const struct {
    Language language;
    std::string message;
  } rows[] = {
      {Language::kEnglish, "tivor: writing to standard output failed\n"},
      {Language::kJapanese, "tivor: 標準出力に書き込めませんでした\n"},
  };
  for (const auto& row : rows) {
    full.taken = 0;
    out.clear();
    err.str("");
    UserStream output(out, nullptr, row.language, TerminalEncoding::kUtf8);
    UserStream errors(err, nullptr, row.language, TerminalEncoding::kUtf8);
    Tivor program(output, errors, kAnyTime);
    // Two terabytes asked for: the run must stop at the first failed write.
    EXPECT_EQ(program.running({"-r", "-k2147483647"}), 1);
    EXPECT_EQ(err.str(), row.message);
    EXPECT_EQ(full.taken, 100u);
  }
}

}  // namespace
}  // namespace tivor
