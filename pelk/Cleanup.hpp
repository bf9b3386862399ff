#pragma once

#include <string>
#include <vector>

#include "Disk.hpp"

// Temporary files live for one invocation: a run lists what it finds in
// "remove_e.txt", and the next run deletes what was listed.

/// Lists every name on `disk` that matches "err*.txt",
/// "cmb*.txt", "tab*.txt", "unq*.txt" or "who*.txt", in that order, into
/// "remove_e.txt". When that file cannot be written, writes a note to
/// "error.txt" and returns false.
bool createRemoveErrorText(Disk& disk);

/// Deletes from `disk` the names listed in its "remove_e.txt" that are regular files shaped
/// like a temporary file pelk writes (see isTemporaryName), except the names
/// in `keep` (the files this run reads). False when the list cannot be read.
bool removeTemporaryFiles(Disk& disk, const std::vector<std::string>& keep = {});

/// True when `a` and `b` name the same file of the working directory: equal
/// after any leading "./", letter case ignored on Windows.
bool sameFileName(const std::string& a, const std::string& b);

/// True for the names of pelk's own temporary files: "error.txt", or a stem
/// who, cmb, tab or unq, optionally serial digits and "-", then minute digits,
/// "-", second digits and ".txt" (who14-5.txt, cmb3-14-5.txt). Never true for
/// "who.txt", "tabulate.txt" or any other name a user may keep.
bool isTemporaryName(const std::string& name);
