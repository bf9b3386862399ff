// A pass run again over its own output: the passes that keep a thread a
// thread give it back byte for byte, so that running pelk once more (the
// default pass on who.txt, most of all) changes nothing. The empty line after
// Line-1, the empty header of the first group, is written once, however often
// the thread goes through.

#include "E2E.hpp"
#include "Twin.hpp"
#include "passes/PassList.hpp"

namespace {

using Rerun = E2E;

using twins::kColon;
using twins::kNurupo;
using twins::kWideDigits;
using twins::kYamada;

const std::string kLine1 = "05 12 19 27 33 41 08 - draw\n";

/// A post header with post number `n`.
Twin head(int n) {
  return std::to_string(n) + " " + kColon + kYamada + " " + kColon +
         "2017/08/14(Mon) 16:15:20.68 ID:abcdefgh\n";
}

/// `text` with CR LF line ends.
std::string crlf(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return out;
}

TEST_F(Rerun, TheDefaultPassRunFourTimesGivesTheTextOfItsFirstRun) {
  writeDefaultCompanions();
  // Lines before the first header, a kept post, a dropped one between kept
  // ones, and a last post dropped (an empty line in its place).
  const Twin posts = "pre 01 02 03 04 05 06\n" + head(1) + "05 12 19 27 33 41\n\n" + head(2) +
                     "x " + kNurupo + "\n" + head(3) + kWideDigits + " ok\n" + head(4) + kNurupo +
                     "\n";
  const Twin thread = kLine1 + posts;
  const Twin expected = kLine1 + "\npre 01 02 03 04 05 06\n" + head(1) + "05 12 19 27 33 41\n\n" +
                        head(3) + kWideDigits + " ok\n\n";
  const std::string kMark = "\xEF\xBB\xBF";
  struct Case {
    const char* what;
    std::string thread, expected;
  };
  const Case cases[] = {
      {"Shift-JIS, LF", thread.sjis, expected.sjis},
      {"Shift-JIS, CR LF", crlf(thread.sjis), expected.sjis},
      {"UTF-8, LF", thread.utf8, expected.utf8},
      {"UTF-8, CR LF", crlf(thread.utf8), expected.utf8},
      {"UTF-8 with the byte-order mark, CR LF", kMark + crlf(thread.utf8), kMark + expected.utf8},
      // The thread already holds the empty line after Line-1: it stays one.
      {"Shift-JIS, an empty line after Line-1", kLine1 + "\n" + posts.sjis, expected.sjis},
      {"UTF-8, CR LF, an empty line after Line-1", crlf(kLine1 + "\n" + posts.utf8), expected.utf8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    write("who.txt", c.thread);
    std::string first;
    for (int run = 1; run <= 4; ++run) {
      SCOPED_TRACE("run " + std::to_string(run));
      const Outcome outcome = pelk({});
      ASSERT_EQ(outcome.status, 0) << outcome.err;
      EXPECT_EQ(outcome.out, "who.txt\n");
      if (run == 1) {
        EXPECT_EQ(read("who.txt"), c.expected);
        first = readRaw("who.txt");
      } else {
        EXPECT_EQ(readRaw("who.txt"), first);
      }
    }
  }
}

/// What a second run of a pass over the output of its first gives.
struct PassRerun {
  std::vector<std::string> options;
  enum Kind {
    kSame,     ///< the first output, byte for byte
    kGrows,    ///< the first output with `inserted` after `after` (the pass's own design)
    kRefused,  ///< the output is no thread (a table, a list): the run fails, the file stays
  } kind;
  std::string after = {}, inserted = {};
};

TEST_F(Rerun, EveryPassRunAgainOverItsOwnOutput) {
  writeDefaultCompanions();
  // The first line of segmen.txt: the header -s, -w30 and -m30 put after Line-1.
  const std::string segmen = read("segmen.txt");
  const std::string sample = segmen.substr(0, segmen.find('\n') + 1);
  const std::string thread =
      kLine1 + "pre 01 02 03 04 05 06\n" +
      (head(1) + "05 12 19 27 33 41\n07 08 09 10 11 12 13 7to6\n\n" + head(2) + kWideDigits +
       " ok\n01 05 09 14 22 31/05 12 19 27 33 40\n12345^789\n" + head(3) + "x " + kNurupo + "\n4 " +
       kColon + "\nBob " + kColon + "2017/08/16(Wed)\n12:00:00 ID:kana1234\n" +
       "01 02 03 04 05 06\n")
          .sjis;
  const PassRerun table[] = {
      {{}, PassRerun::kSame},
      {{"-e"}, PassRerun::kSame},
      {{"-z"}, PassRerun::kSame},
      {{"-6"}, PassRerun::kSame},
      {{"-n"}, PassRerun::kSame},
      {{"-a"}, PassRerun::kSame},
      {{"-da"}, PassRerun::kSame},
      {{"-b"}, PassRerun::kSame},
      {{"-d"}, PassRerun::kSame},
      // Each run puts two one-space lines (its empty ring) at the start of
      // the first group.
      {{"-3"}, PassRerun::kGrows, kLine1 + "\n", " \n \n"},
      {{"-f"}, PassRerun::kSame},
      {{"-u"}, PassRerun::kRefused},
      {{"-t"}, PassRerun::kRefused},
      {{"-i"}, PassRerun::kSame},
      {{"-c"}, PassRerun::kSame},
      // Each run puts the sample header after Line-1.
      {{"-s"}, PassRerun::kGrows, kLine1, sample},
      {{"-m30"}, PassRerun::kGrows, kLine1, sample},
      {{"-w30"}, PassRerun::kGrows, kLine1, sample},
      {{"-p"}, PassRerun::kSame},
  };
  for (const PassOption& row : passList()) {
    const std::vector<std::string> option = {std::string(row.option) + (row.numbered ? "30" : "")};
    bool named = false;
    for (const PassRerun& pass : table) named = named || pass.options == option;
    EXPECT_TRUE(named) << option[0] << " is missing from the table";
  }
  for (const PassRerun& pass : table) {
    std::vector<std::string> args = {"who.txt", "-o"};
    args.insert(args.end(), pass.options.begin(), pass.options.end());
    SCOPED_TRACE(pass.options.empty() ? "the default pass" : pass.options[0]);
    write("who.txt", thread);
    const Outcome first = pelk(args);
    ASSERT_EQ(first.status, 0) << first.err;
    const std::string onceRaw = readRaw("who.txt");
    const std::string once = read("who.txt");
    ASSERT_NE(once, thread);
    const Outcome second = pelk(args);
    switch (pass.kind) {
      case PassRerun::kSame:
        EXPECT_EQ(second.status, 0) << second.err;
        EXPECT_EQ(readRaw("who.txt"), onceRaw);
        break;
      case PassRerun::kGrows: {
        EXPECT_EQ(second.status, 0) << second.err;
        const std::size_t at = once.find(pass.after);
        ASSERT_NE(at, std::string::npos);
        std::string grown = once;
        grown.insert(at + pass.after.size(), pass.inserted);
        EXPECT_EQ(read("who.txt"), grown);
        break;
      }
      case PassRerun::kRefused:
        EXPECT_EQ(second.status, 1);
        EXPECT_EQ(second.out, "");
        EXPECT_EQ(readRaw("who.txt"), onceRaw);
        break;
    }
  }
}

}  // namespace
