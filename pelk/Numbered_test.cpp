#include "Numbered.hpp"

#include <gtest/gtest.h>

namespace {

TEST(Numbered, SplitsOptionAndFinalDigits) {
  struct Case {
    const char* argument;
    std::string parameter;
    int number;
    bool readable;
  };
  const Case cases[] = {
      {"-m30", "-m", 30, true},          {"-w30", "-w", 30, true},   {"-m007", "-m", 7, true},
      {"-m3x0", "-m3x", 0, true},        {"-m3-5", "-m3-", 5, true}, {"30", "", 30, true},
      {"x-w30", "x-w", 30, true},        {"-m", "-m", 0, false},     {"", "", 0, false},
      {"-w99999999999", "-w", 0, false},
  };
  for (const Case& c : cases) {
    Numbered numbered(c.argument);
    EXPECT_EQ(numbered.parameter(), c.parameter) << c.argument;
    EXPECT_EQ(numbered.number(), c.number) << c.argument;
    EXPECT_EQ(numbered.readable(), c.readable) << c.argument;
  }
}

}  // namespace
