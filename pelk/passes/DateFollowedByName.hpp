#pragma once

#include <string>

#include "Alterable.hpp"

/// Rewrites every post header in the vemo form (number, date, time and ID
/// first, the name last) and copies body lines unchanged ("-f").
class DateFollowedByName : public Alterable {
 public:
  DateFollowedByName() = default;
  bool altering(std::string& path) override;
};
