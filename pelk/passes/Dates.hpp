#pragma once

#include <string>

#include "Alterable.hpp"

/// Extracts the post headers ("date lines") of the thread as they were read,
/// Line-1 first unless it is removed; body lines are dropped ("-d").
class Dates : public Alterable {
 public:
  Dates() = default;
  bool altering(std::string& path) override;
};
