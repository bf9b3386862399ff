#include "LineReader.hpp"

#include <gtest/gtest.h>

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

}  // namespace
