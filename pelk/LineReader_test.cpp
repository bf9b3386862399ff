#include "LineReader.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::string> lines(const std::string& text) {
  LineReader in(text);
  std::vector<std::string> out;
  std::string line;
  while (in.next(line)) out.push_back(line);
  return out;
}

/// Hands out a text a few bytes at a time, and fails after `failAt` bytes
/// when that is set.
class TrickleReader : public Disk::Reader {
 public:
  TrickleReader(std::string text, size_t step, size_t failAt = std::string::npos)
      : text_(std::move(text)), step_(step), failAt_(failAt) {}
  size_t read(char* buffer, size_t size) override {
    if (at_ >= failAt_) {
      failed_ = true;
      return 0;
    }
    const size_t n = text_.copy(buffer, std::min({size, step_, failAt_ - at_}), at_);
    at_ += n;
    return n;
  }
  bool failed() const override { return failed_; }

 private:
  std::string text_;
  size_t step_, failAt_, at_ = 0;
  bool failed_ = false;
};

std::vector<std::string> linesRead(const std::string& text, size_t step, bool* failed = nullptr,
                                   size_t failAt = std::string::npos) {
  LineReader in;
  in.reading(std::make_unique<TrickleReader>(text, step, failAt));
  std::vector<std::string> out;
  std::string_view line;
  while (in.next(line)) out.emplace_back(line);
  if (failed) *failed = in.failed();
  return out;
}

TEST(LineReader, SplitsAtLineFeedsAndDropsOneCarriageReturn) {
  struct Case {
    std::string text;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"", {}},
      {"\n", {""}},
      {"a", {"a"}},
      {"a\n", {"a"}},
      {"a\n\n", {"a", ""}},
      {"a\r\nb", {"a", "b"}},
      {"a\r\r\nb\r", {"a\r", "b\r"}},
      {"\r\n\r\n", {"", ""}},
  };
  for (const Case& c : cases) EXPECT_EQ(lines(c.text), c.expected) << c.text;
}

TEST(LineReader, KeepsLongLinesWhole) {
  std::string longLine(5000, 'x');
  EXPECT_EQ(lines("1\n" + longLine + "\n2"), (std::vector<std::string>{"1", longLine, "2"}));
}

TEST(LineReader, FileReadInBlocksGivesTheSameLines) {
  const std::string longLine(200000, 'x');
  // Lines of every length up to 96 bytes, some with a CR, across the
  // boundaries of blocks of every size the reader asks for.
  std::string varied;
  for (int i = 0; i < 3000; ++i)
    varied += std::string(i % 97, static_cast<char>('a' + i % 26)) + (i % 5 ? "\n" : "\r\n");
  const std::string texts[] = {
      varied,
      "",
      "\n",
      "a",
      "a\r\nb\r\n\r\nc",
      "a\r\r\nb\r",
      "12\n" + longLine + "\r\n" + longLine + "\n3",
      longLine,
      "\n\n\n" + longLine + "\n\n",
  };
  for (const std::string& text : texts)
    for (size_t step :
         {size_t{1}, size_t{2}, size_t{3}, size_t{7}, size_t{65536}, std::string::npos})
      EXPECT_EQ(linesRead(text, step), lines(text)) << text.substr(0, 20) << " by " << step;
}

TEST(LineReader, SkipsOneEmptyLineAndLeavesAnyOtherLineToNext) {
  const std::string longLine(200000, 'x');
  struct Case {
    std::string text;
    bool skipped;
    /// The lines after the first, once `skippingEmptyLine` has run.
    std::vector<std::string> rest;
  };
  const Case cases[] = {
      {"L1\n\nx\n", true, {"x"}},
      {"L1\r\n\r\nx", true, {"x"}},
      {"L1\n\n\n", true, {""}},
      {"L1\n\n", true, {}},
      {"L1\nx\n\n", false, {"x", ""}},
      {"L1\n\r\r\n", false, {"\r"}},
      {"L1\n", false, {}},
      {"L1", false, {}},
      {"L1\n" + longLine + "\ny", false, {longLine, "y"}},
      {"L1\n\n" + longLine, true, {longLine}},
  };
  for (const Case& c : cases) {
    for (size_t step : {size_t{1}, size_t{2}, size_t{3}, size_t{7}, std::string::npos}) {
      SCOPED_TRACE(c.text.substr(0, 20) + " by " + std::to_string(step));
      LineReader whole(c.text), trickled;
      trickled.reading(std::make_unique<TrickleReader>(c.text, step));
      for (LineReader* in : {&whole, &trickled}) {
        std::string line;
        ASSERT_TRUE(in->next(line));
        EXPECT_EQ(line, "L1");
        EXPECT_EQ(in->skippingEmptyLine(), c.skipped);
        std::vector<std::string> rest;
        while (in->next(line)) rest.push_back(line);
        EXPECT_EQ(rest, c.rest);
        EXPECT_FALSE(in->skippingEmptyLine());
      }
    }
  }
  // A read that fails while looking ends the lines as `next` does.
  LineReader failing;
  failing.reading(std::make_unique<TrickleReader>("L1\nab\n", 1, 4));
  std::string line;
  ASSERT_TRUE(failing.next(line));
  EXPECT_FALSE(failing.skippingEmptyLine());
  EXPECT_FALSE(failing.next(line));
  EXPECT_TRUE(failing.failed());
}

TEST(LineReader, FailedReadEndsTheLinesAndIsReported) {
  bool failed = false;
  // The line cut short by the failure is not given out.
  EXPECT_EQ(linesRead("a\nb\nc\n", 1, &failed, 3), (std::vector<std::string>{"a"}));
  EXPECT_TRUE(failed);
  EXPECT_EQ(linesRead("a\nb\nc\n", 1, &failed), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_FALSE(failed);
}

}  // namespace
