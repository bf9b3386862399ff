#pragma once

#include <string>

#include "Alterable.hpp"

/// Drops every post whose body holds an item of the companion file ("-e",
/// and the pass run when no option selects one). A dropped post goes whole,
/// header and body; post headers themselves are never searched.
class ExcludeText : public Alterable {
 public:
  ExcludeText() = default;
  bool altering(std::string& threadName) override;
};
