// pelk: one editing pass over a saved forum thread per run.

#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "Alterable.hpp"
#include "Cleanup.hpp"
#include "Companions.hpp"
#include "Numbered.hpp"
#include "OS-specific.hpp"
#include "TextEncoding.hpp"
#include "passes/PassList.hpp"

namespace {

const std::string EXCLUDE_TEXT = "exclude.txt";
const std::string NEW_LINE = "\n";
const std::string NO_REMOVING = "-r-";
const std::string OVERWRITE = "-o";
const std::string REMOVE_LINE_1 = "-1-";
const std::string SERIAL = "-l";
const std::string VERSION_COMMENTS = "-VC";
const std::string VERSION_GUIDE = "-V";
const std::string WHO_TEXT = "who.txt";
const double VERSION = 1.35;
const int ERROR_CODE = 1;
const int PERIOD = 30;
const bool WITH_COMMENTS = true;
const bool WITHOUT_COMMENTS = false;

/// The pass-selecting option `argument`, unless it is numbered; nullptr
/// when it is none.
const PassOption* passOption(const std::string& argument) {
  for (const PassOption& row : passList())
    if (!row.numbered && row.option == argument) return &row;
  return nullptr;
}

void guide(bool withComments) {
  // The switches that select no pass; the passes' lines come from their list.
  static const char* const switches[] = {
      "pelk who.txt -1-   # Remove Line-1. ",
      "pelk who.txt -l    # serial number ",
      "pelk who.txt -o    # Overwrite who.txt ",
      "pelk who.txt -r-   # Do not remove temporary files. ",
  };
  // The version lines first, then every option in the order of its text.
  std::vector<std::string> lines(std::begin(switches), std::end(switches));
  for (const PassOption& row : passList())
    if (!row.help.empty()) lines.emplace_back(row.help);
  std::sort(lines.begin(), lines.end());
  lines.insert(lines.begin(),
               {"pelk -V            # version ", "pelk -VC           # version with comments "});
  std::cerr << "pelkkit Version " << VERSION << NEW_LINE << std::endl;
  for (std::string line : lines) {
    if (!withComments) line = line.substr(0, line.find('#'));
    std::cerr << line << std::endl;
  }
}

}  // namespace

int main(int argc, char** argv) {
  reportOversizedWrites();
  std::unique_ptr<Alterable> pass = defaultPass();
  std::string threadName = WHO_TEXT;
  std::string companionName = EXCLUDE_TEXT;
  int period = PERIOD;
  bool keepLine1 = true;
  bool matrix = false;
  bool serial = false;
  bool overwrite = false;
  bool removing = true;
  bool nameExpected = true;

  // Every companion check runs; a missing file ends the run after all six.
  bool present = testDrafoText();
  present = testExcludeText() && present;
  present = testSegmentText() && present;
  present = testSeparateText() && present;
  present = testUniqueText() && present;
  present = testTabulateText() && present;
  if (!present) return ERROR_CODE;

  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (const PassOption* selected = passOption(argument)) {
      if (selected->companion) companionName = selected->companion;
      pass = selected->make();
    } else if (argument == NO_REMOVING) {
      removing = false;
    } else if (argument == OVERWRITE) {
      overwrite = true;
    } else if (argument == REMOVE_LINE_1) {
      keepLine1 = false;
    } else if (argument == SERIAL) {
      serial = true;
    } else if (argument == VERSION_COMMENTS) {
      guide(WITH_COMMENTS);
      return ERROR_CODE;
    } else if (argument == VERSION_GUIDE) {
      guide(WITHOUT_COMMENTS);
      return ERROR_CODE;
    } else if (nameExpected) {
      // The first free argument is the thread file name, whatever it reads.
      threadName = argument;
      nameExpected = false;
    } else {
      bool taken = false;
      for (const PassOption& row : passList()) {
        if (!row.numbered || argument.find(row.option) == std::string::npos) continue;
        Numbered numbered(argv[i]);
        if (numbered.parameter() == row.option) {
          period = numbered.readable() ? numbered.number() : PERIOD;
          companionName = row.companion;
          matrix = row.matrix;
          pass = row.make();
          taken = true;
          break;
        }
        period = PERIOD;
      }
      if (!taken) companionName = argument;
    }
  }

  if (removing) removeTemporaryFiles();
  const bool overwriting = nameExpected ? true : overwrite;
  // The files of the run may be Shift-JIS or UTF-8; what the run prints
  // takes the thread's encoding, as its output does.
  RunEncoding encoding;
  pass->setting({companionName, period, keepLine1, matrix, serial, overwriting, &encoding});
  int status = 0;
  if (pass->altering(threadName)) {
    std::cout << encoding.forDisplay(pass->altered()) << std::endl;
  } else {
    std::cerr << encoding.forDisplay(pass->inquiry()) << std::endl;
    status = ERROR_CODE;
  }
  createRemoveErrorText();
  return status;
}
