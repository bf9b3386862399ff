#pragma once

// The six companion files that configure the passes. Each check makes sure
// its file exists: true when it was there already, false when the default
// content had to be written (or its writing was tried).

#include <string>
#include <vector>

bool testDrafoText();
bool testExcludeText();
bool testSegmentText();
bool testSeparateText();
bool testUniqueText();
bool testTabulateText();

/// The default lines of "unique.txt" and of "tabulate.txt". The passes read a
/// line missing from a shorter file as the default line in its place.
const std::vector<std::string>& uniqueTextDefaults();
const std::vector<std::string>& tabulateTextDefaults();
