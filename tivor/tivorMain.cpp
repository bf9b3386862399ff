// tivor: writes pseudo-random two-digit lottery numbers to tivor.txt,
// tivor.csv or standard output.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "Tivor.hpp"

int main(int argc, char** argv) {
  // A file size limit, or a pipe nobody reads any more, then fails the
  // write, which is reported, instead of ending the program.
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
#ifdef SIGPIPE
  std::signal(SIGPIPE, SIG_IGN);
#endif
  // Standard output stays in text mode, so that on Windows its line ends are
  // CR LF like those of tivor.txt.
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  tivor::Tivor program(std::cout, std::cerr);
  return program.running(arguments);
}
