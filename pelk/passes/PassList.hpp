#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "Alterable.hpp"

/// An option that selects a pass: the one list that the driver's option
/// table and help, the fuzz target of the passes and the end-to-end tests
/// read. Adding a pass is adding its row here.
struct PassOption {
  /// The option as given ("-c"); for a numbered option the text before its
  /// number ("-m" of "-m30").
  std::string_view option;
  /// Makes the pass.
  std::unique_ptr<Alterable> (*make)();
  /// The companion file the option sets, or nullptr (the name stays).
  const char* companion;
  /// The option's line of the help text, or empty for none.
  std::string_view help;
  /// The option ends in the period ("-w30", "-m30"), read by `Numbered`.
  bool numbered = false;
  /// A numbered option that sets the matrix switch.
  bool matrix = false;
  /// Another option selects the same pass in the same way: the fuzz target
  /// runs each pass once.
  bool alias = false;
};

/// Every option that selects a pass.
std::span<const PassOption> passList();

/// The pass run when no option selects one.
std::unique_ptr<Alterable> defaultPass();
