#include "passes/UniqueCombos.hpp"

#include "Companions.hpp"

UniqueCombos::UniqueCombos() : nameStem("unq") {}

bool UniqueCombos::altering(std::string& threadName) {
  LineReader in;
  if (!readThread(threadName, in, 44)) return false;
  if (!readingToProduceArray()) return false;
  std::string line1;
  if (!readLine1(in, line1)) {
    message = line1Message(47);
    return false;
  }
  // A line missing from a short unique.txt reads as its default line.
  const std::vector<std::string>& defaults = uniqueTextDefaults();
  if (keepLine1 && itemOr(0, defaults[0]) != line1Mark) {
    output += line1;
    output += newLine;
  }
  if (!settingGame(line1, 45, 46)) return false;
  settingArrays();
  // An empty second line stands for the default extension.
  const std::string& extension = itemOr(1, defaults[1]);
  chooseOutputName(nameStem, extension == emptyMark ? defaults[1] : extension);
  collectingCombos(in);
  uniquingCombos();
  for (const std::string& combination : combos) {
    output += combination;
    output += newLine;
    spilling();
  }
  return openSaveClose(outputName);
}
