// The drafo.csv parser, the zenkaku table and replaceDraftWithFormal on any
// companion file and any body line. The replacement is checked against a
// plain rewrite of its rule: pairs in file order, each replacing every
// non-overlapping occurrence left to right in the output of the ones before.

#include "passes/Drafo.hpp"

#include <string>

#include "Disk.hpp"
#include "FuzzInput.hpp"
#include "MemoryDisk.hpp"

namespace {

class Probe : public Drafo {
 public:
  using Drafo::drafts;
  using Drafo::formals;
  using Drafo::longestGrowth;
};

// Stops as soon as the result is longer than `longest`.
std::string replacedByRule(std::string text, const std::string& draft, const std::string& formal,
                           size_t longest) {
  if (draft.empty()) return text;
  std::string result;
  size_t i = 0;
  while (i < text.size() && result.size() <= longest) {
    if (text.compare(i, draft.size(), draft) == 0) {
      result += formal;
      i += draft.size();
    } else {
      result += text[i++];
    }
  }
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  MemoryDisk disk;
  disk.files["drafo.csv"] = input.text();
  const std::string line = input.all();

  Probe pass;
  const std::string companion = "drafo.csv";
  pass.setting({.companion = companion, .disk = &disk});
  // A small limit keeps inputs that reach it fast to run.
  pass.longestGrowth = 4096;
  FUZZ_CHECK(pass.readingCsvToProduceArrays());
  FUZZ_CHECK(pass.drafts.size() == pass.formals.size());

  // The pass refuses a line that its pairs grow by more than the limit;
  // the plain rewrite is followed only while it stays within it, so that a
  // companion file built to multiply a line is checked without running out
  // of memory.
  const std::string hankaku = pass.checkOneByOne(line);
  FUZZ_CHECK(hankaku.size() <= line.size());
  const size_t longest = hankaku.size() + pass.longestGrowth;
  std::string expected = hankaku;
  bool within = true;
  for (size_t i = 0; i < pass.drafts.size() && within; ++i) {
    expected = replacedByRule(expected, pass.drafts[i], pass.formals[i], longest);
    within = expected.size() <= longest;
  }
  std::string formal;
  FUZZ_CHECK(pass.replaceDraftWithFormal(hankaku, formal) == within);
  if (within) FUZZ_CHECK(formal == expected);

  // An unreadable companion file is reported with its number.
  disk.files.erase("drafo.csv");
  Probe missing;
  missing.setting({.companion = companion, .disk = &disk});
  FUZZ_CHECK(!missing.readingCsvToProduceArrays());
  FUZZ_CHECK(missing.inquiry() == "e22: ifstream in( drafo.csv )");
  return 0;
}
