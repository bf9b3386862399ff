#pragma once

// The six companion files that configure the passes: their names and the
// lines a first run writes into each, in one table.

#include <span>
#include <string_view>

#include "Disk.hpp"
#include "ShiftJis.hpp"

inline constexpr char kDrafoCsv[] = "drafo.csv";
inline constexpr char kExcludeText[] = "exclude.txt";
inline constexpr char kSegmentText[] = "segmen.txt";
inline constexpr char kSeparateText[] = "separate.txt";
inline constexpr char kUniqueText[] = "unique.txt";
inline constexpr char kTabulateText[] = "tabulate.txt";

/// The draft,formal pairs of -z: spaces of HTML, commas and dots made
/// blanks, runs of blanks collapsed, single digits padded, a few letters
/// made capital.
inline constexpr std::string_view kDrafoDefaults[] = {
    "&#160;, ,", "&nbsp;, ,", "a,A,",      "l,L,",      "p,P,",          "q,Q,",
    "\\,, ,",    "., ,",      "      , ,", "     , ,",  "    , ,",       "   , ,",
    "  , ,",     " 1 , 01 ,", " 2 , 02 ,", " 3 , 03 ,", " 4 , 04 ,",     " 5 , 05 ,",
    " 6 , 06 ,", " 7 , 07 ,", " 8 , 08 ,", " 9 , 09 ,", "ALLQP,ALL QP,", "|,/,"};
/// The items of -e and of the default pass.
inline constexpr std::string_view kExcludeDefaults[] = {kNurupo, " ID:"};
/// "256 ：Quiet Harbour ：2017/08/14(Mon) 16:15:20.68 ID:TqrwZpLw", the
/// sample header of -s, -w and -m (the colons are kZenkakuColon).
inline constexpr char kSampleHeader[] =
    "256 \x81\x46Quiet Harbour \x81\x46"
    "2017/08/14(Mon) 16:15:20.68 ID:TqrwZpLw";
inline constexpr std::string_view kSegmentDefaults[] = {kSampleHeader};
/// The separators of -n.
inline constexpr std::string_view kSeparateDefaults[] = {"/", "|"};
/// -u and -t: the mark that leaves Line-1 out, the extension of the output;
/// -t also the order ("-1" most frequent first) and the separator of a
/// number and its count. The passes read a line missing from a shorter file
/// as its default line.
inline constexpr std::string_view kUniqueDefaults[] = {"-1-", ".txt"};
inline constexpr std::string_view kTabulateDefaults[] = {"-1-", ".txt", "-1", " | "};

/// Makes sure the companion file `name` exists: true when it was there
/// already, false when its default lines had to be written (or their
/// writing was tried).
bool ensuringCompanion(Disk& disk, const char* name, std::span<const std::string_view> defaults);

/// The six companion checks: each makes sure its file exists, as
/// `ensuringCompanion` does.
bool testDrafoText(Disk& disk);
bool testExcludeText(Disk& disk);
bool testSegmentText(Disk& disk);
bool testSeparateText(Disk& disk);
bool testUniqueText(Disk& disk);
bool testTabulateText(Disk& disk);

/// A companion file: its name, its default lines and its check.
struct Companion {
  const char* name;
  std::span<const std::string_view> defaults;
  bool (*test)(Disk& disk);
};

/// Every companion, in the order the driver checks them.
inline constexpr Companion kCompanions[] = {
    {kDrafoCsv, kDrafoDefaults, testDrafoText},
    {kExcludeText, kExcludeDefaults, testExcludeText},
    {kSegmentText, kSegmentDefaults, testSegmentText},
    {kSeparateText, kSeparateDefaults, testSeparateText},
    {kUniqueText, kUniqueDefaults, testUniqueText},
    {kTabulateText, kTabulateDefaults, testTabulateText},
};
