#include "HelpText.hpp"

#include <cstdio>
#include <string_view>

namespace tivor {

namespace {

constexpr double kVersion = 1.06;

/// One option as it is shown, and its comment.
struct HelpLine {
  const char* usage;
  const char* comment;
};

// The usage is padded to a common column before its comment; in the short
// list it is followed by one blank.
constexpr HelpLine kHelpLines[] = {
    {"tivor", "                # Produce tivor.txt \n"},
    {"tivor -6", "             # Loto-6 \n"},
    {"tivor -7", "             # Loto-7 \n"},
    {"tivor -c", "             # CSV \n"},
    {"tivor -f400", "          # idling \n"},
    {"tivor -g", "             # interval of 0 to 63 \n"},
    {"tivor -i1-37", "         # interval of 1 to 37 \n"},
    {"tivor -k32", "           # 32 kilobytes \n"},
    {"tivor -m", "             # Miniloto \n"},
    {"tivor -r", "             # standard output \n"},
    {"tivor -r > file_name", " # Redirect.\n"},
    {"tivor -s12345", "        # seed \n"},
    {"tivor -s0", "            # Time is used as seed. \n"},
    {"tivor -V", "             # version \n"},
    {"tivor -VC", "            # version with comments\n"},
};

/// The banner, `first` after it, then the option list.
std::string bannerAndList(bool withComments, std::string_view first) {
  char banner[32];
  std::snprintf(banner, sizeof banner, "tivorkit-%1.2f\n\n", kVersion);
  std::string text = banner;
  text += first;
  for (const HelpLine& line : kHelpLines) {
    text += line.usage;
    text += withComments ? line.comment : " \n";
  }
  return text;
}

}  // namespace

std::string helpText(bool withComments) { return bannerAndList(withComments, ""); }

std::string helpTextOfH(Language language) {
  // Padded as the usages of the commented list.
  return bannerAndList(
      true, "tivor -h             # " + worded(wordings::kHelpThisHelp, language) + " \n");
}

}  // namespace tivor
