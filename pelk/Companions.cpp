#include "Companions.hpp"

#include <string>

#include "Disk.hpp"

// Anything of that name counts as present: a directory in its place is left
// for the pass to report when it cannot read it.
bool ensuringCompanion(Disk& disk, const char* name, std::span<const std::string_view> defaults) {
  if (disk.exists(name)) return true;
  std::string text;
  for (std::string_view line : defaults) {
    text += line;
    text += "\n";
  }
  disk.writeFile(name, text);
  return false;
}

bool testDrafoText(Disk& disk) { return ensuringCompanion(disk, kDrafoCsv, kDrafoDefaults); }
bool testExcludeText(Disk& disk) { return ensuringCompanion(disk, kExcludeText, kExcludeDefaults); }
bool testSegmentText(Disk& disk) { return ensuringCompanion(disk, kSegmentText, kSegmentDefaults); }
bool testSeparateText(Disk& disk) {
  return ensuringCompanion(disk, kSeparateText, kSeparateDefaults);
}
bool testUniqueText(Disk& disk) { return ensuringCompanion(disk, kUniqueText, kUniqueDefaults); }
bool testTabulateText(Disk& disk) {
  return ensuringCompanion(disk, kTabulateText, kTabulateDefaults);
}
