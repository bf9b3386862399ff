#pragma once

#include <string>

#include "Alterable.hpp"

/// Puts every pick of a body line on a line of its own ("-n"). A body line
/// that holds a separator of the companion file (by default "separate.txt":
/// "/" and "|") is cut at the first separator of the file's order that it
/// holds; any other body line is cut by counting the numbers of a pick of the
/// game of Line-1. Line-1 and post headers are copied unchanged, and every
/// group is followed by an empty line.
class NewLines : public Alterable {
 public:
  bool altering(std::string& threadName) override;
};
