#pragma once

#include <string>

namespace tivor {

/// The version banner and the list of options, printed for -V (without
/// comments) and -VC (with comments); `help` adds the line of -h first, as
/// -h prints it.
std::string helpText(bool withComments, bool help = false);

}  // namespace tivor
