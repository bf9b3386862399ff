#include "GeneratorOptions.hpp"

#include <gtest/gtest.h>

namespace tivor {
namespace {

struct ScanCase {
  std::vector<std::string> arguments;
  GeneratorOptions expected;
};

GeneratorOptions with(void (*change)(GeneratorOptions&)) {
  GeneratorOptions options;
  change(options);
  return options;
}

void expectSame(const GeneratorOptions& got, const GeneratorOptions& want,
                const std::string& label) {
  EXPECT_EQ(got.csv, want.csv) << label;
  EXPECT_EQ(got.bitMode, want.bitMode) << label;
  EXPECT_EQ(got.toFile, want.toFile) << label;
  EXPECT_EQ(got.idling, want.idling) << label;
  EXPECT_EQ(got.low, want.low) << label;
  EXPECT_EQ(got.high, want.high) << label;
  EXPECT_EQ(got.kilobytes, want.kilobytes) << label;
  EXPECT_EQ(got.seed, want.seed) << label;
}

TEST(GeneratorOptions, ScanningSetsOptionsInOrder) {
  const GeneratorOptions defaults;
  const std::vector<ScanCase> cases = {
      {{}, defaults},
      {{"-c", "-g", "-r"}, with([](GeneratorOptions& o) {
         o.csv = true;
         o.bitMode = true;
         o.toFile = false;
       })},
      {{"-6"}, with([](GeneratorOptions& o) { o.high = 43; })},
      {{"-6", "-m"}, with([](GeneratorOptions& o) { o.high = 31; })},
      {{"-m", "-7"}, defaults},
      // -6, -7 and -m leave the low bound alone.
      {{"-i5-20", "-6"}, with([](GeneratorOptions& o) {
         o.low = 5;
         o.high = 43;
       })},
      {{"-6", "-i5-20"}, with([](GeneratorOptions& o) {
         o.low = 5;
         o.high = 20;
       })},
      // Any one character may stand between the bounds; the high bound may
      // be empty and then reads 0.
      {{"-i5_20"}, with([](GeneratorOptions& o) {
         o.low = 5;
         o.high = 20;
       })},
      {{"-i0-63"}, with([](GeneratorOptions& o) {
         o.low = 0;
         o.high = 63;
       })},
      {{"-i5-"}, with([](GeneratorOptions& o) {
         o.low = 5;
         o.high = 0;
       })},
      // Malformed intervals restore 1 to 37, even after -6.
      {{"-6", "-ix5-20"}, defaults},
      {{"-6", "-i20"}, defaults},
      {{"-6", "-i"}, defaults},
      {{"-i5-20", "-i-20"}, defaults},
      {{"-i5-20", "x-i5-20"}, defaults},
      // Numbered options: the number is the trailing digits, saturated.
      {{"-f0"}, with([](GeneratorOptions& o) { o.idling = 0; })},
      // Without a number the number reads 0: the default does not come back.
      {{"-f"}, with([](GeneratorOptions& o) { o.idling = 0; })},
      {{"-k"}, with([](GeneratorOptions& o) { o.kilobytes = 0; })},
      {{"-s"}, with([](GeneratorOptions& o) { o.seed = 0; })},
      {{"-f9", "-f-9"}, defaults},
      {{"-k0"}, with([](GeneratorOptions& o) { o.kilobytes = 0; })},
      {{"-k99999999999"}, with([](GeneratorOptions& o) { o.kilobytes = 2147483647; })},
      {{"-k5", "-k5x"}, defaults},
      {{"-s0"}, with([](GeneratorOptions& o) { o.seed = 0; })},
      {{"-s2147483648"}, with([](GeneratorOptions& o) { o.seed = 2147483647; })},
      {{"-s7", "-sx7"}, defaults},
      // A malformed numbered option goes on to the next tests, and each of
      // them it contains resets its option too.
      {{"-f1", "-k2", "-f-k3"}, defaults},
      {{"-f1", "-k2-s4"}, with([](GeneratorOptions& o) { o.idling = 1; })},
      // Unknown arguments are ignored; exact options match whole.
      {{"who.txt", "-cc", "-6x", "-G", "-v"}, defaults},
  };
  for (const ScanCase& c : cases) {
    std::string label;
    for (const std::string& a : c.arguments) label += a + " ";
    GeneratorOptions options;
    EXPECT_EQ(options.scanning(c.arguments), Request::drawing) << label;
    expectSame(options, c.expected, label);
  }
}

TEST(GeneratorOptions, VersionStopsTheScan) {
  GeneratorOptions options;
  EXPECT_EQ(options.scanning({"-6", "-V", "-VC"}), Request::version);
  EXPECT_EQ(options.high, 43);
  GeneratorOptions commented;
  EXPECT_EQ(commented.scanning({"-VC", "-m"}), Request::versionWithComments);
  EXPECT_EQ(commented.high, 37);
}

}  // namespace
}  // namespace tivor
