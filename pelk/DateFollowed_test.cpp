#include "DateFollowed.hpp"

#include <gtest/gtest.h>

#include "ShiftJis.hpp"

namespace {

const std::string kColon = kZenkakuColon;
const std::string kExample =
    "256 " + kColon + "Name " + kColon + "2017/08/14(Mon) 16:15:20.68 ID:xxxxxxxx";

TEST(DateFollowed, ExampleHeaderInEveryLayout) {
  DateFollowed vemo(kExample);
  EXPECT_EQ(vemo.dateLine(), 15);
  EXPECT_EQ(vemo.rebuild(), "256  ^ 2017/08/14(Mon) 16:15:20.68 ID:xxxxxxxx Name");
  DateFollowed colon(kExample);
  EXPECT_GT(colon.dateLine(), 0);
  EXPECT_EQ(colon.interposed(), kExample);
  DateFollowed comma(kExample);
  EXPECT_GT(comma.dateLine(), 0);
  EXPECT_EQ(comma.common(), ",2017/08/14(Mon) 16:15:20.68,ID:xxxxxxxx, 256,Name,");
}

TEST(DateFollowed, RecogniseOnlyKeepsTheLine) {
  DateFollowed header(kExample, true);
  EXPECT_EQ(header.dateLine(), 15);
  EXPECT_EQ(header.rebuild(), kExample);
}

TEST(DateFollowed, MonthMarkerAtByteOneIsNoDateLine) {
  DateFollowed header("1/08/14 16:15:20 " + kColon + "x");
  EXPECT_EQ(header.dateLine(), 0);
}

}  // namespace
