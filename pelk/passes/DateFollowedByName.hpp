#pragma once

#include <string>

#include "passes/HeaderRewriting.hpp"

/// Rewrites every post header in the vemo form (number, date, time and ID
/// first, the name last) and copies body lines unchanged ("-f").
class DateFollowedByName : public HeaderRewriting {
 public:
  DateFollowedByName() = default;
  bool altering(std::string& path) override;
};
