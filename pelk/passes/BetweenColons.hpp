#pragma once

#include <string>

#include "passes/HeaderRewriting.hpp"

/// Rewrites every post header in the colon layout, so that each name stands
/// between two full-width colons, and copies body lines unchanged ("-b").
class BetweenColons : public HeaderRewriting {
 public:
  BetweenColons() = default;
  bool altering(std::string& path) override;
};
