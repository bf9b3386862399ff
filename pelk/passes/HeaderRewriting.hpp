#pragma once

#include <string>

#include "Alterable.hpp"
#include "DateFollowed.hpp"

/// The walk shared by the passes that write every post header back in one
/// layout and copy body lines unchanged.
class HeaderRewriting : public Alterable {
 protected:
  /// A layout operation of DateFollowed, such as &DateFollowed::rebuild.
  using Layout = std::string (DateFollowed::*)();

  /// Runs the walk over the thread; `openNumber` and `line1Failure` are the
  /// pass's messages for a thread that cannot be opened and a Line-1 that
  /// cannot be read.
  bool rewritingHeaders(const std::string& path, int openNumber, const std::string& line1Failure,
                        Layout layout);
};
