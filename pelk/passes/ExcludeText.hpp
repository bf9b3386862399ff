#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "Alterable.hpp"

/// Drops every post whose body holds an item of the companion file ("-e",
/// and the pass run when no option selects one). A dropped post goes whole,
/// header and body; post headers themselves are never searched.
///
/// A post is held until its end shows that no item is in it. A body longer
/// than `heldBound` (a thread whose headers are not recognised is one post)
/// is not held on: the pass goes on searching it, and once it is known to be
/// kept it reads those lines again from the thread, so that memory stays
/// small whatever the length of a post.
class ExcludeText : public Alterable {
 public:
  ExcludeText() = default;
  bool altering(std::string& threadName) override;

  /// The bytes of a body held in memory, at most.
  static constexpr std::size_t kHeldBound = std::size_t{1} << 20;

 protected:
  std::size_t heldBound = kHeldBound;

 private:
  /// Lists the body lines `from` to `to` of the thread `name`, read again by
  /// `reader` (opened at its first use; it only moves on). False, with the
  /// thread's message, when it cannot be read or they are not the `bytes`
  /// bytes read the first time (the thread changed under the run).
  bool listingAgain(std::unique_ptr<ThreadFile>& reader, const std::string& name, long from,
                    long to, std::size_t bytes);
};
