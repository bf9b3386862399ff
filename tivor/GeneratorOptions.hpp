#pragma once

#include <string>
#include <vector>

namespace tivor {

/// What the command line asks for once it has been scanned.
enum class Request {
  drawing,              ///< draw and write numbers
  version,              ///< -V: version and the options
  versionWithComments,  ///< -VC: version and the options with comments
  help,                 ///< -h or --help, anywhere: the commented help on standard output
};

/// The settings of one run, as the command line leaves them.
struct GeneratorOptions {
  bool csv = false;      ///< -c: CSV form, "tivor.csv"
  bool bitMode = false;  ///< -g: 6-bit values 0 to 63
  bool toFile = true;    ///< -r clears it: write to standard output
  int idling = 400;      ///< -fN: outputs discarded after seeding
  int low = 1;           ///< -iL-H
  int high = 37;         ///< -iL-H, -6 (43), -7 (37), -m (31)
  int kilobytes = 32;    ///< -kN: stop after about N kilobytes
  int seed = 12345;      ///< -sN; 0 takes the current time

  /// Examines every argument in order, later ones overriding earlier ones;
  /// arguments that match no option are ignored. Stops at -V or -VC.
  Request scanning(const std::vector<std::string>& arguments);
};

}  // namespace tivor
