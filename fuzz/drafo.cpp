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
};

std::string replacedByRule(std::string text, const std::string& draft, const std::string& formal) {
  if (draft.empty()) return text;
  std::string result;
  size_t i = 0;
  while (i < text.size()) {
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
  ScopedDisk guard(&disk);
  disk.files["drafo.csv"] = input.text();
  const std::string line = input.all();

  Probe pass;
  std::string companion = "drafo.csv";
  pass.setting(companion, 30, true, false, false, false);
  FUZZ_CHECK(pass.readingCsvToProduceArrays());
  FUZZ_CHECK(pass.drafts.size() == pass.formals.size());

  // The text each pair can make grows with the product of the pairs' growth;
  // a companion file built to multiply a line beyond memory is left out.
  size_t bound = line.size() + 1;
  for (size_t i = 0; i < pass.drafts.size() && bound < (1u << 20); ++i)
    if (pass.formals[i].size() > pass.drafts[i].size())
      bound = bound * pass.formals[i].size() / std::max<size_t>(1, pass.drafts[i].size()) + 1;
  if (bound >= (1u << 20)) return 0;

  const std::string hankaku = pass.checkOneByOne(line);
  FUZZ_CHECK(hankaku.size() <= line.size());
  std::string expected = hankaku;
  for (size_t i = 0; i < pass.drafts.size(); ++i)
    expected = replacedByRule(expected, pass.drafts[i], pass.formals[i]);
  FUZZ_CHECK(pass.replaceDraftWithFormal(hankaku) == expected);

  // An unreadable companion file is reported with its number.
  disk.files.erase("drafo.csv");
  Probe missing;
  missing.setting(companion, 30, true, false, false, false);
  FUZZ_CHECK(!missing.readingCsvToProduceArrays());
  FUZZ_CHECK(missing.inquiry() == "e22: ifstream in( drafo.csv )");
  return 0;
}
