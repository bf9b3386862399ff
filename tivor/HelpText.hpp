#pragma once

#include <string>

#include "Wording.hpp"

namespace tivor {

/// The version banner and the list of options, printed for -V (without
/// comments) and -VC (with comments): the same bytes in every language.
std::string helpText(bool withComments);

/// What -h prints, UTF-8: the text of -VC with the line of -h itself first,
/// its comment in `language`.
std::string helpTextOfH(Language language);

}  // namespace tivor
