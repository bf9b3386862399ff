#include "Companions.hpp"

#include <string>

#include "Disk.hpp"
#include "ShiftJis.hpp"

namespace {

// Anything of that name counts as present: a directory in its place is left
// for the pass to report when it cannot read it.
bool ensure(Disk& disk, const char* name, const std::vector<std::string>& lines) {
  if (disk.exists(name)) return true;
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  disk.writeFile(name, text);
  return false;
}

}  // namespace

bool testDrafoText(Disk& disk) {
  return ensure(disk, "drafo.csv",
                {"&#160;, ,", "&nbsp;, ,", "a,A,",      "l,L,",      "p,P,",          "q,Q,",
                 "\\,, ,",    "., ,",      "      , ,", "     , ,",  "    , ,",       "   , ,",
                 "  , ,",     " 1 , 01 ,", " 2 , 02 ,", " 3 , 03 ,", " 4 , 04 ,",     " 5 , 05 ,",
                 " 6 , 06 ,", " 7 , 07 ,", " 8 , 08 ,", " 9 , 09 ,", "ALLQP,ALL QP,", "|,/,"});
}

bool testExcludeText(Disk& disk) { return ensure(disk, "exclude.txt", {kNurupo, " ID:"}); }

bool testSegmentText(Disk& disk) {
  return ensure(disk, "segmen.txt",
                {std::string("256 ") + kZenkakuColon + "Quiet Harbour " + kZenkakuColon +
                 "2017/08/14(Mon) 16:15:20.68 ID:TqrwZpLw"});
}

bool testSeparateText(Disk& disk) { return ensure(disk, "separate.txt", {"/", "|"}); }

bool testUniqueText(Disk& disk) { return ensure(disk, "unique.txt", uniqueTextDefaults()); }

bool testTabulateText(Disk& disk) { return ensure(disk, "tabulate.txt", tabulateTextDefaults()); }

const std::vector<std::string>& uniqueTextDefaults() {
  static const std::vector<std::string> lines = {"-1-", ".txt"};
  return lines;
}

const std::vector<std::string>& tabulateTextDefaults() {
  static const std::vector<std::string> lines = {"-1-", ".txt", "-1", " | "};
  return lines;
}
