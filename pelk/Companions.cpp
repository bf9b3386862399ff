#include "Companions.hpp"

#include <string>

#include "Disk.hpp"

// Anything of that name counts as present: a directory in its place is left
// for the pass to report when it cannot read it.
bool ensuringCompanion(Disk& disk, const Companion& companion) {
  if (disk.exists(companion.name)) return true;
  std::string text;
  for (std::string_view line : companion.defaults) {
    text += line;
    text += "\n";
  }
  disk.writeFile(companion.name, text);
  return false;
}
