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

  /// Runs the walk over the thread, with the pass's thread messages.
  bool rewritingHeaders(const std::string& path, const ThreadMessages& messages, Layout layout);
};
