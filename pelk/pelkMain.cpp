// pelk: one editing pass over a saved forum thread per run.

#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "Alterable.hpp"
#include "Cleanup.hpp"
#include "Companions.hpp"
#include "Disk.hpp"
#include "Numbered.hpp"
#include "OS-specific.hpp"
#include "RunLock.hpp"
#include "passes/ASCIIdates.hpp"
#include "passes/BetweenColons.hpp"
#include "passes/Combo.hpp"
#include "passes/CombosDates.hpp"
#include "passes/DateFollowedByName.hpp"
#include "passes/Dates.hpp"
#include "passes/Drafo.hpp"
#include "passes/ExcludeText.hpp"
#include "passes/FormDateLine.hpp"
#include "passes/NewLines.hpp"
#include "passes/QuoteRatherThanMark.hpp"
#include "passes/Segmentalize.hpp"
#include "passes/TableReverseSorted.hpp"
#include "passes/UniqueCombos.hpp"

namespace {

const std::string ASCII_DATE_LINES = "-da";
const std::string ASCII_DATES = "-a";
const std::string BETWEEN_COLONS = "-b";
const std::string COMBO = "-c";
const std::string COMBOS_DATES = "-i";
const std::string DATES = "-d";
const std::string DRAFO_CSV = "drafo.csv";
const std::string DRAFT_FORMAL = "-z";
const std::string EXCLUDE = "-e";
const std::string EXCLUDE_TEXT = "exclude.txt";
const std::string MATRIX = "-m";
const std::string NEW_LINE = "\n";
const std::string NEW_LINE_CHARACTERS = "-n";
const std::string NO_REMOVING = "-r-";
const std::string OVERWRITE = "-o";
const std::string REMOVE_LINE_1 = "-1-";
const std::string SEGMENT_TEXT = "segmen.txt";
const std::string SEGMENTALIZE = "-s";
const std::string SEPARATE_TEXT = "separate.txt";
const std::string SERIAL = "-l";
const std::string SIXTH = "-6";
const std::string TABULATE_REVERSE_SORT = "-t";
const std::string TABULATE_TEXT = "tabulate.txt";
const std::string THREE_LINES_UNITED = "-3";
const std::string UNIQUE = "-u";
const std::string UNIQUE_TEXT = "unique.txt";
const std::string VERSION_COMMENTS = "-VC";
const std::string VERSION_GUIDE = "-V";
const std::string WHENEVER = "-w";
const std::string WHO_TEXT = "who.txt";
const std::string VEMO_FORM = "-f";
const double VERSION = 1.35;
const int ERROR_CODE = 1;
const int PERIOD = 30;
const bool WITH_COMMENTS = true;
const bool WITHOUT_COMMENTS = false;

using PassMaker = std::unique_ptr<Alterable> (*)();

template <class Pass>
std::unique_ptr<Alterable> make() {
  return std::make_unique<Pass>();
}

/// An option that selects a pass, and the companion file name it sets
/// (nullptr: the name stays as it is).
struct PassOption {
  PassMaker maker;
  const std::string* companion;
};

const std::map<std::string, PassOption>& passOptions() {
  static const std::map<std::string, PassOption> options = {
      {DRAFT_FORMAL, {make<Drafo>, &DRAFO_CSV}},
      {EXCLUDE, {make<ExcludeText>, &EXCLUDE_TEXT}},
      {COMBO, {make<Combo>, nullptr}},
      {SIXTH, {make<QuoteRatherThanMark>, nullptr}},
      {NEW_LINE_CHARACTERS, {make<NewLines>, &SEPARATE_TEXT}},
      {ASCII_DATE_LINES, {make<ASCIIdates>, nullptr}},
      {ASCII_DATES, {make<ASCIIdates>, nullptr}},
      {BETWEEN_COLONS, {make<BetweenColons>, nullptr}},
      {DATES, {make<Dates>, nullptr}},
      {THREE_LINES_UNITED, {make<FormDateLine>, nullptr}},
      {VEMO_FORM, {make<DateFollowedByName>, nullptr}},
      {UNIQUE, {make<UniqueCombos>, &UNIQUE_TEXT}},
      {TABULATE_REVERSE_SORT, {make<TableReverseSorted>, &TABULATE_TEXT}},
      {COMBOS_DATES, {make<CombosDates>, nullptr}},
      {SEGMENTALIZE, {make<Segmentalize>, &SEGMENT_TEXT}},
  };
  return options;
}

/// The default pass, run when no option selects one.
std::unique_ptr<Alterable> defaultPass() { return make<ExcludeText>(); }

void guide(bool withComments) {
  static const char* const lines[] = {
      "pelk -V            # version ",
      "pelk -VC           # version with comments ",
      "pelk who.txt -1-   # Remove Line-1. ",
      "pelk who.txt -3    # Unite three lines to form a date Line. ",
      "pelk who.txt -6    # Replace carets with quotes. ",
      "pelk who.txt -a    # ASCII date lines ",
      "pelk who.txt -b    # Every name is interposed between zenkaku colons. ",
      "pelk who.txt -c    # Expand 11-to-7 combinations. ",
      "pelk who.txt -d    # date lines ",
      "pelk who.txt -e exclude.txt  # Every nurupo pelk is excluded from who.txt ",
      "pelk who.txt -f    # Every date line is written in the vemo form. ",
      "pelk who.txt -i    # Include combinations and date lines. ",
      "pelk who.txt -l    # serial number ",
      "pelk who.txt -m30  # Ensure the integrity of each 3 x 3 matrix. ",
      "pelk who.txt -n    # Replace slashes with new-line characters. ",
      "pelk who.txt -o    # Overwrite who.txt ",
      "pelk who.txt -r-   # Do not remove temporary files. ",
      "pelk who.txt -t    # Tabulate and reverse-sort. ",
      "pelk who.txt -u    # unique lines ",
      "pelk who.txt -w30  # Add a date line whenever 30 lines appear. ",
      "pelk who.txt -z    # Change characters from zenkaku to hankaku. ",
  };
  std::cerr << "pelkkit Version " << VERSION << NEW_LINE << std::endl;
  for (const char* text : lines) {
    std::string line(text);
    if (!withComments) line = line.substr(0, line.find('#'));
    std::cerr << line << std::endl;
  }
}

}  // namespace

int main(int argc, char** argv) {
  reportFailedWrites();
  // Runs in this directory take turns, from the companion checks to the list
  // of temporary files; what killed runs left half-written goes first.
  RunLock lock;
  std::string refusal;
  if (!lock.taking(refusal)) {
    std::cerr << refusal << std::endl;
    return ERROR_CODE;
  }
  currentDisk().removeAbandonedPartials();
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
    auto selected = passOptions().find(argument);
    if (selected != passOptions().end()) {
      if (selected->second.companion) companionName = *selected->second.companion;
      pass = selected->second.maker();
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
      for (const auto& [prefix, isMatrix] : {std::pair{MATRIX, true}, std::pair{WHENEVER, false}}) {
        if (argument.find(prefix) == std::string::npos) continue;
        Numbered numbered(argv[i]);
        if (numbered.parameter() == prefix) {
          period = numbered.readable() ? numbered.number() : PERIOD;
          companionName = SEGMENT_TEXT;
          matrix = isMatrix;
          auto segmentalize = passOptions().find(SEGMENTALIZE);
          if (segmentalize != passOptions().end()) pass = segmentalize->second.maker();
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
  pass->setting(companionName, period, keepLine1, matrix, serial, overwriting);
  int status = 0;
  if (pass->altering(threadName)) {
    std::cout << pass->altered() << std::endl;
  } else {
    std::cerr << pass->inquiry() << std::endl;
    status = ERROR_CODE;
  }
  createRemoveErrorText();
  if (!std::cout.flush()) {
    std::cerr << "e60: standard output cannot be written" << std::endl;
    status = ERROR_CODE;
  }
  return status;
}
