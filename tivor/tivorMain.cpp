// tivor: writes pseudo-random two-digit lottery numbers to tivor.txt,
// tivor.csv or standard output.
#include <iostream>
#include <string>
#include <vector>

#include "Clock.hpp"
#include "Signals.hpp"
#include "Tivor.hpp"

int main(int argc, char** argv) {
  ignoreSignalsThatHideFailedWrites();
  // Standard output stays in text mode, so that on Windows its line ends are
  // CR LF like those of tivor.txt.
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const SystemClock clock;
  tivor::Tivor program(std::cout, std::cerr, clock);
  return program.running(arguments);
}
