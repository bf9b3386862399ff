#pragma once

#include <string>

#include "Alterable.hpp"

/// Rewrites every post header in the colon layout, so that each name stands
/// between two full-width colons, and copies body lines unchanged ("-b").
class BetweenColons : public Alterable {
 public:
  BetweenColons() = default;
  bool altering(std::string& path) override;
};
