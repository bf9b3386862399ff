#pragma once

// A console for the tests of what writes to one: it keeps what it is given.

#include <string>
#include <string_view>

#include "Console.hpp"

/// A console that keeps what it is given, and fails when told to.
class FakeConsole : public Console {
 public:
  bool writing(std::u16string_view text) override {
    written += text;
    return works;
  }
  std::u16string written;
  bool works = true;
};
