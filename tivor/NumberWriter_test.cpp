#include "NumberWriter.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace tivor {
namespace {

std::string written(int count, bool csv, std::int64_t* bytes = nullptr) {
  std::ostringstream out;
  NumberWriter writer(out, csv);
  for (int k = 0; k < count; ++k) writer.writing((k * 7) % 100);
  if (bytes) *bytes = writer.bytes();
  writer.ending();
  return out.str();
}

TEST(NumberWriter, TextFormTwentyTokensToALineAndOneMoreLineEnd) {
  EXPECT_EQ(written(0, false), "\n");
  EXPECT_EQ(written(3, false), "00 07 14 \n");
  const std::string full = "00 07 14 21 28 35 42 49 56 63 70 77 84 91 98 05 12 19 26 33 \n";
  EXPECT_EQ(written(20, false), full + "\n");
  EXPECT_EQ(written(21, false), full + "40 \n");
}

TEST(NumberWriter, CsvFormPadsTheLastRowToTwentySeparators) {
  EXPECT_EQ(written(3, true), "00,07,14,,,,,,,,,,,,,,,,,,\n");
  const std::string full = "00,07,14,21,28,35,42,49,56,63,70,77,84,91,98,05,12,19,26,33,\n";
  EXPECT_EQ(written(20, true), full + std::string(20, ',') + "\n");
  EXPECT_EQ(written(39, true).substr(full.size()),
            "40,47,54,61,68,75,82,89,96,03,10,17,24,31,38,45,52,59,66,,\n");
}

TEST(NumberWriter, CountsTwoBytesPerLineEnd) {
  std::int64_t bytes = 0;
  written(19, false, &bytes);
  EXPECT_EQ(bytes, 57);
  written(20, false, &bytes);
  EXPECT_EQ(bytes, 62);
  written(41, true, &bytes);
  EXPECT_EQ(bytes, 127);
}

}  // namespace
}  // namespace tivor
