// tivor: writes pseudo-random two-digit lottery numbers to tivor.txt,
// tivor.csv or standard output.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "Clock.hpp"
#include "Console.hpp"
#include "Signals.hpp"
#include "StandardStreams.hpp"
#include "Tivor.hpp"
#include "UserLanguage.hpp"
#include "UserStream.hpp"

int main(int argc, char** argv) {
  // Before anything is opened: a partial file of tivor.txt on descriptor 1
  // or 2 would receive what is printed there. A stream that was closed
  // stays unusable: numbers for standard output fail as they did ("writing
  // to standard output failed"), messages are lost, and numbers for a file
  // need no standard output.
  fillingClosedStandardStreams();
  ignoreSignalsThatHideFailedWrites();
  // Standard output stays in text mode, so that on Windows its line ends are
  // CR LF like those of tivor.txt.
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  // The language the user reads, made once, and the two streams in the
  // terminal's form: a console there (Windows) takes UTF-16.
  const Language language = userLanguage();
  const TerminalEncoding terminal = terminalEncoding(language);
  const std::unique_ptr<Console> outputConsole = consoleBehind(StandardStream::kOutput);
  const std::unique_ptr<Console> errorConsole = consoleBehind(StandardStream::kError);
  tivor::UserStream output(std::cout, outputConsole.get(), language, terminal);
  tivor::UserStream errors(std::cerr, errorConsole.get(), language, terminal);
  const SystemClock clock;
  tivor::Tivor program(output, errors, clock);
  return program.running(arguments);
}
