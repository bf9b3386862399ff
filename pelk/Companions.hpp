#pragma once

// The six companion files that configure the passes. Each check makes sure
// its file exists: true when it was there already, false when the default
// content had to be written (or its writing was tried).

bool testDrafoText();
bool testExcludeText();
bool testSegmentText();
bool testSeparateText();
bool testUniqueText();
bool testTabulateText();
