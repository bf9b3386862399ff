#pragma once

// The six companion files that configure the passes. Each check makes sure
// its file exists on the run's disk: true when it was there already, false when the default
// content had to be written (or its writing was tried).

#include <string>
#include <vector>

#include "Disk.hpp"

bool testDrafoText(Disk& disk);
bool testExcludeText(Disk& disk);
bool testSegmentText(Disk& disk);
bool testSeparateText(Disk& disk);
bool testUniqueText(Disk& disk);
bool testTabulateText(Disk& disk);

/// The default lines of "unique.txt" and of "tabulate.txt". The passes read a
/// line missing from a shorter file as the default line in its place.
const std::vector<std::string>& uniqueTextDefaults();
const std::vector<std::string>& tabulateTextDefaults();
