#pragma once

#include <string>

namespace tivor {

/// The version banner and the list of options, printed for -V (without
/// comments) and -VC (with comments).
std::string helpText(bool withComments);

}  // namespace tivor
